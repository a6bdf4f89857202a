#include "users/ui/tfrm_user_login.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "users/user_store.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace billprint {

namespace {
constexpr int kBoxLength = 30;
}

TfrmUserLogin::TfrmUserLogin(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ctx(context), m_user(new QComboBox(this)), m_password(new QLineEdit(this))
{
    setObjectName(QStringLiteral("frmUserLogin"));
    setWindowTitle(QStringLiteral("操作员切换及登录"));
    m_user->setEditable(true);
    m_user->lineEdit()->setMaxLength(kBoxLength);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setMaxLength(kBoxLength);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("用户名："), m_user);
    form->addRow(QStringLiteral("密  码："), m_password);
    form->addRow(QString(), new QLabel(QStringLiteral("(*初始密码为空)"), this));
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *login = buttons->addButton(QStringLiteral("登录"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    login->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(login, &QPushButton::clicked, this, &TfrmUserLogin::tryLogin);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_password, &QLineEdit::returnPressed, this, &TfrmUserLogin::tryLogin);

    QString error;
    const QStringList names = UserStore(m_ctx.db()).userNames(&error);
    if (!error.isEmpty())
        tell(QStringLiteral("数据库访问出错，请确认系统的完整性未被破坏~"));
    m_user->addItems(names);
    m_user->setCurrentIndex(names.isEmpty() ? -1 : 0);
    m_password->setFocus();
}

void TfrmUserLogin::tryLogin()
{
    const UserOutcome o = UserStore(m_ctx.db()).login(m_user->currentText(), m_password->text(), &m_throttle);
    if (o.ok()) {
        m_ctx.currentOperator = o.userName;
        m_ctx.currentRole = o.roleName;
        m_password->clear();
        accept();
        return;
    }
    m_ctx.currentOperator.clear();
    m_ctx.currentRole.clear();
    tell(o.message);
    if (o.focus == UserOutcome::Focus::UserName)
        m_user->setFocus();
    else
        m_password->setFocus();
}

} // namespace billprint
