// The shared lookups: what each list holds, the order it comes in, the
// name and id resolutions of bill types with their messages, older
// databases, and names with apostrophes.
#include "app/lookups.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

struct BillType
{
    int id;
    QString first;
    QString last;
    QString visible = QStringLiteral("启用");
    QString isDefault = QStringLiteral("0");
    QString common = QStringLiteral("否");
    int order = 0;
    QString fullName = QString();  // first（last） when empty
};

void addType(Database &db, const BillType &t)
{
    const QString full = t.fullName.isEmpty() ? t.first + "（" + t.last + "）" : t.fullName;
    ASSERT_TRUE(db.exec("insert into CKTypeTable (CheckTypeID, TypeName, TypeFirstName, TypeDescribe, Visiable, "
                        "IsDefault, IsCommon, ShowOrd) values (?, ?, ?, ?, ?, ?, ?, ?)",
                        {t.id, full, t.first, t.last, t.visible, t.isDefault, t.common, t.order}));
}

void addPerson(Database &db, const QString &name, const QString &kind, const QString &group = QString(),
               const QString &province = QString(), const QString &bank = QString(),
               const QString &account = QString())
{
    auto orNull = [](const QString &s) { return s.isNull() ? QVariant() : QVariant(s); };
    ASSERT_TRUE(db.exec("insert into ckPersonalInfoTable (全称, 单位类型, 分组, 省, 开户银行, 开户行账号) "
                        "values (?, ?, ?, ?, ?, ?)",
                        {name, kind, orNull(group), orNull(province), orNull(bank), orNull(account)}));
}

void addEntry(Database &db, const QString &name, const QString &value, int typeId)
{
    ASSERT_TRUE(db.exec("insert into DMTable (CheckTypeId, DMName, DMValue) values (?, ?, ?)", {typeId, name, value}));
}

} // namespace

// ---- currencies -----------------------------------------------------------

TEST(CurrencyLookups, DeliveredListStartsWithRenminbiAndResolvesBothWays)
{
    TempDataRoot root;
    Lookups lookups(root.context().db());
    const QStringList names = lookups.loadMoneyTypeList();
    ASSERT_FALSE(names.isEmpty());
    EXPECT_EQ(names.first(), "人民币");
    for (const QString &name : {"美元", "港币", "欧元", "日元", "英镑"})
        EXPECT_TRUE(names.contains(name)) << name.toStdString();
    EXPECT_EQ(QStringList(names).removeDuplicates(), 0);
    EXPECT_EQ(lookups.getMoneyCodeByName("人民币"), "￥");
    EXPECT_EQ(lookups.getMoneyNameByCode("HK$"), "港币");
    EXPECT_EQ(lookups.getMoneyCodeByName("卢比"), "");
    EXPECT_EQ(lookups.getMoneyNameByCode("?"), "");
    EXPECT_TRUE(lookups.lastError().isEmpty());
}

TEST(CurrencyLookups, ListFollowsDisplayOrderAndApostrophesResolve)
{
    TempDataRoot root;
    Database &db = root.context().db();
    db.exec("delete from coins");
    db.exec("insert into coins (币种, 缩写, 顺序) values ('低', 'L', 1), ('高', 'H', 9), ('O''Dollar', 'O''$', 5)");
    Lookups lookups(db);
    EXPECT_EQ(lookups.loadMoneyTypeList(), QStringList({"高", "O'Dollar", "低"}));
    EXPECT_EQ(lookups.getMoneyCodeByName("O'Dollar"), "O'$");
    EXPECT_EQ(lookups.getMoneyNameByCode("O'$"), "O'Dollar");
    EXPECT_TRUE(lookups.lastError().isEmpty());
}

// ---- places ---------------------------------------------------------------

