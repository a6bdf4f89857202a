#include "addressbook/parsed_party.h"

namespace billprint {

TPersonKDD partyFromFields(const AddressParse &fields, const QString &remark)
{
    using F = AddressField;
    TPersonKDD party;
    party.setFullName(fields.text(F::Company));
    party.setContact(fields.text(F::Name));
    party.setPhone(fields.text(F::Phone));
    party.setMobile(fields.text(F::Mobile));
    party.setPostcode(fields.text(F::Postcode));
    party.setCountry(fields.text(F::Country));
    party.setProvince(fields.text(F::Province));
    party.setCity(fields.text(F::City));
    party.setAddress(fields.text(F::Address));
    party.setTown(fields.text(F::Town));
    party.setGoodsDescription(remark);
    party.setDestinationStation(fields.text(F::City));
    return party;
}

} // namespace billprint
