#include "printing/print_renderer.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/chinese_text.h"
#include "app/database.h"
#include "printing/print_fonts.h"
#include "templates/ck_control.h"
#include "templates/template_error.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QSqlQuery>
#include <QStringView>
#include <QVariant>

namespace billprint {

namespace {

// Characters as the reader counts them: a pair of surrogates is one.
QStringList characters(const QString &text)
{
    QStringList chars;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            chars << text.mid(i, 2);
            ++i;
        } else {
            chars << QString(text.at(i));
        }
    }
    return chars;
}

bool hasDoubleWidth(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() > 0x7F)
            return true;
    return false;
}

void tellPrintError(const QString &name)
{
    tell(QStringLiteral("打印") + name + QStringLiteral("出现错误！"), QStringLiteral("提示"), AlertIcon::Error);
}

} // namespace

PrintRenderer::PrintRenderer(AppContext &context, QPainter &painter, const PrintDeviceMetrics &metrics)
    : m_ctx(context), m_painter(painter), m_metrics(metrics)
{
}

int PrintRenderer::deviceX(int x, int size) const
{
    return tenthsMmToDevice(x, m_metrics.dpiX) + valueLeadIn(size, m_metrics.dpiX);
}

int PrintRenderer::deviceY(int y) const
{
    return tenthsMmToDevice(y, m_metrics.dpiY) - m_metrics.physicalTop;
}

QStringList PrintRenderer::pieces(const QString &value, const QString &separator, int charsPerLine)
{
    const QString text = value.trimmed();
    const QStringList lines = (separator.isEmpty() || !text.contains(separator))
                                  ? QStringList{text}
                                  : splitString(text, separator);
    QStringList result;
    for (const QString &line : lines) {
        if (line.isEmpty())
            continue;
        if (charsPerLine < 1)
            result << line;
        else
            result << breakTextByWidth(line, charsPerLine);
    }
    return result;
}

int PrintRenderer::currencyShift(const QString &value, const QString &symbol, int cellWidth)
{
    if (symbol.isEmpty() || value.trimmed() != symbol)
        return 0;
    if (hasDoubleWidth(symbol))
        return -10;
    const int length = int(characters(symbol).size());
    if (length > 1 && cellWidth > 0)
        return 4 - (length - 2) * cellWidth;
    return 0;
}

void PrintRenderer::useFields(int checkTypeId, const std::vector<CkControl> &fields)
{
    m_fieldsOf = checkTypeId;
    m_fields.clear();
    for (const CkControl &f : fields) {
        const QString key = f.CtlName.trimmed().toUpper();
        const auto it = m_fields.constFind(key);
        if (it == m_fields.constEnd() || f.ID < it->ID)  // the row a lookup finds
            m_fields.insert(key, f);
    }
}

std::optional<CkControl> PrintRenderer::field(int checkTypeId, const QString &name) const
{
    if (checkTypeId > 0 && checkTypeId == m_fieldsOf) {
        const auto it = m_fields.constFind(name.trimmed().toUpper());
        if (it == m_fields.constEnd())
            return std::nullopt;
        return it.value();
    }
    return CkControlStore(m_ctx.db()).find(checkTypeId, name);
}

bool PrintRenderer::printItemValue(int checkTypeId, int dx, const QString &separator, const QString &value,
                                   const QString &name, int dy)
{
    std::vector<PlacedText> placed;
    if (!placeItemValue(checkTypeId, dx, separator, value, name, dy, &placed)) {
        tellPrintError(name);
        return false;
    }
    draw(placed);
    return true;
}

