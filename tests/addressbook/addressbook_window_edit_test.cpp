// Changing the address book from its window: add and modify through the
// record editor, the three deletions, the default drawer, and the record
// editor's own rules.
#include "addressbook/default_drawer.h"
#include "addressbook/person_store.h"
#include "addressbook/ui/address_book_commands.h"
#include "addressbook/ui/address_book_host.h"
#include "addressbook/ui/person_filter_tree.h"
#include "addressbook/ui/tfrm_person_info.h"
#include "addressbook_window_fixtures.h"
#include "shell/ui/tfm_main.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QValidator>

using namespace billprint;
using namespace billprint::test;

namespace {

int countWhere(const Database &db, const QString &condition, const QVariantList &values = {})
{
    return db.scalar("select count(*) from ckPersonalInfoTable where " + condition, values).toInt();
}

class AddressBookEdit : public ::testing::Test
{
protected:
    AddressBookEdit() : book(root.context().db()), window(root.context()) { window.show(); }
    ~AddressBookEdit() override { addressBookHost() = AddressBookHost(); }

    const Database &db() { return root.context().db(); }

    TempDataRoot root;
    AlertRecorder alerts;
    SampleBook book;
    Tfm_PersonManage window;
};

} // namespace

TEST_F(AddressBookEdit, AddStartsAnEmptyUnitOfTheListedKindAndSavesIt)
{
    window.presetUnitKind(UnitKind::Own);
    window.runQuery();
    onModal<Tfrm_PersonInfo>([](Tfrm_PersonInfo &editor) {
        EXPECT_EQ(editor.unitKind(), "我方单位");
        EXPECT_EQ(editor.fieldText("国家"), "中国");
        EXPECT_TRUE(editor.fieldText("全称").isEmpty());
        EXPECT_TRUE(editor.idText().isEmpty());
        editor.setFieldText("全称", "成都蜀锦文化传播有限公司");
        editor.setFieldText("联系人", "杨帆");
        editor.setFieldText("开户行账号", "  5101 0000 8888  ");
        EXPECT_TRUE(editor.btSaveClick());
        EXPECT_FALSE(editor.idText().isEmpty());  // the new unit's number is shown
        editor.close();
    });
    window.btAddClick();
    EXPECT_TRUE(alerts.sawMessage("新增单位资料添加成功！"));
    EXPECT_EQ(countWhere(db(), "全称 = ? and 单位类型 = '我方单位' and 开户行账号 = '5101 0000 8888'",
                         {"成都蜀锦文化传播有限公司"}),
              1);
    EXPECT_TRUE(listedNames(window).contains("成都蜀锦文化传播有限公司"));  // listed again at once
    EXPECT_TRUE(window.button("btRefresh")->isEnabled());
}

TEST(AddressBookCounts, SavingTheFirstUnitCountsIt)
{
    TempDataRoot root;
    AlertRecorder alerts;
    Tfm_Main main(root.context(), installAddressBook);
    bool shown = false;
    QString titleBefore, titleAfter, totalBefore, totalAfter;
    onModal<Tfm_PersonManage>([&](Tfm_PersonManage &window) {
        shown = window.isVisible();
        titleBefore = window.titleText();
        totalBefore = window.statusText(2);
        onModal<Tfrm_PersonInfo>([](Tfrm_PersonInfo &editor) {
            editor.setFieldText("全称", "成都蜀锦文化传播有限公司");
            editor.setFieldText("联系人", "杨帆");
            EXPECT_TRUE(editor.btSaveClick());
            editor.close();
        });
        window.button("btAdd")->click();
        titleAfter = window.titleText();
        totalAfter = window.statusText(2);
        window.close();
    });
    main.runCommand(QString::fromUtf8(AddressBookCommand::Counterparties));
    EXPECT_TRUE(shown);
    EXPECT_EQ(titleBefore, "单位及客户资料管理(0)");
    EXPECT_EQ(totalBefore, "系统共有[0]条.");
    EXPECT_EQ(titleAfter, "单位及客户资料管理(1)");
    EXPECT_EQ(totalAfter, "系统共有[1]条.");
}

