#pragma once

#include <QString>
#include <QVariantList>
#include <optional>
#include <vector>

namespace billprint {

class Database;

// One field of a bill family's field catalogue: a row of table NameDict,
// shared by every template of the family.
struct NameDict
{
    int Id = 0;
    QString CheckTypeName;  // bill family (= template first name)
    QString CtlName;        // field name, upper case
    QString CtlLabel;       // label shown in lists and designers
    QString CtlType;        // "TEXT", "LABEL", "CHECKBOX", "IMAGE" ...
    int PrintItem = 0;      // 1 = printed by the family's bill windows
    int ShowOrd = 0;        // order of the field in the family (print order)
    QString Groups;         // group name for picking fields in the designer
    QString CtlData;        // sample value for the designer

    // How a field's value goes to paper.
    enum class PrintKind { Text, CheckBox, NotPrinted };

    // CtlType in upper case: "CHECKBOX" for the user-defined check items
    // (DEFCHECKn), "TEXT" when empty.
    QString kind() const;
    static QString kindFor(const QString &ctlName, const QString &ctlType);
    bool isPrintItem() const { return PrintItem == 1; }
    // "TEXT" and "LABEL" print as text broken into lines, "CHECKBOX" as
    // one piece, "IMAGE" not at all; other kinds print as text.
    PrintKind printKind() const;
    // The value as the renderer takes it for this kind: for text, line
    // breaks become the line separator "##" and carriage returns go;
    // empty for a field that is not printed.
    QString printText(const QString &value) const;
    static QString lineSeparator() { return QStringLiteral("##"); }
};

// Reads and writes the NameDict rows. Rows are keyed by family and field
// name (letter case of the name ignored). Failures throw TemplateError.
class NameDictStore
{
public:
    explicit NameDictStore(const Database &db) : m_db(db) {}

    // Every field of a family by ShowOrd (then row id), ascending or
    // descending.
    std::vector<NameDict> listFamily(const QString &family, Qt::SortOrder order = Qt::AscendingOrder) const;
    // The fields the bill windows print, in print order (ascending ShowOrd).
    std::vector<NameDict> printItems(const QString &family) const;
    std::optional<NameDict> find(const QString &family, const QString &ctlName) const;
    // Updates the family's row of that field or adds it; the name is stored
    // in upper case and the kind by the rules of kind(). `row` receives both
    // and the row id. Columns an older database lacks are added first.
    void save(NameDict &row) const;
    // Adds the rows whose family has no field of that name yet (letter
    // case ignored as by find; the first of two such rows wins), stored as
    // save stores them, in one transaction with the family's names read
    // once: a package's catalogue of thousands of names. Returns how many
    // were added; a failure throws and adds none.
    int addMissing(const std::vector<NameDict> &rows) const;

private:
    std::vector<NameDict> query(const QString &sql, const QVariantList &values) const;
    void addLateColumns() const;

    const Database &m_db;
};

} // namespace billprint
