// Importing a 6000-row order export (xlsx, the most rows one import takes)
// from reading the file to the last stored row: well under a second, into
// the batch list (no duplicate test) and into the address book with the
// duplicate test by name and contact against the rows already there.
#include "app/xlsx_writer.h"
#include "batch/import_run.h"
#include "batch/import_session.h"
#include "batch/match_column_store.h"
#include "bench_root.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

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
    BenchRoot root;
    if (!root.checkOpen(state))
        return;
    QString error;
    const QString path = root.filePath(QStringLiteral("orders.xlsx"));
    if (!writeOrders(path, 6000).isEmpty() || !MatchColumnStore(root.db()).ensureReady(&error))
        return state.SkipWithError("cannot prepare the data root");
    const Database &db = root.db();
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
        SpreadsheetImport import(db, root.filePath(QStringLiteral("ImportLog.txt")));
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

namespace {

// Files that claim far more than one import takes (200 000 rows with a
// cell in column XFD; an ods of 1 048 575 rows × 16 384 cells, written as
// one repeated row): the readers keep 6000 rows and 256 columns and
// should take about as long as a 6000-row file, in about as much memory.
bool writeZip(const QString &path, const QList<QPair<QString, QByteArray>> &entries)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const auto &[name, data] : entries) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name)) || file.write(data) != data.size())
            return false;
        file.close();
    }
    zip.close();
    return zip.getZipError() == 0;
}

QByteArray inlineCell(const QByteArray &ref, const QByteArray &text)
{
    return "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" + text + "</t></is></c>";
}

bool writeFarColumnXlsx(const QString &path)
{
    QByteArray rows = "<row r=\"1\">" + inlineCell("A1", "联系人") + "</row>";
    for (int r = 2; r <= 200000; ++r) {
        const QByteArray n = QByteArray::number(r);
        rows += "<row r=\"" + n + "\">" + inlineCell("A" + n, "收件人") + inlineCell("XFD" + n, "x") + "</row>";
    }
    return writeZip(path, {{QStringLiteral("xl/workbook.xml"),
                            "<workbook xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                            "relationships\"><sheets><sheet name=\"Sheet1\" r:id=\"rId1\"/></sheets></workbook>"},
                           {QStringLiteral("xl/_rels/workbook.xml.rels"),
                            "<Relationships><Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/>"
                            "</Relationships>"},
                           {QStringLiteral("xl/worksheets/sheet1.xml"),
                            "<worksheet><sheetData>" + rows + "</sheetData></worksheet>"}});
}

bool writeGridOds(const QString &path)
{
    return writeZip(path, {{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"},
                           {QStringLiteral("content.xml"),
                            "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
                            " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" xmlns:text=\"urn:oasis:"
                            "names:tc:opendocument:xmlns:text:1.0\"><office:body><office:spreadsheet><table:table "
                            "table:name=\"Sheet1\"><table:table-row><table:table-cell><text:p>联系人</text:p>"
                            "</table:table-cell></table:table-row><table:table-row table:number-rows-repeated="
                            "\"1048575\"><table:table-cell table:number-columns-repeated=\"16384\"><text:p>x</text:p>"
                            "</table:table-cell></table:table-row></table:table></office:spreadsheet></office:body>"
                            "</office:document-content>"}});
}

void readHostile(benchmark::State &state, bool (*write)(const QString &), const char *name)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(name));
    if (!write(path))
        return state.SkipWithError("cannot write the file");
    for (auto _ : state) {
        ImportSession session;
        QString error;
        if (!session.open(path, &error) || !session.chooseSheet(0, &error))
            return state.SkipWithError(error.toUtf8().constData());
        if (session.rows().size() != 6001 || !session.readNotes().cutAtLimits)
            return state.SkipWithError("the sheet was not cut at 6000 rows");
    }
}

void BM_ReadXlsx200000RowsToColumnXFD(benchmark::State &state)
{
    readHostile(state, writeFarColumnXlsx, "far-column.xlsx");
}
BENCHMARK(BM_ReadXlsx200000RowsToColumnXFD)->Unit(benchmark::kMillisecond);

void BM_ReadOdsGridOfAMillionRepeatedRows(benchmark::State &state)
{
    readHostile(state, writeGridOds, "grid.ods");
}
BENCHMARK(BM_ReadOdsGridOfAMillionRepeatedRows)->Unit(benchmark::kMillisecond);

} // namespace
