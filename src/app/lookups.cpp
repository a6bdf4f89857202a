#include "app/lookups.h"

#include "app/alert.h"
#include "app/database.h"
#include "app/system_settings.h"

#include <QCollator>
#include <QHash>
#include <QSet>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <vector>

namespace billprint {

namespace {

const QString kShown = QStringLiteral("启用");
const QString kDefault = QStringLiteral("默认");
const QString kCommon = QStringLiteral("是");
const QString kPlaceKind = QStringLiteral("省市");
const QString kDrawerGroup = QStringLiteral("默认出票人");

SchemaUpgradeHandler &upgradeHandler()
{
    static SchemaUpgradeHandler handler;
    return handler;
}

const QCollator &displayCollator()
{
    // One collator for the whole program: building an ICU collator is
    // costly and the lists are sorted often.
    static const QCollator collator = [] {
        QCollator c{QLocale(QLocale::Chinese, QLocale::China)};
        c.setNumericMode(true);
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

QStringList sorted(QStringList names)
{
    sortForDisplay(names);
    return names;
}

} // namespace

bool lessForDisplay(const QString &a, const QString &b)
{
    const int order = displayCollator().compare(a, b);
    // Names the collator holds equal (letter case) still get a fixed order.
    return order != 0 ? order < 0 : a < b;
}

void sortForDisplay(QStringList &names)
{
    if (names.size() < 2)
        return;
    // Sort keys make each comparison a plain byte comparison; a long
    // address book is sorted every time a company box is entered.
    struct Keyed
    {
        QCollatorSortKey key;
        QString name;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(names.size()));
    for (const QString &name : std::as_const(names))
        keyed.push_back({displayCollator().sortKey(name), name});
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        const int order = a.key.compare(b.key);
        return order != 0 ? order < 0 : a.name < b.name;
    });
    for (qsizetype i = 0; i < names.size(); ++i)
        names[i] = keyed[size_t(i)].name;
}

SchemaUpgradeHandler setSchemaUpgradeHandler(SchemaUpgradeHandler handler)
{
    SchemaUpgradeHandler previous = std::move(upgradeHandler());
    upgradeHandler() = std::move(handler);
    return previous;
}

// ---- helpers ------------------------------------------------------------

namespace {
QSet<QString> &reportedLookups()
{
    static QSet<QString> reported;
    return reported;
}
} // namespace

void Lookups::forgetReportedErrors()
{
    reportedLookups().clear();
}

void Lookups::failed(const QString &what, const QString &error) const
{
    m_lastError = error;
    // A broken table would otherwise bring up a message every time a list
    // is opened: the user hears of each lookup's trouble once per run.
    if (reportedLookups().contains(what))
        return;
    reportedLookups().insert(what);
    tell(QStringLiteral("读取") + what + QStringLiteral("失败：") + error, QStringLiteral("错误"), AlertIcon::Error);
}

QStringList Lookups::column(const QString &what, const QString &sql, const QVariantList &values) const
{
    m_lastError.clear();
    QStringList result;
    QSqlQuery q = m_db.prepare(sql);
    q.setForwardOnly(true);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (q.lastError().isValid() || !q.exec()) {
        failed(what, q.lastError().text());
        return result;
    }
    while (q.next()) {
        // A NULL is no value a list could offer.
        if (!q.value(0).isNull())
            result << q.value(0).toString();
    }
    if (q.lastError().isValid())
        failed(what, q.lastError().text());
    return result;
}

QString Lookups::first(const QString &what, const QString &sql, const QVariantList &values, bool *found) const
{
    m_lastError.clear();
    if (found)
        *found = false;
    QSqlQuery q = m_db.prepare(sql);
    q.setForwardOnly(true);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (q.lastError().isValid() || !q.exec()) {
        failed(what, q.lastError().text());
        return QString();
    }
    if (!q.next())
        return QString();
    if (found)
        *found = true;
    return q.value(0).toString();
}

bool Lookups::parseId(const QString &id, int *value) const
{
    bool ok = false;
    *value = id.trimmed().toInt(&ok);
    if (!ok)
        m_lastError = QStringLiteral("不是有效的模板编号：%1").arg(id);
    return ok;
}

// ---- currencies ---------------------------------------------------------

QStringList Lookups::loadMoneyTypeList() const
{
    // Grouping keeps each name once while ordering by the display order.
    return column(QStringLiteral("币种列表"), QStringLiteral("select 币种 from coins where 币种 is not null group by 币种 "
                                 "order by max(顺序) desc, min(%1)").arg(m_db.dialect().storedOrder()));
}

QString Lookups::getMoneyCodeByName(const QString &name) const
{
    // Currency names and codes are unique without regard to letter case.
    return first(QStringLiteral("币种缩写"),
                 QStringLiteral("select 缩写 from coins where %1 order by %2")
                     .arg(m_db.dialect().equalsIgnoringCase(QStringLiteral("币种")), m_db.dialect().storedOrder()),
                 {name});
}

QString Lookups::getMoneyNameByCode(const QString &code) const
{
    return first(QStringLiteral("币种名称"),
                 QStringLiteral("select 币种 from coins where %1 order by %2")
                     .arg(m_db.dialect().equalsIgnoringCase(QStringLiteral("缩写")), m_db.dialect().storedOrder()),
                 {code});
}

// Stored texts of only blanks are no choice for a list.
static QStringList withoutBlanks(QStringList values)
{
    values.erase(std::remove_if(values.begin(), values.end(),
                                [](const QString &v) { return v.trimmed().isEmpty(); }),
                 values.end());
    return values;
}

// ---- places -------------------------------------------------------------

QStringList Lookups::loadProvinces() const
{
    return sorted(column(QStringLiteral("省份列表"),
                         QStringLiteral("select distinct 一级代码 from DMTable2 where 类型=?"), {kPlaceKind}));
}

QStringList Lookups::loadCitysByProvince(const QString &province) const
{
    m_lastError.clear();
    const QString p = province.trimmed();
    if (p.isEmpty())
        return {};
    return sorted(column(QStringLiteral("城市列表"),
                         QStringLiteral("select distinct 二级代码 from DMTable2 where 一级代码=? and 类型=?"),
                         {p, kPlaceKind}));
}

// ---- address book -------------------------------------------------------

QStringList Lookups::loadCompanyList(const QString &companyType) const
{
    if (companyType.isEmpty())
        return sorted(column(QStringLiteral("单位列表"), QStringLiteral("select distinct 全称 from ckPersonalInfoTable")));
    return sorted(column(QStringLiteral("单位列表"),
                         QStringLiteral("select distinct 全称 from ckPersonalInfoTable where 单位类型=?"),
                         {companyType}));
}

QStringList Lookups::loadPersonTableGroupList() const
{
    QStringList groups = column(QStringLiteral("单位分组"), QStringLiteral("select distinct 分组 from ckPersonalInfoTable "
                                               "where 分组 is not null and 分组<>?"),
                                {kDrawerGroup});
    return sorted(withoutBlanks(groups));
}

QStringList Lookups::loadPersonTableProvinceList() const
{
    QStringList provinces = column(QStringLiteral("单位所在省份"),
                                   QStringLiteral("select distinct 省 from ckPersonalInfoTable where 省 is not null"));
    return sorted(withoutBlanks(provinces));
}

QStringList Lookups::loadAccountsByCompany(const QString &fullName) const
{
    m_lastError.clear();
    const QString name = fullName.trimmed();
    if (name.isEmpty())
        return {};
    return sorted(column(QStringLiteral("单位账号"),
                         QStringLiteral("select distinct 开户行账号 from ckPersonalInfoTable where 全称=?"), {name}));
}

QStringList Lookups::loadBankNamesByAccount(const QString &account) const
{
    m_lastError.clear();
    const QString number = account.trimmed();
    if (number.isEmpty())
        return {};
    return sorted(column(QStringLiteral("开户银行"),
                         QStringLiteral("select distinct 开户银行 from ckPersonalInfoTable where 开户行账号=?"),
                         {number}));
}

// ---- dictionary ---------------------------------------------------------

QStringList Lookups::loadDMListByName(const QString &name, const QString &ids) const
{
    m_lastError.clear();
    QList<int> list;
    for (const QString &piece : ids.split(QLatin1Char(','))) {
        if (piece.trimmed().isEmpty())
            continue;
        int id = 0;
        if (!parseId(piece, &id))
            return {};
        list << id;
    }
    return loadDMListByName(name, list);
}

QStringList Lookups::loadDMListByName(const QString &name, const QList<int> &ids) const
{
    m_lastError.clear();
    if (ids.isEmpty())
        return {};
    QStringList marks;
    QVariantList values{name};
    for (int id : ids) {
        marks << QStringLiteral("?");
        values << id;
    }
    // One row per value and bill type; within a bill type the values keep
    // the order they were entered in.
    return column(QStringLiteral("字典列表"),
                  QStringLiteral("select DMValue from DMTable where DMName=? and CheckTypeId in (%1) "
                                 "group by DMValue, CheckTypeId order by CheckTypeId desc, min(ID)")
                      .arg(marks.join(QLatin1Char(','))),
                  values);
}

// ---- issued bills -------------------------------------------------------

QStringList Lookups::loadCheckNOList(const QString &table, const QString &state,
                                     const QString &columnName) const
{
    QString sql = QStringLiteral("select distinct %1 from %2").arg(quoteIdentifier(columnName), quoteIdentifier(table));
    QVariantList values;
    if (!state.isEmpty()) {
        sql += QStringLiteral(" where 票据状态=?");
        values << state;
    }
    return sorted(column(QStringLiteral("票据编号列表"), sql, values));
}

QStringList Lookups::loadHistoryTypeNameList(const QString &table) const
{
    return sorted(column(QStringLiteral("模板种类列表"),
                         QStringLiteral("select distinct 模板种类 from %1").arg(quoteIdentifier(table))));
}

// ---- bill types ---------------------------------------------------------

QStringList Lookups::loadCheckTypeFirstNameList() const
{
    return sorted(column(QStringLiteral("票据种类列表"), QStringLiteral("select distinct CheckTypeName from NameDict")));
}

QString Lookups::loadDefaultTypeFirstName() const
{
    return first(QStringLiteral("默认票据种类"),
                 QStringLiteral("select CheckTypeName from NameDict order by Id limit 1"), {});
}

QStringList Lookups::loadCheckTypeLastNameList(const QString &firstName) const
{
    m_lastError.clear();
    if (firstName.isEmpty()) {
        tell(QStringLiteral("没有指定单据类型，无法调入确定的模板种类！"));
        return {};
    }
    return sorted(column(QStringLiteral("模板列表"),
                         QStringLiteral("select TypeDescribe from CKTypeTable where Visiable=? and TypeFirstName=?"),
                         {kShown, firstName}));
}

QStringList Lookups::loadCommonTypeLastNameList(const QString &firstName) const
{
    m_lastError.clear();
    if (firstName.isEmpty())
        return {};
    QSqlQuery q = m_db.prepare(QStringLiteral(
        "select TypeDescribe, IsDefault from CKTypeTable where Visiable=? and IsCommon=? and TypeFirstName=? "
        "order by ShowOrd desc, CheckTypeID"));
    q.setForwardOnly(true);
    q.addBindValue(kShown);
    q.addBindValue(kCommon);
    q.addBindValue(firstName);
    if (q.lastError().isValid() || !q.exec()) {
        const QString error = q.lastError().text();
        if (!error.contains(QLatin1String("IsCommon"), Qt::CaseInsensitive)) {
            failed(QStringLiteral("常用模板列表"), error);
            return {};
        }
        m_lastError = error;
        // A database of an earlier version: only the upgrade adds the
        // column together with the values the templates need.
        if (upgradeHandler())
            upgradeHandler()(QStringLiteral("IsCommon"));
        tell(QStringLiteral("请尝试重新启动软件！"));
        return {};
    }
    QStringList names;
    while (q.next()) {
        const QString name = q.value(0).toString();
        if (q.value(1).toString() == kDefault)
            names.prepend(name);
        else
            names.append(name);
    }
    return names;
}

QStringList Lookups::loadCheckTypeFullNameList(const QString &firstName) const
{
    const QString what = QStringLiteral("模板列表");
    if (firstName.isEmpty())
        return sorted(column(what, QStringLiteral("select TypeName from CKTypeTable where Visiable=?"), {kShown}));
    return sorted(column(what, QStringLiteral("select TypeName from CKTypeTable where Visiable=? and TypeFirstName=?"),
                         {kShown, firstName}));
}

int Lookups::loadDefaultCheckTypeId(const QString &firstName) const
{
    const QString what = QStringLiteral("默认模板");
    bool found = false;
    QString id = first(what, QStringLiteral("select CheckTypeID from CKTypeTable where IsDefault=? and TypeFirstName=? "
                                            "order by CheckTypeID"),
                       {kDefault, firstName}, &found);
    if (found)
        return id.toInt();
    if (!m_lastError.isEmpty())
        return -1;  // told; "no default template" would be a wrong hint
    tell(QStringLiteral("没有设定默认的") + firstName + QStringLiteral(",请到【系统管理】-【模板管理】，设定!"));
    id = first(what, QStringLiteral("select CheckTypeID from CKTypeTable where Visiable=? and TypeFirstName=? "
                                    "order by CheckTypeID"),
               {kShown, firstName}, &found);
    if (found)
        return id.toInt();
    if (!m_lastError.isEmpty())
        return -1;
    tell(QStringLiteral("没有找到任何启用的【") + firstName + QStringLiteral("】模板！"));
    return -1;
}

int Lookups::loadCheckTypeIDByFirstAndLastName(const QString &firstName, const QString &lastName) const
{
    const QString what = QStringLiteral("模板编号");
    bool found = false;
    QString id = first(what, QStringLiteral("select CheckTypeID from CKTypeTable where TypeFirstName=? and TypeDescribe=? "
                                            "order by CheckTypeID"),
                       {firstName, lastName}, &found);
    if (found)
        return id.toInt();
    if (!m_lastError.isEmpty())
        return 0;
    id = first(what, QStringLiteral("select CheckTypeID from CKTypeTable where TypeName=? order by CheckTypeID"),
               {firstName + QStringLiteral("（") + lastName + QStringLiteral("）")}, &found);
    return found ? id.toInt() : 0;
}

QString Lookups::loadCheckTypeIDByTypeFullName(const QString &fullName) const
{
    bool found = false;
    const QString id = first(QStringLiteral("模板编号"),
                             QStringLiteral("select CheckTypeID from CKTypeTable where TypeName=? order by CheckTypeID"),
                             {fullName}, &found);
    return found ? id : QStringLiteral("0");
}

QString Lookups::loadCheckTypeFullNameByID(int id) const
{
    return first(QStringLiteral("模板全称"),
                 QStringLiteral("select TypeName from CKTypeTable where CheckTypeID=?"), {id});
}

QString Lookups::loadCheckTypeFullNameByID(const QString &id) const
{
    int value = 0;
    return parseId(id, &value) ? loadCheckTypeFullNameByID(value) : QString();
}

QString Lookups::loadCheckTypeLastNameByID(int id) const
{
    return first(QStringLiteral("模板名称"),
                 QStringLiteral("select TypeDescribe from CKTypeTable where CheckTypeID=?"), {id});
}

QString Lookups::loadCheckTypeLastNameByID(const QString &id) const
{
    int value = 0;
    return parseId(id, &value) ? loadCheckTypeLastNameByID(value) : QString();
}

QString Lookups::loadCheckTypeFirstNameByID(int id) const
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        m_lastError.clear();
        QSqlQuery q = m_db.prepare(QStringLiteral("select TypeFirstName, TypeName from CKTypeTable where CheckTypeID=?"));
        q.setForwardOnly(true);
        q.addBindValue(id);
        if (!q.lastError().isValid() && q.exec()) {
            if (!q.next())
                return QString();
            const QString firstName = q.value(0).toString();
            return firstName.isEmpty() ? firstNameFromFullName(q.value(1).toString()) : firstName;
        }
        const QString error = q.lastError().text();
        if (attempt > 0 || !error.contains(QLatin1String("TypeFirstName"), Qt::CaseInsensitive)) {
            failed(QStringLiteral("票据种类"), error);
            return QString();
        }
        m_lastError = error;
        // A database of an earlier version without first names: add the
        // column, derive the names, and read again.
        repairMissingFirstNames();
    }
    return QString();
}

