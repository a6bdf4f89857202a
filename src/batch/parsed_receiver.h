// Storing what the address parser hands over as a receiver of the batch
// list.
#pragma once

#include "addressbook/person.h"

namespace billprint {

class Database;

// Adds the party to the batch list (ReceiverList) with its goods and
// remark and no batch group. Nothing is stored, and true returned, when
// contact, full name and address are all empty. False with `error` set on
// a database failure.
bool addParsedReceiver(const Database &db, const TPersonKDD &party, QString *error);

} // namespace billprint
