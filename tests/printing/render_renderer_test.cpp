// The print item renderer on a recording device: where each value lands
// in device units, in which font, broken and spread as the template says.

#include "printing/print_renderer.h"
#include "recording_output.h"
#include "render_fixtures.h"

#include <QFontDatabase>
#include <gtest/gtest.h>

namespace billprint::test {
namespace {

constexpr int kId = 901;

class RendererTest : public ::testing::Test
{
protected:
    void SetUp() override { f.addTemplate(kId); }
    void TearDown() override
    {
        if (painter.isActive())
            painter.end();
    }

    PrintRenderer &open(int dpi, int physicalTop = 0)
    {
        if (painter.isActive())
            painter.end();
        device = std::make_unique<RecordingPaintDevice>(dpi, dpi);
        painter.begin(device.get());
        PrintDeviceMetrics m;
        m.dpiX = dpi;
        m.dpiY = dpi;
        m.physicalTop = physicalTop;
        renderer = std::make_unique<PrintRenderer>(f.ctx(), painter, m);
        return *renderer;
    }
    std::vector<RecordedText> &texts() { return device->texts(); }

    RenderFixture f;
    AlertRecorder alerts;
    std::unique_ptr<RecordingPaintDevice> device;
    QPainter painter;
    std::unique_ptr<PrintRenderer> renderer;
};

TEST(PrintGeometry, RoundsHalvesToEvenAndConvertsTenthsOfMillimetres)
{
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(tenthsMmToDevice(254, 600), 600);
    EXPECT_EQ(tenthsMmToDevice(254, 300), 300);
    EXPECT_EQ(tenthsMmToDevice(50, 600), 118);   // 5 mm
    EXPECT_EQ(tenthsMmToDevice(-127, 600), -300);
    // Half an em: 10 pt is 83.3 dots at 600 dpi.
    EXPECT_EQ(averageCharWidth(10, 600), 42);
    EXPECT_EQ(averageCharWidth(10, 300), 21);
    EXPECT_EQ(averageCharWidth(0, 600), averageCharWidth(kUnsetPointSize, 600));
}

TEST(PrintFonts, TemplateFacesResolveToInstalledFacesOfTheirStyle)
{
    if (!QFontDatabase::hasFamily(QStringLiteral("Noto Serif CJK SC"))
        || !QFontDatabase::hasFamily(QStringLiteral("Noto Sans CJK SC")))
        GTEST_SKIP() << "fonts-noto-cjk not installed";
    for (const char *serif : {"宋体", "新宋体", "仿宋_GB2312", "楷体_GB2312", "隶书", ""})
        EXPECT_EQ(resolvePrintFace(QString::fromUtf8(serif)), QStringLiteral("Noto Serif CJK SC")) << serif;
    for (const char *sans : {"黑体", "微软雅黑", "幼圆", "Arial"})
        EXPECT_EQ(resolvePrintFace(QString::fromUtf8(sans)), QStringLiteral("Noto Sans CJK SC")) << sans;
    EXPECT_EQ(resolvePrintFace(QStringLiteral("DejaVu Sans Mono")), QStringLiteral("DejaVu Sans Mono"));

    const QFont font = printFont(QStringLiteral("黑体"), 12, true, false, true);
    EXPECT_EQ(font.family(), QStringLiteral("Noto Sans CJK SC"));
    EXPECT_EQ(font.pointSize(), 12);
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.underline());
    EXPECT_FALSE(font.italic());
}

TEST_F(RendererTest, PositionsFollowTheUnitConversionAt600And300Dpi)
{
    f.addField(kId, QStringLiteral("zdA"), 254, 254);
    for (const int dpi : {600, 300}) {
        open(dpi).printItemValue(kId, 0, QStringLiteral("##"), QStringLiteral("金额"), QStringLiteral("zdA"), 0);
        ASSERT_EQ(texts().size(), 1u) << dpi;
        const RecordedText &t = texts().front();
        EXPECT_EQ(t.text, QStringLiteral("金额"));
        // 25.4 mm is one inch: dpi dots, plus twice half an em of 10 pt.
        EXPECT_DOUBLE_EQ(t.baseline.x(), dpi + 2 * averageCharWidth(10, dpi)) << dpi;
        EXPECT_NEAR(t.baseline.y(), dpi + kClassicAscentEm * 10 * dpi / 72.0, 1e-6) << dpi;
        EXPECT_EQ(t.font.pointSize(), 10);
        EXPECT_EQ(t.font.family(), resolvePrintFace(QStringLiteral("宋体")));
    }
    EXPECT_EQ(open(600).deviceX(254, 10), 684);
    EXPECT_TRUE(alerts.alerts().empty());
}

TEST_F(RendererTest, OffsetsAreAddedToTheFieldPosition)
{
    f.addField(kId, QStringLiteral("zdA"), 400, 300);
    open(600).printItemValue(kId, 35, QStringLiteral("##"), QStringLiteral("甲"), QStringLiteral("ZDA"), -120);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(texts()[0].baseline.x(), expectedX(435, 10, 600));
    EXPECT_DOUBLE_EQ(texts()[0].baseline.y(), expectedBaseline(180, 10, 600));
}

TEST_F(RendererTest, PhysicalTopOffsetIsSubtractedAndWholeTextsAboveThePageClamp)
{
    f.addField(kId, QStringLiteral("zdA"), 100, 254);
    f.addField(kId, QStringLiteral("zdHigh"), 100, 10);
    f.addField(kId, QStringLiteral("zdHighBoxes"), 100, 10, [](CkControl &c) { c.FitParam = QStringLiteral("40"); });
    PrintRenderer &r = open(600, 100);
    r.printItemValue(kId, 0, QString(), QStringLiteral("甲"), QStringLiteral("zdA"), 0);
    r.printItemValue(kId, 0, QString(), QStringLiteral("乙"), QStringLiteral("zdHigh"), 0);
    r.printItemValue(kId, 0, QString(), QStringLiteral("丙"), QStringLiteral("zdHighBoxes"), 0);
    ASSERT_EQ(texts().size(), 3u);
    EXPECT_DOUBLE_EQ(texts()[0].baseline.y(), 500 + cellAscent(10, 600));
    // 1 mm is 24 dots; 24 - 100 is above the printable area: drawn at -3.
    EXPECT_DOUBLE_EQ(texts()[1].baseline.y(), -3 + cellAscent(10, 600));
    // Characters spread over boxes are drawn where they fall.
    EXPECT_DOUBLE_EQ(texts()[2].baseline.y(), 24 - 100 + cellAscent(10, 600));
}

TEST_F(RendererTest, SeparatedLinesPrintFiveMillimetresApartInTheBreakFontSize)
{
    f.addField(kId, QStringLiteral("zdAddr"), 200, 300, [](CkControl &c) {
        c.CtlLH = 0;
        c.BreakFontSize = 8;
    });
    f.addField(kId, QStringLiteral("zdTiny"), 200, 600, [](CkControl &c) {
        c.CtlLH = 45;
        c.BreakFontSize = 0;
    });
    PrintRenderer &r = open(600);
    EXPECT_TRUE(r.printItemValue(kId, 0, QStringLiteral("##"), QStringLiteral("北京##上海"), QStringLiteral("zdAddr"), 0));
    EXPECT_TRUE(r.printItemValue(kId, 0, QStringLiteral("##"), QStringLiteral("一##二"), QStringLiteral("zdTiny"), 0));
    ASSERT_EQ(texts().size(), 4u);
    EXPECT_EQ(texts()[0].text, QStringLiteral("北京"));
    EXPECT_EQ(texts()[1].text, QStringLiteral("上海"));
    EXPECT_EQ(texts()[0].font.pointSize(), 8);
    EXPECT_EQ(texts()[0].baseline.x(), texts()[1].baseline.x());
    // Broken lines start where the one-line value (10 pt) would.
    EXPECT_EQ(texts()[0].baseline.x(), expectedX(200, 10, 600));
    EXPECT_DOUBLE_EQ(texts()[1].baseline.y() - texts()[0].baseline.y(),
                     tenthsMmToDevice(350, 600) - tenthsMmToDevice(300, 600));
    // A break font size below 6 prints at 6 points, CtlLH apart.
    EXPECT_EQ(texts()[2].font.pointSize(), 6);
    EXPECT_EQ(texts()[3].font.pointSize(), 6);
    EXPECT_DOUBLE_EQ(texts()[3].baseline.y(), expectedBaseline(645, 6, 600));
}

TEST_F(RendererTest, LongValuesBreakByDoubleWidthCharactersOnlyWithANumericBreakNum)
{
    const QString fifteen = QStringLiteral("一二三四五六七八九十壹贰叁肆伍");
    f.addField(kId, QStringLiteral("zdTen"), 100, 100, [](CkControl &c) {
        c.BreakNum = QStringLiteral("10");
        c.CtlLH = 40;
    });
    f.addField(kId, QStringLiteral("zdAbc"), 100, 500, [](CkControl &c) { c.BreakNum = QStringLiteral("abc"); });
    PrintRenderer &r = open(600);
    r.printItemValue(kId, 0, QStringLiteral("##"), fifteen, QStringLiteral("zdTen"), 0);
    r.printItemValue(kId, 0, QStringLiteral("##"), fifteen, QStringLiteral("zdAbc"), 0);
    ASSERT_EQ(texts().size(), 3u);
    EXPECT_EQ(texts()[0].text, fifteen.left(10));
    EXPECT_EQ(texts()[1].text, fifteen.mid(10));
    EXPECT_EQ(texts()[0].font.pointSize(), 8);
    EXPECT_DOUBLE_EQ(texts()[1].baseline.y(), expectedBaseline(140, 8, 600));
    EXPECT_EQ(texts()[2].text, fifteen);
    EXPECT_EQ(texts()[2].font.pointSize(), 10);

    EXPECT_EQ(PrintRenderer::pieces(QStringLiteral(" 甲##  ##乙 "), QStringLiteral("##"), -1),
              (QStringList{QStringLiteral("甲"), QStringLiteral("  "), QStringLiteral("乙")}));
    EXPECT_EQ(PrintRenderer::pieces(QStringLiteral("甲##乙"), QString(), -1), QStringList{QStringLiteral("甲##乙")});
}

TEST_F(RendererTest, APitchSpreadsTheCharactersOneByOne)
{
    f.addField(kId, QStringLiteral("zdDigits"), 1000, 200, [](CkControl &c) { c.FitParam = QStringLiteral("50"); });
    open(600).printItemValue(kId, 0, QString(), QStringLiteral("壹贰3"), QStringLiteral("zdDigits"), 0);
    ASSERT_EQ(texts().size(), 3u);
    const QStringList expected{QStringLiteral("壹"), QStringLiteral("贰"), QStringLiteral("3")};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(texts()[i].text, expected.at(i));
        EXPECT_EQ(texts()[i].baseline.x(), expectedX(1000 + 50 * i, 10, 600)) << i;
        EXPECT_DOUBLE_EQ(texts()[i].baseline.y(), expectedBaseline(200, 10, 600));
    }
}

