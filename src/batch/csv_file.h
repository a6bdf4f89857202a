// Reading a CSV file of receivers: UTF-8 (with or without a byte order
// mark) or, when the bytes are no valid UTF-8, GBK as Chinese spreadsheet
// programs save it. Fields may be quoted, with "" for a quote and line
// breaks inside quotes.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace billprint {

// The rows of the file; false with `error` set when it cannot be read.
bool readCsvFile(const QString &path, QList<QStringList> *rows, QString *error);
// The rows of a text whose fields are separated by `separator`.
QList<QStringList> parseCsv(const QString &text, QChar separator = QLatin1Char(','));

} // namespace billprint
