#pragma once

// Shared set-up of the template tests: a database with empty template
// tables, template rows written straight into it, and database files left
// behind by earlier versions or packed as template packages.

#include "app/database.h"
#include "templates/check_type.h"
#include "test_support.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>
#include <memory>

namespace billprint::test {

// The program's database with the template tables emptied, so delivered
// rows never change what a test sees.
class TemplateDb
{
public:
    TemplateDb()
    {
        for (const char *table : {"CKTypeTable", "CkControl", "NameDict", "DMTable"})
            EXPECT_TRUE(db().exec(QStringLiteral("delete from ") + QLatin1String(table)));
    }
    const Database &db() { return m_root.context().db(); }
    AppContext &context() { return m_root.context(); }
    QString folder() const { return m_root.path(); }

    // A template row as the catalogue would store it.
    TCheckType add(int id, const QString &first, const QString &last, int showOrd = 0,
                   const QString &isDefault = TemplateFlag::NotDefault)
    {
        TCheckType t;
        t.CheckTypeID = id;
        t.TypeFirstName = first;
        t.TypeDescribe = last;
        t.setFullName(first, last);
        t.Visiable = TemplateFlag::Enabled;
        t.IsCommon = TemplateFlag::Common;
        t.IsDefault = isDefault;
        t.ShowOrd = showOrd;
        t.save(db());
        return t;
    }

    int showOrdOf(int id) { return db().scalar("select ShowOrd from CKTypeTable where CheckTypeID=?", {id}).toInt(); }
    QString isDefaultOf(int id)
    {
        return db().scalar("select IsDefault from CKTypeTable where CheckTypeID=?", {id}).toString();
    }
    int count(const QString &sql, const QVariantList &values = {}) { return db().scalar(sql, values).toInt(); }

private:
    TempDataRoot m_root;
};

// Writes a database file with `statements`, as an earlier version of the
// program (or the package exporter) left it, and opens it the way the
// program opens any database file.
inline std::unique_ptr<Database> databaseFile(const QString &path, const QStringList &statements)
{
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        raw.setDatabaseName(path);
        EXPECT_TRUE(raw.open());
        for (const QString &sql : statements) {
            QSqlQuery q(raw);
            EXPECT_TRUE(q.exec(sql)) << sql.toStdString() << ": " << q.lastError().text().toStdString();
        }
        raw.close();
    }
    QSqlDatabase::removeDatabase(name);
    QString error;
    std::unique_ptr<Database> db = Database::open(path, &error);
    EXPECT_TRUE(db) << error.toStdString();
    return db;
}

} // namespace billprint::test
