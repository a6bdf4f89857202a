// The history windows inside the main window: the four menu commands and
// the cheque window's "打开(&O)" show them, and opening a row brings the
// bill into its entry window, asking first to close a bill window of
// another family.

#include "shell/ui/tfm_main.h"
#include "work_area_menu.h"
#include "bills/ui/install_cheque_entry.h"
#include "bills/ui/tfm_check_zp.h"
#include "history/ui/install_history.h"
#include "history/ui/tfm_search_base.h"
#include "history_fixtures.h"
#include "templates/delivered_pictures.h"

#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QTimer>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace billprint::test {
namespace {

class HistoryFrameTest : public HistoryTest
{
protected:
    void SetUp() override
    {
        HistoryTest::SetUp();
        ensureDeliveredPictures(ctx().dataRoot().imageFolder());
        ctx().printerNames = {QStringLiteral("测试打印机")};
    }

    // The title of the modal window `action` shows; the window is closed.
    static QString modalTitle(const std::function<void()> &action)
    {
        QString title;
        QTimer::singleShot(0, [&] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                title = modal->windowTitle();
                modal->close();
            }
        });
        action();
        QApplication::processEvents();
        return title;
    }

    QStringList openFamilies(Tfm_Main &main)
    {
        QApplication::processEvents();
        QStringList families;
        for (QMdiSubWindow *sub : main.mdiArea()->subWindowList())
            families << sub->widget()->objectName();
        return families;
    }
};

TEST_F(HistoryFrameTest, MenuCommandsAndTheChequesOpenShowTheHistoryWindows)
{
    Tfm_Main main(ctx());
    installChequeEntry(main);
    installHistory(main);
    const struct
    {
        const char *command;
        const char *title;
    } cases[] = {{"支票管理(&Z)", "支票查询"},
                 {"进帐单管理(&J) ", "进账单查询"},
                 {"现金缴款单管理", "现金缴款单查询"},
                 {"快递单管理", "快递单查询"}};
    for (const auto &c : cases)
        EXPECT_EQ(modalTitle([&] { main.findAction(QString::fromUtf8(c.command))->trigger(); }).toStdString(),
                  std::string(c.title));

    auto *cheque = qobject_cast<TfmCheckZP *>(main.openEntryWindow("支票"));
    ASSERT_NE(cheque, nullptr);
    EXPECT_EQ(modalTitle([&] { cheque->openHistory(); }), "支票查询");
}

TEST_F(HistoryFrameTest, OpeningAChequeWhileADepositSlipIsOpenAsksFirst)
{
    const int serial = addCheque("77", "O'Brien", "12.5", "2024-03-05");
    Tfm_Main main(ctx());
    installChequeEntry(main);
    installHistory(main);
    main.registerEntryWindow("进账单", [](MainFrame &) {
        auto *slip = new QWidget;
        slip->setObjectName("fmCheckJZD");
        return slip;
    });
    ASSERT_NE(main.openEntryWindow("进账单"), nullptr);

    TfmSearch_ZP history(ctx(), historyWindowHost(main));
    history.selectRows({0});
    history.openCurrentRow();  // answered No
    EXPECT_EQ(alerts.messages(), QStringList({"自动关闭已打开的单据吗？", "请先关闭正在编辑的单据模块！"}));
    EXPECT_EQ(alerts.alerts()[0].caption, "查看历史单据");
    EXPECT_EQ(openFamilies(main), QStringList({"fmCheckJZD"}));

    alerts.clear();
    alerts.answerNext(AlertAnswer::Yes);
    history.openCurrentRow();
    EXPECT_EQ(alerts.messages(), QStringList({"自动关闭已打开的单据吗？"}));
    EXPECT_EQ(openFamilies(main), QStringList({"fmCheckZP"}));
    auto *cheque = qobject_cast<TfmCheckZP *>(main.mdiArea()->subWindowList().first()->widget());
    ASSERT_NE(cheque, nullptr);
    EXPECT_EQ(cheque->serial(), serial);
    EXPECT_TRUE(cheque->isHistory());
    EXPECT_EQ(cheque->fieldText("zdInComp"), "O'Brien");
    EXPECT_EQ(history.result(), QDialog::Accepted);
    // The cheque came up where another window had been open first: the work
    // area's right-click menu still stays shut while it is open.
    EXPECT_FALSE(rightClickOpensWorkAreaMenu(main));

    // With the cheque window open, the next row opens without a question.
    alerts.clear();
    TfmSearch_ZP again(ctx(), historyWindowHost(main));
    again.openCurrentRow();
    EXPECT_TRUE(alerts.messages().isEmpty());
    EXPECT_EQ(again.result(), QDialog::Accepted);

    // A cheque typed there and not saved is offered for saving first.
    cheque->newBill();
    cheque->setJEXX("5");
    cheque->setInComp("丁");
    alerts.answerNext(AlertAnswer::Yes);
    TfmSearch_ZP third(ctx(), historyWindowHost(main));
    third.openCurrentRow();
    EXPECT_EQ(alerts.messages(), QStringList({"是否保存该支票？", "新支票保存成功！ "}));
    EXPECT_EQ(db().scalar("select count(*) from DataZPTable").toInt(), 2);
    EXPECT_EQ(cheque->serial(), serial);
}