TEST(PlaceLookups, ProvincesInPinyinOrderAndCitiesOfTheTrimmedProvince)
{
    TempDataRoot root;
    Lookups lookups(root.context().db());
    const QStringList provinces = lookups.loadProvinces();
    ASSERT_EQ(provinces.size(), 34);
    EXPECT_EQ(provinces.mid(0, 3), QStringList({"安徽省", "澳门特别行政区", "北京"}));
    EXPECT_LT(provinces.indexOf("福建省"), provinces.indexOf("广东省"));
    EXPECT_LT(provinces.indexOf("广东省"), provinces.indexOf("浙江省"));

    const QStringList cities = lookups.loadCitysByProvince("  广东省 ");
    EXPECT_EQ(cities.size(), 21);
    EXPECT_TRUE(cities.contains("深圳市"));
    EXPECT_LT(cities.indexOf("潮州市"), cities.indexOf("东莞市"));  // chao < dong
    EXPECT_TRUE(lookups.loadCitysByProvince("   ").isEmpty());
}

TEST(PlaceLookups, ReplacementPairsAreNoPlacesAndApostrophesWork)
{
    TempDataRoot root;
    Database &db = root.context().db();
    db.exec("insert into DMTable2 (类型, 一级代码, 二级代码) values ('其他字符', '广东省', '粤')");
    db.exec("insert into DMTable2 (类型, 一级代码, 二级代码) values ('省市', 'O''Land', 'St. John''s')");
    Lookups lookups(db);
    EXPECT_FALSE(lookups.loadCitysByProvince("广东省").contains("粤"));
    EXPECT_TRUE(lookups.loadProvinces().contains("O'Land"));
    EXPECT_EQ(lookups.loadCitysByProvince("O'Land"), QStringList{"St. John's"});
}

// ---- address book ---------------------------------------------------------

TEST(AddressBookLookups, CompaniesByKindEachOnceSorted)
{
    TempDataRoot root;
    Database &db = root.context().db();
    addPerson(db, "北方公司", "往来单位");
    addPerson(db, "北方公司", "往来单位");  // a second account of the same unit
    addPerson(db, "O'Brien 贸易", "往来单位");
    addPerson(db, "本公司", "我方单位");
    Lookups lookups(db);
    EXPECT_EQ(lookups.loadCompanyList("往来单位"), QStringList({"北方公司", "O'Brien 贸易"}));
    EXPECT_EQ(lookups.loadCompanyList("我方单位"), QStringList({"本公司"}));
    EXPECT_EQ(lookups.loadCompanyList(""), QStringList({"北方公司", "本公司", "O'Brien 贸易"}));
}

TEST(AddressBookLookups, GroupsLeaveOutTheDrawerGroupAndBlanks)
{
    TempDataRoot root;
    Database &db = root.context().db();
    addPerson(db, "甲", "往来单位", "供应商");
    addPerson(db, "乙", "往来单位", "客户");
    addPerson(db, "丙", "我方单位", "默认出票人");
    addPerson(db, "丁", "往来单位", "  ");
    addPerson(db, "戊", "往来单位");  // no group
    addPerson(db, "己", "往来单位", "客户");
    Lookups lookups(db);
    EXPECT_EQ(lookups.loadPersonTableGroupList(), QStringList({"供应商", "客户"}));
}

TEST(AddressBookLookups, ProvincesOfTheAddressBookWithoutBlanks)
{
    TempDataRoot root;
    Database &db = root.context().db();
    addPerson(db, "甲", "往来单位", {}, "浙江省");
    addPerson(db, "乙", "往来单位", {}, "");
    addPerson(db, "丙", "往来单位", {}, "北京");
    addPerson(db, "丁", "往来单位");
    Lookups lookups(db);
    EXPECT_EQ(lookups.loadPersonTableProvinceList(), QStringList({"北京", "浙江省"}));
}

