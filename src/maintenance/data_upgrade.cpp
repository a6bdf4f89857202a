#include "maintenance/data_upgrade.h"

#include "app/database.h"
#include "app/database_backup.h"
#include "app/system_settings.h"
#include "history/history_family.h"
#include "maintenance/schema_operations.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace billprint {

namespace {

const QString kPackageSchema = QStringLiteral("pkg");
const QString kWaybill = QStringLiteral("快递单");
const int kProgressMaximum = 150;

// The waybill fields the dictionary of earlier versions lacks.
struct DictionaryItem
{
    const char *name;
    const char *label;
    int showOrder;
};
std::vector<DictionaryItem> waybillFields()
{
    std::vector<DictionaryItem> items = {
        {"zdTiJi", "体积", 357},     {"zdDaisJE", "代收金额", 357},  {"zdShouxuFee", "手续费", 358},
        {"zdBJJE", "保价金额", 359}, {"zdBJFee", "保价费", 360},     {"zdYunFee", "运费", 361},
        {"zdJFKHBM", "寄方编码", 29}, {"zdJiaJiFee", "加急费", 362}, {"zdBaoZFee", "包装费", 363},
        {"zdSongHFee", "送货费", 364}, {"zdQiTaFee", "其他费", 365},  {"zdJEDX1", "金额大写1", 366},
    };
    static const QByteArray checks[13] = {"DEFCHECK0", "DEFCHECK1", "DEFCHECK2", "DEFCHECK3", "DEFCHECK4",
                                          "DEFCHECK5", "DEFCHECK6", "DEFCHECK7", "DEFCHECK8", "DEFCHECK9",
                                          "DEFCHECK10", "DEFCHECK11", "DEFCHECK12"};
    static const QByteArray labels[13] = {"勾选0", "勾选1", "勾选2", "勾选3", "勾选4", "勾选5", "勾选6",
                                          "勾选7", "勾选8", "勾选9", "勾选10", "勾选11", "勾选12"};
    for (int n = 0; n < 13; ++n)
        items.push_back({checks[n].constData(), labels[n].constData(), 409 + n});
    items.push_back({"zdDef3", "自定义3", 470});
    items.push_back({"zdDef4", "自定义4", 471});
    items.push_back({"zdDef5", "自定义5", 472});
    return items;
}

// Carriers whose enabled templates are offered as common ones.
const char *const kCommonCarriers[] = {"邮政快递", "申通速递", "圆通速递", "韵达快运", "顺丰速运"};

// The tables of the program's schema with the statements that create them,
// read from the first schema script.
QList<std::pair<QString, QString>> schemaTables()
{
    QList<std::pair<QString, QString>> tables;
    const QStringList scripts = Database::migrationScripts();
    if (scripts.isEmpty())
        return tables;
    QFile file(scripts.first());
    if (!file.open(QIODevice::ReadOnly))
        return tables;
    static const QRegularExpression create(QStringLiteral("^CREATE TABLE IF NOT EXISTS (\\w+)"),
                                           QRegularExpression::CaseInsensitiveOption);
    for (const QString &statement : splitSqlScript(QString::fromUtf8(file.readAll()))) {
        const auto match = create.match(statement);
        if (match.hasMatch())
            tables.append({match.captured(1), statement});
    }
    return tables;
}

int schemaVersionOf(const Database &db, const QString &schema)
{
    return db.scalar(QStringLiteral("PRAGMA %1.schema_version").arg(quoteIdentifier(schema))).toInt();
}

bool looksLikeSqlite(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3\0", 16);
}

// The empty template package attached to the program's connection for the
// time of the upgrade, so that one transaction covers both files.
class AttachedPackage
{
public:
    AttachedPackage(const Database &db, const QString &path) : m_db(db)
    {
        if (!QFileInfo(path).isFile())
            return;
        if (!looksLikeSqlite(path)) {
            m_error = QStringLiteral("空模板包不是有效的模板包：") + QDir::toNativeSeparators(path);
            return;
        }
        m_attached = db.exec(QStringLiteral("ATTACH DATABASE ? AS ") + kPackageSchema, {path}, &m_error);
    }
    ~AttachedPackage()
    {
        if (m_attached)
            m_db.exec(QStringLiteral("DETACH DATABASE ") + kPackageSchema);
    }
    bool attached() const { return m_attached; }
    const QString &error() const { return m_error; }

private:
    const Database &m_db;
    bool m_attached = false;
    QString m_error;
};

} // namespace

