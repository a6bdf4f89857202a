#include "users/ui/tfrm_modify_password.h"

#include "app/alert.h"
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

QLineEdit *passwordEdit(QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setEchoMode(QLineEdit::Password);
    edit->setMaxLength(30);
    return edit;
}

} // namespace

TfrmModifyPassword::TfrmModifyPassword(const Database &db, QWidget *parent)
    : QDialog(parent), m_db(db), m_user(new QComboBox(this)), m_old(passwordEdit(this)),
      m_new(passwordEdit(this)), m_confirm(passwordEdit(this))
{
    setObjectName(QStringLiteral("frmModifyPassword"));
    setWindowTitle(QStringLiteral("更改系统登录密码"));
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("用户名："), m_user);
    form->addRow(QStringLiteral("输入旧密码："), m_old);
    form->addRow(QStringLiteral("输入新密码："), m_new);
    form->addRow(QStringLiteral("确认新密码："), m_confirm);
    form->addRow(QString(), new QLabel(QStringLiteral("(初始密码为空)"), this));
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *modify = buttons->addButton(QStringLiteral("修改"), QDialogButtonBox::ActionRole);
    buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(modify, &QPushButton::clicked, this, &TfrmModifyPassword::modify);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TfrmModifyPassword::prepare(const QString &userName)
{
    m_user->clear();
    for (const QString &name : UserStore(m_db).userNames()) {
        if (!name.trimmed().isEmpty())
            m_user->addItem(name);
    }
    m_user->setCurrentIndex(m_user->findText(userName));
    m_old->clear();
    m_new->clear();
    m_confirm->clear();
    m_old->setFocus();
}

void TfrmModifyPassword::modify()
{
    const UserOutcome o =
        UserStore(m_db).changePassword(m_user->currentText(), m_old->text(), m_new->text(), m_confirm->text());
    tell(o.message, o.caption.isEmpty() ? QStringLiteral("提示") : o.caption,
         o.ok() ? AlertIcon::Information : AlertIcon::Warning);
    if (o.focus == UserOutcome::Focus::OldPassword) {
        m_old->clear();
        m_old->setFocus();
    }
    if (o.focus == UserOutcome::Focus::NewPassword)
        m_new->setFocus();
    if (o.ok()) {
        // The typed password is not kept in the boxes. Empty, not filled
        // with stand-ins: a second press would set the stand-ins.
        m_new->clear();
        m_confirm->clear();
        m_old->clear();
    }
}

} // namespace billprint
