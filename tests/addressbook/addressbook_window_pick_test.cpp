// The address book as the bill windows and the main window reach it:
// picking a unit, storing a bill's party, the main window's commands, and
// the grid's mouse selection, wheel and remembered widths.
#include "addressbook/ui/address_book_commands.h"
#include "addressbook/ui/address_book_host.h"
#include "addressbook/ui/tfrm_person_info.h"
#include "addressbook_window_fixtures.h"
#include "shell/ui/tfm_main.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QWheelEvent>

using namespace billprint;
using namespace billprint::test;

namespace {

class AddressBookPick : public ::testing::Test
{
protected:
    AddressBookPick() : book(root.context().db()) {}
    ~AddressBookPick() override { addressBookHost() = AddressBookHost(); }

    const Database &db() { return root.context().db(); }

    TempDataRoot root;
    AlertRecorder alerts;
    SampleBook book;
};

void clickRow(QTableView *grid, int row, Qt::KeyboardModifiers modifiers)
{
    const QPoint at = grid->visualRect(grid->model()->index(row, 1)).center();
    const QPointF global = grid->viewport()->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, modifiers);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, modifiers);
    QApplication::sendEvent(grid->viewport(), &press);
    QApplication::sendEvent(grid->viewport(), &release);
}

QList<int> selectedRows(QTableView *grid)
{
    QList<int> rows;
    for (const QModelIndex &index : grid->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace

TEST_F(AddressBookPick, PickReturnsTheDoubleClickedUnitOfTheAskedKind)
{
    onModal<Tfm_PersonManage>([](Tfm_PersonManage &window) {
        EXPECT_TRUE(window.pickMode());
        EXPECT_EQ(window.windowTitle(), "选取付款行");
        EXPECT_EQ(window.tabText(), "【我方单位】");
        EXPECT_EQ(window.grid()->toolTip(), "鼠标双击选择指定的单位！");
        QStringList names = listedNames(window);
        names.sort();
        EXPECT_EQ(names, (QStringList{"北京华夏科技有限公司", "深圳市前海金融服务有限公司"}));
        window.rowDoubleClicked(rowOf(window, "北京华夏科技有限公司"));
    });
    const std::optional<TPerson> picked = fetchOnePerson(root.context(), UnitKind::Own, "选取付款行");
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(picked->id(), book.huaxia);
    EXPECT_EQ(picked->account(), "11001028600056001234");
    EXPECT_EQ(picked->bank(), "中国建设银行北京朝阳支行");
}

TEST_F(AddressBookPick, PickClosedWithoutChoosingGivesNone)
{
    onModal<Tfm_PersonManage>([](Tfm_PersonManage &window) {
        window.grid()->setCurrentIndex(window.model()->index(0, 1));  // looked, not chosen
        window.close();
    });
    EXPECT_FALSE(fetchOnePerson(root.context(), UnitKind::Counterparty, "选取收款人").has_value());
}

TEST_F(AddressBookPick, AChooserLeavesTheDefaultDrawerAndItsBillWindowAlone)
{
    int closed = 0;
    addressBookHost().billWindowsOpen = [] { return true; };
    addressBookHost().closeBillWindows = [&closed] { ++closed; };
    QWidget frame;
    auto *billWindow = new QWidget(&frame);
    onModal<Tfm_PersonManage>([&frame](Tfm_PersonManage &window) {
        EXPECT_EQ(window.parentWidget(), &frame);  // outlives the bill windows in it
        EXPECT_FALSE(window.button("btDefaultDrawer")->isEnabled());
        makeCurrent(window, "北京华夏科技有限公司");
        window.btDefaultDrawerClick();
        window.close();
    });
    fetchOnePerson(root.context(), UnitKind::Own, "选取付款行", billWindow);
    EXPECT_EQ(closed, 0);
    EXPECT_EQ(db().scalar("select ID from ckPersonalInfoTable where 分组 = '默认出票人'").toInt(), book.qianhai);
}

TEST_F(AddressBookPick, PickOfAnyOtherKindListsEveryUnit)
{
    onModal<Tfm_PersonManage>([](Tfm_PersonManage &window) {
        EXPECT_EQ(listedNames(window).size(), 7);
        EXPECT_EQ(window.windowTitle(), "单位及客户资料管理");  // no caption given
        window.rowDoubleClicked(rowOf(window, "O'Brien (中国) 咨询有限公司"));
    });
    const auto picked = fetchOnePerson(root.context(), QString());
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(picked->account(), "HK'001-234");
}

TEST_F(AddressBookPick, DoubleClickOutsidePickModeModifies)
{
    Tfm_PersonManage window(root.context());
    window.show();
    onModal<Tfrm_PersonInfo>([](Tfrm_PersonInfo &editor) {
        EXPECT_EQ(editor.fieldText("全称"), "杭州西湖茶业有限公司");
        editor.close();
    });
    window.rowDoubleClicked(rowOf(window, "杭州西湖茶业有限公司"));
    EXPECT_TRUE(window.isVisible());
}

// ---- Storing a bill's party ---------------------------------------------

TEST_F(AddressBookPick, BillPartyFoundByNameAndAccountOpensTheStoredUnitWithTheBillsFields)
{
    TPerson fromBill;
    fromBill.setFullName("广州市恒达贸易有限公司");
    fromBill.setAccount("3602000109000123456");
    fromBill.setPhone("020-87654321");
    fromBill.setInputCode("should-not-copy");
    fromBill.setUnitKind(UnitKind::Counterparty);
    onModal<Tfrm_PersonInfo>([this](Tfrm_PersonInfo &editor) {
        EXPECT_EQ(editor.idText(), QString::number(book.hengda));
        EXPECT_EQ(editor.fieldText("电话"), "020-87654321");  // from the bill
        EXPECT_EQ(editor.fieldText("联系人"), "陈志明");      // kept: the bill had none
        EXPECT_EQ(editor.fieldText("助记码"), "hdmy");       // codes are not copied
        EXPECT_EQ(editor.unitKind(), "往来单位");
        editor.btSaveCloseClick();
    });
    const auto saved = savePersonFromBill(root.context(), fromBill);
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->id(), book.hengda);
    EXPECT_EQ(db().scalar("select 电话 from ckPersonalInfoTable where ID = ?", {book.hengda}).toString(),
              "020-87654321");
    EXPECT_EQ(db().scalar("select count(*) from ckPersonalInfoTable").toInt(), 7);
}

TEST_F(AddressBookPick, UnknownBillPartyOpensANewUnit)
{
    TPerson fromBill;
    fromBill.setFullName("重庆山城火锅连锁有限公司");
    fromBill.setContact("刘强");
    fromBill.setProvince("重庆市");
    fromBill.setGroup("不抄");
    fromBill.setUnitKind(QString());  // neither word: an own unit
    onModal<Tfrm_PersonInfo>([](Tfrm_PersonInfo &editor) {
        EXPECT_TRUE(editor.idText().isEmpty());
        EXPECT_EQ(editor.fieldText("全称"), "重庆山城火锅连锁有限公司");
        EXPECT_EQ(editor.fieldText("联系人"), "刘强");
        EXPECT_EQ(editor.fieldText("省"), "重庆市");
        EXPECT_TRUE(editor.fieldText("分组").isEmpty());
        EXPECT_EQ(editor.unitKind(), "我方单位");
        editor.btSaveCloseClick();
    });
    const auto saved = savePersonFromBill(root.context(), fromBill);
    ASSERT_TRUE(saved.has_value());
    EXPECT_GT(saved->id(), 0);
    EXPECT_EQ(db().scalar("select count(*) from ckPersonalInfoTable").toInt(), 8);
}

TEST_F(AddressBookPick, BillPartyClosedUnsavedStoresNothing)
{
    TPerson fromBill;
    fromBill.setContact("王建国");  // only a contact: found by it
    onModal<Tfrm_PersonInfo>([this](Tfrm_PersonInfo &editor) {
        EXPECT_EQ(editor.idText(), QString::number(book.huaxia));
        editor.close();
    });
    EXPECT_FALSE(savePersonFromBill(root.context(), fromBill).has_value());
    EXPECT_FALSE(savePersonFromBill(root.context(), std::nullopt).has_value());
    EXPECT_EQ(db().scalar("select count(*) from ckPersonalInfoTable").toInt(), 7);
}

TEST_F(AddressBookPick, StoredBillPartyIsSavedWithoutTheEditor)
{
    auto stored = TPerson::findByName(db(), "上海浦江物流有限公司");
    ASSERT_TRUE(stored.has_value());
    stored->setMobile("13700000000");
    const auto saved = savePersonFromBill(root.context(), stored);  // no modal window comes up
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(db().scalar("select 手机 from ckPersonalInfoTable where ID = ?", {book.pujiang}).toString(),
              "13700000000");
}

TEST_F(AddressBookPick, StoredPartyLookupFollowsTheFieldsThatAreFilled)
{
    TPerson party;
    party.setFullName("广州市恒达贸易有限公司");
    party.setAccount("0000");  // name and account: no such pair
    EXPECT_FALSE(findStoredParty(db(), party).has_value());
    party.setAccount(QString());
    party.setContact("陈志明");
    EXPECT_EQ(findStoredParty(db(), party)->id(), book.hengda);
    party.setContact("别人");
    EXPECT_FALSE(findStoredParty(db(), party).has_value());
    party.setContact(QString());
    EXPECT_EQ(findStoredParty(db(), party)->id(), book.hengda);
    EXPECT_FALSE(findStoredParty(db(), TPerson()).has_value());
}

// ---- Main window commands -------------------------------------------------

TEST_F(AddressBookPick, MainWindowCommandsOpenOneKeptWindow)
{
    Tfm_Main main(root.context(), installAddressBook);
    const void *first = nullptr;
    onModal<Tfm_PersonManage>([&first](Tfm_PersonManage &window) {
        first = &window;
        EXPECT_EQ(window.tabText(), "【我方单位】");
        EXPECT_EQ(listedNames(window).size(), 2);
        window.close();
    });
    main.runCommand(QString::fromUtf8(AddressBookCommand::OwnUnits));

    onModal<Tfm_PersonManage>([&first](Tfm_PersonManage &window) {
        EXPECT_EQ(&window, first);
        EXPECT_EQ(window.tabText(), "【往来单位】");
        EXPECT_EQ(listedNames(window).size(), 5);
        window.close();
    });
    main.runCommand(QString::fromUtf8(AddressBookCommand::Counterparties));

    onModal<Tfm_PersonManage>([&first](Tfm_PersonManage &window) {
        EXPECT_EQ(&window, first);
        EXPECT_EQ(listedNames(window).size(), 7);
        EXPECT_EQ(window.titleText(), "单位及客户资料管理(7)");
        EXPECT_FALSE(window.pickMode());
        window.close();
    });
    main.runCommand(QString::fromUtf8(AddressBookCommand::Manage));
}

TEST_F(AddressBookPick, InstalledHooksSeeTheMainWindowsBillWindows)
{
    Tfm_Main main(root.context(), installAddressBook);
    ASSERT_TRUE(addressBookHost().billWindowsOpen);
    EXPECT_FALSE(addressBookHost().billWindowsOpen());
    // The overseas remittance command is disabled in this version.
    EXPECT_FALSE(addressBookHost().overseasRemittanceOn());
}

// ---- Grid ------------------------------------------------------------------

TEST_F(AddressBookPick, ShiftClickAfterCtrlClicksSelectsFromTheLastClick)
{
    Tfm_PersonManage window(root.context());
    window.show();
    QTableView *grid = window.grid();
    clickRow(grid, 0, Qt::NoModifier);
    clickRow(grid, 2, Qt::ControlModifier);
    EXPECT_EQ(selectedRows(grid), (QList<int>{0, 2}));
    clickRow(grid, 4, Qt::ShiftModifier);
    EXPECT_EQ(selectedRows(grid), (QList<int>{0, 2, 3, 4}));
    EXPECT_EQ(window.statusText(1), "选中[4/7]条");
    EXPECT_EQ(window.windowTitle(), "单位、客户管理-当前选中:" + window.model()->textAt(4, "全称"));

    clickRow(grid, 1, Qt::NoModifier);  // a plain click starts over
    EXPECT_EQ(selectedRows(grid), (QList<int>{1}));
}

TEST_F(AddressBookPick, RowsAreColouredByNumberAndTheWheelStepsOneRow)
{
    EXPECT_EQ(PersonGridModel::rowColor(0), QColor(230, 235, 255));  // row 1
    EXPECT_EQ(PersonGridModel::rowColor(1), QColor(239, 253, 243));  // row 2

    Tfm_PersonManage window(root.context());
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    window.grid()->setFocus();
    if (!window.grid()->hasFocus())
        GTEST_SKIP() << "no keyboard focus on this platform";
    window.grid()->setCurrentIndex(window.model()->index(2, 1));
    auto turn = [&](int delta) {
        const QPointF at(10, 10);
        QWheelEvent wheel(at, window.grid()->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(window.grid()->viewport(), &wheel);
        return window.grid()->currentIndex().row();
    };
    EXPECT_EQ(turn(-120), 3);  // towards the user: down
    EXPECT_EQ(turn(120), 2);
    EXPECT_EQ(turn(120), 1);
}

TEST_F(AddressBookPick, WindowSizeAndColumnWidthsAreRemembered)
{
    const int nameColumn = 1;
    {
        Tfm_PersonManage window(root.context());
        window.show();
        EXPECT_GE(window.grid()->columnWidth(nameColumn), 150);  // readable before anything is stored
        window.resize(760, 540);
        window.grid()->setColumnWidth(nameColumn, 260);
        window.grid()->setColumnHidden(gridColumnByName(window.model(), "排序"), true);
        window.close();
    }
    root.context().OpenUserIniFile();
    Tfm_PersonManage window(root.context());
    window.show();
    EXPECT_EQ(window.size(), QSize(760, 540));
    EXPECT_EQ(window.grid()->columnWidth(nameColumn), 260);
    EXPECT_TRUE(window.grid()->isColumnHidden(gridColumnByName(window.model(), "排序")));
    // Widths hold across queries too.
    window.keywordEdit()->setText("有限公司");
    window.btQueryClick();
    EXPECT_EQ(window.grid()->columnWidth(nameColumn), 260);
}
