#pragma once

#include "users/login_throttle.h"
#include "users/password_hash.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace billprint {

class Database;

// What a user operation came to, with the message for the operator.
struct UserOutcome
{
    enum class Status { Done, Refused, Failed };
    enum class Focus { None, UserName, Password, OldPassword, NewPassword };

    Status status = Status::Done;
    QString message;
    QString caption;
    Focus focus = Focus::None;
    QString userName;  // login: the name that logged in
    QString roleName;  // login: that user's role (may be empty)

    bool ok() const { return status == Status::Done; }
};

// The operators in UserTable: login, password change, adding users, and
// deleting or resetting the selected ones. Every value reaches SQLite as a
// bound parameter, and Passwd only ever receives the empty text or a
// salted hash from PasswordHasher.
class UserStore
{
public:
    static const QStringList &roleNames();  // the roles the windows offer

    explicit UserStore(const Database &db, PasswordHasher hasher = PasswordHasher())
        : m_db(db), m_hasher(hasher)
    {
    }

    // Distinct login names in the table's order; `error` set on failure.
    QStringList userNames(QString *error = nullptr) const;

    // Login with what was typed: both trimmed, single quotes removed. A row
    // still holding the earlier program's MD5 digest is rewritten with a
    // new hash once it has matched. `throttle` (optional) delays guessing.
    UserOutcome login(const QString &typedName, const QString &typedPassword,
                      LoginThrottle *throttle = nullptr,
                      const QDateTime &now = QDateTime::currentDateTimeUtc()) const;

    // Every operation takes a user name as typed and applies the login's
    // rule to it (trimmed, single quotes removed): that is how names are
    // stored, so "O'Neil" finds the user stored as "ONeil" everywhere.

    // Password change: the new password typed twice (trimmed), the old one
    // as typed; single quotes are removed from all three as at login so
    // the password set here is the one the login accepts. A new password
    // that is empty after that is refused ("新密码不能为空！").
    UserOutcome changePassword(const QString &typedName, const QString &oldPassword,
                               const QString &newPassword, const QString &confirmPassword) const;

    // Sets a password without knowing the old one (the administrator's
    // command line). Same trimming, quote and non-empty rules as the
    // change; the message names the stored user.
    UserOutcome setPassword(const QString &typedName, const QString &newPassword) const;

    // A new user with an empty password; a name already present is refused.
    // The message names the user as stored.
    UserOutcome addUser(const QString &userName, const QString &roleName,
                        const QString &remark = QString()) const;

    // Whether `userName` (login rules applied) may be stored for the row
    // `ownId` (-1 for a new row): not empty, and no other row has it.
    UserOutcome checkUserName(const QString &userName, qint64 ownId = -1) const;

    UserOutcome deleteUsers(const QList<qint64> &ids) const;
    UserOutcome resetPasswords(const QList<qint64> &ids) const;

    // The login and change rules for typed passwords.
    static QString loginText(const QString &typed);

private:
    struct Row
    {
        qint64 id = 0;
        QString passwd;
        QString role;
    };
    QList<Row> rowsNamed(const QString &name, bool *ok, QString *error) const;
    bool storePassword(const QString &name, const QString &password, QString *error) const;

    const Database &m_db;
    PasswordHasher m_hasher;
};

} // namespace billprint
