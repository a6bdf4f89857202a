// The text layer of our PDFs names ideographs, not look-alike radicals.
#include "printing/pdf_text_layer.h"
#include "render_pdf_words.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace billprint;

namespace {

QByteArray pdfWithText(const QString &text)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        QPainter p(&writer);
        p.setFont(QFont(QStringLiteral("Noto Serif CJK SC"), 12));
        p.drawText(QPointF(200, 400), text);
    }
    return buffer.data();
}

// The words of the first page, as pdftotext reads them, one blank apart.
QString textOf(const QByteArray &pdf)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("t.pdf"));
    file.open(QIODevice::WriteOnly);
    file.write(pdf);
    file.close();
    // The pages are held here: a loop over a member of the returned list
    // itself would read them after they are gone.
    const auto pages = test::readPdfWords(file.fileName());
    QStringList words;
    for (const test::PdfWord &word : pages.at(0).words)
        words << word.text;
    return words.join(' ');
}

} // namespace

TEST(PdfTextLayer, CapitalsReadBackAsTheIdeographsPrinted)
{
    const QString capitals = QStringLiteral("壹仟贰佰叁拾肆元伍角陆分 人民币 电子 母 龟");
    const QByteArray fixed = fixPdfTextLayer(pdfWithText(capitals));
    EXPECT_EQ(textOf(fixed), capitals);
}

TEST(PdfTextLayer, FileKeepsItsSizeAndOffsets)
{
    const QByteArray original = pdfWithText(QStringLiteral("伍角"));
    const QByteArray fixed = fixPdfTextLayer(original);
    EXPECT_EQ(fixed.size(), original.size());
    EXPECT_EQ(fixed.mid(fixed.lastIndexOf("startxref")), original.mid(original.lastIndexOf("startxref")));
    EXPECT_EQ(fixPdfTextLayer(QByteArray("not a pdf")), QByteArray("not a pdf"));
}