TEST(AddressBookLookups, AccountsOfACompanyAndBanksOfAnAccount)
{
    TempDataRoot root;
    Database &db = root.context().db();
    addPerson(db, "O'Brien 贸易", "往来单位", {}, {}, "工商银行", "6222 0001");
    addPerson(db, "O'Brien 贸易", "往来单位", {}, {}, "建设银行", "6217 0002");
    addPerson(db, "其他公司", "往来单位", {}, {}, "农业银行", "6228 0003");
    Lookups lookups(db);
    EXPECT_EQ(lookups.loadAccountsByCompany(" O'Brien 贸易 "), QStringList({"6217 0002", "6222 0001"}));
    EXPECT_TRUE(lookups.loadAccountsByCompany("  ").isEmpty());
    EXPECT_EQ(lookups.loadBankNamesByAccount("6222 0001 "), QStringList({"工商银行"}));
    EXPECT_TRUE(lookups.loadBankNamesByAccount("").isEmpty());
}

// ---- dictionary -----------------------------------------------------------

TEST(DictionaryLookups, CurrentBillTypeValuesComeBeforeSharedOnes)
{
    TempDataRoot root;
    Database &db = root.context().db();
    db.exec("delete from DMTable");
    addEntry(db, "用途", "货款", 0);
    addEntry(db, "用途", "工资", 0);
    addEntry(db, "用途", "差旅费", 5);
    addEntry(db, "用途", "租金", 5);
    addEntry(db, "用途", "货款", 5);   // the same value for two bill types
    addEntry(db, "用途", "租金", 5);   // twice for one bill type: listed once
    addEntry(db, "用途", "办公费", 7);
    addEntry(db, "备注", "到付", 5);
    Lookups lookups(db);
    EXPECT_EQ(lookups.loadDMListByName("用途", "0,5"), QStringList({"差旅费", "租金", "货款", "货款", "工资"}));
    EXPECT_EQ(lookups.loadDMListByName("用途", "5,0"), lookups.loadDMListByName("用途", "0,5"));
    EXPECT_EQ(lookups.loadDMListByName("用途", "0"), QStringList({"货款", "工资"}));
    EXPECT_EQ(lookups.loadDMListByName("用途", QList<int>{7}), QStringList({"办公费"}));
    EXPECT_TRUE(lookups.loadDMListByName("用途", "9").isEmpty());
    EXPECT_TRUE(lookups.lastError().isEmpty());
}

TEST(DictionaryLookups, ABadIdListIsAnErrorNotAnotherList)
{
    TempDataRoot root;
    Lookups lookups(root.context().db());
    EXPECT_TRUE(lookups.loadDMListByName("用途", "0,5) or (1=1").isEmpty());
    EXPECT_FALSE(lookups.lastError().isEmpty());
    EXPECT_FALSE(lookups.loadDMListByName("用途", "0,").isEmpty());  // a trailing comma is no id
    EXPECT_TRUE(lookups.lastError().isEmpty());
}

TEST(DictionaryLookups, NamesAndValuesWithApostrophes)
{
    TempDataRoot root;
    Database &db = root.context().db();
    addEntry(db, "客户's 备注", "it's fragile", 0);
    Lookups lookups(db);
    EXPECT_EQ(lookups.loadDMListByName("客户's 备注", "0"), QStringList({"it's fragile"}));
}

TEST(DictionaryLookups, DeliveredSharedListsUseTheNamesTheBillWindowsAskFor)
{
    TempDataRoot root;
    Lookups lookups(root.context().db());
    EXPECT_TRUE(lookups.loadDMListByName("用途", "0").contains("货款"));
    EXPECT_TRUE(lookups.loadDMListByName("用途", "0").contains("差旅费"));
    EXPECT_EQ(lookups.loadDMListByName("国家", "0").value(0), "中国");
    for (const QString &name : {"票据种类", "始发站", "物品内容", "备注"})
        EXPECT_FALSE(lookups.loadDMListByName(name, "0").isEmpty()) << name.toStdString();
}

// ---- issued bills ---------------------------------------------------------

