// Field rows of a template (CkControl) and the field catalogue of a bill
// family (NameDict).
#include "template_fixtures.h"

#include "templates/ck_control.h"
#include "templates/name_dict.h"
#include "templates/template_error.h"

using namespace billprint;
using namespace billprint::test;

namespace {

CkControl field(int checkTypeId, const QString &name, int showOrd = 0)
{
    CkControl c;
    c.CheckTypeID = checkTypeId;
    c.CtlName = name;
    c.ShowOrd = showOrd;
    return c;
}

NameDict entry(const QString &family, const QString &name, int showOrd, int printItem = 1)
{
    NameDict d;
    d.CheckTypeName = family;
    d.CtlName = name;
    d.CtlLabel = name + QStringLiteral("标签");
    d.ShowOrd = showOrd;
    d.PrintItem = printItem;
    return d;
}

} // namespace

TEST(CkControlRows, OneRowPerTemplateAndFieldWhateverTheCase)
{
    TemplateDb fx;
    CkControlStore store(fx.db());
    CkControl c = field(3, QStringLiteral("zdTiJi"));
    c.CtlX = 120;
    store.save(c);
    EXPECT_EQ(c.CtlName, "ZDTIJI");
    EXPECT_GT(c.ID, 0);

    CkControl again = field(3, QStringLiteral("ZdTiji"));
    again.CtlX = 250;
    store.save(again);
    EXPECT_EQ(again.ID, c.ID);
    EXPECT_EQ(fx.count("select count(*) from CkControl"), 1);
    EXPECT_EQ(fx.count("select count(*) from CkControl where CtlName='ZDTIJI'"), 1);
    std::optional<CkControl> found = store.find(3, QStringLiteral("zdtiji"));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->CtlX, 250);
    EXPECT_FALSE(store.find(4, QStringLiteral("zdTiJi")));
    EXPECT_FALSE(store.find(3, QStringLiteral("zdOther")));
}

TEST(CkControlRows, EveryColumnSurvivesSaveAndLoadApostrophesIncluded)
{
    TemplateDb fx;
    CkControlStore store(fx.db());
    CkControl c = field(9, QStringLiteral("zd'Name"), 4);
    c.CtlCName = QStringLiteral("收款人's 全称");
    c.CtlType = QStringLiteral("TEXT");
    c.CtlX = 1, c.CtlY = 2, c.CtlW = 3, c.CtlH = 4, c.CtlLH = 5;
    c.SrcX = 6, c.SrcY = 7, c.SrcW = 8, c.SrcH = 9, c.NeedShow = 1, c.NeedPrint = 0;
    c.CtlFontName = QStringLiteral("O'Font");
    c.CtlFontSize = 11;
    c.CtlFontColor = QStringLiteral("255");
    c.Bold = 1, c.Italic = 0, c.UnderLine = 1;
    c.BreakNum = QStringLiteral("12");
    c.BreakFontSize = 8;
    c.FitParam = QStringLiteral("40");
    c.Align = QStringLiteral("2");
    c.InitValue = QStringLiteral("it's '; drop table CkControl; --");
    store.save(c);

    std::optional<CkControl> back = store.find(9, QStringLiteral("ZD'NAME"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->CtlName, "ZD'NAME");
    EXPECT_EQ(back->CtlCName, c.CtlCName);
    EXPECT_EQ(back->CtlFontName, "O'Font");
    EXPECT_EQ(back->InitValue, c.InitValue);
    EXPECT_EQ(std::vector({back->CtlX, back->CtlY, back->CtlW, back->CtlH, back->CtlLH, back->SrcX, back->SrcY,
                           back->SrcW, back->SrcH, back->NeedShow, back->NeedPrint, back->CtlFontSize, back->Bold,
                           back->Italic, back->UnderLine, back->BreakFontSize, back->ShowOrd}),
              std::vector({1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 0, 11, 1, 0, 1, 8, 4}));
    EXPECT_EQ(QStringList({back->CtlFontColor, back->BreakNum, back->FitParam, back->Align}),
              QStringList({"255", "12", "40", "2"}));
}

TEST(CkControlRows, LoadAllGivesOneTemplatesFieldsInOrder)
{
    TemplateDb fx;
    CkControlStore store(fx.db());
    for (CkControl c : {field(1, "ZDC", 3), field(1, "ZDA", 1), field(2, "ZDX", 0), field(1, "ZDB", 2)})
        store.save(c);
    QStringList names;
    for (const CkControl &c : store.loadAll(1))
        names << c.CtlName;
    EXPECT_EQ(names, QStringList({"ZDA", "ZDB", "ZDC"}));
    EXPECT_TRUE(store.loadAll(5).empty());
}

TEST(CkControlRows, SaveRefusesRowsWithoutTemplateOrNameAndReportsFailures)
{
    TemplateDb fx;
    CkControlStore store(fx.db());
    CkControl noTemplate = field(0, "ZDA");
    CkControl noName = field(3, "  ");
    EXPECT_THROW(store.save(noTemplate), TemplateError);
    EXPECT_THROW(store.save(noName), TemplateError);
    EXPECT_EQ(fx.count("select count(*) from CkControl"), 0);

    ASSERT_TRUE(fx.db().exec("drop table CkControl"));
    EXPECT_THROW(store.loadAll(3), TemplateError);
    EXPECT_THROW(store.find(3, "ZDA"), TemplateError);
    CkControl c = field(3, "ZDA");
    EXPECT_THROW(store.save(c), TemplateError);
}

TEST(CkControlRows, OldTableGainsTheMissingColumnsOnSave)
{
    QTemporaryDir dir;
    auto db = databaseFile(dir.filePath("old.ini"),
        {"create table CkControl (ID integer primary key autoincrement, CheckTypeID integer, CtlName text, "
         "CtlCName text, CtlX integer, CtlY integer, CtlFontName text, CtlFontSize integer, Bold integer, "
         "Italic integer, UnderLine integer, BreakNum text, BreakFontSize integer, FitParam text, "
         "CtlFontColor text, ShowOrd integer)",
         "insert into CkControl (CheckTypeID, CtlName, CtlX) values (2, 'ZDJE', 300)"});
    ASSERT_TRUE(db);
    CkControlStore store(*db);
    std::optional<CkControl> c = store.find(2, "zdJe");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->CtlX, 300);
    EXPECT_EQ(c->Align, "");
    EXPECT_EQ(c->kind(), "TEXT");

    c->Align = QStringLiteral("1");
    c->InitValue = QStringLiteral("0.00");
    c->SrcW = 90;
    store.save(*c);
    for (const char *column : {"Align", "InitValue", "CtlType", "SrcW", "CtlW", "NeedShow"})
        EXPECT_TRUE(TDBTable::ColumnExists("CkControl", column, *db)) << column;
    std::optional<CkControl> back = store.find(2, "ZDJE");
    EXPECT_EQ(back->Align, "1");
    EXPECT_EQ(back->InitValue, "0.00");
    EXPECT_EQ(back->SrcW, 90);
}

