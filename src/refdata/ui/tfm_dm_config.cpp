#include "refdata/ui/tfm_dm_config.h"
#include "app/ui/dialog_buttons.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/lookups.h"
#include "app/ui/window_state.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace billprint {

namespace {

const QString kAllBills = QStringLiteral("<适用所有单据>");

// Limits the value editor to what the table stores.
class ValueDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor))
            line->setMaxLength(DictionaryStore::kValueLength);
        return editor;
    }
};

int screenHeight(const QWidget *w)
{
    const QScreen *s = w->screen();
    return s ? s->geometry().height() : 768;
}

} // namespace

// ---- DictionaryGrid -------------------------------------------------------

void DictionaryGrid::commitOpenEditor()
{
    if (state() != EditingState || !model())
        return;
    const QModelIndex index = model()->index(currentIndex().row(), DictionaryEntryModel::ValueColumn);
    if (QWidget *editor = indexWidget(index)) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void DictionaryGrid::discardOpenEditor()
{
    if (state() != EditingState || !model())
        return;
    const QModelIndex index = model()->index(currentIndex().row(), DictionaryEntryModel::ValueColumn);
    if (QWidget *editor = indexWidget(index))
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

// ---- Tfm_DMConfig ---------------------------------------------------------

Tfm_DMConfig::Tfm_DMConfig(AppContext &context, int checkTypeId, QWidget *parent)
    : QDialog(parent), m_ctx(context), m_store(context.db()), m_model(m_store), m_startTypeId(checkTypeId)
{
    setObjectName(QStringLiteral("fm_DMConfig"));
    setWindowTitle(QStringLiteral("禾朔软件-字典管理"));
    setModal(true);

    auto button = [this](const QString &name, const QString &text) { return namedButton(this, name, text); };

    // Left: bill type, list names, new list.
    m_cbType = new QComboBox(this);
    m_cbType->setObjectName(QStringLiteral("cbType"));
    m_cbType->setMaxVisibleItems(screenHeight(this) <= 1000 ? 20 : 25);
    auto *note = new QLabel(QStringLiteral("(若用于所有单据，请选择[适用所有单据])"), this);
    note->setStyleSheet(QStringLiteral("color: gray;"));
    m_lbNames = new QListWidget(this);
    m_lbNames->setObjectName(QStringLiteral("lbNames"));
    m_cbName = new QComboBox(this);
    m_cbName->setObjectName(QStringLiteral("cbName"));
    m_cbName->setEditable(true);
    m_cbName->addItems(DictionaryStore::presetNames());
    m_cbName->lineEdit()->setMaxLength(DictionaryStore::kNameLength);
    QPushButton *btAddName = button(QStringLiteral("btAddName"), QStringLiteral("2.1增加"));
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(m_cbName, 1);
    nameRow->addWidget(btAddName);

    auto *left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("1、选择适用单据类型："), this));
    left->addWidget(m_cbType);
    left->addWidget(note);
    left->addSpacing(8);
    left->addWidget(new QLabel(QStringLiteral("2、选择字典名称："), this));
    left->addWidget(m_lbNames, 1);
    left->addLayout(nameRow);

    // Right: the entries of the chosen list.
    m_lbHeading = new QLabel(this);
    m_lbHeading->setObjectName(QStringLiteral("lbHeading"));
    m_ckShared = new QCheckBox(QStringLiteral("显示公共字典内容"), this);
    m_ckShared->setObjectName(QStringLiteral("ckShared"));
    m_ckShared->setChecked(true);
    m_grid = new DictionaryGrid(this);
    m_grid->setObjectName(QStringLiteral("gridEntries"));
    m_grid->setModel(&m_model);
    m_grid->setItemDelegateForColumn(DictionaryEntryModel::ValueColumn, new ValueDelegate(m_grid));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::AnyKeyPressed);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    m_grid->horizontalHeader()->setStretchLastSection(false);
    m_grid->setColumnHidden(DictionaryEntryModel::IdColumn, true);
    m_grid->setColumnHidden(DictionaryEntryModel::NameColumn, true);
    m_grid->setColumnWidth(DictionaryEntryModel::ValueColumn, 290);
    m_grid->setColumnWidth(DictionaryEntryModel::TypeColumn, 50);

    QPushButton *btAdd = button(QStringLiteral("btAdd"), QStringLiteral("+添加"));
    QPushButton *btEdit = button(QStringLiteral("btEdit"), QStringLiteral("E 修改"));
    QPushButton *btDelete = button(QStringLiteral("btDelete"), QStringLiteral("- 删除"));
    QPushButton *btSave = button(QStringLiteral("btSave"), QStringLiteral("保存并刷新"));
    auto *gridButtons = new QHBoxLayout;
    for (QPushButton *b : {btAdd, btEdit, btDelete, btSave})
        gridButtons->addWidget(b);
    gridButtons->addStretch();

    auto *headingRow = new QHBoxLayout;
    headingRow->addWidget(m_lbHeading, 1);
    headingRow->addWidget(m_ckShared);
    auto *right = new QVBoxLayout;
    right->addLayout(headingRow);
    right->addWidget(m_grid, 1);
    right->addLayout(gridButtons);

    QPushButton *btClose = button(QStringLiteral("btClose"), QStringLiteral("4、关  闭 (&X)"));
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btClose);

    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addLayout(right, 3);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(bottom);
    resize(760, 520);

    connect(m_cbType, qOverload<int>(&QComboBox::currentIndexChanged), this, &Tfm_DMConfig::typePicked);
    connect(m_lbNames, &QListWidget::currentRowChanged, this, [this] { loadEntries(); });
    connect(m_ckShared, &QCheckBox::clicked, this, [this] { loadEntries(); });
    connect(m_grid, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) { editRow(index.row()); });
    connect(btAddName, &QPushButton::clicked, this, &Tfm_DMConfig::btAddNameClick);
    connect(btAdd, &QPushButton::clicked, this, &Tfm_DMConfig::btAddClick);
    connect(btEdit, &QPushButton::clicked, this, &Tfm_DMConfig::btEditClick);
    connect(btDelete, &QPushButton::clicked, this, &Tfm_DMConfig::btDeleteClick);
    connect(btSave, &QPushButton::clicked, this, &Tfm_DMConfig::btSaveClick);
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);
    connect(&m_model, &DictionaryEntryModel::problem, this,
            [](const QString &message, const QString &caption) { tell(message, caption, AlertIcon::Warning); });

    FormFaceLoad(m_ctx.config(), this);

    Lookups lookups(m_ctx.db());
    const QSignalBlocker blocker(m_cbType);
    m_cbType->addItem(kAllBills);
    m_cbType->addItems(lookups.loadCheckTypeFullNameList());
    m_cbType->setCurrentIndex(0);
    typeChosen(0);
    // Start on the bill type the program works with, so its lists are at
    // hand even before the window is shown.
    if (m_startTypeId > 0) {
        const int index = m_cbType->findText(lookups.loadCheckTypeFullNameByID(m_startTypeId));
        if (index > 0) {
            m_cbType->setCurrentIndex(index);
            typeChosen(index);
        }
    }
}

