#include "templates/template_package.h"

#include "app/database.h"
#include "app/lookups.h"
#include "templates/check_type.h"
#include "templates/ck_control.h"
#include "templates/name_dict.h"
#include "templates/template_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QUrl>
#include <QUuid>

namespace billprint {

namespace {

// The package schema. Columns mirror the program's tables; the picture
// travels as bytes.
const char *const kSchema[] = {
    "CREATE TABLE _CKTypeTable (CheckTypeID INTEGER, TypeName TEXT, TypeFirstName TEXT, TypeDescribe TEXT,"
    " XMove INTEGER, YMove INTEGER, THeight INTEGER, TWidth INTEGER, GroupCompany TEXT, GroupTypeArea TEXT,"
    " PHeight INTEGER, PWidth INTEGER, HVPrint INTEGER, ImgFile TEXT, Visiable TEXT, CheckBoxs TEXT,"
    " IsCommon TEXT, ShowOrd INTEGER, IsDefault TEXT, IsSysCommon INTEGER, Img_Bytes BLOB, Ini_Text TEXT)",
    "CREATE TABLE _ckControl (CheckTypeID INTEGER, CtlName TEXT, CtlCName TEXT, CtlType TEXT, CtlX INTEGER,"
    " CtlY INTEGER, CtlW INTEGER, CtlH INTEGER, CtlLH INTEGER, SrcX INTEGER, SrcY INTEGER, SrcH INTEGER,"
    " SrcW INTEGER, NeedPrint INTEGER, NeedShow INTEGER, CtlFontName TEXT, CtlFontSize INTEGER,"
    " BreakFontSize INTEGER, CtlFontColor TEXT, Bold INTEGER, Italic INTEGER, UnderLine INTEGER,"
    " fitParam TEXT, BreakNum TEXT, Align TEXT, InitValue TEXT, ShowOrd INTEGER)",
    "CREATE TABLE _Config (Id INTEGER PRIMARY KEY AUTOINCREMENT, DMName TEXT, DMValue TEXT, CheckTypeId INTEGER)",
    "CREATE TABLE _NameDict (CheckTypeName TEXT, CtlName TEXT, CtlLabel TEXT, CtlType TEXT, PrintItem INTEGER,"
    " ShowOrd INTEGER, Groups TEXT, CtlData TEXT)",
};

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

QString refuse(const QString &why)
{
    return QStringLiteral("票据包无法导入：") + why;
}

// A connection of its own to a package file; removed with the object.
class PackageConnection
{
public:
    PackageConnection() : m_name(QStringLiteral("package-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {}
    ~PackageConnection()
    {
        { QSqlDatabase db = QSqlDatabase::database(m_name, false); db.close(); }
        QSqlDatabase::removeDatabase(m_name);
    }
    // Opens a stranger's file: read-only and immutable, so nothing (not a
    // journal roll-back either) ever writes it.
    bool openForReading(const QString &path, QString *error)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(QStringLiteral("file:") + QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).path(QUrl::FullyEncoded)
                           + QStringLiteral("?mode=ro&immutable=1"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
        return open(db, error) && exec(QStringLiteral("PRAGMA trusted_schema=OFF"), error);
    }
    bool openForWriting(const QString &path, QString *error)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        return open(db, error);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }
    bool exec(const QString &sql, QString *error, const QVariantList &values = {})
    {
        QSqlQuery q(db());
        if (q.prepare(sql)) {
            for (const QVariant &v : values)
                q.addBindValue(v);
            if (q.exec())
                return true;
        }
        *error = q.lastError().text();
        return false;
    }

private:
    static bool open(QSqlDatabase &db, QString *error)
    {
        if (db.open())
            return true;
        *error = db.lastError().text();
        return false;
    }
    QString m_name;
};

bool looksLikeSqlite(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3\0", 16);
}

// The first row a query gives, or an invalid value when it gives none;
// `error` is set when the query fails.
QVariantList firstRow(PackageConnection &c, const QString &sql, const QVariantList &values, QString *error)
{
    QSqlQuery q(c.db());
    q.setForwardOnly(true);
    if (!q.prepare(sql)) {
        *error = refuse(q.lastError().text());
        return {};
    }
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec()) {
        *error = refuse(q.lastError().text());
        return {};
    }
    QVariantList row;
    if (q.next())
        for (int i = 0; i < q.record().count(); ++i)
            row << q.value(i);
    return row;
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
        *error = refuse(q.lastError().text());
        return false;
    }
    while (q.next()) {
        if (int(objects->size()) >= TemplatePackage::MaxSchemaObjects) {
            *error = refuse(QStringLiteral("包中的表和索引超过 %1 个").arg(TemplatePackage::MaxSchemaObjects));
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
        const QVariantList hidden = firstRow(
            c, QStringLiteral("select name from pragma_table_xinfo(?) where hidden <> 0 limit 1"), {o.name}, error);
        if (!hidden.isEmpty())
            return QStringLiteral("表 %1 含有计算列或隐藏列 %2").arg(o.name, hidden.first().toString());
        return {};
    }
    if (o.type == QLatin1String("index")) {
        const QVariantList expression = firstRow(
            c, QStringLiteral("select 1 from pragma_index_xinfo(?) where cid = -2 limit 1"), {o.name}, error);
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
            *error = refuse(objectProblem(c, o, error));
            return false;
        }
    for (const SchemaObject &o : objects) {
        const QString problem = objectProblem(c, o, error);
        if (!error->isEmpty())
            return false;
        if (!problem.isEmpty()) {
            *error = refuse(problem);
            return false;
        }
    }
    QSqlQuery check(c.db());
    if (!check.exec(QStringLiteral("PRAGMA quick_check")) || !check.next()
        || check.value(0).toString() != QLatin1String("ok")) {
        *error = refuse(QStringLiteral("文件已损坏 ") + check.lastError().text());
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
            *error = refuse(QStringLiteral("缺少表 ") + QLatin1String(t.name));
            return false;
        }
        for (const QString &col : t.columns)
            if (!have.contains(col)) {
                *error = refuse(QStringLiteral("表 %1 缺少列 %2").arg(QLatin1String(t.name), col));
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
    const QVariantList count = firstRow(c, QStringLiteral("select count(*) from ") + quoteIdentifier(table), {}, error);
    if (count.isEmpty())
        return false;
    if (count.first().toLongLong() > limit.maxRows) {
        *error = refuse(QStringLiteral("%1超过 %2 个").arg(QString::fromUtf8(limit.what)).arg(limit.maxRows));
        return false;
    }
    if (limit.owner) {
        const QVariantList crowded = firstRow(
            c, QStringLiteral("select %1 from %2 group by 1 having count(*) > ? limit 1")
                   .arg(QLatin1String(limit.owner), quoteIdentifier(table)),
            {limit.maxPerOwner}, error);
        if (!error->isEmpty())
            return false;
        if (!crowded.isEmpty()) {
            *error = refuse(QStringLiteral("模板 %1 的%2超过 %3 个")
                                .arg(crowded.first().toString(), QString::fromUtf8(limit.what))
                                .arg(limit.maxPerOwner));
            return false;
        }
    }
    const QStringList columns = columnsOf(c, table);
    QStringList longest;
    for (const QString &column : columns)
        longest << QStringLiteral("max(length(%1))").arg(quoteIdentifier(column));
    const QVariantList lengths =
        firstRow(c, QStringLiteral("select ") + longest.join(QLatin1Char(',')) + QStringLiteral(" from ") + quoteIdentifier(table),
                 {}, error);
    if (lengths.size() != columns.size()) {
        if (error->isEmpty())
            *error = refuse(QStringLiteral("无法读取表 ") + table);
        return false;
    }
    for (int i = 0; i < columns.size(); ++i) {
        const bool picture = columns.at(i) == QLatin1String("img_bytes");
        if (picture && lengths.at(i).toLongLong() > TemplatePackage::MaxPictureBytes) {
            *error = refuse(QStringLiteral("底图超过 20 MB"));
            return false;
        }
        if (!picture && lengths.at(i).toLongLong() > TemplatePackage::MaxTextBytes) {
            *error = refuse(QStringLiteral("表 %1 列 %2 的内容超过 64 KB").arg(table, columns.at(i)));
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

// Reads every row of a (checked) table, applying the size limits.
// `textBytes` counts the text read from the whole package.
bool readRows(PackageConnection &c, const QString &table, std::vector<QVariantMap> *rows, qint64 *textBytes,
              QString *error)
{
    QSqlQuery q(c.db());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("select * from ") + quoteIdentifier(table))) {
        *error = refuse(q.lastError().text());
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
                *error = refuse(QStringLiteral("表 %1 列 %2 的内容超过 64 KB").arg(table, name));
                return false;
            }
            if (picture && size > TemplatePackage::MaxPictureBytes) {
                *error = refuse(QStringLiteral("底图超过 20 MB"));
                return false;
            }
            if (!picture && (*textBytes += size) > TemplatePackage::MaxTextBytesInPackage) {
                *error = refuse(QStringLiteral("包中的文字超过 32 MB"));
                return false;
            }
            row.insert(name, value);
        }
        rows->push_back(row);
        if (table == QLatin1String("_CKTypeTable") && int(rows->size()) > TemplatePackage::MaxTemplates) {
            *error = refuse(QStringLiteral("模板超过 %1 个").arg(TemplatePackage::MaxTemplates));
            return false;
        }
    }
    if (q.lastError().isValid()) {
        *error = refuse(q.lastError().text());
        return false;
    }
    return true;
}

// Why a template of the package cannot be imported; empty when it can.
QString problemOf(const PackageTemplate &t)
{
    if (t.packageId <= 0)
        return QStringLiteral("模板编号无效：%1").arg(t.packageId);
    if (t.typeName.trimmed().isEmpty())
        return QStringLiteral("模板没有名称");
    const QString imgFile = t.row.value(QStringLiteral("imgfile")).toString();
    if (!imgFile.isEmpty() && !TemplatePackage::isSafePictureName(imgFile))
        return QStringLiteral("底图名称不安全：") + imgFile;
    if (!t.picture.isEmpty() && QImage::fromData(t.picture).isNull())
        return QStringLiteral("底图不是可读的图片");
    return {};
}

} // namespace

bool TemplatePackage::isSafePictureName(const QString &name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
        || name.contains(QLatin1Char(':')) || name == QLatin1String(".") || name == QLatin1String("..")
        || name.contains(QChar(0)))
        return false;
    return !name.startsWith(QLatin1Char('.'));
}

