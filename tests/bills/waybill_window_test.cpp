// The waybill window: the amount in words, the destination station, the
// mobile merged into the telephone, the print scope options, the starting
// text of the receiver on paper, saving and reopening, new and copy, the
// close question and the batch steps over several rows in one document.

#include "shell/ui/tfm_main.h"
#include "batch/receiver_list.h"
#include "batch/ui/tfrm_muti_print.h"
#include "bills/ui/install_waybill_entry.h"
#include "bills/ui/tfm_check_kdd.h"
#include "bills/waybill_rules.h"
#include "bills/ui/party_frame.h"
#include "cheque_fixtures.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>

namespace billprint::test {
namespace {

class WaybillTest : public ChequeTest
{
protected:
    std::unique_ptr<TfmCheckKDD> openWaybill()
    {
        auto window = std::make_unique<TfmCheckKDD>(ctx(), host());
        window->setPrintOutput(&output);
        return window;
    }

    static void setFormat(TfmCheckKDD &w, const QString &format)
    {
        w.findChild<QComboBox *>(QStringLiteral("cfgJEDXFormat"))->setCurrentText(format);
    }

    static void tick(TfmCheckKDD &w, const QString &name, bool on)
    {
        if (w.option(name)->isChecked() != on)
            w.option(name)->click();
    }

    // The main window with the waybill entry, the waybill opened from its
    // menu entry as the user does.
    TfmCheckKDD *openFromMenu(Tfm_Main &main)
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // windows closed before
        if (!main.isVisible()) {
            installWaybillEntry(main);
            main.show();
        }
        main.findAction(QStringLiteral("填写快递单"))->trigger();
        const QList<QMdiSubWindow *> subs = main.mdiArea()->subWindowList();
        auto *w = subs.isEmpty() ? nullptr : qobject_cast<TfmCheckKDD *>(subs.first()->widget());
        if (w)
            w->setPrintOutput(&output);
        return w;
    }

    static void enter(QWidget *field)
    {
        QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
        QApplication::sendEvent(field, &in);
    }
    static void leave(QWidget *field)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(field, &out);
    }
    // Clicks into a field and types at the cursor, as the user does.
    static void typeInto(TfmCheckKDD &w, const QString &name, const QString &text)
    {
        QWidget *f = w.field(name);
        enter(f);
        auto *list = qobject_cast<QComboBox *>(f);
        type(list ? static_cast<QWidget *>(list->lineEdit()) : f, text);
        leave(f);
    }

    TPerson addReceiver()
    {
        TPerson p;
        p.setFullName(QStringLiteral("深圳华南贸易有限公司"));
        p.setUnitKind(UnitKind::Counterparty);
        p.setContact(QStringLiteral("王五"));
        p.setProvince(QStringLiteral("广东省"));
        p.setCity(QStringLiteral("深圳"));
        p.setTown(QStringLiteral("南山区"));
        p.setAddress(QStringLiteral("科技园南路8号"));
        p.setPhone(QStringLiteral("0755-1"));
        p.setMobile(QStringLiteral("139"));
        p.setCountry(QStringLiteral("中国"));
        p.setPostcode(QStringLiteral("518000"));
        EXPECT_TRUE(p.save(db()));
        return p;
    }
};

TEST_F(WaybillTest, AmountInWordsFollowsTheFormatAndShowsTheTypedTextOnEntry)
{
    auto w = openWaybill();
    setFormat(*w, QStringLiteral("000.00    限百位到分"));
    w->setFieldText(QStringLiteral("zdJEDX1"), QStringLiteral("56.7"));
    EXPECT_TRUE(w->amountInWordsLeft());
    EXPECT_EQ(w->fieldText(QStringLiteral("zdJEDX1")), QStringLiteral("零伍陆柒零"));
    w->setFieldText(QStringLiteral("zdJEDX1"), QStringLiteral("1234"));
    w->amountInWordsLeft();
    EXPECT_EQ(w->fieldText(QStringLiteral("zdJEDX1")), QStringLiteral("超出位数限制"));

    setFormat(*w, QStringLiteral("打印小写金额"));
    EXPECT_EQ(w->fieldText(QStringLiteral("zdJEDX1")), QStringLiteral("1234"));
    w->setFieldText(QStringLiteral("zdJEDX1"), QStringLiteral("１２"));
    EXPECT_TRUE(w->amountInWordsLeft());  // figures are kept as typed
    setFormat(*w, QStringLiteral("000.00    限百位到分"));
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("请输入有效数字")));
}

