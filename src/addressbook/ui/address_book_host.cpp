#include "addressbook/ui/address_book_host.h"

namespace billprint {

AddressBookHost &addressBookHost()
{
    static AddressBookHost host;
    return host;
}

} // namespace billprint
