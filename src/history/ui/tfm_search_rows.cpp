// The history window's row commands: opening a bill in its entry window,
// deleting, exporting, the grid's columns, and the cheque's and the
// waybill's own commands.
#include "history/ui/tfm_search_base.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/ui/grid_helpers.h"
#include "app/ui/tfrm_export_excel.h"
#include "bills/bill_record.h"
#include "bills/ui/tfm_bill_base.h"
#include "history/history_list_model.h"
#include "history/ui/number_recording_panel.h"
#include "app/web_info.h"

#include <QItemSelectionModel>
#include <algorithm>
#include <QPushButton>
#include <QTableView>
#include <QUrl>

namespace billprint {

namespace {

const QString kOpenCaption = QStringLiteral("查看历史单据");
const QString kFailed = QStringLiteral("失败");

} // namespace

int TfmSearchBase::currentRow() const
{
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() ? current.row() : 0;
}

void TfmSearchBase::selectRows(const QList<int> &rows)
{
    QItemSelectionModel *selection = m_grid->selectionModel();
    for (int row : rows) {
        const QModelIndex index = m_model->index(row, 0);
        selection->setCurrentIndex(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

bool TfmSearchBase::otherWindowsOpen() const
{
    const QStringList open = m_host.openWindows();
    if (open.contains(m_family.family()))
        return false;  // the family's own window takes the bill beside the others
    return std::any_of(open.cbegin(), open.cend(), [this](const QString &f) { return f != m_family.family(); });
}

bool TfmSearchBase::closeOtherWindowsFirst()
{
    if (!otherWindowsOpen())
        return true;
    if (!alert(QStringLiteral("自动关闭已打开的单据吗？"), kOpenCaption, true)) {
        tell(QStringLiteral("请先关闭正在编辑的单据模块！"), kOpenCaption);
        return false;
    }
    m_host.closeAllBillWindows();
    // A window whose bill could not be saved stays open (it said why).
    return !otherWindowsOpen();
}

bool TfmSearchBase::keepTypedBill(TfmBillBase &window)
{
    if (!window.hasUnsavedBill()
        || !askYesNo(m_family.bill->closeQuestion, kOpenCaption))
        return true;
    return window.save() != BillSaveResult::Failed;
}

void TfmSearchBase::openCurrentRow()
{
    if (m_model->rowCount() == 0)
        return;
    const int row = currentRow();
    const int serial = m_model->serialAt(row);
    const QString templateName = m_model->textAt(row, HistoryColumn::TemplateName);
    if (!closeOtherWindowsFirst())
        return;
    TfmBillBase *window = m_host.openBillWindow(m_family.family());
    if (!window) {
        tell(m_family.family() + QStringLiteral("填开窗口无法打开！"), QStringLiteral("提示"), AlertIcon::Warning);
        return;
    }
    // The stored bill replaces what the window shows: a bill typed there
    // and not saved yet is offered for saving first.
    if (!keepTypedBill(*window))
        return;
    window->BrowseOldCheck(templateName, QString::number(serial));
    accept();
}

void TfmSearchBase::deleteSelected()
{
    GridSelectedDelete(m_ctx.db(), m_grid, m_family.table(), m_family.family(), QStringLiteral("Numeric"),
                       HistoryColumn::Serial);
    refresh();
}

void TfmSearchBase::deleteListed()
{
    if (GridDeleteCurrentList(m_ctx.db(), m_grid, m_family.table(), HistoryColumn::Serial) != 0)
        refresh();
}

void TfmSearchBase::clearAllRows()
{
    if (!alert(QStringLiteral("清空操作将删除所有保存的历史开票数据，确定要清空吗？"), QStringLiteral("确认"), true))
        return;
    QString error;
    const int deleted = HistoryStore(m_ctx.db(), m_family).clearAll(&error);
    if (deleted < 0) {
        tell(QStringLiteral("清空失败！") + error, QStringLiteral("确认"), AlertIcon::Error);
        return;
    }
    tell(QStringLiteral("清空成功！共删除") + QString::number(deleted) + QStringLiteral("条记录"));
    refresh();
    if (QPushButton *b = button(QStringLiteral("清空所有(&Y)")))
        b->setEnabled(false);
}

void TfmSearchBase::exportList()
{
    ExportGrid2Excel(m_ctx, m_grid, m_family.exportName + today().toString(QStringLiteral("yyyy-MM-dd")), this);
}

void TfmSearchBase::rememberColumnWidths()
{
    GridColsWidthSave(m_ctx.config(), m_grid, m_family.windowName);
}

void TfmSearchBase::chooseColumns()
{
    GridColsConfigration(m_ctx.config(), m_grid, m_family.windowName, this);
}

// ---- The cheque -------------------------------------------------------------

void TfmSearchBase::voidSelected()
{
    QString list;
    if (GridSelectedFetch(m_grid, HistoryColumn::Serial, list, QStringLiteral("Numeric")) == 0) {
        tell(QStringLiteral("没有点中要作废的票据!（按住ctrl+点击，可多选哦）"));
        return;
    }
    const QVariantList serials = GridSelectedValues(m_grid, HistoryColumn::Serial, QStringLiteral("Numeric"));
    QString error;
    const int voided = HistoryStore(m_ctx.db(), m_family).voidBills(serials, &error);
    if (voided < 0) {
        tell(QStringLiteral("错误,Error=") + error, kFailed, AlertIcon::Error);
        return;
    }
    refresh();
    tell(QStringLiteral("成功作废") + QString::number(voided) + QStringLiteral("条记录！"));
}

int TfmSearchBase::changeCurrentText(const QString &prompt, const QString &column)
{
    if (m_model->rowCount() == 0)
        return 0;
    const int row = currentRow();
    const int serial = m_model->serialAt(row);
    if (serial <= 0)
        return 0;
    const QString answer = m_host.askValue(prompt, m_model->textAt(row, column), this);
    if (answer.isEmpty())
        return 0;
    QString error;
    const int changed = HistoryStore(m_ctx.db(), m_family).setText(serial, column, answer, &error);
    if (changed < 0) {
        tell(QStringLiteral("修改失败！") + error, kFailed, AlertIcon::Error);
        return -1;
    }
    refresh();
    return changed;
}

void TfmSearchBase::renumberCurrent()
{
    if (changeCurrentText(QStringLiteral("输入新的票据编号"), BillColumn::Number) > 0)
        tell(QStringLiteral("成功修改票据编号."));
}

void TfmSearchBase::showNumberRecording(bool shown)
{
    if (m_recording)
        m_recording->setVisible(shown);
}

void TfmSearchBase::numbersRecorded()
{
    refresh();
    showNumberRecording(false);
}

// ---- The waybill ------------------------------------------------------------

void TfmSearchBase::fillWaybillNumber()
{
    changeCurrentText(QStringLiteral("补录,输入已发出的快递单号"), HistoryColumn::WaybillNumber);
}

void TfmSearchBase::fillWaybillRemark()
{
    changeCurrentText(QStringLiteral("补录,输入备注内容:"), HistoryColumn::Remark);
}

void TfmSearchBase::trackParcel()
{
    if (m_model->rowCount() == 0)
        return;
    const int row = currentRow();
    auto query = [](const QString &value) { return QString::fromUtf8(QUrl::toPercentEncoding(value)); };
    const QString path = QStringLiteral("/help/kddsearch.asp?typekey=")
                         + query(m_model->textAt(row, HistoryColumn::TemplateName)) + QStringLiteral("&kddno=")
                         + query(m_model->textAt(row, HistoryColumn::WaybillNumber)) + QLatin1Char('&');
    m_host.openUrl(WebLinks::fromContext(m_ctx).sitePage(path));
}

} // namespace billprint
