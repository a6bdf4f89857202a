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
#include "templates/template_picture_store.h"
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
#include <QSqlError>
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

QSize defaultPaper(const QString &family)
{
    if (family == QStringLiteral("支票"))
        return {2250, 800};
    if (family == QStringLiteral("境外汇款申请书"))
        return {2100, 2970};
    return {2300, 1270};
}

// The paper is stored in tenths of a millimetre: two decimals of a
// centimetre show every one of them, so applying the shown size writes the
// stored one back unchanged. Whole millimetres read like the presets ("22.5").
QString centimetres(int tenthsMm)
{
    QString text = QString::number(tenthsMm / 100.0, 'f', 2);
    if (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    return text;
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
    m_version = std::make_shared<TemplateVersion>(TemplateVersion{m_checkTypeId, type->RowVersion});
    setWindowTitle(QStringLiteral("打印项目设置-【") + m_fullName + QStringLiteral("】"));
    const QSize fallback = defaultPaper(m_family);
    m_paper = QSize(type->PWidth > 0 ? type->PWidth : fallback.width(),
                    type->PHeight > 0 ? type->PHeight : fallback.height());
    m_cbWidth->setCurrentText(centimetres(m_paper.width()));
    m_cbHeight->setCurrentText(centimetres(m_paper.height()));
    const QString picture = localTemplatePicture(m_ctx.db(), m_ctx.dataRoot().imageFolder(), type->pictureFile());
    m_lbPicture->setText(picture);
    m_picture = QImage(picture);  // a missing picture leaves the paper white
    loadGroups();
    return true;
}

void TfmTemplateDesigner::loadGroups()
{
    QSqlQuery q = m_ctx.db().prepare(QStringLiteral("select distinct Groups from NameDict where CheckTypeName=?"));
    q.addBindValue(m_family);
    if (!q.exec()) {
        setStatus(QStringLiteral("分组获取失败") + q.lastError().text());
        return;
    }
    QStringList groups;
    while (q.next())
        if (!q.value(0).toString().trimmed().isEmpty())
            groups << q.value(0).toString().trimmed();
    const QSignalBlocker block(m_cbGroup);
    const QString typed = m_cbGroup->currentText();
    m_cbGroup->clear();
    m_cbGroup->addItems(groups);
    m_cbGroup->setCurrentIndex(-1);
    m_cbGroup->setEditText(typed);
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
            // Printing starts a value one em of its one-line size right of
            // its x, with the character cell's top at its y.
            const double pixelsPerPoint = logicalDpiY() / 72.0 * m_zoom / 100.0;
            const int oneLine = i.field.CtlFontSize > 0 ? i.field.CtlFontSize : kUnsetPointSize;
            c.leadIn = int(std::lround(oneLine * pixelsPerPoint));
            c.baseline = int(std::lround(points * pixelsPerPoint * kClassicAscentEm));
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
    m_shownBox = {f.CtlName, m_edtX->value(), m_edtY->value(), m_edtW->value(), m_edtH->value()};
    for (QSpinBox *box : {m_edtX, m_edtY, m_edtW, m_edtH})
        box->setSingleStep(m_step);
    m_edtFontSize->setValue(f.CtlFontSize);
    // A face this machine lacks is still the template's: listed as it is.
    const QString face = f.CtlFontName.trimmed().isEmpty() ? CkControl::defaultFontName() : f.CtlFontName;
    showFontFace(face);
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
    if (group.isEmpty() || group == groupHint())
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
