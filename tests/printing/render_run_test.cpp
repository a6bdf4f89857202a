// The bill print run on a recording output: preparation, one document with
// its pages, the print items in order with the bill's values and the
// template's offsets.

#include "printing/print_renderer.h"
#include "printing/print_run.h"
#include "recording_output.h"
#include "render_fixtures.h"

#include <QPageLayout>
#include <QPageSize>
#include <gtest/gtest.h>

namespace billprint::test {
namespace {

constexpr int kId = 911;
const QString kListText = QStringLiteral("测试票（样例911）");

class PrintRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        f.addTemplate(kId, kTestFamily, 30, -20, 1, 2250, 800);
        f.addField(kId, QStringLiteral("zdPayee"), 300, 200);
        f.addField(kId, QStringLiteral("zdRemark"), 300, 500, [](CkControl &c) { c.CtlLH = 40; });
        f.addField(kId, QStringLiteral("DEFCHECK0"), 1200, 200);
        f.addField(kId, QStringLiteral("zdPicture"), 100, 100);
        f.addField(kId, QStringLiteral("zdSkipMe"), 100, 700);
        f.addPrintItem(QStringLiteral("zdRemark"), 30);
        f.addPrintItem(QStringLiteral("zdPayee"), 10, QStringLiteral("LABEL"));
        f.addPrintItem(QStringLiteral("DEFCHECK0"), 20, QStringLiteral("CHECKBOX"));
        f.addPrintItem(QStringLiteral("zdPicture"), 40, QStringLiteral("IMAGE"));
        f.addPrintItem(QStringLiteral("zdSkipMe"), 50);
        f.addPrintItem(QStringLiteral("zdNotPrinted"), 60, QStringLiteral("TEXT"), kTestFamily, 0);
        bill.set(QStringLiteral("zdPayee"), QStringLiteral("某某公司"));
        bill.set(QStringLiteral("zdRemark"), QStringLiteral("第一行\r\n第二行"));
        bill.set(QStringLiteral("DEFCHECK0"), QStringLiteral("√"));
        bill.set(QStringLiteral("zdPicture"), QStringLiteral("JPEG"));
        bill.set(QStringLiteral("zdSkipMe"), QStringLiteral("跳过"));
        bill.set(QStringLiteral("zdNotPrinted"), QStringLiteral("不打印"));
        bill.skipped << QStringLiteral("ZDSKIPME");
        bill.currency = QStringLiteral("￥");
    }

    QStringList printedTexts()
    {
        QStringList list;
        for (const RecordedText &t : out.texts())
            list << t.text;
        return list;
    }

    RenderFixture f;
    AlertRecorder alerts;
    RecordingOutput out;
    MapValueSource bill;
};

TEST_F(PrintRunTest, OneBillPrintsItsPrintItemsInOrderMovedByTheOffsets)
{
    PrintRun run(f.ctx(), out, PrintFamily::forFamily(kTestFamily));
    EXPECT_TRUE(run.printOne(bill, kId, kListText));

    // Order of the catalogue; hidden kinds, skipped and non-print items left out;
    // the remark's line feed is a line break and its carriage return gone.
    EXPECT_EQ(printedTexts(), (QStringList{QStringLiteral("某某公司"), QStringLiteral("√"), QStringLiteral("第一行"),
                                           QStringLiteral("第二行")}));
    const auto &t = out.texts();
    EXPECT_EQ(t[0].baseline.x(), expectedX(330, 10, 600));
    EXPECT_DOUBLE_EQ(t[0].baseline.y(), expectedBaseline(180, 10, 600));
    EXPECT_EQ(t[1].baseline.x(), expectedX(1230, 10, 600));
    EXPECT_DOUBLE_EQ(t[2].baseline.y(), expectedBaseline(480, 8, 600));
    EXPECT_DOUBLE_EQ(t[3].baseline.y(), expectedBaseline(520, 8, 600));

    EXPECT_EQ(out.begins, 1);
    EXPECT_EQ(out.pages, 1);
    EXPECT_EQ(out.ends, 1);
    EXPECT_EQ(out.title, QStringLiteral("禾朔打印-") + kListText);
    EXPECT_EQ(out.copies, 1);
    EXPECT_TRUE(out.page.landscape);
    EXPECT_EQ(out.page.paper, QSize(2250, 800));
    EXPECT_EQ(bill.tidied, 1);
    EXPECT_FALSE(f.ctx().printReady);
    // The renderer's per-run state: currency code and cell width (35 when
    // the template lacks the 千 and 百 boxes).
    EXPECT_EQ(f.ctx().currencySymbol, QStringLiteral("￥"));
    EXPECT_EQ(f.ctx().digitCellWidth, 35);
    EXPECT_TRUE(alerts.alerts().empty()) << alerts.messages().join(QLatin1Char('|')).toStdString();
}

