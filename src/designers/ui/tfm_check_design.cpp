#include "designers/ui/tfm_check_design.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/database.h"
#include "app/lookups.h"
#include "templates/check_ini_cache.h"
#include "app/ui/tfrm_input_value.h"
#include "templates/check_type.h"
#include "templates/template_picture_store.h"
#include "templates/template_edit.h"
#include "templates/template_error.h"
#include "designers/ui/design_canvas.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace billprint {

namespace {

QSpinBox *numberBox(QWidget *parent, const QString &name, int min, int max, int value)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(min, max);
    box->setValue(value);
    box->setSuffix(QStringLiteral(" 像素"));
    return box;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

CanvasItem::Look lookOf(const QString &kind)
{
    if (kind == QLatin1String("SHAPE"))
        return CanvasItem::Look::Shape;
    if (kind == QLatin1String("LINE"))
        return CanvasItem::Look::Line;
    if (kind == QLatin1String("CHECKBOX"))
        return CanvasItem::Look::CheckBox;
    if (kind == QLatin1String("LABEL"))
        return CanvasItem::Look::Label;
    return CanvasItem::Look::Text;
}

// The captions a clerk typed for the template's check items, cleaned the
// way they are stored: no brackets, quotes, wildcards or blanks, commas
// half-width.
QString cleanCaptions(const QString &typed)
{
    QString text = typed.trimmed();
    for (const QString &drop : {"(", ")", "（", "）", "'", "%", "*", "?", " "})
        text.remove(drop);
    text.replace(QStringLiteral("，"), QStringLiteral(","));
    return text;
}

// The smallest font a caption shrinks to, in pixels: a Chinese character
// stays readable.
constexpr int kSmallestCaptionPixels = 8;

// A field's caption shown whole on its box where it can be: a box narrower
// than its caption (the digit boxes are 17 pixels wide for "千万位") drops
// the "位" every digit box's label ends in, then takes a smaller font. The
// hint keeps the whole label.
void fitCaption(CanvasItem &item)
{
    const int room = item.rect.width();
    const auto fits = [&item, room] { return QFontMetrics(item.font).horizontalAdvance(item.text) <= room; };
    if (room <= 0 || item.text.isEmpty() || fits())
        return;
    if (item.text.size() > 1 && item.text.endsWith(QStringLiteral("位"))) {
        item.text.chop(1);
        if (fits())
            return;
    }
    for (int pixels = QFontInfo(item.font).pixelSize() - 1; pixels >= kSmallestCaptionPixels; --pixels) {
        item.font.setPixelSize(pixels);
        if (fits())
            return;
    }
}

} // namespace

TfmCheckDesign::TfmCheckDesign(AppContext &context, int checkTypeId, QWidget *parent)
    : QDialog(parent), m_ctx(context), m_undo(std::make_unique<QUndoStack>())
{
    setObjectName(QStringLiteral("TfmCheckDesign"));
    setWindowTitle(QStringLiteral("模板打印设计"));
    buildWindow();
    chooseInitialTemplate(checkTypeId);
}

TfmCheckDesign::~TfmCheckDesign()
{
    m_undo.reset();
}

// ---- Building ------------------------------------------------------------------