QString Tfm_DMConfig::currentListName() const
{
    return m_model.listName();
}

QStringList Tfm_DMConfig::listNames() const
{
    QStringList names;
    for (int i = 0; i < m_lbNames->count(); ++i)
        names << m_lbNames->item(i)->text();
    return names;
}

QString Tfm_DMConfig::headingText() const
{
    return m_lbHeading->text();
}

void Tfm_DMConfig::chooseListName(const QString &name)
{
    const QList<QListWidgetItem *> found = m_lbNames->findItems(name, Qt::MatchExactly);
    if (!found.isEmpty()) {
        const QSignalBlocker blocker(m_lbNames);
        m_lbNames->setCurrentItem(found.first());
    }
    loadEntries();
}

void Tfm_DMConfig::typeChosen(int index)
{
    m_grid->commitOpenEditor();
    const QString name = m_cbType->itemText(index);
    // "<适用所有单据>" is no bill type: the shared lists (0).
    m_checkTypeId = index <= 0 ? 0 : Lookups(m_ctx.db()).loadCheckTypeIDByTypeFullName(name).toInt();
    loadNames();
}

void Tfm_DMConfig::typePicked(int index)
{
    typeChosen(index);
    setWindowTitle(QStringLiteral("字典设置-") + m_cbType->itemText(index) + QStringLiteral("(单据号=")
                   + QString::number(m_checkTypeId) + QLatin1Char(')'));
}

