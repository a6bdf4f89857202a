#include "addressbook/ui/address_book_host.h"
#include "addressbook/ui/tfm_person_manage.h"
#include "app/desktop_open.h"
#include "shell/ui/tfm_main.h"
#include "batch/match_column_store.h"
#include "batch/ui/tfrm_import.h"
#include "batch/ui/tfrm_import_column_cfg.h"
#include "sheet_fixtures.h"
#include "test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

class ImportWindowTest : public ::testing::Test
{
protected:
    QStringList listed(const QString &sql)
    {
        QStringList values;
        QSqlQuery q = root.context().db().prepare(sql);
        EXPECT_TRUE(q.exec());
        while (q.next())
            values << q.value(0).toString();
        return values;
    }

    QString writeOrders(const QList<QStringList> &rows)
    {
        const QString path = root.path() + "/orders.xlsx";
        EXPECT_TRUE(writeXlsx(path, {{"订单", rows}}));
        return path;
    }

    TempDataRoot root;
    AlertRecorder alerts;
};

} // namespace

TEST_F(ImportWindowTest, AddressBookImportMatchesStoresAndReports)
{
    const QString path = writeOrders({{"会员ID", "收货人", "手机号码", "详细地址", "城市"},
                                      {"zs88", "张三", "#13800138000", "广州市天河区", "广州"},
                                      {"obrien", "O'Brien", "#13912345678", "上海市浦东新区", "上海"}});
    TfrmImport window(root.context(), ImportTarget::AddressBook);
    int refreshed = 0;
    window.setAfterStored([&refreshed] { ++refreshed; });
    ASSERT_TRUE(window.openFile(path));
    EXPECT_EQ(window.field("单位全称")->currentText(), "列1:会员ID");
    EXPECT_EQ(window.field("联系人")->currentText(), "列2:收货人");
    EXPECT_EQ(window.field("手机")->currentText(), "列3:手机号码");
    EXPECT_EQ(window.field("地址")->currentText(), "列4:详细地址");
    EXPECT_EQ(window.field("市")->currentText(), "列5:城市");
    EXPECT_EQ(window.field("单位类型")->currentText(), "往来单位");
    EXPECT_EQ(window.field("目的站"), nullptr);
    window.start();
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(window.lastResult().stored, 2);
    ASSERT_FALSE(alerts.alerts().empty());
    EXPECT_EQ(alerts.alerts().back().caption, "导入结束");
    EXPECT_EQ(alerts.alerts().back().message, "导入结束，共有 2 条导入成功！\n");
    EXPECT_EQ(listed("select 全称||'|'||联系人||'|'||手机||'|'||市||'|'||单位类型 from ckPersonalInfoTable order by ID"),
              QStringList({"zs88|张三|13800138000|广州|往来单位", "obrien|O'Brien|13912345678|上海|往来单位"}));
}

TEST_F(ImportWindowTest, BatchListAsksBeforeAllowingDuplicates)
{
    root.context().db().exec("insert into ReceiverList (联系人,批打分组) values ('旧','老客户')");
    const QString path = writeOrders({{"收件人", "城市", "收件地址", "订单编号"}, {"张三", "广州", "天河区", "A1"}});
    TfrmImport window(root.context(), ImportTarget::BatchList);
    ASSERT_TRUE(window.openFile(path));
    EXPECT_EQ(window.field("市")->currentText(), "列2:城市");
    EXPECT_EQ(window.field("目的站")->currentText(), "");
    EXPECT_EQ(window.field("订单号"), nullptr);  // used through the check box
    QComboBox *group = window.field("批打分组");
    EXPECT_GE(group->findText("全部列表"), 0);
    EXPECT_GE(group->findText("老客户"), 0);
    EXPECT_FALSE(window.findChild<QCheckBox *>("ckDuplicate")->isChecked());
    window.findChild<QCheckBox *>("ckOrderID")->click();
    EXPECT_EQ(root.context().settings().getConfigByname("ckOrderIDOn"), "1");

    window.start();  // the question is answered No
    EXPECT_TRUE(alerts.sawMessage("你未选择任何重复判断依据。这样将可能会插入重复记录。确认允许重复吗？"));
    EXPECT_EQ(listed("select count(*) from ReceiverList"), QStringList{"1"});
    alerts.answerNext(AlertAnswer::Yes);
    window.start();
    EXPECT_EQ(listed("select 联系人||'|'||市||'|'||备注 from ReceiverList where 批打分组=''"),
              QStringList{"张三|广州|订单号:A1;"});
}

