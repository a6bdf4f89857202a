// Address-book records: reading and writing rows, the finders that fill a
// bill from a few typed characters, and the waybill receiver.
#include "addressbook/person.h"
#include "test_support.h"

#include <QSqlField>
#include <QSqlRecord>
#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

TPerson unit(const QString &name, const QString &account = QString(), const QString &code = QString())
{
    TPerson p;
    p.setFullName(name);
    p.setAccount(account);
    p.setInputCode(code);
    p.setUnitKind(UnitKind::Counterparty);
    return p;
}

int stored(Database &db, TPerson p)
{
    QString error;
    EXPECT_TRUE(p.save(db, &error)) << error.toStdString();
    return p.id();
}

int rowCount(const Database &db)
{
    return db.scalar("select count(*) from ckPersonalInfoTable").toInt();
}

// Every text field set to a value naming its column.
TPerson everyFieldFilled()
{
    TPerson p;
    for (const QString &column : TPerson::textColumns())
        p.setText(column, column + QStringLiteral("值'"));
    p.setUnitKind(UnitKind::Own);
    return p;
}

} // namespace

TEST(PersonRecord, FreshRecordIsEmptyAndNotStored)
{
    TPerson p;
    EXPECT_EQ(p.id(), 0);
    EXPECT_FALSE(p.isStored());
    ASSERT_EQ(TPerson::textColumns().size(), 22);
    for (const QString &column : TPerson::textColumns())
        EXPECT_TRUE(p.text(column).isEmpty()) << column.toStdString();
    EXPECT_FALSE(p.setText("排序", "1")); // not a text field of the record
}

TEST(PersonRecord, EveryColumnSurvivesSaveAndLoad)
{
    TempDataRoot root;
    Database &db = root.context().db();
    TPerson original = everyFieldFilled();
    QString error;
    ASSERT_TRUE(original.save(db, &error)) << error.toStdString();
    ASSERT_GT(original.id(), 0);

    TPerson loaded;
    ASSERT_EQ(loaded.loadById(db, original.id()), PersonLoad::Loaded);
    EXPECT_EQ(loaded, original);
    EXPECT_EQ(loaded.fullName(), "全称值'");
    EXPECT_EQ(loaded.extraInfo(), "扩展信息值'");
}

TEST(PersonRecord, SavingAgainUpdatesTheSameRowInsteadOfAddingOne)
{
    TempDataRoot root;
    Database &db = root.context().db();
    TPerson p = unit("华夏公司", "6222");
    ASSERT_TRUE(p.save(db));
    const int id = p.id();
    p.setContact("张三");
    ASSERT_TRUE(p.save(db));
    EXPECT_EQ(p.id(), id);
    EXPECT_EQ(rowCount(db), 1);
    EXPECT_EQ(TPerson::findByName(db, "华夏公司")->contact(), "张三");

    // A second row of the same unit comes from clearing the ID on purpose.
    p.setId(0);
    p.setAccount("6333");
    ASSERT_TRUE(p.save(db));
    EXPECT_NE(p.id(), id);
    EXPECT_EQ(rowCount(db), 2);
}

TEST(PersonRecord, RecordWhoseRowWasDeletedIsAppendedAgain)
{
    TempDataRoot root;
    Database &db = root.context().db();
    TPerson p = unit("华夏公司");
    ASSERT_TRUE(p.save(db));
    const int oldId = p.id();
    db.exec("delete from ckPersonalInfoTable");
    ASSERT_TRUE(p.save(db));
    EXPECT_GT(p.id(), 0);
    EXPECT_NE(p.id(), oldId);
    EXPECT_EQ(rowCount(db), 1);
}

