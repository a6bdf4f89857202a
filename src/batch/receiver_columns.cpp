#include "batch/receiver_columns.h"

#include "app/database.h"

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
    static const QHash<QString, QString> lists{
        {QStringLiteral("联系人"), QStringLiteral("联系人,收件人,收件人姓名,收货人,收件联系人,*姓名*,name,fullname")},
        {QStringLiteral("单位全称"), QStringLiteral("会员ID,买家会员名,全称,单位全称,收件单位,收件公司,*公司*,企业名称")},
        {QStringLiteral("电话"), QStringLiteral("收件电话,固定电话,联系方式,联系电话,*电话*")},
        {QStringLiteral("手机"), QStringLiteral("收件手机,Mobile,移动电话,*手机*")},
        {QStringLiteral("地址"), QStringLiteral("收件地址,*地址*,address")},
        {QStringLiteral("省"), QStringLiteral("*省*,州,Province")},
        {QStringLiteral("市"), QStringLiteral("市,县市,城市,二级区划,city")},
        {QStringLiteral("镇区"), QStringLiteral("镇区,区县,三级区划,区镇")},
        {QStringLiteral("邮政编码"), QStringLiteral("邮政编码,邮编,PostCode")},
        {QStringLiteral("物品内容"), QStringLiteral("物品内容,内件说明,商品名称,宝贝名称,宝贝标题")},
        {QStringLiteral("重量"), QStringLiteral("重量,计费重量,weight")},
        {QStringLiteral("国家"), QStringLiteral("国家,country")},
        {QStringLiteral("备注"), QStringLiteral("备注,买家留言,扩展信息")},
        {QStringLiteral("目的站"), QStringLiteral("目的地,目的站,城市")},
        {QStringLiteral("件数"), QStringLiteral("件数,数量")},
        {QStringLiteral("费用"), QStringLiteral("费用,总费用,费用合计")},
        {QStringLiteral("订单号"), QStringLiteral("订单编号,订单ID,订单号")},
        {QStringLiteral("会员Id"), QStringLiteral("QQ,旺旺,会员ID,客户编号")},
        {QStringLiteral("保价金额"), QStringLiteral("保价金额,声明价值,保险金额")},
        {QStringLiteral("保价费"), QStringLiteral("保价费,保险费")},
        {QStringLiteral("运费"), QStringLiteral("运费,运输费")},
        {QStringLiteral("加急费"), QStringLiteral("加急费")},
        {QStringLiteral("包装费"), QStringLiteral("包装费")},
        {QStringLiteral("体积"), QStringLiteral("体积")},
        {QStringLiteral("代收金额"), QStringLiteral("代收金额,代收金额小写,代收款")},
        {QStringLiteral("手续费"), QStringLiteral("手续费,代收费")},
        {QStringLiteral("金额大写1"), QStringLiteral("金额大写1,金额")},
        {QStringLiteral("批打分组"), QStringLiteral("分组,批打分组,导入分组")},
    };
    return lists.value(item);
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