TEST(IssuedBillLookups, NumbersOfOneStateOrOfAllStates)
{
    TempDataRoot root;
    Database &db = root.context().db();
    const char *sql = "insert into DataZPTable (票据编号, 票据状态, 模板种类) values (?, ?, ?)";
    db.exec(sql, {"10000010", "未用", "支票（工行）"});
    db.exec(sql, {"10000002", "未用", "支票（工行）"});
    db.exec(sql, {"10000003", "已用", "支票（建行）"});
    db.exec(sql, {"10000003", "作废", "支票（建行）"});
    db.exec(sql, {"1'0", "未用", "支票（O'Bank）"});
    Lookups lookups(db);
    EXPECT_EQ(lookups.loadCheckNOList("DataZPTable", "未用", "票据编号"), QStringList({"1'0", "10000002", "10000010"}));
    EXPECT_EQ(lookups.loadCheckNOList("DataZPTable", "", "票据编号"),
              QStringList({"1'0", "10000002", "10000003", "10000010"}));
    EXPECT_EQ(lookups.loadHistoryTypeNameList("DataZPTable"),
              QStringList({"支票（工行）", "支票（建行）", "支票（O'Bank）"}));
}

TEST(IssuedBillLookups, AnUnknownTableReportsTheError)
{
    TempDataRoot root;
    AlertRecorder alerts;
    Lookups lookups(root.context().db());
    EXPECT_TRUE(lookups.loadCheckNOList("DataZP\"; drop table coins; --", "", "票据编号").isEmpty());
    EXPECT_FALSE(lookups.lastError().isEmpty());
    EXPECT_TRUE(root.context().db().tableExists("coins"));
    EXPECT_TRUE(lookups.loadHistoryTypeNameList("NoSuchTable").isEmpty());
    EXPECT_FALSE(lookups.lastError().isEmpty());
}

TEST(LookupErrors, TheFirstErrorOfEachLookupIsToldOnceAndTheListsStayEmpty)
{
    TempDataRoot root;
    AlertRecorder alerts;
    Lookups::forgetReportedErrors();
    Database &db = root.context().db();
    for (const char *table : {"coins", "ckPersonalInfoTable", "CKTypeTable"})
        db.exec(QStringLiteral("drop table %1").arg(table));
    for (int round = 0; round < 2; ++round) {
        Lookups lookups(db);  // each window asks with a lookup of its own
        EXPECT_TRUE(lookups.loadMoneyTypeList().isEmpty());
        EXPECT_FALSE(lookups.lastError().isEmpty());
        EXPECT_TRUE(lookups.loadCompanyList("往来单位").isEmpty());
        EXPECT_EQ(lookups.loadDefaultCheckTypeId("支票"), -1);
    }
    EXPECT_EQ(alerts.messages().size(), 3);
    for (const char *start : {"读取币种列表失败：", "读取单位列表失败：", "读取默认模板失败："})
        EXPECT_TRUE(alerts.sawMessage(start)) << start;
    EXPECT_EQ(alerts.alerts().front().caption, "错误");
}

// ---- bill types -----------------------------------------------------------

class BillTypeLookups : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Database &db = root.context().db();
        db.exec("delete from CKTypeTable");
        db.exec("delete from NameDict");
        for (const char *family : {"支票", "进账单", "快递单"})
            db.exec("insert into NameDict (CheckTypeName, CtlName) values (?, 'zdJE')", {family});
        addType(db, {1, "支票", "工行", "启用", "0", "是", 9});
        addType(db, {2, "支票", "建行", "启用", "默认", "是", 1});
        addType(db, {3, "支票", "农行", "停用隐藏", "0", "是", 5});
        addType(db, {4, "支票", "O'Bank", "启用", "0", "否", 3});
        addType(db, {5, "支票", "中行", "启用", "0", "是", 4});
        addType(db, {6, "", "", "启用", "0", "否", 0, "进账单(工行)"});
        addType(db, {7, "", "", "启用", "0", "否", 0, "支票（老版）"});
    }

    TempDataRoot root;
    AlertRecorder alerts;
};