TEST_F(AddressBookEdit, AddInAGroupPresetsTheGroup)
{
    emit window.tree()->itemClicked(window.tree()->childNode(FilterNode::ByGroup, "华东客户"), 0);
    onModal<Tfrm_PersonInfo>([](Tfrm_PersonInfo &editor) {
        EXPECT_EQ(editor.fieldText("分组"), "华东客户");
        EXPECT_EQ(editor.unitKind(), "往来单位");
        editor.setFieldText("全称", "南京金陵电子有限公司");
        editor.setFieldText("省", "江苏");
        editor.btSaveCloseClick();
    });
    window.btAddClick();
    EXPECT_EQ(listedNames(window).size(), 3);
    // The new province shows in the tree.
    EXPECT_NE(window.tree()->childNode(FilterNode::ByProvince, "江苏"), nullptr);
}

TEST_F(AddressBookEdit, ModifyEditsTheCurrentUnit)
{
    makeCurrent(window, "上海浦江物流有限公司");
    onModal<Tfrm_PersonInfo>([](Tfrm_PersonInfo &editor) {
        EXPECT_EQ(editor.fieldText("全称"), "上海浦江物流有限公司");
        EXPECT_EQ(editor.fieldText("开户行账号"), "121908765410201");
        EXPECT_EQ(editor.fieldText("分组"), "华东客户");
        EXPECT_EQ(editor.unitKind(), "往来单位");
        editor.setFieldText("联系人", "李娜娜");
        editor.btSaveCloseClick();
    });
    window.btModifyClick();
    EXPECT_TRUE(alerts.sawMessage("历史单位资料资料更新成功！"));
    EXPECT_EQ(countWhere(db(), "ID = ? and 联系人 = '李娜娜'", {book.pujiang}), 1);
    EXPECT_EQ(countWhere(db(), "1 = 1"), 7);
}

TEST_F(AddressBookEdit, ModifyAndDefaultDrawerNeedARow)
{
    window.keywordEdit()->setText("没有这个单位");
    window.btQueryClick();
    window.btModifyClick();
    EXPECT_TRUE(alerts.sawMessage("没有单位可修改，请先选中一个要修改的单位！"));
    window.btDefaultDrawerClick();
    EXPECT_TRUE(alerts.sawMessage("没有单位资料可设置，请先选中一个要设置的单位资料！"));
}

TEST_F(AddressBookEdit, ModifyOfAUnitDeletedMeanwhileSaysSoInsteadOfAddingIt)
{
    makeCurrent(window, "佛山顺德美居家具厂");
    ASSERT_TRUE(PersonStore(db()).deleteById(book.shunde));
    window.btModifyClick();  // no editor comes up
    EXPECT_TRUE(alerts.sawMessage("可能已被删除"));
    EXPECT_EQ(countWhere(db(), "全称 = '佛山顺德美居家具厂'"), 0);
}

TEST_F(AddressBookEdit, ApostrophesInNameAndAccountAreSavedAndFound)
{
    makeCurrent(window, "O'Brien (中国) 咨询有限公司");
    onModal<Tfrm_PersonInfo>([](Tfrm_PersonInfo &editor) {
        EXPECT_EQ(editor.fieldText("开户行账号"), "HK'001-234");
        editor.setFieldText("开户行账号", "HK'999-000");
        editor.setFieldText("全称", "O'Brien & O'Neil (中国) 咨询有限公司");
        editor.btSaveCloseClick();
    });
    window.btModifyClick();
    const auto found = TPerson::findByNameAndAccount(db(), "O'Brien & O'Neil (中国) 咨询有限公司", "HK'999-000");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->id(), book.obrien);
    window.keywordEdit()->setText("O'Neil");
    window.btQueryClick();
    EXPECT_EQ(listedNames(window), QStringList{"O'Brien & O'Neil (中国) 咨询有限公司"});
}