TEST_F(PrintRunTest, AHiddenFieldPrintsNothingAndLeavesNoGap)
{
    bill.set(QStringLiteral("DEFCHECK0"), QString());  // what a hidden or unticked box gives
    PrintRun run(f.ctx(), out, PrintFamily::forFamily(kTestFamily));
    run.printOne(bill, kId, kListText);
    EXPECT_EQ(printedTexts(), (QStringList{QStringLiteral("某某公司"), QStringLiteral("第一行"), QStringLiteral("第二行")}));
}

TEST_F(PrintRunTest, RepeatedPrintingPutsTheBillsOnPagesOfOneDocument)
{
    PrintRun run(f.ctx(), out, PrintFamily::forFamily(kTestFamily));
    EXPECT_EQ(run.printRepeatedFromAnswer(bill, kId, kListText, QStringLiteral("3")), 3);
    EXPECT_EQ(out.begins, 1);
    EXPECT_EQ(out.pages, 3);
    EXPECT_EQ(out.ends, 1);
    for (int page = 0; page < 3; ++page)
        EXPECT_EQ(out.textsOnPage(page).size(), 4u) << page;
    EXPECT_EQ(bill.tidied, 3);

    // An empty answer does nothing; a wrong one says so.
    EXPECT_EQ(run.printRepeatedFromAnswer(bill, kId, kListText, QString()), 0);
    EXPECT_TRUE(alerts.alerts().empty());
    for (const char *wrong : {"abc", "2.5", "0", "-1"}) {
        alerts.clear();
        EXPECT_EQ(run.printRepeatedFromAnswer(bill, kId, kListText, QString::fromLatin1(wrong)), 0);
        EXPECT_EQ(alerts.messages(), QStringList{QStringLiteral("输入错误的数字！")}) << wrong;
    }
    EXPECT_EQ(out.begins, 1);
}

TEST_F(PrintRunTest, NoTemplateChosenShowsTheListAndPrintsNothing)
{
    bool listShown = false;
    PrintRun run(f.ctx(), out, PrintFamily::forFamily(QStringLiteral("支票")));
    run.showTemplateList = [&] { listShown = true; };
    EXPECT_FALSE(run.printOne(bill, kId, QStringLiteral("  ")));
    EXPECT_TRUE(listShown);
    EXPECT_EQ(alerts.messages(), QStringList{QStringLiteral("请选择支票模板的类型!")});
    EXPECT_EQ(out.begins, 0);
    EXPECT_EQ(PrintFamily::forFamily(QStringLiteral("快递单")).noTemplateMessage, QStringLiteral("请选择快递单的类型!"));
    EXPECT_EQ(PrintFamily::forFamily(QStringLiteral("进账单")).noTemplateMessage,
              QStringLiteral("请选择进账单模板的类型!"));
}

TEST_F(PrintRunTest, APrinterRunNeedsAnInstalledPrinter)
{
    RecordingOutput printer(600, true);
    f.ctx().printerNames.clear();
    PrintRun run(f.ctx(), printer, PrintFamily::forFamily(kTestFamily));
    EXPECT_FALSE(run.printOne(bill, kId, kListText));
    EXPECT_EQ(alerts.messages(), QStringList{QStringLiteral("你需要安装打印机才能打印！")});
    EXPECT_EQ(printer.begins, 0);

    alerts.clear();
    f.ctx().printerNames = QStringList{QStringLiteral("票据打印机")};
    EXPECT_TRUE(run.printOne(bill, kId, kListText));
    EXPECT_EQ(printer.texts().size(), 4u);
}

TEST_F(PrintRunTest, AMissingTemplateOrUnreadableOffsetsPrintNothing)
{
    PrintRun run(f.ctx(), out, PrintFamily::forFamily(kTestFamily));
    EXPECT_FALSE(run.printOne(bill, 4242, kListText));
    EXPECT_EQ(alerts.messages(), QStringList{QStringLiteral("Err:\"\"没有进行初始化，无法取得整体打印偏移量！")});
    EXPECT_EQ(alerts.alerts().front().caption, QStringLiteral("提示"));

    alerts.clear();
    ASSERT_TRUE(f.db().exec(QStringLiteral("alter table CKTypeTable rename to Gone")));
    EXPECT_FALSE(run.printOne(bill, kId, kListText));
    EXPECT_EQ(alerts.messages(), QStringList{QStringLiteral("Err:数据库连接错误，无法取得整体打印偏移量！")});
    EXPECT_EQ(out.begins, 0);
    EXPECT_TRUE(out.texts().empty());
}

