#include "history/history_family.h"

namespace billprint {

namespace {

const QString kOwnUnit = QStringLiteral("我方单位");
const QString kCounterparty = QStringLiteral("往来单位");

PartyFilterField payeeFilter()
{
    return {QStringLiteral("收款单位："), {QStringLiteral("收款人全称")}, kCounterparty,
            QStringLiteral("选择收款单位"), PartyFill::FullName};
}

// What the three money bills share; the waybill differs in nearly all.
HistoryFamily moneyBill(const BillFamilyInfo &bill, const QString &code, const QString &title,
                        const QString &exportName)
{
    HistoryFamily f;
    f.bill = &bill;
    f.windowClass = QStringLiteral("TfmSearch_") + code;
    f.windowName = QStringLiteral("fmSearch_") + code;
    f.title = title;
    f.doubleClickKey = code + QStringLiteral("View_DBLOPEN");
    f.exportName = exportName;
    f.numberLabel = QStringLiteral("票据编号：");
    f.numberColumn = QStringLiteral("票据编号");
    f.secondParty = payeeFilter();
    f.dateLabel = QStringLiteral("开票日期：");
    f.dateColumn = QStringLiteral("出票日期");
    f.amountColumn = QStringLiteral("金额");
    f.sumColumn = QStringLiteral("金额");
    f.sumLabel = QStringLiteral("金额汇总:￥");
    f.order = HistoryOrderRule::AlwaysDescending;
    return f;
}

} // namespace

const HistoryFamily &HistoryFamily::cheque()
{
    static const HistoryFamily f = [] {
        HistoryFamily c = moneyBill(BillFamilyInfo::cheque(), QStringLiteral("ZP"), QStringLiteral("支票查询"),
                                    QStringLiteral("支票历史开票"));
        c.firstParty = {QStringLiteral("出票帐号："), {QStringLiteral("出票人账号")}, kOwnUnit,
                        QStringLiteral("选择支票账户"), PartyFill::Account};
        c.order = HistoryOrderRule::FlipOnEveryRun;
        c.chequeCommands = true;
        return c;
    }();
    return f;
}

const HistoryFamily &HistoryFamily::depositSlip()
{
    static const HistoryFamily f = [] {
        HistoryFamily d = moneyBill(BillFamilyInfo::depositSlip(), QStringLiteral("JZD"),
                                    QStringLiteral("进账单查询"), QStringLiteral("进账单历史开票"));
        d.firstParty = {QStringLiteral("出票单位："), {QStringLiteral("出票人全称")}, kOwnUnit,
                        QStringLiteral("选择出票单位"), PartyFill::FullName};
        return d;
    }();
    return f;
}

const HistoryFamily &HistoryFamily::cashSlip()
{
    static const HistoryFamily f = moneyBill(BillFamilyInfo::cashSlip(), QStringLiteral("JKD"),
                                             QStringLiteral("现金缴款单查询"), QStringLiteral("缴款单历史开票"));
    return f;
}

const HistoryFamily &HistoryFamily::waybill()
{
    static const HistoryFamily f = [] {
        HistoryFamily w;
        w.bill = &BillFamilyInfo::waybill();
        w.windowClass = QStringLiteral("TfmSearch_KDD");
        w.windowName = QStringLiteral("fmSearch_KDD");
        w.title = QStringLiteral("快递单查询");
        w.doubleClickKey = QStringLiteral("KDDView_DBLOPEN");
        w.exportName = QStringLiteral("快递单历史开票");
        w.numberLabel = QStringLiteral("快递单号：");
        w.numberColumn = HistoryColumn::WaybillNumber;
        // The sender is normally one of our own units, the receiver a
        // counterparty; each "选" fills the box beside it.
        w.firstParty = {QStringLiteral("寄件人或单位："), {QStringLiteral("寄件单位"), QStringLiteral("寄件联系人")},
                        kOwnUnit, QStringLiteral("选择寄件单位"), PartyFill::FullNameOrContact};
        w.secondParty = {QStringLiteral("收件人或单位："), {QStringLiteral("收件单位"), QStringLiteral("收件联系人")},
                         kCounterparty, QStringLiteral("选择收件单位"), PartyFill::FullNameOrContact};
        w.dateLabel = QStringLiteral("寄件日期：");
        w.dateColumn = QStringLiteral("寄件日期");
        w.templateLabel = QStringLiteral("模板种类：");
        w.sumColumn = QStringLiteral("总费用");
        w.sumLabel = QStringLiteral("总费用汇总:￥");
        w.order = HistoryOrderRule::AlwaysDescending;
        w.waybillCommands = true;
        return w;
    }();
    return f;
}

QList<const HistoryFamily *> HistoryFamily::all()
{
    return {&cheque(), &depositSlip(), &cashSlip(), &waybill()};
}

const HistoryFamily *HistoryFamily::find(const QString &familyOrCommand)
{
    for (const HistoryFamily *f : all())
        if (f->family() == familyOrCommand || f->bill->historyCommand == familyOrCommand)
            return f;
    return nullptr;
}

} // namespace billprint
