// The template designer's changes: each one step on the undo stack,
// written at once.
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
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace billprint {

// ---- Writing -------------------------------------------------------------------

bool TfmTemplateDesigner::pushEdits(const QString &text, std::vector<ColumnEdit> edits, const QString &mergeKey)
{
    auto command = std::make_unique<TemplateEditCommand>(m_ctx.db(), text, std::move(edits), [this] { afterWrite(); });
    command->setMergeKey(mergeKey);
    command->setVersion(m_version);
    QString error;
    if (!pushTemplateEdit(*m_undo, std::move(command), &error)) {
        // Another desk's save was kept: the boxes keep what was typed.
        if (error.isEmpty())
            return false;
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

bool TfmTemplateDesigner::isSingleRow(const ColumnEdit &edit)
{
    int rows = 0;
    try {
        rows = TemplateEditWriter(m_ctx.db()).matchingRows(edit);
    } catch (const TemplateError &e) {
        tell(QStringLiteral("保存错误") + e.message(), QStringLiteral("错误"), AlertIcon::Error);
        return false;
    }
    // No row: the item went away meanwhile, there is nothing to write.
    if (rows > 1)
        tell(QStringLiteral("保存出错,同一个项目多条记录=！") + edit.ctlName + QLatin1Char(',')
             + QString::number(edit.checkTypeId));
    return rows == 1;
}

void TfmTemplateDesigner::writeProperty(const QString &column, const QVariant &value)
{
    if (m_updating || m_selected.size() > 1 || m_selected.isEmpty())
        return;
    const Item *current = item(m_selected.first());
    if (!current)
        return;
    const QString name = current->field.CtlName;
    if (!isSingleRow(ColumnEdit::field(m_checkTypeId, name, column, QVariant(), value)))
        return;
    std::optional<CkControl> stored = CkControlStore(m_ctx.db()).find(m_checkTypeId, name);
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
    setStatus(QStringLiteral("Image1 DragOver!"));
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
    const PrintBox stored = PrintBox::of(current->field);
    const auto typed = [](const QSpinBox *box, int shown, int kept) { return box->value() == shown ? kept : box->value(); };
    const std::vector<PrintBox> before{stored};
    const std::vector<PrintBox> after{{current->field.CtlName, typed(m_edtX, m_shownBox.x, stored.x),
                                       typed(m_edtY, m_shownBox.y, stored.y), typed(m_edtW, m_shownBox.w, stored.w),
                                       typed(m_edtH, m_shownBox.h, stored.h)}};
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
    const ColumnEdit edit =
        ColumnEdit::catalogue(m_family, current->field.CtlName, QStringLiteral("CtlData"), current->entry.CtlData, text);
    int rows = 0;
    try {
        rows = TemplateEditWriter(m_ctx.db()).matchingRows(edit);
    } catch (const TemplateError &e) {
        tell(QStringLiteral("更新失败！") + e.message(), QStringLiteral("错误"), AlertIcon::Error);
        return;
    }
    // The sample belongs to exactly one catalogue row; none or several is no sample to set.
    if (rows != 1) {
        setStatus(QStringLiteral("测试值更新失败.没有有效的行！"));
        return;
    }
    if (pushEdits(QStringLiteral("测试数据"), {edit}))
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
} // namespace billprint
