#include "batch/address_command.h"

#include "app/command_context.h"
#include "app/command_line.h"
#include "addressbook/address_replacements.h"
#include "addressbook/region_check.h"
#include "app/data_root.h"
#include "app/database.h"

#include <QJsonArray>
#include <optional>
#include <QJsonDocument>
#include <QJsonObject>

namespace billprint {

namespace {

QString oneLine(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QString jsonValueText(const QJsonValue &value)
{
    const QString array = QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact));
    return array.mid(1, array.size() - 2);
}

// A field's text as a JSON string, written directly: ten of them per line.
QString jsonString(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (QChar c : text) {
        switch (c.unicode()) {
        case '"': out += QStringLiteral("\\\""); break;
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

QJsonObject errorObject(const QJsonValue &id, const QString &message)
{
    QJsonObject o;
    o.insert(QStringLiteral("id"), id);
    o.insert(QStringLiteral("error"), message);
    return o;
}

struct OutputField
{
    const char *key;
    AddressField field;
};

const OutputField kOutputFields[] = {
    {"company", AddressField::Company},   {"name", AddressField::Name},
    {"phone", AddressField::Phone},       {"mobile", AddressField::Mobile},
    {"country", AddressField::Country},   {"province", AddressField::Province},
    {"city", AddressField::City},         {"town", AddressField::Town},
    {"address", AddressField::Address},   {"postcode", AddressField::Postcode}};

// Which step set each field, and which of the user's pairs applied.
QString explanation(const AddressParse &parse, const QString &text, const ReplacementPairs &replacements)
{
    QJsonObject steps;
    for (const OutputField &f : kOutputFields) {
        const QString step = parse.setBy[static_cast<int>(f.field)];
        if (!step.isEmpty() || !parse.text(f.field).isEmpty())
            steps.insert(QLatin1String(f.key), step.isEmpty() ? QStringLiteral("none") : step);
    }
    QJsonArray applied;
    for (const auto &[from, to] : replacements) {
        if (!from.isEmpty() && text.contains(from))
            applied.append(from + QStringLiteral(" → ") + to);
    }
    steps.insert(QStringLiteral("replacements"), applied);
    return QString::fromUtf8(QJsonDocument(steps).toJson(QJsonDocument::Compact));
}

} // namespace

QString parseAddressLine(const QString &line, const ReplacementPairs &replacements, bool explain)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject())
        return oneLine(errorObject(QJsonValue::Null, QStringLiteral("not a JSON object")));
    const QJsonObject in = doc.object();
    const QJsonValue id = in.value(QStringLiteral("id"));
    if (!in.value(QStringLiteral("text")).isString())
        return oneLine(errorObject(id, QStringLiteral("no \"text\" string")));

    const QString text = in.value(QStringLiteral("text")).toString();
    std::optional<ExplainedSteps> recorded;
    if (explain)
        recorded.emplace();
    const AddressParse parse = parseAddressText(text, AddressSource::Taobao, false, replacements);
    // Written by hand so that the keys keep the order of the fields.
    // Most ids are whole numbers or strings: written directly.
    const bool wholeNumber = id.isDouble() && id.toDouble() == double(qint64(id.toDouble()));
    QString out = QStringLiteral("{\"id\":")
        + (wholeNumber ? QString::number(qint64(id.toDouble())) : id.isString() ? jsonString(id.toString()) : jsonValueText(id));
    for (const OutputField &f : kOutputFields)
        out += QStringLiteral(",\"") + QLatin1String(f.key) + QStringLiteral("\":") + jsonString(parse.text(f.field));
    // The remark box is typed by the user; recognition leaves it empty.
    out += QStringLiteral(",\"remark\":\"\"");
    if (explain)
        out += QStringLiteral(",\"explain\":") + explanation(parse, text, replacements);
    return out + QLatin1Char('}');
}

int runParseAddressCommand(const QStringList &args, const QString &dataFolder, QTextStream &in,
                           QTextStream &out, QTextStream &err)
{
    CommandLine line(QStringLiteral("parse-address"), {QStringLiteral("[--data DIR] [--explain] < LINES")},
                     QStringLiteral("Splits receiver texts into waybill fields: reads JSON lines\n"
                                    "{\"id\": ..., \"text\": \"...\"} on standard input and writes one JSON line of\n"
                                    "fields per line, as the address parser window shows them; a line that is\n"
                                    "no JSON object with a text gets an \"error\". The user's replacement pairs\n"
                                    "apply when the data folder has a database; none is ever created.\n"
                                    "Exit 0: every line read; 2: a bad command line."));
    line.flag(QStringLiteral("explain"),
              QStringLiteral("Add \"explain\": the step that set each field and the replacement\n"
                             "pairs that applied (to help write replacement pairs)."));
    CommandContext command(line, dataFolder, err);
    if (const std::optional<int> done = command.start(args, out))
        return *done;
    ReplacementPairs replacements;
    if (const Database *db = command.openDatabaseIfPresent())
        replacements = readAddressReplacements(*db);

    const bool explain = line.isSet(QStringLiteral("explain"));
    in.setEncoding(QStringConverter::Utf8);
    out.setEncoding(QStringConverter::Utf8);
    QString text;
    while (in.readLineInto(&text)) {
        if (text.trimmed().isEmpty())
            continue;
        out << parseAddressLine(text, replacements, explain) << '\n';
    }
    out.flush();
    return 0;
}

} // namespace billprint
