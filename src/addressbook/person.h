// Address-book records: one row of `ckPersonalInfoTable` in memory, and
// the waybill receiver built on it.
//
// A company with several accounts or contacts is several rows with the
// same 全称; nothing but the equal name links them. Every statement here
// binds its values, so names and accounts with quotes are stored and found
// like any other text.
#pragma once

#include "app/row_version.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>
#include <vector>

class QSqlQuery;
class QSqlRecord;

namespace billprint {

class Database;

// The two unit kinds of column 单位类型.
namespace UnitKind {
inline const QString Own = QStringLiteral("我方单位");
inline const QString Counterparty = QStringLiteral("往来单位");
} // namespace UnitKind

// The 分组 value that marks the one default drawer.
inline const QString kDefaultDrawerGroup = QStringLiteral("默认出票人");

// The address-book table as the statements name it.
inline const QString kPersonTable = QStringLiteral("ckPersonalInfoTable");

// Outcome of TPerson::loadById.
enum class PersonLoad {
    Failed = -1,  // no usable ID, or the database refused; fields unchanged
    NotFound = 0, // no row has that ID; fields unchanged
    Loaded = 1,
};

// One unit as it is used on bills. A fresh record has ID 0 and empty texts;
// an ID of 0 or less means "not stored yet".
class TPerson
{
public:
    TPerson() = default;
    virtual ~TPerson() = default;
    TPerson(const TPerson &) = default;
    TPerson &operator=(const TPerson &) = default;

    // The 22 text columns, in the order of the record's fields.
    static const QStringList &textColumns();

    int id() const { return m_id; }
    void setId(int id) { m_id = id; }
    // The RowVersion of the stored row when this record read or wrote it.
    int rowVersion() const { return m_rowVersion; }
    void setRowVersion(int version) { m_rowVersion = version; }
    bool isStored() const { return m_id > 0; }

    const QString &fullName() const { return m_fullName; }          // 全称
    void setFullName(const QString &v) { m_fullName = v; }
    const QString &taxId() const { return m_taxId; }                // 识别号
    void setTaxId(const QString &v) { m_taxId = v; }
    const QString &inputCode() const { return m_inputCode; }        // 助记码
    void setInputCode(const QString &v) { m_inputCode = v; }
    const QString &contact() const { return m_contact; }            // 联系人
    void setContact(const QString &v) { m_contact = v; }
    const QString &bank() const { return m_bank; }                  // 开户银行
    void setBank(const QString &v) { m_bank = v; }
    const QString &account() const { return m_account; }            // 开户行账号
    void setAccount(const QString &v) { m_account = v; }
    const QString &bankAddress() const { return m_bankAddress; }    // 开户行地址
    void setBankAddress(const QString &v) { m_bankAddress = v; }
    const QString &bankNumber() const { return m_bankNumber; }      // 开户行行号
    void setBankNumber(const QString &v) { m_bankNumber = v; }
    const QString &phone() const { return m_phone; }                // 电话
    void setPhone(const QString &v) { m_phone = v; }
    const QString &mobile() const { return m_mobile; }              // 手机
    void setMobile(const QString &v) { m_mobile = v; }
    const QString &postcode() const { return m_postcode; }          // 邮编
    void setPostcode(const QString &v) { m_postcode = v; }
    const QString &country() const { return m_country; }            // 国家
    void setCountry(const QString &v) { m_country = v; }
    const QString &address() const { return m_address; }            // 地址
    void setAddress(const QString &v) { m_address = v; }
    const QString &province() const { return m_province; }          // 省
    void setProvince(const QString &v) { m_province = v; }
    const QString &city() const { return m_city; }                  // 市
    void setCity(const QString &v) { m_city = v; }
    const QString &town() const { return m_town; }                  // 镇区
    void setTown(const QString &v) { m_town = v; }
    const QString &group() const { return m_group; }                // 分组
    void setGroup(const QString &v) { m_group = v; }
    const QString &unitKind() const { return m_unitKind; }          // 单位类型
    void setUnitKind(const QString &v) { m_unitKind = v; }
    const QString &custom1() const { return m_custom1; }            // 自定义1
    void setCustom1(const QString &v) { m_custom1 = v; }
    const QString &custom2() const { return m_custom2; }            // 自定义2
    void setCustom2(const QString &v) { m_custom2 = v; }
    const QString &custom3() const { return m_custom3; }            // 自定义3
    void setCustom3(const QString &v) { m_custom3 = v; }
    const QString &extraInfo() const { return m_extraInfo; }        // 扩展信息
    void setExtraInfo(const QString &v) { m_extraInfo = v; }

