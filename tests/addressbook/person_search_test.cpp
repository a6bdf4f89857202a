// The address book's listing: keyword, unit kind, group and one-column
// queries, ordering, and texts that look like SQL or wildcards.
#include "addressbook/person_search.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

struct Row
{
    QString name;
    QString kind;
    QString group;
    QString contact;
    QString province;
    QString address;
    int sortKey;
};

void fill(const Database &db)
{
    const std::vector<Row> rows = {
        {"北京华夏公司", UnitKind::Own, kDefaultDrawerGroup, "张三", "北京", "朝阳区", 2},
        {"上海浦江公司", UnitKind::Counterparty, "华东", "李四", "上海", "浦东新区", 1},
        {"杭州西湖公司", UnitKind::Counterparty, "华东", "王五", "浙江", "北京路8号", 1},
        {"100%纯棉_店", UnitKind::Own, "网店", "O'Neil", "广东", "深圳", 3},
    };
    for (const Row &r : rows) {
        TPerson p;
        p.setFullName(r.name);
        p.setUnitKind(r.kind);
        p.setGroup(r.group);
        p.setContact(r.contact);
        p.setProvince(r.province);
        p.setAddress(r.address);
        ASSERT_TRUE(p.save(db));
        db.exec("update ckPersonalInfoTable set 排序 = ? where ID = ?", {r.sortKey, p.id()});
    }
}

QStringList names(const Database &db, const PersonFilter &filter)
{
    QString error;
    QStringList list;
    for (const TPerson &p : searchPersons(db, filter, &error))
        list << p.fullName();
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return list;
}

} // namespace

TEST(PersonSearch, KeywordSearchesEightColumnsAndLiftsTheKindFilter)
{
    TempDataRoot root;
    const Database &db = root.context().db();
    fill(db);
    PersonFilter f;
    f.keyword = "  北京 ";
    f.unitKind = UnitKind::Own; // not applied together with a keyword
    f.descending = false;
    // Found by province and by address.
    EXPECT_EQ(names(db, f), QStringList({"北京华夏公司", "杭州西湖公司"}));
}

TEST(PersonSearch, KindAndGroupFiltersCombine)
{
    TempDataRoot root;
    const Database &db = root.context().db();
    fill(db);
    PersonFilter f;
    f.unitKind = UnitKind::Counterparty;
    EXPECT_EQ(names(db, f).size(), 2);
    f.group = "华东";
    f.unitKind.clear();
    EXPECT_EQ(names(db, f).size(), 2);
    f.group = kDefaultDrawerGroup;
    EXPECT_EQ(names(db, f), QStringList({"北京华夏公司"}));
    f.group = kAllGroups;
    EXPECT_EQ(names(db, f).size(), 4);
}

TEST(PersonSearch, TypedWildcardsAndQuotesAreSearchedLiterally)
{
    TempDataRoot root;
    const Database &db = root.context().db();
    fill(db);
    PersonFilter f;
    f.keyword = "%";
    EXPECT_EQ(names(db, f), QStringList({"100%纯棉_店"}));
    f.keyword = "_";
    EXPECT_EQ(names(db, f), QStringList({"100%纯棉_店"}));
    f.keyword = "O'Neil";
    EXPECT_EQ(names(db, f), QStringList({"100%纯棉_店"}));
    f.keyword = "x' or '1'='1";
    EXPECT_TRUE(names(db, f).isEmpty());
}

TEST(PersonSearch, OneColumnQueryEqualsOrContains)
{
    TempDataRoot root;
    const Database &db = root.context().db();
    fill(db);
    PersonFilter f;
    f.exactColumn = "联系人";
    f.exactKey = "李";
    EXPECT_EQ(names(db, f), QStringList({"上海浦江公司"}));
    f.exactEquals = true;
    EXPECT_TRUE(names(db, f).isEmpty());
    f.exactKey = "o'neil"; // letter case ignored, quote kept
    EXPECT_EQ(names(db, f), QStringList({"100%纯棉_店"}));
}

TEST(PersonSearch, OnlyTheTablesColumnsCanBeNamed)
{
    TempDataRoot root;
    const Database &db = root.context().db();
    fill(db);
    PersonFilter f;
    f.exactColumn = "全称) or (1=1";
    f.exactKey = "x";
    QString error;
    EXPECT_TRUE(searchPersons(db, f, &error).empty());
    EXPECT_FALSE(error.isEmpty());

    PersonFilter order;
    order.orderColumn = "全称; drop table ckPersonalInfoTable";
    EXPECT_FALSE(buildPersonQuery(order, SqlDialect(SqlEngine::Sqlite)).ok());
    EXPECT_TRUE(buildPersonQuery(order, SqlDialect(SqlEngine::Sqlite)).sql.isEmpty());
    EXPECT_TRUE(db.tableExists("ckPersonalInfoTable"));

    db.exec("drop table ckPersonalInfoTable");
    error.clear();
    EXPECT_TRUE(searchPersons(db, PersonFilter(), &error).empty());
    // The engine's own words for the missing table reach the caller.
    EXPECT_TRUE(error.contains(db.isShared() ? "does not exist" : "no such table")) << error.toStdString();
}

TEST(PersonSearch, OrderBySortKeyThenName)
{
    TempDataRoot root;
    const Database &db = root.context().db();
    fill(db);
    PersonFilter f;
    f.orderColumn = "排序,全称";
    f.descending = true; // applies to the last column, as the full listing does
    const QStringList list = names(db, f);
    ASSERT_EQ(list.size(), 4);
    EXPECT_EQ(list.last(), "100%纯棉_店");
    // 排序 1 first; within it the names descend.
    EXPECT_EQ(list.mid(0, 2), QStringList({"杭州西湖公司", "上海浦江公司"}));
}
