// The batch print list window's list: the rows the filter bar asks for,
// their counts and IDs, selecting and moving, adding and deleting
// receivers and rewriting a column of every row.
#include "batch/ui/tfrm_muti_print.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/ui/grid_helpers.h"
#include "app/ui/tfrm_export_excel.h"
#include "batch/receiver_person.h"
#include "batch/ui/batch_list_host.h"
#include "batch/ui/column_rewrite_panel.h"
#include "batch/ui/tfrm_pick_units.h"
#include "bills/ui/tfm_check_kdd.h"
#include "app/ui/tfrm_input_value.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <algorithm>

namespace billprint {

namespace {

const QString kTable = QStringLiteral("ReceiverList");
const QString kKey = QStringLiteral("ID");
const QString kLaterVersion = QStringLiteral("该功能将在后续版本提供");

int defaultColumnWidth(const QString &column)
{
    static const QHash<QString, int> widths = {
        {QStringLiteral("ID"), 46},    {QStringLiteral("全称"), 180}, {QStringLiteral("联系人"), 70},
        {QStringLiteral("电话"), 105}, {QStringLiteral("手机"), 105}, {QStringLiteral("国家"), 50},
        {QStringLiteral("省"), 60},    {QStringLiteral("市"), 70},    {QStringLiteral("镇区"), 70},
        {QStringLiteral("地址"), 230}, {QStringLiteral("邮编"), 60},  {QStringLiteral("内件说明"), 110},
        {QStringLiteral("备注"), 110},
    };
    return widths.value(column, 70);
}

} // namespace

// ---- Listing ----------------------------------------------------------------

ReceiverQuery TfrmMutiPrint::currentQuery() const
{
    ReceiverQuery q;
    q.key = m_edtKey->text().trimmed();
    if (!q.key.isEmpty() && !m_cbFilter->currentText().isEmpty())
        q.filterColumns = m_cbFilter->currentText().split(QLatin1Char('|'), Qt::SkipEmptyParts);
    q.equals = m_cbMode->currentText() == QStringLiteral("等于");
    q.orderColumn = m_cbOrder->currentIndex() >= 0 ? m_cbOrder->currentText() : QString();
    q.descending = m_ckDescending->isChecked();
    return q;
}

void TfrmMutiPrint::refresh()
{
    m_edtListed->setText(QStringLiteral("0"));
    m_edtSelected->setText(QStringLiteral("0"));
    QString sql;
    QVariantList values;
    QString error;
    if (m_list.buildSelect(currentQuery(), &sql, &values, &error)) {
        QSqlQuery query = m_ctx.db().prepare(sql);
        for (const QVariant &v : values)
            query.addBindValue(v);
        if (query.exec()) {
            m_model->setQuery(std::move(query));
            fetchAllRows(m_model);
        } else {
            error = query.lastError().text();
        }
    }
    if (!error.isEmpty()) {
        m_model->clear();
        tell(QStringLiteral("查询失败：") + error, QStringLiteral("错误"), AlertIcon::Error);
    }
    restoreColumnWidths();
    fillFilterList();
    fillOrderList();
    updateCounts();
}

void TfrmMutiPrint::listAll()
{
    m_edtKey->clear();
    refresh();
}

void TfrmMutiPrint::fillFilterList()
{
    if (m_cbFilter->count() > 2 || !gridIsOpen(m_grid))
        return;
    m_cbFilter->clear();
    m_cbFilter->addItems(ReceiverList::combinedFilters());
    for (int column = 1; column < m_model->columnCount(); ++column)
        m_cbFilter->addItem(gridFieldName(m_model, column));
    m_cbFilter->setCurrentIndex(0);
}

void TfrmMutiPrint::fillOrderList()
{
    if (m_cbOrder->count() > 0)
        return;
    m_cbOrder->addItems(m_list.columns());
    m_cbOrder->setCurrentIndex(-1);
}

void TfrmMutiPrint::restoreColumnWidths()
{
    if (!gridIsOpen(m_grid))
        return;
    IniFile &config = m_ctx.config();
    if (config.hasKey(objectName().toUpper(), m_grid->objectName().toUpper() + QStringLiteral(".W0"))) {
        GridColsWidthLoad(config, m_grid, objectName());
        return;
    }
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const QString name = gridFieldName(m_model, column);
        // Rows of a batch group never show here; the column says nothing.
        m_grid->setColumnHidden(column, name == QStringLiteral("批打分组"));
        m_grid->setColumnWidth(column, defaultColumnWidth(name));
    }
}

