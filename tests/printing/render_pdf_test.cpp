// Printing to PDF files, read back with pdftotext: the page is the
// template's paper, every value starts at its template position plus the
// offsets, and a printer in full-page mode puts them at the same places.

#include "printing/pdf_print_output.h"
#include "printing/print_run.h"
#include "printing/ui/printer_output.h"
#include "render_fixtures.h"
#include "render_pdf_words.h"

#include <QFile>
#include <QPrinter>
#include <gtest/gtest.h>

namespace billprint::test {
namespace {

constexpr int kId = 921;
const QString kListText = QStringLiteral("测试票（样例921）");

struct Expected
{
    QString text;
    int x;      // tenths of a millimetre, offsets included
    int y;
    int size;
    QString face;
    int leadIn = 0;  // size whose lead-in the value starts after; 0: `size`
};

class PdfPrintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!havePdfToText())
            GTEST_SKIP() << "pdftotext (poppler-utils) not installed";
        f.addTemplate(kId, kTestFamily, 30, -20, 1, 2250, 800);
        f.addField(kId, QStringLiteral("zdA"), 300, 200);
        f.addField(kId, QStringLiteral("zdB"), 1000, 400, [](CkControl &c) {
            c.CtlFontName = QStringLiteral("黑体");
            c.CtlFontSize = 12;
            c.Bold = 1;
        });
        f.addField(kId, QStringLiteral("zdBoxes"), 1500, 600, [](CkControl &c) { c.FitParam = QStringLiteral("35"); });
        f.addField(kId, QStringLiteral("zdLines"), 200, 500, [](CkControl &c) {
            c.BreakFontSize = 8;
            c.CtlLH = 0;
        });
        int order = 0;
        for (const char *name : {"zdA", "zdB", "zdBoxes", "zdLines"})
            f.addPrintItem(QString::fromLatin1(name), order += 10);
        bill.set(QStringLiteral("zdA"), QStringLiteral("甲乙丙"));
        bill.set(QStringLiteral("zdB"), QStringLiteral("某某公司"));
        bill.set(QStringLiteral("zdBoxes"), QStringLiteral("12345"));
        bill.set(QStringLiteral("zdLines"), QStringLiteral("北京\n上海"));
    }

    QString pdfPath(const QString &name) const { return f.folder() + QLatin1Char('/') + name; }

    bool printTo(PrintOutput &output, int copies = 1)
    {
        PrintRun run(f.ctx(), output, PrintFamily::forFamily(kTestFamily));
        return run.printRepeated(bill, kId, kListText, copies);
    }

    static std::string describe(const PdfPage &page)
    {
        QStringList words;
        for (const PdfWord &w : page.words)
            words << QStringLiteral("%1@%2,%3").arg(w.text).arg(w.xMin).arg(w.yMin);
        return words.join(QLatin1Char(' ')).toStdString();
    }

    static const PdfWord *find(const PdfPage &page, const QString &text)
    {
        for (const PdfWord &w : page.words)
            if (w.text == text)
                return &w;
        return nullptr;
    }

    RenderFixture f;
    AlertRecorder alerts;
    MapValueSource bill;
};

TEST_F(PdfPrintTest, ValuesStartWhereTheTemplateSaysOnAPageOfItsPaper)
{
    PdfPrintOutput pdf(pdfPath(QStringLiteral("bill.pdf")));
    ASSERT_TRUE(printTo(pdf));
    const std::vector<PdfPage> pages = readPdfWords(pdf.path());
    ASSERT_EQ(pages.size(), 1u);
    const PdfPage &page = pages.front();
    EXPECT_NEAR(page.width / kPointsPerMm, 225.0, 0.5);
    EXPECT_NEAR(page.height / kPointsPerMm, 80.0, 0.5);

    const std::vector<Expected> expected = {
        {QStringLiteral("甲乙丙"), 330, 180, 10, QStringLiteral("宋体")},
        {QStringLiteral("某某公司"), 1030, 380, 12, QStringLiteral("黑体")},
        {QStringLiteral("北京"), 230, 480, 8, QStringLiteral("宋体"), 10},
        {QStringLiteral("上海"), 230, 530, 8, QStringLiteral("宋体"), 10},
    };
    for (const Expected &e : expected) {
        const PdfWord *word = find(page, e.text);
        ASSERT_TRUE(word) << e.text.toStdString() << " among " << describe(page);
        const double xMm = expectedX(e.x, e.leadIn ? e.leadIn : e.size, 600) * 25.4 / 600;
        EXPECT_NEAR(word->xMin / kPointsPerMm, xMm, 0.05) << e.text.toStdString();
        EXPECT_NEAR(cellTopMm(*word, e.face, e.size), e.y / 10.0, 0.3) << e.text.toStdString();
    }
    // Digit boxes: one character each, 3.5 mm apart.
    for (int i = 0; i < 5; ++i) {
        const PdfWord *digit = find(page, QString::number(i + 1));
        ASSERT_TRUE(digit) << i;
        EXPECT_NEAR(digit->xMin / kPointsPerMm, expectedX(1530 + 35 * i, 10, 600) * 25.4 / 600, 0.05) << i;
        EXPECT_NEAR(cellTopMm(*digit, QStringLiteral("宋体"), 10), 58.0, 0.3) << i;
    }
}

