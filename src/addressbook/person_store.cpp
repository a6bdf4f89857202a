#include "addressbook/person_store.h"

#include "app/app_context.h"
#include "app/database.h"

namespace billprint {

bool PersonStore::setDefaultDrawer(int id, QString *error) const
{
    QString why;
    const bool ok = m_db.transaction([&] {
        // Clearing the old mark first keeps "at most one default drawer"
        // even when earlier data carried the mark on several rows.
        if (!m_db.exec(QStringLiteral("update ckPersonalInfoTable set 分组 = '' where 分组 = ? and ID <> ?"),
                       {kDefaultDrawerGroup, id}, &why))
            return false;
        int marked = 0;
        if (!m_db.exec(QStringLiteral("update ckPersonalInfoTable set 分组 = ?, 单位类型 = ? where ID = ?"),
                       {kDefaultDrawerGroup, UnitKind::Own, id}, &why, &marked))
            return false;
        if (marked != 1) {
            why = QStringLiteral("要设为默认出票人的单位资料（ID=%1）已不存在。").arg(id);
            return false;
        }
        return true;
    }, &why);
    if (!ok && error)
        *error = why;
    return ok;
}

bool PersonStore::deleteById(int id, QString *error) const
{
    int deleted = 0;
    QString why;
    if (!m_db.exec(QStringLiteral("delete from ckPersonalInfoTable where ID = ?"), {id}, &why, &deleted)) {
        if (error)
            *error = why;
        return false;
    }
    if (deleted != 1) {
        if (error)
            *error = QStringLiteral("要删除的单位资料（ID=%1）已不存在。").arg(id);
        return false;
    }
    return true;
}

int PersonStore::deleteAllOfKind(const QString &unitKind, QString *error) const
{
    const QString kind = unitKind.trimmed();
    int deleted = 0;
    const bool ok = kind.isEmpty()
        ? m_db.exec(QStringLiteral("delete from ckPersonalInfoTable"), {}, error, &deleted)
        : m_db.exec(QStringLiteral("delete from ckPersonalInfoTable where 单位类型 = ?"), {kind}, error,
                    &deleted);
    return ok ? deleted : -1;
}

int PersonStore::countAll() const
{
    const QVariant count = m_db.scalar(QStringLiteral("select count(*) from ckPersonalInfoTable"));
    return count.isValid() ? count.toInt() : -1;
}

std::optional<TPerson> loadDefaultDrawer(const AppContext &context)
{
    if (!context.defaultDrawerOn)
        return std::nullopt;
    return TPerson::findDefaultDrawer(context.db());
}

} // namespace billprint
