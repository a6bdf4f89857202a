// The patterns of the address parser, per field and in the order they are
// tried. A bracket class holding one character stands for that character.
#pragma once

#include <QString>
#include <QStringList>

namespace billprint::address_patterns {

const QString &mobile();
const QStringList &phones();
const QString &phoneSub();
const QString &country();
const QStringList &provinces();
const QStringList &cities();
const QString &citySub();
const QStringList &towns();
const QString &townSub();
const QStringList &addresses();
const QString &addressSub();
const QStringList &postcodes();
const QStringList &names();
const QStringList &companies();
const QString &companySub();
// The province list without the long forms of Hong Kong and Macau.
const QString &provinceShortList();
// The combined province-city-county patterns, in the order they are tried.
const QStringList &combinedRegions();
// Whether the combined region pattern at this index can match the text at
// all: a quick look for the words it needs.
bool mayMatchCombinedRegion(int index, const QString &text);

} // namespace billprint::address_patterns
