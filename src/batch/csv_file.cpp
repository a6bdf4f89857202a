#include "batch/csv_file.h"
#include "batch/sheet_file.h"

#include <QFile>
#include <QStringDecoder>
#include <QTextCodec>

#include <algorithm>

namespace billprint {

namespace {

constexpr QChar kReplacement(0xFFFD);

// Replacement characters the decoding made (those the file itself holds,
// correctly encoded, are no errors).
qsizetype decodingErrors(const QString &text, qsizetype genuine)
{
    return qMax<qsizetype>(0, text.count(kReplacement) - genuine);
}

} // namespace

QString decodeTextFile(const QByteArray &bytes, QString *encoding)
{
    auto named = [encoding](const char *name) {
        if (encoding)
            *encoding = QString::fromLatin1(name);
    };
    if (bytes.startsWith("\xFF\xFE")) {
        named("UTF-16");
        return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.mid(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        named("UTF-16");
        return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.mid(2));
    }
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    const QByteArray body = bom ? bytes.mid(3) : bytes;
    named("UTF-8");
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(body);
    if (!utf8.hasError() || bom)
        return text;
    // Errors in UTF-8 decoding. A file in another code page breaks UTF-8
    // throughout, at most one character in five or so decoding by chance;
    // a few errors among many well-formed multi-byte characters are damage
    // to a UTF-8 file, whatever GB18030 makes of it. GB18030 takes almost
    // any pair of bytes, so its own error count is weak evidence.
    const qsizetype genuine = body.count("\xEF\xBF\xBD");
    const qsizetype utf8Errors = decodingErrors(text, genuine);
    const qsizetype wellFormed = std::count_if(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() >= 0x80 && c != kReplacement && !c.isLowSurrogate();
    });
    if (utf8Errors * 10 <= wellFormed)
        return text;
    // Otherwise the decoding with fewer errors is the file's; UTF-8 wins a
    // tie, being the stricter of the two.
    QTextCodec *gb18030 = QTextCodec::codecForName("GB18030");
    if (!gb18030)
        return text;
    QTextCodec::ConverterState state;
    QString gbText = gb18030->toUnicode(body.constData(), int(body.size()), &state);
    const qsizetype gbErrors = qMax<qsizetype>(state.invalidChars, decodingErrors(gbText, 0));
    if (utf8Errors <= gbErrors)
        return text;
    named("GB18030");
    return gbText;
}

QList<QStringList> parseCsv(const QString &text, QChar separator)
{
    return parseCsv(text, separator, CsvLimits(), nullptr);
}

QList<QStringList> parseCsv(const QString &text, QChar separator, const CsvLimits &limits, bool *cut)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    bool any = false;
    bool dropped = false;
    auto keep = [&](QChar c) {
        if (limits.maxFieldLength < 0 || field.size() < limits.maxFieldLength)
            field += c;
        else
            dropped = true;
    };
    auto endField = [&] {
        if (limits.maxColumns < 0 || row.size() < limits.maxColumns)
            row << field;
        else if (!field.isEmpty())
            dropped = true;
        field.clear();
    };
    auto rowsFull = [&] { return limits.maxRows >= 0 && rows.size() >= limits.maxRows; };
    const qsizetype n = text.size();
    qsizetype i = 0;
    for (; i < n && !rowsFull(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                keep(c);
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                keep(c);
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            quoted = true;
            any = true;
        } else if (c == separator) {
            endField();
            any = true;
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                ++i;
            if (any || !field.isEmpty()) {
                endField();
                rows << row;
            }
            row.clear();
            field.clear();
            any = false;
        } else {
            keep(c);
        }
    }
    if (rowsFull()) {
        // Whatever follows the last row kept is left out when it is more
        // than separators and line ends.
        for (; i < n && !dropped; ++i)
            dropped = !text[i].isSpace() && text[i] != separator;
    } else if (any || !field.isEmpty()) {
        endField();
        rows << row;
    }
    if (cut)
        *cut = dropped;
    return rows;
}

bool readCsvFile(const QString &path, QList<QStringList> *rows, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read ") + path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    // The same limits as a sheet to import: a receiver list larger than
    // that is refused whole rather than printed in part.
    const QByteArray bytes = file.read(kSheetMaxPartBytes);
    if (!file.atEnd()) {
        *error = path + QStringLiteral(": ") + sheetTooLargeReason();
        return false;
    }
    CsvLimits limits;
    limits.maxRows = kSheetMaxRows;
    limits.maxColumns = kSheetMaxColumns;
    limits.maxFieldLength = kSheetMaxCellText;
    bool cut = false;
    *rows = parseCsv(decodeTextFile(bytes), QLatin1Char(','), limits, &cut);
    if (cut) {
        rows->clear();
        *error = path + QStringLiteral(" holds more than %1 receivers, %2 columns or %3 characters in a field")
                            .arg(kSheetMaxRows - 1).arg(kSheetMaxColumns).arg(kSheetMaxCellText);
        return false;
    }
    if (rows->isEmpty()) {
        *error = path + QStringLiteral(" holds no rows");
        return false;
    }
    return true;
}

} // namespace billprint
