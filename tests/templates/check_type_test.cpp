// Template rows: names, storing and finding, rows of older databases and
// rows inside template packages.
#include "template_fixtures.h"

#include "templates/named_template.h"
#include "templates/template_error.h"

using namespace billprint;
using namespace billprint::test;

TEST(TemplateNames, FamilyIsTakenFromTheFullNameWhenNotStored)
{
    TCheckType t;
    t.TypeName = QStringLiteral("支票（工行）");
    EXPECT_EQ(t.getFirstName(), "支票");
    t.TypeName = QStringLiteral("支票(工行)");
    EXPECT_EQ(t.getFirstName(), "支票");
    t.TypeName = QStringLiteral("支票");
    EXPECT_EQ(t.getFirstName(), "");
    // A parenthesis in front names no family; an ASCII one further on does.
    t.TypeName = QStringLiteral("（工行）支票");
    EXPECT_EQ(t.getFirstName(), "");
    t.TypeName = QStringLiteral("（工行）支票(新)");
    EXPECT_EQ(t.getFirstName(), "（工行）支票");
    // A stored family wins over the full name.
    t.TypeFirstName = QStringLiteral("进账单");
    EXPECT_EQ(t.getFirstName(), "进账单");

    t.setFullName(QStringLiteral("快递单"), QStringLiteral("顺丰"));
    EXPECT_EQ(t.TypeName, QStringLiteral("快递单（顺丰）"));
}

TEST(TemplateRows, SaveAddsThenEditsAndStoresTheDerivedFamily)
{
    TemplateDb fx;
    TCheckType t;
    t.CheckTypeID = 4;
    t.TypeName = QStringLiteral("支票（工行）");
    t.TypeDescribe = QStringLiteral("工行");
    t.ImgFile = QStringLiteral("zp4.jpg");
    t.IniFile = QStringLiteral("4.ini");
    t.Visiable = TemplateFlag::Enabled;
    t.CheckBoxs = QStringLiteral("加急,保价");
    t.IsDefault = TemplateFlag::Default;
    t.IsCommon = TemplateFlag::NotCommon;
    t.PreImgURL = QStringLiteral("http://old");
    t.GroupCompany = QStringLiteral("工商银行");
    t.GroupTypeArea = QStringLiteral("华南");
    t.XMove = -12, t.YMove = 7, t.TWidth = 800, t.THeight = 380;
    t.PWidth = 2400, t.PHeight = 1000, t.HVPrint = 1, t.IsSysCommon = 0, t.ShowOrd = 33;
    EXPECT_EQ(t.save(fx.db()), 1);

    std::optional<TCheckType> back = TCheckType::findById(fx.db(), 4);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->TypeFirstName, "支票");
    EXPECT_EQ(back->PreImgURL, "");
    EXPECT_EQ(back->CheckBoxs, "加急,保价");
    EXPECT_EQ(back->checkBoxCaptions(), QStringList({"加急", "保价"}));
    EXPECT_EQ(back->IsCommon, TemplateFlag::NotCommon);
    EXPECT_EQ(back->GroupTypeArea, "华南");
    EXPECT_EQ(back->IniFile, "4.ini");
    EXPECT_EQ(std::tuple(back->XMove, back->YMove, back->TWidth, back->THeight, back->PWidth, back->PHeight,
                         back->HVPrint, back->IsSysCommon, back->ShowOrd),
              std::tuple(-12, 7, 800, 380, 2400, 1000, 1, 0, 33));
    EXPECT_TRUE(back->isLandscape());
    EXPECT_TRUE(back->ImageBytes.isEmpty());
    EXPECT_EQ(fx.count("select count(*) from CKTypeTable where PreImgURL=''"), 1);

    back->TypeDescribe = QStringLiteral("建行");
    back->setFullName(QStringLiteral("支票"), QStringLiteral("建行"));
    back->save(fx.db());
    EXPECT_EQ(fx.count("select count(*) from CKTypeTable"), 1);

    TCheckType stale = t;
    EXPECT_EQ(stale.reload(fx.db()), 1);
    EXPECT_EQ(stale.TypeName, QStringLiteral("支票（建行）"));
}

