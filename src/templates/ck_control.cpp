#include "templates/ck_control.h"

#include "app/chinese_text.h"
#include "app/database.h"
#include "app/system_settings.h"
#include "templates/row_reader.h"
#include "templates/template_error.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace billprint {

namespace {

const QString kTable = QStringLiteral("CkControl");

// Field names match without regard to (ASCII) letter case, as the unique
// index (CheckTypeID, CtlName COLLATE NOCASE) has them, so the lookup
// uses that index instead of reading every field of the template.
QString sameName(const Database &db)
{
    return db.dialect().equalsIgnoringCase(QStringLiteral("CtlName"));
}

CkControl readRow(const QSqlRecord &record)
{
    // Older databases lack some columns; a missing one reads as unset.
    RowReader r(record);
    CkControl c;
    c.ID = r.numberOr(QStringLiteral("ID"), 0);
    c.CheckTypeID = r.numberOr(QStringLiteral("CheckTypeID"), 0);
    c.CtlName = r.textOr(QStringLiteral("CtlName"), QString());
    c.CtlCName = r.textOr(QStringLiteral("CtlCName"), QString());
    c.CtlType = r.textOr(QStringLiteral("CtlType"), QString());
    c.CtlX = r.numberOr(QStringLiteral("CtlX"), 0);
    c.CtlY = r.numberOr(QStringLiteral("CtlY"), 0);
    c.CtlW = r.numberOr(QStringLiteral("CtlW"), 0);
    c.CtlH = r.numberOr(QStringLiteral("CtlH"), 0);
    c.CtlLH = r.numberOr(QStringLiteral("CtlLH"), 0);
    c.SrcX = r.numberOr(QStringLiteral("SrcX"), 0);
    c.SrcY = r.numberOr(QStringLiteral("SrcY"), 0);
    c.SrcW = r.numberOr(QStringLiteral("SrcW"), 0);
    c.SrcH = r.numberOr(QStringLiteral("SrcH"), 0);
    c.NeedShow = r.numberOr(QStringLiteral("NeedShow"), 0);
    c.NeedPrint = r.numberOr(QStringLiteral("NeedPrint"), 0);
    c.CtlFontName = r.textOr(QStringLiteral("CtlFontName"), QString());
    c.CtlFontSize = r.numberOr(QStringLiteral("CtlFontSize"), 0);
    c.CtlFontColor = r.textOr(QStringLiteral("CtlFontColor"), QString());
    c.Bold = r.numberOr(QStringLiteral("Bold"), 0);
    c.Italic = r.numberOr(QStringLiteral("Italic"), 0);
    c.UnderLine = r.numberOr(QStringLiteral("UnderLine"), 0);
    c.BreakNum = r.textOr(QStringLiteral("BreakNum"), QString());
    c.BreakFontSize = r.numberOr(QStringLiteral("BreakFontSize"), 0);
    c.FitParam = r.textOr(QStringLiteral("FitParam"), QString());
    c.Align = r.textOr(QStringLiteral("Align"), QString());
    c.InitValue = r.textOr(QStringLiteral("InitValue"), QString());
    c.ShowOrd = r.numberOr(QStringLiteral("ShowOrd"), 0);
    return c;
}

// Columns written by a save, except the key columns, with their values.
const QStringList &valueColumns()
{
    static const QStringList columns = {
        QStringLiteral("CtlCName"),    QStringLiteral("CtlType"),     QStringLiteral("CtlX"),
        QStringLiteral("CtlY"),        QStringLiteral("CtlW"),        QStringLiteral("CtlH"),
        QStringLiteral("CtlLH"),       QStringLiteral("SrcX"),        QStringLiteral("SrcY"),
        QStringLiteral("SrcW"),        QStringLiteral("SrcH"),        QStringLiteral("NeedShow"),
        QStringLiteral("NeedPrint"),   QStringLiteral("CtlFontName"), QStringLiteral("CtlFontSize"),
        QStringLiteral("CtlFontColor"), QStringLiteral("Bold"),       QStringLiteral("Italic"),
        QStringLiteral("UnderLine"),   QStringLiteral("BreakNum"),    QStringLiteral("BreakFontSize"),
        QStringLiteral("FitParam"),    QStringLiteral("Align"),       QStringLiteral("InitValue"),
        QStringLiteral("ShowOrd")};
    return columns;
}

QVariantList values(const CkControl &c)
{
    return {boundText(c.CtlCName), boundText(c.CtlType), c.CtlX, c.CtlY, c.CtlW, c.CtlH, c.CtlLH,
            c.SrcX, c.SrcY, c.SrcW, c.SrcH, c.NeedShow, c.NeedPrint, boundText(c.CtlFontName),
            c.CtlFontSize, boundText(c.CtlFontColor), c.Bold, c.Italic, c.UnderLine,
            boundText(c.BreakNum), c.BreakFontSize, boundText(c.FitParam), boundText(c.Align),
            boundText(c.InitValue), c.ShowOrd};
}

// Columns added over the versions, with the type and size an upgrade gives them.
struct LateColumn
{
    QString name;
    QString type;
    QString size;
};

const std::vector<LateColumn> &lateColumns()
{
    static const std::vector<LateColumn> columns = {
        {QStringLiteral("CtlLH"), QStringLiteral("long"), QString()},
        {QStringLiteral("CtlH"), QStringLiteral("long"), QString()},
        {QStringLiteral("CtlW"), QStringLiteral("long"), QString()},
        {QStringLiteral("NeedShow"), QStringLiteral("long"), QString()},
        {QStringLiteral("NeedPrint"), QStringLiteral("long"), QString()},
        {QStringLiteral("SrcX"), QStringLiteral("long"), QString()},
        {QStringLiteral("SrcY"), QStringLiteral("long"), QString()},
        {QStringLiteral("SrcW"), QStringLiteral("long"), QString()},
        {QStringLiteral("SrcH"), QStringLiteral("long"), QString()},
        {QStringLiteral("CtlType"), QStringLiteral("string"), QStringLiteral("30")},
        {QStringLiteral("InitValue"), QStringLiteral("string"), QStringLiteral("80")},
        {QStringLiteral("Align"), QStringLiteral("string"), QStringLiteral("24")},
    };
    return columns;
}

} // namespace

