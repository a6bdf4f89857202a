// New template ids, order values, the family default and removal.
#include "template_fixtures.h"

#include "templates/template_error.h"

using namespace billprint;
using namespace billprint::test;

TEST(TemplateIds, NextIdIsOneMoreThanTheHighestAndStartsAtOne)
{
    TemplateDb fx;
    // An empty table must not hand out 0: that id means "shared by all
    // templates" and no finder accepts it.
    EXPECT_EQ(TCheckType::nextCheckTypeId(fx.db()), 1);
    EXPECT_EQ(TCheckType::newCheckTypeId(fx.db()), 1);
    fx.add(3, QStringLiteral("支票"), QStringLiteral("工行"));
    fx.add(7, QStringLiteral("支票"), QStringLiteral("建行"));
    EXPECT_EQ(TCheckType::nextCheckTypeId(fx.db()), 8);
    EXPECT_EQ(TCheckType::newCheckTypeId(fx.db()), 8);
    // Removing the highest template frees its id again.
    EXPECT_TRUE(TCheckType::deleteTemplate(fx.db(), 7));
    EXPECT_EQ(TCheckType::nextCheckTypeId(fx.db()), 4);
}

TEST(TemplateIds, FailuresAreThrown)
{
    TemplateDb fx;
    ASSERT_TRUE(fx.db().exec("drop table CKTypeTable"));
    EXPECT_THROW(TCheckType::nextCheckTypeId(fx.db()), TemplateError);
    try {
        TCheckType::newCheckTypeId(fx.db());
        FAIL() << "no error";
    } catch (const TemplateError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("获取最大单据模版编号失败~"));
    }
    EXPECT_THROW(TCheckType::topShowOrd(fx.db()), TemplateError);
    EXPECT_THROW(TCheckType::bottomShowOrd(fx.db()), TemplateError);
    // A failure is not "no such template".
    EXPECT_THROW(TCheckType::setDefaultByTypeName(fx.db(), QStringLiteral("支票（工行）")), TemplateError);
    EXPECT_THROW(TCheckType::deleteTemplate(fx.db(), 1), TemplateError);
}

TEST(ShowOrd, TopAndBottomLieOutsideEveryValue)
{
    TemplateDb fx;
    EXPECT_EQ(TCheckType::topShowOrd(fx.db()), 0);
    EXPECT_EQ(TCheckType::bottomShowOrd(fx.db()), 0);
    fx.add(1, QStringLiteral("支票"), QStringLiteral("A"), 10);
    fx.add(2, QStringLiteral("支票"), QStringLiteral("B"), -4);
    EXPECT_EQ(TCheckType::topShowOrd(fx.db()), 11);
    EXPECT_EQ(TCheckType::bottomShowOrd(fx.db()), -5);
    EXPECT_EQ(fx.showOrdOf(1), 10);
    EXPECT_EQ(fx.showOrdOf(2), -4);
}

TEST(ShowOrd, ValuesAreRenumberedOnlyBeyondTheLimit)
{
    TemplateDb fx;
    fx.add(1, QStringLiteral("支票"), QStringLiteral("A"), 65529, TemplateFlag::Default);
    fx.add(2, QStringLiteral("支票"), QStringLiteral("B"), -65529);
    fx.add(3, QStringLiteral("进账单"), QStringLiteral("C"), 40, TemplateFlag::Default);
    fx.add(4, QStringLiteral("进账单"), QStringLiteral("D"), 700);

    // Exactly at the limit nothing moves.
    EXPECT_EQ(TCheckType::topShowOrd(fx.db()), 65530);
    EXPECT_EQ(TCheckType::bottomShowOrd(fx.db()), -65530);
    EXPECT_EQ(fx.showOrdOf(4), 700);

    // One further up: everything becomes 1, the defaults 2, and the value
    // handed out is still above all of them.
    ASSERT_TRUE(fx.db().exec("update CKTypeTable set ShowOrd=65530 where CheckTypeID=1"));
    EXPECT_EQ(TCheckType::topShowOrd(fx.db()), 65531);
    EXPECT_EQ(std::vector({fx.showOrdOf(1), fx.showOrdOf(2), fx.showOrdOf(3), fx.showOrdOf(4)}),
              std::vector({2, 1, 2, 1}));

    ASSERT_TRUE(fx.db().exec("update CKTypeTable set ShowOrd=-65530 where CheckTypeID=4"));
    EXPECT_EQ(TCheckType::bottomShowOrd(fx.db()), -65531);
    EXPECT_EQ(std::vector({fx.showOrdOf(1), fx.showOrdOf(2), fx.showOrdOf(3), fx.showOrdOf(4)}),
              std::vector({2, 1, 2, 1}));
}

