#include "templates/check_type.h"

#include "app/database.h"
#include "app/system_settings.h"
#include "templates/row_reader.h"
#include "templates/template_error.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace billprint {

namespace {

const QString kTable = QStringLiteral("CKTypeTable");
const QString kOpenParen = QStringLiteral("（");
const QString kCloseParen = QStringLiteral("）");

// Columns that databases of earlier versions lack. A reader meeting such a
// database adds them on the spot, so that the next save can store them.
struct LateColumn
{
    QString name;
    bool number;
};

const std::vector<LateColumn> &lateColumns()
{
    static const std::vector<LateColumn> columns = {
        {QStringLiteral("TypeFirstName"), false}, {QStringLiteral("GroupCompany"), false},
        {QStringLiteral("GroupTypeArea"), false}, {QStringLiteral("PHeight"), true},
        {QStringLiteral("PWidth"), true},         {QStringLiteral("IsSysCommon"), true},
        {QStringLiteral("IsCommon"), false},      {QStringLiteral("IniFile"), false},
    };
    return columns;
}

// Adds those of `names` that are late columns and missing from the table.
// A failure is left for the next write to report.
void addLateColumns(const Database &db, const QStringList &names)
{
    if (!db.tableExists(kTable))
        return;
    const QStringList present = db.columnNames(kTable);
    for (const LateColumn &column : lateColumns()) {
        if (!names.contains(column.name, Qt::CaseInsensitive) || present.contains(column.name, Qt::CaseInsensitive))
            continue;
        TDBTable::AddColumn(kTable, column.name, db, column.number ? QString() : QStringLiteral("60"),
                            column.number ? QStringLiteral("long") : QStringLiteral("string"));
    }
}

QStringList lateColumnNames()
{
    QStringList names;
    for (const LateColumn &column : lateColumns())
        names << column.name;
    return names;
}

// The columns a save writes, in this order, with the values of `t`.
QStringList savedColumns()
{
    return {QStringLiteral("CheckTypeID"), QStringLiteral("TypeFirstName"), QStringLiteral("TypeDescribe"),
            QStringLiteral("ImgFile"),     QStringLiteral("IniFile"),       QStringLiteral("Visiable"),
            QStringLiteral("CheckBoxs"),   QStringLiteral("IsDefault"),     QStringLiteral("TypeName"),
            QStringLiteral("IsCommon"),    QStringLiteral("PreImgURL"),     QStringLiteral("GroupCompany"),
            QStringLiteral("GroupTypeArea"), QStringLiteral("IsSysCommon"), QStringLiteral("XMove"),
            QStringLiteral("YMove"),       QStringLiteral("TWidth"),        QStringLiteral("THeight"),
            QStringLiteral("PWidth"),      QStringLiteral("PHeight"),       QStringLiteral("HVPrint"),
            QStringLiteral("ShowOrd")};
}

QVariantList savedValues(const TCheckType &t, int id)
{
    return {id,
            boundText(t.getFirstName()),
            boundText(t.TypeDescribe),
            boundText(t.ImgFile),
            boundText(t.IniFile),
            boundText(t.Visiable),
            boundText(t.CheckBoxs),
            boundText(t.IsDefault),
            boundText(t.TypeName),
            boundText(t.IsCommon),
            QStringLiteral(""),  // PreImgURL: no longer used, always stored empty
            boundText(t.GroupCompany),
            boundText(t.GroupTypeArea),
            t.IsSysCommon,
            t.XMove,
            t.YMove,
            t.TWidth,
            t.THeight,
            t.PWidth,
            t.PHeight,
            t.HVPrint,
            t.ShowOrd};
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

// --- loading -------------------------------------------------------------

bool TCheckType::loadFromQuery(const QSqlQuery &query, bool fromPackage, QStringList *absentColumns,
                               QString *error)
{
    RowReader row(query.record());
    TCheckType t = *this;
    t.CheckTypeID = row.number(QStringLiteral("CheckTypeID"));
    t.TypeDescribe = row.text(QStringLiteral("TypeDescribe"));
    t.ImgFile = row.text(QStringLiteral("ImgFile"));

    t.TypeFirstName = row.textOr(QStringLiteral("TypeFirstName"), QString());
    t.GroupCompany = row.textOr(QStringLiteral("GroupCompany"), QString());
    t.GroupTypeArea = row.textOr(QStringLiteral("GroupTypeArea"), QString());
    t.PHeight = row.numberOr(QStringLiteral("PHeight"), DefaultPHeight);
    t.PWidth = row.numberOr(QStringLiteral("PWidth"), DefaultPWidth);
    t.IsSysCommon = row.numberOr(QStringLiteral("IsSysCommon"), DefaultIsSysCommon);
    t.IsCommon = row.textOr(QStringLiteral("IsCommon"), TemplateFlag::Common);

    if (fromPackage) {
        t.ImageBytes = row.bytes(QStringLiteral("Img_Bytes"));
    } else {
        t.ImageBytes.clear();
        t.IniFile = row.textOr(QStringLiteral("IniFile"), QString());
        // Data not upgraded yet has no versions; the upgrade adds them.
        const int version = query.record().indexOf(QStringLiteral("RowVersion"));
        t.RowVersion = version < 0 ? 0 : query.value(version).toInt();
    }

    t.TypeName = row.text(QStringLiteral("TypeName"));
    t.Visiable = row.text(QStringLiteral("Visiable"));
    t.CheckBoxs = row.text(QStringLiteral("CheckBoxs"));
    t.IsDefault = row.text(QStringLiteral("IsDefault"));
    t.XMove = row.number(QStringLiteral("XMove"));
    t.YMove = row.number(QStringLiteral("YMove"));
    t.HVPrint = row.number(QStringLiteral("HVPrint"));
    t.THeight = row.number(QStringLiteral("THeight"));
    t.TWidth = row.number(QStringLiteral("TWidth"));
    t.ShowOrd = row.number(QStringLiteral("ShowOrd"));

    if (absentColumns)
        *absentColumns = row.missingOptional();
    if (!row.missingRequired().isEmpty()) {
        setError(error, QStringLiteral("模板表缺少字段：") + row.missingRequired().join(QLatin1Char(',')));
        return false;
    }
    *this = t;
    return true;
}

int TCheckType::loadOne(const Database &db, const QString &sql, const QVariantList &values,
                        bool fromPackage, TCheckType *target, QString *error)
{
    QStringList absent;
    int result = 0;
    {
        QSqlQuery q(db.connection());
        if (!db.run(q, sql, values, error))
            return -1;
        if (q.next())
            result = target->loadFromQuery(q, fromPackage, &absent, error) ? 1 : -1;
    }
    // The query is finished now; SQLite refuses to alter a table that an
    // open statement still reads. A package is only ever read.
    if (!fromPackage && !absent.isEmpty())
        addLateColumns(db, absent);
    return result;
}

std::optional<TCheckType> TCheckType::findById(const Database &db, int id, QString *error)
{
    if (id <= 0)
        return std::nullopt;
    TCheckType t;
    if (loadOne(db, QStringLiteral("Select * from CKTypeTable where CheckTypeID=?"), {id}, false, &t,
                error) != 1)
        return std::nullopt;
    return t;
}

std::optional<TCheckType> TCheckType::findByTypeName(const Database &db, const QString &typeName,
                                                     QString *error)
{
    if (typeName.isEmpty())
        return std::nullopt;
    TCheckType t;
    if (loadOne(db, QStringLiteral("Select * from CKTypeTable where TypeName=? order by CheckTypeID limit 1"),
                {typeName}, false, &t, error) != 1)
        return std::nullopt;
    return t;
}

std::optional<TCheckType> TCheckType::findByFirstAndLastName(const Database &db, const QString &first,
                                                             const QString &last, QString *error)
{
    return findByTypeName(db, fullName(first, last), error);
}

std::optional<TCheckType> TCheckType::findDefaultByFirstName(const Database &db, const QString &first,
                                                             QString *error)
{
    if (first.isEmpty())
        return std::nullopt;
    // Rows of old data have no stored first name; they belong to the
    // family their full name says.
    QList<int> candidates;
    {
        QSqlQuery q(db.connection());
        if (!db.run(q, QStringLiteral("select CheckTypeID, TypeFirstName, TypeName from CKTypeTable "
                                        "where IsDefault=? order by ShowOrd desc, CheckTypeID"),
                      {TemplateFlag::Default}, error))
            return std::nullopt;
        while (q.next())
            if (firstNameOf(RowReader::toText(q.value(1)), RowReader::toText(q.value(2))) == first)
                candidates << RowReader::toNumber(q.value(0));
    }
    if (candidates.isEmpty())
        return std::nullopt;
    TCheckType t;
    if (loadOne(db, QStringLiteral("Select * from CKTypeTable where CheckTypeID=?"), {candidates.first()},
                false, &t, error) != 1)
        return std::nullopt;
    return t;
}

std::optional<TCheckType> TCheckType::findInPackage(const Database &package, const QString &typeName,
                                                    QString *error)
{
    if (typeName.isEmpty())
        return std::nullopt;
    TCheckType t;
    if (loadOne(package,
                QStringLiteral("Select * from _CKTypeTable where TypeName=? order by CheckTypeID limit 1"),
                {typeName}, true, &t, error) != 1)
        return std::nullopt;
    return t;
}

int TCheckType::reload(const Database &db, QString *error)
{
    if (CheckTypeID <= 0)
        return -1;
    TCheckType t = *this;
    const int result = loadOne(db, QStringLiteral("Select * from CKTypeTable where CheckTypeID=?"),
                               {CheckTypeID}, false, &t, error);
    if (result == 1)
        *this = t;
    return result;
}

// --- saving --------------------------------------------------------------

int TCheckType::save(const Database &db, int newId)
{
    const int id = newId == -1 ? CheckTypeID : newId;
    if (id <= 0)
        throw TemplateError(QStringLiteral("单据模版编号无效：%1").arg(id));
    if (newId != -1)
        NewCheckTypeId = newId;

    QString error;
    const bool ok = db.transaction([&] {
        addLateColumns(db, lateColumnNames());
        int exists = 0;
        {
            QSqlQuery find(db.connection());
            if (!db.run(find, QStringLiteral("select count(*) from CKTypeTable where CheckTypeID=?"), {id}, &error)
                || !find.next())
                return false;
            exists = find.value(0).toInt();
        }
        const QStringList columns = savedColumns();
        QVariantList values = savedValues(*this, id);
        QString sql;
        if (exists > 0) {
            sql = QStringLiteral("update CKTypeTable set ") + columns.join(QStringLiteral("=?, "))
                + QStringLiteral("=? where CheckTypeID=?");
            values << id;
        } else {
            sql = QStringLiteral("insert into CKTypeTable (") + columns.join(QLatin1Char(','))
                + QStringLiteral(") values (")
                + QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')) + QLatin1Char(')');
        }
        return db.exec(sql, values, &error);
    }, &error);
    if (!ok)
        throw TemplateError(error);
    return 1;
}

// --- names ---------------------------------------------------------------

QString TCheckType::firstNameOf(const QString &typeFirstName, const QString &typeName)
{
    if (!typeFirstName.isEmpty())
        return typeFirstName;
    // Family before the full-width parenthesis; names typed with ASCII
    // parentheses are accepted too.
    const int wide = typeName.indexOf(kOpenParen);
    if (wide > 0)
        return typeName.left(wide);
    const int ascii = typeName.indexOf(QLatin1Char('('));
    if (ascii > 0)
        return typeName.left(ascii);
    return QString();
}

QString TCheckType::getFirstName() const
{
    return firstNameOf(TypeFirstName, TypeName);
}

QString TCheckType::fullName(const QString &first, const QString &last)
{
    return first + kOpenParen + last + kCloseParen;
}

void TCheckType::setFullName(const QString &first, const QString &last)
{
    TypeName = fullName(first, last);
}

QStringList TCheckType::checkBoxCaptions() const
{
    if (CheckBoxs.isEmpty())
        return {};
    return CheckBoxs.split(QLatin1Char(','));
}

QString TCheckType::pictureFile() const
{
    return ImgFile.trimmed().isEmpty() ? fallbackPicture() : ImgFile;
}

QString TCheckType::newPictureName(const QString &familyCode, int id, const QString &prefixWithoutCode)
{
    const QString prefix = familyCode.trimmed().isEmpty() ? prefixWithoutCode : familyCode.trimmed();
    return prefix + QString::number(id) + QStringLiteral(".jpg");
}

} // namespace billprint
