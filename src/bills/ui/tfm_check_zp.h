// The cheque window: the shared bill entry window for the family 支票,
// with the cheque's own fields (drawer, paying bank and account, payee,
// purpose, payment password, cheque number), its stub copies, the two
// paying-bank print options, the cheque numbers recorded in advance, the
// guard against saving a void cheque and the conversion into a deposit
// slip.
#pragma once

#include "bills/ui/tfm_bill_base.h"

namespace billprint {

class TfmCheckZP : public TfmBillBase
{
    Q_OBJECT
public:
    TfmCheckZP(AppContext &context, const BillWindowHost &host = {}, QWidget *parent = nullptr);

    // Sets the purpose and its stub copy.
    void setYongTu(const QString &text);
    // The recorded cheque numbers still offered (票据状态 "未用").
    QStringList offeredNumbers() const;
    // Picking a recorded number: its bank, account and template come back,
    // and the next save completes that row.
    void numberPicked(const QString &number);
    // "转进账单(&T)": a deposit slip with this cheque's values.
    void convertToDepositSlip();

protected:
    void fillFamilyLists() override;
    void writeColumns(BillRecord &record) const override;
    void readColumns(const BillRecord &record) override;
    QString saveGuard(const BillRecord &stored) const override;
    void afterSave() override;
    bool skipPrintItem(const QString &name) const override;
    void clearBillNumber(bool withList = false) override;
    void clearPurpose() override;
    QString rememberCaption() const override { return QStringLiteral("【记住选项】"); }

private:
    void buildChequeFields();
    void buildChequeOptions();
    void loadNumberList();
    QComboBox *numberList() const;
};

} // namespace billprint
