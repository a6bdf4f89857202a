#include "history/ui/tfm_search_base.h"

#include "app/app_context.h"
#include "app/lookups.h"
#include "app/ui/window_state.h"
#include "history/history_list_model.h"
#include "history/ui/number_recording_panel.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace billprint {

namespace {

constexpr int kDateNodeRole = Qt::UserRole + 1;

QPushButton *clearButton(QWidget *parent, const std::function<void()> &run)
{
    auto *button = new QPushButton(QStringLiteral("清空"), parent);
    button->setFixedWidth(44);
    QObject::connect(button, &QPushButton::clicked, parent, run);
    return button;
}

} // namespace

TfmSearchBase::TfmSearchBase(AppContext &context, const HistoryFamily &family, const HistoryWindowHost &host,
                             QWidget *parent)
    : QDialog(parent), m_ctx(context), m_family(family), m_host(host.withDefaults(context)),
      m_ordering(family.order)
{
    setObjectName(family.windowName);
    setWindowTitle(family.title);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    buildControls();
    buildLayout();
    resize(1100, 680);
    const QDate now = today();
    m_dtFrom->setDate(now);
    m_dtTo->setDate(now);
    connectControls();
    // Not the number box: entering it reads every number of the table.
    button(QStringLiteral("查 询(&Q)"))->setFocus();
    runQuery();  // everything: "不限日期" is on
}

TfmSearchBase::~TfmSearchBase() = default;

void TfmSearchBase::buildControls()
{
    m_filterGroup = buildFilterGroup();
    m_buttonColumn = buildButtonColumn();
    m_treeColumn = buildTreeColumn();
    buildGrid();
    buildMenu();
    m_lbStatus = new QLabel(this);
    m_lbStatus->setObjectName(QStringLiteral("lbStatus"));
    if (m_family.chequeCommands) {
        m_recording = new NumberRecordingPanel(m_ctx, m_host, this);
        m_recording->setStatusLine(m_lbStatus);
        m_recording->hide();
        connect(m_recording, &NumberRecordingPanel::recorded, this, &TfmSearchBase::numbersRecorded);
        connect(m_recording, &NumberRecordingPanel::endRequested, this, [this] { showNumberRecording(false); });
    }
}

QLineEdit *TfmSearchBase::addPartyRow(QGridLayout *grid, int row, int column, const PartyFilterField &party, bool first)
{
    QWidget *group = grid->parentWidget();
    auto *box = new QLineEdit(group);
    box->setObjectName(first ? QStringLiteral("edtFirstParty") : QStringLiteral("edtSecondParty"));
    if (party.takesInputCode())
        box->setPlaceholderText(QStringLiteral("支持简码输入（%+简码）"));
    box->installEventFilter(this);
    auto *pick = new QPushButton(QStringLiteral("选"), group);
    pick->setFixedWidth(28);
    connect(pick, &QPushButton::clicked, this, [this, first] { pickParty(first); });
    grid->addWidget(new QLabel(party.label, group), row, column);
    grid->addWidget(box, row, column + 1);
    grid->addWidget(pick, row, column + 2);
    grid->addWidget(clearButton(group, [this, box] {
                        box->clear();
                        box->setPalette(QPalette());
                    }),
                    row, column + 3);
    return box;
}

