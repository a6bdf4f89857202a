#include "bills/bill_parties.h"

#include "app/database.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace billprint {

std::optional<TPerson> findUnitByTrimmedName(const Database &db, const QString &name)
{
    if (name.isEmpty())
        return std::nullopt;
    QSqlQuery q = db.prepare(QStringLiteral("select * from ckPersonalInfoTable where trim(全称) = ? "
                                            "order by 全称, ID limit 1"));
    q.addBindValue(name);
    if (!q.exec() || !q.next())
        return std::nullopt;
    TPerson p;
    p.loadFromRow(q.record());
    return p;
}

} // namespace billprint
