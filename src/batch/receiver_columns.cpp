#include "batch/receiver_columns.h"

#include "app/database.h"
#include "batch/import_items.h"
#include "batch/match_column_store.h"

#include <QHash>

namespace billprint {

namespace {

const QString kScenario = QStringLiteral("收件信息导入");

// Items in the order they take columns, with the list column each fills
// ("" for an item the list has no column for): the order of the import
// window, so a sheet matches alike in both.
const QList<QPair<QString, QString>> &batchItems()
{
    static const QList<QPair<QString, QString>> items = [] {
        QList<QPair<QString, QString>> list;
        for (const QString &name : importMatchOrder(ImportTarget::BatchList)) {
            const ImportItem *item = findImportItem(name);
            list << qMakePair(name, item && item->inList ? item->listColumn : QString());
        }
        return list;
    }();
    return items;
}

QString storedTitleList(const QString &item, const Database *db)
{
    if (!db)
        return {};
    return db->scalar(QStringLiteral("select SourceName from MatchColumn where ItemName=? and MatchType=?"),
                      {item, kScenario})
        .toString();
}

} // namespace

bool titleAccepts(const QString &title, const QString &titleList)
{
    const QString t = title.trimmed().toUpper();
    for (const QString &raw : titleList.split(QLatin1Char(','))) {
        QString candidate = raw.trimmed();
        if (candidate.isEmpty())
            continue;
        if (candidate.contains(QLatin1Char('*'))) {
            candidate.remove(QLatin1Char('*'));
            if (t.contains(candidate.toUpper()))
                return true;
        } else if (t == candidate.toUpper()) {
            return true;
        }
    }
    return false;
}

QString defaultTitleList(const QString &item)
{
    // The import item names were written with varying case (会员Id/会员ID).
    for (const auto &[name, titles] : MatchColumnStore::defaultRows()) {
        if (name.compare(item, Qt::CaseInsensitive) == 0)
            return titles;
    }
    return {};
}

QList<ColumnMatch> matchReceiverColumns(const QStringList &titles, const Database *db)
{
    QList<QPair<QString, QString>> items = batchItems();
    QStringList lists;
    for (const auto &[item, column] : items) {
        QString list = storedTitleList(item, db);
        if (list.trimmed().isEmpty())
            list = defaultTitleList(item);
        if (list.trimmed().isEmpty())
            list = item;
        if (!column.isEmpty() && column != item)
            list += QLatin1Char(',') + column;  // the list column's own name
        lists << list;
    }
    QList<bool> taken(items.size(), false);
    QList<ColumnMatch> matches;
    for (int source = 0; source < titles.size(); ++source) {
        const QString title = titles[source].trimmed();
        if (title.isEmpty())
            continue;
        for (int i = 0; i < items.size(); ++i) {
            if (taken[i] || !titleAccepts(title, lists[i]))
                continue;
            taken[i] = true;
            matches << ColumnMatch{source, items[i].first, items[i].second};
            break;
        }
    }
    return matches;
}

} // namespace billprint
