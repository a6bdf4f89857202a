#include "addressbook/ui/tfm_person_manage.h"

#include "addressbook/default_drawer.h"
#include "addressbook/person_store.h"
#include "addressbook/ui/address_book_host.h"
#include "addressbook/ui/person_filter_tree.h"
#include "addressbook/ui/person_grid_model.h"
#include "addressbook/ui/tfrm_person_info.h"
#include "app/alert.h"
#include "app/app_context.h"
#include "app/lookups.h"
#include "app/ui/grid_helpers.h"
#include "app/ui/tfrm_export_excel.h"
#include "app/ui/window_state.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace billprint {

namespace {

const QString kTable = QStringLiteral("CKPersonalInfoTable");
const QString kKeyColumn = QStringLiteral("ID");
const QString kSortColumn = QStringLiteral("排序");
const QString kAscending = QStringLiteral("ASC");
const QString kDescending = QStringLiteral("DESC");
const QString kEquals = QStringLiteral("等于");

// Column widths for a grid whose widths were never stored: wide enough
// for the usual Chinese names, addresses and account numbers.
int defaultColumnWidth(const QString &column)
{
    static const QHash<QString, int> widths = {
        {QStringLiteral("ID"), 46},        {QStringLiteral("全称"), 210},     {QStringLiteral("识别号"), 150},
        {QStringLiteral("助记码"), 70},    {QStringLiteral("联系人"), 70},    {QStringLiteral("开户银行"), 170},
        {QStringLiteral("开户行账号"), 160}, {QStringLiteral("开户行地址"), 160}, {QStringLiteral("开户行行号"), 100},
        {QStringLiteral("电话"), 105},     {QStringLiteral("手机"), 105},     {QStringLiteral("邮编"), 60},
        {QStringLiteral("国家"), 50},      {QStringLiteral("地址"), 230},     {QStringLiteral("省"), 60},
        {QStringLiteral("市"), 70},        {QStringLiteral("镇区"), 70},      {QStringLiteral("分组"), 80},
        {QStringLiteral("单位类型"), 70},  {QStringLiteral("扩展信息"), 120}, {QStringLiteral("排序"), 44},
    };
    return widths.value(column, 90);
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    // Enter belongs to the keyword and key boxes, never to a button.
    b->setAutoDefault(false);
    return b;
}

} // namespace

Tfm_PersonManage::Tfm_PersonManage(AppContext &context, QWidget *parent) : QDialog(parent), m_ctx(context)
{
    setObjectName(QStringLiteral("fm_PersonManage"));
    setWindowTitle(QStringLiteral("单位及客户资料管理"));
    setModal(true);
    buildControls();
    buildLayout();
    connectControls();
    setExactBarShown(false);
    rebuildTree();
    resize(960, 620);
}

Tfm_PersonManage::~Tfm_PersonManage() = default;

QString Tfm_PersonManage::keywordHint()
{
    return QStringLiteral("默认查找单位、联系人、电话、手机、地址、助记码几项。");
}

void Tfm_PersonManage::buildControls()
{
    m_edtKeyword = new QLineEdit(this);
    m_edtKeyword->setObjectName(QStringLiteral("edtKeyword"));
    m_edtKeyword->setPlaceholderText(keywordHint());
    m_edtKeyword->setToolTip(keywordHint());
    m_edtKeyword->setClearButtonEnabled(true);

    m_exactBar = new QWidget(this);
    m_exactBar->setObjectName(QStringLiteral("pnlExact"));
    m_cbExactColumn = new QComboBox(m_exactBar);
    m_cbExactColumn->setObjectName(QStringLiteral("cbExactColumn"));
    m_cbExactColumn->setMinimumWidth(110);
    m_cbExactColumn->installEventFilter(this);
    m_cbExactMode = new QComboBox(m_exactBar);
    m_cbExactMode->setObjectName(QStringLiteral("cbExactMode"));
    m_cbExactMode->addItems({QStringLiteral("包含"), kEquals});
    m_edtExactKey = new QLineEdit(m_exactBar);
    m_edtExactKey->setObjectName(QStringLiteral("edtExactKey"));

    m_tree = new PersonFilterTree(this);
    m_tab = new QTabBar(this);
    m_tab->setObjectName(QStringLiteral("tabKind"));
    m_tab->addTab(QStringLiteral("【全部分组】"));
    m_tab->setDrawBase(false);
    m_lbTitle = new QLabel(this);
    m_lbTitle->setObjectName(QStringLiteral("lbTitle"));
    QFont titleFont = m_lbTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.15);
    m_lbTitle->setFont(titleFont);

    m_model = new PersonGridModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("gridPerson"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 8);
    m_grid->verticalHeader()->setMinimumWidth(36);
    m_grid->horizontalHeader()->setSectionsClickable(true);
    m_grid->horizontalHeader()->setSortIndicatorShown(true);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->viewport()->installEventFilter(this);
    // Selected rows: white on blue, also while another control has focus.
    QPalette palette = m_grid->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, QColor(0, 78, 200));
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    m_grid->setPalette(palette);
}

