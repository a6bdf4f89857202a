// The amount and date conversions on any typed text: cleaning, exact
// parsing to cents, capitals, digit boxes, date capitals, breaking by
// width, the bill windows' amount entry and the "convert" command. Never a
// crash, a leak or a hang, and what parses comes back as the same cents.
//
// Input: one byte of options (bits 0-3 the digit boxes, bit 4-5 the
// decimals mode, bit 6 thousands), then UTF-8 text; the text split at NUL
// bytes is also given to "convert" as its words.
#include "app/alert.h"
#include "app/chinese_text.h"
#include "app/convert_command.h"
#include "bills/amount_entry.h"
#include "fuzz_support.h"

#include <QTextStream>
#include <cmath>

using namespace billprint;

namespace {

const QString kModes[] = {QStringLiteral("0"), QStringLiteral("0.0"), QStringLiteral("0.00"), QStringLiteral(".0")};

void exactConversions(const QString &text, int boxes, const QString &mode, bool thousands)
{
    normalizeAmountText(text);
    isNumberText(text);
    isDigitText(text);
    dateNumberToChinese(text);
    amountToDigitCapitals(text, boxes, mode);
    breakTextByWidth(text, boxes - 2);
    splitString(text, text.left(boxes % 3));
    gbkWidth(text);

    const AmountCents parsed = parseAmountCents(text);
    const ChineseAmount capitals = amountToChinese(text);
    FUZZ_CHECK(parsed.ok() || !capitals.ok(), "no capitals for a text that is no amount");
    FUZZ_CHECK(capitals.ok() || capitals.text.isEmpty(), "no capital text with an error");
    if (!parsed.ok())
        return;
    if (std::llabs(parsed.cents) < kChineseAmountLimitCents)
        FUZZ_CHECK(capitals.ok() && !capitals.text.isEmpty(), "an amount in range has capitals");
    // The written amount reads back as the same cents.
    const QString written = formatCents(false, parsed.cents, QLocale::c());
    FUZZ_CHECK(parseAmountCents(written).cents == parsed.cents, "formatCents reads back");
    formatCents(thousands, parsed.cents, QLocale(QLocale::Chinese, QLocale::China));
    centsToChinese(parsed.cents);
}

void doubleConversions(const QString &text, bool thousands)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok)
        return;
    formatAmount(thousands, value, QLocale::c());
    const ChineseAmount capitals = amountToChinese(value);
    FUZZ_CHECK(capitals.ok() || capitals.text.isEmpty(), "no capital text with an error");
}

void amountEntry(const QString &text)
{
    qint64 cents = -1;
    QString cleaned;
    const AmountStatus status = parseEnteredAmount(text, &cents, &cleaned);
    if (status == AmountStatus::Applied)
        FUZZ_CHECK(cents > 0 && cents < kAmountLimitCents, "an applied amount lies in the range");
    spreadDigits(status == AmountStatus::Applied ? cents : 0, QStringLiteral("￥"), true);

    AmountEntry entry([](const QString &) { return QStringLiteral("￥"); });
    entry.setJEXX(text);
    if (status == AmountStatus::Applied)
        FUZZ_CHECK(entry.cents() == cents, "the entry keeps the parsed cents");
}

void convertCommand(const QByteArray &bytes)
{
    QStringList words;
    for (const QByteArray &word : bytes.split('\0'))
        words << QString::fromUtf8(word);
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    runConvertCommand(words, outStream, errStream);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::startQt(argc, argv);
    // The entry tells the user about refused amounts; here nobody answers.
    setAlertHandler([](const AlertRequest &) { return AlertAnswer::Ok; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t options = data[0];
    const int boxes = options & 15;
    const QString &mode = kModes[(options >> 4) & 3];
    const bool thousands = options & 64;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const QString text = QString::fromUtf8(bytes);

    exactConversions(text, boxes, mode, thousands);
    doubleConversions(text, thousands);
    amountEntry(text);
    convertCommand(bytes);
    return 0;
}
