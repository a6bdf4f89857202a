#pragma once

#include "users/login_throttle.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace billprint {

class AppContext;

// "操作员切换及登录": picks an operator and checks the password. A good
// login stores the name and role in the context and closes the window; a
// failed one clears them and leaves the window open for another try.
class TfrmUserLogin : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmUserLogin(AppContext &context, QWidget *parent = nullptr);

    QComboBox *userBox() const { return m_user; }
    QLineEdit *passwordBox() const { return m_password; }
    // The "登录" button (and Enter in the password box).
    void tryLogin();

private:
    AppContext &m_ctx;
    QComboBox *m_user;
    QLineEdit *m_password;
    LoginThrottle m_throttle;
};

} // namespace billprint
