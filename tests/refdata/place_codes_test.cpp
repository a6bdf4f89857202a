// Province and city codes: the add, modify and delete rules, and the
// window with its edit panel.
#include "refdata/place_code_store.h"
#include "refdata/ui/tfrm_ss_set.h"
#include "test_support.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

int pairRows(Database &db, const QString &province, const QString &city)
{
    return db.scalar("select count(*) from DMTable2 where 类型='省市' and 一级代码=? and 二级代码=?", {province, city})
        .toInt();
}

} // namespace

TEST(PlaceCodeRules, AddTrimsAndRefusesEmptyAndExistingPairs)
{
    TempDataRoot root;
    Database &db = root.context().db();
    PlaceCodeStore store(db);
    EditOutcome o = store.add(" ", "深圳市");
    EXPECT_EQ(o.message, "省和市输入不能为空！");
    EXPECT_EQ(o.caption, "提示");
    o = store.add("广东省", " 深圳市 ");
    EXPECT_EQ(o.status, EditOutcome::Status::Refused);
    EXPECT_EQ(o.message, "\"广东省--深圳市\" 已经存在，不需要添加！");
    EXPECT_EQ(o.focus, EditOutcome::Field::Second);

    o = store.add("  广东省", " 雷州市 ");
    EXPECT_TRUE(o.ok());
    EXPECT_EQ(o.message, "\"广东省--雷州市\"代码添加成功！");
    EXPECT_EQ(pairRows(db, "广东省", "雷州市"), 1);
}

TEST(PlaceCodeRules, AnOlderRowWithBlanksStillCountsAsThePair)
{
    TempDataRoot root;
    Database &db = root.context().db();
    db.exec("insert into DMTable2 (类型, 一级代码, 二级代码) values ('省市', ' 测试省 ', ' 测试市')");
    PlaceCodeStore store(db);
    EXPECT_EQ(store.cities("测试省"), QStringList({"测试市"}));
    EXPECT_EQ(store.add("测试省", "测试市").status, EditOutcome::Status::Refused);
}

TEST(PlaceCodeRules, ModifyRenamesTheCityAndReportsWhenNothingMatched)
{
    TempDataRoot root;
    Database &db = root.context().db();
    PlaceCodeStore store(db);
    EXPECT_EQ(store.modify("广东省", "", "新市").message, "请先选中要修改的市(县)！");
    EditOutcome o = store.modify("广东省", " 东莞市", " 东莞 ");
    EXPECT_TRUE(o.ok());
    EXPECT_EQ(o.message, "修改成功！");
    EXPECT_EQ(pairRows(db, "广东省", "东莞"), 1);
    EXPECT_EQ(pairRows(db, "广东省", "东莞市"), 0);
    o = store.modify("广东省", "无此市", "新市");
    EXPECT_EQ(o.status, EditOutcome::Status::Failed);
    EXPECT_EQ(o.message, "修改失败！");
}

TEST(PlaceCodeRules, RenamingToAnExistingCityListsItOnce)
{
    TempDataRoot root;
    Database &db = root.context().db();
    PlaceCodeStore store(db);
    ASSERT_TRUE(store.modify("广东省", "佛山市", "广州市").ok());
    EXPECT_EQ(pairRows(db, "广东省", "广州市"), 2);
    EXPECT_EQ(store.cities("广东省").count("广州市"), 1);
}

TEST(PlaceCodeRules, DeleteWithoutAChosenCityChangesNothingAndSaysSo)
{
    TempDataRoot root;
    Database &db = root.context().db();
    PlaceCodeStore store(db);
    const int before = db.scalar("select count(*) from DMTable2").toInt();
    EditOutcome o = store.remove("广东省", "");
    EXPECT_EQ(o.status, EditOutcome::Status::Refused);
    EXPECT_EQ(o.message, "请先选中要删除的市(县)！");
    o = store.remove("广东省", "无此市");
    EXPECT_EQ(o.status, EditOutcome::Status::Failed);
    EXPECT_TRUE(o.message.startsWith("删除失败！"));
    EXPECT_EQ(db.scalar("select count(*) from DMTable2").toInt(), before);

    o = store.remove(" 广东省", "深圳市 ");
    EXPECT_TRUE(o.ok());
    EXPECT_EQ(o.message, "删除成功！");
    EXPECT_EQ(pairRows(db, "广东省", "深圳市"), 0);
}

TEST(PlaceCodeRules, ReplacementPairsAreNeitherListedNorTouched)
{
    TempDataRoot root;
    Database &db = root.context().db();
    db.exec("insert into DMTable2 (类型, 一级代码, 二级代码) values ('其他字符', '广东省', '粤')");
    PlaceCodeStore store(db);
    EXPECT_FALSE(store.cities("广东省").contains("粤"));
    EXPECT_EQ(store.remove("广东省", "粤").status, EditOutcome::Status::Failed);
    EXPECT_EQ(db.scalar("select count(*) from DMTable2 where 类型='其他字符'").toInt(), 1);
}

