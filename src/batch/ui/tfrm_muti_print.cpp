#include "batch/ui/tfrm_muti_print.h"

#include "addressbook/person.h"
#include "app/alert.h"
#include "app/app_context.h"
#include "app/ui/grid_helpers.h"
#include "app/ui/tfrm_export_excel.h"
#include "app/ui/window_state.h"
#include "batch/receiver_person.h"
#include "batch/ui/batch_list_host.h"
#include "batch/ui/batch_print_run.h"
#include "batch/ui/tfrm_pick_units.h"
#include "bills/ui/tfm_check_kdd.h"
#include "app/ui/tfrm_input_value.h"
#include "app/web_info.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QShowEvent>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace billprint {

namespace {

const QString kTable = QStringLiteral("ReceiverList");
const QString kKey = QStringLiteral("ID");
const QString kLaterVersion = QStringLiteral("该功能将在后续版本提供");

QPushButton *makeButton(QWidget *parent, const char *name, const QString &text, const QString &hint = QString())
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setToolTip(hint);
    // Enter belongs to the key box, never to a button.
    b->setAutoDefault(false);
    return b;
}

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

const QString kPaperNotes = QStringLiteral(
    "1、连续纸（从打印机后面进纸）：打印机中设置的纸张大小必须与快递单的大小一致，否则会跳页、错位。\n"
    "2、单张纸（从打印机前面进纸）：每打印完一张须撕下，再一张一张地放入打印。");

} // namespace

TfrmMutiPrint::TfrmMutiPrint(AppContext &context, TfmCheckKDD *waybill, QWidget *parent)
    : QDialog(parent), m_ctx(context), m_waybill(waybill), m_list(context.db())
{
    setObjectName(QStringLiteral("frmMutiPrint"));
    setWindowTitle(QStringLiteral("禾朔软件-批量打印快递单-收件人"));
    setModal(true);
    buildControls();
    connectControls();
    resize(1100, 680);
}

TfrmMutiPrint::~TfrmMutiPrint() = default;

TfrmMutiPrint *TfrmMutiPrint::of(TfmCheckKDD &waybill)
{
    if (auto *list = waybill.findChild<TfrmMutiPrint *>(QString(), Qt::FindDirectChildrenOnly))
        return list;
    return new TfrmMutiPrint(waybill.context(), &waybill, &waybill);
}

const QStringList &TfrmMutiPrint::helpLinks()
{
    static const QStringList links{QStringLiteral("【怎样设置批打纸张?】"), QStringLiteral("【批量打印其他注意】"),
                                   QStringLiteral("【怎样点击多选?】"), QStringLiteral("【怎样仅打印选中条目?】"),
                                   QStringLiteral("【怎样隐藏不用的数据列?】")};
    return links;
}

// ---- Building ---------------------------------------------------------------

void TfrmMutiPrint::buildControls()
{
    m_model = new QSqlQueryModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("gridReceivers"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Shift selects from the anchor, Ctrl adds, a plain click selects one.
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->setWordWrap(false);
    m_grid->setAlternatingRowColors(true);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 8);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setHighlightSections(false);
    QPalette palette = m_grid->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, QColor(0, 78, 200));
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    m_grid->setPalette(palette);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(buildSourceBar());
    layout->addWidget(buildFilterBar());
    layout->addWidget(buildPrintBar());
    layout->addWidget(buildRewritePanel());
    layout->addWidget(m_grid, 1);
    layout->addWidget(buildHelpBar());
    m_rewritePanel->hide();
}

QWidget *TfrmMutiPrint::buildSourceBar()
{
    auto *box = new QGroupBox(QStringLiteral("1.【添加收件人】"), this);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(6, 2, 6, 2);
    row->addWidget(makeButton(box, "btParseText", QStringLiteral("识别复制串或输入"),
                              QStringLiteral("来自淘宝拍拍等的收获地址串识别")));
    row->addWidget(makeButton(box, "btImportExcel", QStringLiteral("导入Excel "),
                              QStringLiteral("从Excel批量导入收件人信息")));
    row->addWidget(makeButton(box, "btPickAddressBook", QStringLiteral("选取地址本"),
                              QStringLiteral("从地址薄选取一些地址")));
    row->addStretch();
    row->addWidget(makeButton(box, "btExport", QStringLiteral("导出到Excel(列出)"), QStringLiteral("导出为Excel备份")));
    row->addWidget(makeButton(box, "btDeleteListed", QStringLiteral("删除当前列出条目")));
    auto *clear = makeButton(box, "btClearAll", QStringLiteral("清空系统所有条目"));
    clear->setStyleSheet(QStringLiteral("color: #b00000;"));
    row->addWidget(clear);
    return box;
}