TEST_F(PdfPrintTest, RightAndCentredValuesLineUpInTheirPrintBoxes)
{
    // Boxes 60 mm wide from x 43 mm (offset 3 mm included); the lead-in of
    // a left value (2 x 0.5 em of 10 pt = 3.53 mm) stays free on the right.
    enum Edge { Start, Middle, End };
    const struct
    {
        const char *name, *align, *text;
        Edge edge;
        double mm;
    } rows[] = {
        {"zdRight", "2", "右对齐", End, 103.0 - 3.528},
        {"zdCentre", "1", "居中", Middle, 73.0},
        {"zdLeft", "0", "靠左", Start, 43.0 + 3.528},
    };
    int order = 100, y = 100;
    for (const auto &r : rows) {
        const QString align = QString::fromLatin1(r.align);
        f.addField(kId, QString::fromLatin1(r.name), 400, y += 100, [&align](CkControl &c) {
            c.CtlW = 600;
            c.Align = align;
        });
        f.addPrintItem(QString::fromLatin1(r.name), order += 10);
        bill.set(QString::fromLatin1(r.name), QString::fromUtf8(r.text));
    }
    PdfPrintOutput pdf(pdfPath(QStringLiteral("aligned.pdf")));
    ASSERT_TRUE(printTo(pdf));
    const std::vector<PdfPage> pages = readPdfWords(pdf.path());
    ASSERT_EQ(pages.size(), 1u);
    for (const auto &r : rows) {
        const PdfWord *word = find(pages.front(), QString::fromUtf8(r.text));
        ASSERT_TRUE(word) << r.name << " among " << describe(pages.front());
        const double edge = r.edge == Start ? word->xMin : r.edge == End ? word->xMax : (word->xMin + word->xMax) / 2;
        EXPECT_NEAR(edge / kPointsPerMm, r.mm, 0.1) << r.name;
    }
}

TEST_F(PdfPrintTest, APrinterInFullPageModePutsEveryValueWhereThePdfOutputDoes)
{
    PdfPrintOutput pdf(pdfPath(QStringLiteral("direct.pdf")));
    ASSERT_TRUE(printTo(pdf));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath(QStringLiteral("printer.pdf")));
    PrinterOutput output(printer);
    EXPECT_FALSE(output.isPrinter());
    EXPECT_TRUE(output.printableArea().isNull());  // a PDF page has no margins: never asks
    ASSERT_TRUE(printTo(output));
    EXPECT_TRUE(printer.fullPage());
    EXPECT_EQ(printer.docName(), QStringLiteral("禾朔打印-") + kListText);

    const std::vector<PdfPage> direct = readPdfWords(pdf.path());
    const std::vector<PdfPage> printed = readPdfWords(printer.outputFileName());
    ASSERT_EQ(direct.size(), 1u);
    ASSERT_EQ(printed.size(), 1u);
    ASSERT_EQ(direct[0].words.size(), printed[0].words.size());
    for (const PdfWord &w : direct[0].words) {
        const PdfWord *same = find(printed[0], w.text);
        ASSERT_TRUE(same) << w.text.toStdString();
        // Both round to their own device units: 600 and 1200 dots per inch.
        EXPECT_NEAR(same->xMin / kPointsPerMm, w.xMin / kPointsPerMm, 0.1) << w.text.toStdString();
        EXPECT_NEAR(same->yMin / kPointsPerMm, w.yMin / kPointsPerMm, 0.1) << w.text.toStdString();
    }
}

