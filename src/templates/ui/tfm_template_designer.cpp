#include "templates/ui/tfm_template_designer.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/database.h"
#include "bills/check_ini_cache.h"
#include "printing/calibration_sheet.h"
#include "printing/print_fonts.h"
#include "printing/print_run.h"
#include "printing/ui/bill_printer.h"
#include "printing/ui/printer_output.h"
#include "templates/check_type.h"
#include "templates/template_error.h"
#include "templates/ui/design_canvas.h"
#include "templates/ui/tfm_check_design.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QSqlQuery>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace billprint {

namespace {

const QString kGroupHint = QStringLiteral("请选择分组");

QSize defaultPaper(const QString &family)
{
    if (family == QStringLiteral("支票"))
        return {2250, 800};
    if (family == QStringLiteral("境外汇款申请书"))
        return {2100, 2970};
    return {2300, 1270};
}

QSpinBox *spinBox(QWidget *parent, const QString &name, int min, int max, int value)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(min, max);
    box->setValue(value);
    // A typed number is written once, when it is complete.
    box->setKeyboardTracking(false);
    return box;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QStringList installedFonts()
{
    QStringList fonts;
    for (const QString &family : QFontDatabase::families())
        if (!family.startsWith(QLatin1Char('@')))  // vertical-writing faces
            fonts << family;
    return fonts;
}

QString centimetres(int tenthsMm)
{
    return QString::number(tenthsMm / 100.0, 'f', 1);
}

} // namespace

QString TfmTemplateDesigner::Item::listText() const
{
    const QString caption = field.CtlCName.trimmed().isEmpty() ? entry.CtlLabel : field.CtlCName;
    return caption + QLatin1Char('=') + field.CtlName;
}

TfmTemplateDesigner::TfmTemplateDesigner(AppContext &context, int checkTypeId, QWidget *parent)
    : QDialog(parent), m_ctx(context), m_checkTypeId(checkTypeId), m_undo(std::make_unique<QUndoStack>())
{
    setObjectName(QStringLiteral("TfmTemplateDesigner"));
    buildWindow();
    if (!loadTemplate())
        return;
    m_usable = true;
    loadItems();
    measureUnsizedItems();
    rebuildCanvas();
    refreshLists();
    refreshPanels();
    updatePaperStatus();
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 1600, 1000);
    const QSize wanted = m_canvas->size() + QSize(340, m_topPanel->sizeHint().height()
                                                        + m_toolPanel->sizeHint().height() + 60);
    resize(std::clamp(wanted.width(), std::min(980, screen.width()), screen.width()),
           std::min(wanted.height(), screen.height()));
}

TfmTemplateDesigner::~TfmTemplateDesigner()
{
    // The steps refer to this window's redraw; they go first.
    m_undo.reset();
}

// ---- Building ------------------------------------------------------------------

void TfmTemplateDesigner::buildWindow()
{
    m_topPanel = buildTopPanel();
    m_toolPanel = buildToolPanel();
    m_canvas = new DesignCanvas(this);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("sbCanvas"));
    m_scroll->setWidget(m_canvas);
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *middle = new QHBoxLayout;
    middle->addWidget(m_scroll, 1);
    middle->addWidget(buildSidePanel());

    auto *statusBar = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        m_status[i] = new QLabel(this);
        m_status[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        m_status[i]->setFrameShape(QFrame::StyledPanel);
        statusBar->addWidget(m_status[i], i == 3 ? 1 : 0);
    }
    // In the status row, so it stays at hand while the upper panels are hidden.
    m_btFullScreen = button(this, QStringLiteral("btFullScreen"), QStringLiteral("满屏"));
    statusBar->addWidget(m_btFullScreen);
    connect(m_btFullScreen, &QPushButton::clicked, this, &TfmTemplateDesigner::toggleFullScreen);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_topPanel);
    layout->addWidget(m_toolPanel);
    layout->addLayout(middle, 1);
    layout->addLayout(statusBar);

    connect(m_canvas, &DesignCanvas::itemPressed, this, &TfmTemplateDesigner::itemPressed);
    connect(m_canvas, &DesignCanvas::itemDoubleClicked, this, &TfmTemplateDesigner::itemDoubleClicked);
    connect(m_canvas, &DesignCanvas::dragMoved, this, &TfmTemplateDesigner::dragMoved);
    connect(m_canvas, &DesignCanvas::dragFinished, this, &TfmTemplateDesigner::dragFinished);
    connect(m_canvas, &DesignCanvas::arrowKey, this,
            [this](int dx, int dy, Qt::KeyboardModifiers) { arrowKey(dx, dy); });
    connect(m_canvas, &DesignCanvas::emptyClicked, this, [this](QPoint) {
        setStatus(QString::number(m_canvas->width()) + QLatin1Char(',') + QString::number(m_canvas->height()));
    });

    auto *undo = m_undo->createUndoAction(this, QStringLiteral("撤销"));
    undo->setShortcut(QKeySequence::Undo);
    auto *redo = m_undo->createRedoAction(this, QStringLiteral("重做"));
    redo->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    addAction(undo);
    addAction(redo);
}

QWidget *TfmTemplateDesigner::buildTopPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("pnlTop"));
    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("底图源"), panel));
    m_lbPicture = new QLabel(panel);
    m_lbPicture->setObjectName(QStringLiteral("lbImgSource"));
    row->addWidget(m_lbPicture);
    QPushButton *btBrowse = button(panel, QStringLiteral("btBrowse"), QStringLiteral("浏览图.."));
    row->addWidget(btBrowse);

    m_cbWidth = new QComboBox(panel);
    m_cbWidth->setObjectName(QStringLiteral("cbPaperWidth"));
    m_cbWidth->setEditable(true);
    m_cbWidth->addItems({"17.5", "18.0", "19.0", "21.0", "22.5", "23.0", "24.0"});
    m_cbHeight = new QComboBox(panel);
    m_cbHeight->setObjectName(QStringLiteral("cbPaperHeight"));
    m_cbHeight->setEditable(true);
    m_cbHeight->addItems({"8.0", "8.5", "9.0", "9.5", "10.0", "10.1", "10.2", "10.5", "11.5", "12.0", "12.7", "14.0",
                          "15.2", "15.3"});
    row->addWidget(new QLabel(QStringLiteral("底图宽度:"), panel));
    row->addWidget(m_cbWidth);
    row->addWidget(new QLabel(QStringLiteral("底图高度:"), panel));
    row->addWidget(m_cbHeight);
    row->addWidget(new QLabel(QStringLiteral("厘米"), panel));
    QPushButton *btPaper = button(panel, QStringLiteral("btApplyPaper"), QStringLiteral("【应用底图大小】"));
    QPushButton *btFields = button(panel, QStringLiteral("btShowHidden"), QStringLiteral("【显示隐藏项目】"));
    QPushButton *btCalibrate = button(panel, QStringLiteral("btCalibrate"), QStringLiteral("校准打印"));
    btCalibrate->setToolTip(QStringLiteral("打印毫米网格、各项目的区域和名称及测试数据，对着票据量出偏移"));
    row->addWidget(btPaper);
    row->addWidget(btFields);
    row->addWidget(btCalibrate);
    row->addStretch();

    connect(btBrowse, &QPushButton::clicked, this, &TfmTemplateDesigner::browsePicture);
    connect(btPaper, &QPushButton::clicked, this, &TfmTemplateDesigner::applyPaperSize);
    connect(btFields, &QPushButton::clicked, this, &TfmTemplateDesigner::showFieldDesigner);
    connect(btCalibrate, &QPushButton::clicked, this, [this] {
        if (printCalibration) {
            printCalibration(m_checkTypeId);
            return;
        }
        if (!requireInstalledPrinter(m_ctx))
            return;
        PrinterOutput output(BillPrinter::printer());
        QString error;
        if (!printCalibrationSheet(m_ctx, m_checkTypeId, output, &error) && !error.isEmpty())
            tell(error, QStringLiteral("错误"), AlertIcon::Error);
    });
    connect(m_cbWidth->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        m_cbHeight->setFocus();
        m_cbHeight->lineEdit()->selectAll();
    });
    return panel;
}

