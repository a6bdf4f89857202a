// The cash payment slip window: the bill window for the family 缴款单,
// on which cash is paid into a payee's account. It names only the payee
// (with bank and account), the person paying in (缴款人), the purpose and
// the currency name; it has no drawer and no stub.
#pragma once

#include "bills/ui/tfm_bank_slip.h"

namespace billprint {

class TfmCheckJKD : public TfmBankSlip
{
    Q_OBJECT
public:
    TfmCheckJKD(AppContext &context, const BillWindowHost &host = {}, QWidget *parent = nullptr);

protected:
    void writeColumns(BillRecord &record) const override;
    void readColumns(const BillRecord &record) override;
    void fillListOnEntry(const QString &name) override;
    QStringList dictionaryLists() const override;
    void payeeNameTyped(const QString &name) override;
    void clearPurpose() override { setFieldText(QStringLiteral("zdYT"), QString()); }
    bool newBillClearsAmount() const override { return true; }
    QString receiverPickCaption() const override { return QStringLiteral("选取收款人帐户"); }
};

} // namespace billprint
