#include "refdata/place_code_store.h"

#include "app/database.h"
#include "app/lookups.h"

#include <QSqlError>
#include <QSqlQuery>

namespace billprint {

namespace {

const QString kHint = QStringLiteral("提示");

QString withError(const QString &message, const QString &error)
{
    return error.isEmpty() ? message : message + QLatin1Char('\n') + error;
}

QStringList readColumn(const Database &db, const QString &sql, const QVariantList &values, QString *error)
{
    QStringList list;
    QSqlQuery q = db.prepare(sql);
    q.setForwardOnly(true);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (q.lastError().isValid() || !q.exec()) {
        if (error)
            *error = q.lastError().text();
        return list;
    }
    while (q.next())
        if (!q.value(0).isNull())
            list << q.value(0).toString();
    sortForDisplay(list);
    return list;
}

EditOutcome emptyInput()
{
    return EditOutcome::refused(QStringLiteral("省和市输入不能为空！"), kHint);
}

} // namespace

const QString PlaceCodeStore::kKind = QStringLiteral("省市");

QString PlaceCodeStore::pairText(const QString &province, const QString &city)
{
    return QLatin1Char('"') + province + QStringLiteral("--") + city + QLatin1Char('"');
}

QStringList PlaceCodeStore::provinces(QString *error) const
{
    return readColumn(m_db, QStringLiteral("select distinct trim(一级代码) from DMTable2 where trim(类型)=?"),
                      {kKind}, error);
}

QStringList PlaceCodeStore::cities(const QString &province, QString *error) const
{
    // Only the province/city pairs: a text replacement whose first text
    // happens to be a province name is no city of it.
    return readColumn(m_db, QStringLiteral("select distinct trim(二级代码) from DMTable2 "
                                           "where trim(类型)=? and trim(一级代码)=?"),
                      {kKind, province.trimmed()}, error);
}

bool PlaceCodeStore::pairExists(const QString &province, const QString &city, QString *error) const
{
    QSqlQuery q = m_db.prepare(QStringLiteral(
        "select count(*) from DMTable2 where 类型=? and trim(一级代码)=? and trim(二级代码)=?"));
    q.addBindValue(kKind);
    q.addBindValue(province);
    q.addBindValue(city);
    if (!q.exec() || !q.next()) {
        *error = q.lastError().text();
        return false;
    }
    return q.value(0).toInt() > 0;
}

EditOutcome PlaceCodeStore::add(const QString &typedProvince, const QString &typedCity) const
{
    const QString province = typedProvince.trimmed();
    const QString city = typedCity.trimmed();
    if (province.isEmpty() || city.isEmpty())
        return emptyInput();
    QString error;
    // Stored names are compared trimmed, so an older row with blanks
    // around it still counts as the same pair.
    if (pairExists(province, city, &error))
        return EditOutcome::refused(pairText(province, city) + QStringLiteral(" 已经存在，不需要添加！"), kHint,
                                    EditOutcome::Field::Second);
    int rows = 0;
    if (!error.isEmpty()
        || !m_db.exec(QStringLiteral("insert into DMTable2 (类型, 一级代码, 二级代码) values (?, ?, ?)"),
                      {kKind, province, city}, &error, &rows)
        || rows < 1)
        return EditOutcome::failed(withError(QStringLiteral("意外错误！插入数据失败！"), error), kHint);
    return EditOutcome::done(pairText(province, city) + QStringLiteral("代码添加成功！"), kHint);
}

EditOutcome PlaceCodeStore::modify(const QString &typedProvince, const QString &oldCity, const QString &typedCity) const
{
    const QString province = typedProvince.trimmed();
    const QString city = typedCity.trimmed();
    if (province.isEmpty() || city.isEmpty())
        return emptyInput();
    if (oldCity.trimmed().isEmpty())
        return EditOutcome::refused(QStringLiteral("请先选中要修改的市(县)！"), kHint);
    QString error;
    int rows = 0;
    if (!m_db.exec(QStringLiteral("update DMTable2 set 二级代码=? where 类型=? and trim(一级代码)=? and trim(二级代码)=?"),
                   {city, kKind, province, oldCity.trimmed()}, &error, &rows)
        || rows < 1)
        return EditOutcome::failed(withError(QStringLiteral("修改失败！"), error), kHint);
    return EditOutcome::done(QStringLiteral("修改成功！"), kHint);
}

EditOutcome PlaceCodeStore::remove(const QString &province, const QString &city) const
{
    if (city.trimmed().isEmpty())
        return EditOutcome::refused(QStringLiteral("请先选中要删除的市(县)！"), kHint);
    QString error;
    int rows = 0;
    if (!m_db.exec(QStringLiteral("delete from DMTable2 where 类型=? and trim(一级代码)=? and trim(二级代码)=?"),
                   {kKind, province.trimmed(), city.trimmed()}, &error, &rows))
        return EditOutcome::failed(withError(QStringLiteral("删除失败！"), error), kHint);
    if (rows < 1)
        return EditOutcome::failed(QStringLiteral("删除失败！没有找到") + pairText(province.trimmed(), city.trimmed())
                                       + QStringLiteral("，没有删除任何代码。"),
                                   kHint);
    return EditOutcome::done(QStringLiteral("删除成功！"), kHint);
}

} // namespace billprint
