#pragma once

#include <QColor>
#include <QString>
#include <QVariantList>
#include <optional>
#include <vector>

namespace billprint {

class Database;

// One field of one template: a row of table CkControl. The screen box is
// in pixels over the background picture, the print box in tenths of a
// millimetre from the paper's top-left corner, font sizes in points.
struct CkControl
{
    int ID = 0;
    int CheckTypeID = 0;
    QString CtlName;        // field name, upper case; compared without regard to case
    QString CtlCName;       // label
    QString CtlType;        // "TEXT" (also when empty), "LABEL", "CHECKBOX", "SHAPE", "LINE", "IMAGE"
    int CtlX = 0;           // print position of the first line
    int CtlY = 0;
    int CtlW = 0;           // print box; 0 = not measured yet
    int CtlH = 0;
    int CtlLH = 0;          // line pitch of broken values
    int SrcX = 0;           // input box on the entry window
    int SrcY = 0;
    int SrcW = 0;
    int SrcH = 0;
    int NeedShow = 0;       // 1 = input box visible
    int NeedPrint = 0;      // 1 = printed
    QString CtlFontName;
    int CtlFontSize = 0;
    QString CtlFontColor;   // decimal 0x00BBGGRR
    int Bold = 0;
    int Italic = 0;
    int UnderLine = 0;
    QString BreakNum;       // characters per printed line
    int BreakFontSize = 0;  // font size of a value printed on several lines
    QString FitParam;       // character pitch for equal-width printing; empty = off
    QString Align;          // "0" left, "1" centre, "2" right
    QString InitValue;      // initial value of the input box
    int ShowOrd = 0;

    static constexpr int DefaultLineHeight = 50;
    static constexpr int MinBreakFontSize = 6;
    static QString defaultFontName() { return QStringLiteral("宋体"); }

    // CtlType in upper case, "TEXT" when empty.
    QString kind() const;
    // The kind a new row gets from its field name: user-defined check
    // items, the clickable party markers and lines; "TEXT" otherwise.
    static QString kindForName(const QString &ctlName);

    bool isShown() const { return NeedShow > 0; }
    bool isPrinted() const { return NeedPrint > 0; }
    bool isBold() const { return Bold > 0; }
    bool isItalic() const { return Italic > 0; }
    bool isUnderlined() const { return UnderLine > 0; }

    // The values printing uses where a stored value is missing or too small.
    QString printFontName() const;
    int printLineHeight() const;
    int printBreakFontSize() const;
    // Characters per line when BreakNum is a whole number of at least 1;
    // -1 when the value prints on one line.
    int charsPerLine() const;
    // Printing colour; black when CtlFontColor is empty, not a number, or
    // one of the system colours (negative values).
    QColor printColor() const;
    bool hasFitPitch() const { return !FitParam.trimmed().isEmpty(); }
};

// Reads and writes the CkControl rows. Rows are keyed by template id and
// field name (letter case ignored). Failures throw TemplateError.
class CkControlStore
{
public:
    explicit CkControlStore(const Database &db) : m_db(db) {}

    // Every field of a template, by ShowOrd then row id.
    std::vector<CkControl> loadAll(int checkTypeId) const;
    // One field by name, letter case ignored; none when the template has
    // no such row.
    std::optional<CkControl> find(int checkTypeId, const QString &ctlName) const;
    // Updates the template's row of that field or adds it. The name is
    // stored in upper case; `row.ID` receives the row id. Columns that an
    // older database lacks are added first.
    void save(CkControl &row) const;
    // Saves every row as `save` does, in one transaction with the
    // statements prepared once: an import of thousands of fields. All or
    // nothing: a failing row throws and leaves none of them stored.
    void saveAll(std::vector<CkControl> &rows) const;

private:
    std::vector<CkControl> query(const QString &sql, const QVariantList &values) const;
    void addLateColumns() const;

    const Database &m_db;
};

} // namespace billprint