    // A text field by its column name (letter case ignored); empty for a
    // name that is not one of textColumns(), and setText ignores it.
    QString text(const QString &column) const;
    bool setText(const QString &column, const QString &value);

    // Copies ID and the text columns from a row of the address-book table.
    // NULL or missing columns give empty texts.
    void loadFromRow(const QSqlRecord &row);

    // For long listings: the column positions of a result set, found once,
    // and the reading of its current row with them.
    struct RowLayout
    {
        int id = -1;
        int version = -1;
        std::vector<int> texts; // per text column, -1 when missing
    };
    static RowLayout rowLayout(const QSqlRecord &record);
    void loadFromQuery(const QSqlQuery &query, const RowLayout &layout);

    // Reads the row with `id` into this record (the ID too).
    PersonLoad loadById(const Database &db, int id);

    // Writes the record: updates the row of its ID, or appends a row when
    // the ID is not stored (0, -1, or a row deleted meanwhile). The ID of
    // an appended row is written back, so saving again updates that row.
    // `ID` is never written and `排序` is left alone. Returns false with
    // the database's message in `error` when the row cannot be written.
    //
    // A row another desk saved since this record read it (its RowVersion
    // is no longer rowVersion()) is kept and the result is
    // ChangedElsewhere, unless `overwrite`. A write raises the version and
    // the record takes it.
    RowSave saveChecked(const Database &db, QString *error = nullptr, bool overwrite = false);
    // The same; false for a row changed elsewhere too, with its message.
    bool save(const Database &db, QString *error = nullptr);

    // Finders: the first matching row (lowest ID) as a new record, or none.
    // An empty first argument, or a database that refuses, gives none.
    // Texts compare without regard to ASCII letter case, as the
    // address book always has.
    //
    // `code` matches 助记码 exactly; a code containing "%" or "*" matches
    // every code that contains the code with those characters removed.
    static std::optional<TPerson> findByInputCode(const Database &db, const QString &code);
    static std::optional<TPerson> findByName(const Database &db, const QString &name);
    // The second key may be empty and is then matched as an empty text.
    static std::optional<TPerson> findByNameAndAccount(const Database &db, const QString &name,
                                                       const QString &account);
    static std::optional<TPerson> findByNameAndContact(const Database &db, const QString &name,
                                                       const QString &contact);
    static std::optional<TPerson> findByContact(const Database &db, const QString &contact);
    static std::optional<TPerson> findByAccount(const Database &db, const QString &account);
    static std::optional<TPerson> findDefaultDrawer(const Database &db);

    friend bool operator==(const TPerson &a, const TPerson &b);
    friend bool operator!=(const TPerson &a, const TPerson &b) { return !(a == b); }

protected:
    // Empties 全称 through 自定义3; 扩展信息 stays.
    void clearTextsButExtraInfo();

private:
    struct Column
    {
        QString name;
        QString TPerson::*member;
    };
    static const std::vector<Column> &columns();
    static const Column *columnNamed(const QString &name);
    static std::optional<TPerson> findFirst(const Database &db, const QString &condition,
                                            const QVariantList &values);
    RowSave writeRow(const Database &db, bool overwrite, int *id, int *version, QString *error) const;
    bool appendRow(const Database &db, int *id, QString *error) const;
    QVariantList textValues() const;

    int m_id = 0;
    int m_rowVersion = 0;
    QString m_fullName;
    QString m_taxId;
    QString m_inputCode;
    QString m_contact;
    QString m_bank;
    QString m_account;
    QString m_bankAddress;
    QString m_bankNumber;
    QString m_phone;
    QString m_mobile;
    QString m_postcode;
    QString m_country;
    QString m_address;
    QString m_province;
    QString m_city;
    QString m_town;
    QString m_group;
    QString m_unitKind;
    QString m_custom1;
    QString m_custom2;
    QString m_custom3;
    QString m_extraInfo;
};

// The receiver of an express waybill: a person plus the goods and the
// destination station of the batch print list. Never stored in the
// address book as such.
class TPersonKDD : public TPerson
{
public:
    const QString &goodsDescription() const { return m_goodsDescription; } // 内件说明
    void setGoodsDescription(const QString &v) { m_goodsDescription = v; }
    const QString &destinationStation() const { return m_destinationStation; } // 目的站
    void setDestinationStation(const QString &v) { m_destinationStation = v; }

    // Readies the object for the next receiver: ID -1, every text empty
    // but 扩展信息 (the waybill remark, which usually repeats).
    void reset();

private:
    QString m_goodsDescription;
    QString m_destinationStation;
};

} // namespace billprint