bool PrintRenderer::placeItemValue(int checkTypeId, int dx, const QString &separator, const QString &value,
                                   const QString &name, int dy, std::vector<PlacedText> *placed)
{
    if (value.trimmed().isEmpty())
        return true;

    std::optional<CkControl> field;
    try {
        field = this->field(checkTypeId, name);
    } catch (const TemplateError &) {
        return false;
    }
    if (!field)
        return true;

    int x = field->CtlX + dx;
    const int y = field->CtlY + dy;
    const QStringList parts = pieces(value, separator, field->charsPerLine());
    if (parts.isEmpty())
        return true;

    if (parts.size() == 1) {
        x += currencyShift(value, m_ctx.currencySymbol, m_ctx.digitCellWidth);
        const std::size_t first = placed->size();
        if (!placeItemText(x, y, parts.first(), field->UnderLine, field->Italic, field->Bold, field->FitParam,
                           field->CtlFontSize, field->CtlFontColor, field->CtlFontName, 0, placed))
            return false;
        alignInBox(*field, x, first, placed);
        return true;
    }
    // Broken lines print smaller, but start where the one-line value would:
    // the template's x was measured for that.
    const int lineHeight = field->printLineHeight();
    const std::size_t first = placed->size();
    for (int k = 0; k < parts.size(); ++k)
        if (!placeItemText(x, y + k * lineHeight, parts.at(k), field->UnderLine, field->Italic, field->Bold,
                           field->FitParam, field->printBreakFontSize(), field->CtlFontColor, field->CtlFontName,
                           field->CtlFontSize, placed))
            return false;
    alignInBox(*field, x, first, placed);
    return true;
}

void PrintRenderer::alignInBox(const CkControl &field, int x, std::size_t first,
                               std::vector<PlacedText> *placed) const
{
    const QString align = field.Align.trimmed();
    const bool right = align == QLatin1String("2");
    const bool centre = align == QLatin1String("1");
    // Characters spread over digit boxes sit in their boxes, as the designer shows them.
    if ((!right && !centre) || field.CtlW <= 0 || !field.FitParam.trimmed().isEmpty())
        return;
    const int boxLeft = tenthsMmToDevice(x, m_metrics.dpiX);
    const int boxRight = tenthsMmToDevice(x + field.CtlW, m_metrics.dpiX);
    for (std::size_t i = first; i < placed->size(); ++i) {
        PlacedText &piece = (*placed)[i];
        const int width = qRound(advance(piece.text, piece.fonts));
        // The lead-in a left-aligned value starts after is kept free at the right edge too.
        const int leadIn = piece.X - boxLeft;
        piece.X = right ? boxRight - leadIn - width : (boxLeft + boxRight - width) / 2;
    }
}

bool PrintRenderer::drawItemText(int x, int y, const QString &text, int underline, int italic, int bold,
                                 const QString &fitParam, int size, const QString &color,
                                 const QString &fontName, int leadInSize)
{
    std::vector<PlacedText> placed;
    if (!placeItemText(x, y, text, underline, italic, bold, fitParam, size, color, fontName, leadInSize, &placed))
        return false;
    draw(placed);
    return true;
}

void PrintRenderer::drawTextAt(int x, int y, const QString &text, int underline, int italic, int bold, int size,
                               const QString &color, const QString &fontName, int leadInSize)
{
    std::vector<PlacedText> placed;
    placeTextAt(x, y, text, underline, italic, bold, size, color, fontName, leadInSize, &placed);
    draw(placed);
}

bool PrintRenderer::placeItemText(int x, int y, const QString &text, int underline, int italic, int bold,
                                  const QString &fitParam, int size, const QString &color,
                                  const QString &fontName, int leadInSize, std::vector<PlacedText> *placed) const
{
    if (leadInSize == 0)
        leadInSize = size;
    if (fitParam.trimmed().isEmpty()) {
        placeTextAt(x, y, text, underline, italic, bold, size, color, fontName, leadInSize, placed);
        return true;
    }
    bool isNumber = false;
    const int pitch = fitParam.trimmed().toInt(&isNumber);
    if (!isNumber)
        return false;
    if (text.trimmed().isEmpty())
        return true;

    const PrintFonts &fonts = fontsFor(fontName, size, bold > 0, italic > 0, underline > 0);
    const QColor ink = printColorFromText(color);
    const int Y = deviceY(y);
    const QStringList chars = characters(text);
    for (int i = 0; i < chars.size(); ++i)
        placed->push_back({deviceX(x + i * pitch, leadInSize), Y, chars.at(i), fonts, ink});
    return true;
}

