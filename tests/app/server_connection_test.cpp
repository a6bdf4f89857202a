// A desk whose connection to the shared database was cut (the server
// restarted, the network dropped): the next statement or save connects
// anew instead of failing for the rest of the day.
#include "app/database.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

TEST(ServerConnection, AStatementAfterTheConnectionWasCutConnectsAnew)
{
    if (!testsOnSharedDatabase())
        GTEST_SKIP() << "a connection to a server";
    TempDataRoot root;
    const Database &db = root.context().db();
    const QVariant pid = db.scalar(QStringLiteral("select pg_backend_pid()"));
    ASSERT_TRUE(pid.isValid());
    QString error;
    {
        const std::unique_ptr<Database> other =
            Database::openShared(DatabaseUrl::parse(configuredDatabaseUrl(DataRoot(root.path())), &error), false, &error);
        ASSERT_TRUE(other) << error.toStdString();
        ASSERT_TRUE(other->scalar(QStringLiteral("select pg_terminate_backend(?)"), {pid}).toBool());
    }
    // A save: the transaction connects anew and the row is stored once.
    const bool saved = db.transaction([&] {
        return db.exec(QStringLiteral("insert into DataZPTable (票据编号, 金额) values (?, ?)"), {"10000001", "12.50"},
                       &error);
    }, &error);
    EXPECT_TRUE(saved) << error.toStdString();
    EXPECT_NE(db.scalar(QStringLiteral("select pg_backend_pid()")), pid);
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from DataZPTable where 票据编号=?"), {"10000001"}).toInt(), 1);

    // A read after another cut.
    const QVariant second = db.scalar(QStringLiteral("select pg_backend_pid()"));
    {
        const std::unique_ptr<Database> other =
            Database::openShared(DatabaseUrl::parse(configuredDatabaseUrl(DataRoot(root.path())), &error), false, &error);
        ASSERT_TRUE(other);
        ASSERT_TRUE(other->scalar(QStringLiteral("select pg_terminate_backend(?)"), {second}).toBool());
    }
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from DataZPTable")).toInt(), 1);
}