TEST_F(PdfPrintTest, AsciiAdvancesHalfAnEmAsOnThePrinterFacesTheFormsWereDrawnFor)
{
    const struct
    {
        const char *name;
        const char *face;
        const char *value;
        double ems;  // width at 10 pt: 0.5 em per ASCII character, 1 em per ideograph
    } values[] = {
        {"zdDigits", "宋体", "0123456789", 5.0},
        {"zdAccount", "宋体", "1001234509100123456", 9.5},
        {"zdSum", "黑体", "1,234,567.89", 6.0},
        {"zdCode", "楷体_GB2312", "HD2026-031.Wi", 6.5},
        {"zdMixed", "宋体", "账号62220209", 6.0},
    };
    int y = 0;
    for (const auto &v : values) {
        f.addField(kId, QString::fromLatin1(v.name), 1200, y += 60,
                   [&](CkControl &c) { c.CtlFontName = QString::fromUtf8(v.face); });
        f.addPrintItem(QString::fromLatin1(v.name), 100 + y);
        bill.set(QString::fromLatin1(v.name), QString::fromUtf8(v.value));
    }
    PdfPrintOutput pdf(pdfPath(QStringLiteral("widths.pdf")));
    ASSERT_TRUE(printTo(pdf));
    const std::vector<PdfPage> pages = readPdfWords(pdf.path());
    ASSERT_EQ(pages.size(), 1u);
    for (const auto &v : values) {
        const PdfWord *word = find(pages[0], QString::fromUtf8(v.value));
        ASSERT_TRUE(word) << v.value << " among " << describe(pages[0]);
        EXPECT_NEAR((word->xMax - word->xMin) / 10.0, v.ems, v.ems * 0.01) << v.value;
    }
}

TEST_F(PdfPrintTest, RepeatedBillsArePagesOfOneFile)
{
    PdfPrintOutput pdf(pdfPath(QStringLiteral("three.pdf")));
    ASSERT_TRUE(printTo(pdf, 3));
    EXPECT_EQ(pdf.pageCount(), 3);
    const std::vector<PdfPage> pages = readPdfWords(pdf.path());
    ASSERT_EQ(pages.size(), 3u);
    for (const PdfPage &page : pages)
        EXPECT_TRUE(find(page, QStringLiteral("甲乙丙")));
}

TEST_F(PdfPrintTest, PortraitTemplatesPrintOnUprightPages)
{
    f.addTemplate(922, kTestFamily, 0, 0, 0, 2100, 2970);
    f.addField(922, QStringLiteral("zdA"), 1000, 2500);
    PdfPrintOutput pdf(pdfPath(QStringLiteral("portrait.pdf")));
    PrintRun run(f.ctx(), pdf, PrintFamily::forFamily(kTestFamily));
    ASSERT_TRUE(run.printOne(bill, 922, kListText));
    const std::vector<PdfPage> pages = readPdfWords(pdf.path());
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NEAR(pages[0].width / kPointsPerMm, 210.0, 0.5);
    EXPECT_NEAR(pages[0].height / kPointsPerMm, 297.0, 0.5);
    const PdfWord *word = find(pages[0], QStringLiteral("甲乙丙"));
    ASSERT_TRUE(word);
    EXPECT_NEAR(cellTopMm(*word, QStringLiteral("宋体"), 10), 250.0, 0.3);
}

TEST_F(PdfPrintTest, AnAbortedOrUnwritableDocumentLeavesTheFileAlone)
{
    const QString path = pdfPath(QStringLiteral("kept.pdf"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("earlier file");
    }
    PdfPrintOutput pdf(path);
    PrintRun run(f.ctx(), pdf, PrintFamily::forFamily(kTestFamily));
    ASSERT_TRUE(run.PrintPrepare(kId, kListText));
    run.PrinterTransBegin(1);
    run.SendCheckToPrinter(bill);
    run.AbortPrint();
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("earlier file"));

    PdfPrintOutput nowhere(pdfPath(QStringLiteral("no/such/folder/x.pdf")));
    EXPECT_FALSE(printTo(nowhere));
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("输出文件出错，没有写入！")));
    EXPECT_FALSE(QFile::exists(nowhere.path()));
}

} // namespace
} // namespace billprint::test
