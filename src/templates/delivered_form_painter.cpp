#include "templates/delivered_form_painter.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace billprint {

namespace {

// Paints the items of one template; every coordinate of the geometry file
// goes through x()/y() so the picture keeps the template's scale.
class FormPainter
{
public:
    FormPainter(QPainter &painter, const DeliveredTemplate &t)
        : p(painter), tpl(t), sx(t.scaleX()), sy(t.scaleY())
    {
    }

    void paint()
    {
        p.fillRect(QRect(QPoint(0, 0), tpl.picture), colour(QStringLiteral("paper"), Qt::white));
        for (const QJsonValue &v : tpl.drawing)
            item(v.toObject());
    }

private:
    QPainter &p;
    const DeliveredTemplate &tpl;
    const double sx;
    const double sy;

    double x(double v) const { return v * sx; }
    double y(double v) const { return v * sy; }
    QRectF rect(const QJsonObject &o, const QString &key = QStringLiteral("rect")) const
    {
        const QJsonArray a = o.value(key).toArray();
        return QRectF(x(a[0].toDouble()), y(a[1].toDouble()), x(a[2].toDouble()), y(a[3].toDouble()));
    }

    QColor colour(const QString &name, const QColor &fallback) const
    {
        if (name.isEmpty())
            return fallback;
        if (name.startsWith(QLatin1Char('#')))
            return QColor(name);
        const QString value = tpl.palette.value(name).toString();
        return value.isEmpty() ? fallback : QColor(value);
    }
    QColor ink(const QJsonObject &o, const QString &key = QStringLiteral("color")) const
    {
        return colour(o.value(key).toString(QStringLiteral("ink")), QColor(40, 40, 40));
    }

    // Line width in whole pixels, at least one.
    int penPixels(const QJsonObject &o, int fallback = 3) const
    {
        return qMax(1, qRound(o.value(QStringLiteral("pen")).toDouble(fallback) * sx));
    }
    QPen pen(const QJsonObject &o, int fallback = 3) const
    {
        QPen pn(ink(o), penPixels(o, fallback));
        pn.setCapStyle(Qt::FlatCap);
        const QString dash = o.value(QStringLiteral("dash")).toString();
        if (dash == QStringLiteral("dash"))
            pn.setDashPattern({4, 3});
        else if (dash == QStringLiteral("dot"))
            pn.setDashPattern({1, 2});
        return pn;
    }
    // Odd widths sit on pixel centres, so one-pixel rules stay sharp.
    static double snap(double v, int width) { return qRound(v) + ((width % 2) ? 0.5 : 0.0); }

    QFont font(const QJsonObject &o, double points) const
    {
        const bool sans = o.value(QStringLiteral("font")).toString() == QStringLiteral("sans");
        QFont f(sans ? QStringLiteral("Noto Sans CJK SC") : QStringLiteral("Noto Serif CJK SC"));
        f.setPixelSize(qMax(6, qRound(y(pointsToTenthMm(points)))));
        f.setBold(o.value(QStringLiteral("bold")).toBool());
        f.setHintingPreference(QFont::PreferFullHinting);
        return f;
    }

    void item(const QJsonObject &o)
    {
        const QString kind = o.value(QStringLiteral("kind")).toString();
        if (kind == QStringLiteral("fill"))
            p.fillRect(rect(o), colour(o.value(QStringLiteral("color")).toString(QStringLiteral("tint")),
                                       Qt::white));
        else if (kind == QStringLiteral("rect"))
            drawRect(o);
        else if (kind == QStringLiteral("line"))
            drawLine(o);
        else if (kind == QStringLiteral("text"))
            drawText(o);
        else if (kind == QStringLiteral("vtext"))
            drawVerticalText(o);
        else if (kind == QStringLiteral("digitGrid") || kind == QStringLiteral("cellRow"))
            drawGrid(o);
        else if (kind == QStringLiteral("tick"))
            drawTick(o);
        else if (kind == QStringLiteral("pattern"))
            drawPattern(o);
        else if (kind == QStringLiteral("barcode"))
            drawBarcode(o);
    }

    void hline(double x1, double x2, double yy, const QPen &pn)
    {
        p.setPen(pn);
        const double s = snap(yy, pn.width());
        p.drawLine(QPointF(qRound(x1), s), QPointF(qRound(x2), s));
    }
    void vline(double xx, double y1, double y2, const QPen &pn)
    {
        p.setPen(pn);
        const double s = snap(xx, pn.width());
        p.drawLine(QPointF(s, qRound(y1)), QPointF(s, qRound(y2)));
    }

