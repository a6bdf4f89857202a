#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace billprint {

class AppContext;

// The printer lock window (固定票据打印机): choose the installed printer
// every bill goes to, store it as the locked one, or go on to adapt the
// whole-print offsets of all templates to it.
class TfmLockPrinter : public QDialog
{
    Q_OBJECT
public:
    explicit TfmLockPrinter(AppContext &context, QWidget *parent = nullptr);

    // "锁定该打印机为票据打印机". True when the choice was stored.
    bool lockChosenPrinter();
    // "适配打印机整体偏移参数": the adaptation window for the chosen printer;
    // this window closes after it.
    void adaptChosenPrinter();

    QComboBox *printerBox() const { return m_cbPrinters; }
    QPushButton *lockButton() const { return m_btLock; }
    QPushButton *adaptButton() const { return m_btAdapt; }
    QLabel *currentPrinterLabel() const { return m_lbCurrent; }

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void choiceChanged();
    void showCurrentPrinter();

    AppContext &m_ctx;
    bool m_sizeRestored = false;
    QComboBox *m_cbPrinters = nullptr;
    QPushButton *m_btLock = nullptr;
    QPushButton *m_btAdapt = nullptr;
    QLabel *m_lbCurrent = nullptr;
};

} // namespace billprint