struct DataUpgrade::ColumnAddition
{
    const char *table;
    const char *column;
    const char *type;
    const char *size;
};

DataUpgrade::DataUpgrade(const Database &db, QString versionText)
    : m_db(db), m_versionText(std::move(versionText)), m_packagePath(packagePathFor(db.path()))
{
}

QString DataUpgrade::packagePathFor(const QString &databasePath)
{
    return QFileInfo(databasePath).dir().filePath(QStringLiteral("Template.a01"));
}

QString DataUpgrade::backupPathFor(const QString &filePath, const QString &versionText)
{
    return filePath + QStringLiteral(".before-") + versionText;
}

QString DataUpgrade::sharedDatabaseRefusal()
{
    return QStringLiteral("共享数据库不在这里升级。请在一台电脑上升级本机的数据，"
                          "再用 billprint db copy 复制到服务器。");
}

bool DataUpgrade::isCurrent() const
{
    // Data upgraded before the upgrade ran the schema scripts carries the
    // version text but no schema version: it is upgraded once more.
    return !m_db.holdsEarlierVersionData()
        && SystemSettings(m_db).getConfigByname(SettingKey::DataVersion) == m_versionText;
}

void DataUpgrade::enter(const QString &step)
{
    m_step = step;
}

UpgradeOutcome DataUpgrade::run(bool force)
{
    UpgradeOutcome outcome;
    if (m_db.isShared()) {
        outcome.status = UpgradeOutcome::Status::NotOnSharedDatabase;
        outcome.message = sharedDatabaseRefusal();
        return outcome;
    }
    if (!force && isCurrent()) {
        outcome.status = UpgradeOutcome::Status::AlreadyCurrent;
        outcome.message = QStringLiteral("当前软件已经是V9.28，无需再升级！");
        return outcome;
    }
    m_progress.ProgressBarInit(kProgressMaximum);
    auto failed = [&](const QString &error) {
        outcome.status = UpgradeOutcome::Status::Failed;
        outcome.failedStep = m_step;
        outcome.message = QStringLiteral("升级失败，意外错误:") + error + QStringLiteral("\n失败的步骤：") + m_step;
        return outcome;
    };

    enter(QStringLiteral("打开空模板包"));
    const AttachedPackage package(m_db, m_packagePath);
    if (!package.error().isEmpty())
        return failed(package.error());

    enter(QStringLiteral("备份升级前的数据"));
    QString error;
    outcome.backupPath = unusedFileName(backupPathFor(m_db.path(), m_versionText));
    if (!backupDatabaseFile(m_db.connection(), QStringLiteral("main"), outcome.backupPath, &error))
        return failed(error);
    if (package.attached()) {
        outcome.packageBackupPath = unusedFileName(backupPathFor(m_packagePath, m_versionText));
        if (!backupDatabaseFile(m_db.connection(), kPackageSchema, outcome.packageBackupPath, &error))
            return failed(error);
    }

    const int schemaBefore = schemaVersionOf(m_db, QStringLiteral("main"));
    if (!m_db.transaction([&] { return runSteps(package.attached(), &error); }, &error)) {
        // The roll-back normally undoes everything; should it not have, the
        // copy made above is written back.
        if (schemaVersionOf(m_db, QStringLiteral("main")) != schemaBefore) {
            m_db.exec(QStringLiteral("ROLLBACK"));
            QString restoreError;
            if (!restoreDatabaseFile(m_db.connection(), QStringLiteral("main"), outcome.backupPath, &restoreError))
                error += QStringLiteral("\n恢复备份失败，请手工用备份文件替换数据库：") + restoreError;
        }
        return failed(error + QStringLiteral("\n数据没有改动，升级前的备份：") + QDir::toNativeSeparators(outcome.backupPath));
    }
    m_progress.ProgressBarEnd();
    outcome.status = UpgradeOutcome::Status::Upgraded;
    outcome.message = QStringLiteral("恭喜，升级成功啦！");
    return outcome;
}

