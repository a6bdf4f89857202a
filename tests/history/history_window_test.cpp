// The history windows offscreen: running and remembering the statement,
// the cheque's column order, wrong amounts and dates, the date tree, the
// number recording panel, voiding, the party boxes, the waybill's own
// commands and the double-click setting.

#include "app/desktop_open.h"
#include "app/ini_file.h"
#include "app/ui/tfrm_export_excel.h"
#include "bills/ui/tfm_check_zp.h"
#include "history/history_list_model.h"
#include "history/ui/number_recording_panel.h"
#include "history/ui/tfm_search_base.h"
#include "history_fixtures.h"
#include "templates/delivered_pictures.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>

namespace billprint::test {
namespace {

using HistoryWindowTest = HistoryTest;

QList<int> listedSerials(const TfmSearchBase &w)
{
    QList<int> serials;
    for (int row = 0; row < w.rowCount(); ++row)
        serials << w.model()->serialAt(row);
    return serials;
}

TEST_F(HistoryWindowTest, QueryRunsOnceUntilSomethingChangesAndRefreshRunsAgain)
{
    addCheque("1", "甲", "5", "2024-03-01");
    TfmSearch_ZP w(ctx(), host());
    EXPECT_EQ(w.queryRuns(), 1);  // on creation
    EXPECT_EQ(w.rowCount(), 1);
    EXPECT_EQ(w.countText(), "( 共检索到 1条记录)");
    EXPECT_EQ(w.sumText(), "金额汇总:￥5.00");
    w.runQuery();
    EXPECT_EQ(w.queryRuns(), 1);
    w.numberBox()->setEditText("9");
    w.fillNumberList();  // entering the box: every number, what was typed kept
    EXPECT_EQ(w.numberBox()->count(), 1);
    EXPECT_EQ(w.numberBox()->currentText(), "9");
    w.numberBox()->setEditText("");
    w.refresh();
    EXPECT_EQ(w.queryRuns(), 2);
    w.secondPartyBox()->setText("  乙 ");
    w.runQuery();
    EXPECT_EQ(w.queryRuns(), 3);
    EXPECT_EQ(w.secondPartyBox()->text(), "乙");  // trimmed and written back
    EXPECT_EQ(w.secondPartyBox()->palette().color(QPalette::Base), QColor(Qt::yellow));
    EXPECT_EQ(w.rowCount(), 0);
}

TEST_F(HistoryWindowTest, TheChequesColumnTitleSortsDescendingThenAscending)
{
    addCheque("1", "甲", "5", "2024-03-01");
    addCheque("2", "乙", "30", "2024-03-02");
    addCheque("3", "丙", "12", "2024-03-03");
    TfmSearch_ZP w(ctx(), host());
    EXPECT_EQ(listedSerials(w), QList<int>({1, 2, 3}));
    const int amount = w.model()->columnOf("金额");
    w.columnTitleClicked(amount);
    EXPECT_EQ(listedSerials(w), QList<int>({2, 3, 1}));  // 30, 12, 5: as numbers
    w.columnTitleClicked(amount);
    EXPECT_EQ(listedSerials(w), QList<int>({1, 3, 2}));
    // From now on every press reverses the order, and so runs again.
    const int runs = w.queryRuns();
    w.runQuery();
    EXPECT_EQ(w.queryRuns(), runs + 1);

    // The other families always list newest first.
    addRow("DataJZDTable", {{"金额", "1"}});
    addRow("DataJZDTable", {{"金额", "2"}});
    TfmSearch_JZD deposit(ctx(), host());
    EXPECT_EQ(listedSerials(deposit), QList<int>({2, 1}));
}

TEST_F(HistoryWindowTest, AnAmountThatIsNoNumberIsMarkedAndLeftOut)
{
    addCheque("1", "甲", "5", "2024-03-01");
    addCheque("2", "甲", "50", "2024-03-01");
    addCheque("3", "乙", "500", "2024-03-01");
    TfmSearch_ZP w(ctx(), host());
    w.minAmountBox()->setText("abc");
    w.maxAmountBox()->setText("60");
    w.secondPartyBox()->setText("甲");
    w.runQuery();
    EXPECT_EQ(w.minAmountBox()->text(), "非法数字");
    EXPECT_EQ(w.minAmountBox()->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_EQ(listedSerials(w), QList<int>({1, 2}));
    EXPECT_EQ(w.sumText(), "金额汇总:￥55.00");
}

TEST_F(HistoryWindowTest, TheDateTreeSelectsItsRangeAndReversedDatesAreRefused)
{
    addCheque("1", "甲", "1", "2024-03-07");
    addCheque("2", "甲", "1", "2024-03-08");
    addCheque("3", "甲", "1", "2024-03-10");
    addCheque("4", "甲", "1", "2024-03-11");
    TfmSearch_ZP w(ctx(), host());
    w.setClock([] { return QDate(2024, 3, 10); });
    w.secondPartyBox()->setText("乙");  // the tree resets the other filters
    w.dateNodeClicked(DateNode::LastThreeDays);
    EXPECT_EQ(w.fromDate()->date(), QDate(2024, 3, 8));
    EXPECT_EQ(w.toDate()->date(), QDate(2024, 3, 10));
    EXPECT_FALSE(w.anyDateBox()->isChecked());
    EXPECT_TRUE(w.fromDate()->isEnabled());
    EXPECT_TRUE(w.secondPartyBox()->text().isEmpty());
    EXPECT_EQ(listedSerials(w), QList<int>({2, 3}));

    const int runs = w.queryRuns();
    w.fromDate()->setDate(QDate(2024, 3, 10));
    w.toDate()->setDate(QDate(2024, 3, 8));
    w.runQuery();
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_EQ(alerts.alerts()[0].message, "日期选择有误:\"2024/3/10>2024/3/8\"");
    EXPECT_EQ(alerts.alerts()[0].caption, "日期输入");
    EXPECT_EQ(w.queryRuns(), runs);
    EXPECT_EQ(listedSerials(w), QList<int>({2, 3}));

    alerts.clear();
    w.dateNodeClicked(DateNode::Other);
    EXPECT_EQ(alerts.messages(), QStringList({"请选择右侧限定的起始年月日~再点击【查询】按钮"}));
    EXPECT_EQ(w.fromDate()->date(), QDate(2022, 9, 9));
    EXPECT_EQ(w.queryRuns(), runs);

    w.showAll();
    EXPECT_TRUE(w.anyDateBox()->isChecked());
    EXPECT_FALSE(w.fromDate()->isEnabled());
    EXPECT_EQ(w.rowCount(), 4);
}

TEST_F(HistoryWindowTest, RecordingNumbersFillsTheListAndRefusesTooManyAtOnce)
{
    TfmSearch_ZP w(ctx(), host());
    w.showNumberRecording(true);
    NumberRecordingPanel *panel = w.recordingPanel();
    ASSERT_TRUE(panel && panel->isVisibleTo(&w));
    TPerson drawer;
    drawer.setFullName("我方公司");
    drawer.setBank("工商银行");
    drawer.setAccount("6222 01");
    picks.push_back(drawer);
    panel->pickDrawer();
    EXPECT_EQ(pickRequests, QStringList({"我方单位/选取支票账户"}));
    EXPECT_EQ(panel->accountBox()->text(), "6222 01");

    panel->fromBox()->setText("1");
    panel->toBox()->setText("101");
    EXPECT_FALSE(panel->startRecording());
    EXPECT_EQ(alerts.messages(), QStringList({"一次不能导入超过100张！"}));
    EXPECT_EQ(w.rowCount(), 0);

    alerts.clear();
    panel->fromBox()->setText("001");
    panel->toBox()->setText("100");
    panel->prefixBox()->setText("A");
    ASSERT_TRUE(panel->startRecording());
    EXPECT_EQ(alerts.messages(), QStringList({"登记结束！"}));
    EXPECT_FALSE(panel->isVisibleTo(&w));
    EXPECT_TRUE(w.statusLine()->text().isEmpty());
    ASSERT_EQ(w.rowCount(), 100);
    EXPECT_EQ(w.model()->textAt(0, "票据编号"), "A00000001");
    EXPECT_EQ(w.model()->textAt(99, "票据编号"), "A00000100");
    EXPECT_EQ(w.model()->textAt(99, "出票人全称"), "我方公司");
    EXPECT_EQ(w.model()->textAt(99, "票据状态"), "未用");
}

TEST_F(HistoryWindowTest, VoidedChequesTurnRedAndTheChequeWindowRefusesThem)
{
    ensureDeliveredPictures(ctx().dataRoot().imageFolder());
    ctx().printerNames = {QStringLiteral("测试打印机")};
    addCheque("Z001", "", "0", "", BillStatus::Unused);
    addCheque("Z002", "", "0", "", BillStatus::Unused);
    addCheque("Z003", "甲", "8", "2024-03-01");

    BillWindowHost billHost;
    billHost.workArea = [] { return QSize(1400, 900); };
    TfmCheckZP cheque(ctx(), billHost);
    EXPECT_EQ(cheque.offeredNumbers(), QStringList({"Z001", "Z002"}));
    cheque.setFieldText("zdPJBH", "Z001");
    cheque.numberPicked("Z001");
    EXPECT_EQ(cheque.serial(), 1);

    TfmSearch_ZP w(ctx(), host());
    alerts.clear();
    w.voidSelected();
    EXPECT_EQ(alerts.messages(), QStringList({"没有点中要作废的票据!（按住ctrl+点击，可多选哦）"}));
    alerts.clear();
    w.selectRows({0, 1});
    w.voidSelected();
    EXPECT_EQ(alerts.messages(), QStringList({"成功作废2条记录！"}));
    const HistoryListModel &model = *w.model();
    for (int row = 0; row < 3; ++row) {
        const QModelIndex cell = model.index(row, 1);
        EXPECT_EQ(model.data(cell, Qt::BackgroundRole).value<QColor>(), row < 2 ? QColor(Qt::red) : QColor(Qt::yellow));
        EXPECT_EQ(model.data(cell, Qt::ForegroundRole).value<QColor>(), row < 2 ? QColor(Qt::white) : QColor(Qt::black));
    }

    // The cheque window holding Z001 cannot issue it any more.
    cheque.setJEXX("100");
    cheque.setInComp("收款人");
    alerts.clear();
    EXPECT_EQ(cheque.saveCommand(), BillSaveResult::Failed);
    EXPECT_EQ(alerts.messages(), QStringList({"支票已经作废,保存失败！"}));
    TfmCheckZP next(ctx(), billHost);
    EXPECT_TRUE(next.offeredNumbers().isEmpty());
}

TEST_F(HistoryWindowTest, RenumberingAndTheWaybillsLateEntries)
{
    addCheque("001", "甲", "1", "2024-03-01");
    TfmSearch_ZP cheque(ctx(), host());
    valueAnswer = "O'002";
    cheque.renumberCurrent();
    EXPECT_EQ(prompts, QStringList({"输入新的票据编号|001"}));
    EXPECT_EQ(alerts.messages(), QStringList({"成功修改票据编号."}));
    EXPECT_EQ(cheque.model()->textAt(0, "票据编号"), "O'002");

    addRow("DataKDDTable", {{"快递单号", "SF1"}, {"模板种类", "顺丰"}, {"备注", "旧"}});
    TfmSearch_KDD waybill(ctx(), host());
    QComboBox *templates = waybill.templateBox();
    ASSERT_TRUE(templates);
    EXPECT_EQ(templates->count(), 2);
    EXPECT_EQ(templates->itemText(1), "顺丰");
    prompts.clear();
    valueAnswer = "SF 99";
    waybill.fillWaybillNumber();
    valueAnswer = "补";
    waybill.fillWaybillRemark();
    EXPECT_EQ(prompts, QStringList({"补录,输入已发出的快递单号|SF1", "补录,输入备注内容:|旧"}));
    EXPECT_EQ(waybill.model()->textAt(0, "快递单号"), "SF 99");
    EXPECT_EQ(waybill.model()->textAt(0, "备注"), "补");
    waybill.trackParcel();
    ASSERT_EQ(urls.size(), 1);
    EXPECT_TRUE(urls[0].contains("/help/kddsearch.asp?typekey=%E9%A1%BA%E4%B8%B0&kddno=SF%2099&pname="))
        << urls[0].toStdString();
    EXPECT_TRUE(waybill.menuCommand("补录入单号")->isEnabled());
}

TEST_F(HistoryWindowTest, PartyBoxesTakeTheChosenUnitOrItsCode)
{
    TPerson unit;
    unit.setFullName("");
    unit.setContact("王五");
    unit.setAccount("6222");
    picks = {unit, unit};
    TfmSearch_ZP cheque(ctx(), host());
    cheque.pickParty(true);
    TfmSearch_KDD waybill(ctx(), host());
    waybill.pickParty(false);
    EXPECT_EQ(pickRequests, QStringList({"我方单位/选择支票账户", "往来单位/选择收件单位"}));
    EXPECT_EQ(cheque.firstPartyBox()->text(), "6222");
    EXPECT_EQ(waybill.secondPartyBox()->text(), "王五");

    TPerson coded;
    coded.setFullName("上海华东电子");
    coded.setInputCode("shhd");
    ASSERT_TRUE(coded.save(db()));
    cheque.secondPartyBox()->setText(" shhd ");
    cheque.partyCodeEntered(false);
    EXPECT_EQ(cheque.secondPartyBox()->text(), "上海华东电子");
}

TEST_F(HistoryWindowTest, TheDoubleClickSettingIsReadOnShowAndWrittenBack)
{
    ctx().setINIConfigByname("JKDView_DBLOPEN", "0");
    TfmSearch_JKD w(ctx(), host());
    w.show();
    EXPECT_FALSE(w.doubleClickBox()->isChecked());
    w.doubleClickBox()->setChecked(true);
    EXPECT_EQ(ctx().getINIConfigByname("JKDView_DBLOPEN"), "1");
    w.close();
    ctx().setINIConfigByname("JKDView_DBLOPEN", "");
    TfmSearch_JKD again(ctx(), host());
    again.show();
    EXPECT_TRUE(again.doubleClickBox()->isChecked());
}

TEST_F(HistoryWindowTest, ClearingAllAsksAndThenDisablesItself)
{
    addCheque("1", "甲", "1", "2024-03-01");
    addCheque("2", "甲", "1", "2024-03-01");
    TfmSearch_ZP w(ctx(), host());
    w.clearAllRows();  // answered No
    EXPECT_EQ(w.rowCount(), 2);
    alerts.clear();
    alerts.answerNext(AlertAnswer::Yes);
    w.clearAllRows();
    EXPECT_EQ(alerts.messages(),
              QStringList({"清空操作将删除所有保存的历史开票数据，确定要清空吗？", "清空成功！共删除2条记录"}));
    EXPECT_EQ(w.rowCount(), 0);
    EXPECT_FALSE(w.button("清空所有(&Y)")->isEnabled());
    EXPECT_FALSE(w.button("删除选中(&D)")->isEnabled());
}

TEST_F(HistoryWindowTest, ADatabaseErrorIsToldAndTheNextPressTriesAgain)
{
    TfmSearch_JKD w(ctx(), host());
    ASSERT_TRUE(db().exec("alter table DataJKDTable rename to Elsewhere"));
    w.refresh();
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_TRUE(alerts.alerts()[0].message.startsWith("数据库错误,Error="));
    EXPECT_EQ(alerts.alerts()[0].caption, "失败");
    EXPECT_EQ(w.countText(), "( 共检索到 0条记录)");
    ASSERT_TRUE(db().exec("alter table Elsewhere rename to DataJKDTable"));
    addRow("DataJKDTable", {{"金额", "3"}});
    w.runQuery();
    EXPECT_EQ(w.rowCount(), 1);
}

TEST_F(HistoryWindowTest, ExportAndDeleteWorkOnTheListedRows)
{
    for (int i = 1; i <= 4; ++i)
        addCheque(QString::number(i), i % 2 ? "甲" : "乙", "1", "2024-03-01");
    TfmSearch_ZP w(ctx(), host());
    w.setClock([] { return QDate(2024, 3, 10); });
    w.secondPartyBox()->setText("甲");
    w.runQuery();

    QTemporaryDir folder;
    const QString path = folder.filePath("list.xlsx");
    QString suggested;
    const DesktopOpener opener = setDesktopOpener([](const QUrl &) { return true; });
    const auto chooser = TfrmExportExcel::setSavePathChooser([&](QWidget *, const QString &s) {
        suggested = s;
        return path;
    });
    QString title;
    QTimer::singleShot(0, [&] {
        if (auto *window = qobject_cast<TfrmExportExcel *>(QApplication::activeModalWidget())) {
            title = window->windowTitle();
            window->btStartClick();
        }
    });
    w.exportList();
    setDesktopOpener(opener);
    TfrmExportExcel::setSavePathChooser(chooser);
    EXPECT_EQ(title, "禾朔软件-导出-支票历史开票2024-03-10");
    EXPECT_TRUE(suggested.contains("支票历史开票2024-03-10"));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(alerts.sawMessage("2条记录导出完成！"));

    alerts.clear();
    alerts.answerNext(AlertAnswer::Yes);
    w.selectRows({0});
    w.deleteSelected();
    EXPECT_EQ(alerts.messages(), QStringList({"确认要删除所选中的1个支票吗?", "1个支票删除成功！"}));
    EXPECT_EQ(listedSerials(w), QList<int>({3}));
    alerts.answerNext(AlertAnswer::Yes);
    w.deleteListed();
    EXPECT_EQ(w.rowCount(), 0);
    EXPECT_EQ(db().scalar("select count(*) from DataZPTable").toInt(), 2);
}

} // namespace
} // namespace billprint::test