QWidget *TfmTemplateDesigner::buildToolPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("pnlTools"));
    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);

    auto *modes = new QGroupBox(QStringLiteral("选取"), panel);
    auto *modeRow = new QHBoxLayout(modes);
    m_rbSingle = new QRadioButton(QStringLiteral("单选"), modes);
    m_rbMultiple = new QRadioButton(QStringLiteral("多选"), modes);
    m_rbSingle->setChecked(true);
    modeRow->addWidget(m_rbSingle);
    modeRow->addWidget(m_rbMultiple);
    auto *group = new QButtonGroup(modes);
    group->addButton(m_rbSingle);
    group->addButton(m_rbMultiple);
    row->addWidget(modes);

    row->addWidget(new QLabel(QStringLiteral("多选分组:"), panel));
    m_cbGroup = new QComboBox(panel);
    m_cbGroup->setObjectName(QStringLiteral("cbGroup"));
    m_cbGroup->setEditable(true);
    m_cbGroup->lineEdit()->setPlaceholderText(kGroupHint);
    m_cbGroup->setMinimumWidth(110);
    m_cbGroup->setEnabled(false);
    row->addWidget(m_cbGroup);

    m_lbStep = new QLabel(panel);
    row->addWidget(m_lbStep);
    m_slStep = new QSlider(Qt::Horizontal, panel);
    m_slStep->setObjectName(QStringLiteral("tbStep"));
    m_slStep->setRange(1, 100);
    m_slStep->setValue(m_step);
    m_slStep->setFixedWidth(110);
    row->addWidget(m_slStep);
    for (const char *mm : {"0.2", "0.3", "0.5", "0.6", "1", "2", "3", "5", "10"}) {
        auto *label = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(QLatin1String(mm)), panel);
        connect(label, &QLabel::linkActivated, this,
                [this](const QString &text) { setStep(int(text.toDouble() * 10 + 1e-9)); });
        row->addWidget(label);
    }
    const struct { const char *name; const char *text; int dx, dy; } moves[] = {
        {"btUp", "上移", 0, -1}, {"btDown", "下移", 0, 1}, {"btLeft", "左移", -1, 0}, {"btRight", "右移", 1, 0}};
    for (const auto &m : moves) {
        QPushButton *b = button(panel, QLatin1String(m.name), QString::fromUtf8(m.text));
        const int dx = m.dx, dy = m.dy;
        connect(b, &QPushButton::clicked, this, [this, b, dx, dy] {
            b->setEnabled(false);
            moveSelected(dx, dy);
            b->setEnabled(true);
        });
        row->addWidget(b);
    }
    row->addWidget(new QLabel(QStringLiteral("缩放率:"), panel));
    m_cbZoom = new QComboBox(panel);
    m_cbZoom->setObjectName(QStringLiteral("cbZoom"));
    m_cbZoom->setEditable(true);
    m_cbZoom->addItems({"150", "120", "100", "80", "50"});
    m_cbZoom->setCurrentText(QStringLiteral("100"));
    row->addWidget(m_cbZoom);
    m_ckTransparent = new QCheckBox(QStringLiteral("透明底色"), panel);
    m_ckTransparent->setChecked(true);
    row->addWidget(m_ckTransparent);
    QPushButton *btUndo = button(panel, QStringLiteral("btUndo"), QStringLiteral("撤销"));
    QPushButton *btRedo = button(panel, QStringLiteral("btRedo"), QStringLiteral("重做"));
    btUndo->setToolTip(QStringLiteral("Ctrl+Z"));
    btRedo->setToolTip(QStringLiteral("Ctrl+Y"));
    btUndo->setEnabled(false);
    btRedo->setEnabled(false);
    row->addWidget(btUndo);
    row->addWidget(btRedo);
    row->addStretch();

    connect(btUndo, &QPushButton::clicked, m_undo.get(), &QUndoStack::undo);
    connect(btRedo, &QPushButton::clicked, m_undo.get(), &QUndoStack::redo);
    connect(m_undo.get(), &QUndoStack::canUndoChanged, btUndo, &QPushButton::setEnabled);
    connect(m_undo.get(), &QUndoStack::canRedoChanged, btRedo, &QPushButton::setEnabled);
    connect(m_rbMultiple, &QRadioButton::toggled, this, [this] { modeChanged(); });
    connect(m_slStep, &QSlider::valueChanged, this, [this](int v) {
        m_step = v;
        updateStepLabel();
    });
    connect(m_cbZoom, &QComboBox::textActivated, this, &TfmTemplateDesigner::zoomChosen);
    connect(m_cbZoom->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { zoomChosen(m_cbZoom->currentText()); });
    connect(m_ckTransparent, &QCheckBox::toggled, this, [this](bool on) {
        m_canvas->setTransparent(on);
    });
    connect(m_cbGroup, &QComboBox::textActivated, this, &TfmTemplateDesigner::groupChosen);
    updateStepLabel();
    return panel;
}

QWidget *TfmTemplateDesigner::buildSidePanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("pnlSelect"));
    panel->setFixedWidth(320);
    auto *column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    m_lbSelected = new QListWidget(panel);
    m_lbSelected->setObjectName(QStringLiteral("lbSelected"));
    m_lbAll = new QListWidget(panel);
    m_lbAll->setObjectName(QStringLiteral("lbAll"));
    m_lbSelected->setMaximumHeight(110);
    m_lbAll->setMaximumHeight(160);
    column->addWidget(new QLabel(QStringLiteral("选中项目列表:"), panel));
    column->addWidget(m_lbSelected);
    column->addWidget(new QLabel(QStringLiteral("可选项目列表:"), panel));
    column->addWidget(m_lbAll);
    m_panels = new QStackedWidget(panel);
    m_panels->addWidget(buildPropertyPanel());
    m_panels->addWidget(buildBatchPanel());
    column->addWidget(m_panels, 1);

    m_lbSelected->setContextMenuPolicy(Qt::CustomContextMenu);
    m_lbAll->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_lbSelected, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("清空选择"), this, [this] { setSelection({}); });
        menu.exec(m_lbSelected->mapToGlobal(at));
    });
    connect(m_lbAll, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("全选"), this, [this] {
            QStringList all;
            for (const Item &i : m_items)
                all << i.field.CtlName;
            selectItems(all);
        });
        menu.addAction(QStringLiteral("反选"), this, [this] {
            QStringList rest;
            for (const Item &i : m_items)
                if (!m_selected.contains(i.field.CtlName))
                    rest << i.field.CtlName;
            selectItems(rest);
        });
        menu.exec(m_lbAll->mapToGlobal(at));
    });
    connect(m_lbAll, &QListWidget::itemClicked, this, [this](QListWidgetItem *entry) {
        if (m_selected.isEmpty())
            addToSelection(entry->data(Qt::UserRole).toString());
    });
    connect(m_lbAll, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *entry) {
        const QString name = entry->data(Qt::UserRole).toString();
        if (multipleMode())
            addToSelection(name);
        else
            setSelection({name});
    });
    return panel;
}

