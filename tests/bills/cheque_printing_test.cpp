// The cheque window's print paths with no printer installed, and the print
// options a delivered cheque template starts with.

#include "printing/ui/bill_printer.h"
#include "cheque_fixtures.h"

#include <QAction>
#include <QDate>
#include <QCheckBox>
#include <QDialog>

namespace billprint::test {
namespace {

using ChequePrinting = ChequeTest;

// Without a printer Qt makes the bill printer a PDF writer with no file;
// every print command still says the one thing that matters, before any
// other check, question or dialog.
TEST_F(ChequePrinting, WithoutAPrinterEveryPrintCommandSaysSoFirst)
{
    ctx().printerNames.clear();
    bool asked = false;
    BillWindowHost h = host();
    h.askValue = [&](const QString &, const QString &, const QString &, QWidget *) {
        asked = true;
        return QStringLiteral("2");
    };
    TfmCheckZP w(ctx(), h);
    bool dialogShown = false;
    const PrinterDialogRunner previous = setPrinterDialogRunner([&](QPrinter &, QWidget *) {
        dialogShown = true;
        return int(QDialog::Accepted);
    });
    for (const char *command : {"单张打印(&P)", "打印并保存", "重复打印", "打印机设置"}) {
        alerts.clear();
        w.command(QString::fromUtf8(command))->trigger();
        EXPECT_EQ(alerts.messages(), QStringList{QStringLiteral("你需要安装打印机才能打印！")}) << command;
    }
    setPrinterDialogRunner(previous);
    EXPECT_FALSE(asked);
    EXPECT_FALSE(dialogShown);
    EXPECT_EQ(rowCount(), 0);
}

// Banks refuse a cheque dated in digits: both delivered cheque templates
// start with the date in capitals; the stub keeps digits.
TEST_F(ChequePrinting, DeliveredChequeTemplatesStartWithTheDateInCapitals)
{
    for (const int id : {1, 2})
        EXPECT_EQ(ctx().settings().getCheckConfigByName(id, QStringLiteral("cfgDateChinese")), QStringLiteral("1"));
    auto w = openCheque();
    ASSERT_TRUE(w->option(QStringLiteral("cfgDateChinese")));
    EXPECT_TRUE(w->option(QStringLiteral("cfgDateChinese"))->isChecked());
    w->setBillDate(QDate(2026, 3, 5));
    EXPECT_EQ(text(*w, QStringLiteral("zdNian")), QStringLiteral("贰零贰陆"));
    EXPECT_EQ(text(*w, QStringLiteral("zdYue")), QStringLiteral("零叁"));
    EXPECT_EQ(text(*w, QStringLiteral("cgNian")), QStringLiteral("2026"));
}

// A database made before the option was delivered gets it where no choice
// is stored; a remembered choice stays, and the refreshed template's
// layout cache is rebuilt.
TEST(ChequeDateUpgrade, AddsTheOptionOnlyWhereNoChoiceIsStored)
{
    TempDataRoot root;
    const Database &old = root.context().db();
    ASSERT_TRUE(old.exec(QStringLiteral("delete from DMTable where DMName = 'cfgDateChinese'")));
    ASSERT_TRUE(old.exec(QStringLiteral("insert into DMTable (CheckTypeId, DMName, DMValue) values (2, 'CFGDATECHINESE', '0')")));
    ASSERT_TRUE(old.exec(QStringLiteral("update CKTypeTable set IniFile = CheckTypeID || '.ini'")));
    // Columns later scripts add are not there yet either.
    for (const QString &table : {QStringLiteral("ckPersonalInfoTable"), QStringLiteral("CKTypeTable")})
        ASSERT_TRUE(old.exec(QStringLiteral("ALTER TABLE %1 DROP COLUMN RowVersion").arg(table)));
    for (const SqlStatement &mark : old.dialect().schemaVersionWrite(4))
        ASSERT_TRUE(old.exec(mark.text, mark.values));

    const AppContext &ctx = root.reopen();
    EXPECT_EQ(ctx.settings().getCheckConfigByName(1, QStringLiteral("cfgDateChinese")), QStringLiteral("1"));
    EXPECT_EQ(ctx.settings().getCheckConfigByName(2, QStringLiteral("cfgDateChinese")), QStringLiteral("0"));
    EXPECT_EQ(ctx.db().scalar(QStringLiteral("select count(*) from DMTable where upper(DMName) = 'CFGDATECHINESE'")).toInt(), 2);
    EXPECT_EQ(ctx.db().scalar(QStringLiteral("select IniFile from CKTypeTable where CheckTypeID = 1")).toString(), QString());
    EXPECT_EQ(ctx.db().scalar(QStringLiteral("select IniFile from CKTypeTable where CheckTypeID = 2")).toString(),
              QStringLiteral("2.ini"));
}

} // namespace
} // namespace billprint::test