// --- field rules ---------------------------------------------------------

QString CkControl::kind() const
{
    const QString k = CtlType.trimmed().toUpper();
    return k.isEmpty() ? QStringLiteral("TEXT") : k;
}

QString CkControl::kindForName(const QString &ctlName)
{
    const QString name = ctlName.trimmed().toUpper();
    if (name.contains(QLatin1String("DEFCHECK")))
        return QStringLiteral("CHECKBOX");
    if (name == QLatin1String("SHPHKR") || name == QLatin1String("SHPSKR"))
        return QStringLiteral("SHAPE");
    if (name.contains(QLatin1String("LINE")))
        return QStringLiteral("LINE");
    return QStringLiteral("TEXT");
}

QString CkControl::printFontName() const
{
    return CtlFontName.trimmed().isEmpty() ? defaultFontName() : CtlFontName;
}

int CkControl::printLineHeight() const
{
    return CtlLH < 1 ? DefaultLineHeight : CtlLH;
}

int CkControl::printBreakFontSize() const
{
    return qMax(MinBreakFontSize, BreakFontSize);
}

int CkControl::charsPerLine() const
{
    if (!isDigitText(BreakNum))
        return -1;
    bool ok = false;
    const int n = BreakNum.toInt(&ok);
    return ok && n >= 1 ? n : -1;
}

