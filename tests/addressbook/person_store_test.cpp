// The default drawer mark, deletions and the drawer loaded at start-up.
#include "addressbook/default_drawer.h"
#include "addressbook/person_store.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

int add(const Database &db, const QString &name, const QString &kind = UnitKind::Counterparty,
        const QString &group = QString())
{
    TPerson p;
    p.setFullName(name);
    p.setUnitKind(kind);
    p.setGroup(group);
    QString error;
    EXPECT_TRUE(p.save(db, &error)) << error.toStdString();
    return p.id();
}

int markedRows(const Database &db)
{
    return db.scalar("select count(*) from ckPersonalInfoTable where 分组 = ?", {kDefaultDrawerGroup}).toInt();
}

} // namespace

TEST(DefaultDrawer, MovesToExactlyOneRowWhichBecomesAnOwnUnit)
{
    TempDataRoot root;
    const Database &db = root.context().db();
    // Data written elsewhere may carry the mark twice.
    add(db, "旧出票人甲", UnitKind::Own, kDefaultDrawerGroup);
    add(db, "旧出票人乙", UnitKind::Own, kDefaultDrawerGroup);
    const int other = add(db, "客户公司", UnitKind::Counterparty, "华东");
    const int chosen = add(db, "新出票人", UnitKind::Counterparty, "华南");

    QString error;
    ASSERT_TRUE(PersonStore(db).setDefaultDrawer(chosen, &error)) << error.toStdString();
    EXPECT_EQ(markedRows(db), 1);
    const auto drawer = TPerson::findDefaultDrawer(db);
    ASSERT_TRUE(drawer);
    EXPECT_EQ(drawer->id(), chosen);
    EXPECT_EQ(drawer->unitKind(), UnitKind::Own);
    EXPECT_EQ(db.scalar("select count(*) from ckPersonalInfoTable where 分组 = ''").toInt(), 2);
    TPerson untouched;
    untouched.loadById(db, other);
    EXPECT_EQ(untouched.group(), "华东");

    // Marking the current drawer again keeps it.
    ASSERT_TRUE(PersonStore(db).setDefaultDrawer(chosen));
    EXPECT_EQ(TPerson::findDefaultDrawer(db)->id(), chosen);
}

TEST(DefaultDrawer, UnknownUnitChangesNothingAndIsNotASuccess)
{
    TempDataRoot root;
    const Database &db = root.context().db();
    const int current = add(db, "出票人", UnitKind::Own, kDefaultDrawerGroup);
    const int gone = add(db, "已删除");
    PersonStore(db).deleteById(gone);

    QString error;
    EXPECT_FALSE(PersonStore(db).setDefaultDrawer(gone, &error));
    EXPECT_FALSE(error.isEmpty());
    // The old mark was cleared and restored in one transaction.
    ASSERT_TRUE(TPerson::findDefaultDrawer(db));
    EXPECT_EQ(TPerson::findDefaultDrawer(db)->id(), current);
}

TEST(DefaultDrawer, LoadedAtStartOnlyWhenTheOptionIsOn)
{
    TempDataRoot root;
    AppContext &context = root.context();
    context.defaultDrawerOn = true;
    EXPECT_FALSE(loadDefaultDrawer(context)); // no marked unit yet

    const int id = add(context.db(), "出票人", UnitKind::Own);
    ASSERT_TRUE(PersonStore(context.db()).setDefaultDrawer(id));
    const auto drawer = loadDefaultDrawer(context);
    ASSERT_TRUE(drawer);
    EXPECT_EQ(drawer->fullName(), "出票人");

    context.defaultDrawerOn = false;
    EXPECT_FALSE(loadDefaultDrawer(context));
}

TEST(DefaultDrawer, TheContextHoldsTheDrawerReloadedFromTheMarkedUnit)
{
    TempDataRoot root;
    AppContext &context = root.context();
    EXPECT_FALSE(heldDefaultDrawer(context));  // nothing held before start-up

    context.defaultDrawerOn = true;
    const int id = add(context.db(), "北京禾朔科技有限公司", UnitKind::Own);
    ASSERT_TRUE(PersonStore(context.db()).setDefaultDrawer(id));
    reloadDefaultDrawer(context);
    ASSERT_TRUE(heldDefaultDrawer(context));
    EXPECT_EQ(heldDefaultDrawer(context)->id(), id);
    EXPECT_EQ(heldDefaultDrawer(context)->fullName(), "北京禾朔科技有限公司");

    // The option switched off: the next reload holds none.
    context.defaultDrawerOn = false;
    reloadDefaultDrawer(context);
    EXPECT_FALSE(heldDefaultDrawer(context));
}

TEST(PersonDeletion, DeletingAMissingRowIsReported)
{
    TempDataRoot root;
    const Database &db = root.context().db();
    const int id = add(db, "华夏公司");
    PersonStore store(db);
    EXPECT_TRUE(store.deleteById(id));
    QString error;
    EXPECT_FALSE(store.deleteById(id, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(store.countAll(), 0);
}

TEST(PersonDeletion, DeleteAllHonoursTheUnitKind)
{
    TempDataRoot root;
    const Database &db = root.context().db();
    add(db, "我方甲", UnitKind::Own);
    add(db, "往来甲");
    add(db, "往来乙");
    PersonStore store(db);

    EXPECT_EQ(store.deleteAllOfKind(UnitKind::Counterparty), 2);
    EXPECT_EQ(store.countAll(), 1);
    EXPECT_EQ(store.deleteAllOfKind(" x' or '1'='1 "), 0); // a kind, not SQL
    EXPECT_EQ(store.countAll(), 1);
    EXPECT_EQ(store.deleteAllOfKind("  "), 1); // blank: every unit
    EXPECT_EQ(store.countAll(), 0);
    EXPECT_EQ(store.deleteAllOfKind(QString()), 0);

    db.exec("drop table ckPersonalInfoTable");
    QString error;
    EXPECT_EQ(store.deleteAllOfKind(QString(), &error), -1);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(store.countAll(), -1);
}