QWidget *TfrmMutiPrint::buildFilterBar()
{
    auto *box = new QGroupBox(QStringLiteral("2.【过滤查询】(只列出想要的)"), this);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(6, 2, 6, 2);
    m_cbFilter = new QComboBox(box);
    m_cbFilter->setObjectName(QStringLiteral("cbFilterColumn"));
    m_cbFilter->setMinimumWidth(130);
    m_cbMode = new QComboBox(box);
    m_cbMode->setObjectName(QStringLiteral("cbFilterMode"));
    m_cbMode->addItems({QStringLiteral("包含"), QStringLiteral("等于")});
    m_edtKey = new QLineEdit(box);
    m_edtKey->setObjectName(QStringLiteral("edtKey"));
    m_edtKey->setToolTip(QStringLiteral("输入查询关键字"));
    m_edtKey->setPlaceholderText(QStringLiteral("输入查询关键字"));
    m_edtKey->setClearButtonEnabled(true);
    m_cbOrder = new QComboBox(box);
    m_cbOrder->setObjectName(QStringLiteral("cbOrderColumn"));
    m_cbOrder->setMinimumWidth(90);
    m_ckDescending = new QCheckBox(QStringLiteral("倒序"), box);
    m_ckDescending->setObjectName(QStringLiteral("ckDescending"));
    auto count = [box](const char *name) {
        auto *edit = new QLineEdit(QStringLiteral("0"), box);
        edit->setObjectName(QString::fromUtf8(name));
        edit->setReadOnly(true);
        edit->setAlignment(Qt::AlignRight);
        edit->setMaximumWidth(56);
        return edit;
    };
    m_edtListed = count("edtListedCount");
    m_edtSelected = count("edtSelectedCount");

    row->addWidget(new QLabel(QStringLiteral("筛选列:"), box));
    row->addWidget(m_cbFilter);
    row->addWidget(m_cbMode);
    row->addWidget(m_edtKey, 1);
    row->addWidget(new QLabel(QStringLiteral("排序列:"), box));
    row->addWidget(m_cbOrder);
    row->addWidget(m_ckDescending);
    row->addWidget(makeButton(box, "_btRefreash", QStringLiteral("查 询")));
    row->addWidget(makeButton(box, "btAll", QStringLiteral("全 部")));
    row->addSpacing(12);
    row->addWidget(new QLabel(QStringLiteral("共列出:"), box));
    row->addWidget(m_edtListed);
    row->addWidget(new QLabel(QStringLiteral("条,选中了"), box));
    row->addWidget(m_edtSelected);
    row->addWidget(new QLabel(QStringLiteral("条。"), box));
    row->addWidget(makeButton(box, "btSelectFirstN", QStringLiteral("选中前 N 条")));
    return box;
}

QWidget *TfrmMutiPrint::buildPrintBar()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    auto *print = makeButton(bar, "btPrint", QStringLiteral("3.【开始】批量打印列出条目"),
                             QStringLiteral("通常是从打印机后面放入"));
    QFont font = print->font();
    font.setBold(true);
    print->setFont(font);
    print->setMinimumHeight(34);
    row->addWidget(print);
    row->addWidget(makeButton(bar, "btRewrite", QStringLiteral("批量填充列"),
                              QStringLiteral("将一下列表收件人的某项填入同一值")));
    row->addWidget(makeButton(bar, "btDeleteSelected", QStringLiteral("删除选中条目")));
    row->addStretch();
    for (const char *name : {"btFirst", "btLast"}) {
        auto *b = makeButton(bar, name, QString::fromUtf8(name) == QStringLiteral("btFirst") ? QStringLiteral("|<")
                                                                                             : QStringLiteral(">|"));
        b->setMaximumWidth(36);
        row->addWidget(b);
    }
    return bar;
}

