// The cheque's own rules around the shared bill flow: the print items the
// two paying-bank options leave out, and the guard that refuses to save
// over a cheque voided in the history window.
#pragma once

#include <QString>

namespace billprint {

class BillRecord;

// True when the print item `name` stays off the paper: zdOutBank while
// "打印付款银行" is off, zdOutBankAcct while "打印出票账号" is off. Letter
// case is ignored.
bool chequeSkipsPrintItem(const QString &name, bool printOutBank, bool printOutBankAcct);

// The refusal for saving over `stored`: "支票已经作废,保存失败！" for a void
// cheque, "" otherwise.
QString chequeSaveGuard(const BillRecord &stored);

} // namespace billprint
