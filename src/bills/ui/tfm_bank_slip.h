// What the two bank slips (deposit slip and cash payment slip) share
// beyond the bill window: a payee with bank and account, the options
// "大写日期", "大写带人民币" and "2位年", the two-digit year, the bank
// found for a chosen account and storing the payee with its account.
#pragma once

#include "bills/ui/tfm_bill_base.h"

namespace billprint {

class TfmBankSlip : public TfmBillBase
{
    Q_OBJECT
public:
    void setInBank(const QString &text);
    void setInBankAcct(const QString &text);
    // Name, bank and account of the payee from an address-book record;
    // none empties the three.
    void setReceiver(const std::optional<TPerson> &person) override;
    // A unit chosen in the address book fills the payee; closing the
    // chooser without a choice leaves the payee as it is.
    void pickReceiver() override;
    void renderDate() override;
    void updateCaption(const QString &tag = QString()) override;
    // "存收款人": the payee with its bank and account.
    void savePayeeAccount();
    // A chosen account (`zdInBankAcct` or `zdOutBankAcct`): its bank from
    // the address book.
    void accountChosen(const QString &accountField);

protected:
    TfmBankSlip(AppContext &context, const BillFamilyInfo &family, const BillWindowHost &host, QWidget *parent);

    void addSlipOptions(bool withDrawer);
    // Connections that must run after the shared ones of openWindow().
    void finishSlip();
    // A typed payee name found in the address book.
    virtual void payeeNameTyped(const QString &name) = 0;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool newBillClearsAmount() const override { return false; }
    bool copyKeepsBillNumber() const override { return true; }
    QString unsavedCopyMessage() const override { return QStringLiteral("未保存单据不需要复制即为一张新单！"); }
    // The party whose account list a field refills when it is left.
    void refillAccounts(const QString &nameField, const QString &accountField);

    bool m_fillingParty = false;  // a party is being set, not typed
};

} // namespace billprint