TEST_F(RendererTest, APitchThatIsNoNumberFailsTheFieldAndPrintsNothingOfIt)
{
    f.addField(kId, QStringLiteral("zdBad"), 100, 100, [](CkControl &c) { c.FitParam = QStringLiteral("5x"); });
    f.addField(kId, QStringLiteral("zdGood"), 100, 200);
    PrintRenderer &r = open(600);
    EXPECT_FALSE(r.printItemValue(kId, 0, QString(), QStringLiteral("12"), QStringLiteral("zdBad"), 0));
    EXPECT_TRUE(r.printItemValue(kId, 0, QString(), QStringLiteral("34"), QStringLiteral("zdGood"), 0));
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(texts()[0].text, QStringLiteral("34"));
    EXPECT_EQ(alerts.messages(), QStringList{QStringLiteral("打印zdBad出现错误！")});
}

TEST_F(RendererTest, ADatabaseErrorFailsTheFieldWithAMessage)
{
    PrintRenderer &r = open(600);
    ASSERT_TRUE(f.db().exec(QStringLiteral("drop table CkControl")));
    EXPECT_FALSE(r.printItemValue(kId, 0, QString(), QStringLiteral("12"), QStringLiteral("zdA"), 0));
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("打印zdA出现错误！")));
    EXPECT_TRUE(texts().empty());
}

