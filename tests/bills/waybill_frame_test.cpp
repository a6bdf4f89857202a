// The waybill window inside the main window: "填写快递单" opens it, and the
// waybill history opens a stored waybill in it as issued.

#include "app/ui/tfm_main.h"
#include "bills/ui/install_waybill_entry.h"
#include "bills/ui/tfm_check_kdd.h"
#include "cheque_fixtures.h"
#include "history/ui/install_history.h"
#include "history/ui/tfm_search_base.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace billprint::test {
namespace {

using WaybillFrameTest = ChequeTest;

TEST_F(WaybillFrameTest, MenuOpensTheWaybillAndHistoryShowsAStoredOne)
{
    BillRecord stored;
    stored.set(QStringLiteral("收件单位"), QStringLiteral("O'Brien 贸易"));
    stored.set(QStringLiteral("收件联系人"), QStringLiteral("王五"));
    stored.set(QStringLiteral("寄件日期"), QDate(2026, 3, 5));
    stored.set(QStringLiteral("模板种类"), QStringLiteral("通用快递运单"));
    ASSERT_EQ(BillRecordStore(db(), QStringLiteral("DataKDDTable")).save(stored), BillSaveOutcome::Appended);

    Tfm_Main main(ctx());
    installWaybillEntry(main);
    installHistory(main);
    QAction *entry = main.findAction(QStringLiteral("填写快递单"));
    ASSERT_NE(entry, nullptr);
    entry->trigger();
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 1);
    auto *waybill = qobject_cast<TfmCheckKDD *>(main.mdiArea()->subWindowList().first()->widget());
    ASSERT_NE(waybill, nullptr);
    EXPECT_EQ(waybill->fieldText(QStringLiteral("zdSKR")), QString());
    EXPECT_EQ(qobject_cast<QComboBox *>(waybill->field(QStringLiteral("zdSKR")))->lineEdit()->placeholderText(),
              QStringLiteral("单击我或红圈选择收件人...:)"));

    TfmSearch_KDD history(ctx(), historyWindowHost(main));
    history.selectRows({0});
    history.openCurrentRow();
    EXPECT_EQ(waybill->serial(), stored.serial);
    EXPECT_TRUE(waybill->isHistory());
    EXPECT_EQ(waybill->fieldText(QStringLiteral("zdSKR")), QStringLiteral("O'Brien 贸易"));
    EXPECT_EQ(waybill->billDate(), QDate(2026, 3, 5));
    EXPECT_EQ(waybill->windowTitle(), QStringLiteral("历史快递单查看（流水号为：1)"));
}

} // namespace
} // namespace billprint::test
