// The express waybill's rules that need no window: how the amount in words
// is written in each of its formats, how the receiver's mobile is merged
// into the telephone and back, and the font size of an address box.
#pragma once

#include <QString>
#include <QStringList>

namespace billprint {

// The starting text of the receiver field of a new waybill. It counts as no
// receiver: saving stores an empty receiver and printing empties the field.
inline const QString kReceiverStartText = QStringLiteral("单击我或红圈选择收件人...:)");

// The format that leaves the typed figures as they are; also the format of
// a template that stores none.
inline const QString kPlainFiguresFormat = QStringLiteral("打印小写金额");
inline const QString kTraditionalCapitalsFormat = QStringLiteral("打印中国传统大写金额");

// The 14 formats of the amount in words, in the order the list offers them.
const QStringList &amountInWordsFormats();

// The result of writing a typed amount in a format.
struct AmountInWords
{
    QString text;          // what the field shows
    bool notANumber = false;  // the typed text is no number: the field keeps it
};

// Writes `typed` in `format`: the figures as typed for an empty format or
// "打印小写金额"; the capitals with units for "打印中国传统大写金额"; else one
// capital per digit over the format's boxes ("000.00    限百位到分" turns
// 56.7 into 零伍陆柒零 and 1234 into 超出位数限制). An empty text stays empty.
AmountInWords amountInWords(const QString &format, const QString &typed);

// The figures behind what the amount in words shows in `format`, for a
// stored waybill opened again: a shown number is itself the figures; shown
// capitals are read back into the figures that give exactly those capitals
// in `format` again ("000.00    限百位到分" and 零伍陆柒零 give 56.7). ""
// when the figures cannot be told.
QString figuresOfAmountInWords(const QString &format, const QString &shown);

// The telephone with the mobile added as the option "合并手机到电话" does:
// the mobile alone when the telephone is empty, telephone + "\" + mobile
// when the telephone does not hold the mobile yet, else unchanged.
QString mergeMobileIntoPhone(const QString &phone, const QString &mobile);
// Takes the first "\" + mobile out of the telephone again.
QString removeMobileFromPhone(const QString &phone, const QString &mobile);

// The point size of an address box of `lines` lines and `height` pixels:
// 9 for fewer than 2 lines; else 7 up to 21 pixels, 9 above `limit`, 8 between.
int addressFontSize(int lines, int height, int limit);

} // namespace billprint
