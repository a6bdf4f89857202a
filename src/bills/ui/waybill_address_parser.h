// The waybill's way into the address text parser: "地址串识别(&W)" opens it,
// and the quick commands recognise the clipboard and take it as receiver
// or sender without showing it.
#pragma once

namespace billprint {

class TfmCheckKDD;
class TfrmMatchAddr;

// What the parser hands over goes to the waybill: "2.2" sets the receiver
// and, when ticked, copies a remark into goods (zdWPNR) and remark (zdBz);
// "2.1" sets the sender.
void connectWaybillHandOver(TfrmMatchAddr &parser, TfmCheckKDD &waybill);

// Opens the parser modally; what it hands over fills the waybill.
void openWaybillAddressParser(TfmCheckKDD &waybill);
// Recognises the clipboard and hands it over as receiver or sender; the
// user is told when no contact was recognised.
void quickWaybillAddressParse(TfmCheckKDD &waybill, bool receiver);
// Adds the quick commands as the menu of the parser's tool button.
void addAddressParserMenu(TfmCheckKDD &waybill);

} // namespace billprint
