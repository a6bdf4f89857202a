// The waybill window inside the main window: "填写快递单" opens it, and the
// waybill history opens a stored waybill in it as issued.

#include "shell/ui/tfm_main.h"
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

TEST_F(WaybillFrameTest, AWaybillReopenedOnASmallerTemplateShowsNoBandAboveItsToolBar)
{
    // The wide waybill is the default: the window opens on it.
    ASSERT_TRUE(db().exec(QStringLiteral("update CKTypeTable set IsDefault=case when CheckTypeID=6 then '默认' else '0' "
                                         "end where TypeFirstName='快递单'")));
    BillRecord stored;
    stored.set(QStringLiteral("收件联系人"), QStringLiteral("王五"));
    stored.set(QStringLiteral("模板种类"), QStringLiteral("通用快递运单"));
    ASSERT_EQ(BillRecordStore(db(), QStringLiteral("DataKDDTable")).save(stored), BillSaveOutcome::Appended);

    Tfm_Main main(ctx());
    installWaybillEntry(main);
    installHistory(main);
    main.resize(1400, 950);
    main.show();
    main.findAction(QStringLiteral("填写快递单"))->trigger();
    QMdiSubWindow *sub = main.mdiArea()->subWindowList().value(0);
    ASSERT_NE(sub, nullptr);
    auto *waybill = qobject_cast<TfmCheckKDD *>(sub->widget());
    ASSERT_TRUE(waybill->isVisible());
    ASSERT_EQ(waybill->templateListText(), QStringLiteral("宽版快递单"));
    const int top = sub->contentsMargins().top();
    EXPECT_EQ(waybill->y(), top);
    const int wideHeight = waybill->height();

    TfmSearch_KDD history(ctx(), historyWindowHost(main));
    history.selectRows({0});
    history.openCurrentRow();
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(waybill->templateListText(), QStringLiteral("通用快递运单"));
    ASSERT_LT(waybill->height(), wideHeight);
    EXPECT_EQ(waybill->y(), top);  // right under the title bar
    EXPECT_EQ(sub->height(), waybill->height() + top + sub->contentsMargins().bottom());
    EXPECT_EQ(sub->width(), waybill->width() + sub->contentsMargins().left() + sub->contentsMargins().right());
}

} // namespace
} // namespace billprint::test
