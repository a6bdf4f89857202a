// What the address parser hands over: a waybill party built from the
// recognised fields.
#pragma once

#include "addressbook/address_parser.h"
#include "addressbook/person.h"

namespace billprint {

// The party of the recognised (and corrected) fields; the goods
// description is the remark, the destination station the city.
TPersonKDD partyFromFields(const AddressParse &fields, const QString &remark);

} // namespace billprint
