// What the address parser hands over: a waybill party built from the
// recognised fields, and storing it as a receiver of the batch list.
#pragma once

#include "addressbook/person.h"
#include "batch/address_parser.h"

namespace billprint {

class Database;

// The party of the recognised (and corrected) fields; the goods
// description is the remark, the destination station the city.
TPersonKDD partyFromFields(const AddressParse &fields, const QString &remark);

// Adds the party to the batch list (ReceiverList) with its goods and
// remark and no batch group. Nothing is stored, and true returned, when
// contact, full name and address are all empty. False with `error` set on
// a database failure.
bool addParsedReceiver(const Database &db, const TPersonKDD &party, QString *error);

} // namespace billprint