QWidget *TfmSearchBase::buildFilterGroup()
{
    auto *group = new QGroupBox(QStringLiteral("查询条件"), this);
    group->setObjectName(QStringLiteral("gbFilters"));
    group->installEventFilter(this);
    auto *grid = new QGridLayout(group);

    m_cbNumber = new QComboBox(group);
    m_cbNumber->setObjectName(QStringLiteral("cbNumber"));
    m_cbNumber->setEditable(true);
    m_cbNumber->setInsertPolicy(QComboBox::NoInsert);
    m_cbNumber->setMinimumWidth(150);
    m_cbNumber->installEventFilter(this);
    grid->addWidget(new QLabel(m_family.numberLabel, group), 0, 0);
    grid->addWidget(m_cbNumber, 0, 1, 1, 2);
    grid->addWidget(clearButton(group, [this] {
                        m_cbNumber->clearEditText();
                        m_cbNumber->lineEdit()->setPalette(QPalette());
                    }),
                    0, 3);
    if (m_family.firstParty.isSet())
        m_edtFirst = addPartyRow(grid, 0, 4, m_family.firstParty, true);
    m_edtSecond = addPartyRow(grid, 1, 4, m_family.secondParty, false);

    m_dtFrom = new QDateEdit(group);
    m_dtFrom->setObjectName(QStringLiteral("dtFrom"));
    m_dtTo = new QDateEdit(group);
    m_dtTo->setObjectName(QStringLiteral("dtTo"));
    for (QDateEdit *picker : {m_dtFrom, m_dtTo}) {
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        picker->setEnabled(false);
    }
    m_ckAnyDate = new QCheckBox(QStringLiteral("不限日期"), group);
    m_ckAnyDate->setObjectName(QStringLiteral("ckAnyDate"));
    m_ckAnyDate->setChecked(true);
    auto *dates = new QHBoxLayout;
    dates->addWidget(m_dtFrom);
    dates->addWidget(new QLabel(QStringLiteral("至"), group));
    dates->addWidget(m_dtTo);
    dates->addWidget(m_ckAnyDate);
    grid->addWidget(new QLabel(m_family.dateLabel, group), 1, 0);
    grid->addLayout(dates, 1, 1, 1, 3);

    int nextRow = 2;
    if (m_family.hasAmountFilter()) {
        m_edtMin = new QLineEdit(group);
        m_edtMin->setObjectName(QStringLiteral("edtMinAmount"));
        m_edtMax = new QLineEdit(group);
        m_edtMax->setObjectName(QStringLiteral("edtMaxAmount"));
        auto *amounts = new QHBoxLayout;
        amounts->addWidget(m_edtMin);
        amounts->addWidget(new QLabel(QStringLiteral("至"), group));
        amounts->addWidget(m_edtMax);
        grid->addWidget(new QLabel(QStringLiteral("金额："), group), nextRow, 0);
        grid->addLayout(amounts, nextRow, 1, 1, 2);
        grid->addWidget(clearButton(group, [this] {
                            for (QLineEdit *box : {m_edtMin, m_edtMax}) {
                                box->clear();
                                box->setPalette(QPalette());
                            }
                        }),
                        nextRow, 3);
    }
    if (m_family.hasTemplateFilter()) {
        m_cbTemplate = new QComboBox(group);
        m_cbTemplate->setObjectName(QStringLiteral("cbTemplate"));
        m_cbTemplate->addItem(QString());
        m_cbTemplate->addItems(Lookups(m_ctx.db()).loadHistoryTypeNameList(m_family.table()));
        grid->addWidget(new QLabel(m_family.templateLabel, group), nextRow, 0);
        grid->addWidget(m_cbTemplate, nextRow, 1, 1, 2);
        grid->addWidget(clearButton(group, [this] { m_cbTemplate->setCurrentIndex(0); }), nextRow, 3);
    }

    auto *mode = new QGroupBox(QStringLiteral("匹配方式"), group);
    auto *modeRow = new QHBoxLayout(mode);
    m_rbExact = new QRadioButton(QStringLiteral("精确查询"), mode);
    m_rbExact->setObjectName(QStringLiteral("rbExact"));
    m_rbContains = new QRadioButton(QStringLiteral("模糊查询"), mode);
    m_rbContains->setObjectName(QStringLiteral("rbContains"));
    m_rbContains->setChecked(true);
    modeRow->addWidget(m_rbExact);
    modeRow->addWidget(m_rbContains);
    grid->addWidget(mode, nextRow, 4, 1, 4);

    m_lbCount = new QLabel(group);
    m_lbCount->setObjectName(QStringLiteral("lbCount"));
    m_lbSum = new QLabel(group);
    m_lbSum->setObjectName(QStringLiteral("lbSum"));
    m_lbSum->setStyleSheet(QStringLiteral("color: rgb(160, 0, 0); font-weight: bold;"));
    grid->addWidget(m_lbCount, nextRow + 1, 0, 1, 4);
    grid->addWidget(m_lbSum, nextRow + 1, 4, 1, 4);
    return group;
}

QPushButton *TfmSearchBase::addButton(const QString &caption, QWidget *parent, const std::function<void()> &run)
{
    auto *button = new QPushButton(caption, parent);
    connect(button, &QPushButton::clicked, this, [run] { run(); });
    button->setAutoDefault(false);
    m_buttons << button;
    return button;
}

