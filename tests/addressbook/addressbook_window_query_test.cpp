// The address book window's listing: keyword search, the filter tree,
// the one-column query, ordering, and the counts it shows.
#include "addressbook/ui/address_book_commands.h"
#include "addressbook/ui/person_filter_tree.h"
#include "addressbook/ui/tfrm_person_info.h"
#include "addressbook_window_fixtures.h"
#include "shell/ui/tfm_main.h"

#include <QAbstractItemView>

#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>

using namespace billprint;
using namespace billprint::test;

namespace {

class AddressBookQuery : public ::testing::Test
{
protected:
    AddressBookQuery() : book(root.context().db()), window(root.context()) { window.show(); }

    QStringList search(const QString &keyword)
    {
        window.keywordEdit()->setText(keyword);
        window.btQueryClick();
        return listedNames(window);
    }

    void clickNode(const QString &heading, const QString &child = QString())
    {
        QTreeWidgetItem *node = child.isEmpty() ? window.tree()->topNode(heading)
                                                : window.tree()->childNode(heading, child);
        ASSERT_NE(node, nullptr) << heading.toStdString() << "/" << child.toStdString();
        emit window.tree()->itemClicked(node, 0);
    }

    TempDataRoot root;
    AlertRecorder alerts;
    SampleBook book;
    Tfm_PersonManage window;
};

} // namespace

TEST_F(AddressBookQuery, OpensWithEveryUnitByNameDescendingAndTheCounts)
{
    const QStringList names = listedNames(window);
    ASSERT_EQ(names.size(), 7);
    QStringList sorted = names;
    std::sort(sorted.begin(), sorted.end(), std::greater<QString>());
    EXPECT_EQ(names, sorted);
    EXPECT_EQ(window.titleText(), "单位及客户资料管理(7)");
    EXPECT_EQ(window.statusText(1), "选中[0/7]条");
    EXPECT_EQ(window.statusText(2), "系统共有[7]条.");
    EXPECT_EQ(window.tree()->currentItem(), window.tree()->topNode(FilterNode::All));
}

TEST_F(AddressBookQuery, KeywordFindsByInputCodeNameAccountContactAndPhone)
{
    EXPECT_EQ(search("pjwl"), QStringList{"上海浦江物流有限公司"});          // 助记码
    EXPECT_EQ(search(" 西湖茶业 "), QStringList{"杭州西湖茶业有限公司"});    // 全称, blanks trimmed
    EXPECT_EQ(search("11001028600056"), QStringList{"北京华夏科技有限公司"}); // 开户行账号, part of it
    EXPECT_EQ(search("陈志明"), QStringList{"广州市恒达贸易有限公司"});      // 联系人
    EXPECT_EQ(search("1391234"), QStringList{"上海浦江物流有限公司"});        // 手机
    EXPECT_EQ(search("HXKJ"), QStringList{"北京华夏科技有限公司"});          // letter case ignored
    EXPECT_TRUE(search("没有这个单位").isEmpty());
    EXPECT_EQ(window.statusText(1), "选中[0/0]条");
}

TEST_F(AddressBookQuery, NameAndAccountWithApostrophesAreFoundAsTyped)
{
    EXPECT_EQ(search("O'Brien"), QStringList{"O'Brien (中国) 咨询有限公司"});
    EXPECT_EQ(search("HK'001"), QStringList{"O'Brien (中国) 咨询有限公司"});
    EXPECT_TRUE(search("' or '1'='1").isEmpty());
    EXPECT_TRUE(search("%").isEmpty());  // a wildcard character is a character
}

TEST_F(AddressBookQuery, KindNodesListOneKindAndSetTheTab)
{
    clickNode(FilterNode::Own);
    EXPECT_EQ(window.unitKindFilter(), "我方单位");
    EXPECT_EQ(listedNames(window).size(), 2);
    EXPECT_TRUE(listedNames(window).contains("北京华夏科技有限公司"));
    EXPECT_EQ(window.tabText(), "【我方单位】");

    clickNode(FilterNode::Counterparty);
    EXPECT_EQ(listedNames(window).size(), 5);
    EXPECT_FALSE(listedNames(window).contains("北京华夏科技有限公司"));

    clickNode(FilterNode::DefaultDrawer);
    EXPECT_EQ(listedNames(window), QStringList{"深圳市前海金融服务有限公司"});
    EXPECT_EQ(window.unitKindFilter(), "");

    clickNode(FilterNode::All);
    EXPECT_EQ(listedNames(window).size(), 7);
}

TEST_F(AddressBookQuery, KeywordLiftsTheKindFilter)
{
    clickNode(FilterNode::Own);
    EXPECT_EQ(search("有限公司").size(), 6);  // counterparties too
    EXPECT_EQ(window.unitKindFilter(), "");
}