QString PackageTemplate::shownName() const
{
    return typeName.trimmed().isEmpty() ? QStringLiteral("（无名称，包中编号%1）").arg(packageId) : typeName;
}

const PackageTemplate *TemplatePackage::find(const QString &shownName) const
{
    for (const PackageTemplate &t : m_templates)
        if (t.shownName() == shownName)
            return &t;
    return nullptr;
}

std::unique_ptr<TemplatePackage> TemplatePackage::read(const QString &path, QString *error)
{
    error->clear();
    const QFileInfo file(path);
    if (!file.isFile() || !looksLikeSqlite(path)) {
        *error = refuse(QStringLiteral("不是票据包文件：") + path);
        return nullptr;
    }
    if (file.size() > MaxPackageBytes) {
        *error = refuse(QStringLiteral("文件超过 %1 MB").arg(MaxPackageBytes / (1024 * 1024)));
        return nullptr;
    }
    PackageConnection c;
    QStringList optional;
    std::vector<QVariantMap> types, fields, config, nameDict;
    qint64 textBytes = 0;
    if (!c.openForReading(path, error) || !checkSchema(c, error) || !checkTables(c, &optional, error)
        || !checkSizes(c, optional, error)
        || !readRows(c, QStringLiteral("_CKTypeTable"), &types, &textBytes, error)
        || !readRows(c, QStringLiteral("_ckControl"), &fields, &textBytes, error)
        || !readRows(c, QStringLiteral("_Config"), &config, &textBytes, error)
        || (optional.contains(QLatin1String("_NameDict"))
            && !readRows(c, QStringLiteral("_NameDict"), &nameDict, &textBytes, error)))
        return nullptr;

    // Rows by the template (or family) they belong to, gathered in one
    // pass rather than once per template.
    QHash<int, std::vector<QVariantMap>> fieldsOf, dictionaryOf;
    QHash<QString, std::vector<QVariantMap>> namesOf;
    for (QVariantMap &f : fields)
        fieldsOf[f.value(QStringLiteral("checktypeid")).toInt()].push_back(std::move(f));
    for (QVariantMap &d : config)
        if (d.value(QStringLiteral("dmname")).toString() != QLatin1String("version"))
            dictionaryOf[d.value(QStringLiteral("checktypeid")).toInt()].push_back(std::move(d));
    for (QVariantMap &n : nameDict)
        namesOf[n.value(QStringLiteral("checktypename")).toString()].push_back(std::move(n));

    auto package = std::make_unique<TemplatePackage>();
    for (QVariantMap &row : types) {
        PackageTemplate t;
        t.packageId = row.value(QStringLiteral("checktypeid")).toInt();
        t.typeName = row.value(QStringLiteral("typename")).toString();
        t.picture = row.take(QStringLiteral("img_bytes")).toByteArray();
        t.row = row;
        t.problem = problemOf(t);
        const QString family = TCheckType::firstNameOf(row.value(QStringLiteral("typefirstname")).toString(), t.typeName);
        t.fields = fieldsOf.value(t.packageId);
        t.dictionary = dictionaryOf.value(t.packageId);
        t.nameDict = namesOf.value(family);
        package->m_templates.push_back(std::move(t));
    }
    return package;
}

