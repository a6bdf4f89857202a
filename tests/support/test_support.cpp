#include "test_support.h"

#include "app/data_location.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace billprint::test {

AlertRecorder::AlertRecorder()
{
    m_previous = setAlertHandler([this](const AlertRequest &request) {
        m_alerts.push_back(request);
        if (request.buttons == AlertButtons::Ok)
            return AlertAnswer::Ok;
        if (m_answers.empty())
            return AlertAnswer::No;
        const AlertAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    });
}

AlertRecorder::~AlertRecorder()
{
    setAlertHandler(std::move(m_previous));
}

QStringList AlertRecorder::messages() const
{
    QStringList list;
    for (const AlertRequest &r : m_alerts)
        list << r.message;
    return list;
}

bool AlertRecorder::sawMessage(const QString &text) const
{
    for (const AlertRequest &r : m_alerts)
        if (r.message.contains(text))
            return true;
    return false;
}

TempDataRoot::TempDataRoot()
{
    if (testsOnSharedDatabase()) {
        m_server = std::make_unique<ScratchServerDatabase>();
        setConfiguredDatabaseUrl(DataRoot(m_dir.path()), m_server->url());
    }
    reopen();
}

AppContext &TempDataRoot::reopen()
{
    m_context.reset();
    QString error;
    m_context = AppContext::open(DataRoot(m_dir.path()), &error,
                                 m_dir.filePath(QStringLiteral("user-settings.conf")));
    if (!m_context)
        ADD_FAILURE() << "cannot open data root: " << error.toStdString();
    return *m_context;
}

AppContext &TempDataRoot::shareDatabaseOf(const AppContext &desk)
{
    close();
    const DataRoot own(m_dir.path());
    const QString serverUrl = configuredDatabaseUrl(desk.dataRoot());
    if (!serverUrl.isEmpty()) {
        setConfiguredDatabaseUrl(own, serverUrl);
    } else {
        const QString linked = own.databasePath();
        if (!QFile::remove(linked) || !QFile::link(desk.dataRoot().databasePath(), linked))
            ADD_FAILURE() << "cannot link " << linked.toStdString() << " to the other desk's database";
    }
    return reopen();
}

namespace {

bool builtWithAddressSanitizer()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

} // namespace

std::vector<std::pair<QString, QString>> makeOwnHome(const QString &homePath)
{
    const QDir home(homePath);
    std::vector<std::pair<QString, QString>> variables{{QStringLiteral("HOME"), home.path()}};
    const std::pair<const char *, const char *> folders[] = {{"XDG_CONFIG_HOME", "config"},
                                                             {"XDG_DATA_HOME", "data"},
                                                             {"XDG_CACHE_HOME", "cache"},
                                                             {"XDG_RUNTIME_DIR", "runtime"}};
    for (const auto &[variable, folder] : folders) {
        home.mkpath(QString::fromLatin1(folder));
        variables.emplace_back(QString::fromLatin1(variable), home.filePath(QString::fromLatin1(folder)));
    }
    // Qt insists on a runtime folder only its owner may enter.
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                                        | QFileDevice::ExeOwner);
    return variables;
}

ProgramResult runProgram(const QStringList &args, int timeoutMs, qint64 addressSpaceLimit)
{
    ProgramResult result;
    result.home = std::make_shared<QTemporaryDir>();
    const QDir home(result.home->path());
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const auto &[variable, value] : makeOwnHome(home.path()))
        env.insert(variable, value);
    process.setProcessEnvironment(env);
    if (addressSpaceLimit > 0 && !builtWithAddressSanitizer())
        process.start(QStringLiteral("prlimit"),
                      QStringList{QStringLiteral("--as=%1").arg(addressSpaceLimit), QStringLiteral("--"),
                                  QStringLiteral(BILLPRINT_EXE)}
                          + args);
    else
        process.start(QStringLiteral(BILLPRINT_EXE), args);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.err = QStringLiteral("timed out");
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

} // namespace billprint::test
