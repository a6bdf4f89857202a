#include "refdata/currency_store.h"

#include "app/chinese_text.h"
#include "app/database.h"

#include <QSqlError>
#include <QSqlQuery>

namespace billprint {

namespace {

const QString kIncomplete = QStringLiteral("输入不完整");
const QString kFailed = QStringLiteral("失败");
const QString kSuccess = QStringLiteral("成功");
const QString kHint = QStringLiteral("提示");

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString withError(const QString &message, const QString &error)
{
    return error.isEmpty() ? message : message + QLatin1Char('\n') + error;
}

EditOutcome nameTooLong()
{
    return EditOutcome::refused(QStringLiteral("币种名称最多%1个字节（一个汉字算2个字节）！").arg(CurrencyStore::kNameBytes),
                                kIncomplete, EditOutcome::Field::First);
}

EditOutcome codeTooLong()
{
    return EditOutcome::refused(QStringLiteral("币种简码最多%1个字节（一个汉字算2个字节）！").arg(CurrencyStore::kCodeBytes),
                                kIncomplete, EditOutcome::Field::Second);
}

EditOutcome codeExists(const QString &code)
{
    return EditOutcome::refused(QStringLiteral("币种简码") + quoted(code) + QStringLiteral("已经存在！"),
                                QStringLiteral("存在的币种简码"), EditOutcome::Field::Second);
}

} // namespace

QList<Currency> CurrencyStore::loadAll(QString *error) const
{
    QList<Currency> list;
    QSqlQuery q = m_db.prepare(QStringLiteral("select 币种, 缩写 from coins order by 顺序 desc, %1")
                                   .arg(m_db.dialect().storedOrder()));
    q.setForwardOnly(true);
    if (q.lastError().isValid() || !q.exec()) {
        if (error)
            *error = q.lastError().text();
        return list;
    }
    while (q.next())
        list << Currency{q.value(0).toString(), q.value(1).toString()};
    return list;
}

bool CurrencyStore::nameTaken(const QString &name, QString *error) const
{
    QSqlQuery q = m_db.prepare(QStringLiteral("select count(*) from coins where %1")
                                   .arg(m_db.dialect().equalsIgnoringCase(QStringLiteral("币种"))));
    q.addBindValue(name);
    if (!q.exec() || !q.next()) {
        *error = q.lastError().text();
        return false;
    }
    return q.value(0).toInt() > 0;
}

bool CurrencyStore::codeTaken(const QString &code, const QString &exceptName, QString *error) const
{
    QSqlQuery q = m_db.prepare(QStringLiteral(
        "select count(*) from coins where %1 and not coalesce(%2, false)")
        .arg(m_db.dialect().equalsIgnoringCase(QStringLiteral("缩写")),
             m_db.dialect().equalsIgnoringCase(QStringLiteral("币种"))));
    q.addBindValue(code);
    q.addBindValue(exceptName.isEmpty() ? QVariant() : QVariant(exceptName));
    if (!q.exec() || !q.next()) {
        *error = q.lastError().text();
        return false;
    }
    return q.value(0).toInt() > 0;
}

EditOutcome CurrencyStore::add(const QString &typedName, const QString &typedCode) const
{
    const QString name = typedName.trimmed();
    const QString code = typedCode.trimmed();
    if (name.isEmpty())
        return EditOutcome::refused(QStringLiteral("请填写要添加的币种名称！"), kIncomplete, EditOutcome::Field::First);
    if (code.isEmpty())
        return EditOutcome::refused(QStringLiteral("请填写要添加的币种简码！"), kIncomplete, EditOutcome::Field::Second);
    if (gbkWidth(name) > kNameBytes)
        return nameTooLong();
    if (gbkWidth(code) > kCodeBytes)
        return codeTooLong();

    QString error;
    if (nameTaken(name, &error))
        return EditOutcome::refused(QStringLiteral("币种") + quoted(name) + QStringLiteral("已经存在！"),
                                    QStringLiteral("存在的币种"), EditOutcome::Field::First);
    if (error.isEmpty() && codeTaken(code, QString(), &error))
        return codeExists(code);
    if (!error.isEmpty())
        return EditOutcome::failed(withError(QStringLiteral("添加失败！"), error), kFailed);

    int rows = 0;
    if (!m_db.exec(QStringLiteral("insert into coins (币种, 缩写, 顺序) values (?, ?, 0)"), {name, code}, &error, &rows)
        || rows < 1)
        return EditOutcome::failed(withError(QStringLiteral("添加失败！"), error), kFailed);
    return EditOutcome::done(QStringLiteral("新币种添加成功！"), kSuccess);
}

EditOutcome CurrencyStore::remove(const QString &chosenName) const
{
    if (chosenName.isEmpty())
        return EditOutcome::refused(QStringLiteral("请先选中要删除的币种！"), kHint);
    QString error;
    int rows = 0;
    if (!m_db.exec(QStringLiteral("delete from coins where 币种=?"), {chosenName}, &error, &rows) || rows < 1)
        return EditOutcome::failed(withError(QStringLiteral("币种删除失败！"), error), kFailed);
    return EditOutcome::done(QStringLiteral("币种") + quoted(chosenName) + QStringLiteral("删除成功！"), kSuccess);
}

EditOutcome CurrencyStore::modify(const QString &chosenName, const QString &typedName, const QString &typedCode) const
{
    if (chosenName.isEmpty())
        return EditOutcome::refused(QStringLiteral("请先选中要修改的币种名称！"), kHint);
    if (typedName.trimmed() != chosenName)
        return EditOutcome::refused(QStringLiteral("修改不能改变币种名称！"), kHint, EditOutcome::Field::First);
    const QString code = typedCode.trimmed();
    if (code.isEmpty())
        return EditOutcome::refused(QStringLiteral("请输入新的币种简码！"), kHint, EditOutcome::Field::Second);
    if (gbkWidth(code) > kCodeBytes)
        return codeTooLong();

    // Two currencies with one code would make the code ambiguous when a
    // bill looks its currency up.
    QString error;
    if (codeTaken(code, chosenName, &error))
        return codeExists(code);
    if (!error.isEmpty())
        return EditOutcome::failed(withError(QStringLiteral("币种修改失败！"), error), kFailed);

    int rows = 0;
    if (!m_db.exec(QStringLiteral("update coins set 缩写=? where 币种=?"), {code, chosenName}, &error, &rows)
        || rows < 1)
        return EditOutcome::failed(withError(QStringLiteral("币种修改失败！"), error), kFailed);
    return EditOutcome::done(QStringLiteral("币种") + quoted(chosenName) + QStringLiteral("修改成功！"), kSuccess);
}

} // namespace billprint
