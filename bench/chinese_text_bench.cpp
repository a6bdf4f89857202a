// Chinese amount and date texts: these run on every keystroke of an amount
// and for every printed bill.
#include "app/chinese_text.h"
#include "app/simplified_chinese.h"

#include <benchmark/benchmark.h>

#include <QString>

using namespace billprint;

namespace {

// A spread of amounts: short, long, zero runs across 万 and 亿.
const qint64 kCents[] = {7, 50, 123456, 100101, 3000007, 10001000, 1000500000, 10000000000,
                         99999999999, 100010000000, 123456789012345};

void BM_ChineseCentsToChinese(benchmark::State &state)
{
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(centsToChinese(kCents[i]));
        i = (i + 1) % std::size(kCents);
    }
}
BENCHMARK(BM_ChineseCentsToChinese);

void BM_ChineseAmountToChineseText(benchmark::State &state)
{
    const QString texts[] = {QStringLiteral("0.07"), QStringLiteral("1234.56"),
                             QStringLiteral("100010"), QStringLiteral("1000100000"),
                             QStringLiteral("999999999.99"), QStringLiteral("1234567.895")};
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(amountToChinese(texts[i]));
        i = (i + 1) % std::size(texts);
    }
}
BENCHMARK(BM_ChineseAmountToChineseText);

void BM_ChineseAmountToChineseDouble(benchmark::State &state)
{
    const double amounts[] = {0.07, 1234.56, 100010, 1000100000, 999999999.99, 1234567.895};
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(amountToChinese(amounts[i]));
        i = (i + 1) % std::size(amounts);
    }
}
BENCHMARK(BM_ChineseAmountToChineseDouble);

void BM_ChineseFormatAmount(benchmark::State &state)
{
    const QLocale locale = QLocale::c();
    for (auto _ : state)
        benchmark::DoNotOptimize(formatAmount(true, 1234567.895, locale));
}
BENCHMARK(BM_ChineseFormatAmount);

void BM_ChineseDigitCapitals(benchmark::State &state)
{
    const QString amount = QStringLiteral("123.45");
    const QString mode = QStringLiteral("0.00");
    for (auto _ : state)
        benchmark::DoNotOptimize(amountToDigitCapitals(amount, 9, mode));
}
BENCHMARK(BM_ChineseDigitCapitals);

void BM_ChineseDateNumber(benchmark::State &state)
{
    const QString parts[] = {QStringLiteral("2026"), QStringLiteral("08"), QStringLiteral("31")};
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(dateNumberToChinese(parts[i]));
        i = (i + 1) % std::size(parts);
    }
}
BENCHMARK(BM_ChineseDateNumber);

void BM_ChineseBreakTextByWidth(benchmark::State &state)
{
    const QString text = QStringLiteral("北京市海淀区中关村大街1号院2号楼301室 Room 301");
    for (auto _ : state)
        benchmark::DoNotOptimize(breakTextByWidth(text, 8));
}
BENCHMARK(BM_ChineseBreakTextByWidth);

// Every receiver text is folded before the address parser looks at it:
// 200 characters of a traditional-character sender's text, after the
// first round has filled the cache.
void BM_ChineseFoldToSimplified200(benchmark::State &state)
{
    QString text;
    while (text.size() < 200)
        text += QStringLiteral("收件人：陳大文 電話：0852-9123 4567 香港九龍旺角彌敦道123號5樓B室 廣東省廣州市天河區 ");
    text.truncate(200);
    benchmark::DoNotOptimize(foldToSimplified(text));
    for (auto _ : state)
        benchmark::DoNotOptimize(foldToSimplified(text));
}
BENCHMARK(BM_ChineseFoldToSimplified200);

} // namespace