TEST(CkControlRules, PrintValuesForMissingOrSmallSettings)
{
    CkControl c;
    EXPECT_EQ(c.kind(), "TEXT");
    EXPECT_EQ(c.printFontName(), "宋体");
    EXPECT_EQ(c.printLineHeight(), 50);
    EXPECT_EQ(c.printBreakFontSize(), 6);
    EXPECT_EQ(c.charsPerLine(), -1);
    EXPECT_FALSE(c.hasFitPitch());
    EXPECT_EQ(c.printColor(), QColor(Qt::black));

    c.CtlType = QStringLiteral("label");
    c.CtlFontName = QStringLiteral("黑体");
    c.CtlLH = 38;
    c.BreakFontSize = 9;
    c.FitParam = QStringLiteral("45");
    EXPECT_EQ(c.kind(), "LABEL");
    EXPECT_EQ(c.printFontName(), "黑体");
    EXPECT_EQ(c.printLineHeight(), 38);
    EXPECT_EQ(c.printBreakFontSize(), 9);
    EXPECT_TRUE(c.hasFitPitch());

    for (const auto &[breakNum, chars] : std::vector<std::pair<QString, int>>{
             {"12", 12}, {"0", -1}, {"abc", -1}, {"1.5", -1}, {" 8", -1}, {"99999999999", -1}}) {
        c.BreakNum = breakNum;
        EXPECT_EQ(c.charsPerLine(), chars) << breakNum.toStdString();
    }
    // Colours are stored with red in the lowest byte; system colours are
    // negative and print black.
    for (const auto &[stored, colour] : std::vector<std::pair<QString, QColor>>{
             {"255", QColor(255, 0, 0)}, {"16711680", QColor(0, 0, 255)}, {"32768", QColor(0, 128, 0)},
             {"-2147483640", QColor(Qt::black)}, {"red", QColor(Qt::black)}}) {
        c.CtlFontColor = stored;
        EXPECT_EQ(c.printColor(), colour) << stored.toStdString();
    }
}

