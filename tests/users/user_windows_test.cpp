// The login, management and password change windows on a real database,
// with every message recorded.
#include "app/database.h"
#include "test_support.h"
#include "users/ui/tfrm_modify_password.h"
#include "users/ui/tfrm_user_login.h"
#include "users/ui/tfrm_user_manage.h"
#include "users/user_store.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlTableModel>
#include <QTableView>
#include <QTimer>
#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

QPushButton *buttonCaptioned(QWidget *window, const char *caption)
{
    for (QPushButton *button : window->findChildren<QPushButton *>())
        if (button->text() == QString::fromUtf8(caption))
            return button;
    ADD_FAILURE() << "no button " << caption;
    return nullptr;
}

} // namespace

TEST(UserWindows, LoginStoresOperatorAndRoleOrClearsThem)
{
    TempDataRoot root;
    AlertRecorder alerts;
    UserStore(root.context().db()).addUser("amy", "录单员");
    TfrmUserLogin login(root.context());
    EXPECT_EQ(login.windowTitle(), "操作员切换及登录");
    EXPECT_EQ(login.userBox()->currentText(), "amy");
    login.passwordBox()->setText("wrong");
    login.tryLogin();
    EXPECT_TRUE(alerts.sawMessage("用户名或密码输入错误~"));
    EXPECT_TRUE(root.context().currentRole.isEmpty());
    login.passwordBox()->setText("  ");
    login.tryLogin();
    EXPECT_EQ(login.result(), QDialog::Accepted);
    EXPECT_EQ(root.context().currentOperator, "amy");
    EXPECT_EQ(root.context().currentRole, "录单员");
}

TEST(UserWindows, ManageDeletesAndResetsTheSelectedRowsAfterAsking)
{
    TempDataRoot root;
    AlertRecorder alerts;
    Database &db = root.context().db();
    const UserStore store(db);
    store.addUser("a", "管理员");
    store.addUser("b", "录单员");
    store.setPassword("b", "pw");
    TfrmUserManage window(db);
    window.resetSelected();
    EXPECT_TRUE(alerts.sawMessage("没有选中任何重置的用户"));
    window.grid()->selectRow(1);
    alerts.answerNext(AlertAnswer::Yes);
    window.resetSelected();
    EXPECT_TRUE(alerts.sawMessage("1个用户密码重置成功！"));
    EXPECT_EQ(db.scalar("select Passwd from UserTable where UserName='b'").toString(), "");
    window.grid()->selectAll();
    window.deleteSelected();  // answered No
    EXPECT_EQ(db.scalar("select count(*) from UserTable").toInt(), 2);
    window.grid()->selectAll();
    alerts.answerNext(AlertAnswer::Yes);
    window.deleteSelected();
    EXPECT_TRUE(alerts.sawMessage("2个用户删除成功！"));
    EXPECT_EQ(window.model()->rowCount(), 0);
}

TEST(UserWindows, ModifyPasswordClearsWhatWasTyped)
{
    TempDataRoot root;
    AlertRecorder alerts;
    UserStore(root.context().db()).addUser("amy", "录单员");
    TfrmUserManage manage(root.context().db());
    manage.show();
    bool shown = false;
    // The change window runs modally; it is used from inside its loop.
    QTimer::singleShot(0, &manage, [&] {
        auto *window = manage.findChild<TfrmModifyPassword *>();
        if (!window) {
            ADD_FAILURE() << "no password window";
            return;
        }
        shown = window->isVisible();
        QPushButton *modify = buttonCaptioned(window, "修改");
        window->newBox()->setText("n3w");
        window->confirmBox()->setText("n3w");
        modify->click();
        EXPECT_TRUE(alerts.sawMessage("密码修改成功,请牢记新密码。"));
        EXPECT_EQ(window->newBox()->text(), "");
        EXPECT_EQ(window->confirmBox()->text(), "");
        // A second press sets no password of stand-ins: nothing was typed.
        modify->click();
        EXPECT_EQ(alerts.messages().last(), "新密码不能为空！");
        window->reject();
    });
    buttonCaptioned(&manage, "修改密码")->click();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(UserStore(root.context().db()).login("amy", "n3w").ok());
    EXPECT_FALSE(UserStore(root.context().db()).login("amy", "***************").ok());
}

