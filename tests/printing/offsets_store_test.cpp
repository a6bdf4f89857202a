// The stored whole-print values of templates and the printer models of
// Config.ini: what the offset and adaptation windows read and write.
#include "app/ini_file.h"
#include "printing/print_offsets.h"
#include "printing/printer_models.h"
#include "offsets_fixtures.h"

using namespace billprint;
using namespace billprint::test;

using OffsetStore = OffsetsTest;

TEST_F(OffsetStore, LoadsATemplateAndFillsWhatTheRowLacks)
{
    addTemplate(7, QStringLiteral("支票（工行）"), true, -35, 120, 1, 2300, 1270);
    addTemplate(8, QStringLiteral("支票（建行）"), true, 0, 0, QVariant(), QVariant(), QVariant());
    ASSERT_TRUE(db().exec("update CKTypeTable set TWidth=null, THeight=null, XMove=null where CheckTypeID=8"));
    PrintOffsetStore store(db());

    const std::optional<PrintOffsets> full = store.load(7);
    ASSERT_TRUE(full);
    EXPECT_EQ(full->typeName, "支票（工行）");
    EXPECT_EQ(full->xMove, -35);
    EXPECT_EQ(full->yMove, 120);
    EXPECT_EQ(full->tWidth, 800);
    EXPECT_EQ(full->pWidth, 2300);
    EXPECT_TRUE(full->landscape);

    // A row without sizes prints and previews at the defaults.
    const std::optional<PrintOffsets> bare = store.load(8);
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->xMove, 0);
    EXPECT_EQ(bare->tWidth, PrintOffsets::DefaultTWidth);
    EXPECT_EQ(bare->tHeight, PrintOffsets::DefaultTHeight);
    EXPECT_EQ(bare->pWidth, 2300);
    EXPECT_EQ(bare->pHeight, 1270);
    EXPECT_FALSE(bare->landscape);

    EXPECT_FALSE(store.load(99));
}

TEST_F(OffsetStore, AnyDirectionButEmptyOrZeroIsLandscape)
{
    EXPECT_FALSE(isLandscapeText(""));
    EXPECT_FALSE(isLandscapeText("0"));
    EXPECT_FALSE(isLandscapeText(" 0 "));
    EXPECT_TRUE(isLandscapeText("1"));
    EXPECT_TRUE(isLandscapeText("2"));
}

TEST_F(OffsetStore, ListsEnabledNamedTemplatesByName)
{
    addTemplate(1, QStringLiteral("进账单（通用）"));
    addTemplate(2, QStringLiteral("支票（停用）"), false);
    addTemplate(3, QStringLiteral(""));
    addTemplate(4, QStringLiteral("快递单（O'Neil 速运）"));
    const QList<OffsetTemplateEntry> list = PrintOffsetStore(db()).enabledTemplates();
    QStringList names;
    for (const OffsetTemplateEntry &e : list)
        names << e.typeName;
    EXPECT_EQ(names, (QStringList{QStringLiteral("快递单（O'Neil 速运）"), QStringLiteral("进账单（通用）")}));
    EXPECT_EQ(list.first().checkTypeId, 4);

    // A name with an apostrophe is just a name.
    const std::optional<PrintOffsets> quoted = PrintOffsetStore(db()).loadByName(QStringLiteral(" 快递单（O'Neil 速运） "));
    ASSERT_TRUE(quoted);
    EXPECT_EQ(quoted->checkTypeId, 4);
}

