// The lookups many windows share: currencies, provinces and cities,
// companies with their accounts and banks, dictionary values, cheque
// numbers, and the names and ids of bill types (templates).
//
// Every value is bound as a statement parameter, so a name with an
// apostrophe is found like any other; table and column names that callers
// pass are quoted as identifiers. Lists come back as plain values that the
// caller owns.
//
// Ordering: lists of names are in Chinese (pinyin) order with digit runs
// compared as numbers, which is what a clerk expects of a drop-down list;
// the currency list follows the display order kept with the currencies;
// dictionary values keep the order they were stored in within each bill
// type, the current bill type's values first.
//
// Failures: the lookups that fill a list or resolve a name never throw.
// The first database error of each lookup is shown to the user (once per
// run, so a broken table does not bring a message up at every list);
// lastError() tells the caller whether the last call met one (empty when
// it did not); the lists read as far as the database allowed.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

namespace billprint {

class Database;

// Sorts names the way the program's lists show them: Chinese by pinyin,
// digit runs by value. Stable for names that compare equal.
void sortForDisplay(QStringList &names);
bool lessForDisplay(const QString &a, const QString &b);

// Called when a lookup meets a database written by an earlier version that
// lacks `column` and only the upgrade window can bring it up to date. The
// main window installs its upgrade command here; without a handler nothing
// is run. Returns the previous handler.
using SchemaUpgradeHandler = std::function<void(const QString &column)>;
SchemaUpgradeHandler setSchemaUpgradeHandler(SchemaUpgradeHandler handler);

class Lookups
{
public:
    explicit Lookups(const Database &db) : m_db(db) {}

    // The database message of the last call's failure; empty on success.
    const QString &lastError() const { return m_lastError; }

    // ---- Currencies (table coins) -------------------------------------
    // Currency names, highest display order first.
    QStringList loadMoneyTypeList() const;
    // The code (symbol) of a currency; empty when there is none.
    QString getMoneyCodeByName(const QString &name) const;
    // The currency of a code; empty when there is none.
    QString getMoneyNameByCode(const QString &code) const;

    // ---- Places (table DMTable2, kind 省市) -----------------------------
    QStringList loadProvinces() const;
    // Cities of a province (trimmed); an empty province gives no cities.
    QStringList loadCitysByProvince(const QString &province) const;

    // ---- Address book (table ckPersonalInfoTable) -----------------------
    // Full names of one unit kind ("我方单位", "往来单位"), or of all units
    // when the kind is empty.
    QStringList loadCompanyList(const QString &companyType) const;
    // Groups, without the default drawer's group and without blank ones.
    QStringList loadPersonTableGroupList() const;
    // Provinces the address book uses, blank ones left out.
    QStringList loadPersonTableProvinceList() const;
    QStringList loadAccountsByCompany(const QString &fullName) const;
    QStringList loadBankNamesByAccount(const QString &account) const;

    // ---- Dictionary (table DMTable) -----------------------------------
    // Values of the list `name` for the bill types in `ids` (a
    // comma-separated id list such as "0", "7" or "0,7"); values of higher
    // ids come first, so a template's own values precede the shared ones
    // (id 0). A value stored under two ids is listed twice. An id list with
    // a piece that is not a whole number gives an empty list and an error.
    QStringList loadDMListByName(const QString &name, const QString &ids) const;
    QStringList loadDMListByName(const QString &name, const QList<int> &ids) const;

    // ---- Issued bills --------------------------------------------------
    // Distinct values of `column` in the history `table`, of the bills in
    // `state` (票据状态) or of all bills when the state is empty.
    QStringList loadCheckNOList(const QString &table, const QString &state,
                                const QString &column) const;
    // Distinct template names (模板种类) used in a history table.
    QStringList loadHistoryTypeNameList(const QString &table) const;

    // ---- Bill types (tables NameDict, CKTypeTable) ---------------------
    QStringList loadCheckTypeFirstNameList() const;
    QString loadDefaultTypeFirstName() const;
    // Variants shown (启用) of a family. An empty family tells the user and
    // gives an empty list.
    QStringList loadCheckTypeLastNameList(const QString &firstName) const;
    // Common variants of a family for the quick-switch buttons, highest
    // ShowOrd first, with the family's default variant on top.
    QStringList loadCommonTypeLastNameList(const QString &firstName) const;
    // Full names of the shown templates of a family, or of all families
    // when the family is empty.
    QStringList loadCheckTypeFullNameList(const QString &firstName = QString()) const;
    // The family's default template; without one, tells the user and takes
    // the lowest shown one; without any, tells the user again and gives -1.
    int loadDefaultCheckTypeId(const QString &firstName) const;
    // The template of a family and variant, also found through its full
    // name when its first name is not stored; 0 when there is none.
    int loadCheckTypeIDByFirstAndLastName(const QString &firstName, const QString &lastName) const;
    // The id (as text) of a full name; "0" when there is none.
    QString loadCheckTypeIDByTypeFullName(const QString &fullName) const;
    QString loadCheckTypeFullNameByID(int id) const;
    QString loadCheckTypeFullNameByID(const QString &id) const;
    QString loadCheckTypeLastNameByID(int id) const;
    QString loadCheckTypeLastNameByID(const QString &id) const;
    // The family of a template; when the first name is not stored it is the
    // part of the full name before "（" (or "(").
    QString loadCheckTypeFirstNameByID(int id) const;
    QString loadCheckTypeFirstNameByID(const QString &id) const;

    // Short code of a family used in file names and ids ("支票" -> "zp");
    // empty for an unknown family.
    static QString getTypeCodeByTypeName(const QString &firstName);

    // The part of a full name before "（", or before "(" when there is no
    // "（"; empty when there is neither.
    static QString firstNameFromFullName(const QString &fullName);

    // Lets every lookup report its next error again (tests).
    static void forgetReportedErrors();

private:
    // Runs `sql` with `values` and collects the first column of each row.
    // On failure keeps the rows read so far and reports the error as a
    // failure to read `what`.
    QStringList column(const QString &what, const QString &sql, const QVariantList &values = {}) const;
    // The first column of the first row as text; `found` tells whether
    // there was a row.
    QString first(const QString &what, const QString &sql, const QVariantList &values, bool *found = nullptr) const;
    // Records `error` and tells the user, unless `what` was told before.
    void failed(const QString &what, const QString &error) const;
    bool parseId(const QString &id, int *value) const;
    void repairMissingFirstNames() const;

    const Database &m_db;
    mutable QString m_lastError;
};

} // namespace billprint
