// `billprint print --family 进账单|缴款单 ...`: a slip issued without the
// desktop, read back from the PDF: the capitals and both rows of digit
// boxes (main part and stub) stand at the template's positions, and a
// payee with an apostrophe is printed and saved.

#include "app/app_context.h"
#include "app/database.h"
#include "printing/print_geometry.h"
#include "render_pdf_words.h"
#include "test_support.h"

#include <QDir>
#include <gtest/gtest.h>

namespace billprint::test {
namespace {

constexpr int kDpi = 600;

class BankSlipCommandTest : public ::testing::Test
{
protected:
    QString pdf(const QString &name) const { return QDir(root.path()).filePath(name); }

    ProgramResult issue(const QString &family, const QStringList &args)
    {
        QStringList all{QStringLiteral("--data"), root.path(), QStringLiteral("print"), QStringLiteral("--family"),
                        family};
        return runProgram(all << args, 60000);
    }

    QString stored(const QString &sql) { return root.context().db().scalar(sql).toString(); }

    // The word reading `text` whose left edge is nearest to where the
    // template puts the field at (x, y) in tenths of a mm.
    static void expectAt(const PdfPage &page, const QString &text, int x, int y, int pointSize, double slack = 0.1)
    {
        const double xMm = (tenthsMmToDevice(x, kDpi) + 2 * averageCharWidth(pointSize, kDpi)) * 25.4 / kDpi;
        const PdfWord *best = nullptr;
        for (const PdfWord &w : page.words)
            if (readsAs(w.text, text) && std::abs(cellTopMm(w, QStringLiteral("宋体"), pointSize) - y / 10.0) < 1.0
                && (!best || std::abs(w.xMin / kPointsPerMm - xMm) < std::abs(best->xMin / kPointsPerMm - xMm)))
                best = &w;
        ASSERT_NE(best, nullptr) << text.toStdString() << " at " << x << "," << y;
        EXPECT_NEAR(best->xMin / kPointsPerMm, xMm, slack) << text.toStdString() << " at " << x;
        EXPECT_NEAR(cellTopMm(*best, QStringLiteral("宋体"), pointSize), y / 10.0, 0.4) << text.toStdString();
    }

    TempDataRoot root;
};

TEST_F(BankSlipCommandTest, DepositSlipPrintsCapitalsAndBothDigitRows)
{
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) not installed";
    const ProgramResult r =
        issue(QStringLiteral("进账单"), {QStringLiteral("--amount"), QStringLiteral("80060030.07"),
                                         QStringLiteral("--payee"), QStringLiteral("O'Brien 贸易"),
                                         QStringLiteral("--drawer"), QStringLiteral("O'Neil 公司"),
                                         QStringLiteral("--pdf"), pdf(QStringLiteral("a.pdf")), QStringLiteral("--save")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const std::vector<PdfPage> pages = readPdfWords(pdf(QStringLiteral("a.pdf")));
    ASSERT_EQ(pages.size(), 1u);
    // Template 3: capitals at (959, 425) in 11 pt; the boxes 亿 … 分 of the
    // main part at x 1508 + 65 i, y 469 in 12 pt, of the stub at
    // x 78 + 55 i, y 689 in 10 pt.
    expectAt(pages.front(), QStringLiteral("捌仟零陆万零叁拾元零柒分"), 959, 425, 11);
    const QStringList boxes{"￥", "8", "0", "0", "6", "0", "0", "3", "0", "0", "7"};
    for (int i = 0; i < boxes.size(); ++i) {
        // The full-width ￥ reads back with its left bearing: about 1 mm.
        const double slack = i == 0 ? 1.2 : 0.1;
        expectAt(pages.front(), boxes[i], 1508 + 65 * i, 469, 12, slack);
        expectAt(pages.front(), boxes[i], 78 + 55 * i, 689, 10, slack);
    }
    EXPECT_EQ(stored(QStringLiteral("select 收款人全称 from DataJZDTable")), QStringLiteral("O'Brien 贸易"));
    EXPECT_EQ(stored(QStringLiteral("select 出票人全称 from DataJZDTable")), QStringLiteral("O'Neil 公司"));
}

TEST_F(BankSlipCommandTest, CashSlipPrintsAndSavesAndTheDrawerIsRefused)
{
    const ProgramResult r = issue(QStringLiteral("缴款单"), {QStringLiteral("--amount"), QStringLiteral("500"),
                                                              QStringLiteral("--payee"), QStringLiteral("O'Brien"),
                                                              QStringLiteral("--pdf"), pdf(QStringLiteral("b.pdf")),
                                                              QStringLiteral("--save")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(stored(QStringLiteral("select 金额 from DataJKDTable where 收款人全称 = 'O''Brien'")),
              QStringLiteral("500"));
    const ProgramResult drawer =
        issue(QStringLiteral("缴款单"), {QStringLiteral("--drawer"), QStringLiteral("某"), QStringLiteral("--pdf"),
                                         pdf(QStringLiteral("c.pdf"))});
    EXPECT_EQ(drawer.exitCode, 2);
    EXPECT_TRUE(drawer.err.contains(QStringLiteral("has no drawer"))) << drawer.err.toStdString();
}

} // namespace
} // namespace billprint::test
