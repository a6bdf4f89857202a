// The body of the spreadsheet harnesses: open the input with one reader
// and read every sheet it names, as the import does before it picks one.
#pragma once

#include "batch/sheet_file.h"
#include "fuzz_support.h"

namespace billprint::fuzz {

using SheetOpener = std::unique_ptr<SheetFile> (*)(const QString &path, QString *error);

inline int readEverySheet(SheetOpener open, const QString &fileName, const uint8_t *data, size_t size)
{
    const QString path = writeInput(fileName, data, size);
    QString error;
    std::unique_ptr<SheetFile> file = open(path, &error);
    if (!file) {
        FUZZ_CHECK(!error.isEmpty(), "a refused file names its reason");
        return 0;
    }
    const int count = file->sheetNames().size();
    FUZZ_CHECK(count == 0 || (file->activeSheet() >= 0 && file->activeSheet() < count),
               "the active sheet is one of the sheets");
    for (int i = 0; i < count; ++i) {
        SheetRows rows;
        QString sheetError;
        if (!file->readSheet(i, &rows, &sheetError))
            FUZZ_CHECK(!sheetError.isEmpty(), "a sheet that cannot be read names its reason");
    }
    return 0;
}

} // namespace billprint::fuzz
