#include "addressbook/person.h"

#include "app/database.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtDebug>

namespace billprint {

namespace {

// Codes and names compare like the address book always did: "ab01" finds
// a unit whose code was typed as "AB01".
QString equalTo(const Database &db, const QString &column)
{
    return db.dialect().equalsIgnoringCase(column);
}

// A LIKE pattern that finds `text` anywhere, every character taken
// literally: a code like "a_1" must not match "ab1".
QString containsPattern(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('_'), QLatin1String("\\_"));
    text.replace(QLatin1Char('%'), QLatin1String("\\%"));
    return QLatin1Char('%') + text + QLatin1Char('%');
}

// Empty texts are stored as empty texts, never as NULL, so that a later
// comparison with '' finds them.
QVariant storedText(const QString &text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

// The second key of a two-key finder: an empty key also matches a NULL.
QString secondKey(const Database &db, const QString &column)
{
    return QStringLiteral(" and ") + equalTo(db, QStringLiteral("coalesce(%1, '')").arg(column));
}

// Prepares and runs `sql` with `values` on `q`. On failure `error` gets the
// message of the step that failed, so a missing table reads as such and not
// as a parameter mismatch.

} // namespace

const std::vector<TPerson::Column> &TPerson::columns()
{
    static const std::vector<Column> all = {
        {QStringLiteral("全称"), &TPerson::m_fullName},
        {QStringLiteral("识别号"), &TPerson::m_taxId},
        {QStringLiteral("助记码"), &TPerson::m_inputCode},
        {QStringLiteral("联系人"), &TPerson::m_contact},
        {QStringLiteral("开户银行"), &TPerson::m_bank},
        {QStringLiteral("开户行账号"), &TPerson::m_account},
        {QStringLiteral("开户行地址"), &TPerson::m_bankAddress},
        {QStringLiteral("开户行行号"), &TPerson::m_bankNumber},
        {QStringLiteral("电话"), &TPerson::m_phone},
        {QStringLiteral("手机"), &TPerson::m_mobile},
        {QStringLiteral("邮编"), &TPerson::m_postcode},
        {QStringLiteral("国家"), &TPerson::m_country},
        {QStringLiteral("地址"), &TPerson::m_address},
        {QStringLiteral("省"), &TPerson::m_province},
        {QStringLiteral("市"), &TPerson::m_city},
        {QStringLiteral("镇区"), &TPerson::m_town},
        {QStringLiteral("分组"), &TPerson::m_group},
        {QStringLiteral("单位类型"), &TPerson::m_unitKind},
        {QStringLiteral("自定义1"), &TPerson::m_custom1},
        {QStringLiteral("自定义2"), &TPerson::m_custom2},
        {QStringLiteral("自定义3"), &TPerson::m_custom3},
        {QStringLiteral("扩展信息"), &TPerson::m_extraInfo},
    };
    return all;
}

const QStringList &TPerson::textColumns()
{
    static const QStringList names = [] {
        QStringList list;
        for (const Column &c : columns())
            list << c.name;
        return list;
    }();
    return names;
}

const TPerson::Column *TPerson::columnNamed(const QString &name)
{
    for (const Column &c : columns()) {
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

QString TPerson::text(const QString &column) const
{
    const Column *c = columnNamed(column);
    return c ? this->*(c->member) : QString();
}

bool TPerson::setText(const QString &column, const QString &value)
{
    const Column *c = columnNamed(column);
    if (!c)
        return false;
    this->*(c->member) = value;
    return true;
}

void TPerson::clearTextsButExtraInfo()
{
    for (const Column &c : columns()) {
        if (c.member != &TPerson::m_extraInfo)
            (this->*(c.member)).clear();
    }
}

bool operator==(const TPerson &a, const TPerson &b)
{
    if (a.m_id != b.m_id)
        return false;
    for (const TPerson::Column &c : TPerson::columns()) {
        if (a.*(c.member) != b.*(c.member))
            return false;
    }
    return true;
}

TPerson::RowLayout TPerson::rowLayout(const QSqlRecord &record)
{
    // Field names in a record compare without regard to letter case, so
    // "id" and "Id" of databases written by other programs are found too.
    RowLayout layout;
    layout.id = record.indexOf(QStringLiteral("ID"));
    layout.version = record.indexOf(kRowVersionColumn);
    for (const Column &c : columns())
        layout.texts.push_back(record.indexOf(c.name));
    return layout;
}

void TPerson::loadFromRow(const QSqlRecord &row)
{
    const RowLayout layout = rowLayout(row);
    m_id = layout.id < 0 ? 0 : row.value(layout.id).toInt();
    m_rowVersion = layout.version < 0 ? 0 : row.value(layout.version).toInt();
    const auto &all = columns();
    for (size_t i = 0; i < all.size(); ++i) {
        const int index = layout.texts[i];
        // A NULL value and a column the table lacks both read as empty.
        this->*(all[i].member) = index < 0 ? QString() : row.value(index).toString();
    }
}

void TPerson::loadFromQuery(const QSqlQuery &query, const RowLayout &layout)
{
    m_id = layout.id < 0 ? 0 : query.value(layout.id).toInt();
    m_rowVersion = layout.version < 0 ? 0 : query.value(layout.version).toInt();
    const auto &all = columns();
    for (size_t i = 0; i < all.size(); ++i) {
        const int index = i < layout.texts.size() ? layout.texts[i] : -1;
        this->*(all[i].member) = index < 0 ? QString() : query.value(index).toString();
    }
}

PersonLoad TPerson::loadById(const Database &db, int id)
{
    if (id <= 0)
        return PersonLoad::Failed;
    QSqlQuery q(db.connection());
    QString why;
    if (!db.run(q, QStringLiteral("select * from ckPersonalInfoTable where ID = ?"), {id}, &why)) {
        qWarning() << "address book: cannot read unit" << id << why;
        return PersonLoad::Failed;
    }
    if (!q.next())
        return PersonLoad::NotFound;
    loadFromRow(q.record());
    return PersonLoad::Loaded;
}

RowSave TPerson::saveChecked(const Database &db, QString *error, bool overwrite)
{
    // The address book knows two kinds of unit; anything else is a
    // counterparty, as the record editor shows it.
    if (m_unitKind != UnitKind::Own)
        m_unitKind = UnitKind::Counterparty;
    int storedId = m_id;
    int storedVersion = m_rowVersion;
    RowSave outcome = RowSave::Failed;
    QString why;
    // Looking the row up and writing it are one step: the row cannot be
    // deleted or saved by another desk in between.
    const bool ok = db.transaction(
        [&] {
            outcome = writeRow(db, overwrite, &storedId, &storedVersion, &why);
            return outcome == RowSave::Saved;
        },
        &why);
    if (!ok) {
        if (outcome == RowSave::Saved)
            outcome = RowSave::Failed;  // the commit failed
        if (error)
            *error = why;
        return outcome;
    }
    m_id = storedId;
    m_rowVersion = storedVersion;
    return RowSave::Saved;
}

bool TPerson::save(const Database &db, QString *error)
{
    const RowSave outcome = saveChecked(db, error);
    if (outcome == RowSave::ChangedElsewhere && error)
        *error = QStringLiteral("该记录已被其他用户修改。");
    return outcome == RowSave::Saved;
}

QVariantList TPerson::textValues() const
{
    QVariantList values;
    for (const Column &c : columns())
        values << storedText(this->*(c.member));
    return values;
}

RowSave TPerson::writeRow(const Database &db, bool overwrite, int *id, int *version, QString *error) const
{
    if (*id > 0) {
        switch (raiseRowVersion(db, {kPersonTable, QStringLiteral("ID"), *id}, *version, overwrite, version, error)) {
        case VersionStep::Failed: return RowSave::Failed;
        case VersionStep::ChangedElsewhere: return RowSave::ChangedElsewhere;
        case VersionStep::NoRow: break;  // deleted meanwhile: appended below
        case VersionStep::Raised: {
            QStringList assignments;
            for (const Column &c : columns())
                assignments << quoteIdentifier(c.name) + QStringLiteral(" = ?");
            QVariantList values = textValues();
            values << *id;
            int changed = 0;
            if (!db.exec(QStringLiteral("update ckPersonalInfoTable set %1 where ID = ?")
                             .arg(assignments.join(QStringLiteral(", "))),
                         values, error, &changed))
                return RowSave::Failed;
            if (changed != 1) {
                *error = QStringLiteral("单位资料（ID=%1）未能更新。").arg(*id);
                return RowSave::Failed;
            }
            return RowSave::Saved;
        }
        }
    }
    // A record that was never stored, or whose row is gone: append it.
    *version = 0;
    return appendRow(db, id, error) ? RowSave::Saved : RowSave::Failed;
}

bool TPerson::appendRow(const Database &db, int *id, QString *error) const
{
    QStringList names;
    for (const Column &c : columns())
        names << quoteIdentifier(c.name);
    QSqlQuery q(db.connection());
    if (!db.run(q, QStringLiteral("insert into ckPersonalInfoTable (%1) values (%2)")
                    .arg(names.join(QStringLiteral(", ")),
                         QStringList(names.size(), QStringLiteral("?")).join(QStringLiteral(", "))),
             textValues(), error))
        return false;
    const QVariant newId = db.lastInsertedId(q);
    if (!newId.isValid() || newId.toInt() <= 0) {
        *error = QStringLiteral("新增的单位资料没有得到编号。");
        return false;
    }
    *id = newId.toInt();
    return true;
}

std::optional<TPerson> TPerson::findFirst(const Database &db, const QString &condition,
                                          const QVariantList &values)
{
    // "First" is the lowest ID, so the same call always finds the same row.
    QSqlQuery q(db.connection());
    QString why;
    if (!db.run(q, QStringLiteral("select * from ckPersonalInfoTable where %1 order by ID limit 1").arg(condition),
             values, &why)) {
        // The caller treats the unit as unknown; the reason goes to the log.
        qWarning() << "address book: lookup failed:" << why;
        return std::nullopt;
    }
    if (!q.next())
        return std::nullopt;
    TPerson person;
    person.loadFromRow(q.record());
    return person;
}

std::optional<TPerson> TPerson::findByInputCode(const Database &db, const QString &code)
{
    if (code.isEmpty())
        return std::nullopt;
    if (!code.contains(QLatin1Char('%')) && !code.contains(QLatin1Char('*')))
        return findFirst(db, equalTo(db, QStringLiteral("助记码")), {code});
    QString rest = code;
    rest.remove(QLatin1Char('%'));
    rest.remove(QLatin1Char('*'));
    if (rest.isEmpty())
        return std::nullopt;
    return findFirst(db, db.dialect().likeIgnoringCase(QStringLiteral("助记码")), {containsPattern(rest)});
}

std::optional<TPerson> TPerson::findByName(const Database &db, const QString &name)
{
    if (name.isEmpty())
        return std::nullopt;
    return findFirst(db, equalTo(db, QStringLiteral("全称")), {name});
}

std::optional<TPerson> TPerson::findByNameAndAccount(const Database &db, const QString &name,
                                                     const QString &account)
{
    if (name.isEmpty())
        return std::nullopt;
    return findFirst(db, equalTo(db, QStringLiteral("全称")) + secondKey(db, QStringLiteral("开户行账号")),
                     {name, storedText(account)});
}

std::optional<TPerson> TPerson::findByNameAndContact(const Database &db, const QString &name,
                                                     const QString &contact)
{
    if (name.isEmpty())
        return std::nullopt;
    return findFirst(db, equalTo(db, QStringLiteral("全称")) + secondKey(db, QStringLiteral("联系人")),
                     {name, storedText(contact)});
}

std::optional<TPerson> TPerson::findByContact(const Database &db, const QString &contact)
{
    if (contact.isEmpty())
        return std::nullopt;
    return findFirst(db, equalTo(db, QStringLiteral("联系人")), {contact});
}

std::optional<TPerson> TPerson::findByAccount(const Database &db, const QString &account)
{
    if (account.isEmpty())
        return std::nullopt;
    return findFirst(db, equalTo(db, QStringLiteral("开户行账号")), {account});
}

std::optional<TPerson> TPerson::findDefaultDrawer(const Database &db)
{
    return findFirst(db, QStringLiteral("分组 = ?"), {kDefaultDrawerGroup});
}

void TPersonKDD::reset()
{
    setId(-1);
    clearTextsButExtraInfo();
    m_goodsDescription.clear();
    m_destinationStation.clear();
}

} // namespace billprint