QWidget *TfmTemplateDesigner::buildPropertyPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("pnlProperty"));
    auto *form = new QFormLayout(panel);
    form->setContentsMargins(0, 0, 0, 0);
    m_edtX = spinBox(panel, QStringLiteral("edtX"), 0, 3000, 0);
    m_edtY = spinBox(panel, QStringLiteral("edtY"), 0, 3000, 0);
    m_edtW = spinBox(panel, QStringLiteral("edtW"), 0, 3000, 0);
    m_edtH = spinBox(panel, QStringLiteral("edtH"), 0, 3000, 0);
    auto *position = new QHBoxLayout;
    position->addWidget(m_edtX);
    position->addWidget(new QLabel(QStringLiteral("距顶:"), panel));
    position->addWidget(m_edtY);
    form->addRow(QStringLiteral("距左:"), position);
    auto *size = new QHBoxLayout;
    size->addWidget(m_edtW);
    size->addWidget(new QLabel(QStringLiteral("区域高:"), panel));
    size->addWidget(m_edtH);
    form->addRow(QStringLiteral("区域宽:"), size);
    form->addRow(new QLabel(QStringLiteral("(单位 0.1mm)"), panel));

    m_cbFont = new QComboBox(panel);
    m_cbFont->setObjectName(QStringLiteral("cbFont"));
    m_cbFont->addItems(installedFonts());
    m_cbFont->setMaximumWidth(200);
    form->addRow(QStringLiteral("打印字体:"), m_cbFont);
    m_edtFontSize = spinBox(panel, QStringLiteral("edtFontSize"), 6, 20, 11);
    form->addRow(QStringLiteral("字号:"), m_edtFontSize);
    auto *styles = new QHBoxLayout;
    m_ckBold = new QCheckBox(QStringLiteral("粗体"), panel);
    m_ckItalic = new QCheckBox(QStringLiteral("斜体"), panel);
    m_ckUnderline = new QCheckBox(QStringLiteral("下划线"), panel);
    styles->addWidget(m_ckBold);
    styles->addWidget(m_ckItalic);
    styles->addWidget(m_ckUnderline);
    form->addRow(styles);

    m_ckBreak = new QCheckBox(QStringLiteral("无需换行打印."), panel);
    m_ckBreak->setObjectName(QStringLiteral("ckBreak"));
    m_edtBreakNum = spinBox(panel, QStringLiteral("edtBreakNum"), 1, 200, 50);
    m_edtBreakFontSize = spinBox(panel, QStringLiteral("edtBreakFontSize"), 6, 20, 9);
    m_edtLineHeight = spinBox(panel, QStringLiteral("edtLineHeight"), 25, 200, 40);
    auto *breaking = new QHBoxLayout;
    breaking->addWidget(m_ckBreak);
    breaking->addWidget(m_edtBreakNum);
    breaking->addWidget(new QLabel(QStringLiteral("个汉字"), panel));
    form->addRow(breaking);
    auto *breakSizes = new QHBoxLayout;
    breakSizes->addWidget(new QLabel(QStringLiteral("行高:"), panel));
    breakSizes->addWidget(m_edtLineHeight);
    breakSizes->addWidget(new QLabel(QStringLiteral("换行字号:"), panel));
    breakSizes->addWidget(m_edtBreakFontSize);
    form->addRow(breakSizes);

    m_ckFit = new QCheckBox(QStringLiteral("无需等宽打印."), panel);
    m_ckFit->setObjectName(QStringLiteral("ckFit"));
    m_edtFit = spinBox(panel, QStringLiteral("edtFit"), 20, 200, 25);
    auto *fit = new QHBoxLayout;
    fit->addWidget(m_ckFit);
    fit->addWidget(new QLabel(QStringLiteral("字宽:"), panel));
    fit->addWidget(m_edtFit);
    fit->addWidget(new QLabel(QStringLiteral("(0.1mm)"), panel));
    form->addRow(fit);

    m_cbAlign = new QComboBox(panel);
    m_cbAlign->setObjectName(QStringLiteral("cbAlign"));
    m_cbAlign->addItems({QStringLiteral("左对齐"), QStringLiteral("居中"), QStringLiteral("右对齐")});
    form->addRow(QStringLiteral("对齐:"), m_cbAlign);
    m_edtInitValue = new QLineEdit(panel);
    m_edtInitValue->setObjectName(QStringLiteral("edtInitValue"));
    form->addRow(QStringLiteral("默认值："), m_edtInitValue);
    m_cbSample = new QComboBox(panel);
    m_cbSample->setObjectName(QStringLiteral("cbSample"));
    m_cbSample->setEditable(true);
    m_cbSample->addItems({"1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "测试数据", "壹万贰仟叁佰肆拾伍元整",
                          "北京市朝阳区建国路88号"});
    QPushButton *btSample = button(panel, QStringLiteral("btApplySample"), QStringLiteral("应用测试"));
    auto *sample = new QHBoxLayout;
    sample->addWidget(m_cbSample, 1);
    sample->addWidget(btSample);
    form->addRow(QStringLiteral("测试数据："), sample);
    QPushButton *btSave = button(panel, QStringLiteral("btSaveBox"), QStringLiteral("【保存打印设置】"));
    form->addRow(btSave);

    connect(btSample, &QPushButton::clicked, this, &TfmTemplateDesigner::applySampleValue);
    connect(btSave, &QPushButton::clicked, this, &TfmTemplateDesigner::saveCurrentBox);
    connectPropertyBoxes();
    return panel;
}

