// What sets the four history windows apart: the table and its filters,
// the party choosers, the sum, the order of the list, the row colours and
// the family's extra commands. The window and the headless command read
// everything family-specific from here.
#pragma once

#include "bills/bill_family.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace billprint {

// Which value of a chosen address-book unit goes into a party filter box.
enum class PartyFill {
    FullName,           // 全称
    Account,            // 开户行账号
    FullNameOrContact,  // 全称, or 联系人 when it has no 全称
};

// One party filter box: the label, the column (or columns, any of which
// may match) it filters, and the address-book chooser of its "选" button.
struct PartyFilterField
{
    QString label;
    QStringList columns;
    QString pickKind;     // 我方单位 / 往来单位
    QString pickCaption;
    PartyFill fill = PartyFill::FullName;

    bool isSet() const { return !columns.isEmpty(); }
    // A box of names takes a mnemonic code on Enter; an account box does not.
    bool takesInputCode() const { return fill != PartyFill::Account; }
};

// How the list is ordered.
enum class HistoryOrderRule {
    // Issue order until a column title is clicked; from then on that
    // column, with the direction reversed at every run (descending first).
    FlipOnEveryRun,
    // Always newest first: the clicked column, 流水号 before any click.
    AlwaysDescending,
};

struct HistoryFamily
{
    const BillFamilyInfo *bill = nullptr;  // family word, table, history command
    QString windowClass;     // TfmSearch_ZP
    QString windowName;      // object name; Config.ini section of sizes and widths
    QString title;
    QString doubleClickKey;  // Config.ini [Config]
    QString exportName;

    QString numberLabel;
    QString numberColumn;
    PartyFilterField firstParty;   // not set on the cash payment slip
    PartyFilterField secondParty;
    QString dateLabel;
    QString dateColumn;
    QString amountColumn;    // empty: no amount filter
    QString templateLabel;   // empty: no template filter
    QString sumColumn;
    QString sumLabel;
    HistoryOrderRule order = HistoryOrderRule::AlwaysDescending;

    // The cheque: rows coloured by status, voiding, number correction and
    // the recording of numbers in advance.
    bool chequeCommands = false;
    // The waybill: late waybill numbers and remarks, parcel tracking.
    bool waybillCommands = false;

    const QString &family() const { return bill->family; }
    const QString &table() const { return bill->historyTable; }
    bool hasAmountFilter() const { return !amountColumn.isEmpty(); }
    bool hasTemplateFilter() const { return !templateLabel.isEmpty(); }

    static const HistoryFamily &cheque();
    static const HistoryFamily &depositSlip();
    static const HistoryFamily &cashSlip();
    static const HistoryFamily &waybill();
    static QList<const HistoryFamily *> all();
    // By family word (支票) or history command; null for anything else.
    static const HistoryFamily *find(const QString &familyOrCommand);
};

// The history tables' key column and the waybill's own columns.
namespace HistoryColumn {
inline const QString Serial = QStringLiteral("流水号");
inline const QString TemplateName = QStringLiteral("模板种类");
inline const QString Status = QStringLiteral("票据状态");
inline const QString WaybillNumber = QStringLiteral("快递单号");
inline const QString Remark = QStringLiteral("备注");
} // namespace HistoryColumn

} // namespace billprint
