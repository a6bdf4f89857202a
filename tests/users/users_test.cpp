// Operators: password storage, login, password change and the management
// operations, checked on a real database.
#include "app/database.h"
#include "test_support.h"
#include "users/user_command.h"
#include "users/user_store.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

// A low count keeps the tests quick; the stored text carries the count,
// so checking does not depend on it. The range is widened to match.
const PasswordHasher kQuickHasher(1000, {1, PasswordHasher::kAcceptedIterations.most});

struct Users
{
    TempDataRoot root;
    Database &db() { return root.context().db(); }
    UserStore store{db(), kQuickHasher};

    qint64 add(const QString &name, const QString &passwd, const QString &role = "管理员")
    {
        db().exec("insert into UserTable (UserName, Passwd, RoleName) values (?, ?, ?)", {name, passwd, role});
        return db().scalar("select max(ID) from UserTable").toLongLong();
    }
    QString passwd(qint64 id) { return db().scalar("select Passwd from UserTable where ID=?", {id}).toString(); }
    QStringList allPasswd()
    {
        QStringList out;
        QSqlQuery q = db().prepare("select Passwd from UserTable");
        q.exec();
        while (q.next())
            out << q.value(0).toString();
        return out;
    }
};

bool isNewFormat(const QString &stored)
{
    static const QRegularExpression format("^pbkdf2-sha256\\$\\d+\\$[A-Za-z0-9+/=]+\\$[A-Za-z0-9+/=]+$");
    return format.match(stored).hasMatch();
}

} // namespace

TEST(PasswordHash, StoredTextIsSaltedSelfDescribingAndChecks)
{
    const PasswordHasher hasher;
    const QString stored = hasher.hash("秘密 pass'1");
    EXPECT_TRUE(stored.startsWith("pbkdf2-sha256$600000$")) << stored.toStdString();
    EXPECT_TRUE(isNewFormat(stored));
    EXPECT_TRUE(hasher.verify("秘密 pass'1", stored));
    EXPECT_FALSE(hasher.verify("秘密 pass'2", stored));
    EXPECT_NE(kQuickHasher.hash("same"), kQuickHasher.hash("same"));  // salted
    EXPECT_EQ(hasher.hash(""), "");
    EXPECT_TRUE(hasher.verify("", ""));
    EXPECT_FALSE(hasher.verify("", stored));
    EXPECT_FALSE(hasher.verify("x", ""));
}

TEST(PasswordHash, ChecksAKnownPbkdf2Sha256Vector)
{
    // PBKDF2-HMAC-SHA256("passwd", "salt", 1 iteration), first 32 bytes.
    const QString stored = "pbkdf2-sha256$1$c2FsdA==$VawEblbjCJ/sFpHCJUS2BflBhSFt3gRl5oudV8INrLw=";
    EXPECT_TRUE(kQuickHasher.verify("passwd", stored));
    EXPECT_FALSE(kQuickHasher.verify("passwd", "pbkdf2-sha256$2$c2FsdA==$VawEblbjCJ/sFpHCJUS2BflBhSFt3gRl5oudV8INrLw="));
    EXPECT_FALSE(kQuickHasher.verify("passwd", "md5$1$c2FsdA==$VawEblbjCJ/sFpHCJUS2BflBhSFt3gRl5oudV8INrLw="));
}

// A row naming an iteration count far from what the program writes is
// invalid: a count of billions would keep a login computing for hours.
TEST(PasswordHash, IterationCountsOutsideTheWrittenRangeNeverMatchAndCostNothing)
{
    const PasswordHasher hasher;
    const QString written = PasswordHasher(100000).hash("pw");
    EXPECT_TRUE(written.startsWith("pbkdf2-sha256$100000$")) << written.toStdString();
    EXPECT_TRUE(hasher.verify("pw", written));
    const QString saltAndHash = written.section('$', 2);
    QElapsedTimer timer;
    timer.start();
    for (const char *count : {"2000000000", "99999", "10000001", "4294967296", "+100000", " 100000", "100000 ",
                              "1e5", "0100000"})
        EXPECT_FALSE(hasher.verify("pw", QString("pbkdf2-sha256$%1$%2").arg(count, saltAndHash))) << count;
    EXPECT_LT(timer.elapsed(), 500);
    // Nor does the program write a hash it would not accept.
    EXPECT_EQ(PasswordHasher(99999).hash("pw"), "");
    EXPECT_EQ(PasswordHasher(10000001).hash("pw"), "");
}