TEST(FamilyDefault, OneDefaultPerFamilyAndItComesFirst)
{
    TemplateDb fx;
    fx.add(1, QStringLiteral("支票"), QStringLiteral("工行"), 5, TemplateFlag::Default);
    TCheckType hidden = fx.add(2, QStringLiteral("支票"), QStringLiteral("建行"), 3);
    hidden.Visiable = TemplateFlag::Hidden;
    hidden.IsCommon = TemplateFlag::NotCommon;
    hidden.save(fx.db());
    fx.add(3, QStringLiteral("进账单"), QStringLiteral("工行"), 40, TemplateFlag::Default);
    // A row of old data without a stored family that still says it is
    // the cheque default.
    ASSERT_TRUE(fx.db().exec("insert into CKTypeTable (CheckTypeID, TypeName, TypeFirstName, TypeDescribe, "
                             "IsDefault, ShowOrd) values (4, '支票（旧）', '', '旧', '默认', 1)"));

    ASSERT_TRUE(TCheckType::setDefaultByTypeName(fx.db(), QStringLiteral("支票（建行）")));
    std::optional<TCheckType> chosen = TCheckType::findById(fx.db(), 2);
    EXPECT_EQ(chosen->IsDefault, TemplateFlag::Default);
    EXPECT_EQ(chosen->IsCommon, TemplateFlag::Common);
    EXPECT_EQ(chosen->Visiable, TemplateFlag::Enabled);
    EXPECT_EQ(chosen->ShowOrd, 42);  // highest of the table plus two
    EXPECT_EQ(fx.isDefaultOf(1), "0");
    EXPECT_EQ(fx.isDefaultOf(4), "0");
    EXPECT_EQ(fx.isDefaultOf(3), TemplateFlag::Default);  // other families keep theirs
    EXPECT_EQ(fx.count("select count(*) from CKTypeTable where IsDefault='默认'"), 2);
    EXPECT_EQ(TCheckType::findDefaultByFirstName(fx.db(), QStringLiteral("支票"))->CheckTypeID, 2);
}

TEST(FamilyDefault, UnknownTemplateChangesNothing)
{
    TemplateDb fx;
    fx.add(1, QStringLiteral("支票"), QStringLiteral("工行"), 5, TemplateFlag::Default);
    EXPECT_FALSE(TCheckType::setDefaultByTypeName(fx.db(), QStringLiteral("支票（农行）")));
    EXPECT_FALSE(TCheckType::setDefaultByTypeName(fx.db(), QString()));
    EXPECT_EQ(fx.isDefaultOf(1), TemplateFlag::Default);
    EXPECT_EQ(fx.showOrdOf(1), 5);
}

