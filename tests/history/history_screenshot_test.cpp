// Pictures of the history windows for a look by eye. Skipped unless
// BILLPRINT_SCREENSHOTS names a folder to write them to, e.g.
//   QT_QPA_PLATFORM=offscreen BILLPRINT_SCREENSHOTS=/tmp ./test_history
#include "history/ui/tfm_search_base.h"
#include "history_fixtures.h"

#include <QApplication>
#include <QDir>
#include <QTableView>

namespace billprint::test {
namespace {

using HistoryScreenshots = HistoryTest;

TEST_F(HistoryScreenshots, ChequeAndWaybill)
{
    const QString folder = qEnvironmentVariable("BILLPRINT_SCREENSHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "set BILLPRINT_SCREENSHOTS to a folder";
    const char *const payees[] = {"上海华东电子科技有限公司", "O'Brien Trading", "北京长城建材有限公司"};
    for (int i = 0; i < 30; ++i)
        addCheque(QStringLiteral("1020%1").arg(3000 + i), QString::fromUtf8(payees[i % 3]),
                  QString::number(100 + i * 37.5, 'f', 2), QDate(2024, 3, 1).addDays(i).toString(Qt::ISODate),
                  i % 7 == 3 ? BillStatus::Void : i % 5 == 4 ? BillStatus::Unused : BillStatus::Used,
                  QStringLiteral("6222 0210 0000 %1").arg(i));
    addRow("DataKDDTable", {{"快递单号", "SF1002003001"}, {"寄件单位", "我方公司"}, {"收件联系人", "张三"},
                            {"总费用", "18"}, {"寄件日期", "2024-03-05"}, {"模板种类", "顺丰标准"}});
    TfmSearch_ZP cheque(ctx(), host());
    cheque.show();
    cheque.selectRows({1, 2});
    cheque.showNumberRecording(true);
    QApplication::processEvents();
    EXPECT_TRUE(cheque.grab().save(QDir(folder).filePath("history_cheque.png")));
    TfmSearch_KDD waybill(ctx(), host());
    waybill.show();
    QApplication::processEvents();
    EXPECT_TRUE(waybill.grab().save(QDir(folder).filePath("history_waybill.png")));
}

} // namespace
} // namespace billprint::test
