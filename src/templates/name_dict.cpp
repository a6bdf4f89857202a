#include "templates/name_dict.h"

#include "app/database.h"
#include "app/system_settings.h"
#include "templates/row_reader.h"
#include "templates/template_error.h"

#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace billprint {

namespace {

const QString kTable = QStringLiteral("NameDict");

NameDict readRow(const QSqlRecord &record)
{
    RowReader r(record);
    NameDict d;
    d.Id = r.numberOr(QStringLiteral("Id"), 0);
    d.CheckTypeName = r.textOr(QStringLiteral("CheckTypeName"), QString());
    d.CtlName = r.textOr(QStringLiteral("CtlName"), QString());
    d.CtlLabel = r.textOr(QStringLiteral("CtlLabel"), QString());
    d.CtlType = r.textOr(QStringLiteral("CtlType"), QString());
    d.PrintItem = r.numberOr(QStringLiteral("PrintItem"), 0);
    d.ShowOrd = r.numberOr(QStringLiteral("ShowOrd"), 0);
    d.Groups = r.textOr(QStringLiteral("Groups"), QString());
    d.CtlData = r.textOr(QStringLiteral("CtlData"), QString());
    return d;
}

} // namespace

QString NameDict::kindFor(const QString &ctlName, const QString &ctlType)
{
    if (ctlName.trimmed().toUpper().startsWith(QLatin1String("DEFCHECK")))
        return QStringLiteral("CHECKBOX");
    const QString k = ctlType.trimmed().toUpper();
    return k.isEmpty() ? QStringLiteral("TEXT") : k;
}

QString NameDict::kind() const
{
    return kindFor(CtlName, CtlType);
}

NameDict::PrintKind NameDict::printKind() const
{
    const QString k = kind();
    if (k == QLatin1String("CHECKBOX"))
        return PrintKind::CheckBox;
    if (k == QLatin1String("IMAGE"))
        return PrintKind::NotPrinted;
    return PrintKind::Text;
}

QString NameDict::printText(const QString &value) const
{
    switch (printKind()) {
    case PrintKind::NotPrinted:
        return QString();
    case PrintKind::CheckBox:
        return value;
    case PrintKind::Text:
        break;
    }
    QString text = value;
    text.remove(QLatin1Char('\r'));
    text.replace(QLatin1Char('\n'), lineSeparator());
    return text;
}

std::vector<NameDict> NameDictStore::query(const QString &sql, const QVariantList &values) const
{
    QSqlQuery q(m_db.connection());
    QString error;
    if (!m_db.run(q, sql, values, &error))
        throw TemplateError(error);
    std::vector<NameDict> rows;
    while (q.next())
        rows.push_back(readRow(q.record()));
    return rows;
}

std::vector<NameDict> NameDictStore::listFamily(const QString &family, Qt::SortOrder order) const
{
    const QString direction = order == Qt::AscendingOrder ? QStringLiteral("") : QStringLiteral(" desc");
    return query(QStringLiteral("select * from NameDict where CheckTypeName=? order by ShowOrd%1, Id%1").arg(direction),
                 {family});
}

std::vector<NameDict> NameDictStore::printItems(const QString &family) const
{
    return query(QStringLiteral("select * from NameDict where CheckTypeName=? and PrintItem=1 order by ShowOrd, Id"),
                 {family});
}

std::optional<NameDict> NameDictStore::find(const QString &family, const QString &ctlName) const
{
    std::vector<NameDict> rows = query(
        QStringLiteral("select * from NameDict where CheckTypeName=? and upper(CtlName)=upper(?) order by Id limit 1"),
        {family, ctlName.trimmed()});
    if (rows.empty())
        return std::nullopt;
    return rows.front();
}

void NameDictStore::addLateColumns() const
{
    if (!m_db.tableExists(kTable))
        return;  // the write reports the missing table
    const QStringList present = m_db.columnNames(kTable);
    if (!present.contains(QStringLiteral("CtlData"), Qt::CaseInsensitive))
        TDBTable::AddColumn(kTable, QStringLiteral("CtlData"), m_db, QStringLiteral("100"), QStringLiteral("string"));
    if (!present.contains(QStringLiteral("CtlType"), Qt::CaseInsensitive))
        TDBTable::AddColumn(kTable, QStringLiteral("CtlType"), m_db, QStringLiteral("20"), QStringLiteral("string"));
}