void TfmTemplateDesigner::connectPropertyBoxes()
{
    const auto number = [this](QSpinBox *box, const char *column) {
        connect(box, qOverload<int>(&QSpinBox::valueChanged), this,
                [this, column](int v) { writeProperty(QLatin1String(column), v); });
    };
    number(m_edtX, "CtlX");
    number(m_edtY, "CtlY");
    number(m_edtW, "CtlW");
    number(m_edtH, "CtlH");
    number(m_edtFontSize, "CtlFontSize");
    connect(m_edtBreakNum, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) {
        if (m_ckBreak->isChecked())
            writeProperty(QStringLiteral("BreakNum"), QString::number(v));
    });
    connect(m_edtBreakFontSize, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) {
        if (m_ckBreak->isChecked())
            writeProperty(QStringLiteral("BreakFontSize"), v);
    });
    connect(m_edtLineHeight, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) {
        if (m_ckBreak->isChecked())
            writeProperty(QStringLiteral("CtlLH"), v);
    });
    connect(m_edtFit, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) {
        if (m_ckFit->isChecked())
            writeProperty(QStringLiteral("FitParam"), QString::number(v));
    });
    connect(m_cbFont, &QComboBox::currentTextChanged, this, [this](const QString &font) {
        writeProperty(QStringLiteral("CtlFontName"), font.trimmed().isEmpty() ? CkControl::defaultFontName() : font);
    });
    const auto flag = [this](QCheckBox *box, const char *column) {
        connect(box, &QCheckBox::toggled, this,
                [this, column](bool on) { writeProperty(QLatin1String(column), on ? 1 : 0); });
    };
    flag(m_ckBold, "Bold");
    flag(m_ckItalic, "Italic");
    flag(m_ckUnderline, "UnderLine");
    connect(m_cbAlign, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int index) { writeProperty(QStringLiteral("Align"), QString::number(index)); });
    connect(m_edtInitValue, &QLineEdit::editingFinished, this,
            [this] { writeProperty(QStringLiteral("InitValue"), m_edtInitValue->text()); });
    connect(m_ckBreak, &QCheckBox::toggled, this, [this](bool on) {
        m_ckBreak->setText(on ? QStringLiteral("需换行,超过     汉字换行打印.") : QStringLiteral("无需换行打印."));
        m_edtBreakNum->setVisible(on);
        m_edtBreakFontSize->setVisible(on);
        m_edtLineHeight->setVisible(on);
        if (m_updating || m_selected.size() != 1)
            return;
        const QString name = m_selected.first();
        const Item *current = item(name);
        if (!current)
            return;
        std::vector<ColumnEdit> edits;
        const auto edit = [&](const char *column, const QVariant &before, const QVariant &after) {
            edits.push_back(ColumnEdit::field(m_checkTypeId, name, QLatin1String(column), before, after));
        };
        edit("BreakNum", current->field.BreakNum, on ? QString::number(m_edtBreakNum->value()) : QString());
        if (on) {
            edit("BreakFontSize", current->field.BreakFontSize, m_edtBreakFontSize->value());
            edit("CtlLH", current->field.CtlLH, m_edtLineHeight->value());
        }
        pushEdits(on ? QStringLiteral("换行打印") : QStringLiteral("不换行打印"), edits);
    });
    connect(m_ckFit, &QCheckBox::toggled, this, [this](bool on) {
        m_ckFit->setText(on ? QStringLiteral("需等宽打印,") : QStringLiteral("无需等宽打印."));
        if (m_updating)
            return;
        writeProperty(QStringLiteral("FitParam"), on ? QString::number(m_edtFit->value()) : QString());
        if (on)
            setStatus(QStringLiteral("等宽打印勾选后，需要修改字宽后才生效（大于25=2.5mm）！"));
    });
}

QWidget *TfmTemplateDesigner::buildBatchPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("pnlBatch"));
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    m_cbBatchFont = new QComboBox(panel);
    m_cbBatchFont->setObjectName(QStringLiteral("cbBatchFont"));
    m_cbBatchFont->addItem(QString());
    m_cbBatchFont->addItems(installedFonts());
    m_cbBatchFont->setMaximumWidth(170);
    QPushButton *btFont = button(panel, QStringLiteral("btBatchFont"), QStringLiteral("批量应用"));
    grid->addWidget(new QLabel(QStringLiteral("批量改字体"), panel), 0, 0);
    grid->addWidget(m_cbBatchFont, 0, 1);
    grid->addWidget(btFont, 0, 2);
    m_edtBatchFontSize = spinBox(panel, QStringLiteral("edtBatchFontSize"), 8, 20, 11);
    QPushButton *btSize = button(panel, QStringLiteral("btBatchFontSize"), QStringLiteral("批量应用"));
    grid->addWidget(new QLabel(QStringLiteral("批量改字号"), panel), 1, 0);
    grid->addWidget(m_edtBatchFontSize, 1, 1);
    grid->addWidget(btSize, 1, 2);
    connect(btFont, &QPushButton::clicked, this, &TfmTemplateDesigner::applyFontToSelected);
    connect(btSize, &QPushButton::clicked, this, &TfmTemplateDesigner::applyFontSizeToSelected);

    struct Op { const char *name; const char *text; std::function<void()> run; };
    const std::vector<Op> ops = {
        {"btAlignLeft", "最左对齐", [this] { alignSelected(BoxEdge::Left); }},
        {"btAlignRight", "最右对齐", [this] { alignSelected(BoxEdge::Right); }},
        {"btAlignTop", "最顶对齐", [this] { alignSelected(BoxEdge::Top); }},
        {"btAlignBottom", "最底对齐", [this] { alignSelected(BoxEdge::Bottom); }},
        {"btWidest", "等宽-最宽", [this] { equalSizeSelected(BoxSide::Width, Extreme::Largest); }},
        {"btTallest", "等高-最高", [this] { equalSizeSelected(BoxSide::Height, Extreme::Largest); }},
        {"btNarrowest", "等宽-最窄", [this] { equalSizeSelected(BoxSide::Width, Extreme::Smallest); }},
        {"btShortest", "等高-最矮", [this] { equalSizeSelected(BoxSide::Height, Extreme::Smallest); }},
        {"btWider", "+宽", [this] { growSelected(BoxSide::Width, true); }},
        {"btTaller", "+高", [this] { growSelected(BoxSide::Height, true); }},
        {"btNarrower", "-宽", [this] { growSelected(BoxSide::Width, false); }},
        {"btShorter", "-高", [this] { growSelected(BoxSide::Height, false); }},
    };
    int row = 2;
    int col = 0;
    for (const Op &op : ops) {
        QPushButton *b = button(panel, QLatin1String(op.name), QString::fromUtf8(op.text));
        connect(b, &QPushButton::clicked, this, op.run);
        grid->addWidget(b, row, col);
        if (++col == 3) {
            col = 0;
            ++row;
        }
    }
    ++row;
    m_edtStrideX = spinBox(panel, QStringLiteral("edtStrideX"), 20, 1000, 40);
    m_edtStrideY = spinBox(panel, QStringLiteral("edtStrideY"), 20, 1000, 50);
    QPushButton *btSpreadX = button(panel, QStringLiteral("btSpreadX"), QStringLiteral("批量应用-横向"));
    QPushButton *btSpreadY = button(panel, QStringLiteral("btSpreadY"), QStringLiteral("批量应用-纵向"));
    grid->addWidget(new QLabel(QStringLiteral("递增宽度"), panel), row, 0);
    grid->addWidget(m_edtStrideX, row, 1);
    grid->addWidget(btSpreadX, row, 2);
    ++row;
    grid->addWidget(new QLabel(QStringLiteral("递增高度"), panel), row, 0);
    grid->addWidget(m_edtStrideY, row, 1);
    grid->addWidget(btSpreadY, row, 2);
    grid->setRowStretch(row + 1, 1);
    connect(btSpreadX, &QPushButton::clicked, this, [this] { distributeSelected(Axis::Horizontal); });
    connect(btSpreadY, &QPushButton::clicked, this, [this] { distributeSelected(Axis::Vertical); });
    return panel;
}