void TfmCheckDesign::buildWindow()
{
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("1、选中票据种类："), this));
    m_cbFamily = new QComboBox(this);
    m_cbFamily->setObjectName(QStringLiteral("cbFamily"));
    top->addWidget(m_cbFamily);
    top->addWidget(new QLabel(QStringLiteral("2、选中票据模板："), this));
    m_cbLastName = new QComboBox(this);
    m_cbLastName->setObjectName(QStringLiteral("cbLastName"));
    m_cbLastName->setMinimumWidth(180);
    m_cbLastName->installEventFilter(this);
    top->addWidget(m_cbLastName);
    QPushButton *btRefresh = button(this, QStringLiteral("btRefresh"), QStringLiteral("刷 新(&R)"));
    QPushButton *btSave = button(this, QStringLiteral("btSave"), QStringLiteral("保存设置"));
    QPushButton *btTips = button(this, QStringLiteral("btTips"), QStringLiteral("【技巧】"));
    QPushButton *btUndo = button(this, QStringLiteral("btUndo"), QStringLiteral("撤销"));
    QPushButton *btRedo = button(this, QStringLiteral("btRedo"), QStringLiteral("重做"));
    btUndo->setToolTip(QStringLiteral("Ctrl+Z"));
    btRedo->setToolTip(QStringLiteral("Ctrl+Y"));
    btUndo->setEnabled(false);
    btRedo->setEnabled(false);
    for (QPushButton *b : {btRefresh, btSave, btTips, btUndo, btRedo})
        top->addWidget(b);
    top->addStretch();

    auto *movePanel = new QGroupBox(QStringLiteral("录单项目界面显示配置"), this);
    auto *moves = new QHBoxLayout(movePanel);
    const struct { const char *name; const char *text; const char *hint; int dx, dy; } buttons[] = {
        {"btUp", "上", "点1下=所选项目上移", 0, -1}, {"btDown", "下", "点1下=所选项目下移", 0, 1},
        {"btLeft", "左", "", -1, 0}, {"btRight", "右", "", 1, 0}};
    for (const auto &b : buttons) {
        QPushButton *bt = button(movePanel, QLatin1String(b.name), QString::fromUtf8(b.text));
        bt->setToolTip(QString::fromUtf8(b.hint));
        bt->setMaximumWidth(40);
        const int dx = b.dx, dy = b.dy;
        connect(bt, &QPushButton::clicked, this, [this, dx, dy] { moveByStep(dx, dy); });
        moves->addWidget(bt);
    }
    m_slStep = new QSlider(Qt::Horizontal, movePanel);
    m_slStep->setObjectName(QStringLiteral("tbStep"));
    m_slStep->setRange(1, 40);
    m_slStep->setValue(3);
    m_slStep->setToolTip(QStringLiteral("每次移动的步长"));
    m_slStep->setFixedWidth(100);
    moves->addWidget(m_slStep);
    m_edtH = numberBox(movePanel, QStringLiteral("edtH"), 1, 200, 14);
    m_edtW = numberBox(movePanel, QStringLiteral("edtW"), 1, 1000, 20);
    m_edtX = numberBox(movePanel, QStringLiteral("edtX"), 5, 1200, 30);
    m_edtY = numberBox(movePanel, QStringLiteral("edtY"), 5, 1200, 30);
    const std::pair<const char *, QSpinBox *> boxes[] = {
        {"输入框高:", m_edtH}, {"输入框宽:", m_edtW}, {"横向X:", m_edtX}, {"纵向Y:", m_edtY}};
    for (const auto &[label, box] : boxes) {
        moves->addWidget(new QLabel(QString::fromUtf8(label), movePanel));
        moves->addWidget(box);
        connect(box, qOverload<int>(&QSpinBox::valueChanged), this, [this] { previewNumberBoxes(); });
        connect(box, &QSpinBox::editingFinished, this, [this] { commitNumberBoxes(); });
    }
    m_lbFont = new QLabel(QStringLiteral("打印预览字体,ABC,abc,123"), movePanel);
    m_lbFont->setObjectName(QStringLiteral("lbFontPreview"));
    moves->addWidget(m_lbFont);
    m_ckHide = new QCheckBox(QStringLiteral("隐藏[不打印或不填写]"), movePanel);
    m_ckHide->setObjectName(QStringLiteral("ckHide"));
    moves->addWidget(m_ckHide);
    moves->addStretch();

    m_lbFields = new QListWidget(this);
    m_lbFields->setObjectName(QStringLiteral("lbFields"));
    m_lbFields->setFixedWidth(120);
    m_lbFields->setContextMenuPolicy(Qt::CustomContextMenu);
    m_canvas = new DesignCanvas(this);
    m_canvas->setNormalColor(QColor(0xA0, 0xB1, 0xF3));
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(m_canvas);
    scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *middle = new QHBoxLayout;
    middle->addWidget(m_lbFields);
    middle->addWidget(scroll, 1);

    auto *statusRow = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        m_status[i] = new QLabel(this);
        m_status[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        m_status[i]->setFrameShape(QFrame::StyledPanel);
        statusRow->addWidget(m_status[i], i == 0 ? 1 : 0);
    }
    m_status[2]->setText(QStringLiteral("新模板添加和升级，请直接找禾朔！"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(movePanel);
    layout->addLayout(middle, 1);
    layout->addLayout(statusRow);

    auto *undo = m_undo->createUndoAction(this, QStringLiteral("撤销"));
    undo->setShortcut(QKeySequence::Undo);
    auto *redo = m_undo->createRedoAction(this, QStringLiteral("重做"));
    redo->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    addAction(undo);
    addAction(redo);
    connect(btUndo, &QPushButton::clicked, m_undo.get(), &QUndoStack::undo);
    connect(btRedo, &QPushButton::clicked, m_undo.get(), &QUndoStack::redo);
    connect(m_undo.get(), &QUndoStack::canUndoChanged, btUndo, &QPushButton::setEnabled);
    connect(m_undo.get(), &QUndoStack::canRedoChanged, btRedo, &QPushButton::setEnabled);

    connect(btRefresh, &QPushButton::clicked, this, [this] { layOut(true); });
    connect(btSave, &QPushButton::clicked, this, &TfmCheckDesign::saveCurrent);
    connect(btTips, &QPushButton::clicked, this, &TfmCheckDesign::showTips);
    connect(m_cbFamily, &QComboBox::textActivated, this, &TfmCheckDesign::familyChosen);
    connect(m_cbLastName, &QComboBox::textActivated, this, &TfmCheckDesign::lastNameChosen);
    connect(m_lbFields, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *entry) { selectFieldByLabel(entry->text()); });
    connect(m_lbFields, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("自定义勾选项"), this, &TfmCheckDesign::editCheckCaptions);
        menu.exec(m_lbFields->mapToGlobal(at));
    });
    connect(m_ckHide, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_updating)
            setHidden(on);
    });
    connect(m_canvas, &DesignCanvas::itemPressed, this,
            [this](const QString &key, Qt::KeyboardModifiers) { selectField(key); });
    connect(m_canvas, &DesignCanvas::dragFinished, this, &TfmCheckDesign::dragFinished);
    connect(m_canvas, &DesignCanvas::arrowKey, this, &TfmCheckDesign::keyStep);
    connect(m_canvas, &DesignCanvas::pointerAt, this, [this](QPoint p) {
        setStatus(0, QStringLiteral("(%1,%2)").arg(p.x() + 2).arg(p.y()));
    });
}

