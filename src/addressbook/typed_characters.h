// Recognition reads a text with its traditional characters folded to
// simplified ones and its full-width signs made half-width; the values a
// person typed (name, company, street) are given back in the characters
// and signs of the text ("廣東省…天河路1號" keeps "天河路1號", a company
// typed "（重庆）" keeps its full-width brackets). Regions stay the
// table's names.
#pragma once

#include "addressbook/address_parser.h"

namespace billprint {

// `folded` is `typed` folded to simplified characters (the caller has it
// already, having recognised it).
void keepTypedCharacters(AddressParse &parse, const QString &typed, const QString &folded);

} // namespace billprint
