#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace billprint {

class Database;

// "更改系统登录密码": the old password once, the new one twice.
class TfrmModifyPassword : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmModifyPassword(const Database &db, QWidget *parent = nullptr);

    // Reloads the user list and picks `userName`.
    void prepare(const QString &userName);
    void modify();  // the "修改" button

    QComboBox *userBox() const { return m_user; }
    QLineEdit *oldBox() const { return m_old; }
    QLineEdit *newBox() const { return m_new; }
    QLineEdit *confirmBox() const { return m_confirm; }

private:
    const Database &m_db;
    QComboBox *m_user;
    QLineEdit *m_old;
    QLineEdit *m_new;
    QLineEdit *m_confirm;
};

} // namespace billprint