// ---- Loading -------------------------------------------------------------------

bool TfmTemplateDesigner::loadTemplate()
{
    const std::optional<TCheckType> type = TCheckType::findById(m_ctx.db(), m_checkTypeId);
    m_family = type ? type->getFirstName() : QString();
    if (m_family.isEmpty()) {
        tell(QStringLiteral("没有找到对应的单据信息~"));
        return false;
    }
    m_fullName = type->TypeName;
    setWindowTitle(QStringLiteral("打印项目设置-【") + m_fullName + QStringLiteral("】"));
    const QSize fallback = defaultPaper(m_family);
    m_paper = QSize(type->PWidth > 0 ? type->PWidth : fallback.width(),
                    type->PHeight > 0 ? type->PHeight : fallback.height());
    m_cbWidth->setCurrentText(centimetres(m_paper.width()));
    m_cbHeight->setCurrentText(centimetres(m_paper.height()));
    const QString picture = m_ctx.dataRoot().imageFolder() + type->pictureFile();
    m_lbPicture->setText(picture);
    m_picture = QImage(picture);  // a missing picture leaves the paper white

    QStringList groups;
    QSqlQuery q = m_ctx.db().prepare(QStringLiteral("select distinct Groups from NameDict where CheckTypeName=?"));
    q.addBindValue(m_family);
    if (q.exec())
        while (q.next())
            if (!q.value(0).toString().trimmed().isEmpty())
                groups << q.value(0).toString().trimmed();
    m_cbGroup->addItems(groups);
    m_cbGroup->setCurrentIndex(-1);
    return true;
}

void TfmTemplateDesigner::loadItems()
{
    m_items.clear();
    try {
        QHash<QString, CkControl> fields;
        for (const CkControl &field : CkControlStore(m_ctx.db()).loadAll(m_checkTypeId))
            fields.insert(field.CtlName.trimmed().toUpper(), field);
        for (const NameDict &entry : NameDictStore(m_ctx.db()).listFamily(m_family, Qt::DescendingOrder)) {
            if (!entry.isPrintItem())
                continue;
            const auto field = fields.constFind(entry.CtlName.trimmed().toUpper());
            if (field == fields.constEnd() || field->NeedPrint != 1)
                continue;
            m_items.push_back({*field, entry});
        }
    } catch (const TemplateError &e) {
        tell(QStringLiteral("调入项目参数失败!") + e.message(), QStringLiteral("错误"), AlertIcon::Error);
    }
    QStringList present;
    for (const Item &i : m_items)
        present << i.field.CtlName;
    QStringList kept;
    for (const QString &name : std::as_const(m_selected))
        if (present.contains(name))
            kept << name;
    m_selected = kept;
}

void TfmTemplateDesigner::measureUnsizedItems()
{
    // An item never given a print box is drawn as big as its input box; that
    // size becomes its print box, so the batch operations have one to work on.
    const PaperScale scale = PaperScale::forScreen(logicalDpiX(), m_zoom);
    std::vector<ColumnEdit> edits;
    for (const Item &i : m_items) {
        if (i.field.CtlW == 0)
            edits.push_back(ColumnEdit::field(m_checkTypeId, i.field.CtlName, QStringLiteral("CtlW"), 0,
                                              scale.toTenths(i.field.SrcW)));
        if (i.field.CtlH == 0)
            edits.push_back(ColumnEdit::field(m_checkTypeId, i.field.CtlName, QStringLiteral("CtlH"), 0,
                                              scale.toTenths(i.field.SrcH)));
    }
    if (edits.empty())
        return;
    try {
        TemplateEditWriter(m_ctx.db()).write(edits);
    } catch (const TemplateError &e) {
        setStatus(QStringLiteral("保存错误") + e.message());
    }
    loadItems();
}

void TfmTemplateDesigner::rebuildCanvas()
{
    m_scale = PaperScale::forScreen(logicalDpiX(), m_zoom);
    m_canvas->setCanvasSize(QSize(m_scale.toPixels(m_paper.width()), m_scale.toPixels(m_paper.height())));
    m_canvas->setPicture(m_picture);
    std::vector<CanvasItem> items;
    for (const Item &i : m_items) {
        if (i.field.NeedPrint != 1)
            continue;
        for (const DesignLabel &label : designLabels(i.field, designSampleText(i.field, i.entry), m_scale)) {
            CanvasItem c;
            c.key = label.ctlName;
            c.hint = label.hint;
            c.rect = label.rect;
            c.text = label.text;
            const int points = label.fontSize > 0 ? label.fontSize : kUnsetPointSize;
            c.font = printFont(label.fontName, points, label.bold, label.italic, label.underline);
            c.font.setPointSizeF(points * m_zoom / 100.0);
            c.align = label.align;
            c.look = CanvasItem::Look::Label;
            items.push_back(c);
        }
    }
    m_canvas->setItems(std::move(items));
    m_canvas->setSelection(m_selected);
    m_canvas->setTransparent(m_ckTransparent->isChecked());
}

void TfmTemplateDesigner::refreshLists()
{
    m_lbAll->clear();
    m_lbSelected->clear();
    for (const Item &i : m_items) {
        auto *entry = new QListWidgetItem(i.listText(), m_lbAll);
        entry->setData(Qt::UserRole, i.field.CtlName);
    }
    for (const QString &name : std::as_const(m_selected)) {
        const Item *i = item(name);
        auto *entry = new QListWidgetItem(i ? i->listText() : QStringLiteral("错误=") + name, m_lbSelected);
        entry->setData(Qt::UserRole, name);
    }
}

void TfmTemplateDesigner::refreshPanels()
{
    m_panels->setCurrentIndex(m_selected.size() >= 2 ? 1 : 0);
    loadProperties();
}

void TfmTemplateDesigner::loadProperties()
{
    if (m_selected.size() != 1)
        return;
    const Item *current = item(m_selected.first());
    if (!current)
        return;
    const CkControl &f = current->field;
    m_updating = true;
    m_edtY->setMaximum(std::max(0, m_paper.height() - 5));
    m_edtX->setValue(f.CtlX);
    m_edtY->setValue(f.CtlY);
    m_edtW->setValue(f.CtlW == 0 ? m_scale.toTenths(f.SrcW) : f.CtlW);
    m_edtH->setValue(f.CtlH == 0 ? m_scale.toTenths(f.SrcH) : f.CtlH);
    for (QSpinBox *box : {m_edtX, m_edtY, m_edtW, m_edtH})
        box->setSingleStep(m_step);
    m_edtFontSize->setValue(f.CtlFontSize);
    // A face this machine lacks is still the template's: listed as it is.
    const QString face = f.CtlFontName.trimmed().isEmpty() ? CkControl::defaultFontName() : f.CtlFontName;
    if (m_cbFont->findText(face) < 0)
        m_cbFont->insertItem(0, face);
    m_cbFont->setCurrentText(face);
    m_ckBold->setChecked(f.Bold > 0);
    m_ckItalic->setChecked(f.Italic > 0);
    m_ckUnderline->setChecked(f.UnderLine > 0);
    const bool breaking = !f.BreakNum.trimmed().isEmpty();
    m_ckBreak->setChecked(breaking);
    m_edtBreakNum->setValue(breaking ? f.BreakNum.toInt() : 50);
    m_edtBreakFontSize->setValue(breaking ? f.BreakFontSize : f.CtlFontSize);
    m_edtLineHeight->setValue(f.CtlLH <= 0 ? 50 : f.CtlLH);
    const bool fit = !f.FitParam.trimmed().isEmpty();
    m_ckFit->setChecked(fit);
    m_edtFit->setValue(fit ? f.FitParam.toInt() : 20);
    m_cbSample->setCurrentText(current->entry.CtlData);
    m_edtInitValue->setText(f.InitValue);
    const QString align = f.Align.trimmed();
    m_cbAlign->setCurrentIndex(align == QLatin1String("1") ? 1 : align == QLatin1String("2") ? 2 : 0);
    m_updating = false;
}