void PrintRenderer::placeTextAt(int x, int y, const QString &text, int underline, int italic, int bold, int size,
                                const QString &color, const QString &fontName, int leadInSize,
                                std::vector<PlacedText> *placed) const
{
    if (text.trimmed().isEmpty())
        return;
    int Y = deviceY(y);
    if (Y < -2)
        Y = -3;
    // The average width is that of the value's own font, so a field's place
    // never depends on the field printed before it.
    placed->push_back({deviceX(x, leadInSize == 0 ? size : leadInSize), Y, text,
                       fontsFor(fontName, size, bold > 0, italic > 0, underline > 0),
                       printColorFromText(color)});
}

const PrintFonts &PrintRenderer::fontsFor(const QString &face, int size, bool bold, bool italic,
                                          bool underline) const
{
    const QString key = face + QLatin1Char('|') + QString::number(size) + QLatin1Char(bold ? 'b' : '-')
        + QLatin1Char(italic ? 'i' : '-') + QLatin1Char(underline ? 'u' : '-');
    auto it = m_fonts.find(key);
    if (it == m_fonts.end()) {
        PrintFonts fonts = printFonts(face, size, bold, italic, underline);
        // Made for the device once, so drawing and measuring find the
        // matched face in the font itself instead of matching it again.
        fonts.text = QFont(fonts.text, m_painter.device());
        fonts.ascii = QFont(fonts.ascii, m_painter.device());
        it = m_fonts.insert(key, fonts);
    }
    return *it;
}

qreal PrintRenderer::advance(const QString &text, const PrintFonts &fonts) const
{
    qreal width = 0;
    for (const AsciiRun &run : asciiRuns(text))
        width += QFontMetricsF(run.ascii ? fonts.ascii : fonts.text, m_painter.device()).horizontalAdvance(run.text);
    return width;
}

QRectF PrintRenderer::extent(const PlacedText &text) const
{
    const qreal em = effectivePointSize(text.fonts.text.pointSize()) * m_metrics.dpiY / 72.0;
    return QRectF(text.X, text.Y, advance(text.text, text.fonts), em);
}

void PrintRenderer::draw(const std::vector<PlacedText> &placed)
{
    for (const PlacedText &piece : placed) {
        m_painter.setPen(piece.color);
        const double baseline = piece.Y + cellAscent(piece.fonts.text.pointSize(), m_metrics.dpiY);
        // ASCII in its half-width face, the rest in the template's face, each
        // run starting where the one before it ends.
        qreal X = piece.X;
        const QList<AsciiRun> runs = asciiRuns(piece.text);
        for (qsizetype i = 0; i < runs.size(); ++i) {
            const QFont &font = runs[i].ascii ? piece.fonts.ascii : piece.fonts.text;
            if (m_painter.font() != font)
                m_painter.setFont(font);
            m_painter.drawText(QPointF(X, baseline), runs[i].text);
            if (i + 1 < runs.size())
                X += QFontMetricsF(font, m_painter.device()).horizontalAdvance(runs[i].text);
        }
    }
}

QColor printColorFromText(const QString &text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok || value < 0)
        return QColor(Qt::black);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

int getCellsWidth(const Database &db, int checkTypeId, const QString &name1, int defaultWidth,
                  const QString &name2)
{
    QSqlQuery q = db.prepare(QStringLiteral(
        "select CtlX from CkControl where CheckTypeID=? and (upper(CtlName)=upper(?) or upper(CtlName)=upper(?)) "
        "order by ID"));
    q.addBindValue(checkTypeId);
    q.addBindValue(name1.trimmed());
    q.addBindValue(name2.trimmed());
    if (!q.exec())
        return 0;
    QList<int> xs;
    while (xs.size() < 2 && q.next())
        xs << q.value(0).toInt();
    if (xs.size() < 2)
        return defaultWidth;
    return qAbs(xs.at(0) - xs.at(1));
}

QString getHXPaperIn(const Database &db, int checkTypeId)
{
    QSqlQuery q = db.prepare(QStringLiteral("select HVPrint from CKTypeTable where CheckTypeID=?"));
    q.addBindValue(checkTypeId);
    if (!q.exec() || !q.next())
        return QString();
    return q.value(0).toString();
}

} // namespace billprint