TEST_F(AddressBookQuery, TreeHoldsTheBooksProvincesAndGroupsButNotTheDrawerGroup)
{
    QTreeWidgetItem *provinces = window.tree()->topNode(FilterNode::ByProvince);
    QTreeWidgetItem *groups = window.tree()->topNode(FilterNode::ByGroup);
    ASSERT_TRUE(provinces && groups);
    EXPECT_EQ(provinces->childCount(), 4);  // the blank province is left out
    QStringList groupNames;
    for (int i = 0; i < groups->childCount(); ++i)
        groupNames << groups->child(i)->text(0);
    groupNames.sort();
    EXPECT_EQ(groupNames, (QStringList{"华东客户", "华南客户"}));
    EXPECT_EQ(window.tree()->topLevelItemCount(), 6);
    EXPECT_TRUE(provinces->isExpanded());
}

TEST_F(AddressBookQuery, GroupNodeListsItsUnits)
{
    clickNode(FilterNode::ByGroup, "华东客户");
    EXPECT_EQ(window.groupFilter(), "华东客户");
    QStringList names = listedNames(window);
    names.sort();
    EXPECT_EQ(names, (QStringList{"上海浦江物流有限公司", "杭州西湖茶业有限公司"}));
    EXPECT_EQ(window.tabText(), "【[按其他分组]\\华东客户】");
}

TEST_F(AddressBookQuery, ProvinceNodeSearchesTheProvinceLikeAKeyword)
{
    clickNode(FilterNode::ByProvince, "广东省");
    EXPECT_EQ(window.keywordEdit()->text(), "广东省");
    QStringList names = listedNames(window);
    // The three units in the province, and the one whose address names it.
    EXPECT_EQ(names.size(), 4);
    EXPECT_TRUE(names.contains("佛山顺德美居家具厂"));
}

TEST_F(AddressBookQuery, HeadingNodesDoNotQuery)
{
    search("pjwl");
    clickNode(FilterNode::ByProvince);
    EXPECT_EQ(listedNames(window), QStringList{"上海浦江物流有限公司"});
    clickNode(FilterNode::ByGroup);
    EXPECT_EQ(listedNames(window), QStringList{"上海浦江物流有限公司"});
}

TEST_F(AddressBookQuery, ColumnTitleClickSortsAscendingThenDescending)
{
    const int nameColumn = gridColumnByName(window.model(), "全称");
    window.columnTitleClicked(nameColumn);
    EXPECT_EQ(window.orderColumn(), "全称");
    EXPECT_EQ(window.orderDirection(), "ASC");
    QStringList ascending = listedNames(window);
    QStringList sorted = ascending;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(ascending, sorted);
    window.columnTitleClicked(nameColumn);
    EXPECT_EQ(window.orderDirection(), "DESC");
    std::reverse(sorted.begin(), sorted.end());
    EXPECT_EQ(listedNames(window), sorted);

    // The order also holds for a filtered listing.
    window.columnTitleClicked(gridColumnByName(window.model(), "开户行账号"));
    clickNode(FilterNode::ByGroup, "华东客户");
    EXPECT_EQ(listedNames(window), (QStringList{"上海浦江物流有限公司", "杭州西湖茶业有限公司"}));
}

TEST_F(AddressBookQuery, ExactQueryOnOneColumn)
{
    window.btAdvancedClick();
    EXPECT_TRUE(window.exactBar()->isVisibleTo(&window));
    EXPECT_EQ(window.button("btAdvanced")->text(), "高级>>");

    window.btExactQueryClick();
    EXPECT_TRUE(alerts.sawMessage("请选择要查询的列."));

    // Entering the column list fills it with the grid's columns but the key
    // and the sort number.
    window.exactColumnBox()->setFocus();
    QApplication::processEvents();
    if (window.exactColumnBox()->count() == 0) {  // no focus without an active window
        QFocusEvent entered(QEvent::FocusIn);
        QApplication::sendEvent(window.exactColumnBox(), &entered);
    }
    ASSERT_GT(window.exactColumnBox()->count(), 20);
    EXPECT_EQ(window.exactColumnBox()->findText("ID"), -1);
    EXPECT_EQ(window.exactColumnBox()->findText("排序"), -1);

    window.exactColumnBox()->setCurrentText("市");
    window.btExactQueryClick();
    EXPECT_TRUE(alerts.sawMessage("请输入精确查询的关键字"));

    window.keywordEdit()->setText("有限公司");  // an earlier search does not get in the way
    window.exactKeyEdit()->setText(" 深圳市 ");
    window.exactModeBox()->setCurrentText("等于");
    window.btExactQueryClick();
    EXPECT_EQ(window.exactKeyEdit()->text(), "深圳市");
    EXPECT_EQ(listedNames(window).size(), 2);
    EXPECT_TRUE(window.exactBar()->isVisibleTo(&window));

    window.exactColumnBox()->setCurrentText("地址");
    window.exactKeyEdit()->setText("乐从镇");
    window.exactModeBox()->setCurrentText("等于");
    window.btExactQueryClick();
    EXPECT_TRUE(listedNames(window).isEmpty());
    window.exactModeBox()->setCurrentText("包含");
    window.btExactQueryClick();
    EXPECT_EQ(listedNames(window), QStringList{"佛山顺德美居家具厂"});

    // A plain query hides the bar again and forgets its key.
    window.btQueryClick();
    EXPECT_FALSE(window.exactBar()->isVisibleTo(&window));
    EXPECT_TRUE(window.exactKeyEdit()->text().isEmpty());
    EXPECT_EQ(listedNames(window).size(), 7);
}