void TfmTemplateDesigner::afterWrite()
{
    if (const std::optional<TCheckType> type = TCheckType::findById(m_ctx.db(), m_checkTypeId)) {
        const QSize fallback = defaultPaper(m_family);
        m_paper = QSize(type->PWidth > 0 ? type->PWidth : fallback.width(),
                        type->PHeight > 0 ? type->PHeight : fallback.height());
    }
    loadItems();
    rebuildCanvas();
    refreshLists();
    refreshPanels();
    updatePaperStatus();
}

// ---- Selection -----------------------------------------------------------------

const TfmTemplateDesigner::Item *TfmTemplateDesigner::item(const QString &name) const
{
    for (const Item &i : m_items)
        if (i.field.CtlName.compare(name, Qt::CaseInsensitive) == 0)
            return &i;
    return nullptr;
}

bool TfmTemplateDesigner::multipleMode() const
{
    return m_rbMultiple->isChecked();
}

void TfmTemplateDesigner::setMultipleMode(bool on)
{
    (on ? m_rbMultiple : m_rbSingle)->setChecked(true);
}

void TfmTemplateDesigner::modeChanged()
{
    const bool multiple = multipleMode();
    m_cbGroup->setEnabled(multiple);
    if (!multiple) {
        m_cbGroup->setCurrentIndex(-1);
        m_cbGroup->setEditText(QString());
        setSelection({});
    } else {
        m_canvas->setSelection(m_selected);
    }
}

void TfmTemplateDesigner::setSelection(const QStringList &names)
{
    m_selected = names;
    m_canvas->setSelection(m_selected);
    refreshLists();
    refreshPanels();
}

void TfmTemplateDesigner::selectItems(const QStringList &names)
{
    if (names.size() > 1 && !multipleMode()) {
        const QSignalBlocker block(m_rbMultiple);
        m_rbMultiple->setChecked(true);
        m_cbGroup->setEnabled(true);
    }
    setSelection(names);
}

void TfmTemplateDesigner::addToSelection(const QString &name)
{
    if (!multipleMode()) {
        setSelection({name});
        return;
    }
    if (m_selected.contains(name))
        return;
    setSelection(m_selected + QStringList{name});
}

void TfmTemplateDesigner::itemPressed(const QString &name, Qt::KeyboardModifiers modifiers)
{
    const bool toggle = multipleMode() || (modifiers & Qt::ControlModifier);
    if (!toggle) {
        setSelection({name});
        return;
    }
    // In multiple mode a press keeps a selected item selected, so the whole
    // selection can be dragged; Ctrl + press takes it out again.
    if (m_selected.contains(name)) {
        if (modifiers & Qt::ControlModifier) {
            QStringList rest = m_selected;
            rest.removeAll(name);
            setSelection(rest);
        }
        return;
    }
    if (!multipleMode())
        setMultipleMode(true);
    setSelection(m_selected + QStringList{name});
}

void TfmTemplateDesigner::itemDoubleClicked(const QString &name)
{
    setSelection({name});
}

void TfmTemplateDesigner::groupChosen(const QString &text)
{
    const QString group = text.trimmed();
    if (group.isEmpty() || group == kGroupHint)
        return;
    QStringList names;
    if (group.contains(QLatin1Char('*'))) {
        QString part = group;
        part.remove(QLatin1Char('*'));
        for (const Item &i : m_items)
            if (i.listText().contains(part))
                names << i.field.CtlName;
    } else {
        for (const Item &i : m_items)
            if (i.entry.Groups.trimmed() == group)
                names << i.field.CtlName;
    }
    if (names.isEmpty())
        return;
    setMultipleMode(true);
    setSelection(names);
}

bool TfmTemplateDesigner::requireSelection()
{
    if (!m_selected.isEmpty())
        return true;
    setStatus(QStringLiteral("请选取或点中需要配置或修改的项目！"));
    return false;
}

// ---- Writing -------------------------------------------------------------------

bool TfmTemplateDesigner::pushEdits(const QString &text, std::vector<ColumnEdit> edits, const QString &mergeKey)
{
    auto command = std::make_unique<TemplateEditCommand>(m_ctx.db(), text, std::move(edits), [this] { afterWrite(); });
    command->setMergeKey(mergeKey);
    QString error;
    if (!pushTemplateEdit(*m_undo, std::move(command), &error)) {
        tell(QStringLiteral("保存错误") + error, QStringLiteral("错误"), AlertIcon::Error);
        afterWrite();  // the boxes show the stored values again
        return false;
    }
    return true;
}

std::vector<PrintBox> TfmTemplateDesigner::selectedBoxes()
{
    // The rows as stored now: a step's "before" must be what it replaces.
    loadItems();
    std::vector<PrintBox> boxes;
    for (const QString &name : m_selected)
        if (const Item *i = item(name))
            boxes.push_back(PrintBox::of(i->field));
    return boxes;
}

void TfmTemplateDesigner::pushBoxes(const QString &text, const std::vector<PrintBox> &before,
                                    const std::vector<PrintBox> &after, const QString &report)
{
    const std::vector<ColumnEdit> edits = PrintBoxOps::edits(m_checkTypeId, before, after);
    QStringList changed;
    for (const ColumnEdit &e : edits)
        if (!changed.contains(e.ctlName))
            changed << e.ctlName;
    if (changed.isEmpty()) {
        setStatus(QStringLiteral("影响了0个项目！"));
        return;
    }
    if (pushEdits(text, edits))
        setStatus(QString::number(changed.size()) + report);
}