TEST_F(WaybillTest, DestinationStationFollowsTheReceiverCity)
{
    auto w = openWaybill();
    tick(*w, QStringLiteral("cfgDestSiteIsCity"), true);
    w->setFieldText(QStringLiteral("zdSKRXS"), QStringLiteral("深圳"));
    EXPECT_EQ(w->fieldText(QStringLiteral("cbDestSite")), QStringLiteral("深圳"));
    tick(*w, QStringLiteral("cfgDestSiteIsCity"), false);
    w->setFieldText(QStringLiteral("zdSKRXS"), QStringLiteral("广州"));
    EXPECT_EQ(w->fieldText(QStringLiteral("cbDestSite")), QStringLiteral("深圳"));
}

TEST_F(WaybillTest, MobileMergesIntoTheTelephoneAndBack)
{
    auto w = openWaybill();
    w->setFieldText(QStringLiteral("zdskrDH"), QStringLiteral("0755-1"));
    w->setFieldText(QStringLiteral("skrHandset"), QStringLiteral("139"));
    tick(*w, QStringLiteral("ckHandset2Phone"), true);
    EXPECT_EQ(w->fieldText(QStringLiteral("zdskrDH")), QStringLiteral("0755-1\\139"));
    tick(*w, QStringLiteral("ckHandset2Phone"), false);
    EXPECT_EQ(w->fieldText(QStringLiteral("zdskrDH")), QStringLiteral("0755-1"));
}

TEST_F(WaybillTest, OnlyOptionsHideBothSidesAndTurningOneOffBringsBackItsSide)
{
    auto w = openWaybill();
    ASSERT_TRUE(w->isFieldShown(QStringLiteral("zdHKR")));
    ASSERT_TRUE(w->isFieldShown(QStringLiteral("zdSKR")));
    tick(*w, QStringLiteral("ckPrintFJROnly"), true);
    tick(*w, QStringLiteral("ckPrintSJROnly"), true);
    for (const QString &name : {QStringLiteral("zdHKR"), QStringLiteral("zdSign"), QStringLiteral("cbFromSite"),
                                QStringLiteral("zdSKR"), QStringLiteral("zdSkrDZ"), QStringLiteral("cbDestSite")})
        EXPECT_FALSE(w->isFieldShown(name)) << name.toStdString();
    tick(*w, QStringLiteral("ckPrintFJROnly"), false);
    EXPECT_TRUE(w->isFieldShown(QStringLiteral("zdSKR")));
    EXPECT_TRUE(w->isFieldShown(QStringLiteral("cbDestSite")));
    EXPECT_FALSE(w->isFieldShown(QStringLiteral("zdHKR")));
    EXPECT_FALSE(w->isFieldShown(QStringLiteral("cbFromSite")));
}

TEST_F(WaybillTest, DateOptionHidesAndPlacesTheDate)
{
    auto w = openWaybill();
    tick(*w, QStringLiteral("cfgWantPrintRQ"), true);
    EXPECT_TRUE(w->isFieldShown(QStringLiteral("zdNian")));
    EXPECT_EQ(w->fieldText(QStringLiteral("zdYue")).size(), 2);
    tick(*w, QStringLiteral("cfgWantPrintRQ"), false);
    EXPECT_FALSE(w->isFieldShown(QStringLiteral("zdNian")));
    EXPECT_FALSE(w->isFieldShown(QStringLiteral("zdTime")));
}

