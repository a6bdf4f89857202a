// What every fuzz harness shares: Qt started once, Qt's own chatter
// silenced (a warning is no finding; a crash, a leak or a hang is), and a
// file to hand to readers that take a path.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace billprint::fuzz {

inline void dropQtMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    // A fatal message still ends the run: Qt aborts after the handler.
    if (type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qUtf8Printable(message));
}

// Starts Qt once per fuzzing process. The application object outlives
// every input; the readers need it for plugins (SQLite driver, codecs,
// image formats).
inline void startQt(int *argc, char ***argv)
{
    qInstallMessageHandler(dropQtMessages);
    static QCoreApplication app(*argc, *argv);
    Q_UNUSED(app);
}

// One folder per fuzzing process; the input file in it is rewritten for
// every input, so the readers see a real file as the import gives them.
inline QString inputFile(const QString &name)
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/billprint-fuzz-XXXXXX"));
    if (!dir.isValid())
        std::abort();
    return dir.filePath(name);
}

inline QString writeInput(const QString &name, const uint8_t *data, size_t size)
{
    const QString path = inputFile(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        std::abort();  // the harness's own failure, not the reader's
    return path;
}

// A check of the harness: prints what broke and crashes, so libFuzzer
// keeps the input.
#define FUZZ_CHECK(condition, what)                                              \
    do {                                                                         \
        if (!(condition)) {                                                      \
            std::fprintf(stderr, "check failed: %s (%s)\n", #condition, what);   \
            std::abort();                                                        \
        }                                                                        \
    } while (0)

} // namespace billprint::fuzz
