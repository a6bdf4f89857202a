// `billprint print --family 支票 ...`: a cheque issued without the desktop,
// read back from the PDF with pdftotext: the capitals, the digit boxes and
// the date in capitals stand at the template's positions. Bad input ends
// the command with one line and exit code 2, and nothing is printed or
// saved; a cheque printed but not saved ends with 3.

#include "app/app_context.h"
#include "app/database.h"
#include "app/system_settings.h"
#include "bills/bill_record.h"
#include "printing/print_geometry.h"
#include "render_pdf_words.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace billprint::test {
namespace {

constexpr int kDpi = 600;

class ChequeCommandTest : public ::testing::Test
{
protected:
    QString pdf(const QString &name) const { return QDir(root.path()).filePath(name); }

    ProgramResult issue(const QStringList &args)
    {
        QStringList all{QStringLiteral("--data"), root.path(), QStringLiteral("print"), QStringLiteral("--family"),
                        QStringLiteral("支票")};
        all << args;
        return runProgram(all, 60000);
    }

    int rows() { return root.context().db().scalar(QStringLiteral("select count(*) from DataZPTable")).toInt(); }

    static const PdfWord *find(const PdfPage &page, const QString &text)
    {
        for (const PdfWord &w : page.words)
            if (readsAs(w.text, text))
                return &w;
        return nullptr;
    }

    static std::string words(const PdfPage &page)
    {
        QStringList all;
        for (const PdfWord &w : page.words)
            all << w.text;
        return all.join(QLatin1Char(' ')).toStdString();
    }

    // The value starts where the template puts the field (tenths of a mm).
    static void expectAt(const PdfWord *word, int x, int y, int pointSize, const QString &what)
    {
        ASSERT_NE(word, nullptr) << what.toStdString();
        const double xMm = (tenthsMmToDevice(x, kDpi) + 2 * averageCharWidth(pointSize, kDpi)) * 25.4 / kDpi;
        EXPECT_NEAR(word->xMin / kPointsPerMm, xMm, 0.1) << what.toStdString();
        EXPECT_NEAR(cellTopMm(*word, QStringLiteral("宋体"), pointSize), y / 10.0, 0.4) << what.toStdString();
    }

    TempDataRoot root;
};

TEST_F(ChequeCommandTest, PrintsCapitalsDigitBoxesAndDateWhereTheTemplateSays)
{
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) not installed";
    const ProgramResult r = issue({QStringLiteral("--amount"), QStringLiteral("1234.56"), QStringLiteral("--date"),
                                   QStringLiteral("2026-03-05"), QStringLiteral("--payee"),
                                   QStringLiteral("上海华东电子科技有限公司"), QStringLiteral("--set"),
                                   QStringLiteral("cfgDateChinese=1"), QStringLiteral("--set"),
                                   QStringLiteral("zdYT=货款"), QStringLiteral("--pdf"), pdf(QStringLiteral("a.pdf"))});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const std::vector<PdfPage> pages = readPdfWords(pdf(QStringLiteral("a.pdf")));
    ASSERT_EQ(pages.size(), 1u);
    const PdfPage &page = pages.front();
    EXPECT_NEAR(page.width / kPointsPerMm, 225.0, 0.5);

