#include "templates/package_checks.h"

#include "app/database.h"
#include "templates/package_connection.h"
#include "templates/template_package.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace billprint {

bool looksLikeSqlite(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3\0", 16);
}

namespace {

// Tables and the columns a package must have for each.
struct RequiredTable
{
    const char *name;
    QStringList columns;
    bool optional;
};
const std::vector<RequiredTable> &requiredTables()
{
    static const std::vector<RequiredTable> tables = {
        {"_CKTypeTable", {"checktypeid", "typename", "imgfile", "img_bytes"}, false},
        {"_ckControl", {"checktypeid", "ctlname"}, false},
        {"_Config", {"dmname", "dmvalue", "checktypeid"}, false},
        {"_NameDict", {"checktypename", "ctlname"}, true},
    };
    return tables;
}


struct SchemaObject
{
    QString type;
    QString name;
    QString sql;
    qint64 rootPage = 0;
};

// A virtual table runs its module's code on every read; its row in the
// schema has no pages of its own, whatever its statement text says.
bool isVirtualTable(const SchemaObject &o)
{
    static const QRegularExpression createVirtual(QStringLiteral("^\\s*create\\s+virtual\\s"),
                                                  QRegularExpression::CaseInsensitiveOption);
    return o.rootPage <= 0 || createVirtual.match(o.sql).hasMatch();
}

bool listSchema(PackageConnection &c, std::vector<SchemaObject> *objects, QString *error)
{
    QSqlQuery q(c.db());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("select type, name, coalesce(sql, ''), coalesce(rootpage, 0) from sqlite_master"))) {
        *error = refusePackage(q.lastError().text());
        return false;
    }
    while (q.next()) {
        if (int(objects->size()) >= TemplatePackage::MaxSchemaObjects) {
            *error = refusePackage(QStringLiteral("包中的表和索引超过 %1 个").arg(TemplatePackage::MaxSchemaObjects));
            return false;
        }
        objects->push_back({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                            q.value(3).toLongLong()});
    }
    return true;
}

// Why a table or index may not be read; empty when it is plain.
QString objectProblem(PackageConnection &c, const SchemaObject &o, QString *error)
{
    if (o.type == QLatin1String("table")) {
        if (isVirtualTable(o))
            return QStringLiteral("包中含有虚拟表 ") + o.name;
        // Generated columns compute the stranger's expressions on every
        // read; hidden ones are not what `select *` shows.
        const QVariantList hidden = c.firstRow(
            QStringLiteral("select name from pragma_table_xinfo(?) where hidden <> 0 limit 1"), {o.name}, error);
        if (!hidden.isEmpty())
            return QStringLiteral("表 %1 含有计算列或隐藏列 %2").arg(o.name, hidden.first().toString());
        return {};
    }
    if (o.type == QLatin1String("index")) {
        const QVariantList expression = c.firstRow(
            QStringLiteral("select 1 from pragma_index_xinfo(?) where cid = -2 limit 1"), {o.name}, error);
        if (!expression.isEmpty())
            return QStringLiteral("包中含有表达式索引 ") + o.name;
        return {};
    }
    return QStringLiteral("包中含有不允许的对象 ") + o.type + QLatin1Char(' ') + o.name;
}

// Every object must be a plain table or an index on plain columns: a
// trigger, view, virtual table or generated column would run the
// stranger's SQL (or module) when we read.
bool checkSchema(PackageConnection &c, QString *error)
{
    std::vector<SchemaObject> objects;
    if (!listSchema(c, &objects, error))
        return false;
    // Types first: no pragma may touch a virtual table's module.
    for (const SchemaObject &o : objects)
        if (o.type != QLatin1String("index") && (o.type != QLatin1String("table") || isVirtualTable(o))) {
            *error = refusePackage(objectProblem(c, o, error));
            return false;
        }
    for (const SchemaObject &o : objects) {
        const QString problem = objectProblem(c, o, error);
        if (!error->isEmpty())
            return false;
        if (!problem.isEmpty()) {
            *error = refusePackage(problem);
            return false;
        }
    }
    QSqlQuery check(c.db());
    if (!check.exec(QStringLiteral("PRAGMA quick_check")) || !check.next()
        || check.value(0).toString() != QLatin1String("ok")) {
        *error = refusePackage(QStringLiteral("文件已损坏 ") + check.lastError().text());
        return false;
    }
    return true;
}

QStringList columnsOf(PackageConnection &c, const QString &table)
{
    QStringList names;
    QSqlQuery q(c.db());
    q.prepare(QStringLiteral("select name from pragma_table_info(?)"));
    q.addBindValue(table);
    if (q.exec())
        while (q.next())
            names << q.value(0).toString().toLower();
    return names;
}

bool checkTables(PackageConnection &c, QStringList *presentOptional, QString *error)
{
    for (const RequiredTable &t : requiredTables()) {
        const QStringList have = columnsOf(c, QLatin1String(t.name));
        if (have.isEmpty()) {
            if (t.optional)
                continue;
            *error = refusePackage(QStringLiteral("缺少表 ") + QLatin1String(t.name));
            return false;
        }
        for (const QString &col : t.columns)
            if (!have.contains(col)) {
                *error = refusePackage(QStringLiteral("表 %1 缺少列 %2").arg(QLatin1String(t.name), col));
                return false;
            }
        if (t.optional)
            *presentOptional << QLatin1String(t.name);
    }
    return true;
}

// What one template may bring per table: the column that names the
// template (its id, or its family for the catalogue) and the most rows.
struct TableLimit
{
    const char *table;
    const char *owner;
    const char *what;
    int maxRows;
    int maxPerOwner;
};