TEST(TemplateRows, ReloadTellsMissingRowsAndInvalidIdsApart)
{
    TemplateDb fx;
    TCheckType t;
    EXPECT_EQ(t.reload(fx.db()), -1);
    t.CheckTypeID = 77;
    t.TypeName = QStringLiteral("keep");
    EXPECT_EQ(t.reload(fx.db()), 0);
    EXPECT_EQ(t.TypeName, "keep");
}

TEST(TemplateRows, SavingUnderANewIdLeavesTheTemplateWithTheOldIdAlone)
{
    // A package template keeps its package id while it is stored under a
    // new one; a database template that happens to have that id is
    // someone else.
    TemplateDb fx;
    fx.add(5, QStringLiteral("快递单"), QStringLiteral("甲"));
    TCheckType incoming;
    incoming.CheckTypeID = 5;
    incoming.setFullName(QStringLiteral("快递单"), QStringLiteral("乙"));
    incoming.TypeDescribe = QStringLiteral("乙");

    EXPECT_EQ(incoming.save(fx.db(), 9), 1);
    EXPECT_EQ(incoming.NewCheckTypeId, 9);
    EXPECT_EQ(incoming.CheckTypeID, 5);
    EXPECT_EQ(TCheckType::findById(fx.db(), 5)->TypeName, QStringLiteral("快递单（甲）"));
    EXPECT_EQ(TCheckType::findById(fx.db(), 9)->TypeName, QStringLiteral("快递单（乙）"));
}