TEST(UserWindows, ModifyPasswordRefusesABlankNewPasswordAndKeepsTheOldOne)
{
    TempDataRoot root;
    AlertRecorder alerts;
    const UserStore store(root.context().db());
    store.addUser("amy", "录单员");
    ASSERT_TRUE(store.setPassword("amy", "old1").ok());
    TfrmUserManage manage(root.context().db());
    manage.show();
    bool shown = false;
    QTimer::singleShot(0, &manage, [&] {
        auto *window = manage.findChild<TfrmModifyPassword *>();
        if (!window) {
            ADD_FAILURE() << "no password window";
            return;
        }
        shown = window->isVisible();
        window->oldBox()->setText("old1");
        window->newBox()->setText("   ");
        window->confirmBox()->setText("   ");
        buttonCaptioned(window, "修改")->click();
        EXPECT_EQ(alerts.messages(), QStringList{"新密码不能为空！"});
        EXPECT_EQ(window->oldBox()->text(), "old1");  // nothing typed is lost
        window->reject();
    });
    buttonCaptioned(&manage, "修改密码")->click();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(store.login("amy", "old1").ok());
    EXPECT_FALSE(store.login("amy", "").ok());
}

TEST(UserWindows, ManageAddsAndEditsInItsFieldsAndRefusesATakenName)
{
    TempDataRoot root;
    AlertRecorder alerts;
    Database &db = root.context().db();
    const UserStore store(db);
    store.addUser("amy", "录单员");
    store.setPassword("amy", "pw");
    TfrmUserManage window(db);
    EXPECT_FALSE(window.nameBox()->isEnabled());
    EXPECT_EQ(window.nameBox()->text(), "amy");
    EXPECT_EQ(window.passwordBox()->text(), "******");
    EXPECT_TRUE(window.passwordBox()->isReadOnly());

    window.addUser();
    EXPECT_TRUE(window.nameBox()->isEnabled());
    EXPECT_EQ(window.passwordBox()->text(), "");
    window.nameBox()->setText(" bob ");
    window.roleBox()->setCurrentText("管理员");
    window.remarkBox()->setText("O'Neil 的备注");
    EXPECT_TRUE(window.post());
    EXPECT_EQ(db.scalar("select UserName||'|'||Passwd||'|'||RoleName||'|'||Remark from UserTable where UserName='bob'")
                  .toString(),
              "bob||管理员|O'Neil 的备注");

    const struct
    {
        const char *typed;
        const char *message;
    } refusals[] = {{"amy", "用户名已经存在：amy"}, {" ' ", "请选择正确的用户名~"}};
    for (const auto &r : refusals) {
        alerts.clear();
        window.addUser();
        window.nameBox()->setText(r.typed);
        EXPECT_FALSE(window.post());
        EXPECT_EQ(alerts.messages(), QStringList{r.message});
        EXPECT_EQ(window.nameBox()->text(), r.typed);  // what was typed stays
        window.nameBox()->setText(QString("carl%1").arg(window.model()->rowCount()));
        EXPECT_TRUE(window.post());
    }
    EXPECT_EQ(db.scalar("select count(*) from UserTable").toInt(), 4);

    // "修改": the current row's fields take input; renaming onto a taken name is refused.
    window.grid()->setCurrentIndex(window.model()->index(1, window.model()->fieldIndex("UserName")));
    ASSERT_EQ(window.nameBox()->text(), "bob");
    window.editCurrent();
    window.roleBox()->setCurrentText("订单处理员");
    window.nameBox()->setText("amy");
    alerts.clear();
    EXPECT_FALSE(window.post());
    EXPECT_TRUE(alerts.sawMessage("用户名已经存在：amy"));
    window.nameBox()->setText("bobby");
    EXPECT_TRUE(window.post());
    EXPECT_EQ(db.scalar("select RoleName from UserTable where UserName='bobby'").toString(), "订单处理员");
    EXPECT_EQ(db.scalar("select count(*) from UserTable where Passwd<>'' and Passwd not like 'pbkdf2-sha256$%'").toInt(), 0);
}