TEST_F(ImportWindowTest, StoppingAsksAndKeepsTheRowsStoredSoFar)
{
    QList<QStringList> rows{{"收件人", "手机"}};
    for (int i = 0; i < 30; ++i)
        rows << QStringList{QStringLiteral("人%1").arg(i), "13800138000"};
    TfrmImport window(root.context(), ImportTarget::BatchList);
    ASSERT_TRUE(window.openFile(writeOrders(rows)));
    alerts.answerNext(AlertAnswer::Yes);  // duplicates allowed
    alerts.answerNext(AlertAnswer::Yes);  // stop
    auto *stop = window.findChild<QPushButton *>("btStop");
    QTimer::singleShot(0, stop, &QPushButton::click);  // pressed while the rows are stored
    window.start();
    EXPECT_TRUE(alerts.sawMessage("需要中止导出操作吗？"));
    EXPECT_TRUE(window.lastResult().stopped);
    EXPECT_EQ(window.lastResult().stored, 10);
    EXPECT_EQ(listed("select count(*) from ReceiverList"), QStringList{"10"});
}

TEST_F(ImportWindowTest, TheLogOpensInsteadOfTheResultMessageWhenAsked)
{
    QList<QUrl> opened;
    const DesktopOpener previous = setDesktopOpener([&opened](const QUrl &url) {
        opened << url;
        return true;
    });
    TfrmImport window(root.context(), ImportTarget::AddressBook);
    ASSERT_TRUE(window.openFile(writeOrders({{"收货人"}, {"张三"}})));
    window.findChild<QCheckBox *>("ckOpenLog")->setChecked(true);
    window.start();
    setDesktopOpener(previous);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].toLocalFile(), root.path() + "/ImportLog.txt");
    EXPECT_FALSE(alerts.sawMessage("导入结束"));
    EXPECT_EQ(window.statusText(), "导入结束，共有 1 条导入成功！");
    EXPECT_TRUE(window.findChild<QPushButton *>("btViewLog")->isEnabled());
}

TEST_F(ImportWindowTest, AFailureOfTheDatabaseIsSaidEvenWhenTheLogWasToOpen)
{
    Tfm_Main main(root.context(), [](Tfm_Main &window) { installSpreadsheetImport(window); });
    const QString path = writeOrders({{"收货人", "详细地址"}, {"张三", "广州"}, {"李四", "上海"}});
    ASSERT_TRUE(refuseChangesWhen(root.context().db(), "full_disk", "insert", "ckPersonalInfoTable", "true",
                                  "database or disk is full", true));
    QList<QUrl> opened;
    const DesktopOpener previous = setDesktopOpener([&opened](const QUrl &url) {
        opened << url;
        return true;
    });
    Tfm_PersonManage book(root.context());
    bool visible = false;
    QTimer::singleShot(0, [&] {
        auto *import = qobject_cast<TfrmImport *>(QApplication::activeModalWidget());
        if (!import)
            return;
        visible = import->isVisible();
        alerts.answerNext(AlertAnswer::Yes);  // duplicates allowed
        if (import->openFile(path)) {
            import->findChild<QCheckBox *>("ckOpenLog")->setChecked(true);
            import->start();
        }
    });
    book.btImportClick();
    setDesktopOpener(previous);
    EXPECT_TRUE(visible);
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_FALSE(alerts.alerts().empty());
    EXPECT_EQ(alerts.alerts().back().caption, "导入失败");
    EXPECT_TRUE(alerts.alerts().back().message.startsWith("导入中止，数据库写入失败："));
    EXPECT_TRUE(alerts.alerts().back().message.contains("database or disk is full"));
    EXPECT_TRUE(alerts.alerts().back().message.endsWith("\n中止前共有 0 条导入成功！"));
    EXPECT_EQ(listed("select count(*) from ckPersonalInfoTable"), QStringList{"0"});
    addressBookHost() = AddressBookHost();
}

TEST_F(ImportWindowTest, WithoutNameContactOrAddressNothingIsImported)
{
    const QString path = writeOrders({{"电话", "备注"}, {"020-1234", "x"}});
    TfrmImport window(root.context(), ImportTarget::AddressBook);
    ASSERT_TRUE(window.openFile(path));
    window.start();
    EXPECT_TRUE(alerts.sawMessage("收、发件单位名称、联系人、地址不能同时为空，请选择有效的Excel数据文件并匹配项目！"));
    EXPECT_EQ(listed("select count(*) from ckPersonalInfoTable"), QStringList{"0"});
}