bool DataUpgrade::runSteps(bool withPackage, QString *error)
{
    SchemaOperations ops(m_db, &m_progress);
    auto opFailed = [&] {
        *error = ops.lastError();
        return false;
    };

    enter(QStringLiteral("创建缺少的表格"));
    if (!createMissingTables(error))
        return false;

    enter(QStringLiteral("升级表存储结构"));
    static const std::vector<ColumnAddition> databaseColumns = [] {
        std::vector<ColumnAddition> list;
        for (const char *c : {"ctlLH", "ctlH", "ctlW", "NeedShow", "NeedPrint", "SrcX", "SrcY", "SrcW", "SrcH"})
            list.push_back({"CKControl", c, "Number", ""});
        list.push_back({"CKControl", "CtlType", "string", "30"});
        list.push_back({"CKControl", "InitValue", "string", "80"});
        list.push_back({"NameDict", "CtlData", "String", "100"});
        list.push_back({"NameDict", "CtlType", "String", "20"});
        list.push_back({"CKTypeTable", "IsCommon", "String", "10"});
        list.push_back({"CKTypeTable", "PWidth", "Number", ""});
        list.push_back({"CKTypeTable", "PHeight", "Number", ""});
        const char *const fees[] = {"手续费", "保价金额", "保价费", "运费", "加急费", "包装费", "送货费", "其他费", "金额大写1"};
        for (const char *table : {"ReceiverList", "DataKDDTable"}) {
            list.push_back({table, "体积", "String", "50"});
            list.push_back({table, "代收金额", "String", "30"});
            for (const char *c : fees)
                list.push_back({table, c, "String", "50"});
            if (qstrcmp(table, "DataKDDTable") == 0) {
                list.push_back({table, "自定义1", "String", "50"});
                list.push_back({table, "自定义2", "String", "50"});
            }
            for (const char *c : {"自定义3", "自定义4", "自定义5"})
                list.push_back({table, c, "String", "50"});
        }
        return list;
    }();
    if (!addMissingColumns(QStringLiteral("main"), databaseColumns, error))
        return false;

    enter(QStringLiteral("升级模板样本结构"));
    m_progress.ProgressBarGrow(1, QStringLiteral("升级模板样本结构"));
    static const std::vector<ColumnAddition> packageColumns = [] {
        std::vector<ColumnAddition> list;
        for (const char *c : {"SrcX", "SrcY", "SrcH", "SrcW", "NeedShow", "NeedPrint", "CtlLH"})
            list.push_back({"_CKControl", c, "Number", ""});
        list.push_back({"_CKControl", "CtlType", "String", "30"});
        list.push_back({"_CKControl", "InitValue", "String", "60"});
        list.push_back({"_CKTypeTable", "PWidth", "Number", ""});
        list.push_back({"_CKTypeTable", "PHeight", "Number", ""});
        return list;
    }();
    if (withPackage && !addMissingColumns(kPackageSchema, packageColumns, error))
        return false;

    enter(QStringLiteral("升级模板的名称"));
    static const std::vector<ColumnAddition> templateColumns = {{"CKTypeTable", "IniFile", "String", "50"},
                                                                {"CKTypeTable", "TypeFirstName", "String", "50"}};
    if (!addMissingColumns(QStringLiteral("main"), templateColumns, error))
        return false;
    if (!ops.initTypeFirstNameValue())
        return opFailed();

    if (withPackage) {
        enter(QStringLiteral("记录空模板包的版本"));
        SchemaOperations packageOps(m_db, &m_progress, kPackageSchema);
        if (!packageOps.CreateTemplateConfigTable(m_versionText)) {
            *error = packageOps.lastError();
            return false;
        }
    }

    enter(QStringLiteral("升级单据模型"));
    for (const DictionaryItem &item : waybillFields()) {
        if (!ops.aInsertNameDictItemIFLost(kWaybill, QString::fromUtf8(item.label), QStringLiteral("Text"),
                                           item.showOrder, 1, QString::fromUtf8(item.name)))
            return opFailed();
    }

    enter(QStringLiteral("编码修正"));
    if (!normaliseDictionary(error))
        return false;
    enter(QStringLiteral("升级模板数据"));
    if (!visitTemplates(error))
        return false;
    enter(QStringLiteral("设置常用模板"));
    if (!markCommonTemplates(error))
        return false;
    enter(QStringLiteral("修正历史单据日期"));
    if (!normaliseBillDates(error))
        return false;

    // Last, once every table and column is there: this program's own
    // schema scripts (indexes, the wider password column, seed rows), so
    // that from now on the data is opened and updated as one of ours.
    enter(QStringLiteral("升级数据结构到当前版本"));
    m_progress.ProgressBarGrow(1, QStringLiteral("升级数据结构到当前版本"));
    if (!m_db.adoptEarlierVersionData(error))
        return false;

    enter(QStringLiteral("记录数据版本"));
    // As before, a version that cannot be written only means the next
    // start offers the upgrade again.
    SystemSettings(m_db).setConfigByname(SettingKey::DataVersion, m_versionText);
    return true;
}

