#include "history/history_command.h"

#include "app/data_root.h"
#include "app/database.h"
#include "app/one_line.h"
#include "app/xlsx_writer.h"
#include "history/history_store.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
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
    QString dataFolder;
    QString error;
};

const QString kStdout = QStringLiteral("-");

bool readDate(const QString &option, const QString &value, QDate *date, QString *error)
{
    static const QRegularExpression iso(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    *date = QDate::fromString(value.trimmed(), Qt::ISODate);
    if (!iso.match(value.trimmed()).hasMatch() || !date->isValid())
        *error = option + QStringLiteral(" needs a date YYYY-MM-DD: ") + value;
    return error->isEmpty();
}

void setFormat(HistoryRequest &r, Format format, const QString &output)
{
    if (r.format != Format::None)
        r.error = QStringLiteral("give only one of --csv, --xlsx and --json");
    r.format = format;
    r.output = output;
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

HistoryRequest parse(const QStringList &args, const QString &dataFolder)
{
    static const QStringList withValue{QStringLiteral("--number"), QStringLiteral("--party"), QStringLiteral("--from"),
                                       QStringLiteral("--to"),     QStringLiteral("--min"),   QStringLiteral("--max"),
                                       QStringLiteral("--csv"),    QStringLiteral("--xlsx"),  QStringLiteral("--data")};
    HistoryRequest r;
    r.dataFolder = dataFolder;
    QDate from;
    QDate to;
    for (int i = 0; i < args.size() && r.error.isEmpty(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--exact")) {
            r.filter.exact = true;
        } else if (arg == QLatin1String("--json")) {
            setFormat(r, Format::Json, kStdout);
        } else if (!arg.startsWith(QLatin1String("--"))) {
            if (r.family)
                r.error = QStringLiteral("unexpected argument: ") + arg;
            else if (!(r.family = HistoryFamily::find(arg.trimmed())))
                r.error = QStringLiteral("unknown family: ") + arg;
        } else if (!withValue.contains(arg)) {
            r.error = QStringLiteral("unknown argument: ") + arg;
        } else if (i + 1 >= args.size()) {
            r.error = arg + QStringLiteral(" needs a value");
        } else {
            const QString value = args.at(++i);
            if (arg == QLatin1String("--number"))
                r.filter.number = value;
            else if (arg == QLatin1String("--party"))
                r.filter.secondParty = value;
            else if (arg == QLatin1String("--from"))
                readDate(arg, value, &from, &r.error);
            else if (arg == QLatin1String("--to"))
                readDate(arg, value, &to, &r.error);
            else if (arg == QLatin1String("--min"))
                r.filter.minAmount = value;
            else if (arg == QLatin1String("--max"))
                r.filter.maxAmount = value;
            else if (arg == QLatin1String("--csv"))
                setFormat(r, Format::Csv, value);
            else if (arg == QLatin1String("--xlsx"))
                setFormat(r, Format::Xlsx, value);
            else
                r.dataFolder = value;
        }
    }
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

int failWith(QTextStream &err, const QString &message)
{
    err << "billprint: history: " << oneLine(message) << "\n";
    err.flush();
    return 2;
}

} // namespace

int runHistoryCommand(const QStringList &args, const QString &dataFolder, QIODevice &out, QTextStream &err)
{
    const HistoryRequest request = parse(args, dataFolder);
    if (!request.error.isEmpty())
        return failWith(err, request.error);

    const DataRoot root = DataRoot::resolve(request.dataFolder, QCoreApplication::applicationDirPath());
    // Listing bills never creates a database: an empty new one would
    // report "no bills" for a wrong folder.
    if (!QFileInfo(root.databasePath()).isFile())
        return failWith(err, QStringLiteral("no database in ") + root.folder());
    QString error;
    const std::unique_ptr<Database> db = Database::open(root.databasePath(), &error);
    if (!db)
        return failWith(err, error);

    const HistoryFamily &family = *request.family;
    const HistoryStatement statement =
        buildHistoryStatement(family, request.filter, HistoryOrdering(family.order).next());
    const HistoryStore store(*db, family);
    HistorySummary summary;
    if (!store.summarize(statement, &summary, &error) || !writeListing(store, statement, request, out, &error))
        return failWith(err, error);
    if (request.output != kStdout) {
        QTextStream note(&out);
        note << summary.rows << (summary.rows == 1 ? " row -> " : " rows -> ") << request.output << "\n";
    }
    return 0;
}

} // namespace billprint
