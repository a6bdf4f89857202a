// Turning one bill into another of the money families: a cheque into the
// deposit slip that pays it in ("转进账单"). The slip window gets the
// payee, the drawer with bank and account (looked up in the address book
// and offered for storing when unknown), the currency and amount, the
// cheque as the deposited bill and the date; it stays an unsaved bill.
#pragma once

namespace billprint {

class TfmBillBase;

// Carries the cheque window's bill into the deposit slip window and shows
// that window; the cheque window stays as it is.
void convertChequeToDeposit(TfmBillBase &cheque, TfmBillBase &deposit);

// The mirror ("转为支票"): the deposit slip's payee, drawer, amount and
// date, and its deposited bill's number as the cheque number.
void convertDepositToCheque(TfmBillBase &deposit, TfmBillBase &cheque);

// The payee and drawer part of a conversion, shared by both directions.
void transferParties(TfmBillBase &from, TfmBillBase &to);

} // namespace billprint