TEST(PlaceCodeRules, ApostrophesInProvinceAndCity)
{
    TempDataRoot root;
    Database &db = root.context().db();
    PlaceCodeStore store(db);
    ASSERT_TRUE(store.add("O'Land", "St. John's").ok());
    EXPECT_EQ(store.add("O'Land", "St. John's").status, EditOutcome::Status::Refused);
    EXPECT_TRUE(store.provinces().contains("O'Land"));
    ASSERT_TRUE(store.modify("O'Land", "St. John's", "Land's End").ok());
    EXPECT_EQ(store.cities("O'Land"), QStringList({"Land's End"}));
    EXPECT_TRUE(store.remove("O'Land", "Land's End").ok());
    EXPECT_FALSE(store.provinces().contains("O'Land"));
}

TEST(PlaceCodeWindow, ShowingListsTheFirstProvinceWithItsCities)
{
    TempDataRoot root;
    TfrmSsSet window(root.context());
    window.show();
    EXPECT_EQ(window.windowTitle(), "省市代码设置");
    EXPECT_EQ(window.currentProvince(), "安徽省");
    EXPECT_EQ(window.listedCities().size(), 16);
    auto *list = window.findChild<QListWidget *>("lbCities");
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->item(0)->text().startsWith(' '));  // shown with one leading blank
    EXPECT_TRUE(window.chosenCity().isEmpty());
    window.chooseProvince("广东省");
    EXPECT_EQ(window.listedCities().size(), 21);
    window.hide();
}

TEST(PlaceCodeWindow, EveryCityNameIsShownWhole)
{
    TempDataRoot root;
    TfrmSsSet window(root.context());
    window.show();
    auto *list = window.findChild<QListWidget *>("lbCities");
    for (const char *province : {"安徽省", "内蒙古自治区"}) {  // 安庆市 before 马鞍山市, 阿拉善盟 before 呼和浩特市
        window.chooseProvince(province);
        for (int i = 0; i < list->count(); ++i)
            EXPECT_GE(list->visualItemRect(list->item(i)).width(),
                      list->fontMetrics().horizontalAdvance(list->item(i)->text()))
                << list->item(i)->text().toStdString();
    }
}

TEST(PlaceCodeWindow, PanelLocksTheWindowAndStaysOpenForCorrections)
{
    TempDataRoot root;
    AlertRecorder alerts;
    TfrmSsSet window(root.context());
    window.show();
    window.chooseProvince("广东省");
    window.btAddClick();
    EXPECT_TRUE(window.editPanelOpen());
    EXPECT_EQ(window.provinceEdit()->text(), "广东省");
    EXPECT_FALSE(window.provinceBox()->isEnabled());
    EXPECT_FALSE(window.findChild<QPushButton *>("btDelete")->isEnabled());

    window.cityEdit()->setText("深圳市");
    window.btOkClick();
    EXPECT_EQ(alerts.messages().last(), "\"广东省--深圳市\" 已经存在，不需要添加！");
    EXPECT_TRUE(window.editPanelOpen());
    EXPECT_EQ(window.cityEdit()->text(), "深圳市");

    // A city of a new province: the province list gains it, and the window
    // goes back to the province chosen before.
    window.provinceEdit()->setText("测试省");
    window.cityEdit()->setText("测试市");
    window.btOkClick();
    EXPECT_EQ(alerts.messages().last(), "\"测试省--测试市\"代码添加成功！");
    EXPECT_FALSE(window.editPanelOpen());
    EXPECT_TRUE(window.provinceBox()->isEnabled());
    EXPECT_GE(window.provinceBox()->findText("测试省"), 0);
    EXPECT_EQ(window.currentProvince(), "广东省");
    EXPECT_EQ(window.listedCities().size(), 21);
    window.hide();
}

TEST(PlaceCodeWindow, ModifyAndDeleteTheChosenCity)
{
    TempDataRoot root;
    AlertRecorder alerts;
    Database &db = root.context().db();
    TfrmSsSet window(root.context());
    window.show();
    window.chooseProvince("海南省");
    window.btModifyClick();
    EXPECT_EQ(alerts.messages().last(), "请先选中要修改的市(县)！");
    EXPECT_FALSE(window.editPanelOpen());
    window.btDeleteClick();
    EXPECT_EQ(alerts.messages().last(), "请先选中要删除的市(县)！");

    window.chooseCity("三沙市");
    window.btModifyClick();
    ASSERT_TRUE(window.editPanelOpen());
    EXPECT_TRUE(window.provinceEdit()->isReadOnly());
    EXPECT_EQ(window.cityEdit()->text(), "三沙市");
    window.cityEdit()->setText("三沙");
    window.btOkClick();
    EXPECT_EQ(alerts.messages().last(), "修改成功！");
    EXPECT_TRUE(window.listedCities().contains("三沙"));

    window.chooseCity("三沙");
    window.btDeleteClick();
    EXPECT_EQ(alerts.messages().last(), "删除成功！");
    EXPECT_FALSE(window.listedCities().contains("三沙"));
    EXPECT_EQ(pairRows(db, "海南省", "三沙"), 0);
    window.hide();
}

TEST(PlaceCodeWindow, AProvinceWithoutCitiesIsGoneTheNextTimeTheWindowShows)
{
    TempDataRoot root;
    AlertRecorder alerts;
    TfrmSsSet window(root.context());
    window.show();
    window.chooseProvince("北京");
    window.chooseCity("北京市");
    window.btDeleteClick();
    EXPECT_TRUE(window.listedCities().isEmpty());
    window.hide();
    window.show();
    EXPECT_LT(window.provinceBox()->findText("北京"), 0);
    window.hide();
}