    void drawRect(const QJsonObject &o)
    {
        const QRectF r = rect(o);
        const QString fill = o.value(QStringLiteral("fill")).toString();
        const double radius = x(o.value(QStringLiteral("radius")).toDouble());
        if (radius > 0) {
            p.setPen(o.contains(QStringLiteral("pen")) || fill.isEmpty() ? pen(o) : QPen(Qt::NoPen));
            p.setBrush(fill.isEmpty() ? QBrush(Qt::NoBrush) : QBrush(colour(fill, Qt::white)));
            p.drawRoundedRect(r, radius, radius);
            p.setBrush(Qt::NoBrush);
            return;
        }
        if (!fill.isEmpty())
            p.fillRect(QRectF(QPointF(qRound(r.left()), qRound(r.top())),
                              QPointF(qRound(r.right()), qRound(r.bottom()))),
                       colour(fill, Qt::white));
        if (o.value(QStringLiteral("pen")).toDouble(3) <= 0)
            return;
        const QPen pn = pen(o);
        hline(r.left(), r.right(), r.top(), pn);
        hline(r.left(), r.right(), r.bottom(), pn);
        vline(r.left(), r.top(), r.bottom(), pn);
        vline(r.right(), r.top(), r.bottom(), pn);
    }

    void drawLine(const QJsonObject &o)
    {
        const QJsonArray a = o.value(QStringLiteral("from")).toArray();
        const QJsonArray b = o.value(QStringLiteral("to")).toArray();
        const QPointF from(x(a[0].toDouble()), y(a[1].toDouble()));
        const QPointF to(x(b[0].toDouble()), y(b[1].toDouble()));
        const QPen pn = pen(o);
        if (from.y() == to.y())
            hline(from.x(), to.x(), from.y(), pn);
        else if (from.x() == to.x())
            vline(from.x(), from.y(), to.y(), pn);
        else {
            p.setPen(pn);
            p.drawLine(from, to);
        }
    }

    // Baseline that centres an ideograph's em box on `centre`.
    static double baselineFor(double centre, double em) { return centre + em * 0.36; }

    void drawText(const QJsonObject &o)
    {
        const QRectF r = rect(o);
        const QFont f = font(o, o.value(QStringLiteral("pt")).toDouble(9));
        const QFontMetricsF fm(f);
        const double em = f.pixelSize();
        const QString align = o.value(QStringLiteral("align")).toString(QStringLiteral("left"));
        const QString valign = o.value(QStringLiteral("valign")).toString(QStringLiteral("center"));
        const QStringList lines = o.value(QStringLiteral("text")).toString().split(QLatin1Char('\n'));
        const double lineStep = em * o.value(QStringLiteral("leading")).toDouble(1.25);
        const double block = em + (lines.size() - 1) * lineStep;
        double top = r.top() + (r.height() - block) / 2;
        if (valign == QStringLiteral("top"))
            top = r.top();
        else if (valign == QStringLiteral("bottom"))
            top = r.bottom() - block;
        p.setFont(f);
        p.setPen(ink(o));
        for (int i = 0; i < lines.size(); ++i) {
            const double base = baselineFor(top + i * lineStep + em / 2, em);
            const QString &line = lines.at(i);
            if (align == QStringLiteral("justify") && line.size() > 1) {
                drawSpread(line, r.left(), r.right(), base, fm);
                continue;
            }
            const double w = fm.horizontalAdvance(line);
            double left = r.left();
            if (align == QStringLiteral("center"))
                left = r.center().x() - w / 2;
            else if (align == QStringLiteral("right"))
                left = r.right() - w;
            p.drawText(QPointF(left, base), line);
        }
    }

    // Characters spread evenly from `left` to `right`, as forms set their
    // captions ("全　　称").
    void drawSpread(const QString &text, double left, double right, double base, const QFontMetricsF &fm)
    {
        double total = 0;
        for (const QChar c : text)
            total += fm.horizontalAdvance(c);
        const double gap = (right - left - total) / (text.size() - 1);
        double pos = left;
        for (const QChar c : text) {
            p.drawText(QPointF(pos, base), QString(c));
            pos += fm.horizontalAdvance(c) + gap;
        }
    }

    void drawVerticalText(const QJsonObject &o)
    {
        const QRectF r = rect(o);
        const QFont f = font(o, o.value(QStringLiteral("pt")).toDouble(9));
        const QFontMetricsF fm(f);
        const double em = f.pixelSize();
        const QString text = o.value(QStringLiteral("text")).toString();
        if (text.isEmpty())
            return;
        p.setFont(f);
        p.setPen(ink(o));
        const bool justify = o.value(QStringLiteral("justify")).toBool(true);
        const double step = justify && text.size() > 1 ? (r.height() - em) / (text.size() - 1) : em * 1.1;
        double top = justify ? r.top() : r.center().y() - (step * (text.size() - 1) + em) / 2;
        for (const QChar c : text) {
            const double w = fm.horizontalAdvance(c);
            p.drawText(QPointF(r.center().x() - w / 2, baselineFor(top + em / 2, em)), QString(c));
            top += step;
        }
    }