TEST_F(AddressBookEdit, DeleteSelectedAsksAndDeletesTheSelectedRows)
{
    window.grid()->selectRow(rowOf(window, "杭州西湖茶业有限公司"));
    window.grid()->selectionModel()->select(window.model()->index(rowOf(window, "佛山顺德美居家具厂"), 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(window.statusText(1), "选中[2/7]条");

    window.btDeleteSelectedClick();  // answered No
    EXPECT_TRUE(alerts.sawMessage("确认要删除所选中的2个单位信息吗?"));
    EXPECT_EQ(countWhere(db(), "1 = 1"), 7);

    alerts.answerNext(AlertAnswer::Yes);
    window.grid()->selectRow(rowOf(window, "杭州西湖茶业有限公司"));
    window.grid()->selectionModel()->select(window.model()->index(rowOf(window, "佛山顺德美居家具厂"), 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    window.btDeleteSelectedClick();
    EXPECT_TRUE(alerts.sawMessage("2个单位信息删除成功！"));
    EXPECT_EQ(listedNames(window).size(), 5);
    EXPECT_EQ(countWhere(db(), "ID in (?, ?)", {book.xihu, book.shunde}), 0);
    EXPECT_EQ(window.statusText(2), "系统共有[5]条.");
    EXPECT_EQ(window.titleText(), "单位、客户管理(5)");
}

TEST_F(AddressBookEdit, DeleteListedDeletesOnlyWhatTheSearchListed)
{
    emit window.tree()->itemClicked(window.tree()->childNode(FilterNode::ByGroup, "华东客户"), 0);
    window.btDeleteListedClick();  // No to the first question
    EXPECT_TRUE(alerts.sawMessage("提醒:此操作将删除当前搜索列出的单位资料,且不可恢复! 确定立即删除列出吗？"));
    EXPECT_EQ(countWhere(db(), "1 = 1"), 7);

    alerts.answerNext(AlertAnswer::Yes);
    alerts.answerNext(AlertAnswer::Yes);
    window.btDeleteListedClick();
    EXPECT_EQ(countWhere(db(), "分组 = '华东客户'"), 0);
    EXPECT_EQ(countWhere(db(), "1 = 1"), 5);
}

TEST_F(AddressBookEdit, DeleteAllOfTheListedKindAfterTwoWarnings)
{
    emit window.tree()->itemClicked(window.tree()->topNode(FilterNode::Counterparty), 0);
    alerts.answerNext(AlertAnswer::Yes);
    alerts.answerNext(AlertAnswer::No);
    window.btDeleteAllClick();
    EXPECT_TRUE(alerts.sawMessage("警告:此操作将删除所有往来单位的资料,且不可恢复,建议此操作在导出备份后进行!确定立即清空吗？"));
    EXPECT_TRUE(alerts.sawMessage("再次警告:此操作将删除所有往来单位的资料"));
    EXPECT_EQ(countWhere(db(), "1 = 1"), 7);

    alerts.answerNext(AlertAnswer::Yes);
    alerts.answerNext(AlertAnswer::Yes);
    window.btDeleteAllClick();
    EXPECT_EQ(countWhere(db(), "1 = 1"), 2);
    EXPECT_EQ(countWhere(db(), "单位类型 = '往来单位'"), 0);
}

TEST_F(AddressBookEdit, DeleteAllWithoutAKindEmptiesTheBook)
{
    window.listAll();
    alerts.answerNext(AlertAnswer::Yes);
    alerts.answerNext(AlertAnswer::Yes);
    window.btDeleteAllClick();
    EXPECT_TRUE(alerts.sawMessage("警告:此操作将删除所有的资料"));
    EXPECT_EQ(countWhere(db(), "1 = 1"), 0);
    EXPECT_TRUE(listedNames(window).isEmpty());
}

TEST_F(AddressBookEdit, DefaultDrawerMovesToExactlyOneOwnUnit)
{
    root.context().defaultDrawerOn = true;
    int closed = 0;
    addressBookHost().billWindowsOpen = [] { return true; };
    addressBookHost().closeBillWindows = [&closed] { ++closed; };
    // Earlier data may carry the mark twice.
    db().exec("update ckPersonalInfoTable set 分组 = '默认出票人' where ID = ?", {book.xihu});

    makeCurrent(window, "广州市恒达贸易有限公司");  // a counterparty
    window.btDefaultDrawerClick();
    EXPECT_TRUE(alerts.sawMessage("默认出票人设置成功！"));
    EXPECT_EQ(countWhere(db(), "分组 = '默认出票人'"), 1);
    EXPECT_EQ(countWhere(db(), "分组 = '默认出票人' and ID = ? and 单位类型 = '我方单位'", {book.hengda}), 1);
    ASSERT_TRUE(heldDefaultDrawer(root.context()).has_value());
    EXPECT_EQ(heldDefaultDrawer(root.context())->fullName(), "广州市恒达贸易有限公司");
    EXPECT_TRUE(alerts.sawMessage("默认出票人已经修改，请重新填开票据！"));
    EXPECT_EQ(closed, 1);

    // The drawer node lists the new one.
    emit window.tree()->itemClicked(window.tree()->topNode(FilterNode::DefaultDrawer), 0);
    EXPECT_EQ(listedNames(window), QStringList{"广州市恒达贸易有限公司"});
}

TEST_F(AddressBookEdit, DeletingTheDefaultDrawerStopsItFillingNewBills)
{
    root.context().defaultDrawerOn = true;
    reloadDefaultDrawer(root.context());
    alerts.answerNext(AlertAnswer::Yes);
    window.grid()->selectRow(rowOf(window, "深圳市前海金融服务有限公司"));
    window.btDeleteSelectedClick();
    EXPECT_FALSE(heldDefaultDrawer(root.context()).has_value());
}

TEST_F(AddressBookEdit, WidenButtonShowsAndHidesTheRoomBesideDeleteAll)
{
    window.resize(640, 500);
    QApplication::processEvents();
    const int left = window.button("btDeleteAll")->mapTo(&window, QPoint(0, 0)).x();
    ASSERT_GT(left + 120, 640);  // out of sight at this width
    window.btWidenClick();
    EXPECT_EQ(window.width(), 760);

    window.resize(left + 130, 500);
    QApplication::processEvents();
    window.btWidenClick();
    EXPECT_EQ(window.width(), left + 10);
}

TEST_F(AddressBookEdit, ImportWithoutTheImportStepSaysItIsComing)
{
    window.btImportClick();
    EXPECT_TRUE(alerts.sawMessage("正在建设!"));
}

// ---- The record editor on its own ---------------------------------------

// Desk B, a second copy of the program on the same data, saves a unit
// with one column changed.
void saveAtDeskB(const QString &dataRoot, int id, const QString &column, const QString &value)
{
    std::unique_ptr<AppContext> deskB = AppContext::open(DataRoot(dataRoot), nullptr, dataRoot + "/desk-b.conf");
    ASSERT_TRUE(deskB);
    TPerson unit;
    ASSERT_EQ(unit.loadById(deskB->db(), id), PersonLoad::Loaded);
    unit.setText(column, value);
    ASSERT_TRUE(unit.save(deskB->db()));
}

TEST_F(AddressBookEdit, SavingAUnitAnotherDeskSavedMeanwhileAsksAndNoKeepsTheirsAndWhatWasTyped)
{
    makeCurrent(window, "上海浦江物流有限公司");
    onModal<Tfrm_PersonInfo>([&](Tfrm_PersonInfo &editor) {
        EXPECT_TRUE(editor.isVisible());
        saveAtDeskB(root.path(), book.pujiang, "联系人", "王芳");
        editor.setFieldText("联系人", "李娜娜");
        alerts.clear();
        alerts.answerNext(AlertAnswer::No);
        EXPECT_FALSE(editor.btSaveClick());
        EXPECT_EQ(alerts.messages(), QStringList{"该记录已被其他用户修改，是否覆盖？"});
        EXPECT_EQ(editor.fieldText("联系人"), "李娜娜");
        EXPECT_EQ(editor.idText(), QString::number(book.pujiang));
        static_cast<QDialog &>(editor).done(QDialog::Rejected);
    });
    window.btModifyClick();
    EXPECT_EQ(countWhere(db(), "ID = ? and 联系人 = '王芳'", {book.pujiang}), 1);
}

TEST_F(AddressBookEdit, SavingAUnitAnotherDeskSavedMeanwhileAndAnsweringYesOverwritesIt)
{
    makeCurrent(window, "上海浦江物流有限公司");
    onModal<Tfrm_PersonInfo>([&](Tfrm_PersonInfo &editor) {
        saveAtDeskB(root.path(), book.pujiang, "联系人", "王芳");
        editor.setFieldText("联系人", "李娜娜");
        alerts.clear();
        alerts.answerNext(AlertAnswer::Yes);
        EXPECT_TRUE(editor.btSaveClick());
        EXPECT_EQ(alerts.messages(),
                  (QStringList{"该记录已被其他用户修改，是否覆盖？", "历史单位资料资料更新成功！"}));
        // The window holds the row's new version: saving again asks nothing.
        alerts.clear();
        editor.setFieldText("电话", "021-66668888");
        EXPECT_TRUE(editor.btSaveClick());
        EXPECT_EQ(alerts.messages(), QStringList{"历史单位资料资料更新成功！"});
        static_cast<QDialog &>(editor).done(QDialog::Accepted);
    });
    window.btModifyClick();
    EXPECT_EQ(countWhere(db(), "ID = ? and 联系人 = '李娜娜' and 电话 = '021-66668888'", {book.pujiang}), 1);
}

class PersonEditor : public ::testing::Test
{
protected:
    PersonEditor() : editor(root.context()) {}
    ~PersonEditor() override { addressBookHost() = AddressBookHost(); }

    const Database &db() { return root.context().db(); }

    TempDataRoot root;
    AlertRecorder alerts;
    Tfrm_PersonInfo editor;
};

TEST_F(PersonEditor, SavingTwiceUpdatesTheSameUnitAndMultiHeadAddsAnotherRow)
{
    editor.prepareNew(UnitKind::Counterparty);
    editor.setFieldText("全称", "武汉长江航运有限公司");
    editor.setFieldText("开户行账号", "4200001");
    ASSERT_TRUE(editor.btSaveClick());
    ASSERT_TRUE(editor.btSaveClick());
    EXPECT_EQ(alerts.messages().last(), "历史单位资料资料更新成功！");
    EXPECT_EQ(countWhere(db(), "全称 = '武汉长江航运有限公司'"), 1);

    editor.btMultiClick();
    EXPECT_TRUE(editor.idText().isEmpty());
    EXPECT_EQ(editor.focusWidget(), editor.field("联系人"));
    editor.setFieldText("开户行账号", "4200002");
    ASSERT_TRUE(editor.btSaveClick());
    EXPECT_EQ(alerts.messages().last(), "新增单位资料添加成功！");
    EXPECT_EQ(countWhere(db(), "全称 = '武汉长江航运有限公司'"), 2);
}

TEST_F(PersonEditor, EscapeAndTheCloseBoxAskBeforeUnsavedEditsAreLost)
{
    editor.prepareNew(UnitKind::Counterparty);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    for (AlertAnswer answer : {AlertAnswer::Cancel, AlertAnswer::No, AlertAnswer::Yes}) {
        editor.show();
        editor.setFieldText("全称", "南京紫金山茶社");
        alerts.answerNext(answer);
        QApplication::sendEvent(editor.field("全称"), &escape);
        EXPECT_EQ(editor.isVisible(), answer == AlertAnswer::Cancel);
    }
    EXPECT_EQ(alerts.messages().count("单位资料已修改，是否保存？"), 3);
    EXPECT_EQ(countWhere(db(), "全称 = '南京紫金山茶社'"), 1);  // Yes saved
    editor.show();
    editor.close();  // nothing typed since: no question
    EXPECT_EQ(alerts.messages().count("单位资料已修改，是否保存？"), 3);
}

TEST_F(PersonEditor, NextAfterSaveClearsFieldsAndNumber)
{
    editor.prepareNew(UnitKind::Own);
    editor.nextAfterSaveBox()->setChecked(true);
    editor.setFieldText("全称", "厦门鹭岛食品有限公司");
    ASSERT_TRUE(editor.btSaveClick());
    EXPECT_TRUE(editor.fieldText("全称").isEmpty());
    EXPECT_TRUE(editor.idText().isEmpty());
    // The next unit is a new row, not an overwrite of the one just saved.
    editor.setFieldText("全称", "厦门海沧港务有限公司");
    ASSERT_TRUE(editor.btSaveClick());
    EXPECT_EQ(countWhere(db(), "全称 like '厦门%'"), 2);
}

TEST_F(PersonEditor, RecordFromFieldsTrimsCodesBanksAndAccountsAndNormalisesTheKind)
{
    editor.setFieldText("全称", " 青岛海风 ");
    editor.setFieldText("助记码", " qdhf ");
    editor.setFieldText("开户银行", " 青岛银行 ");
    editor.setFieldText("开户行账号", " 8020 ");
    editor.setFieldText("扩展信息", "周一不收货");
    TPerson stored;
    stored.setUnitKind("供应商");  // not one of the two words
    editor.setUnitKind(stored.unitKind());
    const TPerson p = editor.person();
    EXPECT_EQ(p.fullName(), " 青岛海风 ");
    EXPECT_EQ(p.inputCode(), "qdhf");
    EXPECT_EQ(p.bank(), "青岛银行");
    EXPECT_EQ(p.account(), "8020");
    EXPECT_EQ(p.extraInfo(), "周一不收货");
    EXPECT_EQ(p.unitKind(), "往来单位");
}

TEST_F(PersonEditor, ResetClearsEveryFieldTheCountryAndTheNumber)
{
    TPerson p;
    p.setId(12);
    p.setFullName("天津渤海化工有限公司");
    p.setCountry("中国");
    p.setCustom2("代理银行");
    editor.setPerson(p);
    EXPECT_EQ(editor.idText(), "12");
    editor.btResetClick();
    EXPECT_TRUE(editor.idText().isEmpty());
    EXPECT_TRUE(editor.fieldText("全称").isEmpty());
    EXPECT_TRUE(editor.fieldText("国家").isEmpty());
    EXPECT_TRUE(editor.fieldText("自定义2").isEmpty());
}

TEST_F(PersonEditor, LeavingTheTownPutsItInFrontOfTheAddress)
{
    editor.show();
    editor.setFieldText("地址", "金沙江路1号");
    editor.setFieldText("镇区", "南翔镇");
    QFocusEvent left(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(editor.field("镇区"), &left);
    EXPECT_EQ(editor.fieldText("地址"), "南翔镇金沙江路1号");
    QApplication::sendEvent(editor.field("镇区"), &left);  // already there
    EXPECT_EQ(editor.fieldText("地址"), "南翔镇金沙江路1号");

    editor.setFieldText("镇区", "请直接输入");
    QApplication::sendEvent(editor.field("镇区"), &left);
    EXPECT_TRUE(editor.fieldText("镇区").isEmpty());
    EXPECT_EQ(editor.fieldText("地址"), "南翔镇金沙江路1号");
}

TEST_F(PersonEditor, FieldsAcceptTheirColumnsWidthInGbkBytes)
{
    auto accepts = [this](const char *column, const QString &text) {
        auto *edit = qobject_cast<QLineEdit *>(editor.field(column));
        if (!edit)
            edit = qobject_cast<QComboBox *>(editor.field(column))->lineEdit();
        QString copy = text;
        int pos = 0;
        return edit->validator()->validate(copy, pos) != QValidator::Invalid;
    };
    EXPECT_TRUE(accepts("全称", QString(40, QChar(0x4E2D))));   // 80 bytes
    EXPECT_FALSE(accepts("全称", QString(41, QChar(0x4E2D))));
    EXPECT_TRUE(accepts("全称", QString(80, 'a')));
    EXPECT_FALSE(accepts("助记码", QString(25, 'a')));
    EXPECT_TRUE(accepts("分组", QString(16, QChar(0x7EC4))));
    EXPECT_FALSE(accepts("分组", QString(17, QChar(0x7EC4))));
    EXPECT_FALSE(accepts("国家", QString(13, QChar(0x4E2D))));

    // The multi-line address stops at 160 bytes.
    auto *address = qobject_cast<QPlainTextEdit *>(editor.field("地址"));
    address->setPlainText(QString(100, QChar(0x8DEF)));
    EXPECT_EQ(address->toPlainText().size(), 80);
    // A longer address stored earlier is shown and saved back whole.
    TPerson stored;
    stored.setAddress(QString(90, QChar(0x8DEF)));
    editor.setPerson(stored);
    EXPECT_EQ(editor.person().address().size(), 90);
}

TEST_F(PersonEditor, EnterMovesOnThroughTheForm)
{
    editor.show();
    auto enterIn = [this](const char *column) {
        QWidget *from = editor.field(column);
        from->setFocus();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QWidget *target = from;
        if (auto *box = qobject_cast<QComboBox *>(from))
            target = box->lineEdit();
        QApplication::sendEvent(target, &enter);
        return editor.focusWidget();
    };
    auto focusOf = [this](const char *column) {
        QWidget *w = editor.field(column);
        auto *box = qobject_cast<QComboBox *>(w);
        return box && box->lineEdit() ? QSet<QWidget *>{w, box->lineEdit()} : QSet<QWidget *>{w};
    };
    EXPECT_TRUE(focusOf("助记码").contains(enterIn("全称")));
    EXPECT_TRUE(focusOf("开户银行").contains(enterIn("识别号")));
    EXPECT_TRUE(focusOf("省").contains(enterIn("开户行账号")));
    EXPECT_EQ(enterIn("开户行行号"), editor.kindBox());
    EXPECT_TRUE(focusOf("市").contains(enterIn("省")));
    EXPECT_TRUE(focusOf("邮编").contains(enterIn("地址")));  // no line break in the address
    EXPECT_EQ(qobject_cast<QPlainTextEdit *>(editor.field("地址"))->toPlainText(), "");
    EXPECT_TRUE(focusOf("手机").contains(enterIn("电话")));
    EXPECT_EQ(enterIn("分组"), editor.findChild<QPushButton *>("btSave"));

    // A key in the unit kind does its work there, then the group is next.
    editor.kindBox()->setFocus();
    editor.setUnitKind(UnitKind::Own);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(editor.kindBox(), &down);
    QApplication::processEvents();
    EXPECT_EQ(editor.unitKind(), "往来单位");
    EXPECT_TRUE(focusOf("分组").contains(editor.focusWidget()));
}

TEST_F(PersonEditor, CityListFollowsTheProvince)
{
    editor.setFieldText("省", "广东省");
    auto *city = qobject_cast<QComboBox *>(editor.field("市"));
    EXPECT_GT(city->count(), 5);
    EXPECT_NE(city->findText("广州市"), -1);
    editor.setFieldText("市", "佛山市");
    editor.setFieldText("省", " 浙江省 ");  // blanks around are ignored
    EXPECT_NE(city->findText("杭州市"), -1);
    EXPECT_EQ(city->currentText(), "佛山市");  // what was typed stays
}

TEST_F(PersonEditor, OverseasNoteOnlyWhileOverseasRemittanceIsOn)
{
    editor.show();
    EXPECT_FALSE(editor.overseasNote()->isVisible());
    editor.close();
    addressBookHost().overseasRemittanceOn = [] { return true; };
    editor.show();
    EXPECT_TRUE(editor.overseasNote()->isVisible());
}

TEST_F(PersonEditor, InputCodeLabelExplainsTheCode)
{
    editor.lbInputCodeClick();
    EXPECT_TRUE(alerts.sawMessage("助记码"));
    EXPECT_TRUE(alerts.sawMessage("%"));
}

TEST_F(AddressBookEdit, AUnitSavedAtAnotherDeskIsListedAfterARefresh)
{
    window.runQuery();
    ASSERT_FALSE(listedNames(window).contains("O'Brien 贸易有限公司"));
    {
        std::unique_ptr<AppContext> deskB =
            AppContext::open(DataRoot(root.path()), nullptr, root.path() + "/desk-b.conf");
        ASSERT_TRUE(deskB);
        TPerson unit;
        unit.setText("全称", "O'Brien 贸易有限公司");
        unit.setText("单位类型", "往来单位");
        ASSERT_TRUE(unit.save(deskB->db()));
    }
    // On a shared database other desks change the data at any time: 刷新
    // is there from the start. A desk's own file waits for its first change.
    QPushButton *refresh = window.button("btRefresh");
    EXPECT_EQ(refresh->isEnabled(), db().isShared());
    (refresh->isEnabled() ? refresh : window.button("btAll"))->click();
    EXPECT_TRUE(listedNames(window).contains("O'Brien 贸易有限公司"));
}