TEST_F(RendererTest, EmptyValuesAndFieldsTheTemplateLacksPrintNothingAndSucceed)
{
    f.addField(kId, QStringLiteral("zdA"), 100, 100);
    PrintRenderer &r = open(600);
    EXPECT_TRUE(r.printItemValue(kId, 0, QStringLiteral("##"), QStringLiteral("  "), QStringLiteral("zdA"), 0));
    EXPECT_TRUE(r.printItemValue(kId, 0, QStringLiteral("##"), QStringLiteral("##"), QStringLiteral("zdA"), 0));
    EXPECT_TRUE(r.printItemValue(kId, 0, QStringLiteral("##"), QStringLiteral("甲"), QStringLiteral("zdNone"), 0));
    EXPECT_TRUE(texts().empty());
    EXPECT_TRUE(alerts.alerts().empty());
}

TEST_F(RendererTest, CurrencySymbolsInDigitBoxesMoveIntoPlace)
{
    f.addField(kId, QStringLiteral("zdQY"), 1000, 300);
    f.addField(kId, QStringLiteral("zdBY"), 1035, 300);
    PrintRenderer &r = open(600);
    f.ctx().digitCellWidth = getCellsWidth(f.db(), kId, QStringLiteral("zdQY"), 35, QStringLiteral("zdBY"));
    ASSERT_EQ(f.ctx().digitCellWidth, 35);

    const auto xOf = [&](const QString &symbol, const QString &value) {
        texts().clear();
        f.ctx().currencySymbol = symbol;
        r.printItemValue(kId, 0, QString(), value, QStringLiteral("zdQY"), 0);
        return texts().empty() ? -1.0 : texts().front().baseline.x();
    };
    // HK$ starts one box less 0.4 mm (3.1 mm) to the left, ￥ 1 mm.
    EXPECT_EQ(xOf(QStringLiteral("HK$"), QStringLiteral("HK$")), expectedX(1000 - 31, 10, 600));
    EXPECT_EQ(xOf(QStringLiteral("￥"), QStringLiteral("￥")), expectedX(990, 10, 600));
    EXPECT_EQ(xOf(QStringLiteral("US"), QStringLiteral("US")), expectedX(1004, 10, 600));
    EXPECT_EQ(xOf(QStringLiteral("$"), QStringLiteral("$")), expectedX(1000, 10, 600));
    EXPECT_EQ(xOf(QStringLiteral("HK$"), QStringLiteral("5")), expectedX(1000, 10, 600));

    EXPECT_EQ(PrintRenderer::currencyShift(QStringLiteral("HK$"), QStringLiteral("HK$"), 0), 0);
    EXPECT_EQ(PrintRenderer::currencyShift(QStringLiteral("EURO"), QStringLiteral("EURO"), 35), 4 - 2 * 35);
}