    // Digit boxes: a heading row with the units, the cells below it, and
    // a heavier rule at the decimal point.
    void drawGrid(const QJsonObject &o)
    {
        const QRectF r = rect(o);
        const QString labels = o.value(QStringLiteral("labels")).toString();
        const int n = labels.size();
        const double head = y(o.value(QStringLiteral("head")).toDouble());
        const QString headFill = o.value(QStringLiteral("headFill")).toString(QStringLiteral("tint"));
        if (head > 0 && headFill != QStringLiteral("none"))
            p.fillRect(QRectF(r.left(), r.top(), r.width(), head), colour(headFill, Qt::white));
        const QPen thin = pen(o);
        QJsonObject heavyStyle = o;
        heavyStyle.insert(QStringLiteral("pen"), o.value(QStringLiteral("pen")).toDouble(3) * 2.5);
        heavyStyle.insert(QStringLiteral("color"), o.value(QStringLiteral("decimalColor"))
                                                       .toString(o.value(QStringLiteral("color"))
                                                                     .toString(QStringLiteral("ink"))));
        const QPen heavy = pen(heavyStyle);
        const int decimal = o.value(QStringLiteral("decimal")).toInt(labels.indexOf(QChar(0x89D2))); // 角
        hline(r.left(), r.right(), r.top(), thin);
        if (head > 0)
            hline(r.left(), r.right(), r.top() + head, thin);
        hline(r.left(), r.right(), r.bottom(), thin);
        const double cell = r.width() / n;
        for (int i = 0; i <= n; ++i)
            vline(r.left() + i * cell, r.top(), r.bottom(), i == decimal ? heavy : thin);
        if (head <= 0)
            return;
        const QFont f = font(o, o.value(QStringLiteral("pt")).toDouble(8));
        const QFontMetricsF fm(f);
        p.setFont(f);
        p.setPen(ink(o));
        for (int i = 0; i < n; ++i) {
            const QString c(labels.at(i));
            p.drawText(QPointF(r.left() + i * cell + (cell - fm.horizontalAdvance(c)) / 2,
                               baselineFor(r.top() + head / 2, f.pixelSize())),
                       c);
        }
    }

    void drawTick(const QJsonObject &o)
    {
        const QRectF r = rect(o);
        const double side = qMin(r.height(), y(o.value(QStringLiteral("box")).toDouble(32)));
        const QRectF box(r.left(), r.center().y() - side / 2, side, side);
        const QPen pn = pen(o);
        hline(box.left(), box.right(), box.top(), pn);
        hline(box.left(), box.right(), box.bottom(), pn);
        vline(box.left(), box.top(), box.bottom(), pn);
        vline(box.right(), box.top(), box.bottom(), pn);
        const QFont f = font(o, o.value(QStringLiteral("pt")).toDouble(9));
        p.setFont(f);
        p.setPen(ink(o));
        p.drawText(QPointF(box.right() + side * 0.4, baselineFor(r.center().y(), f.pixelSize())),
                   o.value(QStringLiteral("label")).toString());
    }

    // Fine sine waves, the guilloché-like tint of bank paper.
    void drawPattern(const QJsonObject &o)
    {
        const QRectF r = rect(o);
        const double spacing = y(o.value(QStringLiteral("spacing")).toDouble(24));
        const double amplitude = y(o.value(QStringLiteral("amplitude")).toDouble(10));
        const double wave = x(o.value(QStringLiteral("wavelength")).toDouble(140));
        p.save();
        p.setClipRect(r);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(colour(o.value(QStringLiteral("color")).toString(QStringLiteral("pattern")),
                             QColor(220, 230, 220)),
                      1.0));
        for (double base = r.top() - amplitude; base <= r.bottom() + amplitude; base += spacing) {
            QPainterPath path;
            path.moveTo(r.left(), base);
            for (double xx = r.left(); xx <= r.right() + 2; xx += 2)
                path.lineTo(xx, base + amplitude * qSin((xx - r.left()) / wave * 2 * M_PI + base / spacing));
            p.drawPath(path);
        }
        p.restore();
    }

    // Bars of widths taken from the digits of the text, so the same text
    // always gives the same code.
    void drawBarcode(const QJsonObject &o)
    {
        const QRectF r = rect(o);
        const QByteArray seed = o.value(QStringLiteral("text")).toString().toLatin1();
        const QColor c = ink(o);
        double pos = r.left();
        int i = 0;
        while (pos < r.right() - 3) {
            const int v = seed.isEmpty() ? 1 : seed.at(i % seed.size()) + i * 7;
            const double bar = 1 + v % 3;
            const double gap = 1 + (v / 3) % 2;
            p.fillRect(QRectF(qRound(pos), r.top(), bar, r.height()), c);
            pos += bar + gap;
            ++i;
        }
    }
};

} // namespace

QImage paintDeliveredPicture(const DeliveredTemplate &t)
{
    QImage image(t.picture, QImage::Format_RGB32);
    // 0.38 px per 0.1 mm is 96.5 dots per inch.
    image.setDotsPerMeterX(qRound(t.scaleX() * 10000));
    image.setDotsPerMeterY(qRound(t.scaleY() * 10000));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    FormPainter(painter, t).paint();
    painter.end();
    return image;
}

QByteArray encodeFormPicture(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 92);
    return bytes;
}

} // namespace billprint
