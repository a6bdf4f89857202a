// The deposit slip (进账单) and cash payment slip (缴款单) windows driven
// offscreen: amount with stub copies, the two-digit year, swapping the
// parties, the bank of a chosen account, saving with bound values and
// reopening, and the deposit slip turned into a cheque.

#include "shell/ui/tfm_main.h"
#include "bills/slip_columns.h"
#include "bills/ui/install_bank_slips.h"
#include "bills/ui/install_cheque_entry.h"
#include "bills/ui/tfm_check_jkd.h"
#include "bills/ui/tfm_check_jzd.h"
#include "bills/ui/party_frame.h"
#include "cheque_fixtures.h"

#include <QCheckBox>
#include <QAction>
#include <QDateEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace billprint::test {
namespace {

const QStringList kBoxes{"YY", "QW", "BW", "SW", "WY", "QY", "BY", "SY", "Y", "J", "F"};

class BankSlipTest : public ChequeTest
{
protected:
    std::unique_ptr<TfmCheckJZD> openDeposit()
    {
        auto w = std::make_unique<TfmCheckJZD>(ctx(), host());
        w->setPrintOutput(&output);
        return w;
    }
    std::unique_ptr<TfmCheckJKD> openCashSlip()
    {
        auto w = std::make_unique<TfmCheckJKD>(ctx(), host());
        w->setPrintOutput(&output);
        return w;
    }
    static QString boxes(TfmBillBase &w, const QString &prefix)
    {
        QString all;
        for (const QString &box : kBoxes)
            all += w.fieldText(prefix + box).isEmpty() ? QStringLiteral("_") : w.fieldText(prefix + box);
        return all;
    }
};

TEST_F(BankSlipTest, DepositAmountFillsMainPartAndStub)
{
    auto w = openDeposit();
    typeAmount(*w, QStringLiteral("1234.56"));
    pressReturn(w->field(QStringLiteral("inputJEXX")));
    EXPECT_EQ(text(*w, QStringLiteral("zdJEXX")), QStringLiteral("￥1,234.56"));
    EXPECT_EQ(text(*w, QStringLiteral("cgJEXX")), QStringLiteral("￥1,234.56"));
    EXPECT_EQ(boxes(*w, QStringLiteral("zd")), QStringLiteral("____￥123456"));
    EXPECT_EQ(boxes(*w, QStringLiteral("cg")), QStringLiteral("____￥123456"));
    EXPECT_EQ(text(*w, QStringLiteral("zdJEDX")), QStringLiteral("壹仟贰佰叁拾肆元伍角陆分"));
    w->setJEXX(QString());
    EXPECT_EQ(boxes(*w, QStringLiteral("cg")), QStringLiteral("___________"));
}

TEST_F(BankSlipTest, TwoDigitYearOnMainPartAndStubUnlessInCapitals)
{
    struct Case { bool capitals; QString year; QString month; };
    for (const Case &c : {Case{false, "26", "03"}, Case{true, "贰零贰陆", "零叁"}}) {
        auto w = openDeposit();
        if (c.capitals)
            w->option(QStringLiteral("cfgDateChinese"))->click();
        w->option(QStringLiteral("cfgMiniYear"))->click();
        w->datePicker()->setDate(QDate(2026, 3, 5));
        for (const char *prefix : {"zd", "cg"}) {
            EXPECT_EQ(text(*w, QLatin1String(prefix) + QStringLiteral("Nian")), c.year) << prefix;
            EXPECT_EQ(text(*w, QLatin1String(prefix) + QStringLiteral("Yue")), c.month) << prefix;
        }
    }
}

TEST_F(BankSlipTest, SwappingTwiceRestoresTheParties)
{
    const TPerson drawer = addUnit(QStringLiteral("北京恒远贸易有限公司"), UnitKind::Own,
                                   QStringLiteral("工商银行朝阳支行"), QStringLiteral("0200001"));
    const TPerson payee = addUnit(QStringLiteral("上海华东电子科技有限公司"), UnitKind::Counterparty,
                                  QStringLiteral("招商银行上海分行"), QStringLiteral("6200002"));
    auto w = openDeposit();
    w->setSender(drawer);
    w->setReceiver(payee);
    QCheckBox *swap = w->option(QStringLiteral("cfgChangeInOuter"));
    swap->click();
    EXPECT_EQ(text(*w, QStringLiteral("zdOutComp")), payee.fullName());
    EXPECT_EQ(text(*w, QStringLiteral("cgInBankAcct")), QStringLiteral("0200001"));
    swap->click();
    const QStringList expected{drawer.fullName(), "工商银行朝阳支行", "0200001", payee.fullName(), "招商银行上海分行",
                               "6200002"};
    QStringList shown;
    for (const char *name : {"OutComp", "OutBank", "OutBankAcct", "InComp", "InBank", "InBankAcct"})
        shown << text(*w, QStringLiteral("cg") + QLatin1String(name));
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(text(*w, QStringLiteral("zdInBank")), QStringLiteral("招商银行上海分行"));
}

// Types into a field of the bill panel as the user does: the whole text
// selected, then replaced key by key.
void typeOver(TfmBillBase &w, const QString &name, const QString &text)
{
    QWidget *f = w.field(name);
    QLineEdit *edit = qobject_cast<QLineEdit *>(f);
    if (auto *list = qobject_cast<QComboBox *>(f))
        edit = list->lineEdit();
    ASSERT_NE(edit, nullptr) << name.toStdString();
    edit->selectAll();
    type(edit, text);
}

QStringList partiesShown(TfmBillBase &w)
{
    QStringList shown;
    for (const char *prefix : {"zd", "cg"})
        for (const char *name : {"OutComp", "OutBank", "OutBankAcct", "InComp", "InBank", "InBankAcct"})
            shown << w.fieldText(QLatin1String(prefix) + QLatin1String(name));
    return shown;
}

TEST_F(BankSlipTest, SwappingMovesWhatTheBoxesShowNotTheUnitsPickedEarlier)
{
    const TPerson payee = addUnit(QStringLiteral("上海华东电子科技有限公司"), UnitKind::Counterparty,
                                  QStringLiteral("招商银行上海分行"), QStringLiteral("6200002"));
    auto w = openDeposit();
    w->show();
    ASSERT_TRUE(w->isVisible());
    picks.push_back(payee);
    emit qobject_cast<PartyFrame *>(w->field(QStringLiteral("shpskr")))->clicked();
    typeOver(*w, QStringLiteral("zdInBank"), QStringLiteral("建设银行浦东支行"));
    typeOver(*w, QStringLiteral("zdInBankAcct"), QStringLiteral("6217000"));
    typeOver(*w, QStringLiteral("zdOutComp"), QStringLiteral("杭州青禾贸易有限公司"));
    typeOver(*w, QStringLiteral("zdOutBank"), QStringLiteral("农业银行西湖支行"));
    typeOver(*w, QStringLiteral("zdOutBankAcct"), QStringLiteral("1900003"));
    const QStringList typed = partiesShown(*w);
    ASSERT_EQ(typed.mid(0, 6), QStringList({"杭州青禾贸易有限公司", "农业银行西湖支行", "1900003",
                                            "上海华东电子科技有限公司", "建设银行浦东支行", "6217000"}));

    QCheckBox *swap = w->option(QStringLiteral("cfgChangeInOuter"));
    swap->click();
    const QStringList swapped{"上海华东电子科技有限公司", "建设银行浦东支行", "6217000",
                              "杭州青禾贸易有限公司", "农业银行西湖支行", "1900003"};
    EXPECT_EQ(partiesShown(*w), swapped + swapped);
    swap->click();
    EXPECT_EQ(partiesShown(*w), typed);

    // The payee's starting text stays on the payee's side.
    auto fresh = openDeposit();
    fresh->setOutComp(QStringLiteral("杭州青禾贸易有限公司"));
    fresh->option(QStringLiteral("cfgChangeInOuter"))->click();
    EXPECT_EQ(text(*fresh, QStringLiteral("zdOutComp")), QString());
    EXPECT_EQ(text(*fresh, QStringLiteral("zdInComp")), QStringLiteral("杭州青禾贸易有限公司"));
    fresh->option(QStringLiteral("cfgChangeInOuter"))->click();
    EXPECT_EQ(text(*fresh, QStringLiteral("zdOutComp")), QStringLiteral("杭州青禾贸易有限公司"));
    EXPECT_EQ(text(*fresh, QStringLiteral("zdInComp")), kPayeeStartText);
}

TEST_F(BankSlipTest, ClosingTheAddressBookWithoutAChoiceKeepsDrawerAndPayee)
{
    const TPerson drawer = addUnit(QStringLiteral("北京恒远贸易有限公司"), UnitKind::Own,
                                   QStringLiteral("工商银行朝阳支行"), QStringLiteral("0200001"));
    const TPerson payee = addUnit(QStringLiteral("上海华东电子科技有限公司"), UnitKind::Counterparty,
                                  QStringLiteral("招商银行上海分行"), QStringLiteral("6200002"));
    auto w = openDeposit();
    w->show();
    ASSERT_TRUE(w->isVisible());
    auto *drawerFrame = qobject_cast<PartyFrame *>(w->field(QStringLiteral("shpHKR")));
    auto *payeeFrame = qobject_cast<PartyFrame *>(w->field(QStringLiteral("shpskr")));
    picks = {drawer, payee, std::nullopt, std::nullopt};
    emit drawerFrame->clicked();
    emit payeeFrame->clicked();
    const QStringList chosen = partiesShown(*w);
    ASSERT_EQ(chosen.mid(0, 6), QStringList({"北京恒远贸易有限公司", "工商银行朝阳支行", "0200001",
                                             "上海华东电子科技有限公司", "招商银行上海分行", "6200002"}));
    emit drawerFrame->clicked();  // both closed without a choice
    emit payeeFrame->clicked();
    EXPECT_EQ(pickRequests.size(), 4);
    EXPECT_EQ(partiesShown(*w), chosen);
}

TEST_F(BankSlipTest, PrintAndSaveLeavesNothingToAskOnCloseAndAddsNoSecondRow)
{
    Tfm_Main main(ctx());
    installBankSlipEntries(main);
    main.show();
    main.findAction(QStringLiteral("进账单"))->trigger();
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 1);
    QMdiSubWindow *sub = main.mdiArea()->subWindowList().first();
    auto *w = qobject_cast<TfmCheckJZD *>(sub->widget());
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(w->isVisible());
    w->setPrintOutput(&output);
    typeOver(*w, QStringLiteral("zdInComp"), QStringLiteral("上海华东电子科技有限公司"));
    typeOver(*w, QStringLiteral("zdPJHM"), QStringLiteral("02468135"));
    typeAmount(*w, QStringLiteral("500"));
    w->command(QStringLiteral("打印并保存"))->trigger();
    ASSERT_EQ(output.ends, 1);
    ASSERT_EQ(rowCount(QStringLiteral("DataJZDTable")), 1);
    const int serial = w->lastSavedSerial();

