// Chinese surnames (resources/names/surnames.txt): where a name's surname
// ends, to cut a name glued to the text around it and to keep a compound
// surname ("欧阳", "司马") whole.
//
// The list is a sign, not a proof: many surnames are everyday characters
// (方, 高, 明, 东方, 西门), so a caller combines it with other evidence (a
// label, a separator, the length of what follows). "上" is no surname here,
// so "上海" has none; "上官" is a compound one.
#pragma once

#include <QSet>
#include <QString>
#include <QStringView>

namespace billprint {

class Surnames
{
public:
    // The list delivered with the program.
    static const Surnames &delivered();
    // Built from the lines of a surname file: one surname a line, "#"
    // starts a comment line; a line of other than one or two characters
    // is not a surname and is left out.
    static Surnames fromLines(const QString &text);

    // The length of the surname that starts this name: 2 for a compound
    // surname, 1 for a single one, 0 for none. A compound surname wins
    // over the single one it starts with ("单于" over "单").
    int surnameLength(QStringView name) const;
    // Whether these two characters are a compound surname.
    bool isCompound(QStringView two) const;
    bool isSingle(QChar one) const { return m_singles.contains(one.unicode()); }

    int compoundCount() const { return m_compounds.size(); }
    int singleCount() const { return m_singles.size(); }

private:
    QSet<quint32> m_compounds;  // both characters in one key
    QSet<char16_t> m_singles;
};

} // namespace billprint
