// The batch print list window: building it, its menu, help and the
// window's life. The list itself (query, selection, adding, deleting,
// rewriting a column) lives in tfrm_muti_print_list.cpp, the print run
// in tfrm_muti_print_run.cpp.
#include "batch/ui/tfrm_muti_print.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/ui/dialog_buttons.h"
#include "app/ui/grid_helpers.h"
#include "app/ui/window_state.h"
#include "batch/ui/column_rewrite_panel.h"
#include "bills/ui/tfm_check_kdd.h"
#include "app/web_info.h"
#include "app/ui/tfrm_input_value.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>

namespace billprint {

namespace {

QPushButton *makeButton(QWidget *parent, const char *name, const QString &text, const QString &hint = QString())
{
    QPushButton *b = namedButton(parent, QString::fromUtf8(name), text);
    b->setToolTip(hint);
    return b;
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
    auto *previewButton = makeButton(bar, "btPrintPreview", QStringLiteral("打印预览"),
                                     QStringLiteral("查看选中条目（未选中时为列出条目）的打印效果，最多前%1张（Ctrl+Shift+P）")
                                         .arg(PreviewPages));
    previewButton->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+P")));
    previewButton->setMinimumHeight(34);
    row->addWidget(previewButton);
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
    m_rewritePanel = new ColumnRewritePanel(m_ctx.db(), this);
    m_rewritePanel->installEventFilter(this);
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
    on("btPrintPreview", &TfrmMutiPrint::printPreview);
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
}

QWidget *TfrmMutiPrint::rewritePanel() const
{
    return m_rewritePanel;
}

QComboBox *TfrmMutiPrint::rewriteTarget() const
{
    return m_rewritePanel->target();
}

QComboBox *TfrmMutiPrint::rewritePart(int i) const
{
    return m_rewritePanel->part(i);
}

QCheckBox *TfrmMutiPrint::emptyPartsBox() const
{
    return m_rewritePanel->emptyPartsBox();
}

QPushButton *TfrmMutiPrint::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
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
    menu->addAction(QStringLiteral("【打印预览】") + (selected > 0 ? QStringLiteral("选中条目") : QStringLiteral("列出条目")),
                    this, &TfrmMutiPrint::printPreview)
        ->setEnabled(rowCount() > 0);
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
