// What the address book windows need from the frame around them. The main
// window fills these in when it installs the address book; without a
// frame (tests, the windows on their own) every hook is empty and the
// windows behave as if no bill window were open.
#pragma once

#include <functional>

class QWidget;

namespace billprint {

struct AddressBookHost
{
    // True while a bill entry window is open.
    std::function<bool()> billWindowsOpen;
    // Closes every bill entry window ("关闭所有填开单据").
    std::function<void()> closeBillWindows;
    // True while the overseas remittance command is enabled and shown; the
    // record editor then tells what the three custom fields hold.
    std::function<bool()> overseasRemittanceOn;
    // Opens the spreadsheet import with the address-book scenario. Empty
    // until the import is hooked in; the button then says so.
    std::function<void(QWidget *parent)> openImport;
};

// The one set of hooks of this run.
AddressBookHost &addressBookHost();

} // namespace billprint