// --- export ---------------------------------------------------------------

namespace {

bool writeTemplate(const Database &db, const QString &imageFolder, int id, PackageConnection &c,
                   QStringList *families, QString *error)
{
    const std::optional<TCheckType> t = TCheckType::findById(db, id, error);
    if (!t) {
        if (error->isEmpty())
            *error = QStringLiteral("找不到模板，ID=%1").arg(id);
        return false;
    }
    QByteArray picture;
    if (TemplatePackage::isSafePictureName(t->ImgFile)) {
        QFile f(imageFolder + t->ImgFile);
        if (f.open(QIODevice::ReadOnly))
            picture = f.readAll();
    }
    // Exported templates arrive as common, non-default templates.
    if (!c.exec(QStringLiteral("insert into _CKTypeTable (CheckTypeID,TypeName,TypeFirstName,TypeDescribe,XMove,YMove,"
                               "THeight,TWidth,GroupCompany,GroupTypeArea,PHeight,PWidth,HVPrint,ImgFile,Visiable,"
                               "CheckBoxs,IsCommon,ShowOrd,IsDefault,IsSysCommon,Img_Bytes,Ini_Text) "
                               "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                error,
                {t->CheckTypeID, t->TypeName, t->getFirstName(), t->TypeDescribe, t->XMove, t->YMove, t->THeight,
                 t->TWidth, t->GroupCompany, t->GroupTypeArea, t->PHeight, t->PWidth, t->HVPrint, t->ImgFile,
                 t->Visiable, t->CheckBoxs, TemplateFlag::Common, 9, TemplateFlag::NotDefault, t->IsSysCommon,
                 picture, QStringLiteral(" ")}))
        return false;
    for (const CkControl &f : CkControlStore(db).loadAll(id)) {
        if (!c.exec(QStringLiteral("insert into _ckControl (CheckTypeID,CtlName,CtlCName,CtlType,CtlX,CtlY,CtlW,CtlH,"
                                   "CtlLH,SrcX,SrcY,SrcH,SrcW,NeedPrint,NeedShow,CtlFontName,CtlFontSize,BreakFontSize,"
                                   "CtlFontColor,Bold,Italic,UnderLine,fitParam,BreakNum,Align,InitValue,ShowOrd) "
                                   "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                    error,
                    {id, f.CtlName, f.CtlCName, f.CtlType, f.CtlX, f.CtlY, f.CtlW, f.CtlH, f.CtlLH, f.SrcX, f.SrcY,
                     f.SrcH, f.SrcW, f.NeedPrint, f.NeedShow, f.CtlFontName, f.CtlFontSize, f.BreakFontSize,
                     f.CtlFontColor, f.Bold, f.Italic, f.UnderLine, f.FitParam, f.BreakNum, f.Align, f.InitValue,
                     f.ShowOrd}))
            return false;
    }
    QSqlQuery dm(db.connection());
    dm.prepare(QStringLiteral("select DMName, DMValue from DMTable where CheckTypeId=? order by ID"));
    dm.addBindValue(id);
    if (!dm.exec()) {
        *error = dm.lastError().text();
        return false;
    }
    while (dm.next())
        if (!c.exec(QStringLiteral("insert into _Config (DMName,DMValue,CheckTypeId) values (?,?,?)"), error,
                    {dm.value(0), dm.value(1), id}))
            return false;
    const QString family = t->getFirstName();
    if (families->contains(family))
        return true;
    families->append(family);
    for (const NameDict &n : NameDictStore(db).listFamily(family))
        if (!c.exec(QStringLiteral("insert into _NameDict (CheckTypeName,CtlName,CtlLabel,CtlType,PrintItem,ShowOrd,"
                                   "Groups,CtlData) values (?,?,?,?,?,?,?,?)"),
                    error, {n.CheckTypeName, n.CtlName, n.CtlLabel, n.CtlType, n.PrintItem, n.ShowOrd, n.Groups,
                            n.CtlData}))
            return false;
    return true;
}

} // namespace

bool TemplatePackage::write(const Database &db, const QString &imageFolder, const QList<int> &ids,
                            const QString &outPath, QString *error)
{
    if (ids.isEmpty()) {
        *error = QStringLiteral("还没有选择要导出的票据格式！");
        return false;
    }
    QTemporaryDir work;
    const QString temp = work.filePath(QStringLiteral("package.tpk"));
    try {
        PackageConnection c;
        if (!c.openForWriting(temp, error))
            return false;
        for (const char *sql : kSchema)
            if (!c.exec(QLatin1String(sql), error))
                return false;
        if (!c.exec(QStringLiteral("insert into _Config (DMName,DMValue,CheckTypeId) values ('version',?,0)"), error,
                    {QStringLiteral(BILLPRINT_VERSION)}))
            return false;
        QStringList families;
        if (!c.exec(QStringLiteral("BEGIN"), error))
            return false;
        for (int id : ids)
            if (!writeTemplate(db, imageFolder, id, c, &families, error))
                return false;
        if (!c.exec(QStringLiteral("COMMIT"), error))
            return false;
    } catch (const TemplateError &e) {
        *error = e.message();
        return false;
    }
    QFile built(temp);
    QSaveFile out(outPath);
    if (!built.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) {
        *error = out.errorString();
        return false;
    }
    const QByteArray bytes = built.readAll();
    if (out.write(bytes) != bytes.size() || !out.commit()) {
        *error = out.errorString();
        return false;
    }
    return true;
}

// --- import ---------------------------------------------------------------

namespace {

QString text(const QVariantMap &row, const char *column, const QString &fallback = {})
{
    const QVariant v = row.value(QLatin1String(column));
    return v.isNull() || v.toString().isEmpty() ? fallback : v.toString();
}
int number(const QVariantMap &row, const char *column, int fallback)
{
    const QString t = text(row, column);
    bool ok = false;
    const int v = t.toInt(&ok);
    return ok ? v : fallback;
}

CkControl fieldFrom(const QVariantMap &row, int newId)
{
    CkControl f;
    f.CheckTypeID = newId;
    f.CtlName = text(row, "ctlname");
    f.CtlCName = text(row, "ctlcname");
    f.CtlType = text(row, "ctltype", QStringLiteral("Text"));
    f.CtlX = number(row, "ctlx", 0);
    f.CtlY = number(row, "ctly", 0);
    f.SrcX = number(row, "srcx", 10);
    f.SrcY = number(row, "srcy", 10);
    f.SrcW = number(row, "srcw", 50);
    f.SrcH = number(row, "srch", 20);
    const int w = number(row, "ctlw", 0), h = number(row, "ctlh", 0);
    // Old packages lack the print box; it is estimated from the input box.
    f.CtlW = w > 0 && h > 0 ? w : std::max(30, f.SrcW * 100 / 38);
    f.CtlH = w > 0 && h > 0 ? h : 42;
    f.CtlLH = number(row, "ctllh", 0) == 0 ? 40 : number(row, "ctllh", 40);
    f.NeedPrint = number(row, "needprint", 1);
    f.NeedShow = number(row, "needshow", 1);
    f.CtlFontName = text(row, "ctlfontname");
    f.CtlFontSize = number(row, "ctlfontsize", 0);
    f.BreakFontSize = number(row, "breakfontsize", 7);
    f.CtlFontColor = text(row, "ctlfontcolor");
    f.Bold = number(row, "bold", 0);
    f.Italic = number(row, "italic", 0);
    f.UnderLine = number(row, "underline", 0);
    f.FitParam = text(row, "fitparam");
    f.BreakNum = text(row, "breaknum");
    f.Align = text(row, "align");
    f.InitValue = text(row, "initvalue");
    f.ShowOrd = number(row, "showord", 0);
    return f;
}

TCheckType templateFrom(const QVariantMap &row)
{
    TCheckType t;
    t.TypeName = text(row, "typename");
    t.TypeFirstName = TCheckType::firstNameOf(text(row, "typefirstname"), t.TypeName);
    t.TypeDescribe = text(row, "typedescribe");
    t.XMove = number(row, "xmove", 0);
    t.YMove = number(row, "ymove", 0);
    t.THeight = number(row, "theight", 0);
    t.TWidth = number(row, "twidth", 0);
    t.GroupCompany = text(row, "groupcompany");
    t.GroupTypeArea = text(row, "grouptypearea");
    t.PHeight = number(row, "pheight", TCheckType::DefaultPHeight);
    t.PWidth = number(row, "pwidth", TCheckType::DefaultPWidth);
    t.HVPrint = number(row, "hvprint", 0);
    t.CheckBoxs = text(row, "checkboxs");
    t.IsSysCommon = number(row, "issyscommon", TCheckType::DefaultIsSysCommon);
    t.ShowOrd = number(row, "showord", 9);
    t.IsCommon = TemplateFlag::Common;
    t.Visiable = TemplateFlag::Enabled;
    t.IsDefault = TemplateFlag::NotDefault;
    return t;
}

} // namespace

QString PackageImporter::freeFullName(const QString &first, const QString &last, QString *newLast) const
{
    for (int n = 2;; ++n) {
        *newLast = last + QString::number(n);
        if (!TCheckType::findByFirstAndLastName(m_db, first, *newLast))
            return TCheckType::fullName(first, *newLast);
    }
}

namespace {

// A template replacing another of the same name keeps the place the user
// gave the old one: its default mark (else the family would be left
// without a default), its common mark and its order among the common ones.
void takeOverPlace(const TCheckType &replaced, TCheckType *t)
{
    t->IsDefault = replaced.isDefault() ? TemplateFlag::Default : TemplateFlag::NotDefault;
    t->IsCommon = replaced.isCommon() ? TemplateFlag::Common : TemplateFlag::NotCommon;
    t->ShowOrd = replaced.ShowOrd;
}

} // namespace

int PackageImporter::importOne(const PackageTemplate &source, ExistingName existing, ImportReport *report,
                               std::vector<std::pair<QString, QByteArray>> *replacedFiles) const
{
    TCheckType t = templateFrom(source.row);
    if (const auto old = TCheckType::findByTypeName(m_db, t.TypeName)) {
        if (existing == ExistingName::Replace) {
            takeOverPlace(*old, &t);
            TCheckType::deleteTemplate(m_db, old->CheckTypeID);
        } else {
            t.TypeName = freeFullName(t.TypeFirstName, t.TypeDescribe, &t.TypeDescribe);
        }
    }
    const int newId = TCheckType::newCheckTypeId(m_db);
    t.CheckTypeID = newId;
    // Without a picture the template shows the fallback picture rather
    // than naming a file that does not exist.
    if (!source.picture.isEmpty())
        t.ImgFile = TCheckType::newPictureName(Lookups::getTypeCodeByTypeName(t.TypeFirstName), newId,
                                               QStringLiteral("img"));
    else
        report->withoutPicture << t.TypeName;
    t.save(m_db, newId);
    std::vector<CkControl> fields;
    fields.reserve(source.fields.size());
    for (const QVariantMap &row : source.fields)
        fields.push_back(fieldFrom(row, newId));
    CkControlStore(m_db).saveAll(fields);
    std::vector<NameDict> names;
    for (const QVariantMap &row : source.nameDict) {
        NameDict n;
        n.CheckTypeName = text(row, "checktypename");
        n.CtlName = text(row, "ctlname");
        n.CtlLabel = text(row, "ctllabel");
        n.CtlType = text(row, "ctltype");
        n.PrintItem = number(row, "printitem", 0);
        n.ShowOrd = number(row, "showord", 0);
        n.Groups = text(row, "groups");
        n.CtlData = text(row, "ctldata");
        names.push_back(n);
    }
    // The family's own catalogue wins.
    NameDictStore(m_db).addMissing(names);
    QString error;
    for (const QVariantMap &row : source.dictionary)
        if (!m_db.exec(QStringLiteral("insert into DMTable (CheckTypeId, DMName, DMValue) values (?,?,?)"),
                       {newId, row.value(QStringLiteral("dmname")), row.value(QStringLiteral("dmvalue"))}, &error))
            throw TemplateError(error);
    if (!source.picture.isEmpty()) {
        const QString path = m_imageFolder + t.ImgFile;
        QFile previous(path);
        replacedFiles->push_back({path, previous.open(QIODevice::ReadOnly) ? previous.readAll() : QByteArray()});
        QDir().mkpath(m_imageFolder);
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(source.picture) != source.picture.size() || !out.commit())
            throw TemplateError(QStringLiteral("图片导入失败：") + out.errorString());
    }
    return newId;
}

bool PackageImporter::chooseSources(const TemplatePackage &package, const QStringList &chosen,
                                    std::vector<const PackageTemplate *> *sources, QString *error) const
{
    if (chosen.isEmpty()) {
        for (const PackageTemplate &t : package.templates())
            sources->push_back(&t);
    }
    for (const QString &name : chosen) {
        const PackageTemplate *t = package.find(name);
        if (!t) {
            *error = QStringLiteral("票据包中没有模板：") + name;
            return false;
        }
        sources->push_back(t);
    }
    if (sources->empty()) {
        *error = QStringLiteral("抱歉,禾朔从包里找不到可用于导入的票据！");
        return false;
    }
    return true;
}

QList<int> PackageImporter::import(const TemplatePackage &package, const QStringList &chosen, ExistingName existing,
                                   QString *error) const
{
    std::vector<const PackageTemplate *> sources;
    if (!chooseSources(package, chosen, &sources, error))
        return {};
    for (const PackageTemplate *t : sources)
        if (!t->problem.isEmpty()) {
            *error = QStringLiteral("导入失败，单据：") + t->shownName() + QStringLiteral("，") + t->problem;
            return {};
        }
    ImportReport report;
    if (!importAvailable(package, chosen, existing, &report, error))
        return {};
    return report.ids;
}

bool PackageImporter::importAvailable(const TemplatePackage &package, const QStringList &chosen,
                                      ExistingName existing, ImportReport *report, QString *error) const
{
    *report = ImportReport();
    std::vector<const PackageTemplate *> sources;
    if (!chooseSources(package, chosen, &sources, error))
        return false;
    // Pictures written so far, with what the file held before (empty: none).
    std::vector<std::pair<QString, QByteArray>> written;
    const bool ok = m_db.transaction([&] {
        int done = 0;
        for (const PackageTemplate *t : sources) {
            if (!t->problem.isEmpty())
                report->refused.push_back({t->shownName(), t->problem});
            else {
                try {
                    report->ids << importOne(*t, existing, report, &written);
                } catch (const TemplateError &e) {
                    *error = QStringLiteral("导入失败，单据：") + t->shownName() + QStringLiteral("，") + e.message();
                    return false;
                }
            }
            if (progress)
                progress(++done, int(sources.size()));
        }
        return true;
    }, error);
    if (ok)
        return true;
    *report = ImportReport();
    for (auto it = written.rbegin(); it != written.rend(); ++it) {
        if (it->second.isEmpty()) {
            QFile::remove(it->first);
            continue;
        }
        QSaveFile back(it->first);
        if (back.open(QIODevice::WriteOnly) && back.write(it->second) == it->second.size())
            back.commit();
    }
    return false;
}

} // namespace billprint
