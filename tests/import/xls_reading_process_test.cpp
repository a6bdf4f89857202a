// The .xls reader's own process: whatever happens in there (a crash, a
// hang, nonsense on its output) is a file refused with one message, and
// its reply is taken only when whole and within the sheet limits.
#include "batch/sheet_file.h"
#include "batch/xls_reply.h"
#include "batch/xls_worker.h"
#include "sheet_fixtures.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

// Puts a shell script in the reading process's place while it lives.
class StandInReader
{
public:
    explicit StandInReader(const QByteArray &script)
    {
        const QString path = m_dir.filePath(QStringLiteral("reader.sh"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write("#!/bin/sh\n" + script + "\n") < 0)
            ADD_FAILURE() << "cannot write " << path.toStdString();
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        setXlsWorkerProgram(path);
    }
    ~StandInReader() { setXlsWorkerProgram(QString()); }

private:
    QTemporaryDir m_dir;
};

QString refusalOf(const QString &path)
{
    QString error;
    std::unique_ptr<SheetFile> file = openSheetFile(path, &error);
    return file ? QStringLiteral("(read)") : error;
}

XlsReply sampleReply()
{
    XlsReply reply;
    reply.sheetNames = {"收件人", "空表"};
    reply.rows = {{"收货人", "手机号码"}, {"张三", "13800138000"}, {}, {"", "广州市天河区体育西路103号"}};
    reply.cutAtLimits = true;
    return reply;
}

} // namespace

TEST(XlsReadingProcess, ACrashAnErrorExitOrNonsenseIsARefusedFile)
{
    const QString workbook = fixturePath("receivers.xls");
    {
        StandInReader reader("kill -SEGV $$");
        EXPECT_EQ(refusalOf(workbook), "文件过大或已损坏");
    }
    {
        StandInReader reader("exit 1");
        EXPECT_EQ(refusalOf(workbook), "文件过大或已损坏");
    }
    {
        StandInReader reader("printf 'BPX1 and then nothing a reply is made of'");
        EXPECT_EQ(refusalOf(workbook), "文件过大或已损坏");
    }
    // Back to the real reading process.
    EXPECT_EQ(refusalOf(workbook), "(read)");
}

TEST(XlsReadingProcess, WorkbooksOnWhichTheLibraryReadsPastItsBuffersNeverTakeTheProgramDown)
{
    // libfreexl 1.0.6 reads past a buffer on each of these; under a
    // sanitizer the reading process dies, otherwise it may read garbage.
    // Either way this process goes on and a refusal says why.
    for (const char *name : {"freexl-heap-overread.xls", "freexl-iconv-overread.xls"}) {
        const QString path = QStringLiteral(BILLPRINT_TEST_DIR "/../../fuzz/corpus/xls/") + QLatin1String(name);
        ASSERT_TRUE(QFile::exists(path)) << path.toStdString();
        QString error;
        std::unique_ptr<SheetFile> file = openSheetFile(path, &error);
        if (!file) {
            EXPECT_FALSE(error.isEmpty()) << name;
            continue;
        }
        for (int i = 0; i < file->sheetNames().size(); ++i) {
            SheetRows rows;
            if (!file->readSheet(i, &rows, &error))
                EXPECT_FALSE(error.isEmpty()) << name;
        }
    }
}

TEST(XlsReadingProcess, AReadingProcessThatHangsIsStoppedAndTheFileRefused)
{
    StandInReader reader("exec sleep 60");
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(refusalOf(fixturePath("receivers.xls")), "文件过大或已损坏");
    EXPECT_LT(clock.elapsed(), 30000);
}

TEST(XlsReply, AWholeReplyDecodesAsWrittenAndEveryCutOneIsRefused)
{
    const QByteArray bytes = encodeXlsReply(sampleReply());
    XlsReply decoded;
    ASSERT_TRUE(decodeXlsReply(bytes, &decoded));
    EXPECT_EQ(decoded.sheetNames, sampleReply().sheetNames);
    EXPECT_EQ(decoded.rows, sampleReply().rows);
    EXPECT_TRUE(decoded.cutAtLimits);
    for (qsizetype size = 0; size < bytes.size(); ++size)
        EXPECT_FALSE(decodeXlsReply(bytes.left(size), &decoded)) << size;
    EXPECT_FALSE(decodeXlsReply(bytes + '\0', &decoded));
}

TEST(XlsReply, CountsBeyondTheSheetLimitsAreRefusedBeforeAnythingIsAllocated)
{
    // magic, no error, no sheets, not cut, then a row count of 4 thousand million
    const QByteArray rows = QByteArray::fromHex("42505831" "00000000" "00000000" "00000000" "ffffffff");
    XlsReply decoded;
    EXPECT_FALSE(decodeXlsReply(rows, &decoded));
    // one row claiming 257 cells
    const QByteArray cells = QByteArray::fromHex("42505831" "00000000" "00000000" "00000000" "00000001" "00000101");
    EXPECT_FALSE(decodeXlsReply(cells, &decoded));
    // one cell claiming 32 K + 1 characters
    const QByteArray text = QByteArray::fromHex("42505831" "00000000" "00000000" "00000000" "00000001" "00000001"
                                                "00008001")
                            + QByteArray(2 * (32 * 1024 + 1), 'a');
    EXPECT_FALSE(decodeXlsReply(text, &decoded));
}
