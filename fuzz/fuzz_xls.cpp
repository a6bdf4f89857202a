// The .xls reader on any bytes: never a crash, a leak or a hang of the
// program. Each input goes the way of an import: this program starts
// itself as the reading process (a crash in there is a refused file, as
// it is for the clerk), and the same bytes are also decoded as a reply of
// that process, the one place this side trusts nothing it is given.
#include "batch/xls_reply.h"
#include "batch/xls_worker.h"
#include "sheet_harness.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    if (const int workerExit = billprint::runXlsWorkerIfAsked(*argc, *argv); workerExit >= 0)
        std::_Exit(workerExit);
    billprint::fuzz::startQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    billprint::XlsReply reply;
    if (billprint::decodeXlsReply(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)),
                                  &reply))
        FUZZ_CHECK(reply.rows.size() <= billprint::kSheetMaxRows, "a reply stays within the sheet limits");
    return billprint::fuzz::readEverySheet(billprint::openXlsFile, QStringLiteral("input.xls"), data, size);
}
