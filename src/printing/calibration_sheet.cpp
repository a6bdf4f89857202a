#include "printing/calibration_sheet.h"

#include "app/app_context.h"
#include "printing/print_fonts.h"
#include "printing/print_output.h"
#include "printing/print_run.h"
#include "printing/print_sample.h"
#include "templates/check_type.h"
#include "templates/ck_control.h"
#include "templates/name_dict.h"
#include "templates/template_error.h"

#include <QHash>
#include <QPainter>
#include <QPen>

namespace billprint {

namespace {

// Device units of a template position, by the renderer's rule (the
// printable area's top is taken off y; x was always measured with it).
QPoint device(int x, int y, const PrintDeviceMetrics &m)
{
    return QPoint(tenthsMmToDevice(x, m.dpiX), tenthsMmToDevice(y, m.dpiY) - m.physicalTop);
}

QPen hairline(const QColor &color, const PrintDeviceMetrics &m, double widthMm)
{
    QPen pen(color);
    pen.setWidthF(widthMm * m.dpiX / 25.4);
    return pen;
}

QFont smallFont(int points)
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(points);
    font.setKerning(false);
    return font;
}

// How far right of its template x the item's value is placed, device units.
// A left-aligned value starts one lead-in in; a right-aligned one keeps the
// lead-in free at the box's right edge; a centred one sits in the box as it is.
int valueShift(const CalibrationBox &box, const PrintDeviceMetrics &m)
{
    const int leadIn = valueLeadIn(box.fontSize, m.dpiX);
    if (box.spread || box.box.width() <= 0)
        return leadIn;
    const QString align = box.align.trimmed();
    if (align == QLatin1String("1"))
        return 0;
    if (align == QLatin1String("2"))
        return -leadIn;
    return leadIn;
}

// Tick length at millimetre `mm`, tenths of a millimetre.
int tickLength(int mm)
{
    if (mm % 10 == 0)
        return 40;
    return mm % 5 == 0 ? 25 : 15;
}

} // namespace

CalibrationSheet::CalibrationSheet(QSize paper, std::vector<CalibrationBox> boxes, int dx, int dy)
    : m_paper(paper), m_boxes(std::move(boxes)), m_dx(dx), m_dy(dy)
{
}

std::vector<CalibrationBox> CalibrationSheet::boxesOf(const AppContext &context, int checkTypeId,
                                                      const QString &family)
{
    QHash<QString, CkControl> fields;
    for (const CkControl &field : CkControlStore(context.db()).loadAll(checkTypeId))
        fields.insert(field.CtlName.trimmed().toUpper(), field);
    std::vector<CalibrationBox> boxes;
    for (const NameDict &item : NameDictStore(context.db()).printItems(family)) {
        const auto field = fields.constFind(item.CtlName.trimmed().toUpper());
        if (field == fields.constEnd() || !field->isShown() || !field->isPrinted())
            continue;
        QString caption = item.CtlLabel.trimmed();
        if (caption.isEmpty())
            caption = field->CtlName;
        boxes.push_back({caption, QRect(field->CtlX, field->CtlY, field->CtlW, field->CtlH), field->CtlFontSize,
                         field->Align, !field->FitParam.trimmed().isEmpty()});
    }
    return boxes;
}

void CalibrationSheet::draw(QPainter &painter, const PrintDeviceMetrics &m) const
{
    painter.save();
    const int width = m_paper.width();
    const int height = m_paper.height();

    // The grid: a line every centimetre over the whole sheet.
    painter.setPen(hairline(QColor(150, 150, 150), m, 0.1));
    for (int x = 0; x <= width; x += kGridStep)
        painter.drawLine(device(x, 0, m), device(x, height, m));
    for (int y = 0; y <= height; y += kGridStep)
        painter.drawLine(device(0, y, m), device(width, y, m));

    // Millimetre ticks along the four edges.
    painter.setPen(hairline(Qt::black, m, 0.12));
    for (int mm = 1; mm * 10 < width; ++mm) {
        const int x = mm * 10;
        painter.drawLine(device(x, 0, m), device(x, tickLength(mm), m));
        painter.drawLine(device(x, height - tickLength(mm), m), device(x, height, m));
    }
    for (int mm = 1; mm * 10 < height; ++mm) {
        const int y = mm * 10;
        painter.drawLine(device(0, y, m), device(tickLength(mm), y, m));
        painter.drawLine(device(width - tickLength(mm), y, m), device(width, y, m));
    }

    // The numbers of the lines, in millimetres: along the top right of each
    // vertical line, along the left below each horizontal one.
    painter.setFont(smallFont(6));
    const int ascent = painter.fontMetrics().ascent();
    for (int x = kGridStep; x < width; x += kGridStep) {
        const QPoint at = device(x + kNumberGap, 45, m);
        painter.drawText(QPoint(at.x(), at.y() + ascent), QString::number(x / 10));
    }
    for (int y = kGridStep; y < height; y += kGridStep) {
        const QPoint at = device(45, y + kNumberGap, m);
        painter.drawText(QPoint(at.x(), at.y() + ascent), QString::number(y / 10));
    }

    // Every print item's box where its value lands, named above its corner,
    // so a digit printed into its box on the form is inside the box here too.
    painter.setPen(hairline(QColor(0, 90, 200), m, 0.2));
    painter.setFont(smallFont(5));
    const int descent = painter.fontMetrics().descent();
    for (const CalibrationBox &box : m_boxes) {
        const QPoint shift(valueShift(box, m), 0);
        const QPoint topLeft = device(box.box.x() + m_dx, box.box.y() + m_dy, m) + shift;
        if (box.box.width() > 0 && box.box.height() > 0) {
            const QPoint bottomRight =
                device(box.box.x() + m_dx + box.box.width(), box.box.y() + m_dy + box.box.height(), m) + shift;
            painter.drawRect(QRect(topLeft, bottomRight));
        } else {
            const int arm = tenthsMmToDevice(20, m.dpiX);
            painter.drawLine(topLeft - QPoint(arm, 0), topLeft + QPoint(arm, 0));
            painter.drawLine(topLeft - QPoint(0, arm), topLeft + QPoint(0, arm));
        }
        painter.drawText(QPoint(topLeft.x(), topLeft.y() - descent - tenthsMmToDevice(3, m.dpiY)), box.caption);
    }
    painter.restore();
}

bool printCalibrationSheet(AppContext &context, int checkTypeId, PrintOutput &output, QString *error)
{
    QString readError;
    const std::optional<TCheckType> type = TCheckType::findById(context.db(), checkTypeId, &readError);
    if (!type) {
        if (error)
            *error = readError.isEmpty() ? QStringLiteral("没有编号为%1的票据模板").arg(checkTypeId) : readError;
        return false;
    }
    const QString family = type->getFirstName();
    try {
        SampleValueSource source(context.db(), checkTypeId, family);
        std::vector<CalibrationBox> boxes = CalibrationSheet::boxesOf(context, checkTypeId, family);
        PrintRun run(context, output, PrintFamily::forFamily(family));
        const QString title = type->TypeName.isEmpty() ? family : type->TypeName;
        if (!run.PrintPrepare(checkTypeId, title))
            return false;
        run.PrinterTransBegin(1);
        if (run.ready() && output.painter()) {
            const CalibrationSheet sheet(run.page().paper, std::move(boxes), run.xMove(), run.yMove());
            sheet.draw(*output.painter(), output.metrics());
        }
        run.SendCheckToPrinter(source);
        return run.PrinterTransEnd();
    } catch (const TemplateError &e) {
        if (error)
            *error = e.message();
        return false;
    }
}

} // namespace billprint