    // Template 1: ZDJEDX at (751, 335) in 11 pt, the date at y 180 in 10 pt,
    // the digit boxes 千 … 分 at x 1770 + 70 i, y 382 in 12 pt.
    expectAt(find(page, QStringLiteral("壹仟贰佰叁拾肆元伍角陆分")), 751, 335, 11, QStringLiteral("capitals"));
    expectAt(find(page, QStringLiteral("贰零贰陆")), 885, 180, 10, QStringLiteral("year"));
    expectAt(find(page, QStringLiteral("零叁")), 1075, 180, 10, QStringLiteral("month"));
    expectAt(find(page, QStringLiteral("零伍")), 1227, 180, 10, QStringLiteral("day"));
    const QStringList digits{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                             QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6")};
    for (int i = 0; i < digits.size(); ++i) {
        const PdfWord *digit = nullptr;
        for (const PdfWord &w : page.words)
            if (w.text == digits[i] && w.yMin > 80 && w.yMin < 130)  // the row of boxes, not the stub
                digit = &w;
        expectAt(digit, 1770 + 70 * i, 382, 12, QStringLiteral("digit ") + digits[i]);
    }
    EXPECT_NE(find(page, QStringLiteral("￥")), nullptr) << words(page);
    // The stub: payee, figures and purpose.
    EXPECT_NE(find(page, QStringLiteral("￥1,234.56")), nullptr) << words(page);
    EXPECT_EQ(rows(), 0);  // printed only
}

TEST_F(ChequeCommandTest, SaveStoresTheChequeAndPrintsItsSerial)
{
    const ProgramResult r = issue({QStringLiteral("--template"), QStringLiteral("支票（通用现金支票）"),
                                   QStringLiteral("--amount"), QStringLiteral("88"), QStringLiteral("--payee"),
                                   QStringLiteral("O'Brien 商行"), QStringLiteral("--set"),
                                   QStringLiteral("zdRemark=第一行\\n第二行"), QStringLiteral("--pdf"),
                                   pdf(QStringLiteral("b.pdf")), QStringLiteral("--save")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_TRUE(r.out.contains(QStringLiteral("serial 1"))) << r.out.toStdString();
    const std::optional<BillRecord> row = BillRecordStore(root.context().db(), QStringLiteral("DataZPTable")).load(1);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->text(BillColumn::TemplateName), QStringLiteral("通用现金支票"));
    EXPECT_EQ(row->text(BillColumn::Status), QStringLiteral("已用"));
    EXPECT_EQ(row->text(BillColumn::Amount), QStringLiteral("88"));
    EXPECT_EQ(row->text(BillColumn::Payee), QStringLiteral("O'Brien 商行"));
    EXPECT_EQ(row->text(BillColumn::Remark), QStringLiteral("第一行\n第二行"));
    EXPECT_EQ(row->date(BillColumn::Date), QDate::currentDate());
    EXPECT_TRUE(QFile::exists(pdf(QStringLiteral("b.pdf"))));
}

TEST_F(ChequeCommandTest, TheTemplatesRememberedOptionsApply)
{
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) not installed";
    ASSERT_TRUE(
        root.context().settings().setCheckConfigByName(1, QStringLiteral("cfgDateChinese"), QStringLiteral("1")));
    const ProgramResult r = issue({QStringLiteral("--date"), QStringLiteral("2026-03-05"), QStringLiteral("--pdf"),
                                   pdf(QStringLiteral("c.pdf"))});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_NE(find(readPdfWords(pdf(QStringLiteral("c.pdf"))).at(0), QStringLiteral("贰零贰陆")), nullptr);
}

// A script retries on a failure: any code but 0 must mean no cheque, or
// say plainly that one was printed.
TEST_F(ChequeCommandTest, ExitCodeTellsWhetherTheChequeWasIssued)
{
    const Database &db = root.context().db();
    // The purpose cannot be drawn: the window says so, the rest prints.
    ASSERT_TRUE(db.exec(QStringLiteral("update CkControl set FitParam='x' where CheckTypeID=1 and CtlName='ZDYT'")));
    const QStringList args{QStringLiteral("--amount"), QStringLiteral("12.345"), QStringLiteral("--date"),
                           QStringLiteral("1900-01-01"), QStringLiteral("--set"), QStringLiteral("zdYT=货款"),
                           QStringLiteral("--save"), QStringLiteral("--pdf"), pdf(QStringLiteral("d.pdf"))};
    const ProgramResult warned = issue(args);
    EXPECT_EQ(warned.exitCode, 0) << warned.err.toStdString();
    EXPECT_TRUE(warned.err.contains(QStringLiteral("billprint print: warning: 打印"))) << warned.err.toStdString();
    EXPECT_EQ(db.scalar(QStringLiteral("select 金额 from DataZPTable")).toString(), QStringLiteral("12.35"));

    ASSERT_TRUE(refuseChanges(db, QStringLiteral("refuse"), QStringLiteral("insert"), QStringLiteral("DataZPTable"),
                              QStringLiteral("read-only")));
    const ProgramResult unsaved = issue(args);
    EXPECT_EQ(unsaved.exitCode, 3) << unsaved.err.toStdString();
    EXPECT_TRUE(unsaved.err.contains(QStringLiteral("but not saved"))) << unsaved.err.toStdString();
    EXPECT_EQ(rows(), 1);
}

TEST_F(ChequeCommandTest, BadInputEndsWithOneLineAndNothingPrintedOrSaved)
{
    const QString out = pdf(QStringLiteral("never.pdf"));
    const QList<QStringList> bad{
        {QStringLiteral("--set"), QStringLiteral("zdNoSuchField=1")},
        {QStringLiteral("--set"), QStringLiteral("zdJEDX=壹元整")},
        {QStringLiteral("--amount"), QStringLiteral("12abc")},
        {QStringLiteral("--amount"), QStringLiteral("1000000000")},
        {QStringLiteral("--amount"), QStringLiteral("1e3")},  // as the window refuses it
        {QStringLiteral("--date"), QStringLiteral("2026-02-30")},
        {QStringLiteral("--date"), QStringLiteral("0001-01-01")},
        {QStringLiteral("--date"), QStringLiteral("1899-12-31")},
        {QStringLiteral("--date"), QStringLiteral("2100-01-01")},
        {QStringLiteral("--template"), QStringLiteral("没有的模板")},
        {QStringLiteral("--set"), QStringLiteral("cfgDateChinese=maybe")},
    };
    for (const QStringList &args : bad) {
        const ProgramResult r = issue(args + QStringList{QStringLiteral("--pdf"), out, QStringLiteral("--save")});
        EXPECT_EQ(r.exitCode, 2) << args.join(QLatin1Char(' ')).toStdString();
        // One line of ours (the platform may add its own notes).
        const QStringList ours = r.err.split(QLatin1Char('\n')).filter(QStringLiteral("billprint "));
        EXPECT_EQ(ours.size(), 1) << r.err.toStdString();
        EXPECT_TRUE(ours.value(0).startsWith(QStringLiteral("billprint print: "))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(out)) << args.join(QLatin1Char(' ')).toStdString();
    }
    EXPECT_EQ(rows(), 0);
    const ProgramResult old =
        issue({QStringLiteral("--date"), QStringLiteral("1000-01-01"), QStringLiteral("--pdf"), out});
    EXPECT_TRUE(old.err.contains(QStringLiteral("from 1900-01-01 to 2099-12-31"))) << old.err.toStdString();

    const ProgramResult noTarget = issue({QStringLiteral("--amount"), QStringLiteral("1")});
    EXPECT_EQ(noTarget.exitCode, 2);
    EXPECT_TRUE(noTarget.err.contains(QStringLiteral("--pdf OUT, --png OUT.png or --printer NAME")));
    const ProgramResult family = runProgram({QStringLiteral("--data"), root.path(), QStringLiteral("print"),
                                             QStringLiteral("--family"), QStringLiteral("发票"), QStringLiteral("--pdf"),
                                             out});
    EXPECT_EQ(family.exitCode, 2);
    EXPECT_TRUE(family.err.contains(QStringLiteral("unknown family")));
}

} // namespace
} // namespace billprint::test
