// The check the address parser runs after its patterns: the regions are
// looked up in the table of administrative divisions, and what the table
// confirms replaces what the patterns guessed (a missing province comes
// from a unique city or county, glued region text is split by the table,
// a road named after a place is no region); the telephones, the contact
// and the address are then tidied on that ground.
#pragma once

#include "addressbook/address_parser.h"

namespace billprint {

class RegionTable;

// A run of divisions in the text, province to county, each level optional
// ("广东省深圳市南山区", "深圳市南山区", "重庆市忠县", "浙江 杭州 西湖区").
struct RegionChain
{
    int province = -1;
    int prefecture = -1;  // the province itself for a municipality
    int county = -1;
    int start = -1;       // where the run starts and ends in the text
    int end = -1;
    int matched = 0;      // names found in the text
    int fullNames = 0;    // of them written with their kind (省, 市, 县...)

    bool isEmpty() const { return matched == 0; }
};

// The best run of divisions in the text: the most names, then the most
// written in full, then the first.
RegionChain findRegionChain(const RegionTable &table, const QString &text);

// Corrects `parse` (recognised from `normalised`) by the table.
void checkRegions(AddressParse &parse, const QString &normalised, const RegionTable &table);

// Recognises normalised text and checks it: the fields the parser window
// shows. Traditional characters are read as simplified ones; the name,
// company and street keep the characters as typed.
AddressParse recogniseAndCheck(const QString &normalised, AddressSource source, bool containProvinceCity);

// Normalises, recognises and checks: what a pasted text becomes.
AddressParse parseAddressText(const QString &input, AddressSource source, bool containProvinceCity,
                              const ReplacementPairs &replacements = {});

} // namespace billprint