TEST_F(BillTypeLookups, FamiliesAndVariantsInTheirOrder)
{
    Lookups lookups(root.context().db());
    EXPECT_EQ(lookups.loadCheckTypeFirstNameList(), QStringList({"进账单", "快递单", "支票"}));
    EXPECT_EQ(lookups.loadDefaultTypeFirstName(), "支票");
    EXPECT_EQ(lookups.loadCheckTypeLastNameList("支票"), QStringList({"工行", "建行", "中行", "O'Bank"}));
    EXPECT_EQ(lookups.loadCheckTypeFullNameList("支票"),
              QStringList({"支票（工行）", "支票（建行）", "支票（中行）", "支票（O'Bank）"}));
    EXPECT_EQ(lookups.loadCheckTypeFullNameList().size(), 6);  // every shown template
    EXPECT_TRUE(alerts.alerts().empty());
}

TEST_F(BillTypeLookups, NoFamilyGivenTellsTheUser)
{
    Lookups lookups(root.context().db());
    EXPECT_TRUE(lookups.loadCheckTypeLastNameList("").isEmpty());
    EXPECT_EQ(alerts.messages(), QStringList({"没有指定单据类型，无法调入确定的模板种类！"}));
    EXPECT_TRUE(lookups.loadCommonTypeLastNameList("").isEmpty());
    EXPECT_EQ(alerts.alerts().size(), 1u);
}

TEST_F(BillTypeLookups, CommonVariantsPutTheDefaultFirstEvenWithTheLowestOrder)
{
    Lookups lookups(root.context().db());
    EXPECT_EQ(lookups.loadCommonTypeLastNameList("支票"), QStringList({"建行", "工行", "中行"}));
}

TEST_F(BillTypeLookups, DefaultTemplateOfAFamily)
{
    Lookups lookups(root.context().db());
    EXPECT_EQ(lookups.loadDefaultCheckTypeId("支票"), 2);
    EXPECT_TRUE(alerts.alerts().empty());
}

TEST_F(BillTypeLookups, WithoutADefaultTheLowestShownTemplateAfterAMessage)
{
    Database &db = root.context().db();
    db.exec("update CKTypeTable set IsDefault='0'");
    db.exec("update CKTypeTable set Visiable='停用隐藏' where CheckTypeID=1");
    Lookups lookups(db);
    EXPECT_EQ(lookups.loadDefaultCheckTypeId("支票"), 2);
    EXPECT_EQ(alerts.messages(), QStringList({"没有设定默认的支票,请到【系统管理】-【模板管理】，设定!"}));
}

TEST_F(BillTypeLookups, AFamilyWithNothingShownGivesTwoMessagesAndMinusOne)
{
    Lookups lookups(root.context().db());
    EXPECT_EQ(lookups.loadDefaultCheckTypeId("快递单"), -1);
    EXPECT_EQ(alerts.messages(), QStringList({"没有设定默认的快递单,请到【系统管理】-【模板管理】，设定!",
                                              "没有找到任何启用的【快递单】模板！"}));
}

TEST_F(BillTypeLookups, IdsByNamesAndNamesById)
{
    Lookups lookups(root.context().db());
    EXPECT_EQ(lookups.loadCheckTypeIDByFirstAndLastName("支票", "O'Bank"), 4);
    // A template without a stored first name is found through its full name.
    EXPECT_EQ(lookups.loadCheckTypeIDByFirstAndLastName("支票", "老版"), 7);
    EXPECT_EQ(lookups.loadCheckTypeIDByFirstAndLastName("支票", "无此行"), 0);
    EXPECT_EQ(lookups.loadCheckTypeIDByTypeFullName("支票（O'Bank）"), "4");
    EXPECT_EQ(lookups.loadCheckTypeIDByTypeFullName("<适用所有单据>"), "0");
    EXPECT_EQ(lookups.loadCheckTypeFullNameByID("4"), "支票（O'Bank）");
    EXPECT_EQ(lookups.loadCheckTypeLastNameByID(2), "建行");
    EXPECT_EQ(lookups.loadCheckTypeLastNameByID("99"), "");
    EXPECT_EQ(lookups.loadCheckTypeFullNameByID("4 or 1=1"), "");
    EXPECT_FALSE(lookups.lastError().isEmpty());
}

