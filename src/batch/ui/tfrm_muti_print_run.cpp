// The batch print list window's print run: every listed or selected row
// through the waybill window, one page a row in one print job, with a
// progress dialog that can stop it.
#include "batch/ui/tfrm_muti_print.h"

#include "app/alert.h"
#include "batch/ui/batch_print_run.h"
#include "bills/ui/tfm_check_kdd.h"
#include "printing/form_picture.h"
#include "printing/preview_print_output.h"
#include "printing/ui/print_preview_dialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>

namespace billprint {

// ---- Printing ---------------------------------------------------------------

bool TfrmMutiPrint::SendToCheckByID(int id)
{
    if (!m_waybill)
        return false;
    BatchPrintRun run(*m_waybill, m_list, visibleColumns());
    m_waybill->setLoading(true);
    const bool sent = run.SendToCheckByID(id);
    m_waybill->setLoading(false);
    return sent;
}

void TfrmMutiPrint::preview()
{
    if (rowCount() == 0 || !m_waybill)
        return;
    if (SendToCheckByID(listedIds().value(0)))
        close();
}

PrintPreviewDialog *TfrmMutiPrint::printPreview()
{
    if (!m_waybill || m_printing || rowCount() == 0)
        return nullptr;
    const bool selection = !selectedIds().isEmpty();
    const QList<int> rows = selection ? selectedIds() : listedIds();
    const QList<int> shown = rows.mid(0, PreviewPages);

    const std::unique_ptr<PreviewPrintOutput> output = m_waybill->makePreviewOutput();
    BatchPrintRun run(*m_waybill, m_list, visibleColumns());
    int pages = 0;
    m_waybill->printThrough(*output, [&] { pages = run.print(shown, true); });
    if (pages == 0) {
        if (!run.problem().isEmpty())
            tell(run.problem(), QStringLiteral("错误"), AlertIcon::Error);
        return nullptr;
    }
    PrintPreview preview = output->takePreview();
    preview.form = templateFormPicture(m_ctx, m_waybill->checkTypeId());
    QString title = m_waybill->templateListText();
    if (rows.size() > shown.size())
        title += QStringLiteral("（共%1张，预览前%2张）").arg(rows.size()).arg(shown.size());
    return openPrintPreview(std::move(preview), title, this, [this, selection] {
        if (selection)
            printSelected();
        else
            printListed();
    });
}

int TfrmMutiPrint::printListed()
{
    return runPrint(listedIds(), true);
}

int TfrmMutiPrint::printSelected()
{
    // Like the whole list, a selection is printed only when the printer is
    // ready: filling the waybill row by row for nothing would only look
    // like printing.
    return runPrint(selectedIds(), true);
}

void TfrmMutiPrint::stopPrinting()
{
    m_stopRequested = true;
}

bool TfrmMutiPrint::senderMissing() const
{
    // With "仅打印收件方" the sender is not printed, so it may be empty.
    if (const QCheckBox *receiverOnly = m_waybill->option(QStringLiteral("ckPrintSJROnly"));
        receiverOnly && receiverOnly->isChecked())
        return false;
    for (const char *field : {"zdHKR", "zdHKRLXR", "zdHkrDZ", "zdhkrDH", "hkrHandset"}) {
        if (!m_waybill->fieldText(QString::fromUtf8(field)).trimmed().isEmpty())
            return false;
    }
    return true;
}

int TfrmMutiPrint::runPrint(const QList<int> &ids, bool needReady)
{
    if (!m_waybill || ids.isEmpty() || m_printing)
        return 0;
    // Every page gets the sender the waybill shows: one forgotten would
    // be missing on the whole batch.
    if (senderMissing()
        && !askYesNo(QStringLiteral("发件人为空（寄件单位、联系人、地址、电话都没有填写），批量打印的%1张快递单都将没有发件人。"
                                    "确定要继续打印吗？")
                         .arg(ids.size())))
        return 0;
    m_printing = true;
    m_stopRequested = false;
    QPushButton *print = button(QStringLiteral("btPrint"));
    print->setEnabled(false);
    m_grid->setEnabled(false);

    QProgressDialog progress(QStringLiteral("正在批量打印，共%1条…").arg(ids.size()), QStringLiteral("停止"), 0,
                             int(ids.size()), this);
    progress.setObjectName(QStringLiteral("dlgBatchProgress"));
    progress.setWindowTitle(QStringLiteral("批量打印"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(0);
    connect(&progress, &QProgressDialog::canceled, this, &TfrmMutiPrint::stopPrinting);
    m_progress = &progress;
    progress.show();

    BatchPrintRun run(*m_waybill, m_list, visibleColumns());
    run.setProgress([this, &progress](int done, int total) {
        progress.setValue(done);
        progress.setLabelText(QStringLiteral("正在批量打印：已打印 %1 / %2 张").arg(done).arg(total));
        emit printProgress(done, total);
        QCoreApplication::processEvents();
        return !m_stopRequested;
    });
    const int pages = run.print(ids, needReady);
    progress.close();
    m_progress = nullptr;

    m_grid->setEnabled(true);
    m_printing = false;
    updateCounts();
    tellPrintOutcome(run, pages);
    return pages;
}

void TfrmMutiPrint::tellPrintOutcome(const BatchPrintRun &run, int pages)
{
    const QString stoppedText = QStringLiteral("已停止批量打印，共打印了%1张。").arg(pages);
    if (!run.problem().isEmpty())
        tell(run.problem() + QLatin1Char('\n') + stoppedText, QStringLiteral("错误"), AlertIcon::Error);
    else if (run.failed())
        return;  // the print run told why the document did not go out
    else if (run.stopped())
        tell(stoppedText);
    else if (pages > 0)
        tell(QStringLiteral("批量打印完成，共 %1 张").arg(pages));
}

} // namespace billprint