QString Lookups::loadCheckTypeFirstNameByID(const QString &id) const
{
    int value = 0;
    return parseId(id, &value) ? loadCheckTypeFirstNameByID(value) : QString();
}

void Lookups::repairMissingFirstNames() const
{
    const QString table = QStringLiteral("CKTypeTable");
    const QString col = QStringLiteral("TypeFirstName");
    m_db.transaction([&] {
        if (!TDBTable::ColumnExists(table, col, m_db)
            && !TDBTable::AddColumn(table, col, m_db, QStringLiteral("50"), QStringLiteral("String")))
            return false;
        QSqlQuery q = m_db.prepare(QStringLiteral(
            "select CheckTypeID, TypeName from CKTypeTable where TypeFirstName is null or TypeFirstName=''"));
        if (!q.exec())
            return false;
        while (q.next()) {
            const QString firstName = firstNameFromFullName(q.value(1).toString());
            if (!firstName.isEmpty()
                && !m_db.exec(QStringLiteral("update CKTypeTable set TypeFirstName=? where CheckTypeID=?"),
                              {firstName, q.value(0)}))
                return false;
        }
        return true;
    });
}

QString Lookups::firstNameFromFullName(const QString &fullName)
{
    int cut = fullName.indexOf(QStringLiteral("（"));
    if (cut < 0)
        cut = fullName.indexOf(QLatin1Char('('));
    return cut < 0 ? QString() : fullName.left(cut);
}