void Tfm_DMConfig::loadNames(const QString &keep)
{
    QString error;
    const QStringList names = m_store.loadNames(m_checkTypeId, &error);
    if (!error.isEmpty())
        tell(QStringLiteral("读取字典名称失败！\n") + error, QStringLiteral("错误"), AlertIcon::Error);
    {
        // One reading of the entries once the names are in place.
        const QSignalBlocker blocker(m_lbNames);
        m_lbNames->clear();
        m_lbNames->addItems(names);
        const QList<QListWidgetItem *> kept = keep.isEmpty() ? QList<QListWidgetItem *>()
                                                             : m_lbNames->findItems(keep, Qt::MatchExactly);
        if (!kept.isEmpty())
            m_lbNames->setCurrentItem(kept.first());
        else if (m_lbNames->count() > 0)
            m_lbNames->setCurrentRow(0);
    }
    loadEntries();
}

void Tfm_DMConfig::loadEntries()
{
    m_grid->commitOpenEditor();
    QListWidgetItem *item = m_lbNames->currentItem();
    if (!item && m_lbNames->count() > 0)
        item = m_lbNames->item(0);
    const QString name = item ? item->text() : QString();
    m_cbName->setEditText(name);
    m_lbHeading->setText(QStringLiteral("3、[") + name
                         + QStringLiteral("]已有字典内容：(\"单据号=0\"表示公用内容)"));
    m_model.load(name, m_checkTypeId, m_ckShared->isChecked());
    if (m_model.rowCount() > 0)
        m_grid->setCurrentIndex(m_model.index(0, DictionaryEntryModel::ValueColumn));
}

int Tfm_DMConfig::currentRow() const
{
    const int row = m_grid->currentIndex().row();
    return row >= 0 && row < m_model.rowCount() ? row : (m_model.rowCount() > 0 ? 0 : -1);
}

void Tfm_DMConfig::editRow(int row)
{
    if (row < 0 || row >= m_model.rowCount())
        return;
    const QModelIndex index = m_model.index(row, DictionaryEntryModel::ValueColumn);
    m_grid->setCurrentIndex(index);
    m_grid->edit(index);
}

void Tfm_DMConfig::btAddNameClick()
{
    const EditOutcome outcome = m_store.createList(m_cbName->currentText(), m_checkTypeId);
    if (!outcome.ok()) {
        tell(outcome.message, outcome.caption,
             outcome.status == EditOutcome::Status::Failed ? AlertIcon::Warning : AlertIcon::Information);
        m_cbName->setFocus();
        return;
    }
    // The new list is the one the user goes on to fill.
    loadNames(m_cbName->currentText().trimmed());
}

void Tfm_DMConfig::btAddClick()
{
    if (m_model.listName().isEmpty()) {
        tell(QStringLiteral("请先选择或增加字典名称！"), QStringLiteral("提示"));
        m_cbName->setFocus();
        return;
    }
    m_grid->commitOpenEditor();
    editRow(m_model.appendNewRow());
}

void Tfm_DMConfig::btEditClick()
{
    editRow(currentRow());
}

void Tfm_DMConfig::btSaveClick()
{
    m_grid->commitOpenEditor();
    loadEntries();
}

void Tfm_DMConfig::btDeleteClick()
{
    if (!askYesNo(QStringLiteral("确认删除字典项目吗？"), QStringLiteral("删除确认")))
        return;
    if (m_model.rowCount() == 0) {
        tell(QStringLiteral("对不起，没有内容可删除！"));
        return;
    }
    m_grid->discardOpenEditor();
    const QString name = m_model.listName();
    m_model.deleteRow(currentRow());
    if (m_model.rowCount() == 0)
        loadNames(name);
    else
        loadEntries();
}

void Tfm_DMConfig::showEvent(QShowEvent *event)
{
    if (!m_shown) {
        m_shown = true;
        const int height = screenHeight(this);
        m_cbType->setMaxVisibleItems(height < 800 ? 23 : height < 900 ? 30 : 35);
    }
    QDialog::showEvent(event);
}

void Tfm_DMConfig::done(int result)
{
    // What is still in an editor belongs to the list too.
    m_grid->commitOpenEditor();
    FormFaceSave(m_ctx.config(), this);
    QDialog::done(result);
}

} // namespace billprint
