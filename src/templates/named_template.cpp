#include "templates/named_template.h"

#include "app/chinese_text.h"
#include "app/database.h"
#include "templates/row_reader.h"

#include <QSqlError>

namespace billprint {

namespace {

struct TemplateName
{
    int id = 0;
    QString family;
    QString fullName;
    QString lastName;
};

QString lastNameOf(const QString &describe, const QString &fullName)
{
    if (!describe.isEmpty())
        return describe;
    const int open = fullName.indexOf(QStringLiteral("（"));
    if (open >= 0 && fullName.endsWith(QStringLiteral("）")))
        return fullName.mid(open + 1, fullName.size() - open - 2);
    return QString();
}

bool readNames(const Database &db, const QString &family, QList<TemplateName> *names, QString *error)
{
    QSqlQuery q = db.prepare(QStringLiteral(
        "select CheckTypeID, TypeFirstName, TypeName, TypeDescribe from CKTypeTable order by CheckTypeID"));
    if (!q.exec()) {
        *error = q.lastError().text();
        return false;
    }
    while (q.next()) {
        TemplateName n;
        n.id = RowReader::toNumber(q.value(0));
        n.fullName = RowReader::toText(q.value(2));
        n.family = TCheckType::firstNameOf(RowReader::toText(q.value(1)), n.fullName);
        n.lastName = lastNameOf(RowReader::toText(q.value(3)), n.fullName);
        if (family.isEmpty() || n.family == family)
            names->append(n);
    }
    return true;
}

// The id the text names, 0 when none.
int findId(const QList<TemplateName> &names, const QString &text, QString *error)
{
    const int asId = isDigitText(text) ? text.toInt() : 0;  // too long a number is no id
    for (const TemplateName &n : names)
        if (asId > 0 && n.id == asId)
            return n.id;
    for (const TemplateName &n : names)
        if (n.fullName == text)
            return n.id;
    QStringList sharing;
    for (const TemplateName &n : names)
        if (n.lastName == text)
            sharing << QString::number(n.id);
    if (sharing.size() > 1)
        *error = QStringLiteral("several templates are named %1 (ids %2); give the id or the full name")
                     .arg(text, sharing.join(QStringLiteral(", ")));
    return sharing.size() == 1 ? sharing.first().toInt() : 0;
}

} // namespace

std::optional<TCheckType> findNamedTemplate(const Database &db, const QString &text, const QString &family,
                                            QString *error)
{
    QList<TemplateName> names;
    if (!readNames(db, family, &names, error))
        return std::nullopt;
    const QString wanted = text.trimmed();
    error->clear();
    const int id = findId(names, wanted, error);
    if (id > 0)
        return TCheckType::findById(db, id, error);
    if (error->isEmpty())
        *error = (family.isEmpty() ? QStringLiteral("unknown template: ")
                                   : QStringLiteral("unknown %1 template: ").arg(family))
                 + wanted;
    return std::nullopt;
}

} // namespace billprint
