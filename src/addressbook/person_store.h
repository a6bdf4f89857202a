// Writes to the address book that concern more than one record: the
// default drawer and deletions. Single records are saved with
// TPerson::save.
#pragma once

#include "addressbook/person.h"

#include <QString>
#include <optional>

namespace billprint {

class AppContext;
class Database;

class PersonStore
{
public:
    explicit PersonStore(const Database &db) : m_db(db) {}

    // Makes the unit with `id` the one default drawer and an own unit.
    // The mark moves in one transaction: when `id` names no row, nothing
    // changes (the old default drawer keeps its mark) and `error` says why.
    bool setDefaultDrawer(int id, QString *error = nullptr) const;

    // Deletes the unit with `id`. A row that is not there is an error, not
    // a success.
    bool deleteById(int id, QString *error = nullptr) const;

    // Deletes every unit of `unitKind`, or every unit at all when the kind
    // is blank. Returns how many rows went (0 when there were none), or -1
    // with `error` set when the database refused.
    int deleteAllOfKind(const QString &unitKind, QString *error = nullptr) const;

    // Number of units in the address book; -1 when it cannot be read.
    int countAll() const;

private:
    const Database &m_db;
};

// The default drawer the main window holds from start-up: the marked unit
// when the option "启用默认出票人" is on (context.defaultDrawerOn), none
// when it is off or no unit carries the mark.
std::optional<TPerson> loadDefaultDrawer(const AppContext &context);

} // namespace billprint