QWidget *TfrmMutiPrint::buildHelpBar()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    for (const QString &link : helpLinks()) {
        auto *label = new QLabel(QStringLiteral("<a href=\"help\">%1</a>").arg(link.toHtmlEscaped()), bar);
        label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
        connect(label, &QLabel::linkActivated, this, [this, link] { showHelp(link); });
        row->addWidget(label);
    }
    row->addStretch();
    return bar;
}

QWidget *TfrmMutiPrint::buildRewritePanel()
{
    m_rewritePanel = new QGroupBox(QStringLiteral("批量填充列（将所有收件人的某一列改写为同一值或多列拼合）"), this);
    m_rewritePanel->setObjectName(QStringLiteral("pnlRewrite"));
    m_rewritePanel->installEventFilter(this);
    auto *panel = new QVBoxLayout(m_rewritePanel);
    auto *row = new QHBoxLayout;
    m_cbTarget = new QComboBox(m_rewritePanel);
    m_cbTarget->setObjectName(QStringLiteral("cbRewriteTarget"));
    m_cbTarget->setMinimumWidth(110);
    row->addWidget(new QLabel(QStringLiteral("改写列:"), m_rewritePanel));
    row->addWidget(m_cbTarget);
    row->addWidget(new QLabel(QStringLiteral("="), m_rewritePanel));
    for (int i = 0; i < 3; ++i) {
        m_cbParts[i] = new QComboBox(m_rewritePanel);
        m_cbParts[i]->setObjectName(QStringLiteral("cbRewritePart%1").arg(i + 1));
        m_cbParts[i]->setEditable(true);
        m_cbParts[i]->setMinimumWidth(130);
        if (i > 0)
            row->addWidget(new QLabel(QStringLiteral("+"), m_rewritePanel));
        row->addWidget(m_cbParts[i], 1);
    }
    m_ckEmpty = new QCheckBox(QStringLiteral("置空"), m_rewritePanel);
    m_ckEmpty->setObjectName(QStringLiteral("ckEmptyParts"));
    row->addWidget(m_ckEmpty);
    row->addWidget(makeButton(m_rewritePanel, "btApplyRewrite", QStringLiteral("应用修改")));
    row->addWidget(makeButton(m_rewritePanel, "btCloseRewrite", QStringLiteral("关闭")));
    panel->addLayout(row);
    auto *examples = new QLabel(
        QStringLiteral("例如（多列拼加）：       @地址 = @省 + @市 + @地址\n"
                       "例如（前置特定句子）：   @地址 = 收货地址: + @地址 \n"
                       "例如（后置特定句子）：   @地址 = @地址 + 【务必本人签收】\n"
                       "例如（前后置特定句子）： @内件说明 = 光盘数: +  @数量  + 张.\n"
                       "例如（置为特定句子）：   @内件说明 =  文件或发票"),
        m_rewritePanel);
    examples->setStyleSheet(QStringLiteral("color: #404040;"));
    auto *tip = new QLabel(QStringLiteral("【技巧】：可进行多次拼合达到多列合并的目的！也可用于批量修改某列为固定文字或置空。"),
                           m_rewritePanel);
    tip->setStyleSheet(QStringLiteral("color: #b00000;"));
    panel->addWidget(examples);
    panel->addWidget(tip);
    return m_rewritePanel;
}

