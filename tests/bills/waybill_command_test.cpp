// `billprint print --family 快递单 --sender … --receiver …`: a waybill
// issued without the desktop, read back from the PDF with pdftotext: every
// value of the sender, the receiver and the goods stands where the
// template prints it, and --save stores the row.

#include "addressbook/person.h"
#include "app/app_context.h"
#include "app/database.h"
#include "printing/print_geometry.h"
#include "printing/print_fonts.h"
#include "render_pdf_words.h"
#include "test_support.h"

#include <QDir>
#include <gtest/gtest.h>

namespace billprint::test {
namespace {

constexpr int kDpi = 600;

struct Placed
{
    const char *text;
    int x;  // tenths of a millimetre, template 5 (通用快递运单)
    int y;
    int pointSize;
};

class WaybillCommandTest : public ::testing::Test
{
protected:
    void addUnit(const QString &kind, const QStringList &v)
    {
        TPerson p;
        p.setUnitKind(kind);
        p.setFullName(v[0]);
        p.setContact(v[1]);
        p.setProvince(v[2]);
        p.setCity(v[3]);
        p.setTown(v[4]);
        p.setAddress(v[5]);
        p.setPhone(v[6]);
        p.setMobile(v[7]);
        p.setCountry(v[8]);
        p.setPostcode(v[9]);
        ASSERT_TRUE(p.save(root.context().db()));
    }

    TempDataRoot root;
};

TEST_F(WaybillCommandTest, EveryValueStandsWhereTheTemplatePrintsIt)
{
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) not installed";
    addUnit(UnitKind::Own, {QStringLiteral("广州南方物流"), QStringLiteral("张三"), QStringLiteral("广东省"),
                            QStringLiteral("广州"), QStringLiteral("天河区"), QStringLiteral("体育西路1号"),
                            QStringLiteral("020-8"), QStringLiteral("13800"), QStringLiteral("中国"),
                            QStringLiteral("510000")});
    addUnit(UnitKind::Counterparty, {QStringLiteral("武汉华中贸易"), QStringLiteral("王五"), QStringLiteral("湖北省"),
                                     QStringLiteral("武汉"), QStringLiteral("洪山区"), QStringLiteral("珞喻路9号"),
                                     QStringLiteral("027-6"), QStringLiteral("13900"), QStringLiteral("泰国"),
                                     QStringLiteral("430000")});
    root.close();
    const QString pdf = QDir(root.path()).filePath(QStringLiteral("w.pdf"));
    const ProgramResult r = runProgram({QStringLiteral("--data"), root.path(), QStringLiteral("print"),
                                        QStringLiteral("--family"), QStringLiteral("快递单"), QStringLiteral("--sender"),
                                        QStringLiteral("广州南方物流"), QStringLiteral("--receiver"),
                                        QStringLiteral("武汉华中贸易"), QStringLiteral("--set"),
                                        QStringLiteral("zdWPNR=文件"), QStringLiteral("--set"),
                                        QStringLiteral("edtWeight=2.5"), QStringLiteral("--pdf"), pdf,
                                        QStringLiteral("--save")},
                                       60000);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("serial 1"))) << r.out.toStdString();

    const std::vector<PdfPage> pages = readPdfWords(pdf);
    ASSERT_EQ(pages.size(), 1u);
    const Placed expected[] = {
        {"广州南方物流", 206, 186, 11}, {"张三", 206, 261, 11},     {"020-8", 555, 261, 10},
        {"13800", 970, 261, 10},       {"广东省", 210, 331, 10},   {"广州", 500, 331, 10},
        {"天河区", 790, 331, 10},      {"510000", 1070, 331, 10},  {"体育西路1号", 210, 396, 10},
        {"中国", 210, 545, 10},        {"武汉华中贸易", 206, 616, 11}, {"王五", 206, 691, 11},
        {"027-6", 555, 691, 10},       {"13900", 970, 691, 10},    {"湖北省", 210, 761, 10},
        {"武汉", 500, 761, 10},        {"洪山区", 790, 761, 10},   {"430000", 1070, 761, 10},
        {"珞喻路9号", 210, 826, 10},   {"泰国", 210, 975, 10},     {"文件", 1390, 190, 10},
        {"2.5", 1638, 357, 10}};
    for (const Placed &p : expected) {
        const QString text = QString::fromUtf8(p.text);
        const PdfWord *word = nullptr;
        for (const PdfWord &w : pages.front().words)
            if (readsAs(w.text, text))
                word = &w;
        ASSERT_NE(word, nullptr) << p.text;
        const double xMm = (tenthsMmToDevice(p.x, kDpi) + 2 * averageCharWidth(p.pointSize, kDpi)) * 25.4 / kDpi;
        EXPECT_NEAR(word->xMin / kPointsPerMm, xMm, 0.1) << p.text;
        EXPECT_NEAR(cellTopMm(*word, QStringLiteral("宋体"), p.pointSize), p.y / 10.0, 0.1) << p.text;
    }

    AppContext &ctx = root.reopen();
    EXPECT_EQ(ctx.db().scalar(QStringLiteral("select 收件单位 || '/' || 寄件单位 || '/' || 物品内容 from DataKDDTable")),
              QStringLiteral("武汉华中贸易/广州南方物流/文件"));
}

TEST_F(WaybillCommandTest, UnknownPartyOrAmountEndsWithOneLineAndNothingDone)
{
    for (const QStringList &extra : {QStringList{QStringLiteral("--receiver"), QStringLiteral("无此单位")},
                                     QStringList{QStringLiteral("--amount"), QStringLiteral("12")}}) {
        const QString pdf = QDir(root.path()).filePath(QStringLiteral("x.pdf"));
        QStringList args{QStringLiteral("--data"), root.path(), QStringLiteral("print"), QStringLiteral("--family"),
                         QStringLiteral("快递单"), QStringLiteral("--pdf"), pdf};
        const ProgramResult r = runProgram(args + extra, 60000);
        EXPECT_EQ(r.exitCode, 2) << extra.join(' ').toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(pdf));
    }
}

} // namespace
} // namespace billprint::test