TEST_F(PrintRunTest, ThePrinterDialogBeforeARunCanCancelIt)
{
    f.ctx().popPrinterDialog = true;
    out.dialogAnswer = false;
    PrintRun run(f.ctx(), out, PrintFamily::forFamily(kTestFamily));
    EXPECT_FALSE(run.printOne(bill, kId, kListText));
    EXPECT_EQ(out.dialogs, 1);
    EXPECT_EQ(out.begins, 0);
    EXPECT_TRUE(alerts.alerts().empty());

    out.dialogAnswer = true;
    EXPECT_TRUE(run.printOne(bill, kId, kListText));
    EXPECT_EQ(out.dialogs, 2);
    EXPECT_EQ(out.texts().size(), 4u);

    f.ctx().popPrinterDialog = false;
    run.printOne(bill, kId, kListText);
    EXPECT_EQ(out.dialogs, 2);

    // A dialog the window supplies is asked instead of the output's.
    f.ctx().popPrinterDialog = true;
    int asked = 0;
    run.printerDialog = [&] { return ++asked, false; };
    EXPECT_FALSE(run.printOne(bill, kId, kListText));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(out.dialogs, 2);
}

TEST_F(PrintRunTest, AnOutputErrorIsToldAndNothingIsPrinted)
{
    out.failSetUp = true;
    PrintRun run(f.ctx(), out, PrintFamily::forFamily(kTestFamily));
    EXPECT_FALSE(run.printOne(bill, kId, kListText));
    ASSERT_EQ(alerts.alerts().size(), 1u);
    // The output is a file, not a printer: the message says so.
    EXPECT_TRUE(alerts.messages().front().startsWith(QStringLiteral("输出文件出错，没有写入！")));
    EXPECT_EQ(out.aborts, 1);
    EXPECT_EQ(out.begins, 0);

    // A document that cannot begin is a failure too, never a silent success.
    alerts.clear();
    out.failSetUp = false;
    out.failBegin = true;
    EXPECT_FALSE(run.printOne(bill, kId, kListText));
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("输出文件出错，没有写入！")));
    EXPECT_FALSE(f.ctx().printReady);
    EXPECT_TRUE(out.texts().empty());

    // A printer that fails is told to be checked.
    alerts.clear();
    f.ctx().printerNames = QStringList{QStringLiteral("Office Laser")};
    RecordingOutput printer(600, true);
    printer.failSetUp = true;
    PrintRun printerRun(f.ctx(), printer, PrintFamily::forFamily(kTestFamily));
    EXPECT_FALSE(printerRun.printOne(bill, kId, kListText));
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("打印出错，请检查打印机是否可用！")));
}

TEST(PrintableArea, IsThePaperLessTheWiderOfTheLayoutsAndThePrintersMargins)
{
    const QPageSize paper(QSizeF(225, 80), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    EXPECT_EQ(printableAreaOf(QPageLayout(paper, QPageLayout::Portrait, QMarginsF(5, 20, 5, 5), QPageLayout::Millimeter)),
              QRectF(5, 20, 215, 55));
    EXPECT_EQ(printableAreaOf(QPageLayout(paper, QPageLayout::Portrait, QMarginsF(2, 1, 0, 0), QPageLayout::Millimeter,
                                          QMarginsF(4, 0, 3, 6))),
              QRectF(4, 1, 218, 73));
}

// The printer cannot reach the top 20 mm of the sheet, where the payee and
// the tick (18 mm from the top) go: asked once a document, naming both.
TEST_F(PrintRunTest, ValuesOutsideThePrintableAreaAreNamedInOneQuestionBeforeAnythingPrints)
{
    out.printable = QRectF(5, 20, 215, 55);
    PrintRun run(f.ctx(), out, PrintFamily::forFamily(kTestFamily));
    alerts.answerNext(AlertAnswer::No);
    EXPECT_FALSE(run.printRepeated(bill, kId, kListText, 2));
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_EQ(alerts.alerts().front().buttons, AlertButtons::YesNo);
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("zdPayee标签、DEFCHECK0标签")));
    EXPECT_FALSE(alerts.sawMessage(QStringLiteral("zdRemark")));
    EXPECT_TRUE(out.texts().empty());
    EXPECT_EQ(out.ends, 0);

    alerts.clear();
    alerts.answerNext(AlertAnswer::Yes);
    EXPECT_TRUE(run.printRepeated(bill, kId, kListText, 2));
    EXPECT_EQ(alerts.alerts().size(), 1u);
    EXPECT_EQ(out.texts().size(), 8u);

    // Room for everything, or an output without margins: no question.
    alerts.clear();
    for (const QRectF &area : {QRectF(5, 10, 215, 65), QRectF()}) {
        out.printable = area;
        EXPECT_TRUE(run.printOne(bill, kId, kListText));
    }
    EXPECT_TRUE(alerts.alerts().empty());
}

