#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace billprint {

class Database;

// The whole-print values of one template: the offsets every print item is
// shifted by, the paper feed direction, the paper size and the size of the
// bill picture on the entry window.
struct PrintOffsets
{
    // Ranges the windows offer, and the values that stand when a template
    // row has none. The offsets take every value the printer adaptation
    // window gives all templates.
    static constexpr int XMoveMin = -3000, XMoveMax = 3000;   // 0.1 mm
    static constexpr int YMoveMin = -3000, YMoveMax = 3000;   // 0.1 mm
    static constexpr int TWidthMin = 300, TWidthMax = 1500;   // pixels
    static constexpr int THeightMin = 200, THeightMax = 1500; // pixels
    static constexpr int PWidthMin = 300, PWidthMax = 3000;   // 0.1 mm
    static constexpr int PHeightMin = 200, PHeightMax = 3000; // 0.1 mm
    static constexpr int DefaultTWidth = 780;
    static constexpr int DefaultTHeight = 420;
    static constexpr int DefaultPWidth = 2300;
    static constexpr int DefaultPHeight = 1270;

    int checkTypeId = 0;
    QString typeName;
    int xMove = 0;    // to the right, 0.1 mm
    int yMove = 0;    // downwards, 0.1 mm
    int tWidth = DefaultTWidth;
    int tHeight = DefaultTHeight;
    int pWidth = DefaultPWidth;
    int pHeight = DefaultPHeight;
    bool landscape = false;  // HVPrint: 1 landscape (横向), 0 portrait (纵向)

    int hvPrint() const { return landscape ? 1 : 0; }
};

// The feed directions as the windows and Config.ini name them.
namespace FeedDirection {
inline const QString Portrait = QStringLiteral("纵向");
inline const QString Landscape = QStringLiteral("横向");
} // namespace FeedDirection

// A template's stored HVPrint text: anything but empty or "0" is landscape.
bool isLandscapeText(const QString &hvPrint);

// "=0.25厘米": a length in tenths of a millimetre shown in centimetres,
// without sign (an offset says its direction by the arrows).
QString centimetreLabel(int tenthsOfMillimetre);

// One template in the offset window's list.
struct OffsetTemplateEntry
{
    QString typeName;
    int checkTypeId = 0;
};

// A paper size the templates use, with the templates using it.
struct TemplatePaperSize
{
    int pWidth = 0;   // 0.1 mm
    int pHeight = 0;  // 0.1 mm
    QStringList typeNames;
};

// Reads and writes the whole-print values of templates (CKTypeTable).
// Every value is a bound parameter.
class PrintOffsetStore
{
public:
    explicit PrintOffsetStore(const Database &db) : m_db(db) {}

    // The enabled templates with a name, by name.
    QList<OffsetTemplateEntry> enabledTemplates(QString *error = nullptr) const;

    // The template's values; none when there is no such row or it cannot
    // be read (`error` says which). Missing or empty sizes take the
    // defaults, missing offsets are 0.
    std::optional<PrintOffsets> load(int checkTypeId, QString *error = nullptr) const;
    std::optional<PrintOffsets> loadByName(const QString &typeName, QString *error = nullptr) const;

    // Stores offsets, sizes and direction of `values.checkTypeId`. Returns
    // the number of rows changed, -1 with `error` set on failure.
    int save(const PrintOffsets &values, QString *error = nullptr) const;

    // Gives every template, hidden ones included, the same offsets and
    // direction (a printer model's values carried over), in one
    // transaction. Returns the rows changed, -1 with `error` on failure.
    int applyToAllTemplates(int xMove, int yMove, bool landscape, QString *error = nullptr) const;

    // The distinct paper sizes of the enabled templates, largest width
    // first; what a printer driver needs as custom paper sizes.
    QList<TemplatePaperSize> paperSizes(QString *error = nullptr) const;

private:
    std::optional<PrintOffsets> loadOne(const QString &where, const QVariant &key, QString *error) const;

    const Database &m_db;
};

} // namespace billprint
