// The address book's listing: which units to show for a keyword, a unit
// kind, a group or a one-column query, and in which order. The statement
// binds every value and accepts only the table's own column names, so any
// typed text is searched for as it stands.
#pragma once

#include "addressbook/person.h"
#include "app/sql_dialect.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <vector>

namespace billprint {

class Database;

// The group filter value that means "any group".
inline const QString kAllGroups = QStringLiteral("全部分组");

struct PersonFilter
{
    // Searched (contained, letter case ignored) in 全称, 联系人, 电话, 手机,
    // 开户行账号, 省, 助记码 and 地址. A keyword replaces the one-column
    // query and lifts the unit-kind filter.
    QString keyword;
    // 我方单位 or 往来单位; empty for both.
    QString unitKind;
    // A 分组 value; empty or kAllGroups for any group.
    QString group;
    // One-column query: `exactColumn` equal to (exactEquals) or containing
    // `exactKey`. Used only with a non-empty key.
    QString exactColumn;
    QString exactKey;
    bool exactEquals = false;
    // Column names joined by commas ("排序,全称"); empty means 全称. The
    // direction applies to the last of them.
    QString orderColumn;
    bool descending = true;
};

// A statement with its bound values, ready for a QSqlQuery or a grid model.
struct PersonQuery
{
    QString sql;
    QVariantList values;
    QString error; // a column name that is not one of the table's
    bool ok() const { return error.isEmpty(); }
};

// The eight columns a keyword is searched in.
const QStringList &personKeywordColumns();

// `dialect` is the database's the query will run on.
PersonQuery buildPersonQuery(const PersonFilter &filter, const SqlDialect &dialect);

// Runs the query; an empty list with `error` set when it cannot run.
std::vector<TPerson> searchPersons(const Database &db, const PersonFilter &filter,
                                   QString *error = nullptr);

} // namespace billprint