void TfrmMutiPrint::updateCounts()
{
    const int rows = rowCount();
    m_edtListed->setText(QString::number(rows));
    m_edtSelected->setText(QString::number(rows > 0 ? selectedIds().size() : 0));
    button(QStringLiteral("btPrint"))->setEnabled(rows > 0 && !m_printing);
    button(QStringLiteral("btPrintPreview"))->setEnabled(rows > 0 && !m_printing);
}

int TfrmMutiPrint::rowCount() const
{
    return m_model->rowCount();
}

QList<int> TfrmMutiPrint::listedIds() const
{
    QList<int> ids;
    const int column = gridColumnByName(m_model, kKey);
    if (column < 0)
        return ids;
    for (int row = 0; row < rowCount(); ++row)
        ids << m_model->index(row, column).data().toInt();
    return ids;
}

QList<int> TfrmMutiPrint::selectedIds() const
{
    const int column = gridColumnByName(m_model, kKey);
    if (column < 0)
        return {};
    QList<int> ids;
    for (int row : gridSelectedRows(m_grid))
        ids << m_model->index(row, column).data().toInt();
    return ids;
}

QSet<QString> TfrmMutiPrint::visibleColumns() const
{
    QSet<QString> names;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        if (!m_grid->isColumnHidden(column) && m_grid->columnWidth(column) > 0)
            names.insert(gridFieldName(m_model, column));
    }
    return names;
}

bool TfrmMutiPrint::listLocked() const
{
    return m_printing || !m_grid->isEnabled();
}

// ---- Selection and moving ---------------------------------------------------

