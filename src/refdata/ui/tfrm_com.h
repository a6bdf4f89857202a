#pragma once

#include "refdata/currency_store.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace billprint {

class AppContext;

// The currency window (币种设置): pick a currency to see its code, add a
// currency, delete one, or change a currency's code.
class TfrmCom : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmCom(AppContext &context, QWidget *parent = nullptr);

    // Re-reads the currency names; no currency is chosen afterwards.
    void loadCoins();
    // The chosen currency; empty when none is chosen.
    QString chosenName() const;

    QComboBox *coinBox() const { return m_cbCoins; }
    QLineEdit *nameEdit() const { return m_edtName; }
    QLineEdit *codeEdit() const { return m_edtCode; }

public slots:
    void btAddClick();
    void btDeleteClick();
    void btModifyClick();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void coinChosen(int index);
    void report(const EditOutcome &outcome);

    AppContext &m_ctx;
    CurrencyStore m_store;
    QComboBox *m_cbCoins = nullptr;
    QLineEdit *m_edtName = nullptr;
    QLineEdit *m_edtCode = nullptr;
    bool m_sizeRestored = false;
};

} // namespace billprint
