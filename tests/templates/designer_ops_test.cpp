// The designers' value operations and undoable edits, without windows.

#include "template_fixtures.h"
#include "templates/ck_control.h"
#include "designers/design_labels.h"
#include "templates/name_dict.h"
#include "templates/print_box_ops.h"
#include "templates/template_edit.h"

#include <QUndoStack>

using namespace billprint;
using namespace billprint::test;

namespace {

const std::vector<PrintBox> kThree = {{"A", 300, 90, 100, 0}, {"B", 120, 150, 250, 40}, {"C", 210, 60, 0, 55}};

std::vector<int> xs(const std::vector<PrintBox> &b) { return {b[0].x, b[1].x, b[2].x}; }
std::vector<int> ys(const std::vector<PrintBox> &b) { return {b[0].y, b[1].y, b[2].y}; }
std::vector<int> ws(const std::vector<PrintBox> &b) { return {b[0].w, b[1].w, b[2].w}; }
std::vector<int> hs(const std::vector<PrintBox> &b) { return {b[0].h, b[1].h, b[2].h}; }

} // namespace

TEST(PrintBoxOps, AlignToTheExtremeItem)
{
    EXPECT_EQ(xs(PrintBoxOps::align(kThree, BoxEdge::Left)), (std::vector<int>{120, 120, 120}));
    EXPECT_EQ(xs(PrintBoxOps::align(kThree, BoxEdge::Right)), (std::vector<int>{300, 300, 300}));
    EXPECT_EQ(ys(PrintBoxOps::align(kThree, BoxEdge::Top)), (std::vector<int>{60, 60, 60}));
    EXPECT_EQ(ys(PrintBoxOps::align(kThree, BoxEdge::Bottom)), (std::vector<int>{150, 150, 150}));
    // Only the aligned coordinate changes.
    EXPECT_EQ(ys(PrintBoxOps::align(kThree, BoxEdge::Left)), (std::vector<int>{90, 150, 60}));
}

TEST(PrintBoxOps, EqualSizesGrowShrink)
{
    EXPECT_EQ(ws(PrintBoxOps::equalSize(kThree, BoxSide::Width, Extreme::Largest)), (std::vector<int>{250, 250, 250}));
    EXPECT_EQ(ws(PrintBoxOps::equalSize(kThree, BoxSide::Width, Extreme::Smallest)), (std::vector<int>{35, 35, 35}));
    EXPECT_EQ(hs(PrintBoxOps::equalSize(kThree, BoxSide::Height, Extreme::Smallest)), (std::vector<int>{40, 40, 40}));
    EXPECT_EQ(hs(PrintBoxOps::equalSize(kThree, BoxSide::Height, Extreme::Largest)), (std::vector<int>{55, 55, 55}));
    EXPECT_EQ(ws(PrintBoxOps::grow(kThree, BoxSide::Width, 5)), (std::vector<int>{105, 255, 5}));
    QStringList unchanged;
    EXPECT_EQ(hs(PrintBoxOps::shrink(kThree, BoxSide::Height, 40, &unchanged)), (std::vector<int>{0, 40, 15}));
    EXPECT_EQ(unchanged, (QStringList{"A", "B"}));
}

TEST(PrintBoxOps, DistributeAtEqualStridesFromTheFirst)
{
    EXPECT_EQ(xs(PrintBoxOps::distribute(kThree, Axis::Horizontal, 40)), (std::vector<int>{300, 340, 380}));
    EXPECT_EQ(ys(PrintBoxOps::distribute(kThree, Axis::Vertical, 50)), (std::vector<int>{90, 140, 190}));
    const std::vector<ColumnEdit> edits =
        PrintBoxOps::edits(7, kThree, PrintBoxOps::distribute(kThree, Axis::Horizontal, 40));
    ASSERT_EQ(edits.size(), 2u);
    EXPECT_EQ(edits[0].ctlName, "B");
    EXPECT_EQ(edits[0].column, "CtlX");
    EXPECT_EQ(edits[0].before.toInt(), 120);
    EXPECT_EQ(edits[0].after.toInt(), 340);
}