QWidget *TfmSearchBase::buildButtonColumn()
{
    auto *column = new QWidget(this);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->addWidget(addButton(QStringLiteral("查 询(&Q)"), column, [this] { runQuery(); }));
    layout->addWidget(addButton(QStringLiteral("全 部(&A)"), column, [this] { showAll(); }));
    layout->addWidget(addButton(QStringLiteral("打开(&O)"), column, [this] { openCurrentRow(); }));
    layout->addWidget(addButton(QStringLiteral("关 闭(&X)"), column, [this] { reject(); }));
    m_ckDblOpen = new QCheckBox(QStringLiteral("双击打开"), column);
    m_ckDblOpen->setObjectName(QStringLiteral("ckDblOpen"));
    m_ckDblOpen->installEventFilter(this);
    layout->addWidget(m_ckDblOpen);
    if (m_family.chequeCommands) {
        layout->addWidget(addButton(QStringLiteral("作废选中(&F)"), column, [this] { voidSelected(); }));
        layout->addWidget(addButton(QStringLiteral("登记联号票据"), column, [this] { showNumberRecording(true); }));
    }
    layout->addStretch();
    return column;
}

QWidget *TfmSearchBase::buildTreeColumn()
{
    auto *column = new QWidget(this);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    m_tree = new QTreeWidget(column);
    m_tree->setObjectName(QStringLiteral("tvDates"));
    m_tree->setHeaderHidden(true);
    auto *root = new QTreeWidgetItem(m_tree, {m_family.dateLabel.chopped(1)});
    for (DateNode node : dateNodes()) {
        auto *item = new QTreeWidgetItem(root, {dateNodeCaption(node)});
        item->setData(0, kDateNodeRole, static_cast<int>(node));
    }
    m_tree->expandAll();
    layout->addWidget(m_tree, 1);
    layout->addWidget(addButton(QStringLiteral("导出Excel(&P)"), column, [this] { exportList(); }));
    layout->addWidget(addButton(QStringLiteral("清空所有(&Y)"), column, [this] { clearAllRows(); }));
    layout->addWidget(addButton(QStringLiteral("删除选中(&D)"), column, [this] { deleteSelected(); }));
    layout->addWidget(addButton(QStringLiteral("删除列出(&C)"), column, [this] { deleteListed(); }));
    column->setMaximumWidth(160);
    return column;
}

void TfmSearchBase::buildGrid()
{
    m_model = new HistoryListModel(m_ctx.db(), m_family, this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("dbgList"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    m_grid->horizontalHeader()->setSectionsClickable(true);
    m_grid->horizontalHeader()->setSortIndicatorShown(false);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (!m_fittingColumns)
            m_columnsSizedByUser = true;
    });
    m_grid->viewport()->installEventFilter(this);
    if (m_family.chequeCommands) {
        // Selected rows white on blue, whatever their status colour.
        QPalette pal = m_grid->palette();
        pal.setColor(QPalette::Highlight, QColor(0, 0, 192));
        pal.setColor(QPalette::HighlightedText, Qt::white);
        m_grid->setPalette(pal);
    }
}

QAction *TfmSearchBase::addMenuCommand(const QString &caption, const std::function<void()> &run,
                                       const QKeySequence &shortcut)
{
    QAction *action = m_menu->addAction(caption);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        addAction(action);  // the shortcut works with the menu shut
    }
    connect(action, &QAction::triggered, this, [run] { run(); });
    return action;
}

void TfmSearchBase::buildMenu()
{
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("pmGrid"));
    addMenuCommand(QStringLiteral("【打开查看】"), [this] { openCurrentRow(); });
    addMenuCommand(QStringLiteral("【刷新】"), [this] { refresh(); });
    if (m_family.chequeCommands) {
        m_menu->addSeparator();
        addMenuCommand(QStringLiteral("【作废】选中"), [this] { voidSelected(); });
        addMenuCommand(QStringLiteral("【修改编号】"), [this] { renumberCurrent(); });
    }
    if (m_family.waybillCommands) {
        m_menu->addSeparator();
        m_rowCommands << addMenuCommand(QStringLiteral("补录入单号"), [this] { fillWaybillNumber(); },
                                        QKeySequence(QStringLiteral("Alt+Z")));
        m_rowCommands << addMenuCommand(QStringLiteral("补录备注"), [this] { fillWaybillRemark(); },
                                        QKeySequence(QStringLiteral("Alt+S")));
        addMenuCommand(QStringLiteral("网上查单"), [this] { trackParcel(); }, QKeySequence(QStringLiteral("Ctrl+F")));
    }
    m_menu->addSeparator();
    addMenuCommand(QStringLiteral("【记住表格列宽】"), [this] { rememberColumnWidths(); });
    addMenuCommand(QStringLiteral("【显示隐藏数据列】"), [this] { chooseColumns(); });
}

