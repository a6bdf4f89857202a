#include "designers/design_labels.h"

#include "printing/print_renderer.h"
#include "templates/ck_control.h"
#include "templates/name_dict.h"

#include <cmath>

namespace billprint {

PaperScale PaperScale::forScreen(double logicalDpi, int zoomPercent)
{
    const double dpi = logicalDpi > 0 ? logicalDpi : 96.0;
    const int zoom = zoomPercent > 0 ? zoomPercent : 100;
    return PaperScale(25.4 / dpi * 100.0 / zoom);
}

int PaperScale::toPixels(int tenthsMm) const
{
    return int(std::lround(tenthsMm / 10.0 / m_mmPerPixel));
}

int PaperScale::toTenths(int pixels) const
{
    return int(std::lround(pixels * 10.0 * m_mmPerPixel));
}

QString designSampleText(const CkControl &field, const NameDict &item)
{
    for (const QString &text : {field.InitValue, item.CtlData, item.CtlLabel})
        if (!text.trimmed().isEmpty())
            return text.trimmed();
    return QString();
}

QRect designBox(const CkControl &field, const PaperScale &scale)
{
    const int w = field.CtlW == 0 ? field.SrcW : scale.toPixels(field.CtlW);
    const int h = field.CtlH == 0 ? field.SrcH : scale.toPixels(field.CtlH);
    return QRect(scale.toPixels(field.CtlX), scale.toPixels(field.CtlY), w, h);
}

std::vector<DesignLabel> designLabels(const CkControl &field, const QString &sample, const PaperScale &scale)
{
    std::vector<DesignLabel> labels;
    if (sample.trimmed().isEmpty())
        return labels;
    const QRect box = designBox(field, scale);
    // The same line pitch and breaking as printing, so the canvas shows
    // the lines where they land on paper.
    const int pitch = scale.toPixels(field.printLineHeight());
    const QStringList lines = PrintRenderer::pieces(sample, NameDict::lineSeparator(), field.charsPerLine());
    const bool broken = lines.size() > 1;
    bool pitchOk = false;
    const int fit = field.FitParam.trimmed().toInt(&pitchOk);
    const bool equalWidth = pitchOk && fit > 25;
    const int charPitch = equalWidth ? scale.toPixels(fit) : 0;
    Qt::Alignment align = Qt::AlignLeft;
    if (field.Align.trimmed() == QLatin1String("2"))
        align = Qt::AlignRight;
    else if (field.Align.trimmed() == QLatin1String("1"))
        align = Qt::AlignHCenter;

    for (int n = 0; n < lines.size(); ++n) {
        DesignLabel line;
        line.ctlName = field.CtlName;
        line.hint = broken ? field.CtlName + QLatin1Char('L') + QString::number(n) : field.CtlName;
        line.rect = broken ? QRect(box.left(), box.top() + n * pitch, box.width(), pitch) : box;
        line.text = lines.at(n);
        line.fontName = field.printFontName();
        line.fontSize = broken ? field.printBreakFontSize() : field.CtlFontSize;
        line.bold = field.isBold();
        line.italic = field.isItalic();
        line.underline = field.isUnderlined();
        line.align = align;
        if (!equalWidth) {
            labels.push_back(line);
            continue;
        }
        // Equal-width printing puts every character in its own cell.
        const QString text = line.text;
        for (int i = 0; i < text.size(); ++i) {
            DesignLabel cell = line;
            cell.hint = line.hint + QLatin1Char('R') + QString::number(i + 1);
            cell.rect = QRect(line.rect.left() + i * charPitch, line.rect.top(), charPitch, line.rect.height());
            cell.text = text.at(i);
            cell.align = Qt::AlignLeft;
            labels.push_back(cell);
        }
    }
    return labels;
}

} // namespace billprint
