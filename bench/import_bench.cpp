// Importing a 6000-row order export (xlsx, the most rows one import takes)
// from reading the file to the last stored row: well under a second, into
// the batch list (no duplicate test) and into the address book with the
// duplicate test by name and contact against the rows already there.
#include "app/app_context.h"
#include "app/xlsx_writer.h"
#include "batch/import_run.h"
#include "batch/import_session.h"
#include "batch/match_column_store.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace billprint;

namespace {

QString writeOrders(const QString &path, int rows)
{
    XlsxSheetWriter writer;
    QString error;
    writer.open(path, QStringLiteral("订单"), &error);
    writer.writeHeader({QStringLiteral("订单编号"), QStringLiteral("买家会员名"), QStringLiteral("收货人"),
                        QStringLiteral("联系电话"), QStringLiteral("手机"), QStringLiteral("省"),
                        QStringLiteral("城市"), QStringLiteral("区县"), QStringLiteral("详细地址"),
                        QStringLiteral("宝贝标题"), QStringLiteral("数量"), QStringLiteral("买家留言")},
                       &error);
    for (int r = 0; r < rows; ++r)
        writer.writeRow({QStringLiteral("T2026%1").arg(r, 8, 10, QLatin1Char('0')), QStringLiteral("buyer%1").arg(r),
                         QStringLiteral("收件人%1").arg(r), QStringLiteral("020-8%1").arg(r, 7, 10, QLatin1Char('0')),
                         QStringLiteral("139%1").arg(r, 8, 10, QLatin1Char('0')), QStringLiteral("广东省"),
                         QStringLiteral("广州市"), QStringLiteral("天河区"),
                         QStringLiteral("广州市天河区体育西路%1号").arg(r), QStringLiteral("茶叶礼盒"),
                         QStringLiteral("2"), QStringLiteral("请放门卫")},
                        &error);
    writer.close(&error);
    return error;
}

void runImport(benchmark::State &state, ImportTarget target)
{
    QTemporaryDir dir;
    QString error;
    std::unique_ptr<AppContext> context =
        AppContext::open(DataRoot(dir.path()), &error, dir.filePath(QStringLiteral("user.conf")));
    const QString path = dir.filePath(QStringLiteral("orders.xlsx"));
    if (!context || !writeOrders(path, 6000).isEmpty() || !MatchColumnStore(context->db()).ensureReady(&error))
        return state.SkipWithError("cannot prepare the data root");
    const Database &db = context->db();
    for (auto _ : state) {
        state.PauseTiming();
        db.exec(QStringLiteral("delete from ReceiverList"));
        db.exec(QStringLiteral("delete from ckPersonalInfoTable"));
        state.ResumeTiming();
        ImportSession session;
        if (!session.open(path, &error) || !session.chooseSheet(0, &error))
            return state.SkipWithError(error.toUtf8().constData());
        ImportOptions options;
        options.target = target;
        options.columns = session.autoMatch(target, db);
        options.checkDuplicates = options.byName = options.byContact = target == ImportTarget::AddressBook;
        SpreadsheetImport import(db, dir.filePath(QStringLiteral("ImportLog.txt")));
        const ImportResult result = import.run(path, session.rows(), options);
        if (result.stored != 5999)
            return state.SkipWithError("not every row was stored");
    }
    state.SetItemsProcessed(state.iterations() * 5999);
}

void BM_ImportXlsxIntoBatchList(benchmark::State &state)
{
    runImport(state, ImportTarget::BatchList);
}
BENCHMARK(BM_ImportXlsxIntoBatchList)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportXlsxIntoAddressBook(benchmark::State &state)
{
    runImport(state, ImportTarget::AddressBook);
}
BENCHMARK(BM_ImportXlsxIntoAddressBook)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

namespace {

// Reading alone: the part of the import that does not depend on the
// database.
void BM_ReadXlsx6000(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("orders.xlsx"));
    if (!writeOrders(path, 6000).isEmpty())
        return state.SkipWithError("cannot write the workbook");
    for (auto _ : state) {
        ImportSession session;
        QString error;
        if (!session.open(path, &error) || !session.chooseSheet(0, &error))
            return state.SkipWithError(error.toUtf8().constData());
        benchmark::DoNotOptimize(session.rows().size());
    }
}
BENCHMARK(BM_ReadXlsx6000)->Unit(benchmark::kMillisecond);

} // namespace
