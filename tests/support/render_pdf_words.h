#pragma once

// Reading a PDF back with poppler's `pdftotext -bbox`: the words of every
// page with their boxes in points, and the checks of where a printed value
// starts.

#include "printing/print_fonts.h"

#include <QFontMetricsF>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <vector>

namespace billprint::test {

struct PdfWord
{
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;  // points from the page's top-left corner
    QString text;
};

struct PdfPage
{
    double width = 0, height = 0;  // points
    std::vector<PdfWord> words;
};

inline bool havePdfToText()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

inline std::vector<PdfPage> readPdfWords(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    p.waitForFinished(60000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    std::vector<PdfPage> pages;
    static const QRegularExpression tag(
        QStringLiteral("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\">|<word xMin=\"([-0-9.]+)\" yMin=\"([-0-9.]+)\" "
                       "xMax=\"([-0-9.]+)\" yMax=\"([-0-9.]+)\">([^<]*)</word>"));
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (!m.captured(1).isEmpty()) {
            pages.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), {}});
        } else if (!pages.empty()) {
            QString text = m.captured(7);
            text.replace(QStringLiteral("&amp;"), QStringLiteral("&"))
                .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
                .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
                .replace(QStringLiteral("&apos;"), QStringLiteral("'"));
            pages.back().words.push_back({m.captured(3).toDouble(), m.captured(4).toDouble(),
                                          m.captured(5).toDouble(), m.captured(6).toDouble(), text});
        }
    }
    return pages;
}

constexpr double kPointsPerMm = 72.0 / 25.4;

// True when a word of the text layer reads as `text`. Our PDFs name the
// ideographs printed, never look-alike radicals, so the match is exact.
inline bool readsAs(const QString &word, const QString &text)
{
    return word == text;
}

// The top of the character cell of a word printed in `face` at `pointSize`,
// in millimetres: poppler boxes a word from the embedded face's ascent above
// the base line; the cell's top is the classic 220/256 em above it.
inline double cellTopMm(const PdfWord &word, const QString &face, int pointSize)
{
    QFont font(resolvePrintFace(face));
    font.setPixelSize(1000);
    const double ascentEm = QFontMetricsF(font).ascent() / 1000.0;
    const double size = effectivePointSize(pointSize);
    const double baseline = word.yMin + ascentEm * size;
    return (baseline - kClassicAscentEm * size) / kPointsPerMm;
}

} // namespace billprint::test