void TfrmMutiPrint::connectControls()
{
    auto on = [this](const char *name, auto slot) {
        connect(button(QString::fromUtf8(name)), &QPushButton::clicked, this, slot);
    };
    on("btParseText", &TfrmMutiPrint::openAddressParser);
    on("btImportExcel", &TfrmMutiPrint::openImport);
    on("btPickAddressBook", &TfrmMutiPrint::pickFromAddressBook);
    on("btExport", &TfrmMutiPrint::exportListed);
    on("btDeleteListed", &TfrmMutiPrint::deleteListed);
    on("btClearAll", &TfrmMutiPrint::clearAll);
    on("_btRefreash", &TfrmMutiPrint::refresh);
    on("btAll", &TfrmMutiPrint::listAll);
    on("btSelectFirstN", &TfrmMutiPrint::selectFirstN);
    on("btPrint", &TfrmMutiPrint::printListed);
    on("btRewrite", &TfrmMutiPrint::toggleRewritePanel);
    on("btDeleteSelected", &TfrmMutiPrint::deleteSelected);
    on("btFirst", &TfrmMutiPrint::goFirst);
    on("btLast", &TfrmMutiPrint::goLast);
    on("btApplyRewrite", &TfrmMutiPrint::applyRewrite);
    on("btCloseRewrite", &TfrmMutiPrint::hideRewritePanel);
    connect(m_edtKey, &QLineEdit::returnPressed, this, &TfrmMutiPrint::refresh);
    connect(m_cbOrder, &QComboBox::activated, this, &TfrmMutiPrint::refresh);
    connect(m_ckDescending, &QCheckBox::clicked, this, &TfrmMutiPrint::refresh);
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        QMenu *menu = makeGridMenu();
        menu->exec(m_grid->viewport()->mapToGlobal(pos));
        menu->deleteLater();
    });
    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TfrmMutiPrint::updateCounts);
    connect(m_cbTarget, &QComboBox::textActivated, this, &TfrmMutiPrint::targetChosen);
    connect(m_ckEmpty, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            return;
        for (QComboBox *part : m_cbParts)
            part->setCurrentText(QString());
    });
    for (QComboBox *part : m_cbParts) {
        connect(part, &QComboBox::textActivated, this, [this] { m_ckEmpty->setChecked(false); });
        connect(part->lineEdit(), &QLineEdit::textEdited, this, [this] { m_ckEmpty->setChecked(false); });
    }
}

QPushButton *TfrmMutiPrint::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

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
    if (column < 0 || !m_grid->selectionModel())
        return {};
    // The order in which the rows stand, not the order of the clicks.
    QList<int> rows;
    for (const QModelIndex &index : m_grid->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    QList<int> ids;
    for (int row : rows)
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
    if (listLocked())
        return;
    const BatchListHost &host = batchListHost();
    if (!host.openImport) {
        tell(kLaterVersion);
        return;
    }
    host.openImport(*this);
    refresh();
}

void TfrmMutiPrint::openAddressParser()
{
    if (listLocked())
        return;
    const BatchListHost &host = batchListHost();
    if (!host.openAddressParser) {
        tell(kLaterVersion);
        return;
    }
    host.openAddressParser(*this);
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
    fillRewriteLists();
    m_rewritePanel->show();
    if (isVisible())
        showMaximized();
}

void TfrmMutiPrint::hideRewritePanel()
{
    m_rewritePanel->hide();
}

void TfrmMutiPrint::fillRewriteLists()
{
    QStringList fields;
    for (const QString &column : m_list.columns()) {
        if (column.compare(kKey, Qt::CaseInsensitive) != 0)
            fields << QLatin1Char('@') + column;
    }
    m_cbTarget->clear();
    m_cbTarget->addItems(fields);
    m_cbTarget->setCurrentIndex(-1);
    for (QComboBox *part : m_cbParts) {
        part->clear();
        part->addItems(fields);
        part->setCurrentText(QString());
    }
    m_cbParts[0]->insertItems(0, {QStringLiteral("光盘数:"), QStringLiteral("书刊数:")});
    m_cbParts[2]->insertItems(0, {QStringLiteral("个"), QStringLiteral("本")});
    m_cbParts[0]->setCurrentText(QString());
    m_cbParts[2]->setCurrentText(QString());
}

void TfrmMutiPrint::targetChosen(const QString &target)
{
    QString dictionary;
    if (target == QStringLiteral("@备注"))
        dictionary = QStringLiteral("备注");
    else if (target == QStringLiteral("@内件说明") || target == QStringLiteral("@物品内容"))
        dictionary = QStringLiteral("物品内容");
    if (dictionary.isEmpty())
        return;
    QStringList items;
    QSqlQuery query = m_ctx.db().prepare(QStringLiteral("select distinct DMValue from DMTable where DMName=?"));
    query.addBindValue(dictionary);
    if (query.exec()) {
        while (query.next())
            items << query.value(0).toString();
    }
    for (int i = 0; i < m_cbTarget->count(); ++i)
        items << m_cbTarget->itemText(i);
    const QString typed = m_cbParts[0]->currentText();
    m_cbParts[0]->clear();
    m_cbParts[0]->addItems(items);
    m_cbParts[0]->setCurrentText(typed);
}

