// The .xls reader (Excel 97-2003 and WPS workbooks): FreeXL reads the file
// in a process of its own (xls_worker.h), this side starts it, bounds its
// time, memory and output, and takes its reply.
#include "batch/sheet_file.h"
#include "batch/xls_reply.h"
#include "batch/xls_worker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <sys/resource.h>

namespace billprint {

namespace {

// Larger .xls files are not spreadsheets a shop exports (the format ends
// at 65536 rows); they are refused before anything reads them.
constexpr qint64 kMaxXlsFileBytes = 256 * 1024 * 1024;
// The reading process may take this long and this much memory; a
// workbook that needs more is refused as too large or damaged.
constexpr int kWorkerMilliseconds = 15000;
constexpr rlim_t kWorkerAddressSpace = rlim_t(2) * 1024 * 1024 * 1024;
// A reply holds at most the sheet limits' cells; this is far beyond any
// real sheet and still bounds what this side takes in.
constexpr qint64 kMaxReplyBytes = 256 * 1024 * 1024;

QString &workerProgramSet()
{
    static QString program;
    return program;
}

QString workerProgram()
{
    if (!workerProgramSet().isEmpty())
        return workerProgramSet();
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

// The address-space cap is left out under AddressSanitizer, whose shadow
// memory reserves terabytes of address space up front.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kCapAddressSpace = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kCapAddressSpace = false;
#else
constexpr bool kCapAddressSpace = true;
#endif
#else
constexpr bool kCapAddressSpace = true;
#endif

// Runs the reading process for `path` (and sheet `sheet` when >= 0).
// False with `error` set when it did not give a reply; a reply may still
// carry its own error.
bool readInWorker(const QString &path, int sheet, XlsReply *reply, QString *error)
{
    QProcess process;
    QStringList arguments{QString::fromLatin1(kXlsWorkerArgument), path};
    if (sheet >= 0)
        arguments << QString::number(sheet);
    process.setProgram(workerProgram());
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (kCapAddressSpace) {
        process.setChildProcessModifier([] {
            const rlimit limit{kWorkerAddressSpace, kWorkerAddressSpace};
            setrlimit(RLIMIT_AS, &limit);
        });
    }
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted()) {
        *error = QStringLiteral("无法启动读取xls文件的进程：") + process.errorString();
        return false;
    }
    QByteArray bytes;
    QElapsedTimer clock;
    clock.start();
    bool finished = false;
    while (!finished) {
        const qint64 left = kWorkerMilliseconds - clock.elapsed();
        if (left <= 0 || bytes.size() > kMaxReplyBytes)
            break;
        finished = process.waitForFinished(int(qMin<qint64>(left, 200)));
        bytes += process.readAllStandardOutput();
    }
    if (!finished) {
        process.kill();
        process.waitForFinished();
        qWarning("xls reader stopped: over %d ms or %lld bytes", kWorkerMilliseconds, kMaxReplyBytes);
        *error = sheetTooLargeReason();
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0
        || !decodeXlsReply(bytes, reply)) {
        qWarning("xls reader failed: status %d, exit code %d, %lld bytes", int(process.exitStatus()),
                 process.exitCode(), qint64(bytes.size()));
        *error = sheetTooLargeReason();
        return false;
    }
    return true;
}

class XlsFile : public SheetFile
{
public:
    bool load(const QString &path, QString *error)
    {
        if (QFileInfo(path).size() > kMaxXlsFileBytes) {
            *error = sheetTooLargeReason();
            return false;
        }
        XlsReply reply;
        if (!readInWorker(path, -1, &reply, error))
            return false;
        if (!reply.error.isEmpty()) {
            *error = reply.error;
            return false;
        }
        m_path = path;
        m_names = reply.sheetNames;
        return true;
    }

    bool readSheet(int index, SheetRows *rows, QString *error) override
    {
        rows->clear();
        m_notes = {};
        if (index < 0 || index >= m_names.size()) {
            *error = QStringLiteral("没有这个工作表");
            return false;
        }
        XlsReply reply;
        if (!readInWorker(m_path, index, &reply, error))
            return false;
        if (!reply.error.isEmpty()) {
            *error = reply.error;
            return false;
        }
        return keepSheet(reply.rows, reply.cutAtLimits, rows);
    }

private:
    QString m_path;
};

} // namespace

void setXlsWorkerProgram(const QString &program)
{
    workerProgramSet() = program;
}

std::unique_ptr<SheetFile> openXlsFile(const QString &path, QString *error)
{
    return loadSheetReader<XlsFile>(path, error);
}

} // namespace billprint