TEST_F(WaybillTest, ReceiverStillShowingTheStartingTextPrintsEmpty)
{
    auto w = openWaybill();
    ASSERT_EQ(w->fieldText(QStringLiteral("zdSKR")), QString());
    w->setFieldText(QStringLiteral("zdWPNR"), QStringLiteral("文件"));
    ASSERT_TRUE(w->printOne());
    EXPECT_TRUE(output.textsEqual(kReceiverStartText).empty());
    EXPECT_FALSE(output.textsEqual(QStringLiteral("文件")).empty());
    EXPECT_EQ(output.title, QString());  // a waybill's document has no title
}

TEST_F(WaybillTest, ReopenShowsEverySavedColumnAndOpensAsIssued)
{
    addReceiver();
    int serial = -1;
    {
        auto w = openWaybill();
        w->setReceiver(TPerson::findByName(db(), QStringLiteral("深圳华南贸易有限公司")));
        w->setSender(TPerson::findByName(db(), QStringLiteral("深圳华南贸易有限公司")));
        const QList<QPair<QString, QString>> typed{
            {QStringLiteral("zdWPNR"), QStringLiteral("O'Brien 文件")}, {QStringLiteral("edtAmount"), QStringLiteral("2")},
            {QStringLiteral("edtWeight"), QStringLiteral("1.5")},      {QStringLiteral("edtMoney"), QStringLiteral("23")},
            {QStringLiteral("zdPJBH"), QStringLiteral("SF100")},       {QStringLiteral("zdBz"), QStringLiteral("轻放")},
            {QStringLiteral("zdYunFee"), QStringLiteral("12")},        {QStringLiteral("zdBJFee"), QStringLiteral("1")},
            {QStringLiteral("zdUserCode"), QStringLiteral("A-9")},     {QStringLiteral("zdTime"), QStringLiteral("14")},
            {QStringLiteral("zdJEDX1"), QStringLiteral("88")}};
        for (const auto &[name, value] : typed)
            w->setFieldText(name, value);
        ASSERT_EQ(w->saveCommand(), BillSaveResult::Written);
        serial = w->serial();
    }
    auto w = openWaybill();
    ASSERT_TRUE(w->BrowseOldCheck(QString(), QString::number(serial)));
    const QList<QPair<QString, QString>> expected{
        {QStringLiteral("zdSKR"), QStringLiteral("深圳华南贸易有限公司")}, {QStringLiteral("zdSKRLXR"), QStringLiteral("王五")},
        {QStringLiteral("zdSKRS"), QStringLiteral("广东省")},  {QStringLiteral("zdSKRXS"), QStringLiteral("深圳")},
        {QStringLiteral("edtSJRTown"), QStringLiteral("南山区")}, {QStringLiteral("zdSkrDZ"), QStringLiteral("科技园南路8号")},
        {QStringLiteral("zdskrDH"), QStringLiteral("0755-1")}, {QStringLiteral("skrHandset"), QStringLiteral("139")},
        {QStringLiteral("zdSKRYB"), QStringLiteral("518000")}, {QStringLiteral("zdHKRLXR"), QStringLiteral("王五")},
        {QStringLiteral("zdHkrDZ"), QStringLiteral("科技园南路8号")}, {QStringLiteral("zdWPNR"), QStringLiteral("O'Brien 文件")},
        {QStringLiteral("edtAmount"), QStringLiteral("2")},    {QStringLiteral("edtWeight"), QStringLiteral("1.5")},
        {QStringLiteral("edtMoney"), QStringLiteral("23")},    {QStringLiteral("zdPJBH"), QStringLiteral("SF100")},
        {QStringLiteral("zdBz"), QStringLiteral("轻放")},      {QStringLiteral("zdYunFee"), QStringLiteral("12")},
        {QStringLiteral("zdBJFee"), QStringLiteral("1")},      {QStringLiteral("zdUserCode"), QStringLiteral("A-9")},
        {QStringLiteral("zdTime"), QStringLiteral("14")},      {QStringLiteral("zdJEDX1"), QStringLiteral("88")}};
    for (const auto &[name, value] : expected)
        EXPECT_EQ(w->fieldText(name), value) << name.toStdString();
    EXPECT_TRUE(w->isSaved());
    EXPECT_TRUE(w->isHistory());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("历史快递单查看（流水号为：") + QString::number(serial) + ")");
}