    alerts.clear();
    w->command(QStringLiteral("保存(&S)"))->trigger();  // nothing changed since
    EXPECT_EQ(alerts.messages(), QStringList{"没有改动,无需保存~"});
    alerts.clear();
    alerts.answerNext(AlertAnswer::Yes);  // would store the bill a second time
    sub->close();
    EXPECT_TRUE(main.mdiArea()->subWindowList().isEmpty());
    EXPECT_TRUE(alerts.messages().isEmpty()) << alerts.messages().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(rowCount(QStringLiteral("DataJZDTable")), 1);

    auto again = openDeposit();
    ASSERT_TRUE(again->BrowseOldCheck(again->templateListText(), QString::number(serial)));
    EXPECT_EQ(text(*again, QStringLiteral("zdPJHM")), QStringLiteral("02468135"));
    ASSERT_EQ(again->saveCommand(), BillSaveResult::Written);
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("进账单修改保存成功")));
    EXPECT_EQ(again->serial(), serial);
    EXPECT_EQ(rowCount(QStringLiteral("DataJZDTable")), 1);
}

TEST_F(BankSlipTest, EnterFindsTheDrawerByCodeAndTypingByName)
{
    const TPerson drawer = addUnit(QStringLiteral("北京恒远贸易有限公司"), UnitKind::Own,
                                   QStringLiteral("工商银行朝阳支行"), QStringLiteral("0200001"), QStringLiteral("BJHY"));
    auto w = openDeposit();
    w->setFieldText(QStringLiteral("zdOutComp"), QStringLiteral("BJHY"));
    pressReturn(w->field(QStringLiteral("zdOutComp")));
    EXPECT_EQ(text(*w, QStringLiteral("cgOutComp")), drawer.fullName());
    EXPECT_EQ(text(*w, QStringLiteral("cgOutBankAcct")), QStringLiteral("0200001"));
    auto other = openDeposit();
    other->setFieldText(QStringLiteral("zdOutComp"), drawer.fullName() + QStringLiteral(" "));
    EXPECT_EQ(text(*other, QStringLiteral("zdOutBank")), QStringLiteral("工商银行朝阳支行"));
}