bool DataUpgrade::createMissingTables(QString *error)
{
    SchemaOperations ops(m_db, &m_progress);
    for (const auto &[table, statement] : schemaTables()) {
        if (table.compare(QLatin1String("MatchColumn"), Qt::CaseInsensitive) == 0)
            continue;
        if (!ops.tableExists(table)) {
            if (!ops.CreateTableIFNotExists(table, statement)) {
                *error = ops.lastError();
                return false;
            }
            m_progress.ProgressBarGrow(1, QStringLiteral("创建表格...") + table);
        }
    }
    if (!ops.CreateMatchColumnTableIFNotExists()) {
        *error = ops.lastError();
        return false;
    }
    return true;
}

bool DataUpgrade::addMissingColumns(const QString &schema, const std::vector<ColumnAddition> &columns, QString *error)
{
    SchemaOperations ops(m_db, &m_progress, schema);
    for (const ColumnAddition &c : columns) {
        const QString table = QString::fromUtf8(c.table);
        if (!ops.tableExists(table)) {
            *error = QStringLiteral("缺少表格") + table;
            return false;
        }
        if (!ops.ensureColumn(table, QString::fromUtf8(c.column), QString::fromUtf8(c.size), QString::fromUtf8(c.type))) {
            *error = ops.lastError();
            return false;
        }
    }
    return true;
}

bool DataUpgrade::normaliseDictionary(QString *error)
{
    // Names upper-cased and type words in one spelling. Only the empty and
    // the differently spelled text kinds become "TEXT": the other kinds the
    // dictionary uses (pictures of the pick buttons) stay what they are.
    const std::pair<const char *, const char *> statements[] = {
        {"update NameDict set CtlName=upper(CtlName) where CtlName<>upper(CtlName)", "编码大小写修正..."},
        {"update NameDict set CtlType='TEXT' where (CtlType is null or upper(trim(CtlType)) in ('', 'TEXT'))"
         " and CtlType is not 'TEXT' and CtlName not like 'DEFCHECK%'",
         "编码修正，控件类型TEXT..."},
        {"update NameDict set CtlType='CHECKBOX' where CtlName like 'DEFCHECK%' and CtlType is not 'CHECKBOX'",
         "编码修正，控件类型CHECKBOX..."},
    };
    for (const auto &[sql, message] : statements) {
        if (!m_db.exec(QString::fromUtf8(sql), {}, error))
            return false;
        m_progress.ProgressBarGrow(1, QString::fromUtf8(message));
    }
    return true;
}