TEST_F(ImportWindowTest, UnreadableFileDisablesTheStart)
{
    const QString path = root.path() + "/bad.xlsx";
    ASSERT_TRUE(writeBytes(path, QByteArray("PK\x03\x04garbage", 11)));
    TfrmImport window(root.context(), ImportTarget::AddressBook);
    ASSERT_TRUE(window.openFile(writeOrders({{"收货人"}, {"张三"}})));
    EXPECT_FALSE(window.openFile(path));
    EXPECT_EQ(window.field("联系人")->count(), 1);  // only the empty entry
    EXPECT_TRUE(alerts.messages().value(0).startsWith("EXCEL导入错误,"));
    EXPECT_FALSE(window.findChild<QPushButton *>("btStart")->isEnabled());
}

TEST_F(ImportWindowTest, ColumnSettingsStoreCleanListsAndRestoreTheDefaults)
{
    TfrmImportColumnCfg cfg(root.context());
    QTableWidget *grid = cfg.grid();
    ASSERT_EQ(grid->rowCount(), 36);
    EXPECT_EQ(grid->item(0, 1)->text(), "联系人");
    cfg.selectRow(0);
    cfg.findChild<QLineEdit *>("edtSource")->setText(" 收件人，顾客,,姓名 ");
    cfg.btSubmitClick();
    EXPECT_EQ(MatchColumnStore(root.context().db()).titleList("联系人"), "收件人,顾客,姓名");

    auto *order = cfg.findChild<QLineEdit *>("edtOrder");
    EXPECT_FALSE(cfg.findChild<QPushButton *>("btAdd")->isVisibleTo(&cfg));
    order->clear();
    for (const QChar c : QStringLiteral("5820764"))
        order->insert(c), emit order->textEdited(order->text());
    EXPECT_TRUE(cfg.findChild<QPushButton *>("btAdd")->isVisibleTo(&cfg));
    EXPECT_FALSE(cfg.findChild<QLineEdit *>("edtItem")->isReadOnly());

    cfg.btRestoreClick();
    EXPECT_TRUE(alerts.sawMessage("重置成功！"));
    EXPECT_EQ(MatchColumnStore(root.context().db()).titleList("联系人"),
              "联系人,收件人,收件人姓名,收货人,收件联系人,*姓名*,name,fullname");
}

TEST_F(ImportWindowTest, AddressBookButtonOpensTheImportForTheAddressBook)
{
    Tfm_Main main(root.context(), [](Tfm_Main &window) { installSpreadsheetImport(window); });
    Tfm_PersonManage book(root.context());
    QString seenScenario;
    QTimer::singleShot(0, [&seenScenario] {
        auto *import = qobject_cast<TfrmImport *>(QApplication::activeModalWidget());
        if (!import)
            return;
        seenScenario = import->findChild<QComboBox *>("cbScenario")->currentText();
        import->reject();
    });
    book.btImportClick();
    EXPECT_EQ(seenScenario, "收发件人批量到地址薄");
    addressBookHost() = AddressBookHost();
}

TEST_F(ImportWindowTest, ResultStaysInTheMainWindowStatusBar)
{
    Tfm_Main main(root.context(), [](Tfm_Main &window) { installSpreadsheetImport(window); });
    const QString path = writeOrders({{"会员ID", "收货人", "手机号码", "详细地址"}, {"zs88", "张三", "#13800138000", "广州"}});
    Tfm_PersonManage book(root.context());
    const QString before = main.statusText(5);
    QTimer::singleShot(0, [] {
        if (auto *import = qobject_cast<TfrmImport *>(QApplication::activeModalWidget()))
            import->reject();  // closed unused: the status bar keeps its text
    });
    book.btImportClick();
    EXPECT_EQ(main.statusText(5), before);
    QTimer::singleShot(0, [&path] {
        auto *import = qobject_cast<TfrmImport *>(QApplication::activeModalWidget());
        if (import && import->openFile(path))
            import->start();
    });
    book.btImportClick();
    EXPECT_EQ(main.statusText(5), "导入结束，共有 1 条导入成功！");
    addressBookHost() = AddressBookHost();
}

TEST_F(ImportWindowTest, ScreenshotForReview)
{
    if (qEnvironmentVariableIsEmpty("BILLPRINT_SHOTS"))
        GTEST_SKIP();
    const QString path = writeOrders({{"会员ID", "收货人", "手机号码", "详细地址", "城市", "订单编号"}, {"a", "b", "#1", "c", "d", "e"}});
    for (ImportTarget target : {ImportTarget::AddressBook, ImportTarget::BatchList}) {
        TfrmImport window(root.context(), target);
        window.openFile(path);
        window.show();
        QApplication::processEvents();
        window.grab().save(QString("/tmp/import_%1.png").arg(int(target)));
    }
    TfrmImportColumnCfg cfg(root.context());
    cfg.show();
    QApplication::processEvents();
    cfg.grab().save("/tmp/import_cfg.png");
}