// ---- Templates -----------------------------------------------------------------

void TfmCheckDesign::chooseInitialTemplate(int checkTypeId)
{
    const Lookups lookups(m_ctx.db());
    int id = checkTypeId > 0 ? checkTypeId : m_ctx.currentCheckTypeId;
    if (id <= 0) {
        QString family = lookups.loadDefaultTypeFirstName();
        if (family.isEmpty())
            family = m_ctx.db().scalar(QStringLiteral("select CheckTypeName from NameDict limit 1")).toString();
        if (!family.isEmpty())
            id = lookups.loadDefaultCheckTypeId(family);
    }
    const std::optional<TCheckType> type = id > 0 ? TCheckType::findById(m_ctx.db(), id) : std::nullopt;
    if (!type) {
        tell(QStringLiteral("系统没有任何可用的模板信息，请确保软件数据完整~"));
        return;
    }
    m_checkTypeId = id;
    m_version = std::make_shared<TemplateVersion>(TemplateVersion{id, type->RowVersion});
    m_family = type->getFirstName();
    m_lastName = type->TypeDescribe;
    m_cbFamily->addItems(lookups.loadCheckTypeFirstNameList());
    m_cbFamily->setCurrentText(m_family);
    m_cbLastName->addItems(lookups.loadCheckTypeLastNameList(m_family));
    m_cbLastName->setCurrentText(m_lastName);
    layOut(true);
}

