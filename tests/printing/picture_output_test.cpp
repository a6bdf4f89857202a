// `billprint print … --png` and `billprint batch … --png-dir`: the pages of
// the print run as pictures of the paper at the asked resolution, values
// where the PDF of the same print puts them, the form picture under them
// only when asked, one picture per batch page in print order.

#include "app/app_context.h"
#include "app/data_root.h"
#include "render_pdf_words.h"
#include "templates/check_type.h"
#include "templates/named_template.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

namespace billprint::test {
namespace {

const QString kCapitals = QStringLiteral("壹仟贰佰叁拾肆元伍角陆分");

bool isWhite(QRgb pixel)
{
    return qRed(pixel) > 245 && qGreen(pixel) > 245 && qBlue(pixel) > 245;
}

// The box of the dark (ink) pixels of `image` inside `region`.
QRect inkIn(const QImage &image, const QRect &region)
{
    QRect ink;
    const QRect r = region.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

// A word's box of the PDF in pixels at `dpi`.
QRectF pixelBox(const PdfWord &word, int dpi)
{
    const double scale = dpi / 72.0;
    return QRectF(QPointF(word.xMin * scale, word.yMin * scale), QPointF(word.xMax * scale, word.yMax * scale));
}

const PdfWord *findWord(const PdfPage &page, const QString &text)
{
    for (const PdfWord &w : page.words)
        if (readsAs(w.text, text))
            return &w;
    return nullptr;
}

// The ink near a word of the PDF lies where the word does: same left edge
// and within the word's line, to half a millimetre.
void expectInkOnWord(const QImage &image, const PdfWord &word, int dpi)
{
    const double mm = dpi / 25.4;
    const QRectF box = pixelBox(word, dpi);
    const QRect ink = inkIn(image, box.adjusted(-mm, -mm, mm, mm).toRect());
    ASSERT_FALSE(ink.isEmpty()) << word.text.toStdString();
    EXPECT_NEAR(ink.left(), box.left(), 0.5 * mm) << word.text.toStdString();
    EXPECT_NEAR(ink.right(), box.right(), 0.5 * mm) << word.text.toStdString();
    EXPECT_GE(ink.top(), box.top() - 0.5 * mm) << word.text.toStdString();
    EXPECT_LE(ink.bottom(), box.bottom() + 0.5 * mm) << word.text.toStdString();
}

class PictureOutputTest : public ::testing::Test
{
protected:
    QString file(const QString &name) const { return QDir(root.path()).filePath(name); }

    ProgramResult cheque(const QStringList &target)
    {
        return runProgram(QStringList{QStringLiteral("--data"), root.path(), QStringLiteral("print"),
                                      QStringLiteral("--family"), QStringLiteral("支票"), QStringLiteral("--amount"),
                                      QStringLiteral("1234.56")}
                          + target);
    }

    ProgramResult batch(const QStringList &target)
    {
        const QString csv = file(QStringLiteral("receivers.csv"));
        QFile f(csv);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        // Names of growing length: the pages show in which order they came.
        f.write(QStringLiteral("收件人,手机,省,市,地址\n王一,13900000001,湖北省,武汉,珞喻路1号\n"
                               "王一二三,13900000002,湖北省,武汉,珞喻路2号\n"
                               "王一二三四五,13900000003,湖北省,武汉,珞喻路3号\n")
                    .toUtf8());
        f.close();
        return runProgram(QStringList{QStringLiteral("--data"), root.path(), QStringLiteral("batch"),
                                      QStringLiteral("--template"), QStringLiteral("5"), QStringLiteral("--csv"), csv}
                              + target,
                          60000);
    }

    TempDataRoot root;
};

TEST_F(PictureOutputTest, ChequePictureIsThePaperAtTheResolutionOnWhitePaper)
{
    ProgramResult r = cheque({QStringLiteral("--png"), file(QStringLiteral("c.png"))});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("支票（通用转账支票） -> ") + file(QStringLiteral("c.png")) + QLatin1Char('\n'));
    const QImage plain(file(QStringLiteral("c.png")));
    EXPECT_EQ(plain.size(), QSize(1329, 472));  // 225 × 80 mm at 150 dpi
    for (const QPoint corner : {QPoint(0, 0), QPoint(1328, 0), QPoint(0, 471), QPoint(1328, 471)})
        EXPECT_TRUE(isWhite(plain.pixel(corner))) << corner.x() << "," << corner.y();
    EXPECT_FALSE(inkIn(plain, plain.rect()).isEmpty());

    r = cheque({QStringLiteral("--png"), file(QStringLiteral("c300.png")), QStringLiteral("--dpi"), QStringLiteral("300")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(file(QStringLiteral("c300.png"))).size(), QSize(2657, 945));
}

TEST_F(PictureOutputTest, FormPictureIsUnderTheValuesOnlyWithWithForm)
{
    ProgramResult r = cheque({QStringLiteral("--png"), file(QStringLiteral("plain.png"))});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = cheque({QStringLiteral("--png"), file(QStringLiteral("form.png")), QStringLiteral("--with-form")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage plain(file(QStringLiteral("plain.png")));
    const QImage withForm(file(QStringLiteral("form.png")));
    ASSERT_EQ(withForm.size(), plain.size());

    QString error;
    const std::optional<TCheckType> type =
        findNamedTemplate(root.context().db(), QStringLiteral("通用转账支票"), QStringLiteral("支票"), &error);
    ASSERT_TRUE(type) << error.toStdString();
    const QImage form = QImage(root.context().dataRoot().imageFolder() + type->pictureFile())
                            .scaled(plain.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    ASSERT_FALSE(form.isNull());
    // Where no value is printed the page shows the form picture, stretched
    // over the paper as the designer shows it.
    int compared = 0, same = 0, formInk = 0;
    for (int y = 2; y < plain.height(); y += 7) {
        for (int x = 2; x < plain.width(); x += 7) {
            if (!isWhite(plain.pixel(x, y)))
                continue;
            ++compared;
            const QRgb a = withForm.pixel(x, y), b = form.pixel(x, y);
            if (qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b)) < 60)
                ++same;
            if (!isWhite(b))
                ++formInk;
        }
    }
    EXPECT_GT(formInk, compared / 10);  // the form is no blank sheet
    EXPECT_GT(same, compared * 97 / 100);
    EXPECT_FALSE(isWhite(withForm.pixel(20, 20)));  // the stub's green frame
    EXPECT_TRUE(isWhite(plain.pixel(20, 20)));
}

TEST_F(PictureOutputTest, ValuesLandWhereThePdfPutsThem)
{
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) not installed";
    ProgramResult r = cheque({QStringLiteral("--pdf"), file(QStringLiteral("c.pdf"))});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = cheque({QStringLiteral("--png"), file(QStringLiteral("c.png")), QStringLiteral("--dpi"), QStringLiteral("300")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const std::vector<PdfPage> pages = readPdfWords(file(QStringLiteral("c.pdf")));
    ASSERT_EQ(pages.size(), 1u);
    const PdfWord *capitals = findWord(pages.front(), kCapitals);
    ASSERT_NE(capitals, nullptr);
    expectInkOnWord(QImage(file(QStringLiteral("c.png"))), *capitals, 300);
}

TEST_F(PictureOutputTest, BatchWritesOnePicturePerPageInPrintOrderAndNeverOverwrites)
{
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) not installed";
    ProgramResult r = batch({QStringLiteral("--pdf"), file(QStringLiteral("b.pdf"))});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const std::vector<PdfPage> pages = readPdfWords(file(QStringLiteral("b.pdf")));
    ASSERT_EQ(pages.size(), 3u);

    const QString folder = file(QStringLiteral("out/pages"));  // made by the command
    r = batch({QStringLiteral("--png-dir"), folder});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("3 pages -> ") + folder + QLatin1Char('\n'));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("0001.png"), QStringLiteral("0002.png"), QStringLiteral("0003.png")}));
    const QStringList names{QStringLiteral("王一"), QStringLiteral("王一二三"), QStringLiteral("王一二三四五")};
    for (int page = 0; page < 3; ++page) {
        const PdfWord *name = findWord(pages[page], names[page]);
        ASSERT_NE(name, nullptr) << page;
        expectInkOnWord(QImage(QDir(folder).filePath(QStringLiteral("%1.png").arg(page + 1, 4, 10, QLatin1Char('0')))),
                        *name, 150);
    }

