// The receiver's telephones in a pasted text, as a waybill has room for
// them: the first mainland mobile in any grouping or with its country
// code, and one other telephone — a landline as written (a blank inside
// joined, an extension kept), a number of Hong Kong, Macau or Taiwan, a
// spare mobile, a local number of its own. A fax number is neither.
#pragma once

#include <QString>
#include <QStringList>

namespace billprint {

struct ReceiverTelephones
{
    QString mobile;       // 11 digits
    QString phone;
    QStringList written;  // the numbers as they stand in the text, where that differs
};

// `recognisedPhone` is the phone the patterns found; it is kept when it is
// a landline of the text.
ReceiverTelephones findTelephones(const QString &text, const QString &recognisedPhone);

} // namespace billprint