TEST(PasswordHash, EarlierDigestsAreRecognisedAndChecked)
{
    EXPECT_EQ(PasswordHasher::legacyDigest("123456"), "e10adc3949ba59abbe56e057f20f883e");
    EXPECT_EQ(PasswordHasher::legacyDigest("中文密码"), "cab54837b8cb3345b7d7bd03e904d1c8");
    EXPECT_TRUE(kQuickHasher.verify("中文密码", "cab54837b8cb3345b7d7bd03e904d1c8"));
    // Upper-case digests were never written by the earlier program.
    EXPECT_FALSE(kQuickHasher.verify("123456", "E10ADC3949BA59ABBE56E057F20F883E"));
    EXPECT_FALSE(PasswordHasher::isLegacyDigest("E10ADC3949BA59ABBE56E057F20F883E"));
}

TEST(UserLogin, TypedTextRules)
{
    Users u;
    u.add("reset", "");
    u.add("alice", kQuickHasher.hash("abc"), "录单员");
    u.add("twin", "");
    u.add("twin", "");
    u.add("norole", "", "");
    struct Case
    {
        const char *name, *password;
        bool ok;
        const char *message, *role;
    } cases[] = {
        {"reset", "", true, "", "管理员"},
        {"  alice ", "  abc  ", true, "", "录单员"},
        {"al'ice", "a'bc", true, "", "录单员"},
        {"alice", "abd", false, "用户名或密码输入错误~", ""},
        {"twin", "", false, "用户名或密码输入错误~", ""},
        {"norole", "", true, "", ""},
        {"  ", "abc", false, "请选择正确的用户名~", ""},
        {"x' or '1'='1", "", false, "用户名或密码输入错误~", ""},
    };
    for (const Case &c : cases) {
        const UserOutcome o = u.store.login(c.name, c.password);
        EXPECT_EQ(o.ok(), c.ok) << c.name;
        EXPECT_EQ(o.message, c.message) << c.name;
        EXPECT_EQ(o.roleName, c.role) << c.name;
    }
    EXPECT_EQ(u.store.userNames(), QStringList({"reset", "alice", "twin", "norole"}));
}

TEST(UserLogin, EarlierDigestLogsInOnceAndIsRewritten)
{
    Users u;
    const qint64 id = u.add("old", "e10adc3949ba59abbe56e057f20f883e");
    EXPECT_TRUE(u.store.login("old", "123456").ok());
    const QString after = u.passwd(id);
    EXPECT_TRUE(isNewFormat(after)) << after.toStdString();
    EXPECT_TRUE(u.store.login("old", "123456").ok());
    EXPECT_FALSE(u.store.login("old", "e10adc3949ba59abbe56e057f20f883e").ok());
}

TEST(UserLogin, AHashOfTwoBillionIterationsFailsAtOnceLikeAWrongPassword)
{
    Users u;
    const UserStore store(u.db());  // the program's own hasher
    u.add("mallory", "pbkdf2-sha256$2000000000$c2FsdA==$VawEblbjCJ/sFpHCJUS2BflBhSFt3gRl5oudV8INrLw=");
    QElapsedTimer timer;
    timer.start();
    const UserOutcome o = store.login("mallory", "passwd");
    EXPECT_LT(timer.elapsed(), 500);
    EXPECT_FALSE(o.ok());
    EXPECT_EQ(o.message, "用户名或密码输入错误~");
}

TEST(UserLogin, FiveFailuresMakeTheSixthTryWait)
{
    Users u;
    u.add("alice", kQuickHasher.hash("abc"));
    LoginThrottle throttle;
    const QDateTime t0(QDate(2026, 1, 1), QTime(9, 0), Qt::UTC);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(u.store.login("alice", "bad", &throttle, t0).message, "用户名或密码输入错误~");
    const UserOutcome waiting = u.store.login("alice", "abc", &throttle, t0.addSecs(10));
    EXPECT_FALSE(waiting.ok());
    EXPECT_EQ(waiting.message, "登录失败次数过多，请20秒后再试~");
    EXPECT_TRUE(u.store.login("alice", "abc", &throttle, t0.addSecs(30)).ok());
    EXPECT_EQ(throttle.secondsToWait(t0.addSecs(30)), 0);
}

