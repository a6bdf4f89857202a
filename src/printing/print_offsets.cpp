#include "printing/print_offsets.h"

#include "app/database.h"

#include <QMap>
#include <QPair>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <cstdlib>

namespace billprint {

namespace {

// A column of the current row, or an invalid value when the table has no
// such column (old databases lack the paper size columns).
QVariant column(const QSqlQuery &query, const QString &name)
{
    const QSqlRecord record = query.record();
    const int index = record.indexOf(name);  // compares without case
    return index < 0 ? QVariant() : query.value(index);
}

// A stored number; `fallback` when the column is missing, null or holds
// no number at all.
int numberOr(const QVariant &value, int fallback)
{
    if (!value.isValid() || value.isNull())
        return fallback;
    bool ok = false;
    const int n = value.toString().trimmed().toInt(&ok);
    if (ok)
        return n;
    const double d = value.toString().trimmed().toDouble(&ok);
    return ok ? int(d) : fallback;
}

bool run(QSqlQuery &query, const QVariantList &values, QString *error)
{
    for (const QVariant &v : values)
        query.addBindValue(v);
    if (query.exec())
        return true;
    if (error)
        *error = query.lastError().text();
    return false;
}

} // namespace

bool isLandscapeText(const QString &hvPrint)
{
    const QString text = hvPrint.trimmed();
    return !text.isEmpty() && text != QLatin1String("0");
}

QString centimetreLabel(int tenthsOfMillimetre)
{
    const double cm = std::abs(tenthsOfMillimetre) / 100.0;
    return QLatin1Char('=') + QString::number(cm, 'g', 12) + QStringLiteral("厘米");
}

QList<OffsetTemplateEntry> PrintOffsetStore::enabledTemplates(QString *error) const
{
    QList<OffsetTemplateEntry> entries;
    QSqlQuery query = m_db.prepare(QStringLiteral(
        "select distinct TypeName, CheckTypeID from CKTypeTable where Visiable=? order by TypeName"));
    if (!run(query, {QStringLiteral("启用")}, error))
        return entries;
    while (query.next()) {
        const QString name = query.value(0).toString();
        if (name.trimmed().isEmpty())
            continue;
        entries.append({name, query.value(1).toInt()});
    }
    return entries;
}

std::optional<PrintOffsets> PrintOffsetStore::load(int checkTypeId, QString *error) const
{
    return loadOne(QStringLiteral("CheckTypeID=?"), checkTypeId, error);
}

std::optional<PrintOffsets> PrintOffsetStore::loadByName(const QString &typeName, QString *error) const
{
    return loadOne(QStringLiteral("TypeName=?"), typeName.trimmed(), error);
}

std::optional<PrintOffsets> PrintOffsetStore::loadOne(const QString &where, const QVariant &key,
                                                      QString *error) const
{
    QSqlQuery query = m_db.prepare(QStringLiteral("select * from CKTypeTable where ") + where);
    if (!run(query, {key}, error) || !query.next())
        return std::nullopt;
    PrintOffsets values;
    values.checkTypeId = numberOr(column(query, QStringLiteral("CheckTypeID")), 0);
    values.typeName = column(query, QStringLiteral("TypeName")).toString();
    values.xMove = numberOr(column(query, QStringLiteral("XMove")), 0);
    values.yMove = numberOr(column(query, QStringLiteral("YMove")), 0);
    values.tWidth = numberOr(column(query, QStringLiteral("TWidth")), PrintOffsets::DefaultTWidth);
    values.tHeight = numberOr(column(query, QStringLiteral("THeight")), PrintOffsets::DefaultTHeight);
    values.pWidth = numberOr(column(query, QStringLiteral("PWidth")), PrintOffsets::DefaultPWidth);
    values.pHeight = numberOr(column(query, QStringLiteral("PHeight")), PrintOffsets::DefaultPHeight);
    values.landscape = isLandscapeText(column(query, QStringLiteral("HVPrint")).toString());
    return values;
}

int PrintOffsetStore::save(const PrintOffsets &values, QString *error) const
{
    int rows = -1;
    const bool ok = m_db.exec(
        QStringLiteral("update CKTypeTable set XMove=?, YMove=?, THeight=?, TWidth=?, PWidth=?, PHeight=?, "
                       "HVPrint=? where CheckTypeID=?"),
        {values.xMove, values.yMove, values.tHeight, values.tWidth, values.pWidth, values.pHeight,
         values.hvPrint(), values.checkTypeId},
        error, &rows);
    return ok ? rows : -1;
}

int PrintOffsetStore::applyToAllTemplates(int xMove, int yMove, bool landscape, QString *error) const
{
    int rows = -1;
    const bool ok = m_db.transaction(
        [&] {
            return m_db.exec(QStringLiteral("update CKTypeTable set XMove=?, YMove=?, HVPrint=?"),
                             {xMove, yMove, landscape ? 1 : 0}, error, &rows);
        },
        error);
    return ok ? rows : -1;
}

QList<TemplatePaperSize> PrintOffsetStore::paperSizes(QString *error) const
{
    QList<TemplatePaperSize> sizes;
    QSqlQuery query = m_db.prepare(
        QStringLiteral("select * from CKTypeTable where Visiable=? order by TypeName"));
    if (!run(query, {QStringLiteral("启用")}, error))
        return sizes;
    QMap<QPair<int, int>, int> indexOf;  // (width, height) -> position in `sizes`
    while (query.next()) {
        const int w = numberOr(column(query, QStringLiteral("PWidth")), PrintOffsets::DefaultPWidth);
        const int h = numberOr(column(query, QStringLiteral("PHeight")), PrintOffsets::DefaultPHeight);
        const QString name = column(query, QStringLiteral("TypeName")).toString();
        auto it = indexOf.find({w, h});
        if (it == indexOf.end()) {
            it = indexOf.insert({w, h}, int(sizes.size()));
            sizes.append({w, h, {}});
        }
        sizes[*it].typeNames.append(name);
    }
    std::stable_sort(sizes.begin(), sizes.end(), [](const TemplatePaperSize &a, const TemplatePaperSize &b) {
        return a.pWidth != b.pWidth ? a.pWidth > b.pWidth : a.pHeight > b.pHeight;
    });
    return sizes;
}

} // namespace billprint