TEST(FamilyDefault, NewDefaultNearTheLimitStaysFirstAfterRenumbering)
{
    TemplateDb fx;
    fx.add(1, QStringLiteral("支票"), QStringLiteral("工行"), 65530, TemplateFlag::Default);
    fx.add(2, QStringLiteral("支票"), QStringLiteral("建行"), 12);
    fx.add(3, QStringLiteral("进账单"), QStringLiteral("工行"), 8, TemplateFlag::Default);
    ASSERT_TRUE(TCheckType::setDefaultByTypeName(fx.db(), QStringLiteral("支票（建行）")));
    EXPECT_EQ(fx.showOrdOf(2), 65532);
    EXPECT_EQ(fx.showOrdOf(1), 2);  // renumbered while it was still the default
    EXPECT_EQ(fx.showOrdOf(3), 2);
    EXPECT_EQ(fx.isDefaultOf(1), "0");
}

TEST(FamilyDefault, OldDefaultIsFoundByItsFullName)
{
    TemplateDb fx;
    ASSERT_TRUE(fx.db().exec("insert into CKTypeTable (CheckTypeID, TypeName, TypeDescribe, IsDefault, Visiable, "
                             "ShowOrd) values (5, '进账单（中行）', '中行', '默认', '启用', 0)"));
    std::optional<TCheckType> t = TCheckType::findDefaultByFirstName(fx.db(), QStringLiteral("进账单"));
    ASSERT_TRUE(t);
    EXPECT_EQ(t->CheckTypeID, 5);
}

namespace {

void addFieldsAndOptions(TemplateDb &fx, int id)
{
    ASSERT_TRUE(fx.db().exec("insert into CkControl (CheckTypeID, CtlName) values (?, 'ZDA'), (?, 'ZDB')", {id, id}));
    ASSERT_TRUE(fx.db().exec("insert into DMTable (CheckTypeID, DMName, DMValue) values (?, 'cfgDefaultMoney', '人民币'), "
                             "(?, '用途', '货款')", {id, id}));
}

} // namespace

TEST(TemplateDelete, RemovesTheTemplateWithItsFieldsAndOwnRowsOnly)
{
    TemplateDb fx;
    fx.add(3, QStringLiteral("支票"), QStringLiteral("工行"));
    fx.add(4, QStringLiteral("支票"), QStringLiteral("建行"));
    addFieldsAndOptions(fx, 3);
    addFieldsAndOptions(fx, 4);
    ASSERT_TRUE(fx.db().exec("insert into DMTable (CheckTypeID, DMName, DMValue) values (0, '用途', '工资')"));

    EXPECT_TRUE(TCheckType::deleteTemplate(fx.db(), 3));
    EXPECT_FALSE(TCheckType::findById(fx.db(), 3));
    EXPECT_EQ(fx.count("select count(*) from CkControl where CheckTypeID=3"), 0);
    EXPECT_EQ(fx.count("select count(*) from DMTable where CheckTypeID=3"), 0);
    EXPECT_EQ(fx.count("select count(*) from CkControl where CheckTypeID=4"), 2);
    EXPECT_EQ(fx.count("select count(*) from DMTable where CheckTypeID=4"), 2);
    EXPECT_EQ(fx.count("select count(*) from DMTable where CheckTypeID=0"), 1);

    EXPECT_FALSE(TCheckType::deleteTemplate(fx.db(), 3));
    EXPECT_FALSE(TCheckType::deleteTemplate(fx.db(), 0));
}

TEST(TemplateDelete, AFailingStepLeavesEverythingInPlace)
{
    TemplateDb fx;
    fx.add(3, QStringLiteral("支票"), QStringLiteral("工行"));
    addFieldsAndOptions(fx, 3);
    ASSERT_TRUE(refuseChanges(fx.db(), "keep_options", "delete", "DMTable", "options are locked"));

    try {
        TCheckType::deleteTemplate(fx.db(), 3);
        FAIL() << "no error";
    } catch (const TemplateError &e) {
        EXPECT_TRUE(e.message().contains("options are locked")) << e.what();
    }
    EXPECT_TRUE(TCheckType::findById(fx.db(), 3));
    EXPECT_EQ(fx.count("select count(*) from CkControl where CheckTypeID=3"), 2);
    EXPECT_EQ(fx.count("select count(*) from DMTable where CheckTypeID=3"), 2);
}