void TfrmMutiPrint::applyRewrite()
{
    if (listLocked())
        return;
    ColumnRewrite rewrite;
    rewrite.target = m_cbTarget->currentText().trimmed();
    bool allEmpty = true;
    for (int i = 0; i < 3; ++i) {
        rewrite.parts[i] = m_cbParts[i]->currentText().trimmed();
        allEmpty = allEmpty && rewrite.parts[i].isEmpty();
    }
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

// ---- Menu, help, window -----------------------------------------------------

QMenu *TfrmMutiPrint::makeGridMenu()
{
    auto *menu = new QMenu(this);
    const int selected = int(selectedIds().size());
    const QString count = selected > 0 ? QStringLiteral("(%1条)").arg(selected) : QString();
    menu->addAction(QStringLiteral("【批量打印选中】条目") + count, this, &TfrmMutiPrint::printSelected)
        ->setEnabled(selected > 0);
    menu->addAction(QStringLiteral("【删除】选中条目") + count, this, &TfrmMutiPrint::deleteSelected)
        ->setEnabled(selected > 0);
    menu->addSeparator();
    menu->addAction(QStringLiteral("【批量打印所有】列出条目"), this, &TfrmMutiPrint::printListed)
        ->setEnabled(rowCount() > 0);
    menu->addAction(QStringLiteral("【预览】第1个"), this, &TfrmMutiPrint::preview);
    menu->addAction(QStringLiteral("【刷新】"), this, &TfrmMutiPrint::refresh);
    menu->addSeparator();
    menu->addAction(QStringLiteral("【删除】所有列出条目"), this, &TfrmMutiPrint::deleteListed);
    menu->addAction(QStringLiteral("【清空】系统所有条目"), this, &TfrmMutiPrint::clearAll);
    menu->addSeparator();
    menu->addAction(QStringLiteral("【记住】当前表格列宽"), this, &TfrmMutiPrint::rememberColumnWidths);
    menu->addAction(QStringLiteral("【隐藏/显示】表格列"), this, &TfrmMutiPrint::chooseColumns);
    return menu;
}

void TfrmMutiPrint::rememberColumnWidths()
{
    if (gridIsOpen(m_grid))
        GridColsWidthSave(m_ctx.config(), m_grid, objectName());
}

void TfrmMutiPrint::chooseColumns()
{
    GridColsConfigration(m_ctx.config(), m_grid, objectName(), this);
}

void TfrmMutiPrint::showHelp(const QString &link)
{
    const QStringList &links = helpLinks();
    switch (links.indexOf(link)) {
    case 0:
        openVendorPage(m_ctx, WebLinks::fromContext(m_ctx).url(WebPage::PaperSize));
        break;
    case 1:
        tell(kPaperNotes);
        break;
    case 2:
        tell(QStringLiteral("按住Ctrl或Shift键不放开，然后鼠标左键点击表格中的条目可选中多个条目！"),
             QStringLiteral("禾朔提示"));
        break;
    case 3:
        tell(QStringLiteral("选中要打印的条目后，鼠标右击它们，在弹出的菜单中点击“【批量打印选中】条目”"),
             QStringLiteral("禾朔提示"));
        break;
    case 4:
        tell(QStringLiteral("鼠标右击表格，在弹出的菜单中点击“【隐藏/显示】表格列”,把不需要的列加入到不需要的列表。"),
             QStringLiteral("禾朔提示"));
        break;
    default:
        break;
    }
}

void TfrmMutiPrint::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        FormFaceLoad(m_ctx.config(), this);
        refresh();
    }
    QDialog::showEvent(event);
}

void TfrmMutiPrint::done(int result)
{
    // Closing while a run prints would leave the run without its window.
    if (m_printing) {
        stopPrinting();
        return;
    }
    hideRewritePanel();
    FormFaceSave(m_ctx.config(), this);
    rememberColumnWidths();
    QDialog::done(result);
}

bool TfrmMutiPrint::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_rewritePanel && event->type() == QEvent::MouseButtonDblClick) {
        hideRewritePanel();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace billprint
