#pragma once

// A data folder the way an earlier version of the program left it: tables
// without the columns added since, a dictionary without the newer waybill
// fields, templates without first names, no import matching table, and an
// empty template package of the old layout beside the database.

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

namespace billprint::test {

inline void runStatements(const QString &path, const QStringList &statements)
{
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        for (const QString &sql : statements) {
            QSqlQuery q(db);
            ASSERT_TRUE(q.exec(sql)) << sql.toStdString() << ": " << q.lastError().text().toStdString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

inline const QStringList &oldDatabaseStatements()
{
    static const QStringList statements = {
        "create table configtable (cname TEXT, cvalue TEXT)",
        "insert into configtable values ('进入系统需验证', 'no')",
        "create table CKTypeTable (CheckTypeID INTEGER, TypeName TEXT, TypeDescribe TEXT, ImgFile TEXT,"
        " Visiable TEXT, IsDefault TEXT, ShowOrd INTEGER, TWidth INTEGER, THeight INTEGER, XMove INTEGER,"
        " YMove INTEGER, HVPrint INTEGER)",
        "insert into CKTypeTable values (1, '支票(工行)', '工行', 'zp1.jpg', '启用', '默认', 9, 2300, 800, 0, 0, 0)",
        "insert into CKTypeTable values (2, '快递单（顺丰速运）', '顺丰速运', 'sf.jpg', '启用', '0', 5, 2300, 1270, 3, -2, 1)",
        "insert into CKTypeTable values (3, '快递单（顺丰速运）', '顺丰旧', 'sf.jpg', '停用隐藏', '0', 1, 2300, 1270, 0, 0, 1)",
        "insert into CKTypeTable values (4, '支票', '', 'x.jpg', '启用', '0', 0, 2300, 800, 0, 0, 0)",
        "create table CkControl (ID INTEGER PRIMARY KEY AUTOINCREMENT, CheckTypeID INTEGER, CtlName TEXT,"
        " CtlCName TEXT, CtlX INTEGER, CtlY INTEGER, CtlFontName TEXT, CtlFontSize INTEGER, Align TEXT)",
        "insert into CkControl (CheckTypeID, CtlName, CtlCName, CtlX, CtlY, CtlFontName, CtlFontSize)"
        " values (2, 'ZDSJDW', '寄件单位', 120, 340, '宋体', 12)",
        "insert into CkControl (CheckTypeID, CtlName, CtlCName, CtlX, CtlY, CtlFontName, CtlFontSize)"
        " values (1, 'ZDJE', 'O''Neil 金额', 50, 60, '黑体', 10)",
        "create table NameDict (Id INTEGER PRIMARY KEY AUTOINCREMENT, CheckTypeName TEXT, CtlName TEXT,"
        " CtlLabel TEXT, PrintItem INTEGER, ShowOrd INTEGER, Groups TEXT)",
        "insert into NameDict (CheckTypeName, CtlName, CtlLabel, PrintItem, ShowOrd, Groups)"
        " values ('快递单', 'ZDSJDW', '寄件单位', 1, 10, '寄件')",
        "insert into NameDict (CheckTypeName, CtlName, CtlLabel, PrintItem, ShowOrd, Groups)"
        " values ('快递单', 'ZDTIJI', '货物体积', 1, 300, '其他')",
        "insert into NameDict (CheckTypeName, CtlName, CtlLabel, PrintItem, ShowOrd, Groups)"
        " values ('支票', 'zdje', '金额', 1, 20, '正联')",
        "create table ReceiverList (ID INTEGER PRIMARY KEY AUTOINCREMENT, \"全称\" TEXT, \"联系人\" TEXT,"
        " \"电话\" TEXT, \"地址\" TEXT)",
        "insert into ReceiverList (\"全称\", \"联系人\", \"电话\", \"地址\") values ('甲公司', '张三', '0571-1', '杭州')",
        "insert into ReceiverList (\"全称\", \"联系人\", \"电话\", \"地址\") values ('O''Hara 商行', '李四', '', '上海')",
        "create table DataKDDTable (\"流水号\" INTEGER PRIMARY KEY AUTOINCREMENT, \"寄件单位\" TEXT,"
        " \"收件单位\" TEXT, \"重量\" TEXT, \"寄件日期\" DATE)",
        "insert into DataKDDTable (\"寄件单位\", \"收件单位\", \"重量\", \"寄件日期\") values ('我方', '甲公司', '2.5', '2012-05-06')",
        "create table DMTable (ID INTEGER PRIMARY KEY AUTOINCREMENT, CheckTypeId INTEGER, DMName TEXT, DMValue TEXT)",
        "insert into DMTable (CheckTypeId, DMName, DMValue) values (0, '用途', '货款')",
        "create table UserTable (ID INTEGER PRIMARY KEY AUTOINCREMENT, UserName TEXT, Passwd VARCHAR(32),"
        " RoleName TEXT, lastlogin DATE, Remark TEXT)",
        "insert into UserTable (UserName, Passwd, RoleName) values ('admin', '', '管理员')",
    };
    return statements;
}

inline const QStringList &oldPackageStatements()
{
    static const QStringList statements = {
        "create table _CKTypeTable (CheckTypeID INTEGER, TypeName TEXT, ImgFile TEXT, Img_Bytes BLOB)",
        "create table _ckControl (CheckTypeID INTEGER, CtlName TEXT, CtlX INTEGER, CtlY INTEGER)",
    };
    return statements;
}

// Every row of every table, in rowid order, as text.
inline QStringList tableRows(const QSqlDatabase &db, const QString &table, const QStringList &columns = {})
{
    QStringList rows;
    QSqlQuery q(db);
    const QString list = columns.isEmpty() ? QStringLiteral("*") : "\"" + columns.join("\",\"") + "\"";
    EXPECT_TRUE(q.exec(QStringLiteral("select %1 from \"%2\" order by rowid").arg(list, table)))
        << table.toStdString() << q.lastError().text().toStdString();
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < q.record().count(); ++i)
            values << (q.isNull(i) ? QStringLiteral("<null>") : q.value(i).toString());
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

inline QStringList columnsOf(const QSqlDatabase &db, const QString &table)
{
    QStringList names;
    QSqlQuery q(db);
    q.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
    while (q.next())
        names << q.value(1).toString();
    return names;
}

inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The data folder: Data/EPData.ini and Data/Template.a01 of the old kind.
struct OldDataFolder
{
    QTemporaryDir dir;
    OldDataFolder()
    {
        QDir(dir.path()).mkpath(QStringLiteral("Data"));
        runStatements(databasePath(), oldDatabaseStatements());
        runStatements(packagePath(), oldPackageStatements());
    }
    QString databasePath() const { return dir.filePath(QStringLiteral("Data/EPData.ini")); }
    QString packagePath() const { return dir.filePath(QStringLiteral("Data/Template.a01")); }
};

} // namespace billprint::test