TEST(DesignLabels, ScaleBreakingAndEqualWidth)
{
    const PaperScale scale = PaperScale::forScreen(96, 100);
    EXPECT_EQ(scale.toPixels(2250), 850);
    EXPECT_EQ(scale.toTenths(38), 101);
    EXPECT_EQ(PaperScale::forScreen(96, 150).toTenths(38), 67);

    CkControl field;
    field.CtlName = "ZDREMARK";
    field.CtlX = 100;
    field.CtlY = 200;
    field.CtlW = 0;
    field.SrcW = 120;
    field.CtlH = 100;
    field.BreakNum = "10";
    const QString sample = QString(25, QChar(0x4E00));
    std::vector<DesignLabel> lines = designLabels(field, sample, scale);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].hint, "ZDREMARKL1");
    EXPECT_EQ(lines[0].rect, QRect(38, 76, 120, 19));  // width from SrcW, pitch 5 mm
    EXPECT_EQ(lines[1].rect.top() - lines[0].rect.top(), 19);

    field.BreakNum.clear();
    field.FitParam = "25";
    EXPECT_EQ(designLabels(field, "123", scale).size(), 1u);
    field.FitParam = "26";
    lines = designLabels(field, "123", scale);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].hint, "ZDREMARKR3");
    EXPECT_EQ(lines[2].rect.left() - lines[0].rect.left(), 20);

    NameDict entry;
    entry.CtlLabel = " 备注 ";
    entry.CtlData = "  ";
    EXPECT_EQ(designSampleText(CkControl(), entry), "备注");
}

TEST(TemplateEdit, OneStepWritesAtOnceAndUndoesWhole)
{
    TemplateDb t;
    t.add(3, "支票", "O'Brien's");
    for (const char *name : {"ZDA", "ZDB'X"}) {
        CkControl row;
        row.CheckTypeID = 3;
        row.CtlName = name;
        row.CtlX = 100;
        CkControlStore(t.db()).save(row);
    }
    QUndoStack stack;
    int redraws = 0;
    auto step = std::make_unique<TemplateEditCommand>(
        t.db(), "对齐",
        std::vector<ColumnEdit>{ColumnEdit::field(3, "ZDA", "CtlX", 100, 40),
                                ColumnEdit::field(3, "zdb'x", "CtlX", 100, 40),
                                ColumnEdit::field(3, "ZDA", "CtlY", 0, 0)},
        [&] { ++redraws; });
    QString error;
    ASSERT_TRUE(pushTemplateEdit(stack, std::move(step), &error)) << error.toStdString();
    EXPECT_EQ(stack.count(), 1);
    EXPECT_EQ(redraws, 1);
    const auto x = [&](const char *name) {
        return t.db().scalar("select CtlX from CkControl where CheckTypeID=3 and CtlName=?", {name}).toInt();
    };
    EXPECT_EQ(x("ZDA"), 40);
    EXPECT_EQ(x("ZDB'X"), 40);
    stack.undo();
    EXPECT_EQ(x("ZDA"), 100);
    EXPECT_EQ(x("ZDB'X"), 100);
    stack.redo();
    EXPECT_EQ(x("ZDA"), 40);

    // A column outside the designers' columns is refused before anything is written.
    auto bad = std::make_unique<TemplateEditCommand>(
        t.db(), "x", std::vector<ColumnEdit>{ColumnEdit::field(3, "ZDA", "CtlX=0;--", 1, 2)}, nullptr);
    EXPECT_FALSE(pushTemplateEdit(stack, std::move(bad), &error));
    EXPECT_EQ(stack.count(), 1);

    // Steps of one number box merge into one.
    for (int v : {41, 42, 43}) {
        auto typed = std::make_unique<TemplateEditCommand>(
            t.db(), "x", std::vector<ColumnEdit>{ColumnEdit::field(3, "ZDA", "CtlX", v - 1, v)}, nullptr);
        typed->setMergeKey("ZDA.CtlX");
        ASSERT_TRUE(pushTemplateEdit(stack, std::move(typed), &error));
    }
    EXPECT_EQ(stack.count(), 2);
    stack.undo();
    EXPECT_EQ(x("ZDA"), 40);
}