TEST_F(RendererTest, AFieldsPlaceNeverDependsOnTheFieldPrintedBeforeIt)
{
    f.addField(kId, QStringLiteral("zdBig"), 500, 100, [](CkControl &c) { c.CtlFontSize = 20; });
    f.addField(kId, QStringLiteral("zdSmall"), 500, 400);
    PrintRenderer &r = open(600);
    r.printItemValue(kId, 0, QString(), QStringLiteral("大"), QStringLiteral("zdBig"), 0);
    r.printItemValue(kId, 0, QString(), QStringLiteral("小"), QStringLiteral("zdSmall"), 0);
    ASSERT_EQ(texts().size(), 2u);
    EXPECT_EQ(texts()[0].baseline.x(), expectedX(500, 20, 600));
    EXPECT_EQ(texts()[1].baseline.x(), expectedX(500, 10, 600));
}

TEST_F(RendererTest, ColoursAndStylesComeFromTheTemplate)
{
    const auto add = [&](const QString &name, int y, const QString &color, int bold, int italic, int underline) {
        f.addField(kId, name, 100, y, [&](CkControl &c) {
            c.CtlFontColor = color;
            c.Bold = bold;
            c.Italic = italic;
            c.UnderLine = underline;
            c.CtlFontName = QStringLiteral("黑体");
        });
    };
    add(QStringLiteral("zdRed"), 100, QStringLiteral("255"), 1, 0, 0);
    add(QStringLiteral("zdBlue"), 200, QStringLiteral("16711680"), 0, 1, 0);
    add(QStringLiteral("zdSystem"), 300, QStringLiteral("-2147483640"), 0, 0, 1);
    add(QStringLiteral("zdJunk"), 400, QStringLiteral("abc"), -1, 0, 0);
    PrintRenderer &r = open(600);
    for (const char *name : {"zdRed", "zdBlue", "zdSystem", "zdJunk"})
        r.printItemValue(kId, 0, QString(), QStringLiteral("字"), QString::fromLatin1(name), 0);
    ASSERT_EQ(texts().size(), 4u);
    EXPECT_EQ(texts()[0].color, QColor(255, 0, 0));
    EXPECT_TRUE(texts()[0].font.bold());
    EXPECT_EQ(texts()[1].color, QColor(0, 0, 255));
    EXPECT_TRUE(texts()[1].font.italic());
    EXPECT_EQ(texts()[2].color, QColor(Qt::black));
    EXPECT_TRUE(texts()[2].font.underline());
    EXPECT_EQ(texts()[3].color, QColor(Qt::black));
    EXPECT_FALSE(texts()[3].font.bold());
    EXPECT_EQ(texts()[0].font.family(), resolvePrintFace(QStringLiteral("黑体")));
}