TEST_F(AddressBookQuery, ListAllForgetsEveryFilter)
{
    clickNode(FilterNode::ByGroup, "华东客户");
    window.listAll();
    EXPECT_EQ(listedNames(window).size(), 7);
    EXPECT_EQ(window.groupFilter(), "全部分组");
    EXPECT_EQ(window.unitKindFilter(), "");
    EXPECT_EQ(window.titleText(), "单位及客户资料管理(7)");
    // The next keyword-less query lists all as well.
    window.btQueryClick();
    EXPECT_EQ(listedNames(window).size(), 7);
}

TEST_F(AddressBookQuery, KeywordHelpShowsTheHint)
{
    window.btKeywordHelpClick();
    EXPECT_TRUE(alerts.sawMessage("默认查找单位、联系人、电话、手机、地址、助记码几项。"));
}

TEST(AddressBookTreeChoice, NodePathsGiveTheirFilters)
{
    EXPECT_FALSE(treeFilterChoice({"[按地区分组]"}).runQuery);
    EXPECT_FALSE(treeFilterChoice({"[按其他分组]"}).runQuery);
    const TreeFilterChoice own = treeFilterChoice({"我方单位"});
    EXPECT_EQ(own.unitKind, "我方单位");
    EXPECT_EQ(own.group, "");
    EXPECT_EQ(treeFilterChoice({"默认出票人"}).group, "默认出票人");
    EXPECT_EQ(treeFilterChoice({"[按地区分组]", "广东"}).keyword, "广东");
    // A group name with a backslash stays whole.
    EXPECT_EQ(treeFilterChoice({"[按其他分组]", "华南\\广州"}).group, "华南\\广州");
    const TreeFilterChoice all = treeFilterChoice({"全部分组"});
    EXPECT_TRUE(all.runQuery);
    EXPECT_TRUE(all.group.isEmpty() && all.unitKind.isEmpty() && all.keyword.isEmpty());
    EXPECT_EQ(all.tabText, "【全部分组】");
}

// Long province and group names are shown whole in the tree and in the
// editor's drop-down lists.
TEST(AddressBookNames, LongProvinceAndGroupNamesAreNotCut)
{
    TempDataRoot root;
    AlertRecorder alerts;
    for (const char *province : {"新疆维吾尔自治区", "内蒙古自治区", "广西壮族自治区"})
        addUnit(root.context().db(), {{"全称", "乌鲁木齐天山棉业有限公司"}, {"省", province},
                                      {"分组", "西北地区大客户（重点跟进）"}});
    Tfm_Main main(root.context(), installAddressBook);
    bool shown = false;
    QStringList cut;
    onModal<Tfm_PersonManage>([&](Tfm_PersonManage &window) {
        shown = window.isVisible();
        QApplication::processEvents();
        PersonFilterTree *tree = window.tree();
        const QFontMetrics metrics = tree->fontMetrics();
        for (const char *heading : {"[按地区分组]", "[按其他分组]"}) {
            QTreeWidgetItem *top = tree->topNode(QString::fromUtf8(heading));
            for (int i = 0; i < top->childCount(); ++i) {
                const QString name = top->child(i)->text(0);
                const QRect rect = tree->visualItemRect(top->child(i));
                if (rect.left() + metrics.horizontalAdvance(name) > tree->viewport()->width())
                    cut << name;
            }
        }
        onModal<Tfrm_PersonInfo>([&cut](Tfrm_PersonInfo &editor) {
            auto *province = qobject_cast<QComboBox *>(editor.field("省"));
            province->setFocus();  // entering the empty list fills it
            QApplication::processEvents();
            const int longest = province->view()->fontMetrics().horizontalAdvance("新疆维吾尔自治区");
            if (province->count() == 0 || province->view()->minimumWidth() < longest)
                cut << "省 list";
            editor.close();
        });
        window.button("btAdd")->click();
        window.close();
    });
    main.runCommand(QString::fromUtf8(AddressBookCommand::Manage));
    EXPECT_TRUE(shown);
    EXPECT_TRUE(cut.isEmpty()) << cut.join(", ").toStdString();
}
