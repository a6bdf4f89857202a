// "打印预览" of a bill window: the page the print run makes for the bill
// printer, shown over the form picture that never reaches the paper, with
// the printer's printable area and the values beyond it outlined.

#include "cheque_fixtures.h"
#include "preview_pages.h"
#include "printing/pdf_print_output.h"
#include "printing/ui/print_preview_dialog.h"
#include "bills/ui/tfm_check_jkd.h"
#include "bills/ui/tfm_check_jzd.h"
#include "bills/ui/tfm_check_kdd.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>

namespace billprint::test {
namespace {

class PrintPreviewTest : public ChequeTest
{
protected:
    std::unique_ptr<TfmCheckZP> chequeOf(const QString &amount)
    {
        auto w = openCheque();
        typeAmount(*w, amount);
        pressReturn(w->field(QStringLiteral("inputJEXX")));
        w->setFieldText(QStringLiteral("zdInComp"), QStringLiteral("武汉长江精密仪器有限公司"));
        return w;
    }
    QString pdfPath() const { return QDir(root.path()).filePath(QStringLiteral("cheque.pdf")); }

    static int inkPixels(const QImage &image)
    {
        int ink = 0;
        for (int y = 0; y < image.height(); y += 3)
            for (int x = 0; x < image.width(); x += 3)
                ink += qGray(image.pixel(x, y)) < 200 ? 1 : 0;
        return ink;
    }
};

TEST_F(PrintPreviewTest, TheChequeIsPreviewedWithTheTextsWhereThePdfOfTheSamePrintHasThem)
{
    auto w = chequeOf(QStringLiteral("1234.56"));
    PdfPrintOutput pdf(pdfPath());
    w->setPrintOutput(&pdf);
    ASSERT_TRUE(w->printOne());

    w->command(QStringLiteral("打印预览"))->trigger();
    auto *dialog = w->findChild<PrintPreviewDialog *>();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("打印预览 - 通用转账支票"));
    ASSERT_EQ(dialog->pageCount(), 1);
    expectPreviewMatchesPdf(dialog->preview(), pdfPath());
    bool capitals = false;
    for (const RecordedText &text : previewTexts(dialog->preview(), 0))
        capitals = capitals || text.text.contains(QStringLiteral("壹仟贰佰叁拾肆元伍角陆分"));
    EXPECT_TRUE(capitals);
    EXPECT_TRUE(alerts.messages().isEmpty()) << alerts.messages().join(" | ").toStdString();
}

TEST_F(PrintPreviewTest, TheFormPictureIsShownOnlyInThePreviewAndCanBeHidden)
{
    auto w = chequeOf(QStringLiteral("88.00"));
    PdfPrintOutput pdf(pdfPath());
    w->setPrintOutput(&pdf);
    ASSERT_TRUE(w->printOne());
    QFile file(pdfPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("/Subtype /Image")) << "the form picture is never printed";

    PrintPreviewDialog *dialog = w->printPreview();
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(dialog->preview().form.isNull());
    auto *showForm = dialog->findChild<QCheckBox *>(QStringLiteral("ckShowForm"));
    ASSERT_TRUE(showForm);
    EXPECT_TRUE(showForm->isChecked());
    const QImage withForm = dialog->pageView()->renderPage(4);
    EXPECT_EQ(withForm.size(), QSize(900, 320));  // 225 × 80 mm
    showForm->click();
    const QImage valuesOnly = dialog->pageView()->renderPage(4);
    // The form picture covers much of the paper; the values alone a little.
    EXPECT_GT(inkPixels(withForm), 3 * inkPixels(valuesOnly));
    EXPECT_GT(inkPixels(valuesOnly), 0);
}

TEST_F(PrintPreviewTest, ZoomAndTheDialogsPrintButtonPrintTheBill)
{
    auto w = chequeOf(QStringLiteral("5"));
    PrintPreviewDialog *dialog = w->printPreview();
    ASSERT_TRUE(dialog);
    const double screen = dialog->logicalDpiX() / 25.4;
    dialog->setZoom(PrintPreviewDialog::Zoom::Actual);
    EXPECT_DOUBLE_EQ(dialog->pageView()->pixelsPerMm(), screen);
    dialog->setZoom(PrintPreviewDialog::Zoom::Double);
    EXPECT_DOUBLE_EQ(dialog->pageView()->pixelsPerMm(), 2 * screen);
    dialog->setZoom(PrintPreviewDialog::Zoom::FitPage);
    EXPECT_LT(dialog->pageView()->width(), dialog->width());

    EXPECT_EQ(output.begins, 0) << "the preview sends nothing to the printer";
    // A stray Enter prints nothing; only the button does.
    pressReturn(dialog);
    QApplication::processEvents();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(output.begins, 0);
    dialog->findChild<QPushButton *>(QStringLiteral("btPreviewPrint"))->click();
    QApplication::processEvents();  // the print starts once the preview has closed
    EXPECT_EQ(output.begins, 1);
    EXPECT_FALSE(output.textsEqual(QStringLiteral("伍元整")).empty());
}

TEST_F(PrintPreviewTest, AValueBeyondThePrintersReachIsOutlinedInsteadOfAsked)
{
    auto w = chequeOf(QStringLiteral("1234.56"));
    // A printer that cannot print the left 40 mm of the cheque.
    output.printable = QRectF(40, 0, 185, 80);
    PrintPreviewDialog *dialog = w->printPreview();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(alerts.messages().isEmpty()) << "the preview asks nothing";
    const PrintPreview &preview = dialog->preview();
    EXPECT_EQ(preview.printableArea, QRectF(40, 0, 185, 80));
    ASSERT_FALSE(preview.pages.front().outside.empty());
    for (const PreviewPage::OutsideMark &mark : preview.pages.front().outside)
        EXPECT_LT(mark.box.left() * 25.4 / preview.dpi, 40.0) << mark.label.toStdString();
    EXPECT_TRUE(dialog->findChild<QLabel *>(QStringLiteral("lblPreviewNote"))->text().contains(QStringLiteral("超出打印机可打印区域")));

    // The outlines are red on the page.
    const QImage page = dialog->pageView()->renderPage(4);
    int red = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < 160; ++x) {
            const QColor c = page.pixelColor(x, y);
            red += c.red() > 180 && c.green() < 90 && c.blue() < 90 ? 1 : 0;
        }
    EXPECT_GT(red, 20);
}

