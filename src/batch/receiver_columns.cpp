#include "batch/receiver_columns.h"

#include "app/database.h"
#include "batch/match_column_store.h"

#include <QHash>

namespace billprint {

namespace {

const QString kScenario = QStringLiteral("收件信息导入");

// Items in the order they take columns, with the list column each fills.
const QList<QPair<QString, QString>> &batchItems()
{
    static const QList<QPair<QString, QString>> items = [] {
        QList<QPair<QString, QString>> list;
        auto same = [&list](const char *name) {
            list << qMakePair(QString::fromUtf8(name), QString::fromUtf8(name));
        };
        list << qMakePair(QStringLiteral("单位全称"), QStringLiteral("全称"));
        for (const char *n : {"联系人", "电话", "手机", "省", "市", "镇区", "地址"})
            same(n);
        list << qMakePair(QStringLiteral("邮政编码"), QStringLiteral("邮编"));
        for (const char *n : {"国家", "备注", "批打分组"})
            same(n);
        list << qMakePair(QStringLiteral("物品内容"), QStringLiteral("内件说明"));
        for (const char *n : {"目的站", "件数", "重量", "费用", "保价费", "保价金额", "加急费", "运费", "送货费",
                              "体积", "包装费", "代收金额", "手续费", "其他费", "自定义3", "自定义4", "自定义5",
                              "金额大写1"})
            same(n);
        list << qMakePair(QStringLiteral("订单号"), QString()) << qMakePair(QStringLiteral("会员Id"), QString());
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
