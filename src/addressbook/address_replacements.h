#pragma once

#include "addressbook/address_parser.h"

namespace billprint {

class Database;

// The user's text replacement pairs for address parsing: table DMTable2,
// kind "其他字符", first code replaced by second code. Empty when the
// table cannot be read (the parser then works without them).
ReplacementPairs readAddressReplacements(const Database &db);

} // namespace billprint