const std::vector<TableLimit> &tableLimits()
{
    static const std::vector<TableLimit> limits = {
        {"_CKTypeTable", nullptr, "模板", TemplatePackage::MaxTemplates, 0},
        {"_ckControl", "cast(CheckTypeID as integer)", "项目", TemplatePackage::MaxRowsPerTable,
         TemplatePackage::MaxFieldsPerTemplate},
        {"_Config", "cast(CheckTypeId as integer)", "配置项目", TemplatePackage::MaxRowsPerTable,
         TemplatePackage::MaxFieldsPerTemplate},
        {"_NameDict", "CheckTypeName", "项目名称", TemplatePackage::MaxRowsPerTable,
         TemplatePackage::MaxFieldsPerTemplate},
    };
    return limits;
}

// Counts rows, rows per template and the longest value of every column in
// SQL, so nothing too large is ever fetched.
bool checkTableSizes(PackageConnection &c, const TableLimit &limit, QString *error)
{
    const QString table = QLatin1String(limit.table);
    const QVariantList count = c.firstRow(QStringLiteral("select count(*) from ") + quoteIdentifier(table), {}, error);
    if (count.isEmpty())
        return false;
    if (count.first().toLongLong() > limit.maxRows) {
        *error = refusePackage(QStringLiteral("%1超过 %2 个").arg(QString::fromUtf8(limit.what)).arg(limit.maxRows));
        return false;
    }
    if (limit.owner) {
        const QVariantList crowded = c.firstRow(QStringLiteral("select %1 from %2 group by 1 having count(*) > ? limit 1")
                                                    .arg(QLatin1String(limit.owner), quoteIdentifier(table)),
                                                {limit.maxPerOwner}, error);
        if (!error->isEmpty())
            return false;
        if (!crowded.isEmpty()) {
            *error = refusePackage(QStringLiteral("模板 %1 的%2超过 %3 个")
                                       .arg(crowded.first().toString(), QString::fromUtf8(limit.what))
                                       .arg(limit.maxPerOwner));
            return false;
        }
    }
    const QStringList columns = columnsOf(c, table);
    QStringList longest;
    for (const QString &column : columns)
        longest << QStringLiteral("max(length(%1))").arg(quoteIdentifier(column));
    const QString longestSql =
        QStringLiteral("select ") + longest.join(QLatin1Char(',')) + QStringLiteral(" from ") + quoteIdentifier(table);
    const QVariantList lengths = c.firstRow(longestSql, {}, error);
    if (lengths.size() != columns.size()) {
        if (error->isEmpty())
            *error = refusePackage(QStringLiteral("无法读取表 ") + table);
        return false;
    }
    for (int i = 0; i < columns.size(); ++i) {
        const bool picture = columns.at(i) == QLatin1String("img_bytes");
        if (picture && lengths.at(i).toLongLong() > TemplatePackage::MaxPictureBytes) {
            *error = refusePackage(QStringLiteral("底图超过 20 MB"));
            return false;
        }
        if (!picture && lengths.at(i).toLongLong() > TemplatePackage::MaxTextBytes) {
            *error = refusePackage(QStringLiteral("表 %1 列 %2 的内容超过 64 KB").arg(table, columns.at(i)));
            return false;
        }
    }
    return true;
}

bool checkSizes(PackageConnection &c, const QStringList &presentOptional, QString *error)
{
    for (const TableLimit &limit : tableLimits()) {
        const QString table = QLatin1String(limit.table);
        const bool optional = table == QLatin1String("_NameDict");
        if (optional && !presentOptional.contains(table))
            continue;
        if (!checkTableSizes(c, limit, error))
            return false;
    }
    return true;
}

} // namespace

bool readPackageRows(PackageConnection &c, const QString &table, std::vector<QVariantMap> *rows, qint64 *textBytes,
              QString *error)
{
    QSqlQuery q(c.db());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("select * from ") + quoteIdentifier(table))) {
        *error = refusePackage(q.lastError().text());
        return false;
    }
    // The names are made once and shared by every row.
    QStringList names;
    for (int i = 0; i < q.record().count(); ++i)
        names << q.record().fieldName(i).toLower();
    while (q.next()) {
        QVariantMap row;
        for (int i = 0; i < names.size(); ++i) {
            const QString &name = names.at(i);
            const QVariant value = q.value(i);
            const bool picture = name == QLatin1String("img_bytes");
            const qint64 size = value.typeId() == QMetaType::QByteArray ? value.toByteArray().size()
                                                                        : value.toString().toUtf8().size();
            if (!picture && size > TemplatePackage::MaxTextBytes) {
                *error = refusePackage(QStringLiteral("表 %1 列 %2 的内容超过 64 KB").arg(table, name));
                return false;
            }
            if (picture && size > TemplatePackage::MaxPictureBytes) {
                *error = refusePackage(QStringLiteral("底图超过 20 MB"));
                return false;
            }
            if (!picture && (*textBytes += size) > TemplatePackage::MaxTextBytesInPackage) {
                *error = refusePackage(QStringLiteral("包中的文字超过 32 MB"));
                return false;
            }
            row.insert(name, value);
        }
        rows->push_back(row);
        if (table == QLatin1String("_CKTypeTable") && int(rows->size()) > TemplatePackage::MaxTemplates) {
            *error = refusePackage(QStringLiteral("模板超过 %1 个").arg(TemplatePackage::MaxTemplates));
            return false;
        }
    }
    if (q.lastError().isValid()) {
        *error = refusePackage(q.lastError().text());
        return false;
    }
    return true;
}

bool checkPackage(PackageConnection &c, QStringList *presentOptional, QString *error)
{
    return checkSchema(c, error) && checkTables(c, presentOptional, error) && checkSizes(c, *presentOptional, error);
}

} // namespace billprint
