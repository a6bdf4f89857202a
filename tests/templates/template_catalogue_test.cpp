#include "app/data_root.h"
#include "template_fixtures.h"
#include "templates/ck_control.h"
#include "templates/template_catalogue.h"

#include <QDir>

using namespace billprint;
using namespace billprint::test;

namespace {

struct Catalogue
{
    TemplateDb store;
    QString images = DataRoot(store.folder()).imageFolder();
    TemplateCatalogue catalogue{store.db(), images};

    // Template `id` of 支票 with one field, a dictionary row and a picture.
    void addWithParts(int id, const QString &last, const QString &isDefault = TemplateFlag::NotDefault)
    {
        TCheckType t = store.add(id, QStringLiteral("支票"), last, 0, isDefault);
        t.ImgFile = QStringLiteral("zp%1.jpg").arg(id);
        t.save(store.db());
        QDir().mkpath(images);
        QFile pic(images + t.ImgFile);
        pic.open(QIODevice::WriteOnly);
        pic.write(QByteArray("picture ") + QByteArray::number(id));
        CkControl f;
        f.CheckTypeID = id;
        f.CtlName = QStringLiteral("AMOUNT");
        CkControlStore(store.db()).save(f);
        store.db().exec("insert into DMTable (CheckTypeId, DMName, DMValue) values (?, '用途', '货款')", {id});
    }
    int rowsOf(int id)
    {
        return store.count("select (select count(*) from CKTypeTable where CheckTypeID=?)"
                           " + (select count(*) from CkControl where CheckTypeID=?)"
                           " + (select count(*) from DMTable where CheckTypeId=?)", {id, id, id});
    }
};

} // namespace

TEST(TemplateCatalogue, CloneThenDeleteLeavesTheOriginalUntouched)
{
    Catalogue c;
    c.addWithParts(3, QStringLiteral("工行"));
    QString message;
    const int id = c.catalogue.cloneTemplate(3, QStringLiteral(" 建行(新) "), &message);
    ASSERT_EQ(id, 4) << message.toStdString();
    EXPECT_EQ(c.store.db().scalar("select TypeName from CKTypeTable where CheckTypeID=4").toString(), "支票（建行新）");
    EXPECT_EQ(c.store.db().scalar("select TypeDescribe from CKTypeTable where CheckTypeID=4").toString(), "建行新");
    EXPECT_EQ(c.store.count("select count(*) from CkControl where CheckTypeID=4"), 1);
    EXPECT_TRUE(QFile::exists(c.images + "zp4.jpg"));

    EXPECT_TRUE(c.catalogue.deleteTemplate(4));
    EXPECT_EQ(c.rowsOf(4), 0);
    EXPECT_FALSE(QFile::exists(c.images + "zp4.jpg"));
    EXPECT_EQ(c.rowsOf(3), 3);
    EXPECT_TRUE(QFile::exists(c.images + "zp3.jpg"));
}

TEST(TemplateCatalogue, DeleteRemovesExactlyItsFieldsDictionaryRowsAndPicture)
{
    Catalogue c;
    c.addWithParts(1, QStringLiteral("甲"));
    c.addWithParts(2, QStringLiteral("乙"));
    EXPECT_TRUE(c.catalogue.deleteTemplate(1));
    EXPECT_EQ(c.rowsOf(1), 0);
    EXPECT_EQ(c.rowsOf(2), 3);
    EXPECT_EQ(QDir(c.images).entryList(QDir::Files), QStringList{"zp2.jpg"});
    EXPECT_FALSE(c.catalogue.deleteTemplate(1));
}

TEST(TemplateCatalogue, RefusedNames)
{
    Catalogue c;
    c.addWithParts(1, QStringLiteral("甲"));
    c.addWithParts(2, QStringLiteral("乙"));
    const struct { const char *answer; const char *message; } cases[] = {
        {"(  )'%", "输入了无效的字符(引号\\?\\*\\(\\)\\%)!"},
        {" 乙 ", "支票（乙）模板名字已经存在,请确认是否输入了重复的名字或者该模版正被隐藏。"},
    };
    for (const auto &tc : cases) {
        QString message;
        EXPECT_FALSE(c.catalogue.renameTemplate(1, QString::fromUtf8(tc.answer), &message));
        EXPECT_EQ(message, QString::fromUtf8(tc.message));
    }
    QString message;
    EXPECT_TRUE(c.catalogue.renameTemplate(1, QStringLiteral("丙"), &message));
    EXPECT_EQ(c.store.db().scalar("select TypeName from CKTypeTable where CheckTypeID=1").toString(), "支票（丙）");
    // The entry windows find templates by their last name.
    EXPECT_EQ(c.store.db().scalar("select TypeDescribe from CKTypeTable where CheckTypeID=1").toString(), "丙");
}

TEST(TemplateCatalogue, TheDefaultMovesWithinItsFamily)
{
    Catalogue c;
    c.addWithParts(1, QStringLiteral("甲"), TemplateFlag::Default);
    c.addWithParts(2, QStringLiteral("乙"));
    c.store.add(3, QStringLiteral("进账单"), QStringLiteral("丙"), 0, TemplateFlag::Default);
    EXPECT_TRUE(TCheckType::setDefaultByTypeName(c.store.db(), QStringLiteral("支票（乙）")));
    EXPECT_EQ(c.store.isDefaultOf(1), "0");
    EXPECT_EQ(c.store.isDefaultOf(2), "默认");
    EXPECT_EQ(c.store.isDefaultOf(3), "默认");
}