void Tfm_PersonManage::buildLayout()
{
    auto *btKeywordHelp = makeButton(this, QStringLiteral("btKeywordHelp"), QStringLiteral("?查找关键字："));
    btKeywordHelp->setFlat(true);
    auto *top = new QHBoxLayout;
    top->addWidget(btKeywordHelp);
    top->addWidget(m_edtKeyword, 1);
    for (const auto &[name, text] : std::initializer_list<std::pair<const char *, const char *>>{
             {"btQuery", "查询(&C)"}, {"btAdvanced", "高级<<"}, {"btAll", "全部(&A)"}, {"btRefresh", "刷新(&R)"}})
        top->addWidget(makeButton(this, QString::fromUtf8(name), QString::fromUtf8(text)));
    // Enabled after the first change at this desk; on a shared database
    // other desks change the data at any time, so from the start.
    button(QStringLiteral("btRefresh"))->setEnabled(m_ctx.db().isShared());

    auto *exact = new QHBoxLayout(m_exactBar);
    exact->setContentsMargins(0, 0, 0, 0);
    exact->addWidget(new QLabel(QStringLiteral("仅查询列:"), m_exactBar));
    exact->addWidget(m_cbExactColumn);
    exact->addWidget(m_cbExactMode);
    exact->addWidget(m_edtExactKey, 1);
    exact->addWidget(makeButton(m_exactBar, QStringLiteral("btExactQuery"), QStringLiteral("精确查询")));

    auto *heading = new QHBoxLayout;
    heading->addWidget(m_tab);
    heading->addStretch();
    heading->addWidget(m_lbTitle);
    auto *right = new QWidget(this);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(2);
    rightLayout->addLayout(heading);
    rightLayout->addWidget(m_grid, 1);
    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(m_tree);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({170, 860});

    // The button row may run past the window's right edge: "删除所有"
    // sits at its far end, out of reach until "删除所有点击我->>" widens
    // the window.
    auto *bottomHolder = new QWidget(this);
    bottomHolder->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto *bottomBar = new QWidget(bottomHolder);
    auto *bottom = new QHBoxLayout(bottomBar);
    bottom->setContentsMargins(0, 0, 0, 0);
    for (const auto &[name, text] : std::initializer_list<std::pair<const char *, const char *>>{
             {"btFirst", "|<"},
             {"btLast", ">|"},
             {"btAdd", "添 加"},
             {"btModify", "修 改"},
             {"btDeleteSelected", "删除选中"},
             {"btDeleteListed", "删除列出"},
             {"btDefaultDrawer", "设为默认出票人"},
             {"btImport", "Excel导入"},
             {"btExport", "Excel导出"},
             {"btClose", "关 闭(&X)"},
             {"btWiden", "删除所有点击我->>"},
             {"btDeleteAll", "删除所有"}})
        bottom->addWidget(makeButton(bottomBar, QString::fromUtf8(name), QString::fromUtf8(text)));
    for (const char *name : {"btFirst", "btLast"})
        button(QString::fromUtf8(name))->setMaximumWidth(36);
    button(QStringLiteral("btDeleteAll"))->setToolTip(QStringLiteral("删除所有的帐户资料"));
    button(QStringLiteral("btDeleteAll"))->setStyleSheet(QStringLiteral("color: #b00000;"));
    // The row keeps its natural width; the holder cuts it off at the
    // window's edge instead of squeezing the buttons.
    bottomBar->setFixedSize(bottomBar->sizeHint());
    bottomHolder->setFixedHeight(bottomBar->height());

    auto *status = new QStatusBar(this);
    status->setSizeGripEnabled(true);
    for (int i = 0; i < 2; ++i) {
        m_statusPanels[i] = new QLabel(status);
        m_statusPanels[i]->setObjectName(QStringLiteral("lbStatus%1").arg(i + 1));
        m_statusPanels[i]->setMinimumWidth(180);
        status->addWidget(m_statusPanels[i]);
    }

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->addLayout(top);
    layout->addWidget(m_exactBar);
    layout->addWidget(splitter, 1);
    layout->addWidget(bottomHolder);
    layout->addWidget(status);
}