TEST_F(OffsetStore, SavesEveryValueOfOneTemplateOnly)
{
    addTemplate(1, QStringLiteral("支票（工行）"));
    addTemplate(2, QStringLiteral("支票（建行）"), true, 11, 22);
    PrintOffsetStore store(db());
    PrintOffsets v = *store.load(1);
    v.xMove = -125;
    v.yMove = 40;
    v.tWidth = 900;
    v.tHeight = 450;
    v.pWidth = 2400;
    v.pHeight = 1000;
    v.landscape = true;
    EXPECT_EQ(store.save(v), 1);
    EXPECT_EQ(column(1, "XMove"), -125);
    EXPECT_EQ(column(1, "YMove"), 40);
    EXPECT_EQ(column(1, "TWidth"), 900);
    EXPECT_EQ(column(1, "THeight"), 450);
    EXPECT_EQ(column(1, "PWidth"), 2400);
    EXPECT_EQ(column(1, "PHeight"), 1000);
    EXPECT_EQ(column(1, "HVPrint"), 1);
    EXPECT_EQ(column(2, "XMove"), 11);

    v.checkTypeId = 55;  // gone meanwhile
    EXPECT_EQ(store.save(v), 0);

    ASSERT_TRUE(db().exec("alter table CKTypeTable rename to CKTypeTableGone"));
    QString error;
    EXPECT_EQ(store.save(v, &error), -1);
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(OffsetStore, CarryOverReachesEveryTemplateHiddenOnesToo)
{
    addTemplate(1, QStringLiteral("支票（工行）"), true, 5, 5, 1);
    addTemplate(2, QStringLiteral("支票（停用）"), false, 7, 7, 1);
    PrintOffsetStore store(db());
    EXPECT_EQ(store.applyToAllTemplates(-40, 65, false), 2);
    for (int id : {1, 2}) {
        EXPECT_EQ(column(id, "XMove"), -40);
        EXPECT_EQ(column(id, "YMove"), 65);
        EXPECT_EQ(column(id, "HVPrint"), 0);
    }
    ASSERT_TRUE(db().exec("delete from CKTypeTable"));
    EXPECT_EQ(store.applyToAllTemplates(1, 1, true), 0);
}

TEST_F(OffsetStore, PaperSizesGroupTheTemplatesUsingThem)
{
    addTemplate(1, QStringLiteral("支票（工行）"), true, 0, 0, 0, 2300, 1270);
    addTemplate(2, QStringLiteral("支票（建行）"), true, 0, 0, 0, 2300, 1270);
    addTemplate(3, QStringLiteral("快递单（顺丰）"), true, 0, 0, 0, 2300, 1400);
    addTemplate(4, QStringLiteral("进账单（通用）"), true, 0, 0, 0, 2100, 990);
    addTemplate(5, QStringLiteral("进账单（停用）"), false, 0, 0, 0, 3000, 3000);
    const QList<TemplatePaperSize> sizes = PrintOffsetStore(db()).paperSizes();
    ASSERT_EQ(sizes.size(), 3);
    EXPECT_EQ(sizes[0].pWidth, 2300);
    EXPECT_EQ(sizes[0].pHeight, 1400);
    EXPECT_EQ(sizes[1].typeNames, (QStringList{QStringLiteral("支票（工行）"), QStringLiteral("支票（建行）")}));
    EXPECT_EQ(sizes[2].pWidth, 2100);
}

TEST(OffsetLabels, CentimetresWithoutSignOrBlanks)
{
    EXPECT_EQ(centimetreLabel(25), "=0.25厘米");
    EXPECT_EQ(centimetreLabel(-120), "=1.2厘米");
    EXPECT_EQ(centimetreLabel(0), "=0厘米");
    EXPECT_EQ(centimetreLabel(2300), "=23厘米");
    EXPECT_EQ(centimetreLabel(-1), "=0.01厘米");
}

TEST(PrinterModels, KnownModelsAndTheStoredAdaptation)
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath("Config.ini"));
    PrinterModelCatalog catalog(ini);
    EXPECT_EQ(catalog.modelNames(), QStringList{PrinterModelCatalog::NoModels});
    EXPECT_FALSE(catalog.adaptation());

    ini.parse(QStringLiteral("[printerweknow]\nprinters=EPSON LQ-630K, 映美FP-312K ,\n"
                             "default.EPSON LQ-630K.x=-20\nDEFAULT.epson lq-630k.Y=35\n"
                             "default.EPSON LQ-630K.board=15mm\ndefault.EPSON LQ-630K.d=横向\n"
                             "default.EPSON LQ-630K.img=image\\lq630k.jpg\n"));
    EXPECT_EQ(catalog.modelNames(), (QStringList{"EPSON LQ-630K", "映美FP-312K"}));
    const PrinterModel m = catalog.model("EPSON LQ-630K");
    EXPECT_EQ(m.x, "-20");
    EXPECT_EQ(m.y, "35");  // keys compare without case
    EXPECT_EQ(m.board, "15mm");
    EXPECT_EQ(m.direction, "横向");
    EXPECT_EQ(m.image, "image\\lq630k.jpg");

    PrinterAdaptation a{"我的630K", "LQ630K-USB", "-25", "30", "横向", "挡板在15mm"};
    ASSERT_TRUE(catalog.storeAdaptation(a));
    IniFile reread(dir.filePath("Config.ini"));
    reread.load();
    EXPECT_EQ(reread.readString("printeruse", "printers"), "我的630K");
    EXPECT_EQ(reread.readString("printeruse", "我的630K.PrinterName"), "LQ630K-USB");
    const std::optional<PrinterAdaptation> back = PrinterModelCatalog(reread).adaptation();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->x, "-25");
    EXPECT_EQ(back->y, "30");
    EXPECT_EQ(back->direction, "横向");
    EXPECT_EQ(back->board, "挡板在15mm");

    EXPECT_EQ(directionValue("横向"), 1);
    EXPECT_EQ(directionValue("纵向"), 0);
    EXPECT_FALSE(directionValue(""));
    EXPECT_FALSE(directionValue("斜向"));
}
