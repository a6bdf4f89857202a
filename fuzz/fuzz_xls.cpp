// The .xls reader on any bytes: never a crash, a leak or a hang.
#include "sheet_harness.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    billprint::fuzz::startQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return billprint::fuzz::readEverySheet(billprint::openXlsFile, QStringLiteral("input.xls"), data, size);
}