QColor CkControl::printColor() const
{
    bool ok = false;
    const qlonglong value = CtlFontColor.trimmed().toLongLong(&ok);
    if (!ok || value < 0)
        return QColor(Qt::black);
    // Stored the Windows way: red in the lowest byte.
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

// --- store ---------------------------------------------------------------

std::vector<CkControl> CkControlStore::query(const QString &sql, const QVariantList &values) const
{
    QSqlQuery q(m_db.connection());
    QString error;
    if (!m_db.run(q, sql, values, &error))
        throw TemplateError(error);
    std::vector<CkControl> rows;
    while (q.next())
        rows.push_back(readRow(q.record()));
    return rows;
}

std::vector<CkControl> CkControlStore::loadAll(int checkTypeId) const
{
    return query(QStringLiteral("select * from CkControl where CheckTypeID=? order by ShowOrd, ID"),
                 {checkTypeId});
}

std::optional<CkControl> CkControlStore::find(int checkTypeId, const QString &ctlName) const
{
    std::vector<CkControl> rows = query(
        QStringLiteral("select * from CkControl where CheckTypeID=? and ") + sameName(m_db) + QStringLiteral(" order by ID limit 1"),
        {checkTypeId, ctlName.trimmed()});
    if (rows.empty())
        return std::nullopt;
    return rows.front();
}

void CkControlStore::addLateColumns() const
{
    if (!m_db.tableExists(kTable))
        return;  // the write reports the missing table
    const QStringList present = m_db.columnNames(kTable);
    for (const LateColumn &column : lateColumns())
        if (!present.contains(column.name, Qt::CaseInsensitive))
            TDBTable::AddColumn(kTable, column.name, m_db, column.size, column.type);
}

void CkControlStore::save(CkControl &row) const
{
    std::vector<CkControl> rows{row};
    saveAll(rows);
    row = rows.front();
}

namespace {

// The statements of a save, prepared once for all the rows of a batch.
class FieldWriter
{
public:
    explicit FieldWriter(const Database &db)
        : m_update(db.prepare(QStringLiteral("update CkControl set CtlName=?, ") + valueColumns().join(QStringLiteral("=?, "))
                              + QStringLiteral("=? where CheckTypeID=? and ") + sameName(db))),
          m_insert(db.prepare(QStringLiteral("insert into CkControl (CheckTypeID, CtlName, ")
                              + valueColumns().join(QLatin1Char(',')) + QStringLiteral(") values (")
                              + QStringList(valueColumns().size() + 2, QStringLiteral("?")).join(QLatin1Char(','))
                              + QLatin1Char(')'))),
          m_findId(db.prepare(QStringLiteral("select ID from CkControl where CheckTypeID=? and ") + sameName(db)
                              + QStringLiteral(" order by ID limit 1")))
    {
    }

    // Updates or adds the row of `name`; its row id, or 0 with `error`.
    // The lookup comes first: binding a value costs more than the lookup,
    // and a new field (every field of an import) needs no update.
    int write(const CkControl &row, const QString &name, QString *error)
    {
        int id = findId(row.CheckTypeID, name, error);
        if (!error->isEmpty())
            return 0;
        if (id > 0) {
            QVariantList update{name};
            update << values(row) << row.CheckTypeID << name;
            return run(m_update, update, error) ? id : 0;
        }
        QVariantList insert{row.CheckTypeID, name};
        insert << values(row);
        if (!run(m_insert, insert, error))
            return 0;
        id = findId(row.CheckTypeID, name, error);
        if (id == 0 && error->isEmpty())
            *error = QStringLiteral("项目保存失败：") + name;
        return id;
    }

private:
    static bool run(QSqlQuery &q, const QVariantList &values, QString *error)
    {
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values.at(i));
        if (q.exec())
            return true;
        *error = q.lastError().text();
        return false;
    }

    // The first row id of the field `name`; 0 when there is none.
    int findId(int checkTypeId, const QString &name, QString *error)
    {
        if (!run(m_findId, {checkTypeId, name}, error))
            return 0;
        const int id = m_findId.next() ? m_findId.value(0).toInt() : 0;
        m_findId.finish();
        return id;
    }

    QSqlQuery m_update;
    QSqlQuery m_insert;
    QSqlQuery m_findId;
};

} // namespace

void CkControlStore::saveAll(std::vector<CkControl> &rows) const
{
    QStringList names;
    for (const CkControl &row : rows) {
        names << row.CtlName.trimmed().toUpper();
        if (row.CheckTypeID <= 0 || names.last().isEmpty())
            throw TemplateError(QStringLiteral("项目保存失败：模板编号或项目名称为空"));
    }
    QString error;
    std::vector<int> ids;
    const bool ok = m_db.transaction([&] {
        // Before the statements are prepared: they name the late columns.
        addLateColumns();
        FieldWriter writer(m_db);
        for (size_t i = 0; i < rows.size(); ++i) {
            ids.push_back(writer.write(rows[i], names.at(qsizetype(i)), &error));
            if (ids.back() == 0)
                return false;
        }
        return true;
    }, &error);
    if (!ok)
        throw TemplateError(error);
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].CtlName = names.at(qsizetype(i));
        rows[i].ID = ids[i];
    }
}

} // namespace billprint