TEST(UserPasswordChange, RulesAndMessages)
{
    Users u;
    const qint64 id = u.add("bob", "");
    EXPECT_EQ(u.store.changePassword("bob", "", "new1", "new2").message, "密码两次输入不一致！");
    const UserOutcome wrongOld = u.store.changePassword("bob", "x", "n", "n");
    EXPECT_EQ(wrongOld.message, "用户名或密码输入有错误，请重新输入.");
    EXPECT_EQ(wrongOld.caption, "密码错误");
    EXPECT_EQ(wrongOld.focus, UserOutcome::Focus::OldPassword);
    const UserOutcome changed = u.store.changePassword(" b'ob ", "", " it's ", "it's");
    EXPECT_EQ(changed.message, "密码修改成功,请牢记新密码。");
    EXPECT_EQ(changed.caption, "消息");
    // The password set here is the one the login accepts.
    EXPECT_TRUE(u.store.login("bob", "it's").ok());
    // The old password is taken as typed: blanks around it count.
    EXPECT_FALSE(u.store.changePassword("bob", " its ", "z", "z").ok());
    // A blank new password is refused, never stored as "no password".
    const QString stored = u.passwd(id);
    for (const char *blank : {"", "   ", " ' "}) {
        const UserOutcome empty = u.store.changePassword("bob", "its", blank, blank);
        EXPECT_FALSE(empty.ok()) << blank;
        EXPECT_EQ(empty.message, "新密码不能为空！");
        EXPECT_EQ(empty.focus, UserOutcome::Focus::NewPassword);
    }
    EXPECT_EQ(u.passwd(id), stored);
    EXPECT_EQ(u.store.setPassword("bob", "  ").message, "新密码不能为空！");
    EXPECT_EQ(u.passwd(id), stored);
    EXPECT_TRUE(u.store.login("bob", "it's").ok());
}

TEST(UserManagement, AddDeleteResetAndNoPlainPasswordsStored)
{
    Users u;
    EXPECT_TRUE(u.store.addUser("carol", "录单员").ok());
    EXPECT_EQ(u.store.addUser(" carol ", "管理员").message, "用户名已经存在：carol");
    const qint64 carol = u.db().scalar("select ID from UserTable where UserName='carol'").toLongLong();
    EXPECT_TRUE(u.store.setPassword("carol", "pw'd").ok());
    const qint64 dave = u.add("dave", "e10adc3949ba59abbe56e057f20f883e");
    u.store.login("dave", "123456");
    for (const QString &stored : u.allPasswd()) {
        EXPECT_TRUE(isNewFormat(stored)) << stored.toStdString();
        EXPECT_FALSE(stored.contains("pw'd"));
    }

    EXPECT_EQ(u.store.resetPasswords({}).message, "没有选中任何重置的用户");
    EXPECT_EQ(u.store.resetPasswords({carol, dave}).message, "2个用户密码重置成功！");
    EXPECT_EQ(u.passwd(carol), "");
    EXPECT_TRUE(u.store.login("carol", "").ok());
    EXPECT_EQ(u.store.deleteUsers({}).message, "没有选中任何要删除的用户");
    EXPECT_EQ(u.store.deleteUsers({carol}).message, "1个用户删除成功！");
    EXPECT_EQ(u.store.userNames(), QStringList({"dave"}));
}

TEST(UserCommand, AddsUsersAndSetsPasswordsFromInput)
{
    Users u;
    QString outText;
    auto run = [&](const QStringList &args, QString input, QString *errText) {
        outText.clear();
        QTextStream in(&input), out(&outText), err(errText);
        return runUserCommand(args, u.root.path(), in, out, err);
    };
    QString err;
    EXPECT_EQ(run({"add", "o'neil", "--role", "录单员"}, "", &err), 0);
    EXPECT_EQ(outText, "用户添加成功：oneil（用户名不能含单引号和首尾空格，已保存为：oneil）\n");
    // The name is found the way it was typed when it was added.
    EXPECT_EQ(run({"passwd", "o'neil"}, "first\n", &err), 0) << err.toStdString();
    EXPECT_EQ(outText, "用户oneil的密码修改成功,请牢记新密码。\n");
    EXPECT_TRUE(u.store.login("o'neil", "first").ok());
    EXPECT_EQ(run({"add", "o'neil", "--role", "录单员"}, "", &err), 2);  // quotes removed: "oneil" exists
    EXPECT_EQ(run({"add", "eve"}, "", &err), 2);
    EXPECT_TRUE(err.contains("--role")) << err.toStdString();
    EXPECT_EQ(run({"passwd", "oneil"}, "", &err), 2);  // nothing to read
    EXPECT_EQ(run({"passwd", "nobody"}, "x\n", &err), 2);
    EXPECT_TRUE(err.endsWith("没有这个用户：nobody\n")) << err.toStdString();
    EXPECT_EQ(run({"passwd", "oneil"}, " s3cret \n", &err), 0);
    EXPECT_TRUE(u.store.login("oneil", "s3cret").ok());
    err.clear();
    EXPECT_EQ(run({"passwd", "oneil"}, "  \n", &err), 2);
    EXPECT_EQ(err, "billprint user: 新密码不能为空！\n");
    EXPECT_EQ(outText, "");
    EXPECT_TRUE(u.store.login("oneil", "s3cret").ok());
    EXPECT_TRUE(isNewFormat(u.allPasswd().first()));
}
