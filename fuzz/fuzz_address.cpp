// The address parser on any pasted text: normalisation (with a user's
// replacement pair), the patterns, the region check and the "含省市" rule.
// Never a crash, a leak or a hang.
//
// Input: one option byte (bits 0-1 the source, bit 2 含省市, bit 3 use the
// replacement pair), then UTF-8 text; a first line starting with "\x01"
// holds the replacement pair "search\x02replacement".
#include "addressbook/address_parser.h"
#include "addressbook/region_check.h"
#include "addressbook/region_table.h"
#include "fuzz_support.h"

using namespace billprint;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::startQt(argc, argv);
    RegionTable::delivered();  // loaded once, as the program does
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t options = data[0];
    const auto source = static_cast<AddressSource>(options & 3);
    const bool containProvinceCity = options & 4;
    QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    ReplacementPairs replacements;
    if ((options & 8) && text.startsWith(QChar(1))) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'));
        const QString pair = text.mid(1, end < 0 ? -1 : end - 1);
        const qsizetype split = pair.indexOf(QChar(2));
        if (split > 0)  // an empty search text is no pair the dictionary keeps
            replacements << qMakePair(pair.left(split), pair.mid(split + 1));
        text = end < 0 ? QString() : text.mid(end + 1);
    }

    const AddressParse parse = parseAddressText(text, source, containProvinceCity, replacements);
    // The window applies the rule again when 含省市 is toggled.
    applyContainRule(parse.typedAddress, parse.text(AddressField::Province), parse.text(AddressField::City),
                     parse.text(AddressField::Town), !containProvinceCity);
    return 0;
}
