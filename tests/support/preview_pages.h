#pragma once

// Reading a print preview back: the texts of a page as the preview window
// replays them, and the check that they stand where a PDF of the same
// print puts its words.

#include "printing/preview_print_output.h"
#include "recording_output.h"
#include "render_pdf_words.h"

#include <gtest/gtest.h>

namespace billprint::test {

// The texts page `page` of `preview` draws, device units of the preview.
inline std::vector<RecordedText> previewTexts(const PrintPreview &preview, int page)
{
    RecordingPaintDevice device(preview.dpi, preview.dpi);
    QPainter painter(&device);
    preview.pages.at(page).play(painter);
    painter.end();
    return device.texts();
}

// Every word of every page of the PDF stands in the preview's page of the
// same number: a drawn text that starts with it, at its left edge and on
// its line (to a quarter of a point); the preview draws as many
// characters as the PDF holds.
inline void expectPreviewMatchesPdf(const PrintPreview &preview, const QString &pdfPath)
{
    const std::vector<PdfPage> pdf = readPdfWords(pdfPath);
    ASSERT_EQ(pdf.size(), preview.pages.size());
    const double pointsPerUnit = 72.0 / preview.dpi;
    for (std::size_t p = 0; p < pdf.size(); ++p) {
        const std::vector<RecordedText> drawn = previewTexts(preview, int(p));
        QString pdfText, drawnText;
        for (const PdfWord &word : pdf[p].words)
            pdfText += word.text;
        for (const RecordedText &text : drawn)
            drawnText += text.text;
        pdfText.remove(QLatin1Char(' '));
        drawnText.remove(QLatin1Char(' '));
        EXPECT_EQ(drawnText.size(), pdfText.size()) << "page " << p;
        for (const PdfWord &word : pdf[p].words) {
            bool found = false;
            for (const RecordedText &text : drawn) {
                const double x = text.baseline.x() * pointsPerUnit;
                const double y = text.baseline.y() * pointsPerUnit;
                // A word may also run over several drawn texts ("￥" and the digits).
                const QString drawnWord = text.text.trimmed();
                const bool same = drawnWord.startsWith(word.text) || (!drawnWord.isEmpty() && word.text.startsWith(drawnWord));
                if (same && std::abs(x - word.xMin) < 0.25
                    && y > word.yMin && y < word.yMax + 0.25)
                    found = true;
            }
            EXPECT_TRUE(found) << "page " << p << ": " << word.text.toStdString() << " at " << word.xMin << ","
                               << word.yMin;
        }
    }
}

} // namespace billprint::test
