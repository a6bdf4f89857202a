// Text files of receivers on any bytes: the import's text sheet (.csv in
// any of the encodings it guesses) and the batch command's CSV reader.
// Never a crash, a leak or a hang.
#include "batch/csv_file.h"
#include "sheet_harness.h"

using namespace billprint;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::startQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::readEverySheet(openTextSheetFile, QStringLiteral("input.csv"), data, size);

    QList<QStringList> rows;
    QString error;
    if (!readCsvFile(fuzz::inputFile(QStringLiteral("input.csv")), &rows, &error))
        FUZZ_CHECK(!error.isEmpty(), "a CSV file that cannot be read names its reason");

    // The field splitter alone, with each separator the import knows.
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    for (QChar separator : {QLatin1Char(','), QLatin1Char('\t'), QLatin1Char(';')})
        parseCsv(text, separator);
    return 0;
}