void TfmTemplateDesigner::writeProperty(const QString &column, const QVariant &value)
{
    if (m_updating || m_selected.size() > 1 || m_selected.isEmpty())
        return;
    const Item *current = item(m_selected.first());
    if (!current)
        return;
    std::optional<CkControl> stored = CkControlStore(m_ctx.db()).find(m_checkTypeId, current->field.CtlName);
    if (!stored)
        return;
    QVariant before;
    const CkControl &f = *stored;
    static const QHash<QString, std::function<QVariant(const CkControl &)>> readers = {
        {"CtlX", [](const CkControl &c) { return QVariant(c.CtlX); }},
        {"CtlY", [](const CkControl &c) { return QVariant(c.CtlY); }},
        {"CtlW", [](const CkControl &c) { return QVariant(c.CtlW); }},
        {"CtlH", [](const CkControl &c) { return QVariant(c.CtlH); }},
        {"CtlLH", [](const CkControl &c) { return QVariant(c.CtlLH); }},
        {"CtlFontName", [](const CkControl &c) { return QVariant(c.CtlFontName); }},
        {"CtlFontSize", [](const CkControl &c) { return QVariant(c.CtlFontSize); }},
        {"Bold", [](const CkControl &c) { return QVariant(c.Bold); }},
        {"Italic", [](const CkControl &c) { return QVariant(c.Italic); }},
        {"UnderLine", [](const CkControl &c) { return QVariant(c.UnderLine); }},
        {"BreakNum", [](const CkControl &c) { return QVariant(c.BreakNum); }},
        {"BreakFontSize", [](const CkControl &c) { return QVariant(c.BreakFontSize); }},
        {"FitParam", [](const CkControl &c) { return QVariant(c.FitParam); }},
        {"Align", [](const CkControl &c) { return QVariant(c.Align); }},
        {"InitValue", [](const CkControl &c) { return QVariant(c.InitValue); }},
    };
    before = readers.value(column)(f);
    const QString name = current->field.CtlName;
    if (pushEdits(name + QLatin1Char(':') + column, {ColumnEdit::field(m_checkTypeId, name, column, before, value)},
                  name + QLatin1Char('.') + column)
        && before.toString() != value.toString())
        setStatus(name + QLatin1Char(':') + column + QLatin1Char('=') + value.toString()
                  + QStringLiteral("属性保存成功~"));
}

void TfmTemplateDesigner::moveSelected(int dx, int dy)
{
    if (!requireSelection())
        return;
    const std::vector<PrintBox> before = selectedBoxes();
    std::vector<PrintBox> after = PrintBoxOps::move(before, dx * m_step, dy * m_step);
    for (PrintBox &box : after) {
        box.x = std::max(0, box.x);
        box.y = std::max(0, box.y);
    }
    pushBoxes(QStringLiteral("移动"), before, after, QStringLiteral("个项目移动成功！"));
}

void TfmTemplateDesigner::arrowKey(int dx, int dy)
{
    moveSelected(dx, dy);
}

void TfmTemplateDesigner::dragMoved(QPoint delta)
{
    if (m_selected.size() != 1)
        return;
    const Item *current = item(m_selected.first());
    if (!current)
        return;
    const QSignalBlocker bx(m_edtX);
    const QSignalBlocker by(m_edtY);
    m_edtX->setValue(current->field.CtlX + m_scale.toTenths(delta.x()));
    m_edtY->setValue(current->field.CtlY + m_scale.toTenths(delta.y()));
}

void TfmTemplateDesigner::dragFinished(QPoint delta)
{
    // The whole drag is one step: every selected item moves by the distance
    // the mouse went, converted at the canvas scale.
    const std::vector<PrintBox> before = selectedBoxes();
    std::vector<PrintBox> after = PrintBoxOps::move(before, m_scale.toTenths(delta.x()), m_scale.toTenths(delta.y()));
    for (PrintBox &box : after) {
        box.x = std::max(0, box.x);
        box.y = std::max(0, box.y);
    }
    pushBoxes(QStringLiteral("拖动"), before, after, QStringLiteral("个项目移动成功！"));
    setStatus(QStringLiteral("End Control Drag!"));
}

void TfmTemplateDesigner::alignSelected(BoxEdge edge)
{
    if (!requireSelection())
        return;
    static const QHash<int, QString> reports = {
        {int(BoxEdge::Left), QStringLiteral("批量修改最左对齐成功！")},
        {int(BoxEdge::Right), QStringLiteral("批量修改最右对齐成功！")},
        {int(BoxEdge::Top), QStringLiteral("批量修改距最顶对齐成功！")},
        {int(BoxEdge::Bottom), QStringLiteral("批量修改距最底对齐成功！")}};
    const std::vector<PrintBox> before = selectedBoxes();
    pushBoxes(QStringLiteral("对齐"), before, PrintBoxOps::align(before, edge), reports.value(int(edge)));
}

void TfmTemplateDesigner::equalSizeSelected(BoxSide side, Extreme extreme)
{
    if (!requireSelection())
        return;
    QString report;
    if (side == BoxSide::Width)
        report = extreme == Extreme::Largest ? QStringLiteral("批量修改等量宽度（最宽）成功！")
                                             : QStringLiteral("个批量修改等量宽度(最窄)成功！");
    else
        report = extreme == Extreme::Largest ? QStringLiteral("批量修改等量高度（最高）成功！")
                                             : QStringLiteral("个批量修改等量高度(最矮)成功！");
    const std::vector<PrintBox> before = selectedBoxes();
    pushBoxes(QStringLiteral("等大"), before, PrintBoxOps::equalSize(before, side, extreme), report);
}

void TfmTemplateDesigner::growSelected(BoxSide side, bool grow)
{
    if (!requireSelection())
        return;
    const std::vector<PrintBox> before = selectedBoxes();
    const QString column = side == BoxSide::Width ? QStringLiteral("CtlW") : QStringLiteral("CtlH");
    if (grow) {
        pushBoxes(QStringLiteral("加大"), before, PrintBoxOps::grow(before, side, m_step),
                  side == BoxSide::Width ? QStringLiteral("个批量加宽成功！") : QStringLiteral("个批量加高成功！"));
        return;
    }
    QStringList unchanged;
    const std::vector<PrintBox> after = PrintBoxOps::shrink(before, side, m_step, &unchanged);
    pushBoxes(QStringLiteral("减小"), before, after,
              side == BoxSide::Width ? QStringLiteral("个批量减宽成功！") : QStringLiteral("个批量减高成功！"));
    if (!unchanged.isEmpty()) {
        QStringList lines;
        for (const QString &name : unchanged)
            lines << name + QStringLiteral("的") + column + QStringLiteral("更新失败！");
        tell(lines.join(QLatin1Char('\n')));
    }
}

void TfmTemplateDesigner::distributeSelected(Axis axis)
{
    if (m_selected.size() < 2) {
        setStatus(QStringLiteral("请选取或点中需要配置或修改的项目！"));
        return;
    }
    const std::vector<PrintBox> before = selectedBoxes();
    if (before.size() != size_t(m_selected.size()) || !item(m_selected.first())) {
        setStatus(axis == Axis::Horizontal ? QStringLiteral("没有找到第一个项目的距左参数,中断分布动作！")
                                           : QStringLiteral("没有找到第一个项目的距顶参数,中断分布动作！"));
        return;
    }
    const int stride = axis == Axis::Horizontal ? m_edtStrideX->value() : m_edtStrideY->value();
    pushBoxes(QStringLiteral("分布"), before, PrintBoxOps::distribute(before, axis, stride),
              QStringLiteral("个等宽分布修改成功！"));
}

