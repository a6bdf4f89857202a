// The body of the spreadsheet harnesses: open the input with one reader
// and read every sheet it names, as the import does before it picks one.
#pragma once

#include "batch/sheet_file.h"
#include "fuzz_support.h"

#include <QList>
#include <QPair>
#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

namespace billprint::fuzz {

using SheetOpener = std::unique_ptr<SheetFile> (*)(const QString &path, QString *error);
using ZipEntries = QList<QPair<QString, QByteArray>>;

inline int readEverySheetOf(SheetOpener open, const QString &path)
{
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

inline int readEverySheet(SheetOpener open, const QString &fileName, const uint8_t *data, size_t size)
{
    return readEverySheetOf(open, writeInput(fileName, data, size));
}

// Mutated zip bytes rarely inflate, so the XML parsers behind them would
// see little. An input that is no zip (does not start with "PK") is taken
// as XML and put into a workbook around it by the harness.
inline bool isZip(const uint8_t *data, size_t size)
{
    return size >= 2 && data[0] == 'P' && data[1] == 'K';
}

// Zips `entries` stored, not deflated (the bytes stay as the fuzzer made
// them), into the input file `fileName`; returns its path.
inline QString zipInput(const QString &fileName, const ZipEntries &entries)
{
    const QString path = inputFile(fileName);
    QFile::remove(path);
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        std::abort();
    for (const auto &[name, bytes] : entries) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name), nullptr, 0, 0, 0))
            std::abort();
        file.write(bytes);
        file.close();
    }
    zip.close();
    return path;
}

} // namespace billprint::fuzz
