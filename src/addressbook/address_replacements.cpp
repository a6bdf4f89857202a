#include "addressbook/address_replacements.h"

#include "app/database.h"

#include <QSqlQuery>

namespace billprint {

ReplacementPairs readAddressReplacements(const Database &db)
{
    ReplacementPairs pairs;
    QSqlQuery q = db.prepare(QStringLiteral("select 一级代码,二级代码 from DMTable2 where 类型=?"));
    q.addBindValue(QStringLiteral("其他字符"));
    if (!q.exec())
        return pairs;
    while (q.next()) {
        const QString from = q.value(0).toString();
        if (!from.isEmpty())  // an empty search text would insert everywhere
            pairs.append({from, q.value(1).toString()});
    }
    return pairs;
}

} // namespace billprint