TEST_F(HistoryFrameTest, ColumnsFitTheirContentUntilWidthsAreRemembered)
{
    const QString payee = QStringLiteral("广州禾朔商贸有限公司深圳分公司");
    const QString amount = QStringLiteral("1234567.89");
    addCheque("10203040", payee, amount, "2024-03-05");
    Tfm_Main main(ctx());
    installChequeEntry(main);
    installHistory(main);
    // Widths of the payee and amount columns and of their titles as shown.
    struct Shown
    {
        bool visible = false;
        int payee = 0, amount = 0, payeeTitle = 0, amountTitle = 0, payeeText = 0, amountText = 0;
        bool refitted = false;
    };
    auto openHistory = [&](const std::function<void(TfmSearchBase &)> &before = {}) {
        Shown shown;
        QTimer::singleShot(0, [&] {
            auto *w = qobject_cast<TfmSearchBase *>(QApplication::activeModalWidget());
            if (!w)
                return;
            shown.visible = w->isVisible();
            QTableView *grid = w->grid();
            auto columnOf = [grid](const QString &title) {
                for (int c = 0; c < grid->model()->columnCount(); ++c)
                    if (grid->model()->headerData(c, Qt::Horizontal).toString() == title)
                        return c;
                return -1;
            };
            const int payeeColumn = columnOf(QStringLiteral("收款人全称"));
            const int amountColumn = columnOf(QStringLiteral("金额"));
            const QFontMetrics cells = grid->fontMetrics();
            const QFontMetrics titles = grid->horizontalHeader()->fontMetrics();
            shown.payee = grid->columnWidth(payeeColumn);
            shown.amount = grid->columnWidth(amountColumn);
            shown.payeeText = cells.horizontalAdvance(payee);
            shown.amountText = cells.horizontalAdvance(amount);
            shown.payeeTitle = titles.horizontalAdvance(QStringLiteral("收款人全称"));
            shown.amountTitle = titles.horizontalAdvance(QStringLiteral("金额"));
            if (before) {
                // Rows listed later widen their columns too.
                const QString longer = payee + QStringLiteral("南山科技园营业部");
                addCheque("10203041", longer, amount, "2024-03-06");
                w->refresh();
                shown.refitted = grid->columnWidth(payeeColumn) >= cells.horizontalAdvance(longer);
                grid->setColumnWidth(payeeColumn, 55);
                before(*w);
            }
            w->close();
        });
        main.findAction(QStringLiteral("支票管理(&Z)"))->trigger();
        return shown;
    };

    const Shown fresh = openHistory([](TfmSearchBase &w) { w.rememberColumnWidths(); });
    EXPECT_TRUE(fresh.visible);
    EXPECT_GE(fresh.payee, fresh.payeeText);
    EXPECT_GE(fresh.amount, fresh.amountText);
    EXPECT_GE(fresh.payee, fresh.payeeTitle);
    EXPECT_GE(fresh.amount, fresh.amountTitle);
    EXPECT_TRUE(fresh.refitted);
    // Remembered widths win over the content.
    EXPECT_EQ(openHistory().payee, 55);
}

TEST_F(HistoryFrameTest, AFamilyWhoseWindowCannotOpenSaysSo)
{
    addRow("DataJZDTable", {{"金额", "1"}});
    Tfm_Main main(ctx());
    TfmSearch_JZD history(ctx(), historyWindowHost(main));
    history.openCurrentRow();
    EXPECT_EQ(alerts.messages(), QStringList({"进账单填开窗口无法打开！"}));
    EXPECT_NE(history.result(), QDialog::Accepted);
}

} // namespace
} // namespace billprint::test