// Every bill window offers the preview of its own page.
TEST_F(PrintPreviewTest, EveryBillFamilyHasItsPreview)
{
    std::vector<std::unique_ptr<TfmBillBase>> windows;
    windows.push_back(std::make_unique<TfmCheckJZD>(ctx(), host()));
    windows.push_back(std::make_unique<TfmCheckJKD>(ctx(), host()));
    windows.push_back(std::make_unique<TfmCheckKDD>(ctx(), host()));
    const QString payee = QStringLiteral("南京紫金山天文台");
    for (const auto &w : windows) {
        w->setPrintOutput(&output);
        for (const char *field : {"zdInComp", "zdSKR"})
            if (w->field(QString::fromUtf8(field)))
                w->setFieldText(QString::fromUtf8(field), payee);
        QAction *command = w->command(QStringLiteral("打印预览"));
        ASSERT_NE(command, nullptr) << w->windowTitle().toStdString();
        command->trigger();
        auto *dialog = w->findChild<PrintPreviewDialog *>();
        ASSERT_NE(dialog, nullptr) << w->windowTitle().toStdString();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->pageCount(), 1);
        EXPECT_FALSE(dialog->preview().form.isNull());
        bool shown = false;
        for (const RecordedText &text : previewTexts(dialog->preview(), 0))
            shown = shown || text.text.contains(QStringLiteral("紫金山"));
        EXPECT_TRUE(shown) << w->windowTitle().toStdString();
        dialog->reject();
    }
    EXPECT_EQ(output.begins, 0);
    EXPECT_TRUE(alerts.messages().isEmpty()) << alerts.messages().join(" | ").toStdString();
}

// A clerk may look at a bill before any printer is installed: the whole
// sheet is shown, and the window says why there is no printable area.
TEST_F(PrintPreviewTest, WithoutAPrinterThePageIsShownOnTheWholeSheet)
{
    auto w = chequeOf(QStringLiteral("1234.56"));
    w->setPrintOutput(nullptr);
    ctx().printerNames.clear();
    PrintPreviewDialog *dialog = w->printPreview();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(alerts.messages().isEmpty()) << alerts.messages().join(" | ").toStdString();
    EXPECT_TRUE(dialog->preview().printableArea.isNull());
    EXPECT_EQ(dialog->preview().pages.size(), 1u);
    EXPECT_TRUE(dialog->findChild<QLabel *>(QStringLiteral("lblPreviewNote"))->text().contains(QStringLiteral("没有安装打印机（按整张纸显示）")));
    EXPECT_FALSE(previewTexts(dialog->preview(), 0).empty());
}

TEST_F(PrintPreviewTest, WithoutATemplateTheWindowSaysSoAndShowsNoPreview)
{
    auto w = openCheque();
    w->findChild<QComboBox *>(QStringLiteral("cbCheckType"))->setCurrentIndex(-1);
    EXPECT_EQ(w->printPreview(), nullptr);
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("请选择支票模板的类型!")));
    EXPECT_FALSE(w->findChild<PrintPreviewDialog *>());
}

// The preview as the README shows it: a cheque for a printer whose margins
// are 6 mm. With BILLPRINT_SCREENSHOTS naming a folder the picture is
// written there as print-preview.png.
TEST_F(PrintPreviewTest, ScreenshotOfAChequeForALaserPrinter)
{
    auto w = chequeOf(QStringLiteral("28650.00"));
    w->setFieldText(QStringLiteral("zdYT"), QStringLiteral("货款"));
    output.printable = QRectF(6, 6, 213, 68);
    PrintPreviewDialog *dialog = w->printPreview();
    ASSERT_TRUE(dialog);
    dialog->resize(1100, 560);
    QApplication::processEvents();
    const QImage picture = dialog->grab().toImage();
    EXPECT_GT(inkPixels(picture), 1000);
    if (const QString folder = qEnvironmentVariable("BILLPRINT_SCREENSHOTS"); !folder.isEmpty())
        EXPECT_TRUE(picture.save(QDir(folder).filePath(QStringLiteral("print-preview.png"))));
}

} // namespace
} // namespace billprint::test