TEST_F(BankSlipTest, AnAccountWithTwoBanksIsReportedAndKeepsTheBank)
{
    addUnit(QStringLiteral("甲公司"), UnitKind::Counterparty, QStringLiteral("中国银行"), QStringLiteral("777"));
    addUnit(QStringLiteral("乙公司"), UnitKind::Counterparty, QStringLiteral("农业银行"), QStringLiteral("777"));
    addUnit(QStringLiteral("丙公司"), UnitKind::Counterparty, QStringLiteral("建设银行"), QStringLiteral("888"));
    auto w = openDeposit();
    w->setInBank(QStringLiteral("手写银行"));
    w->setInBankAcct(QStringLiteral(" 777 "));
    w->accountChosen(QStringLiteral("zdInBankAcct"));
    EXPECT_EQ(alerts.messages(), QStringList{"异常：查询到账号中同一个账号对应两个银行的错误数据,777"});
    EXPECT_EQ(text(*w, QStringLiteral("zdInBank")), QStringLiteral("手写银行"));
    w->setInBankAcct(QStringLiteral("888"));
    w->accountChosen(QStringLiteral("zdInBankAcct"));
    EXPECT_EQ(text(*w, QStringLiteral("cgInBank")), QStringLiteral("建设银行"));
}

TEST_F(BankSlipTest, ApostrophesSaveAndReopeningUpdatesTheSameRow)
{
    auto w = openDeposit();
    w->setInComp(QStringLiteral("O'Brien 贸易"));
    w->setOutComp(QStringLiteral("O'Neil 公司"));
    w->setPJZLei(QStringLiteral("支票"));
    w->setJEXX(QStringLiteral("80"));
    ASSERT_EQ(w->saveCommand(), BillSaveResult::Written);
    const int serial = w->serial();
    const std::optional<BillRecord> stored = BillRecordStore(db(), QStringLiteral("DataJZDTable")).load(serial);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->text(BillColumn::Payee), QStringLiteral("O'Brien 贸易"));
    EXPECT_EQ(stored->text(BillColumn::DepositedKind), QStringLiteral("支票"));

    auto again = openDeposit();
    ASSERT_TRUE(again->BrowseOldCheck(again->templateListText(), QString::number(serial)));
    EXPECT_EQ(text(*again, QStringLiteral("cgOutComp")), QStringLiteral("O'Neil 公司"));
    EXPECT_FALSE(again->isHistory());
    EXPECT_EQ(again->windowTitle(), QStringLiteral("进账单（流水号为：") + QString::number(serial) + ")");
    again->setPJHMa(QStringLiteral("123"));
    ASSERT_EQ(again->saveCommand(), BillSaveResult::Written);
    EXPECT_EQ(again->serial(), serial);
    EXPECT_EQ(rowCount(QStringLiteral("DataJZDTable")), 1);
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("进账单修改保存成功（要修改成新进账单请先点击【复制】按钮）！ ")));
}

