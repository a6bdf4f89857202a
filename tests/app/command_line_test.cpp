// The frame of the headless commands: every command reads its words the
// same way, answers --help, takes --opt=value, says what is wrong in one
// line "billprint COMMAND: ..." with exit code 2, and names templates by
// id or name.
#include "app/command_line.h"
#include "app/version.h"
#include "batch/address_command.h"
#include "history/history_command.h"
#include "maintenance/upgrade_command.h"
#include "render_pdf_words.h"
#include "templates/package_command.h"
#include "test_support.h"
#include "users/user_command.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

const QStringList kCommands{"convert", "print",   "print-sample",  "batch", "import",
                            "history", "package", "parse-address", "user",  "upgrade", "db"};

CommandLine sampleLine()
{
    CommandLine line("sample", {"--family F [--set X=Y]..."}, "Prints a sample.");
    line.word("FILE", "the file").option("family", "F", "the family").option("set", "X=Y", "a field").flag("save", "store it");
    return line;
}

TEST(CommandLineWords, ValueAfterTheOptionOrAfterAnEqualsSignIsTheSame)
{
    CommandLine spaced = sampleLine();
    ASSERT_TRUE(spaced.parse({"a.csv", "--family", "支票", "--set", "zdYT=货款", "--set", "zdRemark=a=b", "--save"}));
    CommandLine joined = sampleLine();
    ASSERT_TRUE(joined.parse({"--family=支票", "a.csv", "--set=zdYT=货款", "-set=zdRemark=a=b", "-save"}));
    for (const CommandLine *line : {&spaced, &joined}) {
        EXPECT_EQ(line->words(), QStringList{"a.csv"});
        EXPECT_EQ(line->value("family"), "支票");
        EXPECT_EQ(line->values("set"), QStringList({"zdYT=货款", "zdRemark=a=b"}));
        EXPECT_TRUE(line->isSet("save"));
        EXPECT_TRUE(line->dataFolder().isEmpty());
    }
    CommandLine data = sampleLine();
    ASSERT_TRUE(data.parse({"--data=/srv/bills"}));
    EXPECT_EQ(data.dataFolder(), "/srv/bills");
}

TEST(CommandLineWords, MistakesAreNamedPlainly)
{
    const struct
    {
        QStringList args;
        const char *error;
    } cases[] = {
        {{"--bogus"}, "unknown option: --bogus"},
        {{"--bogus=1"}, "unknown option: --bogus"},
        {{"--family"}, "--family needs a value"},
        {{"--save=1"}, "--save takes no value"},
        {{"a.csv", "b.csv"}, "unexpected argument: b.csv"},
    };
    for (const auto &c : cases) {
        CommandLine line = sampleLine();
        EXPECT_FALSE(line.parse(c.args)) << c.error;
        EXPECT_EQ(line.error().toStdString(), c.error);
    }
}

TEST(CommandLineWords, HelpShowsTheUsageWordsAndOptions)
{
    CommandLine line = sampleLine();
    ASSERT_TRUE(line.parse({"-h"}));
    EXPECT_TRUE(line.helpAsked());
    EXPECT_EQ(line.helpText(),
              "Usage: billprint sample --family F [--set X=Y]...\n"
              "\n"
              "Prints a sample.\n"
              "\n"
              "Arguments:\n"
              "  FILE                  the file\n"
              "\n"
              "Options:\n"
              "  --family F            the family\n"
              "  --set X=Y             a field\n"
              "  --save                store it\n"
              "  --data DIR            the data folder (also before the command)\n"
              "  --database URL        a shared database, postgresql://USER@HOST[:PORT]/DBNAME (also before the command)\n"
              "  --help                print this help and exit\n");
}

TEST(CommandFrame, EveryCommandAnswersHelpWithItsOwnOptions)
{
    const ProgramResult top = runProgram({"--help"});
    EXPECT_EQ(top.exitCode, 0);
    for (const QString &command : kCommands)
        EXPECT_TRUE(top.out.contains("\n  " + command + " ")) << command.toStdString();

    const QMap<QString, QStringList> options{
        {"convert", {"CONVERSION", "capitals AMOUNT"}},
        {"print", {"--family FAMILY", "--template ID|NAME", "--set FIELD=VALUE", "--save", "--pdf OUT"}},
        {"print-sample", {"--template ID|NAME", "--calibrate", "--printer NAME"}},
        {"batch", {"--template ID|NAME", "--csv FILE", "--sender NAME"}},
        {"import", {"--into addressbook|batch", "--sheet NAME", "--no-duplicates"}},
        {"history", {"FAMILY", "--party TEXT", "--exact", "--json", "--xlsx OUT"}},
        {"package", {"export|import", "--template ID|NAME"}},
        {"parse-address", {"--data DIR"}},
        {"user", {"add|passwd", "--role ROLE", "--remark TEXT"}},
        {"upgrade", {"--data DIR"}},
        {"db", {"init|copy", "--from DIR|URL", "--to URL|DIR", "--replace", "--database URL"}},
    };
    for (const QString &command : kCommands) {
        const ProgramResult r = runProgram({command, "--help"});
        EXPECT_EQ(r.exitCode, 0) << command.toStdString();
        EXPECT_TRUE(r.out.startsWith("Usage: billprint " + command + " ")) << r.out.toStdString();
        for (const QString &option : options.value(command))
            EXPECT_TRUE(r.out.contains(option)) << command.toStdString() << ": " << option.toStdString();
    }
}

