#include "printing/ui/print_target.h"

#include "app/app_context.h"
#include "app/command_line.h"
#include "printing/form_picture.h"
#include "printing/image_print_output.h"
#include "printing/pdf_print_output.h"
#include "printing/ui/printer_output.h"

namespace billprint {

namespace {

const QString kPdf = QStringLiteral("pdf");
const QString kPrinter = QStringLiteral("printer");
const QString kPng = QStringLiteral("png");
const QString kPngDir = QStringLiteral("png-dir");
const QString kDpi = QStringLiteral("dpi");
const QString kWithForm = QStringLiteral("with-form");

bool declaredAndSet(const CommandLine &line, const QString &name)
{
    return line.hasOption(name) && line.isSet(name);
}

// The picture option the line offers: --png, --png-dir or none.
QString pictureOption(const CommandLine &line)
{
    if (line.hasOption(kPng))
        return kPng;
    if (line.hasOption(kPngDir))
        return kPngDir;
    return QString();
}

QString targetChoices(const CommandLine &line)
{
    const QString picture = pictureOption(line);
    if (picture.isEmpty())
        return QStringLiteral("give either --pdf OUT or --printer NAME");
    return QStringLiteral("give one of --pdf OUT, --%1 or --printer NAME")
        .arg(picture == kPng ? QStringLiteral("png OUT.png") : QStringLiteral("png-dir DIR"));
}

// The asked resolution; 0 when --dpi is no whole number in range.
int pictureDpi(const CommandLine &line)
{
    if (!declaredAndSet(line, kDpi))
        return ImagePrintOutput::DefaultDpi;
    bool number = false;
    const int dpi = line.value(kDpi).trimmed().toInt(&number);
    return number && dpi >= ImagePrintOutput::MinDpi && dpi <= ImagePrintOutput::MaxDpi ? dpi : 0;
}

QString checkPictureOptions(const CommandLine &line)
{
    const QString picture = pictureOption(line);
    if (picture.isEmpty())
        return QString();
    if (line.isSet(picture) && line.value(picture).trimmed().isEmpty())
        return QStringLiteral("--") + picture
               + (picture == kPng ? QStringLiteral(" needs a file name") : QStringLiteral(" needs a folder"));
    for (const QString &option : {kDpi, kWithForm})
        if (line.isSet(option) && !line.isSet(picture))
            return QStringLiteral("--%1 goes with --%2").arg(option, picture);
    if (picture == kPngDir && line.isSet(kPngDir))
        if (const QString taken = ImagePrintOutput::firstPagePictureIn(line.value(kPngDir)); !taken.isEmpty())
            return line.value(kPngDir) + QStringLiteral(" already holds page pictures (") + taken
                   + QStringLiteral("); give an empty folder or move them away");
    if (pictureDpi(line) == 0)
        return QStringLiteral("--dpi must be a whole number from %1 to %2: ")
                   .arg(ImagePrintOutput::MinDpi)
                   .arg(ImagePrintOutput::MaxDpi)
               + line.value(kDpi);
    return QString();
}

} // namespace

void addPrintTarget(CommandLine &line, PictureTarget pictures)
{
    line.option(kPdf, QStringLiteral("OUT"), QStringLiteral("print into the PDF file OUT"))
        .option(kPrinter, QStringLiteral("NAME"), QStringLiteral("print on the printer NAME"));
    if (pictures == PictureTarget::None)
        return;
    if (pictures == PictureTarget::File)
        line.option(kPng, QStringLiteral("OUT.png"), QStringLiteral("print the page as the PNG picture OUT.png"));
    else
        line.option(kPngDir, QStringLiteral("DIR"),
                    QStringLiteral("print each page as a PNG picture into DIR (made when missing): 0001.png,\n"
                                   "0002.png, ... in print order; a DIR that already holds such pictures is\n"
                                   "refused, nothing in it is overwritten"));
    line.option(kDpi, QStringLiteral("N"),
                QStringLiteral("resolution of the pictures, %1 to %2 (default %3)")
                    .arg(ImagePrintOutput::MinDpi)
                    .arg(ImagePrintOutput::MaxDpi)
                    .arg(ImagePrintOutput::DefaultDpi))
        .flag(kWithForm, QStringLiteral("draw the template's form picture under the values (never printed)"));
}

QString checkPrintTarget(const CommandLine &line)
{
    int targets = 0;
    for (const QString &option : {kPdf, kPrinter, kPng, kPngDir})
        targets += declaredAndSet(line, option) ? 1 : 0;
    if (targets != 1)
        return targetChoices(line);
    if (line.isSet(kPdf) && line.value(kPdf).trimmed().isEmpty())
        return QStringLiteral("--pdf needs a file name");
    return checkPictureOptions(line);
}

std::unique_ptr<PrintOutput> makePrintOutput(const CommandLine &line)
{
    if (line.isSet(kPrinter))
        return std::make_unique<PrinterOutput>(line.value(kPrinter));
    if (declaredAndSet(line, kPng))
        return ImagePrintOutput::toFile(line.value(kPng), pictureDpi(line));
    if (declaredAndSet(line, kPngDir))
        return ImagePrintOutput::toFolder(line.value(kPngDir), pictureDpi(line));
    return std::make_unique<PdfPrintOutput>(line.value(kPdf));
}

QString printTargetName(const CommandLine &line)
{
    for (const QString &option : {kPrinter, kPng, kPngDir})
        if (declaredAndSet(line, option))
            return line.value(option);
    return line.value(kPdf);
}

QString useFormPicture(PrintOutput &output, const CommandLine &line, const AppContext &context, int checkTypeId)
{
    auto *pictures = dynamic_cast<ImagePrintOutput *>(&output);
    if (!pictures || !declaredAndSet(line, kWithForm))
        return QString();
    QString error;
    const QImage form = templateFormPicture(context, checkTypeId, &error);
    if (form.isNull())
        return error;
    pictures->setFormPicture(form);
    return QString();
}

} // namespace billprint
