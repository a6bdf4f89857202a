#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

namespace billprint {

// The templates the program is delivered with are described by geometry
// files in resources/forms: one file per bill family with its field
// catalogue (<code>_fields.json) and one file per template with the paper,
// the pre-printed drawing and the print box of every field. The generator
// (tools/formgen) turns them into the seed script of the database and the
// form pictures, so a change of geometry moves the picture and the rows
// together. Units: 0.1 mm from the paper's top-left corner; font sizes in
// points.

// One row of the family's field catalogue (NameDict).
struct DeliveredCatalogueField
{
    QString name;   // as the entry window names the control, e.g. zdNian
    QString label;
    QString type;   // TEXT, CHECKBOX, SHAPE, ...
    bool print = false;
    int order = 0;  // position in print order, 10, 20, ...
    QString group;
    QString sample;
};

struct DeliveredCatalogue
{
    QString family;  // 支票, 进账单, ...
    QString code;    // picture prefix: zp, jzd, ...
    QString fileName;
    QList<DeliveredCatalogueField> fields;

    const DeliveredCatalogueField *find(const QString &name) const;
};

// One field of one template: where its value goes on the paper and how it
// is printed, plus its input box over the picture.
struct DeliveredField
{
    QString name;
    QRect box;              // print box, 0.1 mm
    QRect screen;           // input box, picture pixels
    bool show = true;       // shown on the entry window and so printed
    QString font;
    int size = 10;          // points, one-line values
    int breakSize = 8;      // points, values broken into several lines
    int lineHeight = 40;    // 0.1 mm between broken lines
    QString breakNum;       // characters per line (double-width), empty = one line
    QString fit;            // equal pitch in 0.1 mm, empty = normal text
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QString color;          // 0x00BBGGRR as decimal text
    QString align;          // designer alignment: 0 left, 1 centre, 2 right
    QString init;           // initial value of a new bill
};

struct DeliveredTemplate
{
    int id = 0;
    QString family;
    QString variant;        // last name of the template
    QString fileName;
    QSize paper;            // 0.1 mm
    QSize picture;          // pixels
    bool landscape = true;
    bool isDefault = false;
    bool common = true;
    int order = 1;
    QStringList checkBoxes; // captions of DEFCHECK0, DEFCHECK1, ...
    // The options the template starts with (DMTable rows "cfg..."), by
    // name: a cheque's date in capitals, for instance.
    QList<QPair<QString, QString>> options;
    QJsonObject palette;    // colour names used by the drawing
    QJsonArray drawing;     // the pre-printed form, see delivered_form_painter
    QList<DeliveredField> fields;

    QString fullName() const;
    QString pictureName(const QString &code) const;
    double scaleX() const { return double(picture.width()) / paper.width(); }
    double scaleY() const { return double(picture.height()) / paper.height(); }
    const DeliveredField *find(const QString &name) const;
};

struct DeliveredFormSet
{
    QList<DeliveredCatalogue> catalogues; // in the order of their first template
    QList<DeliveredTemplate> templates;   // by id

    const DeliveredCatalogue *catalogue(const QString &family) const;
};

// Pixels per 0.1 mm of the delivered pictures: 38 pixels to 100, the
// ratio the program uses wherever it converts screen sizes to paper sizes.
inline constexpr double kDeliveredPictureScale = 0.38;

// Reads every geometry file of `folder` and checks that the set is whole:
// each template's family has a catalogue, every catalogue field has a box
// on every template, boxes lie on the paper, one default per family.
// Returns false with `error` naming the file and the item at fault.
bool loadDeliveredForms(const QString &folder, DeliveredFormSet *set, QString *error);

// Points to 0.1 mm (1 pt = 0.3528 mm).
inline double pointsToTenthMm(double points) { return points * 3.5278; }

} // namespace billprint
