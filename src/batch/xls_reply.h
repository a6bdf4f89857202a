// What the .xls reading process hands back to the program: the sheet names
// of a workbook and, when asked for, the rows of one sheet. The bytes come
// from a process that read an outside file and may have been stopped half
// way, so decoding checks every count against the sheet limits and the
// bytes that are really there.
#pragma once

#include "batch/sheet_file.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace billprint {

struct XlsReply
{
    // Empty when the workbook (and the sheet asked for) could be read.
    QString error;
    QStringList sheetNames;
    // The rows of the sheet asked for, within the sheet limits.
    SheetRows rows;
    bool cutAtLimits = false;
};

QByteArray encodeXlsReply(const XlsReply &reply);
// False when `bytes` are not a whole reply within the limits.
bool decodeXlsReply(const QByteArray &bytes, XlsReply *reply);

} // namespace billprint
