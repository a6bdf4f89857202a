#include "addressbook/surnames.h"

#include "app/delivered_resources.h"

#include <QStringList>

namespace billprint {

namespace {

quint32 pairKey(QChar a, QChar b)
{
    return (quint32(a.unicode()) << 16) | b.unicode();
}

} // namespace

const Surnames &Surnames::delivered()
{
    static const Surnames surnames = fromLines(deliveredText(QStringLiteral(":/names/surnames.txt")));
    return surnames;
}

Surnames Surnames::fromLines(const QString &text)
{
    Surnames surnames;
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('#')))
            continue;
        if (line.size() == 2)
            surnames.m_compounds.insert(pairKey(line.at(0), line.at(1)));
        else if (line.size() == 1)
            surnames.m_singles.insert(line.at(0).unicode());
    }
    return surnames;
}

int Surnames::surnameLength(QStringView name) const
{
    if (name.size() >= 2 && isCompound(name.left(2)))
        return 2;
    if (!name.isEmpty() && isSingle(name.at(0)))
        return 1;
    return 0;
}

bool Surnames::isCompound(QStringView two) const
{
    return two.size() == 2 && m_compounds.contains(pairKey(two.at(0), two.at(1)));
}

} // namespace billprint