TEST_F(BankSlipTest, CopyKeepsTheSlipNumberAndPrintAndSaveEmptiesIt)
{
    auto w = openCashSlip();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("缴款单（通用现金缴款单）-ID=-1"));
    w->setFieldText(QStringLiteral("zdPJBH"), QStringLiteral("J-01"));
    w->copyBill();
    EXPECT_EQ(alerts.messages(), QStringList{"未保存单据不需要复制即为一张新单！"});
    ASSERT_EQ(w->saveCommand(), BillSaveResult::Written);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("缴款单(通用现金缴款单)-ID=1"));
    alerts.clear();
    w->copyBill();
    EXPECT_EQ(alerts.messages(), QStringList{"已复制保存过的单据为一张新单~"});
    EXPECT_EQ(w->windowTitle(), QStringLiteral("缴款单-通用现金缴款单 ID=-1"));
    EXPECT_EQ(w->serial(), -1);
    EXPECT_EQ(text(*w, QStringLiteral("zdPJBH")), QStringLiteral("J-01"));
    ASSERT_EQ(w->printAndSave(), BillSaveResult::Written);
    EXPECT_EQ(text(*w, QStringLiteral("zdPJBH")), QString());
    EXPECT_EQ(rowCount(QStringLiteral("DataJKDTable")), 2);
    w->newBill();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("新缴款单-ID=-1"));
}

TEST_F(BankSlipTest, DepositSlipTurnsIntoACheque)
{
    std::unique_ptr<TfmCheckZP> cheque;
    openBillWindow = [this, &cheque](const QString &family) -> TfmBillBase * {
        EXPECT_EQ(family, QStringLiteral("支票"));
        cheque = openCheque();
        return cheque.get();
    };
    auto w = openDeposit();
    w->setInComp(QStringLiteral("丁公司"));
    w->setPJHMa(QStringLiteral("02468135"));
    w->setJEXX(QStringLiteral("99.5"));
    w->datePicker()->setDate(QDate(2026, 3, 5));
    w->command(QStringLiteral("转为支票"))->trigger();
    ASSERT_TRUE(cheque);
    EXPECT_EQ(text(*cheque, QStringLiteral("zdInComp")), QStringLiteral("丁公司"));
    EXPECT_EQ(text(*cheque, QStringLiteral("zdPJBH")), QStringLiteral("02468135"));
    EXPECT_EQ(text(*cheque, QStringLiteral("zdJEDX")), QStringLiteral("玖拾玖元伍角整"));
    EXPECT_EQ(cheque->billDate(), QDate(2026, 3, 5));
}