TEST(TemplateRows, SaveFailuresAreThrownWithTheReason)
{
    TemplateDb fx;
    TCheckType t;
    t.TypeName = QStringLiteral("支票（工行）");
    EXPECT_THROW(t.save(fx.db()), TemplateError);  // id 0 could never be found again
    EXPECT_EQ(fx.count("select count(*) from CKTypeTable"), 0);

    t.CheckTypeID = 1;
    ASSERT_TRUE(fx.db().exec("drop table CKTypeTable"));
    try {
        t.save(fx.db());
        FAIL() << "save into a missing table succeeded";
    } catch (const TemplateError &e) {
        EXPECT_TRUE(e.message().contains("CKTypeTable", Qt::CaseInsensitive)) << e.what();
    }
    // Finders stay quiet but can tell why.
    QString error;
    EXPECT_FALSE(TCheckType::findById(fx.db(), 1, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(TemplateFinders, FindByNamesAndFamilyDefault)
{
    TemplateDb fx;
    fx.add(1, QStringLiteral("支票"), QStringLiteral("工行"), 5, TemplateFlag::Default);
    fx.add(2, QStringLiteral("支票"), QStringLiteral("建行"), 9);
    fx.add(3, QStringLiteral("进账单"), QStringLiteral("工行"), 1, TemplateFlag::Default);

    EXPECT_FALSE(TCheckType::findById(fx.db(), 0));
    EXPECT_FALSE(TCheckType::findById(fx.db(), -3));
    EXPECT_FALSE(TCheckType::findByTypeName(fx.db(), QString()));
    EXPECT_FALSE(TCheckType::findByTypeName(fx.db(), QStringLiteral("支票（农行）")));
    EXPECT_EQ(TCheckType::findByTypeName(fx.db(), QStringLiteral("支票（建行）"))->CheckTypeID, 2);
    EXPECT_EQ(TCheckType::findByFirstAndLastName(fx.db(), QStringLiteral("进账单"), QStringLiteral("工行"))->CheckTypeID, 3);
    EXPECT_EQ(TCheckType::findDefaultByFirstName(fx.db(), QStringLiteral("支票"))->CheckTypeID, 1);
    EXPECT_EQ(TCheckType::findDefaultByFirstName(fx.db(), QStringLiteral("进账单"))->CheckTypeID, 3);
    EXPECT_FALSE(TCheckType::findDefaultByFirstName(fx.db(), QStringLiteral("快递单")));
    EXPECT_FALSE(TCheckType::findDefaultByFirstName(fx.db(), QString()));
}

TEST(TemplateFinders, ApostrophesInFamilyAndVariantNames)
{
    TemplateDb fx;
    const QString family = QStringLiteral("快递'单");
    const QString variant = QStringLiteral("O'Neil's 速递");
    TCheckType t = fx.add(6, family, variant, 3);
    t.GroupCompany = QStringLiteral("O'Neil");
    t.CheckBoxs = QStringLiteral("it's,ok");
    t.save(fx.db());

    std::optional<TCheckType> found = TCheckType::findByFirstAndLastName(fx.db(), family, variant);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->TypeDescribe, variant);
    EXPECT_EQ(found->GroupCompany, "O'Neil");
    EXPECT_EQ(found->CheckBoxs, "it's,ok");
    EXPECT_EQ(found->getFirstName(), family);
    ASSERT_TRUE(TCheckType::setDefaultByTypeName(fx.db(), TCheckType::fullName(family, variant)));
    EXPECT_EQ(TCheckType::findDefaultByFirstName(fx.db(), family)->CheckTypeID, 6);
    // A name built to break out of a quoted literal is only a name.
    EXPECT_FALSE(TCheckType::findByTypeName(fx.db(), QStringLiteral("x' or '1'='1")));
    EXPECT_FALSE(TCheckType::findDefaultByFirstName(fx.db(), QStringLiteral("x' or '1'='1")));
}

// A command line names a template by id or by name, as the user knows it.
TEST(TemplateFinders, NamedTemplateByIdFullNameOrLastName)
{
    TemplateDb fx;
    fx.add(1, QStringLiteral("支票"), QStringLiteral("工行"));
    fx.add(2, QStringLiteral("支票"), QStringLiteral("建行"));
    fx.add(3, QStringLiteral("进账单"), QStringLiteral("工行"));
    fx.add(5, QStringLiteral("快递单"), QStringLiteral("2024"));  // digits, but no template 2024
    const auto idOf = [&](const QString &text, const QString &family) {
        QString error;
        const std::optional<TCheckType> t = findNamedTemplate(fx.db(), text, family, &error);
        return t ? QString::number(t->CheckTypeID) : error;
    };
    EXPECT_EQ(idOf(QStringLiteral("2"), QString()), "2");
    EXPECT_EQ(idOf(QStringLiteral(" 3 "), QStringLiteral("进账单")), "3");
    EXPECT_EQ(idOf(QStringLiteral("支票（建行）"), QString()), "2");
    EXPECT_EQ(idOf(QStringLiteral("建行"), QString()), "2");
    EXPECT_EQ(idOf(QStringLiteral("工行"), QStringLiteral("进账单")), "3");
    EXPECT_EQ(idOf(QStringLiteral("2024"), QString()), "5");
    // Another family's template is not this family's.
    EXPECT_EQ(idOf(QStringLiteral("3"), QStringLiteral("支票")), "unknown 支票 template: 3");
    EXPECT_EQ(idOf(QStringLiteral("99999999999"), QString()), "unknown template: 99999999999");
    EXPECT_EQ(idOf(QStringLiteral("工行"), QString()),
              "several templates are named 工行 (ids 1, 3); give the id or the full name");
    EXPECT_EQ(idOf(QStringLiteral("x' or '1'='1"), QString()), "unknown template: x' or '1'='1");
}

TEST(OldDatabase, MissingPaperSizeReadsAsDefaultAndTheColumnsAreAdded)
{
    QTemporaryDir dir;
    auto db = databaseFile(dir.filePath("old.ini"),
        {"create table CKTypeTable (CheckTypeID integer, TypeName text, TypeFirstName varchar(50), "
         "TypeDescribe text, ImgFile text, IniFile varchar(50), Visiable text, IsDefault text, "
         "IsCommon varchar(10), ShowOrd integer, CheckBoxs text, TWidth integer, THeight integer, "
         "XMove integer, YMove integer, HVPrint integer, GroupCompany varchar(60), "
         "GroupTypeArea varchar(60), IsSysCommon integer, PreImgURL text)",
         "insert into CKTypeTable (CheckTypeID, TypeName, TypeFirstName, TypeDescribe, Visiable, IsDefault, "
         "IsCommon, ShowOrd, TWidth) values (8, '支票（工行）', '支票', '工行', '启用', '默认', '是', 4, 760)"});
    ASSERT_TRUE(db);

    std::optional<TCheckType> first = TCheckType::findById(*db, 8);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->PWidth, 2300);
    EXPECT_EQ(first->PHeight, 1200);
    EXPECT_EQ(first->TWidth, 760);
    EXPECT_TRUE(TDBTable::ColumnExists("CKTypeTable", "PWidth", *db));
    EXPECT_TRUE(TDBTable::ColumnExists("CKTypeTable", "PHeight", *db));

    // The new columns are empty: a value, not a missing column.
    std::optional<TCheckType> second = TCheckType::findById(*db, 8);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->PWidth, 0);
    EXPECT_EQ(second->PHeight, 0);

    second->PWidth = 2100;
    second->save(*db);
    EXPECT_EQ(TCheckType::findById(*db, 8)->PWidth, 2100);
}