void TfrmMutiPrint::selectFirstN()
{
    if (rowCount() == 0)
        return;
    const BatchListHost &host = batchListHost();
    const QString answer = host.askValue ? host.askValue(QStringLiteral("输入重复打印的张数"), QStringLiteral("1"), this)
                                         : giveMeAnValue(QStringLiteral("输入重复打印的张数"), QStringLiteral("1"),
                                                         QStringLiteral("INT"), this);
    if (answer.isEmpty())
        return;
    bool ok = false;
    const int n = answer.trimmed().toInt(&ok);
    if (!ok) {
        tell(QStringLiteral("输入错误的数字！"));
        return;
    }
    m_grid->clearSelection();
    const int last = std::min(n, rowCount()) - 1;
    if (last < 0)
        return;
    const QItemSelection rows(m_model->index(0, 0), m_model->index(last, m_model->columnCount() - 1));
    m_grid->selectionModel()->select(rows, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void TfrmMutiPrint::goFirst()
{
    if (rowCount() == 0)
        return;
    m_grid->selectionModel()->setCurrentIndex(m_model->index(0, 1),
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_grid->scrollToTop();
}

void TfrmMutiPrint::goLast()
{
    if (rowCount() == 0)
        return;
    const QModelIndex last = m_model->index(rowCount() - 1, 1);
    m_grid->selectionModel()->setCurrentIndex(last, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_grid->scrollTo(last);
}

// ---- Changing the list ------------------------------------------------------

bool TfrmMutiPrint::addReceiverAndGoods(const TPersonKDD &receiver)
{
    if (!receiverWorthAdding(receiver))
        return true;
    QString error;
    if (m_list.add(receiverRowValues(receiver), &error) == 0) {
        tell(QStringLiteral("添加失败！") + (error.isEmpty() ? QString() : QLatin1Char('\n') + error),
             QStringLiteral("提示"), AlertIcon::Error);
        return false;
    }
    refresh();
    return true;
}

void TfrmMutiPrint::pickFromAddressBook()
{
    if (listLocked())
        return;
    const BatchListHost &host = batchListHost();
    addUnits(host.pickUnits ? host.pickUnits(this) : TfrmPickUnits::pick(m_ctx, this));
}

void TfrmMutiPrint::addUnits(const QList<int> &unitIds)
{
    if (unitIds.isEmpty())
        return;
    QList<QList<QPair<QString, QString>>> rows;
    TPersonKDD receiver;
    for (int id : unitIds) {
        receiver.reset();
        receiver.setId(id);
        if (receiver.loadById(m_ctx.db(), id) != PersonLoad::Loaded)
            continue;  // deleted from the book meanwhile
        receiver.setGroup(QString());
        if (receiverWorthAdding(receiver))
            rows << receiverRowValues(receiver);
    }
    QString error;
    if (!m_list.addAll(rows, &error))
        tell(QStringLiteral("添加失败！") + (error.isEmpty() ? QString() : QLatin1Char('\n') + error),
             QStringLiteral("提示"), AlertIcon::Error);
    refresh();
}

void TfrmMutiPrint::clearAll()
{
    if (listLocked())
        return;
    if (!askYesNo(QStringLiteral("提示：确认要【清空系统所有列表】的收件人吗？清除后流水ID后会重置，清除操作将无法恢复！")))
        return;
    QString error;
    if (!m_list.clear(&error))
        tell(QStringLiteral("清空失败！") + (error.isEmpty() ? QString() : QLatin1Char('\n') + error),
             QStringLiteral("确认"), AlertIcon::Error);
    refresh();
}

void TfrmMutiPrint::exportListed()
{
    ExportGrid2Excel(m_ctx, m_grid, QStringLiteral("批量打印导出Excel"), this);
}

void TfrmMutiPrint::deleteListed()
{
    if (listLocked() || rowCount() == 0)
        return;
    GridDeleteCurrentList(m_ctx.db(), m_grid, kTable, kKey);
    refresh();
}

void TfrmMutiPrint::deleteSelected()
{
    if (listLocked())
        return;
    if (GridSelectedDelete(m_ctx.db(), m_grid, kTable, QStringLiteral("收件条目"), QStringLiteral("Numeric"), kKey) != 0)
        refresh();
}

void TfrmMutiPrint::openImport()
{
    openAddingWindow(batchListHost().openImport);
}

void TfrmMutiPrint::openAddressParser()
{
    openAddingWindow(batchListHost().openAddressParser);
}

void TfrmMutiPrint::openAddingWindow(const std::function<void(TfrmMutiPrint &)> &open)
{
    if (listLocked())
        return;
    if (!open) {
        tell(kLaterVersion);
        return;
    }
    open(*this);
    refresh();
}

// ---- Column rewrite ---------------------------------------------------------

void TfrmMutiPrint::toggleRewritePanel()
{
    if (m_rewritePanel->isVisibleTo(this)) {
        hideRewritePanel();
        return;
    }
    if (!gridIsOpen(m_grid)) {
        tell(QStringLiteral("列表为空，没法儿修改，加点批打收件人资料再试吧 :)"));
        return;
    }
    m_rewritePanel->offerColumns(m_list.columns(), kKey);
    m_rewritePanel->show();
    if (isVisible())
        showMaximized();
}

void TfrmMutiPrint::hideRewritePanel()
{
    m_rewritePanel->hide();
}



void TfrmMutiPrint::applyRewrite()
{
    if (listLocked())
        return;
    const ColumnRewrite rewrite = m_rewritePanel->request();
    const bool allEmpty = std::all_of(std::begin(rewrite.parts), std::end(rewrite.parts),
                                      [](const QString &part) { return part.isEmpty(); });
    if (rewrite.target.isEmpty()) {
        tell(QStringLiteral("请选择要批量改写列~"));
        return;
    }
    const QString target = QString(rewrite.target).remove(QLatin1Char('@'));
    if (allEmpty && !askYesNo(QStringLiteral("你确信要置空所有的[") + target + QStringLiteral("]列吗？")))
        return;
    int changed = 0;
    QString error;
    const bool ok = m_list.rewrite(rewrite, &changed, &error);
    refresh();
    if (ok && changed > 0)
        tell(QString::number(changed) + QStringLiteral("条收件人的【") + target + QStringLiteral("】修改成功！"));
    else
        tell(QStringLiteral("没有修改任何记录或修改失败~") + (error.isEmpty() ? QString() : QLatin1Char('\n') + error));
    hideRewritePanel();
}

} // namespace billprint