TEST_F(BillTypeLookups, FirstNameIsDerivedFromTheFullNameWhenNotStored)
{
    Lookups lookups(root.context().db());
    EXPECT_EQ(lookups.loadCheckTypeFirstNameByID(1), "支票");
    EXPECT_EQ(lookups.loadCheckTypeFirstNameByID("6"), "进账单");
    EXPECT_EQ(lookups.loadCheckTypeFirstNameByID(7), "支票");
    EXPECT_EQ(lookups.loadCheckTypeFirstNameByID(99), "");
    EXPECT_EQ(Lookups::firstNameFromFullName("无括号"), "");
    EXPECT_EQ(Lookups::firstNameFromFullName("支票(a)（b）"), "支票(a)");
}

TEST(OlderDatabase, MissingFirstNameColumnIsAddedAndFilled)
{
    TempDataRoot root;
    Database &db = root.context().db();
    ASSERT_TRUE(db.exec("alter table CKTypeTable drop column TypeFirstName"));
    db.exec("insert into CKTypeTable (CheckTypeID, TypeName, TypeDescribe) values (11, '支票（工行）', '工行')");
    db.exec("insert into CKTypeTable (CheckTypeID, TypeName, TypeDescribe) values (12, '进账单(建行)', '建行')");
    Lookups lookups(db);
    EXPECT_EQ(lookups.loadCheckTypeFirstNameByID(12), "进账单");
    EXPECT_TRUE(db.columnNames("CKTypeTable").contains("TypeFirstName", Qt::CaseInsensitive));
    EXPECT_EQ(db.scalar("select TypeFirstName from CKTypeTable where CheckTypeID=11").toString(), "支票");
}

TEST(OlderDatabase, MissingCommonColumnRunsTheUpgradeAndAsksForARestart)
{
    TempDataRoot root;
    AlertRecorder alerts;
    Database &db = root.context().db();
    ASSERT_TRUE(db.exec("alter table CKTypeTable drop column IsCommon"));
    QStringList upgraded;
    SchemaUpgradeHandler previous = setSchemaUpgradeHandler([&](const QString &c) { upgraded << c; });
    Lookups lookups(db);
    EXPECT_TRUE(lookups.loadCommonTypeLastNameList("支票").isEmpty());
    setSchemaUpgradeHandler(previous);
    EXPECT_EQ(upgraded, QStringList({"IsCommon"}));
    EXPECT_EQ(alerts.messages(), QStringList({"请尝试重新启动软件！"}));
}

TEST(TypeCodes, EveryFamilyHasItsCodeAndOthersNone)
{
    const std::vector<std::pair<QString, QString>> codes = {
        {"电汇单", "dhd"}, {"支票", "zp"}, {"进账单", "jzd"}, {"汇票申请书", "hp"}, {"承兑汇票", "cdhp"},
        {"缴款单", "jkd"}, {"境外汇款申请书", "jwh"}, {"贷记凭证", "djpz"}, {"快递单", "kdd"},
        {"海关缴款单", "hgjkd"}, {"海关载货单", "hgzhd"}, {"普通发票收据", "fpiv"}, {"发票及收据", "fpiv"},
        {"货运发票", "hyfp"}, {"出口商品发票", "cksp"}, {"国际货运发票", "ivIntel"}, {"定制单", "def"},
        {"送货单", "shd"}, {"支票 ", ""}, {"", ""}, {"其他", ""}};
    for (const auto &[family, code] : codes)
        EXPECT_EQ(Lookups::getTypeCodeByTypeName(family), code) << family.toStdString();
}
