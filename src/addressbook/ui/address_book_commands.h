// The address book as the rest of the program reaches it: the main
// window's commands, choosing a unit for a bill, and storing a bill's
// party.
#pragma once

#include "addressbook/person.h"

#include <QString>
#include <optional>

class QWidget;

namespace billprint {

class AppContext;
class Database;
class MainFrame;

// Texts of the main window's commands that open the address book.
namespace AddressBookCommand {
inline constexpr const char *Manage = "单位及客户资料管理(&K) ";
inline constexpr const char *OwnUnits = "我方单位";
inline constexpr const char *Counterparties = "往来单位(&K)";
} // namespace AddressBookCommand

// Lets the user choose a unit in the address book (pick mode). `kind`
// "我方单位" or "往来单位" lists only that kind, anything else lists all;
// `caption`, when given, names the window. The chosen unit, or none when
// the user closed the window without choosing.
std::optional<TPerson> fetchOnePerson(AppContext &context, const QString &kind,
                                      const QString &caption = QString(), QWidget *parent = nullptr);

// Stores the party a bill window shows. A stored record (ID > 0) is saved
// at once. Otherwise the record editor opens on the matching unit of the
// book (by name and account, name and contact, name, or contact), or on
// a new one, with the bill's non-empty fields filled in; the user
// completes and saves it there. Returns the unit saved last, or none when
// nothing was saved.
std::optional<TPerson> savePersonFromBill(AppContext &context, const std::optional<TPerson> &fromBill,
                                          QWidget *parent = nullptr);

// The stored unit a bill's party matches, by the rule of savePersonFromBill.
std::optional<TPerson> findStoredParty(const Database &db, const TPerson &party);

// Registers the address book's commands with the main window and tells
// the address book about the main window's bill windows.
void installAddressBook(MainFrame &mainWindow);

} // namespace billprint
