#include "batch/match_column_store.h"

#include "app/database.h"

#include <QSqlError>
#include <QSqlQuery>

namespace billprint {

const QString &MatchColumnStore::scenario()
{
    static const QString name = QStringLiteral("收件信息导入");
    return name;
}

const QList<QPair<QString, QString>> &MatchColumnStore::defaultRows()
{
    static const QList<QPair<QString, QString>> rows = [] {
        QList<QPair<QString, QString>> list;
        auto row = [&list](const char *item, const char *titles) {
            list << qMakePair(QString::fromUtf8(item), QString::fromUtf8(titles));
        };
        row("联系人", "联系人,收件人,收件人姓名,收货人,收件联系人,*姓名*,name,fullname");
        row("单位全称", "会员ID,买家会员名,全称,单位全称,收件单位,收件公司,*公司*,企业名称");
        row("电话", "收件电话,固定电话,联系方式,联系电话,*电话*");
        row("手机", "收件手机,Mobile,移动电话,*手机*");
        row("地址", "收件地址,*地址*,address");
        row("省", "*省*,州,Province");
        row("市", "市,县市,城市,二级区划,city");
        row("镇区", "镇区,区县,三级区划,区镇");
        row("邮政编码", "邮政编码,邮编,PostCode");
        row("银行账号", "账号,银行账号,开户行账号,帐号");
        row("银行行号", "银行行号,开户行行号,*行号");
        row("银行地址", "银行地址,*行地址");
        row("开户银行", "开户行,开户银行,银行名称,银行");
        row("物品内容", "物品内容,内件说明,商品名称,宝贝名称,宝贝标题");
        row("重量", "重量,计费重量,weight");
        row("国家", "国家,country");
        row("备注", "备注,买家留言,扩展信息");
        row("目的站", "目的地,目的站,城市");
        row("件数", "件数,数量");
        row("费用", "费用,总费用,费用合计");
        row("订单号", "订单编号,订单ID,订单号");
        row("会员ID", "QQ,旺旺,会员ID,客户编号");
        row("保价金额", "保价金额,声明价值,保险金额");
        row("保价费", "保价费,保险费");
        row("运费", "运费,运输费");
        row("加急费", "加急费");
        row("包装费", "包装费");
        row("体积", "体积");
        row("代收金额", "代收金额,代收金额小写,代收款");
        row("手续费", "手续费,代收费");
        row("金额大写1", "金额大写1,金额");
        row("自定义3", "自定义3");
        row("自定义4", "自定义4");
        row("自定义5", "自定义5");
        row("助记码", "助记码");
        row("批打分组", "分组,批打分组,导入分组");
        return list;
    }();
    return rows;
}

QString MatchColumnStore::cleanTitleList(const QString &typed)
{
    QString text = typed.trimmed();
    text.remove(QLatin1Char('\''));
    text.remove(QLatin1Char('?'));
    text.replace(QStringLiteral("，"), QStringLiteral(","));
    text.replace(QStringLiteral(",,"), QStringLiteral(","));
    text.replace(QStringLiteral(",,"), QStringLiteral(","));
    text = text.trimmed();
    // Commas alone name no title: a list that matches nothing is refused.
    if (text.split(QLatin1Char(','), Qt::SkipEmptyParts).join(QString()).trimmed().isEmpty())
        return {};
    return text;
}

bool MatchColumnStore::writeDefaults(QString *error) const
{
    if (!m_db.exec(QStringLiteral("delete from MatchColumn"), {}, error))
        return false;
    for (const auto &[item, titles] : defaultRows()) {
        if (!m_db.exec(QStringLiteral("insert into MatchColumn (MatchType,ItemName,SourceName) values (?,?,?)"),
                       {scenario(), item, titles}, error))
            return false;
    }
    return true;
}

bool MatchColumnStore::restoreDefaults(QString *error) const
{
    QString reason;
    if (m_db.transaction([&] { return writeDefaults(&reason); }, &reason))
        return true;
    if (error)
        *error = QStringLiteral("MatchColumn表格初始化数据失败!") + reason;
    return false;
}

bool MatchColumnStore::ensureReady(QString *error) const
{
    if (!m_db.tableExists(QStringLiteral("MatchColumn"))
        && !m_db.exec(QStringLiteral("create table MatchColumn (Id integer primary key autoincrement,"
                                     "MatchType varchar(50),ItemName varchar(50),SourceName varchar(200),"
                                     "ShowOrd integer default 0)"),
                      {}, error))
        return false;
    const QVariant count = m_db.scalar(QStringLiteral("select count(*) from MatchColumn where MatchType=?"),
                                       {scenario()});
    if (count.isValid() && count.toInt() > 0)
        return true;
    return restoreDefaults(error);
}

QList<MatchColumnRow> MatchColumnStore::rows(QString *error) const
{
    QList<MatchColumnRow> list;
    QSqlQuery query = m_db.prepare(
        QStringLiteral("select Id,ItemName,SourceName,ShowOrd from MatchColumn where MatchType=? order by Id"));
    query.addBindValue(scenario());
    if (!query.exec()) {
        if (error)
            *error = query.lastError().text();
        return list;
    }
    while (query.next())
        list << MatchColumnRow{query.value(0).toInt(), query.value(1).toString(), query.value(2).toString(),
                               query.value(3).toInt()};
    return list;
}

QString MatchColumnStore::titleList(const QString &item) const
{
    // The names are compared without regard to letter case: the item
    // 会员Id reads the row 会员ID.
    const QString list = m_db.scalar(QStringLiteral("select SourceName from MatchColumn where %1 and MatchType=? order by Id")
                                         .arg(m_db.dialect().equalsIgnoringCase(QStringLiteral("ItemName"))),
                                     {item, scenario()})
                             .toString();
    return list.trimmed().isEmpty() ? item : list;
}

bool MatchColumnStore::save(int id, const QString &itemName, const QString &titles, int showOrd,
                            QString *error) const
{
    const QString clean = cleanTitleList(titles);
    if (clean.isEmpty()) {
        if (error)
            *error = QStringLiteral("请输入有效的Excel/csv列名");
        return false;
    }
    if (itemName.trimmed().isEmpty())
        return m_db.exec(QStringLiteral("update MatchColumn set SourceName=?,ShowOrd=? where Id=?"),
                         {clean, showOrd, id}, error);
    return m_db.exec(QStringLiteral("update MatchColumn set ItemName=?,SourceName=?,ShowOrd=? where Id=?"),
                     {itemName.trimmed(), clean, showOrd, id}, error);
}

int MatchColumnStore::add(const QString &itemName, const QString &titles, QString *error) const
{
    QSqlQuery query = m_db.prepare(
        QStringLiteral("insert into MatchColumn (MatchType,ItemName,SourceName,ShowOrd) values (?,?,?,0)"));
    query.addBindValue(scenario());
    query.addBindValue(itemName.trimmed());
    query.addBindValue(cleanTitleList(titles));
    if (!query.exec()) {
        if (error)
            *error = query.lastError().text();
        return 0;
    }
    return m_db.lastInsertedId(query).toInt();
}

bool MatchColumnStore::remove(int id, QString *error) const
{
    return m_db.exec(QStringLiteral("delete from MatchColumn where Id=?"), {id}, error);
}

} // namespace billprint
