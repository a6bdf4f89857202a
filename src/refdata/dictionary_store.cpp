#include "refdata/dictionary_store.h"

#include "app/database.h"
#include "app/lookups.h"

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

namespace billprint {

namespace {

const QString kHint = QStringLiteral("提示");
const QString kError = QStringLiteral("错误");

QString withError(const QString &message, const QString &error)
{
    return error.isEmpty() ? message : message + QLatin1Char('\n') + error;
}

EditOutcome checkValue(const QString &value)
{
    if (value.isEmpty())
        return EditOutcome::refused(QStringLiteral("字典内容不能为空！不需要的内容请用“- 删除”删去。"), kHint);
    if (value.size() > DictionaryStore::kValueLength)
        return EditOutcome::refused(
            QStringLiteral("字典内容最多%1个字，请缩短后再保存。").arg(DictionaryStore::kValueLength), kHint);
    return EditOutcome::done(QString(), QString());
}

} // namespace

const QString DictionaryStore::kPlaceholder = QStringLiteral("<空>");

QStringList DictionaryStore::presetNames()
{
    return {QStringLiteral("计量单位"), QStringLiteral("收费内容"), QStringLiteral("开票人"),
            QStringLiteral("收款人"),   QStringLiteral("始发站"),   QStringLiteral("发件人签名"),
            QStringLiteral("国家"),     QStringLiteral("备注"),     QStringLiteral("物品内容"),
            QStringLiteral("自定义1"),  QStringLiteral("自定义2")};
}

bool DictionaryStore::isOptionName(const QString &name)
{
    return name.startsWith(QLatin1String("cfg"), Qt::CaseInsensitive);
}

QStringList DictionaryStore::loadNames(int checkTypeId, QString *error) const
{
    auto namesOf = [&](int id) {
        QStringList names;
        // LIKE ignores letter case, as the option names are matched.
        QSqlQuery q = m_db.prepare(QStringLiteral(
            "select distinct DMName from DMTable where DMName not like 'cfg%' and DMName is not null and CheckTypeId=?"));
        q.setForwardOnly(true);
        q.addBindValue(id);
        if (q.lastError().isValid() || !q.exec()) {
            if (error)
                *error = q.lastError().text();
            return names;
        }
        while (q.next())
            names << q.value(0).toString();
        sortForDisplay(names);
        return names;
    };
    QStringList names = namesOf(checkTypeId);
    if (names.isEmpty() && checkTypeId != 0)
        names = namesOf(0);
    return names;
}

QList<DictionaryEntry> DictionaryStore::loadEntries(const QString &name, int checkTypeId, bool includeShared,
                                                    QString *error) const
{
    QList<DictionaryEntry> entries;
    const QString sql = includeShared
        ? QStringLiteral("select ID, DMName, DMValue, CheckTypeId from DMTable where DMName=? and CheckTypeId in (?, 0)")
        : QStringLiteral("select ID, DMName, DMValue, CheckTypeId from DMTable where DMName=? and CheckTypeId=?");
    QSqlQuery q = m_db.prepare(sql);
    q.setForwardOnly(true);
    q.addBindValue(name);
    q.addBindValue(checkTypeId);
    if (q.lastError().isValid() || !q.exec()) {
        if (error)
            *error = QStringLiteral("错误,sql=") + sql + QLatin1Char('\n') + q.lastError().text();
        return entries;
    }
    while (q.next())
        entries << DictionaryEntry{q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(),
                                   q.value(3).toInt()};
    std::stable_sort(entries.begin(), entries.end(), [](const DictionaryEntry &a, const DictionaryEntry &b) {
        return lessForDisplay(a.value, b.value);
    });
    return entries;
}

EditOutcome DictionaryStore::createList(const QString &typedName, int checkTypeId) const
{
    const QString name = typedName.trimmed();
    if (name.isEmpty())
        return EditOutcome::refused(QStringLiteral("请输入字典名称"), kHint, EditOutcome::Field::First);
    if (isOptionName(name))
        return EditOutcome::refused(QStringLiteral("以cfg开头的名称留给模板选项使用，不能作为字典名称！"), kHint,
                                    EditOutcome::Field::First);
    if (name.size() > kNameLength)
        return EditOutcome::refused(QStringLiteral("字典名称最多%1个字！").arg(kNameLength), kHint,
                                    EditOutcome::Field::First);
    QSqlQuery q = m_db.prepare(QStringLiteral("select count(*) from DMTable where CheckTypeId=? and DMName=?"));
    q.addBindValue(checkTypeId);
    q.addBindValue(name);
    if (!q.exec() || !q.next())
        return EditOutcome::failed(withError(QStringLiteral("字典名称增加失败！"), q.lastError().text()), kError);
    if (q.value(0).toInt() > 0)
        return EditOutcome::refused(QStringLiteral("字典项目【") + name + QStringLiteral("】已经存在"), kHint,
                                    EditOutcome::Field::First);
    QString error;
    int rows = 0;
    if (!m_db.exec(QStringLiteral("insert into DMTable (CheckTypeId, DMName, DMValue) values (?, ?, ?)"),
                   {checkTypeId, name, kPlaceholder}, &error, &rows)
        || rows < 1)
        return EditOutcome::failed(withError(QStringLiteral("字典名称增加失败！"), error), kError);
    return EditOutcome::done(QString(), kHint);
}

EditOutcome DictionaryStore::addEntry(DictionaryEntry &entry) const
{
    entry.value = entry.value.trimmed();
    const EditOutcome valid = checkValue(entry.value);
    if (!valid.ok())
        return valid;
    if (entry.name.isEmpty() || isOptionName(entry.name))
        return EditOutcome::refused(QStringLiteral("请先选择或增加字典名称！"), kHint);
    QSqlQuery q = m_db.prepare(QStringLiteral("insert into DMTable (CheckTypeId, DMName, DMValue) values (?, ?, ?)"));
    q.addBindValue(entry.checkTypeId);
    q.addBindValue(entry.name);
    q.addBindValue(entry.value);
    if (!q.exec() || q.numRowsAffected() < 1)
        return EditOutcome::failed(withError(QStringLiteral("字典内容保存失败！"), q.lastError().text()), kError);
    entry.id = m_db.lastInsertedId(q).toInt();
    return EditOutcome::done(QString(), kHint);
}

EditOutcome DictionaryStore::updateEntry(int id, const QString &typedValue) const
{
    const QString value = typedValue.trimmed();
    const EditOutcome valid = checkValue(value);
    if (!valid.ok())
        return valid;
    QString error;
    int rows = 0;
    if (!m_db.exec(QStringLiteral("update DMTable set DMValue=? where ID=?"), {value, id}, &error, &rows))
        return EditOutcome::failed(withError(QStringLiteral("字典内容保存失败！"), error), kError);
    if (rows < 1)
        return EditOutcome::failed(QStringLiteral("这条字典内容已不存在（可能已被删除），没有修改任何内容。"), kHint);
    return EditOutcome::done(QString(), kHint);
}

EditOutcome DictionaryStore::removeEntry(int id) const
{
    QString error;
    int rows = 0;
    if (!m_db.exec(QStringLiteral("delete from DMTable where ID=?"), {id}, &error, &rows))
        return EditOutcome::failed(withError(QStringLiteral("字典内容删除失败！"), error), kError);
    if (rows < 1)
        return EditOutcome::failed(QStringLiteral("这条字典内容已不存在，没有删除任何内容。"), kHint);
    return EditOutcome::done(QString(), kHint);
}

} // namespace billprint