TEST_F(WaybillTest, NewClearsTheReceiverAndCopyNeedsASavedBill)
{
    auto w = openWaybill();
    w->copyBill();
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("未保存单据不需要复制即为一张新单！")));
    w->setFieldText(QStringLiteral("zdSKR"), QStringLiteral("甲"));
    w->setFieldText(QStringLiteral("zdSKRLXR"), QStringLiteral("乙"));
    w->setFieldText(QStringLiteral("zdYunFee"), QStringLiteral("12"));
    ASSERT_EQ(w->saveCommand(), BillSaveResult::Written);
    w->copyBill();
    EXPECT_EQ(w->serial(), -1);
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("已复制保存过的单据为一张新单~")));
    w->newBill();
    EXPECT_EQ(w->fieldText(QStringLiteral("zdSKR")), QString());
    EXPECT_EQ(w->fieldText(QStringLiteral("zdYunFee")), QStringLiteral("12"));  // fees stay
    EXPECT_EQ(w->windowTitle(), QStringLiteral("新快递单-ID=-1"));
}

TEST_F(WaybillTest, ClosingAsksWhenAnythingWasTyped)
{
    auto w = openWaybill();
    EXPECT_FALSE(w->hasUnsavedBill());
    w->setFieldText(QStringLiteral("zdSKRLXR"), QStringLiteral("乙"));
    EXPECT_TRUE(w->hasUnsavedBill());  // a contact alone is a waybill worth keeping
    alerts.answerNext(AlertAnswer::No);
    w->close();
    ASSERT_FALSE(alerts.alerts().empty());
    EXPECT_EQ(alerts.alerts().back().message, QStringLiteral("是否保存该快递单？"));
    EXPECT_EQ(alerts.alerts().back().caption, QStringLiteral("关闭快递单"));
}

TEST_F(WaybillTest, BatchStepsPrintEveryRowInOneDocument)
{
    auto w = openWaybill();
    ASSERT_TRUE(w->PrintPrepare());
    w->PrinterTransBegin(1);
    for (int i = 0; i < 3; ++i) {
        w->setLoading(true);
        w->setFieldText(QStringLiteral("zdSKR"), QStringLiteral("收件") + QString::number(i));
        w->setFieldText(QStringLiteral("zdJEDX1"), QString::number(10 + i));
        w->amountInWordsLeft();
        if (i > 0)
            w->NewCheckPage();
        w->SendCheckToPrinter();
        w->setLoading(false);
    }
    ASSERT_TRUE(w->PrinterTransEnd());
    EXPECT_EQ(output.begins, 1);
    EXPECT_EQ(output.pages, 3);
    EXPECT_EQ(output.textsEqual(QStringLiteral("收件2")).size(), 1u);
    // Every print item of the template was found on the window.
    EXPECT_FALSE(QFile::exists(QDir(root.path()).filePath(QStringLiteral("Debug.ini"))));
}