QString Lookups::getTypeCodeByTypeName(const QString &firstName)
{
    static const QHash<QString, QString> codes = {
        {QStringLiteral("电汇单"), QStringLiteral("dhd")},
        {QStringLiteral("支票"), QStringLiteral("zp")},
        {QStringLiteral("进账单"), QStringLiteral("jzd")},
        {QStringLiteral("汇票申请书"), QStringLiteral("hp")},
        {QStringLiteral("承兑汇票"), QStringLiteral("cdhp")},
        {QStringLiteral("缴款单"), QStringLiteral("jkd")},
        {QStringLiteral("境外汇款申请书"), QStringLiteral("jwh")},
        {QStringLiteral("贷记凭证"), QStringLiteral("djpz")},
        {QStringLiteral("快递单"), QStringLiteral("kdd")},
        {QStringLiteral("海关缴款单"), QStringLiteral("hgjkd")},
        {QStringLiteral("海关载货单"), QStringLiteral("hgzhd")},
        {QStringLiteral("普通发票收据"), QStringLiteral("fpiv")},
        {QStringLiteral("发票及收据"), QStringLiteral("fpiv")},
        {QStringLiteral("货运发票"), QStringLiteral("hyfp")},
        {QStringLiteral("出口商品发票"), QStringLiteral("cksp")},
        {QStringLiteral("国际货运发票"), QStringLiteral("ivIntel")},
        {QStringLiteral("定制单"), QStringLiteral("def")},
        {QStringLiteral("送货单"), QStringLiteral("shd")},
    };
    return codes.value(firstName);
}

} // namespace billprint
