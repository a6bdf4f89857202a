// The print item renderer: one field's value onto the current page, at the
// field's template position plus the whole-print offsets, in the field's
// font, broken into lines or spread over digit boxes as the template says.
//
// Positions follow the layouts the templates were measured with: a value
// starts at its template x plus twice the average character width of its
// one-line font (also when it breaks into lines of a smaller size, so every
// line starts where a one-line value would), and its character cell's top
// sits at the template y. Template units
// are tenths of a millimetre (print_geometry.h); the "average character
// width" is half an em and the cell's top 220/256 em above the base line,
// whatever face is installed (print_fonts.h).
// A value whose field is set to right or centre alignment in the template
// designer lines up inside its print box (CtlW wide) as the designer shows.
#pragma once

#include "printing/print_fonts.h"
#include "printing/print_geometry.h"

#include "templates/ck_control.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <vector>

class QPainter;

namespace billprint {

class AppContext;
class Database;

// One piece of a value where it lands on the page.
struct PlacedText
{
    int X = 0;  // device units: start of the text
    int Y = 0;  // device units: top of its character cell
    QString text;
    PrintFonts fonts;
    QColor color;
};

class PrintRenderer
{
public:
    // Draws with `painter`, whose device has `metrics`. The currency symbol
    // and digit cell width are read from `context` at every value, as the
    // bill window sets them before it sends a bill.
    PrintRenderer(AppContext &context, QPainter &painter, const PrintDeviceMetrics &metrics);

    // The fields of template `checkTypeId` as read at the start of a
    // document: its values are then placed without a query per field. Other
    // templates are still looked up field by field.
    void useFields(int checkTypeId, const std::vector<CkControl> &fields);

    // Prints the value of field `name` of template `checkTypeId` at its
    // template position moved by (dx, dy). An empty value or a field the
    // template lacks prints nothing and succeeds. A database error or a
    // pitch that is not a whole number tells the user "打印<name>出现错误！"
    // and fails; the caller goes on with the next field. `separator`
    // (usually "##") splits the value into lines; empty keeps it whole.
    bool printItemValue(int checkTypeId, int dx, const QString &separator, const QString &value,
                        const QString &name, int dy);

    // Where printItemValue would put the value's pieces, without drawing or
    // telling anything; false on the errors printItemValue tells.
    bool placeItemValue(int checkTypeId, int dx, const QString &separator, const QString &value,
                        const QString &name, int dy, std::vector<PlacedText> *placed);

    // Draws one piece at (x, y), tenths of a millimetre. With a pitch
    // (`fitParam` not blank) the characters are spread one by one, `fitParam`
    // tenths of a millimetre apart; a pitch that is no whole number draws
    // nothing and returns false. Flags are on when greater than 0. The
    // piece starts twice the average character width of `leadInSize` points
    // (0: of `size`) right of x.
    bool drawItemText(int x, int y, const QString &text, int underline, int italic, int bold,
                      const QString &fitParam, int size, const QString &color, const QString &fontName,
                      int leadInSize = 0);

    // Draws a whole text with its cell's top-left corner at (x, y), tenths of
    // a millimetre. A top above the printable area is drawn just above it.
    void drawTextAt(int x, int y, const QString &text, int underline, int italic, int bold, int size,
                    const QString &color, const QString &fontName, int leadInSize = 0);

    // The device rectangle a placed text covers: its advance wide, one em
    // (its character cell) high.
    QRectF extent(const PlacedText &text) const;

    // Device position of a template x (for the font size the text is drawn
    // in) and of a template y: the renderer's placement rules.
    int deviceX(int x, int size) const;
    int deviceY(int y) const;

    // The pieces a value prints as: lines split at `separator` (empty lines
    // dropped), each broken into pieces of `charsPerLine` double-width
    // characters when that is at least 1.
    static QStringList pieces(const QString &value, const QString &separator, int charsPerLine);

    // How far (tenths of a millimetre) a value printed as one piece moves to
    // the right because it is the currency symbol set into a digit box:
    // -10 for a symbol with a double-width character ("￥"), 4 - (n - 2) * c
    // for an ASCII code of n > 1 characters and a cell width c > 0 ("HK$"
    // starts one cell less 0.4 mm to the left), else 0.
    static int currencyShift(const QString &value, const QString &symbol, int cellWidth);

private:
    bool placeItemText(int x, int y, const QString &text, int underline, int italic, int bold,
                       const QString &fitParam, int size, const QString &color, const QString &fontName,
                       int leadInSize, std::vector<PlacedText> *placed) const;
    void placeTextAt(int x, int y, const QString &text, int underline, int italic, int bold, int size,
                     const QString &color, const QString &fontName, int leadInSize,
                     std::vector<PlacedText> *placed) const;
    // Moves the pieces from `first` on within the field's print box (from
    // `x`, `CtlW` wide) as its `Align` says: "2" right, "1" centred; left,
    // an unmeasured box and pitch-spread characters stay as placed.
    void alignInBox(const CkControl &field, int x, std::size_t first, std::vector<PlacedText> *placed) const;
    void draw(const std::vector<PlacedText> &placed);
    qreal advance(const QString &text, const PrintFonts &fonts) const;
    // The fonts of a face, size and style, made once per renderer: a font
    // made anew is matched against the installed faces again when used.
    const PrintFonts &fontsFor(const QString &face, int size, bool bold, bool italic, bool underline) const;

    // The field's row: from the fields in use, else from the database
    // (TemplateError when it cannot be read).
    std::optional<CkControl> field(int checkTypeId, const QString &name) const;

    AppContext &m_ctx;
    QPainter &m_painter;
    PrintDeviceMetrics m_metrics;
    int m_fieldsOf = 0;
    QHash<QString, CkControl> m_fields;  // upper-case name -> row
    mutable QHash<QString, PrintFonts> m_fonts;
};

// Colour of printed text from the template's decimal text: red, green and
// blue in the low three bytes, red lowest. Blank, non-numeric and negative
// (system colour) texts print black.
QColor printColorFromText(const QString &text);

// Horizontal distance, tenths of a millimetre, between the fields `name1`
// and `name2` of a template (the width of one digit box when they are
// neighbouring boxes); `defaultWidth` when the template lacks one of them;
// 0 when the database cannot be read.
int getCellsWidth(const Database &db, int checkTypeId, const QString &name1, int defaultWidth,
                  const QString &name2);

// The template's HVPrint as text ("1" = landscape); empty when the template
// is missing or cannot be read.
QString getHXPaperIn(const Database &db, int checkTypeId);

} // namespace billprint