TEST_F(WaybillTest, FramesPickFromTheAddressBookAndTheReceiverCanBeStored)
{
    const TPerson receiver = addReceiver();
    auto w = openWaybill();
    picks.push_back(receiver);
    emit qobject_cast<PartyFrame *>(w->field(QStringLiteral("shpskr")))->clicked();
    picks.push_back(std::nullopt);  // cancelled: the sender stays as it is
    w->setFieldText(QStringLiteral("zdHKRLXR"), QStringLiteral("张三"));
    emit qobject_cast<PartyFrame *>(w->field(QStringLiteral("shpHKR")))->clicked();
    EXPECT_EQ(pickRequests, QStringList({QStringLiteral("往来单位/选择收件人资料"), QStringLiteral("我方单位/选择发件人资料")}));
    EXPECT_EQ(w->fieldText(QStringLiteral("zdSKRS")), QStringLiteral("广东省"));
    EXPECT_EQ(w->fieldText(QStringLiteral("zdHKRLXR")), QStringLiteral("张三"));

    w->setFieldText(QStringLiteral("zdSKRLXR"), QStringLiteral("赵六"));
    w->command(QStringLiteral("存收件人"))->trigger();
    ASSERT_EQ(savedParties.size(), 1u);
    ASSERT_TRUE(savedParties[0].has_value());
    EXPECT_EQ(savedParties[0]->contact(), QStringLiteral("赵六"));
    EXPECT_EQ(savedParties[0]->postcode(), QStringLiteral("518000"));
    EXPECT_EQ(savedParties[0]->unitKind(), UnitKind::Counterparty);
}

TEST_F(WaybillTest, EnterFindsTheReceiverByNameOrCodeButNotWhileFilling)
{
    TPerson p = addReceiver();
    p.setInputCode(QStringLiteral("SZHN"));
    ASSERT_TRUE(p.save(db()));
    auto w = openWaybill();
    auto *list = qobject_cast<QComboBox *>(w->field(QStringLiteral("zdSKR")));
    w->setLoading(true);
    list->setEditText(QStringLiteral("SZHN"));
    emit list->lineEdit()->returnPressed();
    EXPECT_EQ(w->fieldText(QStringLiteral("zdSKRLXR")), QString());
    w->setLoading(false);
    emit list->lineEdit()->returnPressed();
    EXPECT_EQ(w->fieldText(QStringLiteral("zdSKRLXR")), QStringLiteral("王五"));
}

TEST_F(WaybillTest, ProvinceOverlayStandsOverTheFieldAndCopiesItsChoice)
{
    auto w = openWaybill();
    w->show();
    QWidget *province = w->field(QStringLiteral("zdSKRS"));
    auto *overlay = qobject_cast<QComboBox *>(w->field(QStringLiteral("Cb_S")));
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(province, &in);
    EXPECT_TRUE(overlay->isVisible());
    EXPECT_EQ(overlay->geometry(), province->geometry());
    EXPECT_GT(overlay->count(), 30);
    overlay->setEditText(QStringLiteral("广东省"));
    EXPECT_EQ(w->fieldText(QStringLiteral("zdSKRS")), QStringLiteral("广东省"));  // written through
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(overlay, &out);
    EXPECT_FALSE(overlay->isVisible());
    EXPECT_EQ(w->fieldText(QStringLiteral("zdSKRS")), QStringLiteral("广东省"));
}

TEST_F(WaybillTest, AmountStillBeingTypedIsWrittenOutBeforePrintAndSave)
{
    auto w = openWaybill();
    setFormat(*w, QStringLiteral("000.00    限百位到分"));
    w->setFieldText(QStringLiteral("zdJEDX1"), QStringLiteral("56.7"));  // typed, not left
    ASSERT_TRUE(w->printOne());
    EXPECT_EQ(output.textsEqual(QStringLiteral("56.7")).size(), 0u);
    EXPECT_EQ(w->fieldText(QStringLiteral("zdJEDX1")), QStringLiteral("零伍陆柒零"));
    w->setFieldText(QStringLiteral("zdJEDX1"), QStringLiteral("abc"));
    EXPECT_EQ(w->saveCommand(), BillSaveResult::Failed);
    EXPECT_EQ(rowCount(QStringLiteral("DataKDDTable")), 0);
}