void Tfm_PersonManage::connectControls()
{
    auto on = [this](const char *name, void (Tfm_PersonManage::*slot)()) {
        connect(button(QString::fromUtf8(name)), &QPushButton::clicked, this, slot);
    };
    on("btKeywordHelp", &Tfm_PersonManage::btKeywordHelpClick);
    on("btQuery", &Tfm_PersonManage::btQueryClick);
    on("btAdvanced", &Tfm_PersonManage::btAdvancedClick);
    on("btAll", &Tfm_PersonManage::listAll);
    on("btRefresh", &Tfm_PersonManage::refresh);
    on("btExactQuery", &Tfm_PersonManage::btExactQueryClick);
    on("btFirst", &Tfm_PersonManage::btFirstClick);
    on("btLast", &Tfm_PersonManage::btLastClick);
    on("btAdd", &Tfm_PersonManage::btAddClick);
    on("btModify", &Tfm_PersonManage::btModifyClick);
    on("btDeleteSelected", &Tfm_PersonManage::btDeleteSelectedClick);
    on("btDeleteListed", &Tfm_PersonManage::btDeleteListedClick);
    on("btDefaultDrawer", &Tfm_PersonManage::btDefaultDrawerClick);
    on("btImport", &Tfm_PersonManage::btImportClick);
    on("btExport", &Tfm_PersonManage::btExportClick);
    on("btWiden", &Tfm_PersonManage::btWidenClick);
    on("btDeleteAll", &Tfm_PersonManage::btDeleteAllClick);
    connect(button(QStringLiteral("btClose")), &QPushButton::clicked, this, &QDialog::close);

    connect(m_edtKeyword, &QLineEdit::returnPressed, this, [this] { runQuery(); });
    connect(m_edtExactKey, &QLineEdit::returnPressed, this, &Tfm_PersonManage::btExactQueryClick);
    connect(m_tree, &PersonFilterTree::filterChosen, this, &Tfm_PersonManage::treeFilterChosen);
    connect(m_tree, &PersonFilterTree::rebuildRequested, this, &Tfm_PersonManage::rebuildTree);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &Tfm_PersonManage::columnTitleClicked);
    connect(m_grid, &QTableView::doubleClicked, this, [this](const QModelIndex &index) { rowDoubleClicked(index.row()); });
    connect(m_grid, &QTableView::clicked, this, &Tfm_PersonManage::updateCaption);
    connect(m_grid, &QWidget::customContextMenuRequested, this, &Tfm_PersonManage::showGridMenu);
    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Tfm_PersonManage::updateSelectionStatus);
}

QPushButton *Tfm_PersonManage::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

Tfrm_PersonInfo *Tfm_PersonManage::editor()
{
    if (!m_editor) {
        m_editor = new Tfrm_PersonInfo(m_ctx, this);
        connect(m_editor, &Tfrm_PersonInfo::saved, this, [this](const TPerson &saved) {
            dataChanged();
            runQuery();
            updateCounts();
            // Keep the saved unit in sight when the listing shows it.
            for (int row = 0; row < m_model->rowCount(); ++row) {
                if (m_model->idAt(row) == saved.id()) {
                    m_grid->setCurrentIndex(m_model->index(row, 1));
                    m_grid->scrollTo(m_model->index(row, 1));
                    break;
                }
            }
        });
    }
    return m_editor;
}

// ---- Openers -------------------------------------------------------------

void Tfm_PersonManage::presetUnitKind(const QString &kind)
{
    setTab(QStringLiteral("【") + kind + QStringLiteral("】"));
    m_listedForShow = false;
    m_unitKind = kind;
    m_group = kAllGroups;
    m_edtKeyword->clear();
}

void Tfm_PersonManage::setPickMode(const QString &caption)
{
    m_pickMode = true;
    m_picked.reset();
    m_grid->setToolTip(QStringLiteral("鼠标双击选择指定的单位！"));
    QPushButton *drawer = button(QStringLiteral("btDefaultDrawer"));
    drawer->setEnabled(false);
    drawer->setToolTip(QStringLiteral("选取单位时不能设置默认出票人，请从【单位及客户资料管理】设置"));
    if (!caption.isEmpty()) {
        setWindowTitle(caption);
        setTitle(caption);
    }
}