void TfmSearchBase::buildLayout()
{
    auto *top = new QHBoxLayout;
    top->addWidget(m_filterGroup, 1);
    top->addWidget(m_buttonColumn);
    auto *split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(m_treeColumn);
    split->addWidget(m_grid);
    split->setStretchFactor(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(split, 1);
    if (m_recording)
        layout->addWidget(m_recording);
    layout->addWidget(m_lbStatus);
}

void TfmSearchBase::connectControls()
{
    connect(m_ckAnyDate, &QCheckBox::toggled, this, &TfmSearchBase::setAnyDate);
    for (QDateEdit *picker : {m_dtFrom, m_dtTo})
        connect(picker, &QDateEdit::dateChanged, this, [this] { m_ckAnyDate->setChecked(false); });
    connect(m_rbExact, &QRadioButton::toggled, this, [this] { runQuery(); });
    if (m_cbTemplate)
        connect(m_cbTemplate, &QComboBox::currentIndexChanged, this, [this] { runQuery(); });
    for (QLineEdit *box : {m_edtMin, m_edtMax})
        if (box)
            connect(box, &QLineEdit::textEdited, this, [box] { box->setPalette(QPalette()); });
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        const QVariant node = item->data(0, kDateNodeRole);
        if (node.isValid())
            dateNodeClicked(static_cast<DateNode>(node.toInt()));
    });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &TfmSearchBase::columnTitleClicked);
    connect(m_grid, &QTableView::doubleClicked, this, [this] {
        if (m_ckDblOpen->isChecked())
            openCurrentRow();
    });
    connect(m_grid, &QTableView::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_menu->popup(m_grid->viewport()->mapToGlobal(pos)); });
    connect(m_ckDblOpen, &QCheckBox::toggled, this, [this] { storeDoubleClickOption(); });
}

QPushButton *TfmSearchBase::button(const QString &caption) const
{
    for (QPushButton *b : m_buttons)
        if (b->text() == caption)
            return b;
    return nullptr;
}

QAction *TfmSearchBase::menuCommand(const QString &caption) const
{
    const QList<QAction *> actions = m_menu->actions();
    for (QAction *a : actions)
        if (a->text() == caption)
            return a;
    return nullptr;
}

void TfmSearchBase::moveCurrentRow(int step)
{
    const int rows = m_model->rowCount();
    if (rows == 0)
        return;
    const int row = qBound(0, currentRow() + step, rows - 1);
    m_grid->setCurrentIndex(m_model->index(row, qMax(0, m_grid->currentIndex().column())));
}

void TfmSearchBase::updateRowCommands()
{
    const bool rows = m_model->rowCount() > 0;
    for (QAction *action : std::as_const(m_rowCommands))
        action->setEnabled(rows);
    for (const QString caption : {QStringLiteral("删除选中(&D)"), QStringLiteral("导出Excel(&P)")})
        if (QPushButton *b = button(caption))
            b->setEnabled(rows);
}

void TfmSearchBase::showEvent(QShowEvent *event)
{
    const QString stored = m_ctx.getINIConfigByname(m_family.doubleClickKey);
    {
        const QSignalBlocker quiet(m_ckDblOpen);
        m_ckDblOpen->setChecked(stored.isEmpty() || stored == QLatin1String("1"));
    }
    FormFaceLoad(m_ctx.config(), this);
    QDialog::showEvent(event);
}

void TfmSearchBase::done(int result)
{
    FormFaceSave(m_ctx.config(), this);
    QDialog::done(result);
}

bool TfmSearchBase::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == m_filterGroup && type == QEvent::MouseButtonPress) {
        if (QPushButton *query = button(QStringLiteral("查 询(&Q)")))
            query->setFocus();
    } else if (watched == m_cbNumber && type == QEvent::FocusIn) {
        fillNumberList();
    } else if (watched == m_ckDblOpen && type == QEvent::FocusOut) {
        storeDoubleClickOption();
    } else if ((watched == m_edtFirst || watched == m_edtSecond) && type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            partyCodeEntered(watched == m_edtFirst);
            return true;
        }
    } else if (m_grid && watched == m_grid->viewport() && type == QEvent::Wheel && m_grid->hasFocus()) {
        // A turn away from the user moves one row up, towards the user one down.
        moveCurrentRow(static_cast<QWheelEvent *>(event)->angleDelta().y() > 0 ? -1 : 1);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace billprint
