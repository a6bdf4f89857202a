#include "printing/ui/tfm_lock_printer.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/system_settings.h"
#include "app/ui/window_state.h"
#include "printing/print_run.h"
#include "printing/ui/bill_printer.h"
#include "printing/ui/tfrm_printer_param.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace billprint {

TfmLockPrinter::TfmLockPrinter(AppContext &context, QWidget *parent) : QDialog(parent), m_ctx(context)
{
    setObjectName(QStringLiteral("fmLockPrinter"));
    setWindowTitle(QStringLiteral("固定票据打印机"));
    setModal(true);

    auto *note = new QLabel(QStringLiteral("说明：固定某个票据打印机后，所有的票据打印都会自动选用你所选定的打印机来执行"
                                           "打印任务，除非你打印前手动选择。"),
                            this);
    note->setObjectName(QStringLiteral("lbNote"));
    note->setWordWrap(true);
    m_cbPrinters = new QComboBox(this);
    m_cbPrinters->setObjectName(QStringLiteral("cbPrinters"));
    m_cbPrinters->setMinimumWidth(260);
    m_lbCurrent = new QLabel(this);
    m_lbCurrent->setObjectName(QStringLiteral("lbCurrent"));
    m_btLock = new QPushButton(QStringLiteral("锁定该打印机为票据打印机"), this);
    m_btLock->setObjectName(QStringLiteral("btLock"));
    m_btLock->setAutoDefault(false);
    m_btAdapt = new QPushButton(QStringLiteral("适配打印机整体偏移参数"), this);
    m_btAdapt->setObjectName(QStringLiteral("btAdapt"));
    m_btAdapt->setAutoDefault(false);
    auto *btClose = new QPushButton(QStringLiteral("关闭"), this);
    btClose->setObjectName(QStringLiteral("btClose"));
    btClose->setAutoDefault(false);

    auto *choice = new QHBoxLayout;
    choice->addWidget(new QLabel(QStringLiteral("票据打印机："), this));
    choice->addWidget(m_cbPrinters, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_btLock);
    buttons->addWidget(m_btAdapt);
    buttons->addStretch();
    buttons->addWidget(btClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(m_lbCurrent);
    layout->addWidget(note);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(520, 200);

    m_cbPrinters->addItems(m_ctx.printerNames);
    const QString locked = m_ctx.settings().getConfigByname(SettingKey::DefaultPrinter);
    m_cbPrinters->setCurrentIndex(m_ctx.printerNames.indexOf(locked));  // exact name, else none
    if (!requireInstalledPrinter(m_ctx))
        m_btAdapt->setEnabled(false);
    showCurrentPrinter();
    choiceChanged();

    connect(m_cbPrinters, &QComboBox::currentIndexChanged, this, &TfmLockPrinter::choiceChanged);
    connect(m_btLock, &QPushButton::clicked, this, &TfmLockPrinter::lockChosenPrinter);
    connect(m_btAdapt, &QPushButton::clicked, this, &TfmLockPrinter::adaptChosenPrinter);
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);
}

void TfmLockPrinter::choiceChanged()
{
    m_btLock->setEnabled(!m_cbPrinters->currentText().isEmpty());
}

void TfmLockPrinter::showCurrentPrinter()
{
    QString text;
    if (m_ctx.printerNames.isEmpty())
        text = QStringLiteral("没有检测到打印机：请在系统中添加打印机后重新打开软件。");
    else if (BillPrinter::selectedName().isEmpty())
        text = QStringLiteral("当前票据打印机：系统默认打印机");
    else
        text = QStringLiteral("当前票据打印机：") + BillPrinter::selectedName();
    m_lbCurrent->setText(text);
    m_lbCurrent->setStyleSheet(m_ctx.printerNames.isEmpty() ? QStringLiteral("color: #b00000;") : QString());
}

bool TfmLockPrinter::lockChosenPrinter()
{
    const QString chosen = m_cbPrinters->currentText();
    if (chosen.trimmed().isEmpty()) {
        tell(QStringLiteral("请选择票据打印机！"));
        return false;
    }
    QString error;
    if (!m_ctx.settings().setConfigByname(SettingKey::DefaultPrinter, chosen, &error)) {
        tell(QStringLiteral("默认票据打印机设置失败！\n") + error, QStringLiteral("错误"), AlertIcon::Error);
        return false;
    }
    setDefaultPrinter(m_ctx, chosen);
    showCurrentPrinter();
    tell(QStringLiteral("默认票据打印机设置成功！"));
    return true;
}

void TfmLockPrinter::adaptChosenPrinter()
{
    const QString chosen = m_cbPrinters->currentText();
    if (chosen.trimmed().isEmpty()) {
        tell(QStringLiteral("请选择要固定的票据打印机！"));
        return;
    }
    TfrmPrinterParam adaptation(m_ctx, chosen, this);
    adaptation.exec();
    close();
}

void TfmLockPrinter::showEvent(QShowEvent *event)
{
    if (!m_sizeRestored) {
        FormFaceLoad(m_ctx.config(), this);
        m_sizeRestored = true;
    }
    QDialog::showEvent(event);
}

void TfmLockPrinter::done(int result)
{
    FormFaceSave(m_ctx.config(), this);
    QDialog::done(result);
    // Back to the main window, which a printer dialog may have covered.
    if (QWidget *main = parentWidget()) {
        main->raise();
        main->activateWindow();
    }
}

} // namespace billprint
