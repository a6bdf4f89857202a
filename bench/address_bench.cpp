// Address text parsing: 'billprint parse-address' must take thousands of
// receiver texts per second (20 000 a second is the aim), so a pasted
// order export is parsed at once.
#include "batch/address_command.h"
#include "addressbook/region_check.h"
#include "addressbook/region_table.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

using namespace billprint;

namespace {

// Receiver texts of the tests as input lines of the command.
QStringList linesOf(const QStringList &files)
{
    QStringList result;
    int id = 0;
    for (const QString &name : files) {
        QFile file(QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../tests/batch/data/") + name));
        if (!file.open(QIODevice::ReadOnly))
            return QStringList();
        for (const QByteArray &line : file.readAll().split('\n')) {
            const QJsonObject item = QJsonDocument::fromJson(line).object();
            if (item.isEmpty())
                continue;
            QJsonObject input;
            input.insert(QStringLiteral("id"), ++id);
            input.insert(QStringLiteral("text"), item.value(QStringLiteral("text")));
            result << QString::fromUtf8(QJsonDocument(input).toJson(QJsonDocument::Compact));
        }
    }
    return result;
}

// The hand-written texts.
const QStringList &inputLines()
{
    static const QStringList lines = linesOf({QStringLiteral("receiver_texts.jsonl")});
    return lines;
}

// The generated tuning texts: longer, with order rows, cards, chat and
// traditional characters.
const QStringList &corpusLines()
{
    static const QStringList lines = linesOf(
        {QStringLiteral("address_corpus_tuning.jsonl"), QStringLiteral("address_corpus_tuning2.jsonl")});
    return lines;
}

// One input line to one output line, as the command does for each line.
void parseEachLine(benchmark::State &state, const QStringList &lines)
{
    if (lines.isEmpty()) {
        state.SkipWithError("receiver texts not found");
        return;
    }
    RegionTable::delivered();  // loaded once per run, not per text
    qsizetype i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(parseAddressLine(lines.at(i)));
        i = (i + 1) % lines.size();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_ParseAddressLine(benchmark::State &state)
{
    parseEachLine(state, inputLines());
}
BENCHMARK(BM_ParseAddressLine);

void BM_ParseCorpusLine(benchmark::State &state)
{
    parseEachLine(state, corpusLines());
}
BENCHMARK(BM_ParseCorpusLine);

void BM_FindRegionChain(benchmark::State &state)
{
    const QString text = normaliseAddressText(
        QStringLiteral("收货地址：张三，86-0571-88886666，13812345678，浙江省 杭州市 西湖区 文三路100号 ，（310012）"));
    const RegionTable &table = RegionTable::delivered();
    for (auto _ : state)
        benchmark::DoNotOptimize(findRegionChain(table, text));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FindRegionChain);

} // namespace