void TfmCheckDesign::familyChosen(const QString &family)
{
    if (family.isEmpty() || family == m_family)
        return;
    const Lookups lookups(m_ctx.db());
    m_family = family;
    m_cbLastName->clear();
    m_cbLastName->addItems(lookups.loadCheckTypeLastNameList(family));
    const int id = lookups.loadDefaultCheckTypeId(family);
    if (id > 0) {
        m_checkTypeId = id;
        readTemplateVersion();
        m_lastName = lookups.loadCheckTypeLastNameByID(id);
        m_cbLastName->setCurrentText(m_lastName);
    }
    layOut(true);
}

void TfmCheckDesign::readTemplateVersion()
{
    const std::optional<TCheckType> type = TCheckType::findById(m_ctx.db(), m_checkTypeId);
    m_version = std::make_shared<TemplateVersion>(TemplateVersion{m_checkTypeId, type ? type->RowVersion : 0});
}

bool TfmCheckDesign::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_cbLastName && event->type() == QEvent::FocusIn)
        lastNameEntered();
    return QDialog::eventFilter(watched, event);
}

void TfmCheckDesign::lastNameEntered()
{
    // A long family list drops down in one piece, as far as the screen allows.
    const int screenHeight = screen() ? screen()->geometry().height() : 1000;
    m_cbLastName->setMaxVisibleItems(screenHeight <= 1000 ? 26 : 35);
    // Before another template is picked, the bill windows get this one's
    // boxes as they stand; a failure leaves the cache stale, rebuilt on use.
    if (m_checkTypeId > 0)
        CheckIniCache(m_ctx).buildCheckIniFile(m_checkTypeId);
}

void TfmCheckDesign::lastNameChosen(const QString &lastName)
{
    const int id = Lookups(m_ctx.db()).loadCheckTypeIDByFirstAndLastName(m_family, lastName);
    if (id <= 0)
        return;
    m_checkTypeId = id;
    readTemplateVersion();
    m_lastName = lastName;
    layOut(false);
    setWindowTitle(QStringLiteral("票据设计调整（") + m_family + QLatin1Char('-') + lastName
                   + QStringLiteral("）,ID=") + QString::number(id));
}

void TfmCheckDesign::layOut(bool force)
{
    if (!force && m_shownId == m_checkTypeId)
        return;
    setStatus(0, QStringLiteral("没有选中调整项目！"));
    const std::optional<TCheckType> type = TCheckType::findById(m_ctx.db(), m_checkTypeId);
    if (!type)
        return;
    m_picture = QSize(type->TWidth, type->THeight);
    m_captions = type->checkBoxCaptions();
    m_canvas->setCanvasSize(m_picture);
    // Room for the whole picture beside the field list, within the screen.
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 1600, 1000);
    resize(std::clamp(m_picture.width() + 180, std::min(980, screen.width()), screen.width()),
           std::min(m_picture.height() + 200, screen.height() - 40));
    m_canvas->setPicture(QImage(localTemplatePicture(m_ctx.db(), m_ctx.dataRoot().imageFolder(), type->pictureFile())));
    loadFieldList();
    m_current.clear();
    m_previous.clear();
    m_canvas->setSelection({});
    m_shownId = m_checkTypeId;
    afterWrite();
}

void TfmCheckDesign::loadFieldList()
{
    if (m_listedFamily == m_family)
        return;
    m_lbFields->clear();
    try {
        for (const NameDict &entry : NameDictStore(m_ctx.db()).listFamily(m_family, Qt::DescendingOrder))
            m_lbFields->addItem(entry.CtlLabel);
    } catch (const TemplateError &e) {
        tell(QStringLiteral("调入项目参数失败!") + e.message(), QStringLiteral("错误"), AlertIcon::Error);
    }
    m_listedFamily = m_family;
}