bool DataUpgrade::visitTemplates(QString *error)
{
    QSqlQuery q(m_db.connection());
    q.setForwardOnly(true);
    if (!m_db.run(q, QStringLiteral("select CheckTypeID from CKTypeTable"))) {
        *error = q.lastError().text();
        return false;
    }
    while (q.next())
        m_progress.ProgressBarGrow(1, QStringLiteral("升级模板数据.."));
    return true;
}

bool DataUpgrade::normaliseBillDates(QString *error)
{
    // Earlier versions wrote the bill dates as "2024/3/5"; this program
    // writes and sorts them as "2024-03-05". A time after the date stays.
    static const QRegularExpression slashed(QStringLiteral("^\\s*(\\d{4})/(\\d{1,2})/(\\d{1,2})(.*)$"));
    SchemaOperations ops(m_db, &m_progress);
    for (const HistoryFamily *family : HistoryFamily::all()) {
        const QString table = family->table();
        const QString column = family->dateColumn;
        if (!ops.tableExists(table) || !ops.aIFExistsColumn(table, column))
            continue;
        const QString serial = quoteIdentifier(HistoryColumn::Serial);
        QSqlQuery q = m_db.prepare(QStringLiteral("select %1, %2 from %3 where %2 like '%/%'")
                                       .arg(serial, quoteIdentifier(column), quoteIdentifier(table)));
        if (!q.exec()) {
            *error = q.lastError().text();
            return false;
        }
        QList<std::pair<QVariant, QString>> changes;
        while (q.next()) {
            const auto match = slashed.match(q.value(1).toString());
            const QDate date = match.hasMatch() ? QDate(match.captured(1).toInt(), match.captured(2).toInt(),
                                                        match.captured(3).toInt())
                                                : QDate();
            // A text that names no day is left as it is: guessing would
            // change what the user wrote.
            if (date.isValid())
                changes.append({q.value(0), date.toString(Qt::ISODate) + match.captured(4)});
        }
        for (const auto &[key, iso] : changes) {
            if (!m_db.exec(QStringLiteral("update %1 set %2=? where %3=?").arg(quoteIdentifier(table),
                                                                              quoteIdentifier(column), serial),
                           {iso, key}, error))
                return false;
        }
        m_progress.ProgressBarGrow(1, QStringLiteral("修正历史单据日期...") + table);
    }
    return true;
}

bool DataUpgrade::markCommonTemplates(QString *error)
{
    SchemaOperations ops(m_db, &m_progress);
    const QString table = QStringLiteral("ckTypeTable");
    const QString column = QStringLiteral("isCommon");
    const QString common = QStringLiteral("是");
    for (const char *carrier : kCommonCarriers) {
        if (!ops.aUpdateColumnValue(table, column, QStringLiteral(" TypeName like ? and visiable=?"),
                                    {QLatin1Char('%') + QString::fromUtf8(carrier) + QLatin1Char('%'),
                                     QStringLiteral("启用")},
                                    QStringLiteral("string"), common)) {
            *error = ops.lastError();
            return false;
        }
    }
    if (!ops.aUpdateColumnValue(table, column, QStringLiteral(" IsDefault=?"), {QStringLiteral("默认")},
                                QStringLiteral("string"), common)) {
        *error = ops.lastError();
        return false;
    }
    return true;
}

} // namespace billprint
