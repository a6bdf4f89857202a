#include "batch/ui/tfrm_import_column_cfg.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "batch/match_column_store.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace billprint {

namespace {

QPushButton *button(QWidget *parent, const QString &objectName, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TfrmImportColumnCfg::TfrmImportColumnCfg(AppContext &context, QWidget *parent) : QDialog(parent), m_ctx(context)
{
    setObjectName(QStringLiteral("TfrmImportColumnCfg"));
    setWindowTitle(QStringLiteral("导入列匹配-设置"));
    resize(640, 480);
    auto *layout = new QVBoxLayout(this);
    m_grid = new QTableWidget(0, 4, this);
    m_grid->setObjectName(QStringLiteral("grid"));
    m_grid->setHorizontalHeaderLabels(
        {QStringLiteral("ID"), QStringLiteral("项目名"), QStringLiteral("Excel/CSV源列名"), QStringLiteral("顺序")});
    m_grid->setColumnHidden(3, true);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->hide();
    connect(m_grid, &QTableWidget::itemSelectionChanged, this, &TfrmImportColumnCfg::rowChanged);
    layout->addWidget(m_grid, 1);

    auto *form = new QFormLayout;
    m_order = new QLineEdit(this);
    m_order->setObjectName(QStringLiteral("edtOrder"));
    connect(m_order, &QLineEdit::textEdited, this, &TfrmImportColumnCfg::edtOrderChange);
    m_item = new QLineEdit(this);
    m_item->setObjectName(QStringLiteral("edtItem"));
    m_item->setReadOnly(true);
    m_source = new QLineEdit(this);
    m_source->setObjectName(QStringLiteral("edtSource"));
    form->addRow(QStringLiteral("顺序号："), m_order);
    form->addRow(QStringLiteral("项目名："), m_item);
    form->addRow(QStringLiteral("Excel、CSV对应列名："), m_source);
    form->addRow(new QLabel(QStringLiteral("提示：多个列名以逗号分隔(例如： 联系人,收货人,收件人 ) 。"), this));
    layout->addLayout(form);

    auto *buttons = new QHBoxLayout;
    QPushButton *submit = button(this, QStringLiteral("btSubmit"), QStringLiteral("提交修改"));
    QPushButton *restore = button(this, QStringLiteral("btRestore"), QStringLiteral("恢复原始设置"));
    m_add = button(this, QStringLiteral("btAdd"), QStringLiteral("添加"));
    m_delete = button(this, QStringLiteral("btDelete"), QStringLiteral("删除"));
    QPushButton *close = button(this, QStringLiteral("btClose"), QStringLiteral("关闭"));
    m_add->hide();
    m_delete->hide();
    connect(submit, &QPushButton::clicked, this, &TfrmImportColumnCfg::btSubmitClick);
    connect(restore, &QPushButton::clicked, this, &TfrmImportColumnCfg::btRestoreClick);
    connect(m_add, &QPushButton::clicked, this, &TfrmImportColumnCfg::btAddClick);
    connect(m_delete, &QPushButton::clicked, this, &TfrmImportColumnCfg::btDeleteClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(submit);
    buttons->addWidget(restore);
    buttons->addWidget(m_add);
    buttons->addWidget(m_delete);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    QString error;
    if (!MatchColumnStore(m_ctx.db()).ensureReady(&error))
        tell(error, QStringLiteral("错误"), AlertIcon::Error);
    reload();
}

void TfrmImportColumnCfg::reload(int selectId)
{
    QString error;
    const QList<MatchColumnRow> rows = MatchColumnStore(m_ctx.db()).rows(&error);
    if (!error.isEmpty())
        tell(error, QStringLiteral("错误"), AlertIcon::Error);
    QSignalBlocker block(m_grid);
    m_grid->setRowCount(int(rows.size()));
    int select = rows.isEmpty() ? -1 : 0;
    for (int r = 0; r < rows.size(); ++r) {
        const MatchColumnRow &row = rows[r];
        m_grid->setItem(r, 0, new QTableWidgetItem(QString::number(row.id)));
        m_grid->setItem(r, 1, new QTableWidgetItem(row.itemName));
        m_grid->setItem(r, 2, new QTableWidgetItem(row.sourceName));
        m_grid->setItem(r, 3, new QTableWidgetItem(QString::number(row.showOrd)));
        if (row.id == selectId)
            select = r;
    }
    m_grid->resizeColumnToContents(0);
    m_grid->resizeColumnToContents(1);
    block.unblock();
    selectRow(select);
}

void TfrmImportColumnCfg::selectRow(int row)
{
    if (row < 0 || row >= m_grid->rowCount()) {
        m_grid->clearSelection();
        rowChanged();
        return;
    }
    m_grid->selectRow(row);
    m_grid->setCurrentCell(row, 1);
    rowChanged();
}

int TfrmImportColumnCfg::currentId() const
{
    const int row = m_grid->currentRow();
    return row >= 0 && m_grid->item(row, 0) ? m_grid->item(row, 0)->text().toInt() : 0;
}

void TfrmImportColumnCfg::rowChanged()
{
    const int row = m_grid->currentRow();
    const bool any = row >= 0 && m_grid->item(row, 0);
    if (m_order->text() != QLatin1String(kServiceCode))
        m_order->setText(any ? m_grid->item(row, 3)->text() : QString());
    m_item->setText(any ? m_grid->item(row, 1)->text() : QString());
    m_source->setText(any ? m_grid->item(row, 2)->text() : QString());
}

void TfrmImportColumnCfg::edtOrderChange(const QString &text)
{
    const bool service = text.trimmed() == QLatin1String(kServiceCode);
    m_add->setVisible(service);
    m_delete->setVisible(service);
    m_item->setReadOnly(!service);
}

void TfrmImportColumnCfg::btSubmitClick()
{
    const int id = currentId();
    if (id <= 0 || m_item->text().trimmed().isEmpty())
        return;
    const MatchColumnStore store(m_ctx.db());
    if (MatchColumnStore::cleanTitleList(m_source->text()).isEmpty()) {
        tell(QStringLiteral("请输入有效的Excel/csv列名"));
        m_source->setFocus();
        return;
    }
    QString error;
    const int order = m_order->text().trimmed() == QLatin1String(kServiceCode) ? 0 : m_order->text().toInt();
    const QString item = m_item->isReadOnly() ? QString() : m_item->text();
    if (!store.save(id, item, m_source->text(), order, &error)) {
        tell(QStringLiteral("保存失败！") + error, QStringLiteral("错误"), AlertIcon::Error);
        return;
    }
    reload(id);
}

void TfrmImportColumnCfg::btRestoreClick()
{
    QString error;
    if (!MatchColumnStore(m_ctx.db()).restoreDefaults(&error)) {
        tell(error, QStringLiteral("错误"), AlertIcon::Error);
        return;
    }
    tell(QStringLiteral("重置成功！"));
    reload();
}

void TfrmImportColumnCfg::btAddClick()
{
    QString error;
    const int id = MatchColumnStore(m_ctx.db()).add(m_item->text(), m_source->text(), &error);
    if (id <= 0) {
        tell(QStringLiteral("添加失败！") + error, QStringLiteral("错误"), AlertIcon::Error);
        return;
    }
    reload(id);
}

void TfrmImportColumnCfg::btDeleteClick()
{
    const int id = currentId();
    QString error;
    if (id <= 0)
        return;
    if (!MatchColumnStore(m_ctx.db()).remove(id, &error)) {
        tell(QStringLiteral("删除失败！") + error, QStringLiteral("错误"), AlertIcon::Error);
        return;
    }
    reload();
}

} // namespace billprint