// ---- Listing -------------------------------------------------------------

void Tfm_PersonManage::runQuery(bool fromExactQuery)
{
    if (!fromExactQuery) {
        setExactBarShown(false);
        m_edtExactKey->clear();
    }
    if (m_group.isEmpty())
        m_group = kAllGroups;
    const QString keyword = m_edtKeyword->text().trimmed();
    const QString exactKey = m_edtExactKey->text();
    if (keyword.isEmpty() && m_group == kAllGroups && m_unitKind.isEmpty() && exactKey.isEmpty()) {
        listAll();
        return;
    }
    PersonFilter filter;
    if (fromExactQuery) {
        filter.exactColumn = m_cbExactColumn->currentText();
        filter.exactKey = exactKey;
        filter.exactEquals = m_cbExactMode->currentText() == kEquals;
    }
    if (!keyword.isEmpty()) {
        // A keyword looks through both kinds of unit.
        m_unitKind.clear();
        filter.keyword = keyword;
    }
    filter.unitKind = m_unitKind;
    if (!m_unitKind.isEmpty())
        m_tree->selectTopNode(m_unitKind);
    filter.group = m_group;
    filter.orderColumn = m_orderColumn;
    filter.descending = m_orderDirection.compare(kAscending, Qt::CaseInsensitive) != 0;
    showQuery(filter);
}

void Tfm_PersonManage::listAll()
{
    m_edtExactKey->clear();
    m_unitKind.clear();
    m_group = kAllGroups;
    setExactBarShown(false);
    if (m_orderColumn.trimmed().isEmpty())
        m_orderColumn = kSortColumn + QStringLiteral(",全称");
    if (m_orderDirection.trimmed().isEmpty())
        m_orderDirection = kDescending;
    PersonFilter filter;
    filter.orderColumn = m_orderColumn;
    filter.descending = m_orderDirection.compare(kAscending, Qt::CaseInsensitive) != 0;
    showQuery(filter);
    // Opened from the menu, the window lists all just before it shows;
    // showing then has nothing new to list.
    m_listedForShow = !isVisible();
    m_tree->selectTopNode(FilterNode::All);
    setTab(QStringLiteral("【") + FilterNode::All + QStringLiteral("】"));
    setTitle(QStringLiteral("单位及客户资料管理(%1)").arg(m_model->totalRows()));
    updateTotalStatus();
    m_edtKeyword->clear();
}

