#include "history/history_command.h"

#include "app/command_context.h"
#include "app/command_line.h"
#include "app/database.h"
#include "app/xlsx_writer.h"
#include "history/history_store.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <memory>
#include <utility>

namespace billprint {

namespace {

enum class Format { None, Csv, Xlsx, Json };

struct HistoryRequest
{
    const HistoryFamily *family = nullptr;
    HistoryFilter filter;
    Format format = Format::None;
    QString output;  // "-" for standard output
    QString error;
};

const QString kStdout = QStringLiteral("-");

CommandLine historyCommandLine()
{
    CommandLine line(QStringLiteral("history"),
                     {QStringLiteral("FAMILY [--number N] [--party TEXT] [--from YYYY-MM-DD] [--to YYYY-MM-DD]\n"
                                     "[--min A] [--max A] [--exact] (--csv OUT | --xlsx OUT | --json)")},
                     QStringLiteral("Lists the issued bills of a family that the history window lists for the same\n"
                                    "filters, every column as stored. Filters find text anywhere in the column\n"
                                    "unless --exact. The folder must hold a database already.\n"
                                    "Exit 0: listed; 2: bad command line, no database or a failure."));
    line.word(QStringLiteral("FAMILY"), QStringLiteral("支票, 进账单, 缴款单 or 快递单"))
        .option(QStringLiteral("number"), QStringLiteral("N"), QStringLiteral("the bill's number"))
        .option(QStringLiteral("party"), QStringLiteral("TEXT"), QStringLiteral("the payee (the waybill's receiver)"))
        .option(QStringLiteral("from"), QStringLiteral("YYYY-MM-DD"), QStringLiteral("issued on or after"))
        .option(QStringLiteral("to"), QStringLiteral("YYYY-MM-DD"), QStringLiteral("issued on or before"))
        .option(QStringLiteral("min"), QStringLiteral("A"), QStringLiteral("amount at least"))
        .option(QStringLiteral("max"), QStringLiteral("A"), QStringLiteral("amount at most"))
        .flag(QStringLiteral("exact"), QStringLiteral("compare whole values"))
        .option(QStringLiteral("csv"), QStringLiteral("OUT"), QStringLiteral("write CSV (OUT - is standard output)"))
        .option(QStringLiteral("xlsx"), QStringLiteral("OUT"), QStringLiteral("write a workbook"))
        .flag(QStringLiteral("json"), QStringLiteral("write JSON to standard output"));
    return line;
}

bool readDate(const QString &option, const QString &value, QDate *date, QString *error)
{
    static const QRegularExpression iso(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    *date = QDate::fromString(value.trimmed(), Qt::ISODate);
    if (!iso.match(value.trimmed()).hasMatch() || !date->isValid())
        *error = option + QStringLiteral(" needs a date YYYY-MM-DD: ") + value;
    return error->isEmpty();
}

void readFormat(const CommandLine &line, HistoryRequest &r)
{
    const std::pair<QString, Format> formats[] = {
        {QStringLiteral("csv"), Format::Csv}, {QStringLiteral("xlsx"), Format::Xlsx}, {QStringLiteral("json"), Format::Json}};
    for (const auto &[name, format] : formats) {
        if (!line.isSet(name))
            continue;
        if (r.format != Format::None)
            r.error = QStringLiteral("give only one of --csv, --xlsx and --json");
        r.format = format;
        r.output = format == Format::Json ? kStdout : line.value(name);
    }
}

// Checks what the options say together.
void finish(HistoryRequest &r, const QDate &from, const QDate &to)
{
    if (!r.family) {
        r.error = QStringLiteral("give the family: 支票, 进账单, 缴款单 or 快递单");
        return;
    }
    if (r.format == Format::None) {
        r.error = QStringLiteral("give one of --csv OUT, --xlsx OUT or --json");
        return;
    }
    if (r.output.trimmed().isEmpty()) {
        r.error = QStringLiteral("the output file name is empty");
        return;
    }
    if ((!r.filter.minAmount.isEmpty() || !r.filter.maxAmount.isEmpty()) && !r.family->hasAmountFilter()) {
        r.error = QStringLiteral("the ") + r.family->family() + QStringLiteral(" history has no amount filter");
        return;
    }
    for (const auto &[option, text] : {std::pair{"--min", r.filter.minAmount}, std::pair{"--max", r.filter.maxAmount}})
        if (readAmountBound(text) == AmountBound::NotANumber) {
            r.error = QLatin1String(option) + QStringLiteral(" is not a number: ") + text;
            return;
        }
    if (from.isValid() || to.isValid()) {
        r.filter.anyDate = false;
        r.filter.from = from.isValid() ? from : QDate(1, 1, 1);
        r.filter.to = to.isValid() ? to : QDate(9999, 12, 30);
        if (r.filter.datesReversed())
            r.error = QStringLiteral("--to is before --from");
    }
}

HistoryRequest readRequest(const CommandLine &line)
{
    HistoryRequest r;
    const QString family = line.words().value(0);
    if (!family.isEmpty() && !(r.family = HistoryFamily::find(family.trimmed()))) {
        r.error = QStringLiteral("unknown family: ") + family;
        return r;
    }
    r.filter.exact = line.isSet(QStringLiteral("exact"));
    r.filter.number = line.value(QStringLiteral("number"));
    r.filter.secondParty = line.value(QStringLiteral("party"));
    r.filter.minAmount = line.value(QStringLiteral("min"));
    r.filter.maxAmount = line.value(QStringLiteral("max"));
    QDate from;
    QDate to;
    for (const auto &[name, date] : {std::pair{QStringLiteral("from"), &from}, std::pair{QStringLiteral("to"), &to}})
        if (line.isSet(name) && !readDate(QStringLiteral("--") + name, line.value(name), date, &r.error))
            return r;
    readFormat(line, r);
    if (r.error.isEmpty())
        finish(r, from, to);
    return r;
}

QString csvField(const QString &text)
{
    static const QRegularExpression special(QStringLiteral("[\",\r\n]"));
    if (!text.contains(special))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString jsonString(const QString &text)
{
    // A one-element array is the shortest way to Qt's string escaping.
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

QString jsonValue(const QString &column, const QVariant &value)
{
    if (value.isNull())
        return QStringLiteral("null");
    if (column.compare(HistoryColumn::Serial, Qt::CaseInsensitive) == 0)
        return QString::number(value.toLongLong());
    return jsonString(value.toString());
}

// The rows of the listing as one text (CSV or JSON).
bool renderText(const HistoryStore &store, const HistoryStatement &statement, Format format, QByteArray *text,
                QString *error)
{
    const QStringList columns = store.columns();
    QStringList lines;
    if (format == Format::Csv) {
        QStringList header;
        for (const QString &c : columns)
            header << csvField(c);
        lines << header.join(QLatin1Char(','));
    }
    const bool ok = store.forEachRow(
        statement,
        [&](const QSqlRecord &row) {
            QStringList cells;
            for (int c = 0; c < row.count(); ++c) {
                if (format == Format::Csv)
                    cells << csvField(row.value(c).toString());
                else
                    cells << jsonString(row.fieldName(c)) + QLatin1Char(':') + jsonValue(row.fieldName(c), row.value(c));
            }
            lines << (format == Format::Csv ? cells.join(QLatin1Char(','))
                                            : QLatin1Char('{') + cells.join(QLatin1Char(',')) + QLatin1Char('}'));
            return true;
        },
        error);
    if (!ok)
        return false;
    if (format == Format::Json)
        *text = (QStringLiteral("[") + (lines.isEmpty() ? QString() : QStringLiteral("\n") + lines.join(QStringLiteral(",\n")))
                 + QStringLiteral("\n]\n"))
                    .toUtf8();
    else
        *text = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    return true;
}

bool writeXlsx(const HistoryStore &store, const HistoryStatement &statement, const QString &path, QString *error)
{
    XlsxSheetWriter writer;
    if (!writer.open(path, store.family().exportName, error) || !writer.writeHeader(store.columns(), error))
        return false;
    bool written = true;
    const bool read = store.forEachRow(
        statement,
        [&](const QSqlRecord &row) {
            QStringList cells;
            for (int c = 0; c < row.count(); ++c)
                cells << row.value(c).toString();
            written = writer.writeRow(cells, error);
            return written;
        },
        error);
    return read && written && writer.close(error);
}

bool writeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("cannot write ") + path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return true;
}

bool writeOut(QIODevice &out, const QByteArray &bytes, QString *error)
{
    if (out.write(bytes) != bytes.size()) {
        *error = QStringLiteral("cannot write the output: ") + out.errorString();
        return false;
    }
    return true;
}

// Writes the listing where the request says.
bool writeListing(const HistoryStore &store, const HistoryStatement &statement, const HistoryRequest &r,
                  QIODevice &out, QString *error)
{
    const bool toStdout = r.output == kStdout;
    if (r.format != Format::Xlsx) {
        QByteArray text;
        return renderText(store, statement, r.format, &text, error)
               && (toStdout ? writeOut(out, text, error) : writeFile(r.output, text, error));
    }
    if (!toStdout)
        return writeXlsx(store, statement, r.output, error);
    QTemporaryDir scratch;
    const QString path = scratch.filePath(QStringLiteral("history.xlsx"));
    if (!writeXlsx(store, statement, path, error))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    return writeOut(out, file.readAll(), error);
}

} // namespace

int runHistoryCommand(const QStringList &args, const QString &dataFolder, QIODevice &out, QTextStream &err)
{
    CommandLine line = historyCommandLine();
    CommandContext command(line, dataFolder, err);
    QTextStream help(&out);
    if (const std::optional<int> done = command.start(args, help))
        return *done;
    const HistoryRequest request = readRequest(line);
    if (!request.error.isEmpty())
        return command.fail(request.error);
    // Listing bills never creates a database: an empty new one would
    // report "no bills" for a wrong folder.
    const Database *db = command.openExistingDatabase();
    if (!db)
        return kNothingDone;

    const HistoryFamily &family = *request.family;
    const HistoryStatement statement =
        buildHistoryStatement(family, request.filter, HistoryOrdering(family.order).next(), db->dialect());
    const HistoryStore store(*db, family);
    HistorySummary summary;
    QString error;
    if (!store.summarize(statement, &summary, &error) || !writeListing(store, statement, request, out, &error))
        return command.fail(error);
    if (request.output != kStdout) {
        QTextStream note(&out);
        note << summary.rows << (summary.rows == 1 ? " row -> " : " rows -> ") << request.output << "\n";
    }
    return 0;
}

} // namespace billprint