TEST_F(WaybillTest, RememberedFormatAndOptionsComeBackWithTheTemplate)
{
    {
        auto w = openWaybill();
        setFormat(*w, QStringLiteral("0000.0    限千位到角"));
        tick(*w, QStringLiteral("cfgWantPrintRQ"), true);
        tick(*w, QStringLiteral("ckPrintFJROnly"), true);
        w->rememberOptions();
        ASSERT_TRUE(alerts.sawMessage(QStringLiteral("打印勾选及选项已记住！")));
    }
    auto w = openWaybill();
    EXPECT_EQ(w->findChild<QComboBox *>(QStringLiteral("cfgJEDXFormat"))->currentText(),
              QStringLiteral("0000.0    限千位到角"));
    EXPECT_TRUE(w->option(QStringLiteral("cfgWantPrintRQ"))->isChecked());
    EXPECT_FALSE(w->option(QStringLiteral("ckPrintFJROnly"))->isChecked());  // not remembered
}

TEST_F(WaybillTest, TheReceiverPromptIsAHintAndNeverPartOfTheName)
{
    auto w = openWaybill();
    w->show();
    ASSERT_TRUE(w->isVisible());
    auto *receiver = qobject_cast<QComboBox *>(w->field(QStringLiteral("zdSKR")));
    EXPECT_EQ(receiver->lineEdit()->placeholderText(), kReceiverStartText);
    enter(receiver);
    EXPECT_EQ(receiver->lineEdit()->placeholderText(), QString());  // gone while typing
    type(receiver->lineEdit(), QStringLiteral("北京华联综合超市"));
    leave(receiver);
    EXPECT_EQ(w->fieldText(QStringLiteral("zdSKR")), QStringLiteral("北京华联综合超市"));
    ASSERT_TRUE(w->printOne());
    EXPECT_EQ(output.textsEqual(QStringLiteral("北京华联综合超市")).size(), 1u);
    ASSERT_EQ(w->saveCommand(), BillSaveResult::Written);
    EXPECT_EQ(BillRecordStore(db(), QStringLiteral("DataKDDTable")).load(w->serial())->text(QStringLiteral("收件单位")),
              QStringLiteral("北京华联综合超市"));
}

TEST_F(WaybillTest, AParsedReceiverWithoutUnitIsOfferedForSavingOnClose)
{
    Tfm_Main main(ctx());
    TfmCheckKDD *w = openFromMenu(main);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(w->isVisible());
    QApplication::clipboard()->setText(
        QStringLiteral("收货地址：张三，86-0571-88886666，13812345678，浙江省 杭州市 西湖区 文三路100号 ，（310012）"));
    w->command(QStringLiteral("地址串识别(&W)"))->menu()->actions().at(0)->trigger();  // 识别剪切板为收件人
    ASSERT_EQ(w->fieldText(QStringLiteral("zdSKRLXR")), QStringLiteral("张三"));
    ASSERT_EQ(w->fieldText(QStringLiteral("zdSKR")), QString());
    alerts.answerNext(AlertAnswer::Yes);
    main.mdiArea()->subWindowList().first()->close();
    ASSERT_EQ(alerts.alerts().size(), 2u);  // the question, then the save message
    EXPECT_EQ(alerts.alerts().front().message, QStringLiteral("是否保存该快递单？"));
    EXPECT_EQ(alerts.alerts().front().caption, QStringLiteral("关闭快递单"));
    EXPECT_EQ(rowCount(QStringLiteral("DataKDDTable")), 1);
    EXPECT_EQ(db().scalar(QStringLiteral("select 收件联系人 from DataKDDTable")).toString(), QStringLiteral("张三"));

    // Nothing typed: closing asks nothing.
    alerts.clear();
    w = openFromMenu(main);
    ASSERT_NE(w, nullptr);
    main.mdiArea()->subWindowList().first()->close();
    EXPECT_TRUE(alerts.alerts().empty());
}