void Tfm_PersonManage::showQuery(const PersonFilter &filter)
{
    m_listedForShow = false;
    QString error;
    const bool ok = m_model->runQuery(m_ctx.db(), buildPersonQuery(filter, m_ctx.db().dialect()), &error);
    restoreColumnWidths();
    const int orderIndex = gridColumnByName(m_model, m_orderColumn.section(QLatin1Char(','), -1));
    m_grid->horizontalHeader()->setSortIndicator(orderIndex, filter.descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    if (m_model->rowCount() > 0)
        m_grid->selectionModel()->setCurrentIndex(m_model->index(0, 1), QItemSelectionModel::NoUpdate);
    updateSelectionStatus();
    if (!ok)
        m_statusPanels[0]->setText(QStringLiteral("查询失败：") + error);
}

void Tfm_PersonManage::refresh()
{
    runQuery();
    setTitle(QStringLiteral("单位、客户管理(%1)").arg(m_model->totalRows()));
    updateTotalStatus();
    rebuildTree();
}

void Tfm_PersonManage::rebuildTree()
{
    const Lookups lookups(m_ctx.db());
    m_tree->rebuild(lookups.loadPersonTableProvinceList(), lookups.loadPersonTableGroupList());
}

void Tfm_PersonManage::restoreColumnWidths()
{
    IniFile &config = m_ctx.config();
    const QString section = objectName().toUpper();
    if (config.hasKey(section, m_grid->objectName().toUpper() + QStringLiteral(".W0"))) {
        GridColsWidthLoad(config, m_grid, objectName());
        return;
    }
    for (int column = 0; column < m_model->columnCount(); ++column)
        m_grid->setColumnWidth(column, defaultColumnWidth(gridFieldName(m_model, column)));
}

void Tfm_PersonManage::treeFilterChosen(const TreeFilterChoice &choice)
{
    m_edtKeyword->clear();
    m_edtExactKey->clear();
    m_group = kAllGroups;
    m_unitKind.clear();
    if (!choice.runQuery)
        return;
    m_unitKind = choice.unitKind;
    if (!choice.group.isEmpty())
        m_group = choice.group;
    m_edtKeyword->setText(choice.keyword);
    setTab(choice.tabText);
    runQuery();
}

void Tfm_PersonManage::columnTitleClicked(int column)
{
    const QString field = gridFieldName(m_model, column);
    if (field.isEmpty())
        return;
    m_orderColumn = field;
    m_orderDirection = m_orderDirection.compare(kAscending, Qt::CaseInsensitive) == 0 ? kDescending : kAscending;
    runQuery();
}

// ---- One-column query ----------------------------------------------------

void Tfm_PersonManage::btKeywordHelpClick()
{
    tell(keywordHint());
}

void Tfm_PersonManage::btAdvancedClick()
{
    setExactBarShown(!m_exactBar->isVisibleTo(this));
}

void Tfm_PersonManage::setExactBarShown(bool shown)
{
    m_exactBar->setVisible(shown);
    button(QStringLiteral("btAdvanced"))->setText(shown ? QStringLiteral("高级>>") : QStringLiteral("高级<<"));
}

void Tfm_PersonManage::fillExactColumns()
{
    if (m_cbExactColumn->count() > 0 || !m_exactBar->isVisibleTo(this) || !gridIsOpen(m_grid))
        return;
    for (int column = 1; column < m_model->columnCount(); ++column) {
        const QString caption = m_model->headerData(column, Qt::Horizontal).toString();
        if (caption != kSortColumn)
            m_cbExactColumn->addItem(caption);
    }
    m_cbExactColumn->setCurrentIndex(-1);
}

void Tfm_PersonManage::btExactQueryClick()
{
    m_unitKind.clear();
    const QString key = m_edtExactKey->text().trimmed();
    m_edtExactKey->setText(key);
    if (m_cbExactColumn->currentText().isEmpty()) {
        tell(QStringLiteral("请选择要查询的列."));
        m_cbExactColumn->setFocus();
        return;
    }
    if (key.isEmpty()) {
        tell(QStringLiteral("请输入精确查询的关键字"));
        m_edtExactKey->setFocus();
        return;
    }
    // A keyword left in its box would take the place of the one-column
    // query and list something else than was asked for.
    m_edtKeyword->clear();
    runQuery(true);
}

// ---- Changes -------------------------------------------------------------

void Tfm_PersonManage::dataChanged()
{
    button(QStringLiteral("btRefresh"))->setEnabled(true);
    // New bills take the drawer held here: one deleted or edited in the
    // book must not go on filling them.
    reloadDefaultDrawer(m_ctx);
}

void Tfm_PersonManage::btAddClick()
{
    const bool ownGroup = m_group != kDefaultDrawerGroup && m_group != kAllGroups;
    editor()->prepareNew(m_unitKind == UnitKind::Own ? UnitKind::Own : UnitKind::Counterparty,
                         ownGroup ? m_group : QString());
    editor()->exec();
    rebuildTree();
}

void Tfm_PersonManage::btModifyClick()
{
    if (rowCount() == 0) {
        tell(QStringLiteral("没有单位可修改，请先选中一个要修改的单位！"));
        return;
    }
    const int id = currentId();
    if (!editor()->loadPerson(id)) {
        // Saving the editor now would store the unit as a new row.
        tell(QStringLiteral("没有找到要修改的单位资料（ID=%1），可能已被删除，请刷新后再试！").arg(id));
        return;
    }
    editor()->exec();
    rebuildTree();
}

void Tfm_PersonManage::btDeleteSelectedClick()
{
    if (GridSelectedDelete(m_ctx.db(), m_grid, kTable, QStringLiteral("单位信息"), QStringLiteral("Numeric"), kKeyColumn)
        > 0) {
        dataChanged();
        refresh();
    }
}

void Tfm_PersonManage::btDeleteListedClick()
{
    if (!alert(QStringLiteral("提醒:此操作将删除当前搜索列出的单位资料,且不可恢复! 确定立即删除列出吗？"),
               QStringLiteral("确认"), true))
        return;
    if (GridDeleteCurrentList(m_ctx.db(), m_grid, kTable, kKeyColumn) > 0) {
        dataChanged();
        refresh();
    }
}

bool Tfm_PersonManage::askDeleteAll(const QString &first, const QString &kind)
{
    return alert(first + QStringLiteral("此操作将删除所有") + kind
                     + QStringLiteral("的资料,且不可恢复,建议此操作在导出备份后进行!确定立即清空吗？"),
                 QStringLiteral("警告"), true);
}

void Tfm_PersonManage::btDeleteAllClick()
{
    const QString kind = m_unitKind;
    if (!askDeleteAll(QStringLiteral("警告:"), kind) || !askDeleteAll(QStringLiteral("再次警告:"), kind))
        return;
    QString error;
    if (PersonStore(m_ctx.db()).deleteAllOfKind(kind, &error) < 0) {
        tell(QStringLiteral("清空失败！") + (error.isEmpty() ? QString() : QLatin1Char('\n') + error),
             QStringLiteral("确认"), AlertIcon::Error);
        return;
    }
    dataChanged();
    refresh();
}

void Tfm_PersonManage::btWidenClick()
{
    if (isMaximized())
        return;
    const int left = button(QStringLiteral("btDeleteAll"))->mapTo(this, QPoint(0, 0)).x();
    resize(width() < left + 120 ? width() + 120 : width() - 120, height());
}

void Tfm_PersonManage::btDefaultDrawerClick()
{
    // Setting it closes the bill windows, among them the one this chooser
    // was opened from and returns to.
    if (m_pickMode)
        return;
    if (rowCount() == 0) {
        tell(QStringLiteral("没有单位资料可设置，请先选中一个要设置的单位资料！"));
        return;
    }
    QString error;
    if (!PersonStore(m_ctx.db()).setDefaultDrawer(currentId(), &error)) {
        tell(QStringLiteral("默认出票人设置失败！") + error, QStringLiteral("错误"), AlertIcon::Error);
        return;
    }
    tell(QStringLiteral("默认出票人设置成功！"));
    dataChanged();
    runQuery();
    const AddressBookHost &host = addressBookHost();
    if (host.billWindowsOpen && host.billWindowsOpen()) {
        // Open bills were started with the old drawer.
        tell(QStringLiteral("默认出票人已经修改，请重新填开票据！"));
        if (host.closeBillWindows)
            host.closeBillWindows();
    }
}

void Tfm_PersonManage::btImportClick()
{
    const AddressBookHost &host = addressBookHost();
    if (!host.openImport) {
        tell(QStringLiteral("正在建设!"));
        return;
    }
    host.openImport(this);
    // The imported rows are seen among all rows, whatever was filtered.
    dataChanged();
    listAll();
    rebuildTree();
}

void Tfm_PersonManage::btExportClick()
{
    ExportGrid2Excel(m_ctx, m_grid, QStringLiteral("单位信息导出"), this);
}

// ---- Grid ----------------------------------------------------------------

int Tfm_PersonManage::rowCount() const
{
    return m_model->rowCount();
}

int Tfm_PersonManage::currentId() const
{
    const QModelIndex current = m_grid->currentIndex();
    return m_model->idAt(current.isValid() ? current.row() : 0);
}

void Tfm_PersonManage::btFirstClick()
{
    if (rowCount() == 0)
        return;
    m_grid->selectionModel()->setCurrentIndex(m_model->index(0, 1),
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_grid->scrollToTop();
}

void Tfm_PersonManage::btLastClick()
{
    fetchAllRows(m_model);
    if (rowCount() == 0)
        return;
    const QModelIndex last = m_model->index(rowCount() - 1, 1);
    m_grid->selectionModel()->setCurrentIndex(last, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_grid->scrollTo(last);
}

void Tfm_PersonManage::rowDoubleClicked(int row)
{
    m_grid->setCurrentIndex(m_model->index(row, qMax(1, m_grid->currentIndex().column())));
    TPerson person;
    if (person.loadById(m_ctx.db(), m_model->idAt(row)) == PersonLoad::Loaded)
        m_picked = person;
    if (m_pickMode) {
        if (m_picked)
            accept();
        return;
    }
    btModifyClick();
}

void Tfm_PersonManage::rememberColumnWidths()
{
    GridColsWidthSave(m_ctx.config(), m_grid, objectName());
}

void Tfm_PersonManage::chooseColumns()
{
    GridColsConfigration(m_ctx.config(), m_grid, objectName(), this);
}

void Tfm_PersonManage::showGridMenu(const QPoint &pos)
{
    QMenu menu(this);
    const bool hasRows = rowCount() > 0;
    menu.addAction(QStringLiteral("添加新单位"), this, &Tfm_PersonManage::btAddClick)->setEnabled(hasRows);
    menu.addAction(QStringLiteral("修改单位信息"), this, &Tfm_PersonManage::btModifyClick)->setEnabled(hasRows);
    menu.addAction(QStringLiteral("删除该单位"), this, &Tfm_PersonManage::btDeleteSelectedClick)->setEnabled(hasRows);
    menu.addAction(QStringLiteral("设为默认出票人"), this, &Tfm_PersonManage::btDefaultDrawerClick)
        ->setEnabled(hasRows && !m_pickMode);
    menu.addSeparator();
    menu.addAction(QStringLiteral("【记住列宽】当前数据"), this, &Tfm_PersonManage::rememberColumnWidths);
    menu.addAction(QStringLiteral("【显示/隐藏】数据列"), this, &Tfm_PersonManage::chooseColumns);
    menu.addAction(QStringLiteral("【刷新】"), this, &Tfm_PersonManage::refresh);
    menu.exec(m_grid->viewport()->mapToGlobal(pos));
}

void Tfm_PersonManage::updateSelectionStatus()
{
    const int selected = m_grid->selectionModel() ? m_grid->selectionModel()->selectedRows().size() : 0;
    m_statusPanels[0]->setText(QStringLiteral("选中[%1/%2]条").arg(selected).arg(m_model->totalRows()));
}

void Tfm_PersonManage::updateCaption()
{
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid())
        return;
    setWindowTitle((m_pickMode ? QStringLiteral("选择单位-当前选中:") : QStringLiteral("单位、客户管理-当前选中:"))
                   + m_model->textAt(current.row(), QStringLiteral("全称")));
}

void Tfm_PersonManage::updateCounts()
{
    // The title keeps its wording ("单位及客户资料管理" or, after a refresh,
    // "单位、客户管理") and shows the units listed now.
    const QString title = m_lbTitle->text();
    const qsizetype open = title.lastIndexOf(QLatin1Char('('));
    setTitle((open > 0 ? title.left(open) : QStringLiteral("单位及客户资料管理"))
             + QStringLiteral("(%1)").arg(m_model->totalRows()));
    updateTotalStatus();
}

void Tfm_PersonManage::updateTotalStatus()
{
    m_statusPanels[1]->setText(QStringLiteral("系统共有[%1]条.").arg(PersonStore(m_ctx.db()).countAll()));
}

void Tfm_PersonManage::setTitle(const QString &text)
{
    m_lbTitle->setText(text);
}

void Tfm_PersonManage::setTab(const QString &text)
{
    m_tab->setTabText(0, text);
}

QString Tfm_PersonManage::titleText() const
{
    return m_lbTitle->text();
}

QString Tfm_PersonManage::tabText() const
{
    return m_tab->tabText(0);
}

QString Tfm_PersonManage::statusText(int panel) const
{
    return panel >= 1 && panel <= 2 ? m_statusPanels[panel - 1]->text() : QString();
}

// ---- Window --------------------------------------------------------------

void Tfm_PersonManage::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        FormFaceLoad(m_ctx.config(), this);
        m_edtKeyword->clear();
        if (!m_listedForShow)
            runQuery();
        m_listedForShow = false;
        setTitle(QStringLiteral("单位及客户资料管理(%1)").arg(m_model->totalRows()));
        updateTotalStatus();
    }
    QDialog::showEvent(event);
}

void Tfm_PersonManage::done(int result)
{
    FormFaceSave(m_ctx.config(), this);
    rememberColumnWidths();
    QDialog::done(result);
}

bool Tfm_PersonManage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_cbExactColumn && event->type() == QEvent::FocusIn) {
        fillExactColumns();
    } else if (watched == m_grid->viewport() && event->type() == QEvent::Wheel && m_grid->hasFocus()
               && rowCount() > 0) {
        // The wheel steps through the units one by one.
        const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y();
        const int current = m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : 0;
        const int row = qBound(0, current + (delta > 0 ? -1 : 1), rowCount() - 1);
        const QModelIndex target = m_model->index(row, qMax(1, m_grid->currentIndex().column()));
        m_grid->selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect
                                                              | QItemSelectionModel::Rows);
        m_grid->scrollTo(target);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace billprint