TEST_F(RendererTest, TemplateQueriesBindTheirValues)
{
    f.addField(kId, QStringLiteral("zdQY"), 1000, 300);
    f.addField(kId, QStringLiteral("zdBY"), 965, 300);
    f.addField(kId, QStringLiteral("zd'Q"), 700, 300);
    EXPECT_EQ(getCellsWidth(f.db(), kId, QStringLiteral("zdqy"), 35, QStringLiteral("ZDBY")), 35);
    EXPECT_EQ(getCellsWidth(f.db(), kId, QStringLiteral("zd'Q"), 35, QStringLiteral("zdQY")), 300);
    EXPECT_EQ(getCellsWidth(f.db(), kId, QStringLiteral("zdQY"), 42, QStringLiteral("zdNone")), 42);
    EXPECT_EQ(getCellsWidth(f.db(), 999, QStringLiteral("zdQY"), 42, QStringLiteral("zdBY")), 42);

    EXPECT_EQ(getHXPaperIn(f.db(), kId), QStringLiteral("1"));
    f.addTemplate(902, kTestFamily, 0, 0, 0);
    EXPECT_EQ(getHXPaperIn(f.db(), 902), QStringLiteral("0"));
    EXPECT_EQ(getHXPaperIn(f.db(), 999), QString());

    ASSERT_TRUE(f.db().exec(QStringLiteral("drop table CkControl")));
    EXPECT_EQ(getCellsWidth(f.db(), kId, QStringLiteral("zdQY"), 35, QStringLiteral("zdBY")), 0);
}

} // namespace
} // namespace billprint::test
