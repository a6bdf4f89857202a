// `billprint batch`: a CSV of receivers becomes one PDF with a page per
// row, every receiver value read back where template 5 prints it; the
// desktop list is left as it was; bad input ends with one line and no file.

#include "app/database.h"
#include "printing/print_fonts.h"
#include "printing/print_geometry.h"
#include "render_pdf_words.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace billprint::test {
namespace {

constexpr int kDpi = 600;

struct Placed
{
    QString text;
    int x;  // tenths of a millimetre, template 5 (通用快递运单)
    int y;
    int pointSize;
};

class BatchCommandTest : public ::testing::Test
{
protected:
    QString writeCsv(int rows)
    {
        const QString path = QDir(root.path()).filePath(QStringLiteral("receivers.csv"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        QString text = QStringLiteral("收件人,手机,省,市,地址,收件公司,物品内容,重量,订单号,备注\n");
        for (int i = 1; i <= rows; ++i)
            text += QStringLiteral("%1,139%2,湖北省,武汉,珞喻路%3号,公司%3,文件,%4,DD%3,易碎\n")
                        .arg(i == 1 ? QStringLiteral("O'Brien") : QStringLiteral("王%1").arg(i))
                        .arg(i, 8, 10, QLatin1Char('0'))
                        .arg(i)
                        .arg(i % 7 + 1);
        f.write(text.toUtf8());
        return path;
    }
    TempDataRoot root;
};

TEST_F(BatchCommandTest, EveryRowIsAPageWithItsValuesWhereTheTemplatePrintsThem)
{
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) not installed";
    ASSERT_TRUE(root.context().db().exec(QStringLiteral("insert into ReceiverList (全称) values ('桌面')")));
    root.close();
    const QString pdf = QDir(root.path()).filePath(QStringLiteral("out.pdf"));
    const ProgramResult r = runProgram({QStringLiteral("--data"), root.path(), QStringLiteral("batch"),
                                        QStringLiteral("--template"), QStringLiteral("5"), QStringLiteral("--csv"),
                                        writeCsv(1000), QStringLiteral("--pdf"), pdf},
                                       120000);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("1000 pages -> ") + pdf + QLatin1Char('\n'));

    const std::vector<PdfPage> pages = readPdfWords(pdf);
    ASSERT_EQ(pages.size(), 1000u);
    const struct
    {
        size_t page;
        std::vector<Placed> placed;
    } cases[] = {
        {0, {{"公司1", 206, 616, 11}, {"O'Brien", 206, 691, 11}, {"13900000001", 970, 691, 10},
             {"湖北省", 210, 761, 10}, {"武汉", 500, 761, 10}, {"珞喻路1号", 210, 826, 10},
             {"文件", 1390, 190, 10}, {"2", 1638, 357, 10}}},
        {999, {{"公司1000", 206, 616, 11}, {"王1000", 206, 691, 11}, {"13900001000", 970, 691, 10},
               {"珞喻路1000号", 210, 826, 10}, {"7", 1638, 357, 10}}},
    };
    for (const auto &c : cases) {
        for (const Placed &p : c.placed) {
            const PdfWord *word = nullptr;
            for (const PdfWord &w : pages[c.page].words)
                if (readsAs(w.text, p.text))
                    word = &w;
            ASSERT_NE(word, nullptr) << p.text.toStdString();
            const double xMm = (tenthsMmToDevice(p.x, kDpi) + 2 * averageCharWidth(p.pointSize, kDpi)) * 25.4 / kDpi;
            EXPECT_NEAR(word->xMin / kPointsPerMm, xMm, 0.1) << p.text.toStdString();
            EXPECT_NEAR(cellTopMm(*word, QStringLiteral("宋体"), p.pointSize), p.y / 10.0, 0.1) << p.text.toStdString();
        }
    }
    // The run's rows are gone again; the desktop list kept its own.
    const Database &db = root.reopen().db();
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from ReceiverList")).toInt(), 1);
    EXPECT_EQ(db.scalar(QStringLiteral("select 全称 from ReceiverList")), QStringLiteral("桌面"));
}

TEST_F(BatchCommandTest, BadInputEndsWithOneLineAndNoFile)
{
    const QString pdf = QDir(root.path()).filePath(QStringLiteral("x.pdf"));
    const QString csv = writeCsv(2);
    root.close();
    const QStringList cases[] = {
        {QStringLiteral("--template"), QStringLiteral("99"), QStringLiteral("--csv"), csv},
        {QStringLiteral("--template"), QStringLiteral("1"), QStringLiteral("--csv"), csv},  // a cheque
        {QStringLiteral("--template"), QStringLiteral("5"), QStringLiteral("--csv"), csv + QStringLiteral(".no")},
        {QStringLiteral("--template"), QStringLiteral("通用快递运单"), QStringLiteral("--csv"), csv,
         QStringLiteral("--sender"), QStringLiteral("无此单位")},
    };
    for (const QStringList &extra : cases) {
        const ProgramResult r = runProgram(
            QStringList{QStringLiteral("--data"), root.path(), QStringLiteral("batch"), QStringLiteral("--pdf"), pdf}
                + extra,
            60000);
        EXPECT_EQ(r.exitCode, 2) << extra.join(' ').toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(pdf));
    }
}

} // namespace
} // namespace billprint::test