TEST(CkControlRules, KindOfANewFieldFollowsItsName)
{
    EXPECT_EQ(CkControl::kindForName("DefCheck3"), "CHECKBOX");
    EXPECT_EQ(CkControl::kindForName("shpHKR"), "SHAPE");
    EXPECT_EQ(CkControl::kindForName("SHPSKR"), "SHAPE");
    EXPECT_EQ(CkControl::kindForName("zdLine1"), "LINE");
    EXPECT_EQ(CkControl::kindForName("zdJE"), "TEXT");
}

TEST(NameDictRows, FamilyListAndPrintItemsInOrder)
{
    TemplateDb fx;
    NameDictStore store(fx.db());
    for (NameDict d : {entry("支票", "ZDC", 3), entry("支票", "ZDA", 1), entry("支票", "ZDHIDE", 2, 0),
                       entry("进账单", "ZDX", 0)})
        store.save(d);
    auto names = [](const std::vector<NameDict> &rows) {
        QStringList list;
        for (const NameDict &d : rows)
            list << d.CtlName;
        return list;
    };
    EXPECT_EQ(names(store.listFamily("支票")), QStringList({"ZDA", "ZDHIDE", "ZDC"}));
    EXPECT_EQ(names(store.listFamily("支票", Qt::DescendingOrder)), QStringList({"ZDC", "ZDHIDE", "ZDA"}));
    EXPECT_EQ(names(store.printItems("支票")), QStringList({"ZDA", "ZDC"}));
    EXPECT_TRUE(store.listFamily("快递单").empty());
}

TEST(NameDictRows, SaveKeepsOneUpperCaseRowAndTheCheckBoxKind)
{
    TemplateDb fx;
    NameDictStore store(fx.db());
    NameDict check = entry("快递单", "defCheck0", 5);
    check.CtlType = QStringLiteral("TEXT");
    store.save(check);
    EXPECT_EQ(check.CtlName, "DEFCHECK0");
    EXPECT_EQ(check.CtlType, "CHECKBOX");

    NameDict plain = entry("快递单", "zdA", 1);
    store.save(plain);
    EXPECT_EQ(plain.CtlType, "TEXT");
    NameDict relabelled = entry("快递单", "ZDa", 1);
    relabelled.CtlLabel = QStringLiteral("新标签");
    relabelled.CtlType = QStringLiteral("image");
    store.save(relabelled);
    EXPECT_EQ(relabelled.Id, plain.Id);
    EXPECT_EQ(fx.count("select count(*) from NameDict"), 2);
    std::optional<NameDict> back = store.find("快递单", "zda");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->CtlLabel, "新标签");
    EXPECT_EQ(back->CtlType, "IMAGE");

    NameDict nameless = entry("快递单", "", 1);
    EXPECT_THROW(store.save(nameless), TemplateError);
}

TEST(NameDictRows, ApostrophesInFamilyLabelGroupAndSample)
{
    TemplateDb fx;
    NameDictStore store(fx.db());
    NameDict d = entry(QStringLiteral("快递'单"), QStringLiteral("zd'X"), 1);
    d.CtlLabel = QStringLiteral("收件人's 电话");
    d.Groups = QStringLiteral("O'Group");
    d.CtlData = QStringLiteral("'');--");
    store.save(d);
    std::optional<NameDict> back = store.find(QStringLiteral("快递'单"), QStringLiteral("ZD'X"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->CtlLabel, d.CtlLabel);
    EXPECT_EQ(back->Groups, d.Groups);
    EXPECT_EQ(back->CtlData, d.CtlData);
    EXPECT_EQ(store.printItems(QStringLiteral("快递'单")).size(), 1u);
}

TEST(NameDictRules, ValueTextByKind)
{
    NameDict text = entry("支票", "ZDYT", 1);
    EXPECT_EQ(text.printKind(), NameDict::PrintKind::Text);
    EXPECT_EQ(text.printText("第一行\r\n第二行\n三"), "第一行##第二行##三");
    NameDict label = text;
    label.CtlType = QStringLiteral("Label");
    EXPECT_EQ(label.printKind(), NameDict::PrintKind::Text);
    NameDict check = entry("支票", "DEFCHECK1", 2);
    EXPECT_EQ(check.printKind(), NameDict::PrintKind::CheckBox);
    EXPECT_EQ(check.printText("√\n"), "√\n");
    NameDict image = text;
    image.CtlType = QStringLiteral("IMAGE");
    EXPECT_EQ(image.printKind(), NameDict::PrintKind::NotPrinted);
    EXPECT_EQ(image.printText("logo.jpg"), "");
}