TEST_F(BankSlipTest, CashSlipAmountNamesTheCurrencyAndSaves)
{
    addUnit(QStringLiteral("戊公司"), UnitKind::Counterparty, QStringLiteral("交通银行"), QStringLiteral("555"));
    auto w = openCashSlip();
    w->setJEXX(QStringLiteral("500"));
    EXPECT_EQ(text(*w, QStringLiteral("zdJEDX")), QStringLiteral("伍佰元整"));
    EXPECT_EQ(text(*w, QStringLiteral("zdMoney")), QStringLiteral("人民币"));
    w->option(QStringLiteral("cfgJEDXRMBChecked"))->click();
    EXPECT_EQ(text(*w, QStringLiteral("zdJEDX")), QStringLiteral("人民币伍佰元整"));

    w->setInComp(QStringLiteral("戊公司 "));
    EXPECT_EQ(text(*w, QStringLiteral("zdInBankAcct")), QStringLiteral("555"));
    w->setInComp(QStringLiteral("O'Brien 手写"));  // unknown: bank and account stay
    EXPECT_EQ(text(*w, QStringLiteral("zdInBank")), QStringLiteral("交通银行"));
    picks.push_back(std::nullopt);
    w->pickReceiver();  // closed without a choice
    EXPECT_EQ(text(*w, QStringLiteral("zdInComp")), QStringLiteral("O'Brien 手写"));
    EXPECT_EQ(pickRequests, QStringList{"往来单位/选取收款人帐户"});

    storeSavedParties = false;
    w->command(QStringLiteral("存收款人"))->trigger();
    ASSERT_EQ(savedParties.size(), 1u);
    ASSERT_TRUE(savedParties.front());
    EXPECT_EQ(savedParties.front()->fullName(), QStringLiteral("O'Brien 手写"));
    EXPECT_EQ(savedParties.front()->account(), QStringLiteral("555"));
    EXPECT_EQ(savedParties.front()->unitKind(), UnitKind::Counterparty);
    ASSERT_EQ(w->saveCommand(), BillSaveResult::Written);
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("新缴款单保存成功!")));
    auto again = openCashSlip();
    ASSERT_TRUE(again->BrowseOldCheck(again->templateListText(), QString::number(w->serial())));
    EXPECT_EQ(text(*again, QStringLiteral("zdInComp")), QStringLiteral("O'Brien 手写"));
    EXPECT_EQ(text(*again, QStringLiteral("zdInBankAcct")), QStringLiteral("555"));
    again->setFieldText(QStringLiteral("zdYT"), QStringLiteral("货款"));
    ASSERT_EQ(again->saveCommand(), BillSaveResult::Written);
    EXPECT_EQ(rowCount(QStringLiteral("DataJKDTable")), 1);
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("缴款单修改保存成功（要修改成新缴款单请先点击【复制】按钮）！")));
}

TEST_F(BankSlipTest, TheMenuEntriesOpenTheSlipsAndTheSlipTurnsIntoAChequeBesideIt)
{
    Tfm_Main main(ctx());
    installChequeEntry(main);
    installBankSlipEntries(main);
    for (const char *entry : {"现金缴款单", "进账单"}) {
        for (QMdiSubWindow *sub : main.mdiArea()->subWindowList())
            sub->close();
        ASSERT_NE(main.findAction(QString::fromUtf8(entry)), nullptr) << entry;
        main.findAction(QString::fromUtf8(entry))->trigger();
        ASSERT_EQ(main.mdiArea()->subWindowList().size(), 1) << entry;
    }
    auto *deposit = qobject_cast<TfmCheckJZD *>(main.mdiArea()->subWindowList().first()->widget());
    ASSERT_NE(deposit, nullptr);
    deposit->setPJHMa(QStringLiteral("77"));
    deposit->convertToCheque();
    TfmCheckZP *cheque = nullptr;
    for (QMdiSubWindow *sub : main.mdiArea()->subWindowList())
        if (auto *w = qobject_cast<TfmCheckZP *>(sub->widget()))
            cheque = w;
    ASSERT_NE(cheque, nullptr);
    EXPECT_EQ(text(*cheque, QStringLiteral("zdPJBH")), QStringLiteral("77"));
}

} // namespace
} // namespace billprint::test
