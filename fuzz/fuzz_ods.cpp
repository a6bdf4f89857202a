// The .ods reader on any bytes: never a crash, a leak or a hang.
// A zip is read as it is; any other input is the content.xml of a
// spreadsheet package (see sheet_harness.h).
#include "sheet_harness.h"

using namespace billprint;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::startQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (fuzz::isZip(data, size))
        return fuzz::readEverySheet(openOdsFile, QStringLiteral("input.ods"), data, size);
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    const fuzz::ZipEntries entries = {
        {QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"},
        {QStringLiteral("content.xml"), content}};
    return fuzz::readEverySheetOf(openOdsFile, fuzz::zipInput(QStringLiteral("input.ods"), entries));
}
