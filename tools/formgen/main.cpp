// billprint_formgen: turns the geometry files of the delivered templates
// (resources/forms/*.json) into the database seed script and the form
// pictures, so both always come from the same boxes.
//
//   billprint_formgen [REPOSITORY]          writes into the repository
//   billprint_formgen --forms DIR --sql FILE --images DIR
//   billprint_formgen --preview DIR         pictures with the sample values
//                                           printed into their boxes
//
// After adding a template, list its picture in resources/resources.qrc.
#include "templates/delivered_form_model.h"
#include "templates/delivered_form_painter.h"
#include "templates/delivered_form_script.h"
#include "app/chinese_text.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>

using namespace billprint;

namespace {

// The picture with every shown field's sample value laid out as the print
// would lay it out (line breaking, line pitch, equal pitch), so a glance
// shows whether the values land in their boxes.
QImage previewPicture(const DeliveredTemplate &t, const DeliveredCatalogue &cat)
{
    QImage image = paintDeliveredPicture(t);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double sx = t.scaleX();
    const double sy = t.scaleY();
    for (const DeliveredField &f : t.fields) {
        const DeliveredCatalogueField *c = cat.find(f.name);
        if (!f.show)
            continue;
        p.setPen(QPen(QColor(230, 120, 0, 150), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(f.screen);
        QString value = f.init.isEmpty() ? c->sample : f.init;
        if (c->type == QStringLiteral("SHAPE") || value.isEmpty())
            continue;
        const int n = isDigitText(f.breakNum) ? f.breakNum.toInt() : -1;
        const QStringList pieces = n < 1 ? QStringList{value} : breakTextByWidth(value, n);
        const int points = pieces.size() > 1 ? qMax(6, f.breakSize) : f.size;
        QFont font(QStringLiteral("Noto Serif CJK SC"));
        font.setPixelSize(qRound(pointsToTenthMm(points) * sy));
        font.setBold(f.bold);
        p.setFont(font);
        p.setPen(QColor(20, 20, 160));
        const double ascent = font.pixelSize() * 0.88;
        for (int k = 0; k < pieces.size(); ++k) {
            const double top = (f.box.y() + k * qMax(f.lineHeight < 1 ? 50 : f.lineHeight, 1)) * sy;
            if (f.fit.isEmpty()) {
                p.drawText(QPointF(f.box.x() * sx, top + ascent), pieces.at(k));
                continue;
            }
            for (int i = 0; i < pieces.at(k).size(); ++i)
                p.drawText(QPointF((f.box.x() + i * f.fit.toInt()) * sx, top + ascent),
                           QString(pieces.at(k).at(i)));
        }
    }
    return image;
}

bool writePreviews(const DeliveredFormSet &set, const QString &folder, QString *error)
{
    QDir().mkpath(folder);
    for (const DeliveredTemplate &t : set.templates) {
        const DeliveredCatalogue &cat = *set.catalogue(t.family);
        const QString path = QDir(folder).filePath(t.pictureName(cat.code).replace(
            QStringLiteral(".jpg"), QStringLiteral("_preview.png")));
        if (!previewPicture(t, cat).save(path)) {
            *error = QStringLiteral("cannot write %1").arg(path);
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    // Painting text needs the font database of a GUI application; no
    // window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Generates the delivered templates' seed script and pictures."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("repository"),
                                 QStringLiteral("repository root (default: current folder)"));
    const QCommandLineOption formsOption(QStringLiteral("forms"), QStringLiteral("geometry folder"),
                                         QStringLiteral("dir"));
    const QCommandLineOption sqlOption(QStringLiteral("sql"), QStringLiteral("seed script to write"),
                                       QStringLiteral("file"));
    const QCommandLineOption imagesOption(QStringLiteral("images"),
                                          QStringLiteral("picture folder to write"),
                                          QStringLiteral("dir"));
    const QCommandLineOption previewOption(QStringLiteral("preview"),
                                           QStringLiteral("write preview pictures with sample values"),
                                           QStringLiteral("dir"));
    parser.addOptions({formsOption, sqlOption, imagesOption, previewOption});
    parser.process(app);

    const QDir root(parser.positionalArguments().value(0, QStringLiteral(".")));
    const QString forms = parser.isSet(formsOption) ? parser.value(formsOption)
                                                    : root.filePath(QStringLiteral("resources/forms"));
    const QString sql = parser.isSet(sqlOption)
                            ? parser.value(sqlOption)
                            : root.filePath(QStringLiteral("resources/schema/004_delivered_templates.sql"));
    const QString images = parser.isSet(imagesOption) ? parser.value(imagesOption)
                                                      : root.filePath(QStringLiteral("resources/images"));

    DeliveredFormSet set;
    QString error;
    if (!loadDeliveredForms(forms, &set, &error)) {
        std::fprintf(stderr, "billprint_formgen: %s\n", qPrintable(error));
        return 1;
    }
    if (parser.isSet(previewOption)) {
        if (!writePreviews(set, parser.value(previewOption), &error)) {
            std::fprintf(stderr, "billprint_formgen: %s\n", qPrintable(error));
            return 1;
        }
        return 0;
    }
    if (!writeDeliveredForms(set, sql, images, &error)) {
        std::fprintf(stderr, "billprint_formgen: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%d templates, %d families written to %s and %s\n", int(set.templates.size()),
                int(set.catalogues.size()), qPrintable(QDir::toNativeSeparators(sql)),
                qPrintable(QDir::toNativeSeparators(images)));
    return 0;
}
