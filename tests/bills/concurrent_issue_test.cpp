// Several desks issuing bills into one database at the same moment: four
// copies of the program, each saving 25 bills one after the other, all
// running at once. Every bill is stored, each under its own serial number,
// and every run ends with exit 0.
//
// The desks reach the database through the arguments put before the
// command: `--data DIR` for the SQLite file of a data root, or the options
// naming a shared database.

#include "app/database.h"
#include "bills/bill_family.h"
#include "test_support.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace billprint::test {
namespace {

constexpr int kDesks = 4;
constexpr int kBillsPerDesk = 25;

struct IssuedRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

// One desk: its own home and settings folders, and the runs it still has
// to make, one after the other.
class Desk
{
public:
    Desk(const QStringList &databaseArgs, QStringList (*billArgs)(int desk, int bill), int number)
        : m_databaseArgs(databaseArgs), m_billArgs(billArgs), m_number(number)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), m_home.path());
        const QDir home(m_home.path());
        for (const char *folder : {"config", "data", "cache", "runtime"})
            home.mkpath(QString::fromLatin1(folder));
        QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("runtime")));
        m_process.setProcessEnvironment(env);
    }

    // Collects a finished run and starts the next; false once all are done.
    bool step()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.waitForFinished(20);
            return true;
        }
        if (m_started > m_runs.size()) {
            IssuedRun run;
            run.exitCode = m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
            run.out = QString::fromUtf8(m_process.readAllStandardOutput());
            run.err = QString::fromUtf8(m_process.readAllStandardError());
            m_runs.push_back(run);
        }
        if (m_started == kBillsPerDesk)
            return false;
        m_process.start(QStringLiteral(BILLPRINT_EXE), m_databaseArgs + m_billArgs(m_number, m_started));
        ++m_started;
        return true;
    }

    const std::vector<IssuedRun> &runs() const { return m_runs; }

private:
    QStringList m_databaseArgs;
    QStringList (*m_billArgs)(int, int);
    int m_number;
    QTemporaryDir m_home;
    QProcess m_process;
    qsizetype m_started = 0;
    std::vector<IssuedRun> m_runs;
};

// Runs kDesks desks at once until each has made kBillsPerDesk runs.
std::vector<IssuedRun> issueAtFourDesks(const QStringList &databaseArgs, QStringList (*billArgs)(int, int))
{
    std::vector<std::unique_ptr<Desk>> desks;
    for (int d = 0; d < kDesks; ++d)
        desks.push_back(std::make_unique<Desk>(databaseArgs, billArgs, d));
    bool busy = true;
    while (busy) {
        busy = false;
        for (auto &desk : desks)
            busy = desk->step() || busy;
    }
    std::vector<IssuedRun> all;
    for (const auto &desk : desks)
        all.insert(all.end(), desk->runs().begin(), desk->runs().end());
    return all;
}

class ConcurrentIssueTest : public ::testing::Test
{
protected:
    // On the test server each desk names the shared database itself, as a
    // clerk's desk started with --database does.
    QStringList atDataRoot() const
    {
        QStringList args{QStringLiteral("--data"), root.path()};
        if (testsOnSharedDatabase())
            args << QStringLiteral("--database") << configuredDatabaseUrl(DataRoot(root.path()));
        return args;
    }

    // Every run saved, with a serial of its own, and the table holds
    // exactly those rows.
    void expectEveryBillStoredOnce(const std::vector<IssuedRun> &runs, const QString &table)
    {
        ASSERT_EQ(runs.size(), size_t(kDesks * kBillsPerDesk));
        static const QRegularExpression serialLine(QStringLiteral("^serial (\\d+)$"),
                                                   QRegularExpression::MultilineOption);
        QSet<int> reported;
        for (const IssuedRun &run : runs) {
            EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
            const QRegularExpressionMatch m = serialLine.match(run.out);
            EXPECT_TRUE(m.hasMatch()) << run.out.toStdString() << run.err.toStdString();
            if (m.hasMatch())
                reported << m.captured(1).toInt();
        }
        EXPECT_EQ(reported.size(), kDesks * kBillsPerDesk);
        const Database &db = root.context().db();
        EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from ") + table).toInt(), kDesks * kBillsPerDesk);
        EXPECT_EQ(db.scalar(QStringLiteral("select count(distinct 流水号) from ") + table).toInt(),
                  kDesks * kBillsPerDesk);
        QSet<int> stored;
        QSqlQuery q = db.prepare(QStringLiteral("select 流水号 from ") + table);
        ASSERT_TRUE(q.exec());
        while (q.next())
            stored << q.value(0).toInt();
        EXPECT_EQ(stored, reported);
    }

    TempDataRoot root;
};

// Each desk prints to a file of its own.
QString folder;
QString pdfOf(int desk)
{
    return QDir(folder).filePath(QStringLiteral("desk%1.pdf").arg(desk));
}

// The amount tells desk and bill apart: desk 2's 7th bill is 2007.00.
QString amountOf(int desk, int bill)
{
    return QString::number((desk + 1) * 1000 + bill + 1);
}

TEST_F(ConcurrentIssueTest, FourDesksSavingChequesAtOnceGetOneSerialEach)
{
    folder = root.path();
    const std::vector<IssuedRun> runs = issueAtFourDesks(atDataRoot(), [](int desk, int bill) {
        return QStringList{QStringLiteral("print"), QStringLiteral("--family"), QStringLiteral("支票"),
                           QStringLiteral("--amount"), amountOf(desk, bill), QStringLiteral("--payee"),
                           QStringLiteral("O'Brien 贸易"), QStringLiteral("--pdf"), pdfOf(desk), QStringLiteral("--save")};
    });
    expectEveryBillStoredOnce(runs, QStringLiteral("DataZPTable"));
    EXPECT_EQ(root.context().db().scalar(QStringLiteral("select count(distinct 金额) from DataZPTable")).toInt(),
              kDesks * kBillsPerDesk);
}

TEST_F(ConcurrentIssueTest, FourDesksSavingDepositSlipsAtOnceGetOneSerialEach)
{
    folder = root.path();
    const std::vector<IssuedRun> runs = issueAtFourDesks(atDataRoot(), [](int desk, int bill) {
        return QStringList{QStringLiteral("print"), QStringLiteral("--family"), QStringLiteral("进账单"),
                           QStringLiteral("--amount"), amountOf(desk, bill), QStringLiteral("--payee"),
                           QStringLiteral("上海华东电子科技有限公司"), QStringLiteral("--pdf"), pdfOf(desk),
                           QStringLiteral("--save")};
    });
    expectEveryBillStoredOnce(runs, QStringLiteral("DataJZDTable"));
}

TEST_F(ConcurrentIssueTest, FourDesksSavingWaybillsAtOnceGetOneSerialEach)
{
    folder = root.path();
    const std::vector<IssuedRun> runs = issueAtFourDesks(atDataRoot(), [](int desk, int bill) {
        return QStringList{QStringLiteral("print"), QStringLiteral("--family"), QStringLiteral("快递单"),
                           QStringLiteral("--set"), QStringLiteral("zdWPNR=合同") + amountOf(desk, bill),
                           QStringLiteral("--pdf"), pdfOf(desk), QStringLiteral("--save")};
    });
    expectEveryBillStoredOnce(runs, QStringLiteral("DataKDDTable"));
}

} // namespace
} // namespace billprint::test
