// Reading a CSV file of receivers: UTF-8 (with or without a byte order
// mark) or GBK as Chinese spreadsheet programs save it. Fields may be
// quoted, with "" for a quote and line breaks inside quotes.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace billprint {

// The rows of the file; false with `error` set when it cannot be read.
bool readCsvFile(const QString &path, QList<QStringList> *rows, QString *error);
// The rows of a text whose fields are separated by `separator`.
QList<QStringList> parseCsv(const QString &text, QChar separator = QLatin1Char(','));

// How much of a text parseCsv keeps; negative: no limit.
struct CsvLimits
{
    int maxRows = -1;
    int maxColumns = -1;
    int maxFieldLength = -1;
};
// As above, keeping what fits `limits`; `cut` (when given) is set when a
// row, field or text beyond them was left out.
QList<QStringList> parseCsv(const QString &text, QChar separator, const CsvLimits &limits, bool *cut);

// The bytes of a text file as text. A byte order mark decides (UTF-8,
// UTF-16); without one the bytes are decoded both as UTF-8 and as GB18030
// (the code page Chinese spreadsheet programs save in) and the decoding
// with fewer errors wins, so a UTF-8 file with a few damaged bytes is not
// read as GB18030 with every Chinese text garbled. `encoding` receives the
// name of the one used: "UTF-8", "GB18030" or "UTF-16".
QString decodeTextFile(const QByteArray &bytes, QString *encoding = nullptr);

} // namespace billprint