TEST_F(WaybillTest, AReopenedWaybillKeepsItsAmountInWordsAndPrints)
{
    int serial = -1;
    {
        auto w = openWaybill();
        setFormat(*w, QStringLiteral("000.00    限百位到分"));
        w->rememberOptions();
        typeInto(*w, QStringLiteral("zdJEDX1"), QStringLiteral("56.7"));
        ASSERT_EQ(w->fieldText(QStringLiteral("zdJEDX1")), QStringLiteral("零伍陆柒零"));
        w->setFieldText(QStringLiteral("zdSKRLXR"), QStringLiteral("王五"));
        ASSERT_EQ(w->saveCommand(), BillSaveResult::Written);
        serial = w->serial();
    }
    alerts.clear();
    auto w = openWaybill();
    ASSERT_TRUE(w->BrowseOldCheck(QString(), QString::number(serial)));
    QWidget *words = w->field(QStringLiteral("zdJEDX1"));
    EXPECT_EQ(w->fieldText(QStringLiteral("zdJEDX1")), QStringLiteral("零伍陆柒零"));
    enter(words);
    EXPECT_EQ(w->fieldText(QStringLiteral("zdJEDX1")), QStringLiteral("56.7"));  // the figures behind it
    leave(words);
    EXPECT_EQ(w->fieldText(QStringLiteral("zdJEDX1")), QStringLiteral("零伍陆柒零"));
    EXPECT_TRUE(alerts.alerts().empty()) << alerts.messages().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(w->printOne());
    EXPECT_EQ(output.textsEqual(QStringLiteral("陆")).size(), 1u);  // one capital to a box
    w->command(QStringLiteral("复制(&C)"))->trigger();
    EXPECT_EQ(w->serial(), -1);
    EXPECT_EQ(alerts.messages(), QStringList{"已复制保存过的单据为一张新单~"});
}

TEST_F(WaybillTest, ABatchPrintLeavesTheWaybillAsItWas)
{
    int serial = -1;
    {
        auto w = openWaybill();
        w->setFieldText(QStringLiteral("zdSKR"), QStringLiteral("深圳华南贸易有限公司"));
        w->setFieldText(QStringLiteral("zdSKRLXR"), QStringLiteral("王五"));
        w->setFieldText(QStringLiteral("zdHKR"), QStringLiteral("北京禾朔科技有限公司"));  // a sender: nothing to ask
        ASSERT_EQ(w->saveCommand(), BillSaveResult::Written);
        serial = w->serial();
    }
    QString error;
    for (const char *name : {"收件一", "收件二"})
        ASSERT_GT(ReceiverList(db()).add({{QStringLiteral("全称"), QString::fromUtf8(name)},
                                          {QStringLiteral("联系人"), QStringLiteral("李四")}},
                                         &error),
                  0)
            << error.toStdString();
    auto w = openWaybill();
    ASSERT_TRUE(w->BrowseOldCheck(QString(), QString::number(serial)));
    const QString title = w->windowTitle();
    ASSERT_EQ(title, QStringLiteral("历史快递单查看（流水号为：%1)").arg(serial));
    TfrmMutiPrint *list = TfrmMutiPrint::of(*w);
    list->refresh();
    ASSERT_EQ(list->printListed(), 2);
    EXPECT_EQ(output.textsEqual(QStringLiteral("收件二")).size(), 1u);
    EXPECT_EQ(w->windowTitle(), title);
    EXPECT_EQ(w->fieldText(QStringLiteral("zdSKR")), QStringLiteral("深圳华南贸易有限公司"));
    EXPECT_EQ(w->fieldText(QStringLiteral("zdSKRLXR")), QStringLiteral("王五"));
    EXPECT_EQ(w->serial(), serial);
    EXPECT_TRUE(w->isSaved());
    EXPECT_TRUE(w->isHistory());
    EXPECT_FALSE(w->hasUnsavedBill());
}

} // namespace
} // namespace billprint::test
