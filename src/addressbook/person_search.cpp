#include "addressbook/person_search.h"

#include "app/database.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace billprint {

namespace {

// The columns a filter or an order may name: the text columns, the key and
// the sort number.
QString knownColumn(const QString &name)
{
    const QString trimmed = name.trimmed();
    for (const QString &column : TPerson::textColumns()) {
        if (column.compare(trimmed, Qt::CaseInsensitive) == 0)
            return column;
    }
    for (const QString column : {QStringLiteral("ID"), QStringLiteral("排序")}) {
        if (column.compare(trimmed, Qt::CaseInsensitive) == 0)
            return column;
    }
    return QString();
}

// Typed text is searched for literally: "%" and "_" are not wildcards.
QString containsPattern(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('%'), QLatin1String("\\%"));
    text.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + text + QLatin1Char('%');
}

QString containsCondition(const SqlDialect &dialect, const QString &column)
{
    return dialect.likeIgnoringCase(quoteIdentifier(column));
}

bool appendOrder(const PersonFilter &filter, PersonQuery &query)
{
    const QString wanted = filter.orderColumn.trimmed().isEmpty() ? QStringLiteral("全称") : filter.orderColumn;
    QStringList columns;
    for (const QString &part : wanted.split(QLatin1Char(','))) {
        const QString column = knownColumn(part);
        if (column.isEmpty()) {
            query.error = QStringLiteral("没有名为“%1”的数据列。").arg(part.trimmed());
            return false;
        }
        columns << quoteIdentifier(column);
    }
    query.sql += QStringLiteral(" order by ") + columns.join(QStringLiteral(", "))
        + (filter.descending ? QStringLiteral(" desc") : QStringLiteral(" asc"));
    return true;
}

} // namespace

const QStringList &personKeywordColumns()
{
    static const QStringList columns = {
        QStringLiteral("全称"), QStringLiteral("联系人"), QStringLiteral("电话"), QStringLiteral("手机"),
        QStringLiteral("开户行账号"), QStringLiteral("省"), QStringLiteral("助记码"), QStringLiteral("地址"),
    };
    return columns;
}

PersonQuery buildPersonQuery(const PersonFilter &filter, const SqlDialect &dialect)
{
    PersonQuery query;
    QStringList conditions;
    const QString keyword = filter.keyword.trimmed();
    if (!keyword.isEmpty()) {
        QStringList any;
        for (const QString &column : personKeywordColumns()) {
            any << containsCondition(dialect, column);
            query.values << containsPattern(keyword);
        }
        conditions << QLatin1Char('(') + any.join(QStringLiteral(" or ")) + QLatin1Char(')');
    } else if (!filter.exactKey.isEmpty()) {
        const QString column = knownColumn(filter.exactColumn);
        if (column.isEmpty()) {
            query.error = QStringLiteral("没有名为“%1”的数据列。").arg(filter.exactColumn.trimmed());
            return query;
        }
        if (filter.exactEquals) {
            conditions << dialect.equalsIgnoringCase(quoteIdentifier(column));
            query.values << filter.exactKey;
        } else {
            conditions << containsCondition(dialect, column);
            query.values << containsPattern(filter.exactKey);
        }
    }
    // A keyword searches across both kinds of unit.
    if (keyword.isEmpty() && !filter.unitKind.trimmed().isEmpty()) {
        conditions << QStringLiteral("单位类型 = ?");
        query.values << filter.unitKind.trimmed();
    }
    if (!filter.group.isEmpty() && filter.group != kAllGroups) {
        conditions << QStringLiteral("分组 = ?");
        query.values << filter.group;
    }
    query.sql = QStringLiteral("select * from ckPersonalInfoTable");
    if (!conditions.isEmpty())
        query.sql += QStringLiteral(" where ") + conditions.join(QStringLiteral(" and "));
    if (!appendOrder(filter, query)) {
        query.sql.clear();
        query.values.clear();
    }
    return query;
}

std::vector<TPerson> searchPersons(const Database &db, const PersonFilter &filter, QString *error)
{
    std::vector<TPerson> found;
    const PersonQuery query = buildPersonQuery(filter, db.dialect());
    if (!query.ok()) {
        if (error)
            *error = query.error;
        return found;
    }
    QSqlQuery q(db.connection());
    q.setForwardOnly(true); // one pass over a possibly long list
    const bool ran = db.run(q, query.sql, query.values);
    if (!ran) {
        if (error)
            *error = q.lastError().text();
        return found;
    }
    const TPerson::RowLayout layout = TPerson::rowLayout(q.record());
    while (q.next()) {
        TPerson person;
        person.loadFromQuery(q, layout);
        found.push_back(std::move(person));
    }
    return found;
}

} // namespace billprint