void NameDictStore::save(NameDict &row) const
{
    const QString name = row.CtlName.trimmed().toUpper();
    if (row.CheckTypeName.isEmpty() || name.isEmpty())
        throw TemplateError(QStringLiteral("项目保存失败：单据种类或项目名称为空"));
    const QString kind = NameDict::kindFor(name, row.CtlType);

    QString error;
    int id = 0;
    const bool ok = m_db.transaction([&] {
        addLateColumns();
        int changed = 0;
        if (!m_db.exec(QStringLiteral("update NameDict set CtlName=?, CtlLabel=?, CtlType=?, PrintItem=?, ShowOrd=?, "
                                      "Groups=?, CtlData=? where CheckTypeName=? and upper(CtlName)=upper(?)"),
                       {name, boundText(row.CtlLabel), kind, row.PrintItem, row.ShowOrd, boundText(row.Groups),
                        boundText(row.CtlData), row.CheckTypeName, name},
                       &error, &changed))
            return false;
        if (changed == 0
            && !m_db.exec(QStringLiteral("insert into NameDict (CheckTypeName, CtlName, CtlLabel, CtlType, PrintItem, "
                                         "ShowOrd, Groups, CtlData) values (?,?,?,?,?,?,?,?)"),
                          {row.CheckTypeName, name, boundText(row.CtlLabel), kind, row.PrintItem, row.ShowOrd,
                           boundText(row.Groups), boundText(row.CtlData)},
                          &error))
            return false;
        id = m_db.scalar(QStringLiteral("select Id from NameDict where CheckTypeName=? and upper(CtlName)=upper(?) "
                                        "order by Id limit 1"),
                         {row.CheckTypeName, name}).toInt();
        return true;
    }, &error);
    if (!ok)
        throw TemplateError(error);
    row.CtlName = name;
    row.CtlType = kind;
    row.Id = id;
}

namespace {

// Field names as SQLite's upper() compares them: only ASCII letters fold.
QString asciiUpper(const QString &name)
{
    QString folded = name;
    for (QChar &c : folded)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return folded;
}

// Runs a statement prepared once with this row's values.
bool runPrepared(QSqlQuery &query, const QVariantList &values, QString *error)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (query.exec())
        return true;
    *error = query.lastError().text();
    return false;
}

} // namespace

int NameDictStore::addMissing(const std::vector<NameDict> &rows) const
{
    for (const NameDict &row : rows)
        if (row.CheckTypeName.isEmpty() || row.CtlName.trimmed().isEmpty())
            throw TemplateError(QStringLiteral("项目保存失败：单据种类或项目名称为空"));
    QString error;
    int added = 0;
    const bool ok = m_db.transaction([&] {
        addLateColumns();
        QHash<QString, QSet<QString>> present;  // family -> names, folded
        QSqlQuery names = m_db.prepare(QStringLiteral("select CtlName from NameDict where CheckTypeName=?"));
        QSqlQuery insert = m_db.prepare(QStringLiteral("insert into NameDict (CheckTypeName, CtlName, CtlLabel, CtlType, "
                                                       "PrintItem, ShowOrd, Groups, CtlData) values (?,?,?,?,?,?,?,?)"));
        for (const NameDict &row : rows) {
            if (!present.contains(row.CheckTypeName)) {
                QSet<QString> &family = present[row.CheckTypeName];
                if (!runPrepared(names, {row.CheckTypeName}, &error))
                    return false;
                while (names.next())
                    family.insert(asciiUpper(names.value(0).toString()));
                names.finish();
            }
            const QString name = row.CtlName.trimmed().toUpper();
            if (present[row.CheckTypeName].contains(asciiUpper(name)))
                continue;  // the family's own row wins
            if (!runPrepared(insert, {row.CheckTypeName, name, boundText(row.CtlLabel), NameDict::kindFor(name, row.CtlType),
                                   row.PrintItem, row.ShowOrd, boundText(row.Groups), boundText(row.CtlData)},
                          &error))
                return false;
            present[row.CheckTypeName].insert(asciiUpper(name));
            ++added;
        }
        return true;
    }, &error);
    if (!ok)
        throw TemplateError(error);
    return added;
}

} // namespace billprint