TEST(OldDatabase, EveryLateColumnHasItsDefaultUntilAdded)
{
    QTemporaryDir dir;
    auto db = databaseFile(dir.filePath("older.ini"),
        {"create table CKTypeTable (CheckTypeID integer, TypeName text, TypeDescribe text, ImgFile text, "
         "Visiable text, IsDefault text, ShowOrd integer, CheckBoxs text, TWidth integer, THeight integer, "
         "XMove integer, YMove integer, HVPrint integer)",
         "insert into CKTypeTable (CheckTypeID, TypeName, TypeDescribe, Visiable, IsDefault) "
         "values (2, '进账单（中行）', '中行', '启用', '0')"});
    ASSERT_TRUE(db);

    std::optional<TCheckType> t = TCheckType::findById(*db, 2);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->TypeFirstName, "");
    EXPECT_EQ(t->getFirstName(), "进账单");
    EXPECT_EQ(t->IsCommon, TemplateFlag::Common);
    EXPECT_EQ(t->IsSysCommon, 1);
    EXPECT_EQ(t->GroupCompany, "");
    EXPECT_EQ(t->IniFile, "");
    for (const char *column : {"TypeFirstName", "GroupCompany", "GroupTypeArea", "PHeight", "PWidth",
                               "IsSysCommon", "IsCommon", "IniFile"})
        EXPECT_TRUE(TDBTable::ColumnExists("CKTypeTable", column, *db)) << column;

    t = TCheckType::findById(*db, 2);
    EXPECT_EQ(t->IsCommon, "");
    EXPECT_EQ(t->IsSysCommon, 0);
}

TEST(OldDatabase, RowLackingAnEssentialColumnIsRefused)
{
    QTemporaryDir dir;
    auto db = databaseFile(dir.filePath("broken.ini"),
        {"create table CKTypeTable (CheckTypeID integer, TypeName text, TypeDescribe text, ImgFile text)",
         "insert into CKTypeTable values (3, '支票（工行）', '工行', '')"});
    ASSERT_TRUE(db);
    QString error;
    EXPECT_FALSE(TCheckType::findById(*db, 3, &error));
    EXPECT_TRUE(error.contains("ShowOrd")) << error.toStdString();
    TCheckType t;
    t.CheckTypeID = 3;
    EXPECT_EQ(t.reload(*db), -1);
}

namespace {

QStringList packageTables(bool withPicture)
{
    return {QStringLiteral("create table _CKTypeTable (CheckTypeID integer, TypeName text, TypeFirstName varchar(50), "
                           "TypeDescribe text, XMove integer, YMove integer, THeight integer, TWidth integer, "
                           "GroupCompany varchar(60), GroupTypeArea varchar(60), PHeight integer, PWidth integer, "
                           "HVPrint integer, ImgFile text, Visiable text, CheckBoxs text, IsCommon varchar(10), "
                           "ShowOrd integer, IsDefault text%1, Ini_Text text)")
                .arg(withPicture ? QStringLiteral(", Img_Bytes blob") : QString()),
            "create table _ckControl (CheckTypeID integer, CtlName text, CtlCName text, CtlType varchar(30), "
            "CtlX integer, CtlY integer, CtlLH integer, SrcX integer, SrcY integer, SrcH integer, SrcW integer, "
            "NeedPrint integer, NeedShow integer, CtlFontName text, CtlFontSize integer, BreakFontSize integer, "
            "Bold integer, Italic integer, UnderLine integer, fitParam text, BreakNum text, InitValue varchar(60), "
            "ShowOrd integer)",
            "create table _Config (Id integer primary key autoincrement, DMName varchar(50), DMValue varchar(200), "
            "CheckTypeId integer)",
            "insert into _Config (DMName, DMValue, CheckTypeId) values ('version', '10.6.0', 0)"};
}

} // namespace

