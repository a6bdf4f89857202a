#include "batch/ui/tfrm_pick_units.h"

#include "addressbook/person_search.h"
#include "addressbook/ui/person_grid_model.h"
#include "app/alert.h"
#include "app/app_context.h"
#include "app/ui/grid_helpers.h"

#include <QHash>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace billprint {

TfrmPickUnits::TfrmPickUnits(AppContext &context, QWidget *parent) : QDialog(parent), m_ctx(context)
{
    setObjectName(QStringLiteral("frmPickUnits"));
    setWindowTitle(QStringLiteral("从地址薄选取收件人"));
    m_keyword = new QLineEdit(this);
    m_keyword->setObjectName(QStringLiteral("edtKeyword"));
    m_keyword->setPlaceholderText(QStringLiteral("单位、联系人、电话、手机、地址、助记码"));
    m_keyword->setClearButtonEnabled(true);
    auto *query = new QPushButton(QStringLiteral("查 询"), this);
    query->setAutoDefault(false);
    auto *all = new QPushButton(QStringLiteral("全 选"), this);
    all->setAutoDefault(false);

    m_model = new PersonGridModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("gridUnits"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 8);

    m_ok = new QPushButton(QStringLiteral("选取选中的单位"), this);
    m_ok->setObjectName(QStringLiteral("btPick"));
    m_ok->setAutoDefault(false);
    auto *cancel = new QPushButton(QStringLiteral("关 闭"), this);
    cancel->setAutoDefault(false);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("查找:"), this));
    top->addWidget(m_keyword, 1);
    top->addWidget(query);
    top->addWidget(all);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("按住Ctrl或Shift键点击可选中多个单位"), this), 1);
    bottom->addWidget(m_ok);
    bottom->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);

    connect(query, &QPushButton::clicked, this, &TfrmPickUnits::runQuery);
    connect(m_keyword, &QLineEdit::returnPressed, this, &TfrmPickUnits::runQuery);
    connect(all, &QPushButton::clicked, this, [this] {
        fetchAllRows(m_model);
        m_grid->selectAll();
    });
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &QTableView::doubleClicked, this, &QDialog::accept);
    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TfrmPickUnits::updateOkButton);
    resize(820, 520);
    runQuery();
}

void TfrmPickUnits::runQuery()
{
    PersonFilter filter;
    filter.keyword = m_keyword->text().trimmed();
    filter.orderColumn = QStringLiteral("全称");
    filter.descending = false;
    QString error;
    if (!m_model->runQuery(m_ctx.db(), buildPersonQuery(filter, m_ctx.db().dialect()), &error))
        tell(QStringLiteral("查询失败：") + error, QStringLiteral("错误"), AlertIcon::Error);
    // What tells receivers apart; the bank columns say nothing here.
    static const QHash<QString, int> shown = {
        {QStringLiteral("ID"), 46},   {QStringLiteral("全称"), 190}, {QStringLiteral("联系人"), 70},
        {QStringLiteral("电话"), 100}, {QStringLiteral("手机"), 100}, {QStringLiteral("省"), 60},
        {QStringLiteral("市"), 60},   {QStringLiteral("地址"), 200}, {QStringLiteral("分组"), 80}};
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const int width = shown.value(gridFieldName(m_model, column), 0);
        m_grid->setColumnHidden(column, width == 0);
        if (width > 0)
            m_grid->setColumnWidth(column, width);
    }
    updateOkButton();
}

QList<int> TfrmPickUnits::selectedIds() const
{
    QList<int> ids;
    for (int row : gridSelectedRows(m_grid))
        ids << m_model->idAt(row);
    return ids;
}

void TfrmPickUnits::updateOkButton()
{
    const int n = int(m_grid->selectionModel()->selectedRows().size());
    m_ok->setEnabled(n > 0);
    m_ok->setText(n > 0 ? QStringLiteral("选取选中的单位(%1个)").arg(n) : QStringLiteral("选取选中的单位"));
}

QList<int> TfrmPickUnits::pick(AppContext &context, QWidget *parent)
{
    TfrmPickUnits dialog(context, parent);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedIds();
}

} // namespace billprint
