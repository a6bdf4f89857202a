#include "app/ui/tfrm_grid_config.h"

#include "app/alert.h"
#include "app/ui/grid_helpers.h"

#include <QAbstractItemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace billprint {

namespace {

constexpr int kColumnRole = Qt::UserRole + 1;
constexpr int kShownAgainWidth = 50;

QListWidget *makeList(QWidget *parent)
{
    auto *list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return list;
}

void insertInGridOrder(QListWidget *list, QListWidgetItem *item)
{
    const int column = item->data(kColumnRole).toInt();
    int at = 0;
    while (at < list->count() && list->item(at)->data(kColumnRole).toInt() < column)
        ++at;
    list->insertItem(at, item);
}

} // namespace

TfrmGridConfig::TfrmGridConfig(IniFile &config, QTableView *grid, const QString &section, QWidget *parent)
    : QDialog(parent), m_config(config), m_grid(grid), m_section(section)
{
    setObjectName(QStringLiteral("frmGridConfig"));
    setWindowTitle(QStringLiteral("表格栏目配置"));

    m_shown = makeList(this);
    m_shown->setObjectName(QStringLiteral("lstShown"));
    m_hidden = makeList(this);
    m_hidden->setObjectName(QStringLiteral("lstHidden"));

    auto *btHide = new QPushButton(QStringLiteral("隐藏"), this);
    btHide->setObjectName(QStringLiteral("btHide"));
    auto *btShow = new QPushButton(QStringLiteral("显示"), this);
    btShow->setObjectName(QStringLiteral("btShow"));
    auto *btApply = new QPushButton(QStringLiteral("应用修改"), this);
    btApply->setObjectName(QStringLiteral("btApply"));
    auto *btClose = new QPushButton(QStringLiteral("关 闭"), this);
    btClose->setObjectName(QStringLiteral("btClose"));
    connect(btHide, &QPushButton::clicked, this, &TfrmGridConfig::btHideClick);
    connect(btShow, &QPushButton::clicked, this, &TfrmGridConfig::btShowClick);
    connect(btApply, &QPushButton::clicked, this, &TfrmGridConfig::btApplyClick);
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);

    auto *moves = new QVBoxLayout;
    moves->addStretch();
    moves->addWidget(btHide);
    moves->addWidget(btShow);
    moves->addStretch();

    auto *grid2 = new QGridLayout;
    grid2->addWidget(new QLabel(QStringLiteral("需要的数据列："), this), 0, 0);
    grid2->addWidget(new QLabel(QStringLiteral("不需要的数据列："), this), 0, 2);
    grid2->addWidget(m_shown, 1, 0);
    grid2->addLayout(moves, 1, 1);
    grid2->addWidget(m_hidden, 1, 2);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btApply);
    buttons->addWidget(btClose);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid2, 1);
    layout->addLayout(buttons);
    resize(420, 360);

    fillLists();
}

void TfrmGridConfig::fillLists()
{
    m_shown->clear();
    m_hidden->clear();
    if (!gridIsOpen(m_grid))
        return;
    const QAbstractItemModel *model = m_grid->model();
    for (int column = 0; column < model->columnCount(); ++column) {
        auto *item = new QListWidgetItem(gridFieldName(model, column));
        item->setData(kColumnRole, column);
        (m_grid->isColumnHidden(column) ? m_hidden : m_shown)->addItem(item);
    }
}

void TfrmGridConfig::moveSelected(QListWidget *from, QListWidget *to)
{
    const QList<QListWidgetItem *> chosen = from->selectedItems();
    for (QListWidgetItem *item : chosen) {
        from->takeItem(from->row(item));
        item->setSelected(false);
        insertInGridOrder(to, item);
    }
}

void TfrmGridConfig::btHideClick()
{
    moveSelected(m_shown, m_hidden);
}

void TfrmGridConfig::btShowClick()
{
    moveSelected(m_hidden, m_shown);
}

void TfrmGridConfig::btApplyClick()
{
    if (!gridIsOpen(m_grid)) {
        tell(QStringLiteral("设置出现意外错误~") + QStringLiteral("表格没有数据"));
        return;
    }
    const int columns = m_grid->model()->columnCount();
    for (int i = 0; i < m_shown->count(); ++i) {
        const int column = m_shown->item(i)->data(kColumnRole).toInt();
        if (column >= columns)
            continue;
        m_grid->setColumnHidden(column, false);
        if (m_grid->columnWidth(column) < 1)
            m_grid->setColumnWidth(column, kShownAgainWidth);
    }
    for (int i = 0; i < m_hidden->count(); ++i) {
        const int column = m_hidden->item(i)->data(kColumnRole).toInt();
        if (column < columns)
            m_grid->setColumnHidden(column, true);
    }
    GridColsWidthSave(m_config, m_grid, m_section);
    tell(QStringLiteral("栏目显示设置成功~"));
}

} // namespace billprint
