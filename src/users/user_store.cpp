#include "users/user_store.h"

#include "app/database.h"

#include <QSqlError>

namespace billprint {

namespace {

UserOutcome refused(const QString &message, const QString &caption = QString(),
                    UserOutcome::Focus focus = UserOutcome::Focus::None)
{
    UserOutcome o;
    o.status = UserOutcome::Status::Refused;
    o.message = message;
    o.caption = caption;
    o.focus = focus;
    return o;
}

UserOutcome failed(const QString &message, const QString &caption = QString())
{
    UserOutcome o;
    o.status = UserOutcome::Status::Failed;
    o.message = message;
    o.caption = caption;
    return o;
}

UserOutcome done(const QString &message, const QString &caption = QString())
{
    UserOutcome o;
    o.message = message;
    o.caption = caption;
    return o;
}

// A password change never leaves a user without one: taking a password
// away is the administrator's reset, which asks first.
UserOutcome emptyPasswordRefused()
{
    return refused(QStringLiteral("新密码不能为空！"), QString(), UserOutcome::Focus::NewPassword);
}

QString placeholders(qsizetype count)
{
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QLatin1Char(','));
}

QVariantList idValues(const QList<qint64> &ids)
{
    QVariantList values;
    for (qint64 id : ids)
        values << id;
    return values;
}

} // namespace

const QStringList &UserStore::roleNames()
{
    static const QStringList roles{QStringLiteral("管理员"), QStringLiteral("订单处理员"),
                                   QStringLiteral("录单员")};
    return roles;
}

QString UserStore::loginText(const QString &typed)
{
    QString text = typed.trimmed();
    return text.remove(QLatin1Char('\''));
}

QStringList UserStore::userNames(QString *error) const
{
    // In the order the names were first added, on either engine.
    QSqlQuery q = m_db.prepare(QStringLiteral("select UserName from UserTable group by UserName order by min(ID)"));
    QStringList names;
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return names;
    }
    while (q.next())
        names << q.value(0).toString();
    return names;
}

QList<UserStore::Row> UserStore::rowsNamed(const QString &name, bool *ok, QString *error) const
{
    QList<Row> rows;
    QSqlQuery q = m_db.prepare(
        QStringLiteral("select ID, Passwd, RoleName from UserTable where UserName=?"));
    q.addBindValue(name);
    *ok = q.exec();
    if (!*ok) {
        if (error)
            *error = q.lastError().text();
        return rows;
    }
    while (q.next())
        rows.append({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString()});
    return rows;
}

UserOutcome UserStore::login(const QString &typedName, const QString &typedPassword,
                             LoginThrottle *throttle, const QDateTime &now) const
{
    if (throttle) {
        if (const int wait = throttle->secondsToWait(now); wait > 0)
            return refused(QStringLiteral("登录失败次数过多，请%1秒后再试~").arg(wait), QString(),
                           UserOutcome::Focus::Password);
    }
    const QString name = loginText(typedName);
    const QString password = loginText(typedPassword);
    if (name.isEmpty())
        return refused(QStringLiteral("请选择正确的用户名~"), QString(), UserOutcome::Focus::UserName);

    bool ok = false;
    const QList<Row> rows = rowsNamed(name, &ok, nullptr);
    if (!ok)
        return failed(QStringLiteral("密码或用户名输入错误~"));
    QList<Row> matching;
    for (const Row &row : rows) {
        if (m_hasher.verify(password, row.passwd))
            matching.append(row);
    }
    // Two rows of one name that both match cannot tell whose role counts,
    // so such a login is refused like a wrong password.
    if (matching.size() != 1) {
        if (throttle)
            throttle->recordFailure(now);
        return refused(QStringLiteral("用户名或密码输入错误~"), QString(), UserOutcome::Focus::Password);
    }
    const Row &row = matching.first();
    if (PasswordHasher::isLegacyDigest(row.passwd)) {
        // The earlier program's digest is replaced now that the password is
        // known; a failure here does not stop the login.
        if (const QString stored = m_hasher.hash(password); !stored.isEmpty())
            m_db.exec(QStringLiteral("update UserTable set Passwd=? where ID=?"), {stored, row.id});
    }
    if (throttle)
        throttle->recordSuccess();
    UserOutcome o;
    o.userName = name;
    o.roleName = row.role;
    return o;
}

bool UserStore::storePassword(const QString &name, const QString &password, QString *error) const
{
    const QString stored = m_hasher.hash(password);
    // A hash that could not be made must never be stored as "no password".
    if (stored.isEmpty() != password.isEmpty()) {
        *error = QStringLiteral("password hash failed");
        return false;
    }
    return m_db.exec(QStringLiteral("update UserTable set Passwd=? where UserName=?"), {stored, name}, error);
}