TEST_F(PrintRunTest, StepsDoNothingWhileNotReadyAndAbortDropsTheDocument)
{
    PrintRun run(f.ctx(), out, PrintFamily::forFamily(kTestFamily));
    run.PrinterTransBegin(1);
    run.SendCheckToPrinter(bill);
    run.NewCheckPage();
    EXPECT_FALSE(run.PrinterTransEnd());
    EXPECT_EQ(out.begins, 0);
    EXPECT_EQ(bill.tidied, 1);  // the window tidies its values even so

    ASSERT_TRUE(run.PrintPrepare(kId, kListText));
    EXPECT_EQ(run.xMove(), 30);
    EXPECT_EQ(run.yMove(), -20);
    run.PrinterTransBegin(1);
    run.SendCheckToPrinter(bill);
    run.AbortPrint();
    EXPECT_EQ(out.aborts, 1);
    EXPECT_FALSE(f.ctx().printReady);
    run.SendCheckToPrinter(bill);
    EXPECT_EQ(out.texts().size(), 4u);
}

TEST_F(PrintRunTest, CopiesAndTitlesFollowTheFamily)
{
    PrintRun run(f.ctx(), out, PrintFamily::forFamily(kTestFamily));
    run.PrintPrepare(kId, kListText);
    run.PrinterTransBegin(0);
    EXPECT_EQ(out.copies, 1);
    run.PrinterTransEnd();
    run.PrintPrepare(kId, kListText);
    run.PrinterTransBegin(120);
    EXPECT_EQ(out.copies, 120);
    run.PrinterTransEnd();

    PrintRun waybill(f.ctx(), out, PrintFamily::forFamily(QStringLiteral("快递单")));
    waybill.PrintPrepare(kId, kListText);
    waybill.PrinterTransBegin(120);
    EXPECT_EQ(out.copies, 50);
    EXPECT_EQ(out.title, QString());
    waybill.PrinterTransEnd();
}

TEST_F(PrintRunTest, PortraitTemplatesAndUnsetPaperSizes)
{
    f.addTemplate(912, kTestFamily, 0, 0, 0, 0, 0);
    PrintRun run(f.ctx(), out, PrintFamily::forFamily(kTestFamily));
    ASSERT_TRUE(run.PrintPrepare(912, kListText));
    EXPECT_FALSE(run.landscape());
    EXPECT_EQ(out.page.paper, QSize(2300, 1270));
    run.AbortPrint();
}

TEST_F(PrintRunTest, ATemplateChangedBetweenDocumentsPrintsAsChanged)
{
    PrintRun run(f.ctx(), out, PrintFamily::forFamily(kTestFamily));
    run.printOne(bill, kId, kListText);
    f.addField(kId, QStringLiteral("zdPayee"), 900, 250);
    run.printOne(bill, kId, kListText);
    const auto payee = out.textsEqual(QStringLiteral("某某公司"));
    ASSERT_EQ(payee.size(), 2u);
    EXPECT_EQ(payee[0].baseline.x(), expectedX(330, 10, 600));
    EXPECT_EQ(payee[1].baseline.x(), expectedX(930, 10, 600));
    EXPECT_DOUBLE_EQ(payee[1].baseline.y(), expectedBaseline(230, 10, 600));
}

TEST_F(PrintRunTest, ACurrencySymbolInADigitBoxUsesTheTemplatesCellWidth)
{
    f.addField(kId, QStringLiteral("zdQY"), 1500, 300);
    f.addField(kId, QStringLiteral("zdBY"), 1540, 300);
    f.addPrintItem(QStringLiteral("zdQY"), 70);
    bill.currency = QStringLiteral("HK$");
    bill.set(QStringLiteral("zdQY"), QStringLiteral("HK$"));
    PrintRun run(f.ctx(), out, PrintFamily::forFamily(kTestFamily));
    run.printOne(bill, kId, kListText);
    EXPECT_EQ(f.ctx().digitCellWidth, 40);
    const auto symbol = out.textsEqual(QStringLiteral("HK$"));
    ASSERT_EQ(symbol.size(), 1u);
    EXPECT_EQ(symbol.front().baseline.x(), expectedX(1500 + 30 + 4 - 40, 10, 600));
}

} // namespace
} // namespace billprint::test
