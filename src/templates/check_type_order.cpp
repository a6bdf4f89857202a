// Ids, order values, the family default and removal of templates.
#include "templates/check_type.h"

#include "app/database.h"
#include "templates/row_reader.h"
#include "templates/template_error.h"

#include <QSqlQuery>

namespace billprint {

namespace {

// First column of the only row of `sql`; `isNull` tells an empty table's
// null aggregate apart. Throws the database message on failure.
int aggregate(const Database &db, const QString &sql, bool *isNull)
{
    QSqlQuery q(db.connection());
    QString error;
    if (!db.run(q, sql, {}, &error) || !q.next())
        throw TemplateError(error);
    *isNull = q.value(0).isNull();
    return RowReader::toNumber(q.value(0));
}

int nextIdOrThrow(const Database &db)
{
    bool isNull = false;
    const int next = aggregate(db, QStringLiteral("select max(CheckTypeID)+1 as maxid from CKTypeTable"), &isNull);
    // Ids start at 1: 0 marks the rows shared by all templates, and no
    // finder accepts an id <= 0.
    return isNull ? 1 : qMax(1, next);
}

// Every template gets order value 1 and the defaults 2, so the defaults
// stay first and the values stay far from the limit.
void renumberShowOrd(const Database &db)
{
    QString error;
    const bool ok = db.transaction([&] {
        return db.exec(QStringLiteral("update CKTypeTable set showord=1"), {}, &error)
            && db.exec(QStringLiteral("update CKTypeTable set showord=2 where isdefault=?"),
                       {TemplateFlag::Default}, &error);
    }, &error);
    if (!ok)
        throw TemplateError(error);
}

} // namespace

int TCheckType::nextCheckTypeId(const Database &db)
{
    return nextIdOrThrow(db);
}

int TCheckType::newCheckTypeId(const Database &db)
{
    try {
        return nextIdOrThrow(db);
    } catch (const TemplateError &) {
        throw TemplateError(QStringLiteral("获取最大单据模版编号失败~"));
    }
}

int TCheckType::topShowOrd(const Database &db)
{
    bool isNull = false;
    int top = aggregate(db, QStringLiteral("select max(showord)+1 as maxid from CKTypeTable"), &isNull);
    if (isNull)
        top = 0;
    if (top > ShowOrdLimit)
        renumberShowOrd(db);
    return top;
}

int TCheckType::bottomShowOrd(const Database &db)
{
    bool isNull = false;
    int bottom = aggregate(db, QStringLiteral("select min(showord)-1 as minID from CKTypeTable"), &isNull);
    if (isNull)
        bottom = 0;
    if (bottom < -ShowOrdLimit)
        renumberShowOrd(db);
    return bottom;
}

bool TCheckType::setDefaultByTypeName(const Database &db, const QString &typeName)
{
    bool found = false;
    QString error;
    const bool ok = db.transaction([&] {
        const int top = topShowOrd(db);
        std::optional<TCheckType> chosen = findByTypeName(db, typeName, &error);
        if (!chosen)
            return false;  // with `error` set when the table could not be read
        found = true;
        const QString family = chosen->getFirstName();

        // Every other template of the family stops being its default. Old
        // rows without a stored first name count by their full name.
        QList<int> others;
        {
            QSqlQuery q(db.connection());
            if (!db.run(q, QStringLiteral("select CheckTypeID, TypeFirstName, TypeName from CKTypeTable "
                                            "where CheckTypeID<>?"),
                          {chosen->CheckTypeID}, &error))
                return false;
            while (q.next())
                if (firstNameOf(RowReader::toText(q.value(1)), RowReader::toText(q.value(2))) == family)
                    others << RowReader::toNumber(q.value(0));
        }
        for (int id : others)
            if (!db.exec(QStringLiteral("update CKTypeTable set IsDefault=? where CheckTypeID=?"),
                         {TemplateFlag::NotDefault, id}, &error))
                return false;

        chosen->IsDefault = TemplateFlag::Default;
        chosen->IsCommon = TemplateFlag::Common;
        chosen->Visiable = TemplateFlag::Enabled;
        chosen->ShowOrd = top + 1;
        return chosen->save(db, -1) == 1;
    }, &error);
    if (!ok && (found || !error.isEmpty()))
        throw TemplateError(error);
    return ok;
}

bool TCheckType::deleteTemplate(const Database &db, int id)
{
    if (id <= 0)
        return false;
    bool found = false;
    QString error;
    const bool ok = db.transaction([&] {
        {
            QSqlQuery q(db.connection());
            if (!db.run(q, QStringLiteral("select count(*) from CKTypeTable where CheckTypeID=?"), {id}, &error)
                || !q.next())
                return false;
            found = q.value(0).toInt() > 0;
        }
        if (!found)
            return false;
        return db.exec(QStringLiteral("delete from ckcontrol where checktypeid=?"), {id}, &error)
            && db.exec(QStringLiteral("delete from ckTypeTable where checktypeid=?"), {id}, &error)
            && db.exec(QStringLiteral("delete from DMTable where checktypeid=?"), {id}, &error);
    }, &error);
    if (!ok && (found || !error.isEmpty()))
        throw TemplateError(error);
    return ok;
}

} // namespace billprint
