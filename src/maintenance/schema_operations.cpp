#include "maintenance/schema_operations.h"

#include "app/database.h"
#include "app/lookups.h"
#include "app/system_settings.h"
#include "maintenance/upgrade_progress.h"

#include <QSqlError>
#include <QSqlQuery>

namespace billprint {

namespace {

const QString kMatchScenario = QStringLiteral("收件信息导入");

// The titles an import recognises for each item, in the order the rows
// are written.
const std::pair<const char *, const char *> kMatchDefaults[] = {
    {"联系人", "联系人,收件人,收件人姓名,收货人,收件联系人,*姓名*,name,fullname"},
    {"单位全称", "会员ID,买家会员名,全称,单位全称,收件单位,收件公司,*公司*,企业名称"},
    {"电话", "收件电话,固定电话,联系方式,联系电话,*电话*"},
    {"手机", "收件手机,Mobile,移动电话,*手机*"},
    {"地址", "收件地址,*地址*,address"},
    {"省", "*省*,州,Province"},
    {"市", "市,县市,城市,二级区划,city"},
    {"镇区", "镇区,区县,三级区划,区镇"},
    {"邮政编码", "邮政编码,邮编,PostCode"},
    {"银行账号", "账号,银行账号,开户行账号,帐号"},
    {"银行行号", "银行行号,开户行行号,*行号"},
    {"银行地址", "银行地址,*行地址"},
    {"开户银行", "开户行,开户银行,银行名称,银行"},
    {"物品内容", "物品内容,内件说明,商品名称,宝贝名称,宝贝标题"},
    {"重量", "重量,计费重量,weight"},
    {"国家", "国家,country"},
    {"备注", "备注,买家留言,扩展信息"},
    {"目的站", "目的地,目的站,城市"},
    {"件数", "件数,数量"},
    {"费用", "费用,总费用,费用合计"},
    {"订单号", "订单编号,订单ID,订单号"},
    {"会员ID", "QQ,旺旺,会员ID,客户编号"},
    {"保价金额", "保价金额,声明价值,保险金额"},
    {"保价费", "保价费,保险费"},
    {"运费", "运费,运输费"},
    {"加急费", "加急费"},
    {"包装费", "包装费"},
    {"体积", "体积"},
    {"代收金额", "代收金额,代收金额小写,代收款"},
    {"手续费", "手续费,代收费"},
    {"金额大写1", "金额大写1,金额"},
    {"自定义3", "自定义3"},
    {"自定义4", "自定义4"},
    {"自定义5", "自定义5"},
    {"助记码", "助记码"},
    {"批打分组", "分组,批打分组,导入分组"},
};

const QString kMatchColumnTable = QStringLiteral(
    "create table %1 (Id INTEGER PRIMARY KEY AUTOINCREMENT, MatchType VARCHAR(50), ItemName VARCHAR(50), "
    "SourceName VARCHAR(200), ShowOrd INTEGER DEFAULT 0)");

} // namespace

SchemaOperations::SchemaOperations(const Database &db, UpgradeProgress *progress, QString schema)
    : m_db(db), m_progress(progress), m_schema(std::move(schema))
{
}

QString SchemaOperations::qualified(const QString &table) const
{
    return quoteIdentifier(m_schema) + QLatin1Char('.') + quoteIdentifier(table);
}

bool SchemaOperations::run(const QString &sql, const QVariantList &values, QString *error) const
{
    return m_db.exec(sql, values, error);
}

bool SchemaOperations::fail(const QString &message)
{
    m_lastError = message;
    return false;
}

void SchemaOperations::grow(int step, const QString &message) const
{
    if (m_progress)
        m_progress->ProgressBarGrow(step, message);
}

bool SchemaOperations::tableExists(const QString &table) const
{
    return m_db.scalar(QStringLiteral("select count(*) from %1.sqlite_master where type='table' and name=? "
                                      "collate nocase")
                           .arg(quoteIdentifier(m_schema)),
                       {table})
               .toInt()
        > 0;
}

bool SchemaOperations::aIFExistsColumn(const QString &table, const QString &column) const
{
    QSqlQuery q(m_db.connection());
    if (!q.exec(QStringLiteral("PRAGMA %1.table_info(%2)").arg(quoteIdentifier(m_schema), quoteIdentifier(table))))
        return false;
    while (q.next()) {
        if (q.value(1).toString().compare(column, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool SchemaOperations::aAddColumn(const QString &table, const QString &column, const QString &size,
                                  const QString &type)
{
    m_lastError.clear();
    const QString sqlType = TDBTable::ColumnSqlType(size, type);
    QString error = QStringLiteral("unsupported column type: ") + type;
    const bool ok = !sqlType.isEmpty()
        && run(QStringLiteral("alter table %1 ADD column %2 %3").arg(qualified(table), quoteIdentifier(column), sqlType),
               {}, &error);
    grow(1, QStringLiteral("升级表存储结构...") + table);
    return ok || fail(QStringLiteral("修改表结构(") + column + QStringLiteral(")错误,Error=") + error);
}

bool SchemaOperations::ensureColumn(const QString &table, const QString &column, const QString &size,
                                    const QString &type)
{
    return aIFExistsColumn(table, column) || aAddColumn(table, column, size, type);
}

bool SchemaOperations::CreateTableIFNotExists(const QString &table, const QString &createStatement)
{
    m_lastError.clear();
    if (tableExists(table))
        return true;
    QString error;
    if (run(createStatement, {}, &error))
        return true;
    return fail(QStringLiteral("创建表格失败") + table + QLatin1Char(' ') + error);
}

bool SchemaOperations::CreateMatchColumnTableIFNotExists()
{
    const QString table = QStringLiteral("MatchColumn");
    if (tableExists(table))
        return true;
    return CreateTableIFNotExists(table, kMatchColumnTable.arg(qualified(table))) && writeMatchColumnDefaults();
}

bool SchemaOperations::resetMatchColumnDefaults()
{
    return CreateMatchColumnTableIFNotExists() && m_db.transaction([this] {
        QString error;
        if (!run(QStringLiteral("delete from %1").arg(qualified(QStringLiteral("MatchColumn"))), {}, &error))
            return fail(QStringLiteral("MatchColumn表格初始化数据失败!") + error);
        return writeMatchColumnDefaults();
    });
}

bool SchemaOperations::writeMatchColumnDefaults()
{
    const QString sql = QStringLiteral("insert into %1 (MatchType, ItemName, SourceName) values (?, ?, ?)")
                            .arg(qualified(QStringLiteral("MatchColumn")));
    return m_db.transaction([&] {
        for (const auto &[item, titles] : kMatchDefaults) {
            QString error;
            if (!run(sql, {kMatchScenario, QString::fromUtf8(item), QString::fromUtf8(titles)}, &error))
                return fail(QStringLiteral("MatchColumn表格初始化数据失败!") + error);
        }
        return true;
    });
}

bool SchemaOperations::initTypeFirstNameValue()
{
    m_lastError.clear();
    QSqlQuery q(m_db.connection());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("select rowid, TypeName from %1 where TypeFirstName is null or TypeFirstName=''")
                    .arg(qualified(QStringLiteral("CKTypeTable")))))
        return fail(q.lastError().text());
    QList<std::pair<QVariant, QString>> named;
    while (q.next()) {
        const QString firstName = Lookups::firstNameFromFullName(q.value(1).toString());
        if (!firstName.isEmpty())
            named.append({q.value(0), firstName});
    }
    q.finish();
    for (const auto &[rowid, firstName] : named) {
        QString error;
        if (!run(QStringLiteral("update %1 set TypeFirstName=? where rowid=?").arg(qualified(QStringLiteral("CKTypeTable"))),
                 {firstName, rowid}, &error))
            return fail(error);
    }
    return true;
}

bool SchemaOperations::aInsertNameDictItemIFLost(const QString &family, const QString &label, const QString &type,
                                                 int showOrder, int printFlag, const QString &name)
{
    m_lastError.clear();
    const QString upper = name.toUpper();
    const QString table = qualified(QStringLiteral("NameDict"));
    QString error;
    QSqlQuery lookup(m_db.connection());
    bool ok = lookup.prepare(
        QStringLiteral("select count(*) from %1 where CheckTypeName=? and CtlName=? collate nocase").arg(table));
    lookup.addBindValue(family);
    lookup.addBindValue(upper);
    ok = ok && lookup.exec() && lookup.next();
    if (!ok)
        error = lookup.lastError().text();
    const int present = ok ? lookup.value(0).toInt() : 0;
    lookup.finish();
    if (ok && present == 0) {
        ok = run(QStringLiteral("insert into %1 (CheckTypeName, CtlName, CtlLabel, PrintItem, ShowOrd, CtlType) "
                                "values (?, ?, ?, ?, ?, ?)")
                     .arg(table),
                 {family, upper, label, printFlag, showOrder, type.isEmpty() ? QStringLiteral("Text") : type}, &error);
    }
    if (!ok)
        return fail(QStringLiteral("升级模型数据失败(") + family + QLatin1Char(',') + upper + QStringLiteral("):") + error);
    grow(1, QStringLiteral("升级单据模型..."));
    return true;
}

bool SchemaOperations::aUpdateColumnValue(const QString &table, const QString &column, const QString &condition,
                                          const QVariantList &conditionValues, const QString &type,
                                          const QVariant &value)
{
    m_lastError.clear();
    const QString kind = type.trimmed().toLower();
    QVariant bound;
    if (kind == QLatin1String("varchar") || kind == QLatin1String("text") || kind == QLatin1String("string"))
        bound = value.toString();
    else if (kind == QLatin1String("number") || kind == QLatin1String("integer"))
        bound = value.toLongLong();
    else if (kind == QLatin1String("numeric") || kind == QLatin1String("float"))
        bound = value.toDouble();
    else
        return fail(QStringLiteral("类型错误，不支持的类型-") + type);
    const QString where = condition.trimmed().isEmpty() ? QStringLiteral(" 1=1 ") : condition;
    QString error;
    if (!run(QStringLiteral("update %1 set %2=? where %3").arg(qualified(table), quoteIdentifier(column), where),
             QVariantList{bound} + conditionValues, &error))
        return fail(table + QStringLiteral("表升级数据失败.") + error);
    grow(5, table + QStringLiteral("升级数据"));
    return true;
}

bool SchemaOperations::CreateTemplateConfigTable(const QString &versionText)
{
    m_lastError.clear();
    const QString table = qualified(QStringLiteral("_Config"));
    QString error;
    if (!tableExists(QStringLiteral("_Config"))
        && !run(QStringLiteral("create table %1 (Id INTEGER PRIMARY KEY AUTOINCREMENT, DMName TEXT, DMValue TEXT, "
                               "CheckTypeId INTEGER)")
                    .arg(table),
                {}, &error))
        return fail(error);
    const QVariant first = m_db.scalar(
        QStringLiteral("select min(rowid) from %1 where DMName='version'").arg(table));
    const bool ok = first.isNull()
        ? run(QStringLiteral("insert into %1 (DMName, DMValue, CheckTypeId) values ('version', ?, 0)").arg(table),
              {versionText}, &error)
        : run(QStringLiteral("update %1 set DMValue=? where rowid=?").arg(table), {versionText, first}, &error);
    return ok || fail(error);
}

} // namespace billprint