    // A second run into the same folder would mix its pages with these.
    const QByteArray first = [&] {
        QFile f(QDir(folder).filePath(QStringLiteral("0001.png")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    r = batch({QStringLiteral("--png-dir"), folder, QStringLiteral("--dpi"), QStringLiteral("300")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("billprint batch: ") + folder
                                   + QStringLiteral(" already holds page pictures (0001.png); give an empty folder "
                                                    "or move them away"));
    QFile again(QDir(folder).filePath(QStringLiteral("0001.png")));
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), first);
}

TEST_F(PictureOutputTest, BadResolutionEndsWithOneLineAndNoPicture)
{
    for (const QString &dpi : {QStringLiteral("71"), QStringLiteral("601"), QStringLiteral("150dpi")}) {
        const ProgramResult r =
            cheque({QStringLiteral("--png"), file(QStringLiteral("bad.png")), QStringLiteral("--dpi"), dpi});
        EXPECT_EQ(r.exitCode, 2) << dpi.toStdString();
        EXPECT_EQ(r.err.trimmed(), QStringLiteral("billprint print: --dpi must be a whole number from 72 to 600: ") + dpi);
    }
    ProgramResult r = cheque({QStringLiteral("--pdf"), file(QStringLiteral("bad.pdf")), QStringLiteral("--dpi"),
                              QStringLiteral("300")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("billprint print: --dpi goes with --png"));
    r = cheque({QStringLiteral("--pdf"), file(QStringLiteral("bad.pdf")), QStringLiteral("--png"),
                file(QStringLiteral("bad.png"))});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("billprint print: give one of --pdf OUT, --png OUT.png or --printer NAME"));
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("bad.png"))));
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("bad.pdf"))));

    const ProgramResult help = runProgram({QStringLiteral("batch"), QStringLiteral("--help")});
    EXPECT_TRUE(help.out.contains(QStringLiteral("--png-dir DIR"))) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains(QStringLiteral("--dpi N")));
}

TEST_F(PictureOutputTest, TheSampleBillIsAPictureTooAndAFileThatCannotBeWrittenIsNoPrinterFault)
{
    ProgramResult r = runProgram({QStringLiteral("--data"), root.path(), QStringLiteral("print-sample"),
                                  QStringLiteral("--template"), QStringLiteral("1"), QStringLiteral("--png"),
                                  file(QStringLiteral("sample.png")), QStringLiteral("--dpi"), QStringLiteral("100")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage sample(file(QStringLiteral("sample.png")));
    EXPECT_EQ(sample.size(), QSize(886, 315));  // 225 × 80 mm at 100 dpi
    EXPECT_FALSE(inkIn(sample, sample.rect()).isEmpty());

    r = cheque({QStringLiteral("--png"), file(QStringLiteral("no/such/folder/c.png"))});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("billprint print: 输出文件出错，没有写入！"))) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("打印机"))) << r.err.toStdString();
}

} // namespace
} // namespace billprint::test