UserOutcome UserStore::changePassword(const QString &typedName, const QString &oldPassword,
                                      const QString &newPassword, const QString &confirmPassword) const
{
    const QString userName = loginText(typedName);
    const QString fresh = loginText(newPassword);
    if (fresh != loginText(confirmPassword))
        return refused(QStringLiteral("密码两次输入不一致！"));
    if (fresh.isEmpty())
        return emptyPasswordRefused();
    QString old = oldPassword;
    old.remove(QLatin1Char('\''));

    bool ok = false;
    QString error;
    const QList<Row> rows = rowsNamed(userName, &ok, &error);
    if (!ok)
        return failed(QStringLiteral("密码修改失败，错误=") + error);
    bool known = false;
    for (const Row &row : rows)
        known = known || m_hasher.verify(old, row.passwd);
    if (!known)
        return refused(QStringLiteral("用户名或密码输入有错误，请重新输入."), QStringLiteral("密码错误"),
                       UserOutcome::Focus::OldPassword);
    if (!storePassword(userName, fresh, &error))
        return failed(QStringLiteral("密码修改失败，错误=") + error);
    return done(QStringLiteral("密码修改成功,请牢记新密码。"), QStringLiteral("消息"));
}

UserOutcome UserStore::setPassword(const QString &typedName, const QString &newPassword) const
{
    const QString userName = loginText(typedName);
    const QString fresh = loginText(newPassword);
    if (fresh.isEmpty())
        return emptyPasswordRefused();
    bool ok = false;
    QString error;
    const QList<Row> rows = rowsNamed(userName, &ok, &error);
    if (!ok)
        return failed(QStringLiteral("密码修改失败，错误=") + error);
    if (rows.isEmpty())
        return refused(QStringLiteral("没有这个用户：") + userName);
    if (!storePassword(userName, fresh, &error))
        return failed(QStringLiteral("密码修改失败，错误=") + error);
    return done(QStringLiteral("用户%1的密码修改成功,请牢记新密码。").arg(userName), QStringLiteral("消息"));
}

UserOutcome UserStore::checkUserName(const QString &userName, qint64 ownId) const
{
    const QString name = loginText(userName);
    if (name.isEmpty())
        return refused(QStringLiteral("请选择正确的用户名~"), QString(), UserOutcome::Focus::UserName);
    QSqlQuery q = m_db.prepare(QStringLiteral("select count(*) from UserTable where UserName=? and ID<>?"));
    q.addBindValue(name);
    q.addBindValue(ownId);
    if (!q.exec() || !q.next())
        return failed(QStringLiteral("用户保存失败，错误=") + q.lastError().text());
    // Two rows of one name could never log in: the login refuses them.
    if (q.value(0).toInt() > 0)
        return refused(QStringLiteral("用户名已经存在：") + name, QString(), UserOutcome::Focus::UserName);
    return done(QString());
}

UserOutcome UserStore::addUser(const QString &userName, const QString &roleName,
                               const QString &remark) const
{
    const QString name = loginText(userName);
    if (const UserOutcome check = checkUserName(name); !check.ok())
        return check;
    QString error;
    if (!m_db.exec(QStringLiteral("insert into UserTable (UserName, Passwd, RoleName, Remark) values (?, '', ?, ?)"),
                   {name, roleName.trimmed(), remark}, &error))
        return failed(QStringLiteral("用户添加失败，错误=") + error);
    // The operator learns the name to log in with when it is not the one typed.
    if (name != userName)
        return done(QStringLiteral("用户添加成功：%1（用户名不能含单引号和首尾空格，已保存为：%1）").arg(name));
    return done(QStringLiteral("用户添加成功：") + name);
}

UserOutcome UserStore::deleteUsers(const QList<qint64> &ids) const
{
    if (ids.isEmpty())
        return refused(QStringLiteral("没有选中任何要删除的用户"), QStringLiteral("提示"));
    QString error;
    const bool ok = m_db.transaction(
        [&] {
            return m_db.exec(QStringLiteral("delete from UserTable where ID in(%1)").arg(placeholders(ids.size())),
                             idValues(ids), &error);
        },
        &error);
    if (!ok)
        return failed(QStringLiteral("用户删除失败，错误=") + error);
    return done(QString::number(ids.size()) + QStringLiteral("个用户删除成功！"));
}

UserOutcome UserStore::resetPasswords(const QList<qint64> &ids) const
{
    if (ids.isEmpty())
        return refused(QStringLiteral("没有选中任何重置的用户"), QStringLiteral("提示"));
    QString error;
    const bool ok = m_db.transaction(
        [&] {
            return m_db.exec(
                QStringLiteral("update UserTable set Passwd='' where ID in(%1)").arg(placeholders(ids.size())),
                idValues(ids), &error);
        },
        &error);
    if (!ok)
        return failed(QStringLiteral("密码重置失败，错误=") + error);
    return done(QString::number(ids.size()) + QStringLiteral("个用户密码重置成功！"));
}

} // namespace billprint