TEST(TemplatePackage, PackageRowCarriesItsPictureAndTheDatabaseRowNone)
{
    QTemporaryDir dir;
    QStringList statements = packageTables(true);
    statements << "insert into _CKTypeTable (CheckTypeID, TypeName, TypeFirstName, TypeDescribe, PHeight, PWidth, "
                  "HVPrint, ImgFile, Visiable, CheckBoxs, IsCommon, ShowOrd, IsDefault, Img_Bytes, Ini_Text) values "
                  "(12, '快递单（O''Brien''s 快运）', '快递单', 'O''Brien''s 快运', 1270, 2300, 0, 'kdd12.jpg', '启用', "
                  "'', '是', 9, '0', x'FFD8FFE000104A46', ' ')";
    auto package = databaseFile(dir.filePath("pack.tpk"), statements);
    ASSERT_TRUE(package);

    const QString name = QStringLiteral("快递单（O'Brien's 快运）");
    std::optional<TCheckType> t = TCheckType::findInPackage(*package, name);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->CheckTypeID, 12);
    EXPECT_EQ(t->TypeDescribe, "O'Brien's 快运");
    EXPECT_EQ(t->PHeight, 1270);
    EXPECT_EQ(t->ShowOrd, 9);
    EXPECT_EQ(t->IsSysCommon, 1);  // packages carry no such column
    EXPECT_EQ(t->ImageBytes, QByteArray::fromHex("FFD8FFE000104A46"));
    // Reading a package never changes it.
    EXPECT_FALSE(TDBTable::ColumnExists("_CKTypeTable", "IsSysCommon", *package));

    TemplateDb fx;
    t->save(fx.db(), TCheckType::newCheckTypeId(fx.db()));
    std::optional<TCheckType> stored = TCheckType::findByTypeName(fx.db(), name);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->CheckTypeID, t->NewCheckTypeId);
    EXPECT_TRUE(stored->ImageBytes.isEmpty());

    EXPECT_FALSE(TCheckType::findInPackage(*package, QString()));
    EXPECT_FALSE(TCheckType::findInPackage(*package, QStringLiteral("快递单（别家）")));
}

TEST(TemplatePackage, PackageWithoutPictureColumnGivesNoBytes)
{
    QTemporaryDir dir;
    QStringList statements = packageTables(false);
    statements << "insert into _CKTypeTable (CheckTypeID, TypeName, TypeDescribe, Visiable, IsDefault, ShowOrd) "
                  "values (3, '支票（工行）', '工行', '启用', '0', 9)";
    auto package = databaseFile(dir.filePath("old.tpk"), statements);
    ASSERT_TRUE(package);
    std::optional<TCheckType> t = TCheckType::findInPackage(*package, QStringLiteral("支票（工行）"));
    ASSERT_TRUE(t);
    EXPECT_TRUE(t->ImageBytes.isEmpty());

    // A file that is no package at all: no template, and the reason.
    auto other = databaseFile(dir.filePath("other.tpk"), {"create table unrelated (a integer)"});
    QString error;
    EXPECT_FALSE(TCheckType::findInPackage(*other, QStringLiteral("支票（工行）"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(TemplatePictures, FallbackAndNewPictureNames)
{
    TCheckType t;
    EXPECT_EQ(t.pictureFile(), "dhd_default.jpg");
    t.ImgFile = QStringLiteral("zp3.jpg");
    EXPECT_EQ(t.pictureFile(), "zp3.jpg");
    EXPECT_EQ(TCheckType::newPictureName(QStringLiteral("kdd"), 14, QStringLiteral("hsb")), "kdd14.jpg");
    EXPECT_EQ(TCheckType::newPictureName(QString(), 14, QStringLiteral("hsb")), "hsb14.jpg");
    EXPECT_EQ(TCheckType::newPictureName(QString(), 15, QStringLiteral("img")), "img15.jpg");
}