void TfmCheckDesign::afterWrite()
{
    m_fields.clear();
    try {
        QHash<QString, CkControl> rows;
        for (const CkControl &row : CkControlStore(m_ctx.db()).loadAll(m_checkTypeId))
            rows.insert(row.CtlName.trimmed().toUpper(), row);
        for (const NameDict &entry : NameDictStore(m_ctx.db()).listFamily(m_family, Qt::DescendingOrder)) {
            Field f{entry, std::nullopt};
            const auto row = rows.constFind(entry.CtlName.trimmed().toUpper());
            if (row != rows.constEnd())
                f.row = *row;
            m_fields.push_back(f);
        }
        if (const std::optional<TCheckType> type = TCheckType::findById(m_ctx.db(), m_checkTypeId))
            m_captions = type->checkBoxCaptions();
    } catch (const TemplateError &e) {
        tell(QStringLiteral("调入项目参数失败!") + e.message(), QStringLiteral("错误"), AlertIcon::Error);
    }
    rebuildCanvas();
    fillNumberBoxes();
}

const TfmCheckDesign::Field *TfmCheckDesign::field(const QString &name) const
{
    for (const Field &f : m_fields)
        if (f.entry.CtlName.compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

QRect TfmCheckDesign::boxOf(const Field &f) const
{
    if (!f.row)
        return QRect();
    const CkControl &r = *f.row;
    if (f.entry.kind() == QLatin1String("LINE")) {
        // A line is drawn as thick as it prints; its stored box stays as it is.
        const int thickness = r.Bold + 1;
        return r.SrcH < r.SrcW ? QRect(r.SrcX, r.SrcY, r.SrcW, thickness) : QRect(r.SrcX, r.SrcY, thickness, r.SrcH);
    }
    return QRect(r.SrcX, r.SrcY, r.SrcW, r.SrcH);
}

void TfmCheckDesign::rebuildCanvas()
{
    std::vector<CanvasItem> items;
    for (const Field &f : m_fields) {
        const QString kind = f.entry.kind();
        if (kind == QLatin1String("IMAGE") || !f.row)
            continue;
        const QString name = f.entry.CtlName.trimmed().toUpper();
        // A hidden box is out of the way, except while it is being worked on.
        if (!f.row->isShown() && name != m_current)
            continue;
        CanvasItem item;
        item.key = name;
        item.hint = f.entry.CtlLabel;
        item.rect = boxOf(f);
        item.look = lookOf(kind);
        item.text = f.row->InitValue.isEmpty() ? f.entry.CtlLabel : f.row->InitValue;
        if (name.startsWith(QLatin1String("DEFCHECK"))) {
            bool ok = false;
            const int n = name.mid(8).toInt(&ok);
            if (ok && n >= 0 && n < m_captions.size())
                item.text = m_captions.at(n);
        }
        item.font = font();
        if (item.look == CanvasItem::Look::Text || item.look == CanvasItem::Look::Label)
            fitCaption(item);
        items.push_back(item);
    }
    m_canvas->setItems(std::move(items));
    m_canvas->setSelection(m_current.isEmpty() ? QStringList() : QStringList{m_current});
}

// ---- Selecting -----------------------------------------------------------------

bool TfmCheckDesign::selectFieldByLabel(const QString &label)
{
    for (const Field &f : m_fields)
        if (f.entry.CtlLabel == label)
            return selectField(f.entry.CtlName);
    setStatus(0, QStringLiteral("找不到对应的项目定义~~"));
    return false;
}

bool TfmCheckDesign::selectField(const QString &name)
{
    // What was typed for the field before stays on screen until it is stored.
    if (!commitNumberBoxes())
        return false;
    const Field *f = field(name);
    if (!f || f->entry.kind() == QLatin1String("IMAGE")) {
        setStatus(0, QStringLiteral("找不到对应的项目定义~~"));
        return false;
    }
    m_previous = m_current;
    m_current = f->entry.CtlName.trimmed().toUpper();
    if (!f->row) {
        setStatus(0, QStringLiteral("还没有该项打印配置信息,添加一个！"));
        ensureRow(m_current);
        afterWrite();
        f = field(m_current);
    }
    rebuildCanvas();
    fillNumberBoxes();
    setStatus(0, QStringLiteral("当前调整:") + f->entry.CtlLabel);
    setStatus(1, m_current);
    return true;
}

void TfmCheckDesign::ensureRow(const QString &name)
{
    // A field gets its row the first time it is worked on, with the
    // number boxes' box and the font of the field worked on before.
    const Field *f = field(name);
    if (!f)
        return;
    CkControl row;
    row.CheckTypeID = m_checkTypeId;
    row.CtlName = name;
    row.CtlCName = f->entry.CtlLabel;
    row.CtlType = CkControl::kindForName(name);
    row.SrcX = m_edtX->value();
    row.SrcY = m_edtY->value();
    row.SrcW = m_edtW->value();
    row.SrcH = m_edtH->value();
    row.NeedShow = 1;
    row.NeedPrint = 1;
    const Field *before = field(m_previous);
    if (before && before->row) {
        row.CtlFontName = before->row->CtlFontName;
        row.CtlFontSize = before->row->CtlFontSize;
        row.Bold = before->row->Bold;
        row.Italic = before->row->Italic;
        row.UnderLine = before->row->UnderLine;
    } else {
        row.CtlFontName = CkControl::defaultFontName();
        row.CtlFontSize = 10;
    }
    try {
        CkControlStore(m_ctx.db()).save(row);
        m_touched.insert(m_checkTypeId);
    } catch (const TemplateError &e) {
        tell(QStringLiteral("保存设置失败！") + e.message(), QStringLiteral("提示"));
    }
}

void TfmCheckDesign::fillNumberBoxes()
{
    const Field *f = field(m_current);
    if (!f || !f->row)
        return;
    const CkControl &r = *f->row;
    m_updating = true;
    m_edtX->setValue(r.SrcX);
    m_edtY->setValue(r.SrcY);
    m_edtW->setValue(r.SrcW);
    m_edtH->setValue(r.SrcH);
    m_shownBox = QRect(m_edtX->value(), m_edtY->value(), m_edtW->value(), m_edtH->value());
    m_ckHide->setChecked(!r.isShown());
    QFont preview(r.printFontName());
    preview.setPointSize(r.CtlFontSize > 0 ? r.CtlFontSize : 9);
    preview.setBold(r.isBold());
    preview.setItalic(r.isItalic());
    preview.setUnderline(r.isUnderlined());
    m_lbFont->setFont(preview);
    m_updating = false;
}

// ---- Changing ------------------------------------------------------------------

bool TfmCheckDesign::requireCurrent(bool fromNumberBoxes)
{
    const Field *f = field(m_current);
    if (f && f->row)
        return true;
    setStatus(0, fromNumberBoxes ? QStringLiteral("请选择左侧需要配置或修改的项目！")
                                 : QStringLiteral("请选取或点中需要配置或修改的项目！"));
    return false;
}

bool TfmCheckDesign::writeBox(const QString &text, QRect box, std::optional<bool> hidden)
{
    const Field *f = field(m_current);
    if (!f || !f->row)
        return false;
    const CkControl &r = *f->row;
    const QString name = m_current;
    std::vector<ColumnEdit> edits;
    const auto edit = [&](const char *column, int before, int after) {
        edits.push_back(ColumnEdit::field(m_checkTypeId, name, QLatin1String(column), before, after));
    };
    edit("SrcX", r.SrcX, box.x());
    edit("SrcY", r.SrcY, box.y());
    edit("SrcW", r.SrcW, box.width());
    edit("SrcH", r.SrcH, box.height());
    if (hidden) {
        edit("NeedShow", r.NeedShow, *hidden ? 0 : 1);
        edit("NeedPrint", r.NeedPrint, *hidden ? 0 : 1);
    }
    auto command = std::make_unique<TemplateEditCommand>(m_ctx.db(), text, std::move(edits), [this] { afterWrite(); });
    command->setVersion(m_version);
    QString error;
    if (!pushTemplateEdit(*m_undo, std::move(command), &error)) {
        // Nothing was stored; the number boxes keep what was typed.
        if (error.isEmpty())
            return false;  // another desk's save was kept
        tell(QStringLiteral("保存设置失败！") + error, QStringLiteral("提示"));
        return false;
    }
    m_touched.insert(m_checkTypeId);
    setWindowTitle(QStringLiteral("' ") + f->entry.CtlLabel + QStringLiteral("' 打印细节修改成功！"));
    return true;
}

static QRect currentBoxOf(const std::optional<CkControl> &row)
{
    return row ? QRect(row->SrcX, row->SrcY, row->SrcW, row->SrcH) : QRect();
}

void TfmCheckDesign::moveByStep(int dx, int dy)
{
    if (!requireCurrent(false))
        return;
    const int step = m_slStep->value();
    writeBox(QStringLiteral("移动"), currentBoxOf(field(m_current)->row).translated(dx * step, dy * step));
}

void TfmCheckDesign::keyStep(int dx, int dy, Qt::KeyboardModifiers modifiers)
{
    if (!requireCurrent(false))
        return;
    QRect box = currentBoxOf(field(m_current)->row);
    if (modifiers & Qt::ShiftModifier && !(modifiers & Qt::ControlModifier)) {
        // Shift + arrows: the size, never below one pixel.
        box.setWidth(std::max(1, box.width() + dx));
        box.setHeight(std::max(1, box.height() + dy));
        writeBox(QStringLiteral("改变大小"), box);
        return;
    }
    const int step = (modifiers & Qt::ShiftModifier) ? 10 : 1;
    const int left = std::clamp(box.x() + dx * step, 10, std::max(10, m_picture.width() - 10));
    const int top = std::clamp(box.y() + dy * step, 10, std::max(10, m_picture.height() - 10));
    box.moveTo(left, top);
    writeBox(QStringLiteral("移动"), box);
}

void TfmCheckDesign::dragFinished(QPoint delta)
{
    if (!requireCurrent(false))
        return;
    QRect box = currentBoxOf(field(m_current)->row).translated(delta);
    box.moveTo(std::max(0, box.x()), std::max(0, box.y()));
    writeBox(QStringLiteral("拖动"), box);
}

void TfmCheckDesign::previewNumberBoxes()
{
    if (m_updating || m_current.isEmpty())
        return;
    // The box follows the number boxes at once; the row is written when
    // the number box is left.
    const Field *f = field(m_current);
    if (!f || !f->row)
        return;
    const QRect box = typedBox(*f->row);
    std::vector<CanvasItem> items = m_canvas->items();
    for (CanvasItem &item : items)
        if (item.key == m_current && item.look != CanvasItem::Look::Line)
            item.rect = box;
    m_canvas->setItems(std::move(items));
}

QRect TfmCheckDesign::typedBox(const CkControl &row) const
{
    // A box still showing what it was filled with keeps the stored value,
    // which may lie outside the box's range.
    const auto typed = [](const QSpinBox *box, int shown, int stored) {
        return box->value() == shown ? stored : box->value();
    };
    return QRect(typed(m_edtX, m_shownBox.x(), row.SrcX), typed(m_edtY, m_shownBox.y(), row.SrcY),
                 typed(m_edtW, m_shownBox.width(), row.SrcW), typed(m_edtH, m_shownBox.height(), row.SrcH));
}

bool TfmCheckDesign::commitNumberBoxes()
{
    if (m_updating || m_current.isEmpty())
        return true;
    const Field *f = field(m_current);
    if (!f || !f->row)
        return true;
    const QRect box = typedBox(*f->row);
    if (box == currentBoxOf(f->row))
        return true;
    return writeBox(QStringLiteral("输入位置"), box);
}

void TfmCheckDesign::setHidden(bool hidden)
{
    if (!requireCurrent(false))
        return;
    const QSignalBlocker block(m_ckHide);
    m_ckHide->setChecked(hidden);
    // A refused write leaves the field as it is stored, and the box says so.
    if (!writeBox(hidden ? QStringLiteral("隐藏") : QStringLiteral("显示"), currentBoxOf(field(m_current)->row), hidden))
        m_ckHide->setChecked(!hidden);
}

void TfmCheckDesign::saveCurrent()
{
    if (m_current.isEmpty()) {
        tell(QStringLiteral("部分未启用项目，可以点击左侧列表中的数据项目选中！"));
        return;
    }
    if (!commitNumberBoxes())
        return;  // the failure was told; no success may follow it
    if (const Field *f = field(m_current))
        tell(QStringLiteral("' ") + f->entry.CtlLabel + QStringLiteral("' 打印细节修改成功！"), QStringLiteral("提示"));
}

void TfmCheckDesign::showTips()
{
    const QString gap = QStringLiteral("\r\r");
    tell(QStringLiteral("界面元素设计试用技巧:") + gap
         + QStringLiteral("    1.点中项目会变成红色。点中后点上方的上下左右四个按钮移动；") + gap
         + QStringLiteral("    2.点中项目，可直接鼠标按住左键拖动到指定位置放下，然后点【保存设置】或单击空白区自动保存；") + gap
         + QStringLiteral("    3.点中项目，按住键盘【Ctrl+方向键】可以小距离移动，按【Ctrl+Shift+方向键】快速移动;") + gap);
}

void TfmCheckDesign::editCheckCaptions()
{
    if (m_checkTypeId <= 0)
        return;
    const std::optional<TCheckType> type = TCheckType::findById(m_ctx.db(), m_checkTypeId);
    if (!type)
        return;
    const QString prompt = QStringLiteral("输入勾选项目(以逗号分隔,最多13个,不得重复)：");
    const QString answer = askValue ? askValue(prompt, type->CheckBoxs, QStringLiteral("string"))
                                    : giveMeAnValue(prompt, type->CheckBoxs, QStringLiteral("string"), this);
    if (answer.isEmpty() || answer == type->CheckBoxs)
        return;
    const QString text = cleanCaptions(answer);
    if (text.isEmpty()) {
        tell(QStringLiteral("输入了无效的字符(引号\\?\\*\\(\\)\\%)!"));
        return;
    }
    auto command = std::make_unique<TemplateEditCommand>(
        m_ctx.db(), QStringLiteral("自定义勾选项"),
        std::vector<ColumnEdit>{ColumnEdit::templateRow(m_checkTypeId, QStringLiteral("CheckBoxs"), type->CheckBoxs, text)},
        [this] { afterWrite(); });
    command->setVersion(m_version);
    QString error;
    if (pushTemplateEdit(*m_undo, std::move(command), &error))
        m_touched.insert(m_checkTypeId);
    else if (!error.isEmpty())
        tell(QStringLiteral("保存设置失败！") + error, QStringLiteral("提示"));
}

void TfmCheckDesign::setStatus(int panel, const QString &text)
{
    m_status[panel]->setText(text);
}

QString TfmCheckDesign::statusText(int panel) const
{
    return m_status[panel]->text();
}

void TfmCheckDesign::done(int result)
{
    commitNumberBoxes();
    // The bill windows lay out from the cache: rebuild it for every template
    // changed here (failures leave the cache marked stale, rebuilt on use).
    m_touched.insert(m_checkTypeId);
    CheckIniCache cache(m_ctx);
    for (const int id : std::as_const(m_touched))
        if (id > 0)
            cache.buildCheckIniFile(id);
    m_undo->clear();
    QDialog::done(result);
}

} // namespace billprint