void TfmTemplateDesigner::applyFontToSelected()
{
    if (!requireSelection())
        return;
    const QString font = m_cbBatchFont->currentText().trimmed();
    if (font.isEmpty()) {
        tell(QStringLiteral("字体必须选择"));
        return;
    }
    std::vector<ColumnEdit> edits;
    for (const QString &name : std::as_const(m_selected))
        if (const Item *i = item(name))
            if (i->field.CtlFontName != font)
                edits.push_back(ColumnEdit::field(m_checkTypeId, name, QStringLiteral("CtlFontName"),
                                                  i->field.CtlFontName, font));
    const int n = int(edits.size());
    if (n == 0)
        setStatus(QStringLiteral("影响了0个项目！"));
    else if (pushEdits(QStringLiteral("批量改字体"), edits))
        setStatus(QString::number(n) + QStringLiteral("修改字体成功！！"));
}

void TfmTemplateDesigner::applyFontSizeToSelected()
{
    if (!requireSelection())
        return;
    const int size = m_edtBatchFontSize->value();
    std::vector<ColumnEdit> edits;
    for (const QString &name : std::as_const(m_selected))
        if (const Item *i = item(name))
            if (i->field.CtlFontSize != size)
                edits.push_back(ColumnEdit::field(m_checkTypeId, name, QStringLiteral("CtlFontSize"),
                                                  i->field.CtlFontSize, size));
    const int n = int(edits.size());
    if (n == 0)
        setStatus(QStringLiteral("影响了0个项目！"));
    else if (pushEdits(QStringLiteral("批量改字号"), edits))
        setStatus(QString::number(n) + QStringLiteral("修改字号（字体大小）成功！"));
}

void TfmTemplateDesigner::saveCurrentBox()
{
    if (m_selected.size() > 1) {
        setStatus(QStringLiteral("单选一个项目才可以保存！"));
        return;
    }
    if (!requireSelection())
        return;
    const Item *current = item(m_selected.first());
    if (!current)
        return;
    const std::vector<PrintBox> before{PrintBox::of(current->field)};
    const std::vector<PrintBox> after{
        {current->field.CtlName, m_edtX->value(), m_edtY->value(), m_edtW->value(), m_edtH->value()}};
    pushBoxes(QStringLiteral("保存打印设置"), before, after, QStringLiteral("个项目保存成功！"));
}

void TfmTemplateDesigner::applySampleValue()
{
    if (m_selected.size() != 1)
        return;
    const Item *current = item(m_selected.first());
    if (!current)
        return;
    const QString text = m_cbSample->currentText().trimmed();
    if (pushEdits(QStringLiteral("测试数据"), {ColumnEdit::catalogue(m_family, current->field.CtlName,
                                                                 QStringLiteral("CtlData"), current->entry.CtlData, text)}))
        setStatus(QStringLiteral("更新成功！"));
}

void TfmTemplateDesigner::applyPaperSize()
{
    bool okW = false;
    bool okH = false;
    const double widthCm = m_cbWidth->currentText().trimmed().toDouble(&okW);
    const double heightCm = m_cbHeight->currentText().trimmed().toDouble(&okH);
    if (!okW || !okH || widthCm <= 0 || heightCm <= 0) {
        tell(QStringLiteral("请输入正确的底图宽度和高度（厘米）"));
        return;
    }
    if (std::lround(heightCm * 10) > 320) {
        tell(QStringLiteral("失败，票据最高不能大于32厘米。"));
        return;
    }
    if (std::lround(widthCm * 10) > 300) {
        tell(QStringLiteral("失败，票据最宽不能大于30厘米。"));
        return;
    }
    const std::optional<TCheckType> type = TCheckType::findById(m_ctx.db(), m_checkTypeId);
    if (!type)
        return;
    const int width = int(std::lround(widthCm * 100));
    const int height = int(std::lround(heightCm * 100));
    if (pushEdits(QStringLiteral("底图大小"),
                  {ColumnEdit::templateRow(m_checkTypeId, QStringLiteral("PWidth"), type->PWidth, width),
                   ColumnEdit::templateRow(m_checkTypeId, QStringLiteral("PHeight"), type->PHeight, height)}))
        tell(QStringLiteral("底图实际长和宽保存成功！"));
}

// ---- Other commands ------------------------------------------------------------

void TfmTemplateDesigner::setZoom(int percent)
{
    m_zoom = (percent >= 10 && percent <= 400) ? percent : 100;
    m_cbZoom->setCurrentText(QString::number(m_zoom));
    rebuildCanvas();
}

void TfmTemplateDesigner::zoomChosen(const QString &text)
{
    bool ok = false;
    const int percent = text.trimmed().toInt(&ok);
    setZoom(ok ? percent : 100);
}

void TfmTemplateDesigner::setStep(int tenths)
{
    m_step = std::clamp(tenths, 1, 100);
    const QSignalBlocker block(m_slStep);
    m_slStep->setValue(m_step);
    updateStepLabel();
}

void TfmTemplateDesigner::updateStepLabel()
{
    m_lbStep->setText(QStringLiteral("步长:") + QString::number(m_step * 0.1, 'g', 3) + QStringLiteral("mm"));
    for (QSpinBox *box : {m_edtX, m_edtY, m_edtW, m_edtH})
        if (box)
            box->setSingleStep(m_step);
}

void TfmTemplateDesigner::showFieldDesigner()
{
    if (openFieldDesigner) {
        openFieldDesigner(m_checkTypeId);
    } else {
        TfmCheckDesign window(m_ctx, m_checkTypeId, this);
        window.exec();
    }
    if (afterFieldDesigner)
        afterFieldDesigner();
    afterWrite();
}

void TfmTemplateDesigner::browsePicture()
{
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("浏览图.."), m_ctx.getRunPath(),
                                                      QStringLiteral("图片 (*.jpg *.jpeg *.bmp)"));
    if (file.isEmpty())
        return;
    const QImage picture(file);
    if (picture.isNull()) {
        tell(QStringLiteral("图片无法读取：") + file);
        return;
    }
    m_picture = picture;  // shown while the window is open, never stored
    m_lbPicture->setText(file);
    m_canvas->setPicture(m_picture);
}

void TfmTemplateDesigner::toggleFullScreen()
{
    const bool full = m_topPanel->isVisible();
    m_topPanel->setVisible(!full);
    m_toolPanel->setVisible(!full);
    m_btFullScreen->setText(full ? QStringLiteral("返回") : QStringLiteral("满屏"));
    if (full)
        showMaximized();
    else
        showNormal();
}

void TfmTemplateDesigner::setStatus(const QString &text)
{
    m_status[3]->setText(text);
}

QString TfmTemplateDesigner::statusMessage() const
{
    return m_status[3]->text();
}

void TfmTemplateDesigner::updatePaperStatus()
{
    m_status[0]->setText(m_family + QLatin1Char('[') + QString::number(m_paper.width() / 10.0) + QLatin1Char(',')
                         + QString::number(m_paper.height() / 10.0) + QLatin1Char(']'));
}

void TfmTemplateDesigner::done(int result)
{
    // The stack ends with the window: what was written stays written. The
    // layout cache holds the initial values edited here.
    m_undo->clear();
    if (m_usable)
        CheckIniCache(m_ctx).buildCheckIniFile(m_checkTypeId);
    QDialog::done(result);
}

} // namespace billprint