TEST(PersonRecord, SaveLeavesSortKeyAloneAndStoresEmptyTextsNotNull)
{
    TempDataRoot root;
    Database &db = root.context().db();
    TPerson p = unit("华夏公司");
    ASSERT_TRUE(p.save(db));
    db.exec("update ckPersonalInfoTable set 排序 = 7 where ID = ?", {p.id()});
    p.setPhone("010-1234");
    ASSERT_TRUE(p.save(db));
    EXPECT_EQ(db.scalar("select 排序 from ckPersonalInfoTable where ID = ?", {p.id()}).toInt(), 7);
    // Texts left empty are '' in the table, so '' comparisons find them.
    EXPECT_EQ(db.scalar("select count(*) from ckPersonalInfoTable where 联系人 = '' and 自定义3 = ''").toInt(), 1);
}

TEST(PersonRecord, UnitKindIsAlwaysOneOfTheTwoWords)
{
    TempDataRoot root;
    Database &db = root.context().db();
    for (const QString &kind : {QString(), QStringLiteral("客户"), UnitKind::Counterparty, UnitKind::Own}) {
        TPerson p = unit("某公司");
        p.setUnitKind(kind);
        ASSERT_TRUE(p.save(db));
        TPerson back;
        back.loadById(db, p.id());
        EXPECT_EQ(back.unitKind(), kind == UnitKind::Own ? UnitKind::Own : UnitKind::Counterparty);
    }
}

