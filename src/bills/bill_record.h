// Issued bills as rows of the families' history tables (DataZPTable,
// DataJZDTable, DataJKDTable, DataKDDTable): reading a row by its serial
// number or bill number, and writing a bill back, appended or in place.
//
// Every value is a bound parameter and every column name is checked
// against the table before it reaches a statement, so a payee called
// O'Brien is stored like any other. A save reads the stored row, asks the
// family's guard and writes in one transaction: nothing is half written,
// and a row voided in the history window meanwhile is seen by the guard.
#pragma once

#include <QDate>
#include <QMap>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

class QSqlRecord;

namespace billprint {

class Database;

// Columns the history tables share.
namespace BillColumn {
inline const QString Serial = QStringLiteral("流水号");
inline const QString TemplateName = QStringLiteral("模板种类");
inline const QString Options = QStringLiteral("其他选项");
inline const QString Number = QStringLiteral("票据编号");
inline const QString Status = QStringLiteral("票据状态");
inline const QString Remark = QStringLiteral("备注");
inline const QString Currency = QStringLiteral("币种");
inline const QString Amount = QStringLiteral("金额");
inline const QString Date = QStringLiteral("出票日期");
inline const QString Payee = QStringLiteral("收款人全称");
inline const QString Drawer = QStringLiteral("出票人全称");
inline const QString DrawerAccount = QStringLiteral("出票人账号");
inline const QString DrawerBank = QStringLiteral("付款行名称");
inline const QString Password = QStringLiteral("支付密码");
inline const QString Purpose = QStringLiteral("用途");
// 自定义1 … 自定义5
inline QString custom(int i) { return QStringLiteral("自定义") + QString::number(i); }
} // namespace BillColumn

// Values of 票据状态.
namespace BillStatus {
inline const QString Unused = QStringLiteral("未用");  // number recorded in advance
inline const QString Used = QStringLiteral("已用");    // issued
inline const QString Void = QStringLiteral("作废");
} // namespace BillStatus

// The dates a bill can carry, 1900-01-01 to 2099-12-31. Anything outside is
// a slip of the keyboard (0001-01-01, the year 1000) that the date editor
// would otherwise move quietly to a limit of its own and print. The date
// editor of the bill windows and the command line take these and no others.
namespace BillDates {
inline QDate earliest() { return QDate(1900, 1, 1); }
inline QDate latest() { return QDate(2099, 12, 31); }
inline bool contains(const QDate &date) { return date.isValid() && date >= earliest() && date <= latest(); }
} // namespace BillDates

// One row: the serial number (-1 for a bill not stored yet) and the values
// of the columns it has, by column name (letter case ignored).
class BillRecord
{
public:
    int serial = -1;
    // The 票据状态 the stored row of `serial` had when the bill took it
    // (a cheque number recorded in advance is "未用"); empty for none. The
    // save rewrites that row only while it still has this state, in the
    // rewrite's own condition: of two desks that picked the same number,
    // one issues it and the other is refused.
    QString takenFromStatus;

    bool has(const QString &column) const;
    // The text of a column; empty when the row lacks it or it is NULL.
    QString text(const QString &column) const;
    // A date column; invalid when empty or not a date.
    QDate date(const QString &column) const;
    // Sets a text (QString) or a date (QDate) column.
    void set(const QString &column, const QVariant &value);
    void remove(const QString &column);
    // Column name (as set) -> value.
    const QMap<QString, QVariant> &values() const { return m_values; }

    static BillRecord fromRow(const QSqlRecord &row);

private:
    QString keyOf(const QString &column) const;
    QMap<QString, QVariant> m_values;
};

enum class BillSaveOutcome {
    Appended,  // a new row; the record has its serial now
    Updated,   // the row of the record's serial was rewritten
    Refused,   // the family's guard refused the stored row, or the number the
               // bill took was issued meanwhile; nothing written
    Failed,    // the database refused; nothing written
};

class BillRecordStore
{
public:
    BillRecordStore(const Database &db, QString table);

    const QString &table() const { return m_table; }

    // The row of a serial number; none when there is none or the database
    // refused (then `error` says why).
    std::optional<BillRecord> load(int serial, QString *error = nullptr) const;
    // The first row with that bill number (票据编号); with `preferStatus`,
    // a row in that state (票据状态) comes before the others.
    std::optional<BillRecord> findByNumber(const QString &number, const QString &preferStatus = QString(),
                                           QString *error = nullptr) const;

    // Returns a message to refuse saving over the stored row, or "".
    using Guard = std::function<QString(const BillRecord &stored)>;

    // Writes the record: the row of its serial when there is one (after
    // the guard agreed), else a new row, whose serial goes into the record.
    // Only the columns the record has are written; the others keep their
    // stored values. `message` receives the guard's or the database's text.
    BillSaveOutcome save(BillRecord &record, const Guard &guard = {}, QString *message = nullptr) const;

private:
    // Rewrites the stored row of the record's serial with the named
    // columns. False with `error` empty when the row no longer has the
    // state the record took it in.
    bool rewrite(const BillRecord &record, const QStringList &names, const QVariantList &values,
                 QString *error) const;
    static QString takenMeanwhileMessage(const BillRecord &record);
    std::optional<BillRecord> first(const QString &where, const QVariant &value, QString *error) const;
    // The table's own spelling of a column; empty for an unknown one.
    QString columnOf(const QString &name, const QStringList &columns) const;

    const Database &m_db;
    QString m_table;
};

// The stored form of a bill date: ISO text "YYYY-MM-DD".
QString billDateText(const QDate &date);
// Reads a stored bill date: ISO text, with or without a time, or the
// "yyyy/M/d" form of older data; invalid otherwise.
QDate parseBillDate(const QString &text);

} // namespace billprint