TEST(CommandFrame, UnknownOptionIsOneLineAndExitTwoAndCreatesNothing)
{
    QTemporaryDir empty;
    for (const QString &command : kCommands) {
        const QStringList args = command == "convert" ? QStringList{command, "--bogus"}
                                                      : QStringList{"--data", empty.path(), command, "--bogus"};
        const ProgramResult r = runProgram(args);
        EXPECT_EQ(r.exitCode, 2) << command.toStdString();
        EXPECT_EQ(r.err, "billprint " + command + ": unknown option: --bogus\n");
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
    EXPECT_EQ(QDir(empty.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

// Commands that only read or change what is there leave a wrong folder as
// they found it: no database, no folders.
TEST(CommandFrame, CommandsOnExistingDataCreateNoDatabase)
{
    QTemporaryDir empty;
    const QString folder = empty.filePath("nothing");
    QString input;
    QString output;
    QString errors;
    QTextStream in(&input), out(&output), err(&errors);
    QBuffer listing;
    listing.open(QIODevice::WriteOnly);
    EXPECT_EQ(runHistoryCommand({"支票", "--json"}, folder, listing, err), 2);
    EXPECT_EQ(runUserCommand({"add", "amy", "--role=录单员"}, folder, in, out, err), 2);
    EXPECT_EQ(runPackageCommand({"export", "--template=1", empty.filePath("a.tpk")}, folder, out, err), 2);
    EXPECT_EQ(runUpgradeCommand({}, folder, out, err), 2);
    EXPECT_EQ(runParseAddressCommand({"--data", folder}, QString(), in, out, err), 0);
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_EQ(errors.count('\n'), 4);
    EXPECT_EQ(errors.split('\n').filter("billprint ").filter(": no database in " + folder).size(), 4) << errors.toStdString();
}

TEST(CommandFrame, OptionsAfterAnEqualsSignAndTheDataFolderAfterTheCommand)
{
    TempDataRoot root;
    root.close();
    QString input;
    QString output;
    QString errors;
    QTextStream in(&input), out(&output), err(&errors);
    EXPECT_EQ(runUserCommand({"add", "amy", "--role=录单员", "--remark=前台", "--data=" + root.path()}, "/nonexistent",
                             in, out, err),
              0)
        << errors.toStdString();
    EXPECT_EQ(root.reopen().db().scalar("select Remark from UserTable where UserName='amy'").toString(), "前台");
}

class TemplateByIdOrName : public ::testing::Test
{
protected:
    // The result line's bill, then the words the PDF shows with their places.
    QStringList printed(const QStringList &args)
    {
        const QString pdf = QDir(root.path()).filePath(QString("out%1.pdf").arg(++runs));
        const ProgramResult r = runProgram(QStringList{"--data", root.path()} + args + QStringList{"--pdf=" + pdf}, 60000);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        QStringList words{r.out.section(" -> ", 0, 0)};  // the template the command says it printed
        for (const PdfPage &page : readPdfWords(pdf))
            for (const PdfWord &w : page.words)
                words << QString("%1@%2,%3").arg(w.text).arg(w.xMin, 0, 'f', 1).arg(w.yMin, 0, 'f', 1);
        return words;
    }

    TempDataRoot root;
    int runs = 0;
};

TEST_F(TemplateByIdOrName, PrintTakesTheIdTheLastNameOrTheFullName)
{
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) not installed";
    const QStringList bill{"print", "--family", "支票", "--amount", "1234.56", "--date", "2026-03-05"};
    const QStringList byId = printed(bill + QStringList{"--template", "2"});
    ASSERT_TRUE(byId.join(' ').contains("壹仟贰佰叁拾肆元伍角陆分")) << byId.join(' ').toStdString();
    EXPECT_EQ(byId.first(), "支票（通用现金支票）");
    EXPECT_EQ(printed(bill + QStringList{"--template=通用现金支票"}), byId);
    EXPECT_EQ(printed(bill + QStringList{"--template", "支票（通用现金支票）"}), byId);
    EXPECT_EQ(printed(bill + QStringList{"--template", "1"}).first(), "支票（通用转账支票）");
}

TEST_F(TemplateByIdOrName, PrintSampleTakesTheIdOrTheName)
{
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) not installed";
    const QStringList byId = printed({"print-sample", "--template", "3"});
    ASSERT_FALSE(byId.isEmpty());
    EXPECT_EQ(printed({"print-sample", "--template", "通用进账单"}), byId);
    const ProgramResult unknown = runProgram({"--data", root.path(), "print-sample", "--template", "无此模板", "--pdf", "x.pdf"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err, "billprint print-sample: unknown template: 无此模板\n");
}

} // namespace
