// `billprint history …` run as a program: the listing an accountant's
// script reads (CSV, JSON, workbook), and one error line with exit code 2
// for anything it cannot do.

#include "history_fixtures.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace billprint::test {
namespace {

class HistoryCommandTest : public HistoryTest
{
protected:
    // The program with its own home and settings folders.
    ProgramResult history(const QStringList &args)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", home.path());
        env.insert("XDG_CONFIG_HOME", home.filePath("config"));
        env.insert("XDG_DATA_HOME", home.filePath("data"));
        env.insert("XDG_RUNTIME_DIR", home.path());
        process.setProcessEnvironment(env);
        process.start(BILLPRINT_EXE, QStringList({"--data", root.path(), "history"}) + args);
        ProgramResult r;
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            return r;
        }
        r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        r.out = QString::fromUtf8(process.readAllStandardOutput());
        r.err = QString::fromUtf8(process.readAllStandardError());
        return r;
    }

    QTemporaryDir home;
};

TEST_F(HistoryCommandTest, ListsExactlyTheChequesOfAPayeeAsStored)
{
    addCheque("10001", "O'Brien", "1234.5", "2024-03-05");
    addCheque("10002", "O'Brien & Sons", "20", "2024-03-06");
    addCheque("10003", "Other", "30", "2024-03-07");
    addCheque("10004", "O'Brien", "99.9", "2024-04-01");
    root.close();  // the program opens the database on its own

    const ProgramResult r = history({"支票", "--party", "O'Brien", "--exact", "--csv", "-"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << r.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith("流水号,模板种类,其他选项,票据编号,票据状态,备注,币种,金额,出票日期,收款人全称"));
    EXPECT_EQ(lines[1], "1,通用转账支票,,10001,已用,,,1234.5,2024-03-05,O'Brien,,,,,,,,,,");
    EXPECT_EQ(lines[2], "4,通用转账支票,,10004,已用,,,99.9,2024-04-01,O'Brien,,,,,,,,,,");

    // Containment, dates and amounts, as JSON.
    const ProgramResult json = history({"支票", "--party", "o'brien", "--from", "2024-03-06", "--to", "2024-04-01",
                                        "--min", "50", "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(json.out.toUtf8()).array();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].toObject().value("流水号").toInt(), 4);
    EXPECT_EQ(rows[0].toObject().value("金额").toString(), "99.9");
}

TEST_F(HistoryCommandTest, WritesFilesAndRefusesWhatItCannotDo)
{
    addRow("DataKDDTable", {{"快递单号", "SF1"}, {"收件联系人", "张三"}, {"寄件日期", "2024-03-05"}});
    root.close();
    const QString csv = QDir(home.path()).filePath("kdd.csv");
    const QString xlsx = QDir(home.path()).filePath("kdd.xlsx");
    ProgramResult r = history({"快递单", "--party", "张", "--csv", csv});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "1 row -> " + csv + "\n");
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains(",SF1,"));
    r = history({"快递单", "--xlsx", xlsx});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(xlsx));

    const struct
    {
        QStringList args;
        const char *error;
    } refused[] = {
        {{"汇票", "--json"}, "unknown family: 汇票"},
        {{"支票"}, "give one of --csv OUT, --xlsx OUT or --json"},
        {{"支票", "--json", "--csv", "-"}, "give only one of --csv, --xlsx and --json"},
        {{"支票", "--min", "abc", "--json"}, "--min is not a number: abc"},
        {{"快递单", "--max", "5", "--json"}, "the 快递单 history has no amount filter"},
        {{"支票", "--from", "2024-03-09", "--to", "2024-03-08", "--json"}, "--to is before --from"},
        {{"支票", "--from", "9.3.2024", "--json"}, "--from needs a date YYYY-MM-DD: 9.3.2024"},
        {{"支票", "--json", "--bogus"}, "unknown option: --bogus"},
    };
    for (const auto &c : refused) {
        r = history(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.error;
        EXPECT_EQ(r.err.toStdString(), "billprint history: " + std::string(c.error) + "\n");
        EXPECT_TRUE(r.out.isEmpty());
    }

    QTemporaryDir empty;
    QProcess process;
    process.start(BILLPRINT_EXE, {"--data", empty.path(), "history", "支票", "--json"});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_FALSE(QFile::exists(QDir(empty.path()).filePath("Data/EPData.ini")));
}

} // namespace
} // namespace billprint::test