TEST(PersonRecord, FailedWritesReportTheDatabaseMessageAndKeepTheRecord)
{
    TempDataRoot root;
    Database &db = root.context().db();
    TPerson p = unit("华夏公司");
    ASSERT_TRUE(p.save(db));
    const int id = p.id();

    // An update the database silently skips changed nothing: not a success.
    ASSERT_TRUE(refuseChanges(db, "keep", "update", "ckPersonalInfoTable", ""));
    p.setContact("李四");
    QString error;
    EXPECT_FALSE(p.save(db, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(p.id(), id);
    EXPECT_EQ(p.contact(), "李四"); // what the user typed is still there

    ASSERT_TRUE(dropRefusal(db, "keep", "ckPersonalInfoTable"));
    ASSERT_TRUE(refuseChanges(db, "refuse", "insert", "ckPersonalInfoTable", "磁盘已满"));
    TPerson fresh = unit("新公司");
    error.clear();
    EXPECT_FALSE(fresh.save(db, &error));
    EXPECT_TRUE(error.contains("磁盘已满")) << error.toStdString();
    EXPECT_EQ(fresh.id(), 0);
    EXPECT_EQ(rowCount(db), 1);
}

TEST(PersonRecord, LoadByIdTellsFailureFromAbsence)
{
    TempDataRoot root;
    Database &db = root.context().db();
    const int id = stored(db, unit("华夏公司"));

    TPerson p = unit("未改动");
    EXPECT_EQ(p.loadById(db, 0), PersonLoad::Failed);
    EXPECT_EQ(p.loadById(db, -1), PersonLoad::Failed);
    EXPECT_EQ(p.loadById(db, id + 100), PersonLoad::NotFound);
    EXPECT_EQ(p.fullName(), "未改动");
    EXPECT_EQ(p.id(), 0);

    ASSERT_EQ(p.loadById(db, id), PersonLoad::Loaded);
    EXPECT_EQ(p.id(), id);
    EXPECT_EQ(p.fullName(), "华夏公司");

    db.exec("drop table ckPersonalInfoTable");
    EXPECT_EQ(p.loadById(db, id), PersonLoad::Failed);
    EXPECT_EQ(p.fullName(), "华夏公司");
    // The message names the real cause for the user.
    QString error;
    EXPECT_FALSE(p.save(db, &error));
    EXPECT_TRUE(error.contains(db.isShared() ? "does not exist" : "no such table")) << error.toStdString();
}

TEST(PersonRecord, RowsWithNullsOrMissingColumnsReadAsEmptyTexts)
{
    TempDataRoot root;
    Database &db = root.context().db();
    db.exec("insert into ckPersonalInfoTable (全称) values ('只有名称')");
    const auto p = TPerson::findByName(db, "只有名称");
    ASSERT_TRUE(p);
    EXPECT_GT(p->id(), 0);
    EXPECT_TRUE(p->contact().isEmpty());
    EXPECT_TRUE(p->custom3().isEmpty());

    // A row from an older table without the custom columns; "id" in
    // another letter case.
    QSqlRecord old;
    old.append(QSqlField("id", QMetaType(QMetaType::Int)));
    old.append(QSqlField("全称", QMetaType(QMetaType::QString)));
    old.setValue(0, 12);
    old.setValue(1, "旧公司");
    TPerson q = everyFieldFilled();
    q.loadFromRow(old);
    EXPECT_EQ(q.id(), 12);
    EXPECT_EQ(q.fullName(), "旧公司");
    EXPECT_TRUE(q.custom1().isEmpty());
}

TEST(PersonFinders, EmptyKeysFindNothing)
{
    TempDataRoot root;
    Database &db = root.context().db();
    stored(db, unit(""));
    EXPECT_FALSE(TPerson::findByInputCode(db, ""));
    EXPECT_FALSE(TPerson::findByName(db, ""));
    EXPECT_FALSE(TPerson::findByNameAndAccount(db, "", ""));
    EXPECT_FALSE(TPerson::findByNameAndContact(db, "", ""));
    EXPECT_FALSE(TPerson::findByContact(db, ""));
    EXPECT_FALSE(TPerson::findByAccount(db, ""));
}

TEST(PersonFinders, InputCodeMatchesExactlyOrByContainment)
{
    TempDataRoot root;
    Database &db = root.context().db();
    const int ab01 = stored(db, unit("甲", "", "ab01"));
    const int xab = stored(db, unit("乙", "", "xab9"));
    const int axb = stored(db, unit("丙", "", "a_b"));

    EXPECT_EQ(TPerson::findByInputCode(db, "ab01")->id(), ab01);
    EXPECT_EQ(TPerson::findByInputCode(db, "AB01")->id(), ab01); // letter case ignored
    EXPECT_FALSE(TPerson::findByInputCode(db, "ab0"));            // no wildcard: exact only
    EXPECT_EQ(TPerson::findByInputCode(db, "ab%")->id(), ab01);   // first of two containing "ab"
    EXPECT_EQ(TPerson::findByInputCode(db, "ab9*")->id(), xab);
    EXPECT_EQ(TPerson::findByInputCode(db, "a*b%")->id(), ab01);   // searches "ab"
    EXPECT_FALSE(TPerson::findByInputCode(db, "%"));
    EXPECT_FALSE(TPerson::findByInputCode(db, "*%*"));
    // "_" is a character of the code, not a wildcard.
    EXPECT_EQ(TPerson::findByInputCode(db, "a_b%")->id(), axb);
    EXPECT_FALSE(TPerson::findByInputCode(db, "b_0%"));
}

TEST(PersonFinders, TwoKeyFindersPickTheRowOfAMultiRowUnit)
{
    TempDataRoot root;
    Database &db = root.context().db();
    TPerson first = unit("华夏公司", "111");
    first.setContact("张三");
    TPerson second = unit("华夏公司", "222");
    second.setContact("李四");
    TPerson noAccount = unit("华夏公司", "");
    noAccount.setContact("王五");
    const int id1 = stored(db, first);
    const int id2 = stored(db, second);
    const int id3 = stored(db, noAccount);
    db.exec("insert into ckPersonalInfoTable (全称, 联系人) values ('华夏公司', '赵六')"); // NULL account

    EXPECT_EQ(TPerson::findByName(db, "华夏公司")->id(), id1);
    EXPECT_EQ(TPerson::findByNameAndAccount(db, "华夏公司", "222")->id(), id2);
    EXPECT_FALSE(TPerson::findByNameAndAccount(db, "华夏公司", "333"));
    EXPECT_EQ(TPerson::findByNameAndAccount(db, "华夏公司", "")->id(), id3);
    EXPECT_EQ(TPerson::findByNameAndContact(db, "华夏公司", "李四")->id(), id2);
    EXPECT_EQ(TPerson::findByContact(db, "王五")->id(), id3);
    EXPECT_EQ(TPerson::findByAccount(db, "222")->id(), id2);
    EXPECT_FALSE(TPerson::findByName(db, "华夏"));
}

TEST(PersonFinders, QuotesInNamesAndAccountsAreFoundLikeAnyText)
{
    TempDataRoot root;
    Database &db = root.context().db();
    TPerson p = unit("O'Brien's 贸易' or '1'='1", "62'22", "ob'1");
    p.setContact("D'Arcy");
    const int id = stored(db, p);
    stored(db, unit("其他公司", "9999", "zz"));

    EXPECT_EQ(TPerson::findByName(db, "O'Brien's 贸易' or '1'='1")->id(), id);
    EXPECT_EQ(TPerson::findByNameAndAccount(db, "O'Brien's 贸易' or '1'='1", "62'22")->id(), id);
    EXPECT_EQ(TPerson::findByNameAndContact(db, "O'Brien's 贸易' or '1'='1", "D'Arcy")->id(), id);
    EXPECT_EQ(TPerson::findByContact(db, "D'Arcy")->id(), id);
    EXPECT_EQ(TPerson::findByAccount(db, "62'22")->id(), id);
    EXPECT_EQ(TPerson::findByInputCode(db, "ob'1")->id(), id);
    EXPECT_EQ(TPerson::findByInputCode(db, "b'%")->id(), id);
    EXPECT_FALSE(TPerson::findByName(db, "x' or '1'='1"));
}

TEST(PersonFinders, DatabaseErrorsGiveNone)
{
    TempDataRoot root;
    Database &db = root.context().db();
    stored(db, unit("华夏公司", "1", "hx"));
    db.exec("drop table ckPersonalInfoTable");
    EXPECT_FALSE(TPerson::findByName(db, "华夏公司"));
    EXPECT_FALSE(TPerson::findByInputCode(db, "hx%"));
    EXPECT_FALSE(TPerson::findDefaultDrawer(db));
}

TEST(PersonFinders, DefaultDrawerIsTheMarkedRow)
{
    TempDataRoot root;
    Database &db = root.context().db();
    stored(db, unit("往来甲"));
    EXPECT_FALSE(TPerson::findDefaultDrawer(db));
    TPerson own = unit("我方公司");
    own.setGroup(kDefaultDrawerGroup);
    own.setUnitKind(UnitKind::Own);
    const int id = stored(db, own);
    const auto drawer = TPerson::findDefaultDrawer(db);
    ASSERT_TRUE(drawer);
    EXPECT_EQ(drawer->id(), id);
    EXPECT_EQ(drawer->fullName(), "我方公司");
}

TEST(WaybillReceiver, ResetEmptiesEverythingButTheRemark)
{
    TPersonKDD r;
    for (const QString &column : TPerson::textColumns())
        r.setText(column, "x");
    r.setId(5);
    r.setGoodsDescription("文件");
    r.setDestinationStation("广州");
    r.reset();
    EXPECT_EQ(r.id(), -1);
    for (const QString &column : TPerson::textColumns())
        EXPECT_EQ(r.text(column), column == "扩展信息" ? "x" : "") << column.toStdString();
    EXPECT_TRUE(r.goodsDescription().isEmpty());
    EXPECT_TRUE(r.destinationStation().isEmpty());
}

TEST(WaybillReceiver, LoadsFromTheAddressBookAfterReset)
{
    TempDataRoot root;
    Database &db = root.context().db();
    TPerson p = unit("收件公司");
    p.setAddress("广州市天河路1号");
    const int id = stored(db, p);
    TPersonKDD r;
    r.setGoodsDescription("样品");
    r.reset();
    ASSERT_EQ(r.loadById(db, id), PersonLoad::Loaded);
    EXPECT_EQ(r.address(), "广州市天河路1号");
    EXPECT_TRUE(r.goodsDescription().isEmpty());
}
