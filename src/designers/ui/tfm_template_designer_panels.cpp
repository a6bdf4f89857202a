// The template designer's window: its panels, buttons and boxes, and what
// each control runs.
#include "designers/ui/tfm_template_designer.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/database.h"
#include "templates/check_ini_cache.h"
#include "printing/calibration_sheet.h"
#include "printing/print_fonts.h"
#include "printing/print_run.h"
#include "printing/ui/bill_printer.h"
#include "printing/ui/printer_output.h"
#include "templates/check_type.h"
#include "templates/template_error.h"
#include "designers/ui/design_canvas.h"
#include "designers/ui/tfm_check_design.h"

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
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QUndoStack>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace billprint {

namespace {

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

// The installed families by the names a template stores. The font system
// tells a family that several foundries make as "C059 [UKWN]"; the plain
// family name is what prints.
QStringList installedFonts()
{
    QStringList fonts;
    for (QString family : QFontDatabase::families()) {
        if (family.startsWith(QLatin1Char('@')))  // vertical-writing faces
            continue;
        const qsizetype foundry = family.indexOf(QStringLiteral(" ["));
        if (foundry > 0 && family.endsWith(QLatin1Char(']')))
            family.truncate(foundry);
        if (!fonts.contains(family))
            fonts << family;
    }
    return fonts;
}

// A face as the templates name it (宋体, 黑体 ...), listed at `at` unless it
// is there already; its tip and look are those of the installed face that
// prints it.
void listTemplateFace(QComboBox *box, const QString &face, int at)
{
    if (box->findText(face) >= 0)
        return;
    box->insertItem(at, face);
    box->setItemData(at, QStringLiteral("打印时使用：") + resolvePrintFace(face), Qt::ToolTipRole);
    box->setItemData(at, printFont(face, 10, false, false, false), Qt::FontRole);
}

} // namespace

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
    m_cbGroup->lineEdit()->setPlaceholderText(groupHint());
    m_cbGroup->setMinimumWidth(110);
    m_cbGroup->setEnabled(false);
    m_cbGroup->installEventFilter(this);
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
            // A disabled button hands its focus on to the next box, the zoom
            // box, whose line edit would then take Ctrl+Z for itself: the
            // canvas holds it meanwhile and the button gets it back.
            const bool hadFocus = focusWidget() == b;
            if (hadFocus)
                m_canvas->setFocus(Qt::OtherFocusReason);
            b->setEnabled(false);
            moveSelected(dx, dy);
            b->setEnabled(true);
            if (hadFocus)
                b->setFocus(Qt::OtherFocusReason);
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
    m_lbSelected->viewport()->installEventFilter(this);
    m_lbAll->viewport()->installEventFilter(this);
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

void TfmTemplateDesigner::showFontFace(const QString &face)
{
    listTemplateFace(m_cbFont, face, 0);
    m_cbFont->setCurrentText(face);
}

bool TfmTemplateDesigner::eventFilter(QObject *watched, QEvent *event)
{
    // Groups added since the window opened (or not read then) are read on entering the box.
    if (watched == m_cbGroup && event->type() == QEvent::FocusIn && m_cbGroup->count() <= 1)
        loadGroups();
    if (event->type() != QEvent::Wheel)
        return QDialog::eventFilter(watched, event);
    for (QListWidget *list : {m_lbSelected, m_lbAll}) {
        if (watched != list->viewport())
            continue;
        const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y();
        if (delta != 0 && list->count() > 0) {
            const int row = list->currentRow() < 0 ? 0 : list->currentRow() + (delta > 0 ? -1 : 1);
            if (row >= 0 && row < list->count())
                list->setCurrentRow(row);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfmTemplateDesigner::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    setStatus(QStringLiteral("SizeW:") + QString::number(event->size().width()));
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
    // Before an item is loaded the box shows the face an item without one prints in.
    showFontFace(CkControl::defaultFontName());
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
    listTemplateFace(m_cbBatchFont, CkControl::defaultFontName(), 1);
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
} // namespace billprint
