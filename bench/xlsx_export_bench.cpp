// Writing a grid export: rows of Chinese and ASCII text into an .xlsx file.
#include "app/xlsx_writer.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_XlsxExport(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.xlsx"));
    QStringList header;
    for (int c = 0; c < 12; ++c)
        header << QStringLiteral("栏目%1").arg(c);
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        billprint::XlsxSheetWriter writer;
        QString error;
        writer.open(path, QStringLiteral("收件人"), &error);
        writer.writeHeader(header, &error);
        for (int r = 0; r < rows; ++r) {
            QStringList cells;
            for (int c = 0; c < 12; ++c)
                cells << QStringLiteral("深圳市南山区科技园%1号-%2").arg(r).arg(c);
            writer.writeRow(cells, &error);
        }
        if (!writer.close(&error))
            state.SkipWithError(error.toUtf8().constData());
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_XlsxExport)->Arg(100)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace
