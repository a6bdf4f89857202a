#include "addressbook/surnames.h"

#include <QFile>
#include <QStringList>

// The list is a resource of the core library, which, being static, has to
// register its resources itself.
static void initSurnameResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace billprint {

namespace {

quint32 pairKey(QChar a, QChar b)
{
    return (quint32(a.unicode()) << 16) | b.unicode();
}

} // namespace

const Surnames &Surnames::delivered()
{
    static const Surnames surnames = [] {
        initSurnameResources();
        QFile file(QStringLiteral(":/names/surnames.txt"));
        file.open(QIODevice::ReadOnly);
        return fromLines(QString::fromUtf8(file.readAll()));
    }();
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
