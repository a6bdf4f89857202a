// The deposit slip window: the bill window for the family 进账单, with
// drawer and payee (each with bank and account), the kind, count and
// number of the bills paid in, the slip number and a stub (回单) that
// repeats every value, the digit boxes included. It swaps drawer and
// payee on request and turns itself into a cheque ("转为支票").
#pragma once

#include "bills/ui/tfm_bank_slip.h"

namespace billprint {

class TfmCheckJZD : public TfmBankSlip
{
    Q_OBJECT
public:
    TfmCheckJZD(AppContext &context, const BillWindowHost &host = {}, QWidget *parent = nullptr);

    void setPJZShu(const QString &text);
    void setPJZLei(const QString &text);
    void setPJHMa(const QString &text);
    void setSender(const std::optional<TPerson> &person) override;
    // A unit chosen in the address book fills the drawer; closing the
    // chooser without a choice leaves the drawer as it is.
    void pickSender() override;
    // "交换收款单位和出票单位": what each side shows (name, bank, account and
    // their stub copies) goes to the other side; swapping twice gives back
    // exactly what was shown.
    void swapParties();
    // "转为支票": a cheque with this slip's values.
    void convertToCheque();

protected:
    void writeColumns(BillRecord &record) const override;
    void readColumns(const BillRecord &record) override;
    void fillListOnEntry(const QString &name) override;
    QStringList suppressedFields(const QString &option) const override;
    void payeeNameTyped(const QString &name) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    QString senderPickCaption() const override { return QStringLiteral("选取出票人"); }

private:
    void buildFields();
    // `zd` field and its stub copy `cg`, which follows every change.
    void addWithStub(QWidget *main, const QString &suffix);
    void drawerTyped(const QString &text);

    // The drawer was left empty by a swap of a payee that showed its
    // starting text.
    bool m_drawerEmptiedByStartText = false;
};

} // namespace billprint
