// Issuing cheques: printing with the cheque's skip rules, print and save,
// reopening from the history table, the void guard, cheque numbers
// recorded in advance, copying, new bills and the close question.

#include "cheque_fixtures.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>

namespace billprint::test {
namespace {

using ChequeSaveTest = ChequeTest;

// Every field of a cheque filled as a clerk would.
void fillCheque(TfmCheckZP &w)
{
    w.setOutComp(QStringLiteral("北京恒远贸易有限公司"));
    w.setOutBank(QStringLiteral("中国工商银行北京朝阳支行"));
    w.setOutBankAcct(QStringLiteral("0200001009200012345"));
    w.setInComp(QStringLiteral("O'Brien 上海贸易有限公司"));
    w.setYongTu(QStringLiteral("货款"));
    w.setFieldText(QStringLiteral("zdZFMM"), QStringLiteral("3527194680235164"));
    w.setFieldText(QStringLiteral("zdRemark"), QStringLiteral("合同HD-031\n第二批"));
    w.setFieldText(QStringLiteral("zdPJBH"), QStringLiteral("02468135"));
    w.datePicker()->setDate(QDate(2026, 3, 5));
    w.setJEXX(QStringLiteral("1234.56"));
}

QStringList printed(RecordingOutput &output)
{
    QStringList texts;
    for (const RecordedText &t : output.texts())
        texts << t.text;
    return texts;
}

TEST_F(ChequeSaveTest, PrintSendsTheVisibleFieldsAndHonoursTheBankOptions)
{
    auto w = openCheque();
    fillCheque(*w);
    ASSERT_TRUE(w->printOne());
    EXPECT_EQ(output.title, QStringLiteral("禾朔打印-") + kTransferCheque);
    QStringList texts = printed(output);
    EXPECT_TRUE(texts.contains(QStringLiteral("壹仟贰佰叁拾肆元伍角陆分")));
    EXPECT_TRUE(texts.contains(QStringLiteral("O'Brien 上海贸易有限公司")));
    // Both paying-bank options are off on a new template.
    EXPECT_FALSE(texts.join(QString()).contains(QStringLiteral("朝阳支行")));
    EXPECT_FALSE(texts.join(QString()).contains(QStringLiteral("0200001009200012345")));
    // The drawer's name and the cheque number are no print items.
    EXPECT_FALSE(texts.join(QString()).contains(QStringLiteral("恒远")));

    w->option(QStringLiteral("cfgPrintOutBank"))->click();
    output.texts().clear();
    ASSERT_TRUE(w->printOne());
    texts = printed(output);
    EXPECT_TRUE(texts.join(QString()).contains(QStringLiteral("朝阳支行")));
    EXPECT_FALSE(texts.join(QString()).contains(QStringLiteral("0200001009200012345")));
    // The bank stays on screen either way.
    EXPECT_TRUE(w->isFieldShown(QStringLiteral("zdOutBank")));

    // A suppressed field prints nothing although it has text.
    w->option(QStringLiteral("cfgNoPrtJEDX"))->click();
    output.texts().clear();
    ASSERT_TRUE(w->printOne());
    EXPECT_FALSE(printed(output).contains(QStringLiteral("壹仟贰佰叁拾肆元伍角陆分")));
}

TEST_F(ChequeSaveTest, PrintingEmptiesAPayeeThatStillShowsTheStartingText)
{
    auto w = openCheque();
    w->setJEXX(QStringLiteral("5"));
    ASSERT_TRUE(w->printOne());
    EXPECT_EQ(w->fieldText(QStringLiteral("zdInComp")), QString());
    EXPECT_FALSE(printed(output).join(QString()).contains(QStringLiteral("单击我")));
}

TEST_F(ChequeSaveTest, PrintAndSaveThenReopenRestoresEveryField)
{
    ASSERT_TRUE(db().exec(QStringLiteral("update CkControl set NeedShow=1 where CheckTypeID=1 and CtlName in "
                                         "('ZDDEF1','ZDDEF3')")));
    auto w = openCheque();
    fillCheque(*w);
    w->option(QStringLiteral("cfgDateChinese"))->click();
    w->setFieldText(QStringLiteral("zdDef1"), QStringLiteral("财务部"));
    w->setFieldText(QStringLiteral("zdDef3"), QStringLiteral("王经理"));
    w->setFieldText(QStringLiteral("zdDef4"), QStringLiteral("hidden by the template"));
    auto *currency = qobject_cast<QComboBox *>(w->field(QStringLiteral("cfgMoneyType")));
    currency->setCurrentIndex(currency->findText(QStringLiteral("美元")));

    EXPECT_EQ(w->printAndSave(), BillSaveResult::Written);
    EXPECT_EQ(output.ends, 1);
    // Saved without the announcement, then turned into a new bill that
    // holds nothing unsaved until it is changed.
    EXPECT_FALSE(alerts.sawMessage(QStringLiteral("新支票保存成功")));
    const int serial = w->lastSavedSerial();
    ASSERT_GT(serial, 0);
    EXPECT_EQ(w->serial(), -1);
    EXPECT_TRUE(w->isSaved());
    EXPECT_FALSE(w->hasUnsavedBill());
    EXPECT_EQ(w->fieldText(QStringLiteral("zdPJBH")), QString());
    EXPECT_FALSE(w->command(QStringLiteral("复制(&C)"))->isEnabled());
    EXPECT_EQ(w->fieldText(QStringLiteral("zdJEDX")), QStringLiteral("美元壹仟贰佰叁拾肆元伍角陆分"));

    const BillRecord r = row(serial);
    EXPECT_EQ(r.text(BillColumn::TemplateName), kTransferCheque);
    EXPECT_EQ(r.text(BillColumn::Number), QStringLiteral("02468135"));
    EXPECT_EQ(r.text(BillColumn::Status), QStringLiteral("已用"));
    EXPECT_EQ(r.text(BillColumn::Currency), QStringLiteral("美元"));
    EXPECT_EQ(r.text(BillColumn::Amount), QStringLiteral("1234.56"));
    EXPECT_EQ(r.text(BillColumn::Date), QStringLiteral("2026-03-05"));
    EXPECT_EQ(r.text(BillColumn::Payee), QStringLiteral("O'Brien 上海贸易有限公司"));
    EXPECT_EQ(r.text(BillColumn::Drawer), QStringLiteral("北京恒远贸易有限公司"));
    EXPECT_EQ(r.text(BillColumn::DrawerBank), QStringLiteral("中国工商银行北京朝阳支行"));
    EXPECT_EQ(r.text(BillColumn::DrawerAccount), QStringLiteral("0200001009200012345"));
    EXPECT_EQ(r.text(BillColumn::Password), QStringLiteral("3527194680235164"));
    EXPECT_EQ(r.text(BillColumn::Purpose), QStringLiteral("货款"));
    EXPECT_EQ(r.text(BillColumn::Remark), QStringLiteral("合同HD-031\n第二批"));
    EXPECT_EQ(r.text(BillColumn::custom(1)), QStringLiteral("财务部"));
    EXPECT_EQ(r.text(BillColumn::custom(3)), QStringLiteral("王经理"));
    EXPECT_FALSE(r.has(BillColumn::custom(4)) && !r.text(BillColumn::custom(4)).isEmpty());
    w->close();

    // A fresh window on the other template opens the row as issued.
    auto again = openCheque();
    ASSERT_TRUE(again->chooseTemplate(kCashCheque));
    ASSERT_TRUE(again->BrowseOldCheck(kTransferCheque, QString::number(serial)));
    EXPECT_EQ(again->templateListText(), kTransferCheque);
    EXPECT_EQ(again->serial(), serial);
    EXPECT_TRUE(again->isSaved());
    EXPECT_TRUE(again->isHistory());
    EXPECT_TRUE(again->command(QStringLiteral("复制(&C)"))->isEnabled());
    EXPECT_EQ(again->windowTitle(), QStringLiteral("支票(通用转账支票)-ID=%1[历史]").arg(serial));
    EXPECT_EQ(again->fieldText(QStringLiteral("zdOutComp")), QStringLiteral("北京恒远贸易有限公司"));
    EXPECT_EQ(again->fieldText(QStringLiteral("zdOutBank")), QStringLiteral("中国工商银行北京朝阳支行"));
    EXPECT_EQ(again->fieldText(QStringLiteral("zdOutBankAcct")), QStringLiteral("0200001009200012345"));
    EXPECT_EQ(again->fieldText(QStringLiteral("zdInComp")), QStringLiteral("O'Brien 上海贸易有限公司"));
    EXPECT_EQ(again->fieldText(QStringLiteral("cgInComp")), QStringLiteral("O'Brien 上海贸易有限公司"));
    EXPECT_EQ(again->fieldText(QStringLiteral("zdYT")), QStringLiteral("货款"));
    EXPECT_EQ(again->fieldText(QStringLiteral("cgYT")), QStringLiteral("货款"));
    EXPECT_EQ(again->fieldText(QStringLiteral("zdZFMM")), QStringLiteral("3527194680235164"));
    EXPECT_EQ(again->fieldText(QStringLiteral("zdRemark")), QStringLiteral("合同HD-031\n第二批"));
    EXPECT_EQ(again->fieldText(QStringLiteral("zdPJBH")), QStringLiteral("02468135"));
    EXPECT_EQ(again->billDate(), QDate(2026, 3, 5));
    EXPECT_EQ(again->fieldText(QStringLiteral("zdNianYueRi")), QStringLiteral("2026-03-05"));
    EXPECT_EQ(again->moneyName(), QStringLiteral("美元"));
    EXPECT_EQ(again->amountText(), QStringLiteral("1234.56"));
    EXPECT_EQ(again->fieldText(QStringLiteral("zdJEDX")), QStringLiteral("美元壹仟贰佰叁拾肆元伍角陆分"));
    EXPECT_EQ(again->fieldText(QStringLiteral("zdJEXX")), QStringLiteral("US$1,234.56"));
    EXPECT_EQ(again->fieldText(QStringLiteral("zdDef1")), QStringLiteral("财务部"));
    EXPECT_EQ(again->fieldText(QStringLiteral("zdDef3")), QStringLiteral("王经理"));

    // An issued cheque is not saved over from the button.
    alerts.clear();
    EXPECT_EQ(again->saveCommand(), BillSaveResult::Declined);
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("历史单据不能保存，请点击[复制]后,再保存为新单据！")));
    // Copy makes it a new bill that appends a row.
    again->copyBill();
    EXPECT_EQ(again->serial(), -1);
    EXPECT_EQ(again->fieldText(QStringLiteral("zdPJBH")), QString());
    EXPECT_EQ(again->windowTitle(), QStringLiteral("支票(通用转账支票)-ID=-1[已复制保存过的单据为一张新单]"));
    EXPECT_EQ(again->saveCommand(), BillSaveResult::Written);
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("新支票保存成功！ ")));
    EXPECT_EQ(rowCount(), 2);
}

TEST_F(ChequeSaveTest, AnAmountStillBeingTypedIsCommittedBeforePrintAndSave)
{
    auto w = openCheque();
    fillCheque(*w);  // 1234.56
    typeAmount(*w, QStringLiteral("12.345"));
    w->command(QStringLiteral("打印并保存"))->trigger();
    const QStringList texts = printed(output);  // one amount everywhere, rounded once
    for (const char *shown : {"￥12.35", "壹拾贰元叁角伍分", "3", "5"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(shown))) << shown;
    for (const char *stale : {"12.345", "壹仟贰佰叁拾肆元伍角陆分", "4"})
        EXPECT_FALSE(texts.contains(QString::fromUtf8(stale))) << stale;
    EXPECT_EQ(row(w->lastSavedSerial()).text(BillColumn::Amount), QStringLiteral("12.35"));
}

TEST_F(ChequeSaveTest, ARefusedAmountStopsSavePrintCopyAndConversionUntilPutBack)
{
    auto w = openCheque();
    fillCheque(*w);
    ASSERT_EQ(w->save(), BillSaveResult::Written);
    QLineEdit *input = typeAmount(*w, QStringLiteral("1000000000"));
    pressReturn(input);
    alerts.clear();
    EXPECT_EQ(w->saveCommand(), BillSaveResult::Failed);
    EXPECT_FALSE(w->printOne());
    w->copyBill();
    w->command(QStringLiteral("转进账单(&T)"))->trigger();
    // Each said the refusal again, and nothing else happened.
    EXPECT_EQ(alerts.messages(), QStringList(4, QStringLiteral("金额值必须介于0~1,000,000,000之间！")));
    EXPECT_EQ(output.begins, 0);
    EXPECT_EQ(w->serial(), w->lastSavedSerial());
    EXPECT_EQ(row(w->serial()).text(BillColumn::Amount), QStringLiteral("1234.56"));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);  // puts 1234.56 back
    QApplication::sendEvent(input, &escape);
    EXPECT_TRUE(w->printOne());
}

TEST_F(ChequeSaveTest, SavingAStoredBillEditsItsRowAndAHistoryBillAsksFirst)
{
    auto w = openCheque();
    fillCheque(*w);
    ASSERT_EQ(w->saveCommand(), BillSaveResult::Written);
    const int serial = w->serial();
    EXPECT_EQ(w->saveCommand(), BillSaveResult::AlreadySaved);
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("没有改动,无需保存~")));
    EXPECT_EQ(w->save(), BillSaveResult::AlreadySaved);
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("已经保存过了！")));

    w->setJEXX(QStringLiteral("99"));
    alerts.clear();
    ASSERT_EQ(w->saveCommand(), BillSaveResult::Written);
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("支票修改保存成功（要修改成新支票请先点击【复制】按钮）！ ")));
    EXPECT_EQ(w->serial(), serial);
    EXPECT_EQ(rowCount(), 1);
    EXPECT_EQ(row(serial).text(BillColumn::Amount), QStringLiteral("99"));

    // Opened from history, an edited cheque is saved as a new one only
    // after the user agrees, with today's date when asked.
    w->BrowseOldCheck(kTransferCheque, QString::number(serial));
    ASSERT_TRUE(w->isHistory());
    w->setYongTu(QStringLiteral("工资"));
    alerts.answerNext(AlertAnswer::No);
    EXPECT_EQ(w->save(), BillSaveResult::Declined);
    EXPECT_EQ(rowCount(), 1);
    alerts.answerNext(AlertAnswer::Yes);
    alerts.answerNext(AlertAnswer::Yes);
    ASSERT_EQ(w->save(), BillSaveResult::Written);
    EXPECT_NE(w->serial(), serial);
    EXPECT_EQ(rowCount(), 2);
    EXPECT_EQ(row(w->serial()).date(BillColumn::Date), QDate::currentDate());
    EXPECT_EQ(row(serial).text(BillColumn::Purpose), QStringLiteral("货款"));
}

TEST_F(ChequeSaveTest, AVoidChequeIsNotSavedOver)
{
    auto w = openCheque();
    fillCheque(*w);
    ASSERT_EQ(w->save(), BillSaveResult::Written);
    const int serial = w->serial();
    // The history window voids it meanwhile.
    ASSERT_TRUE(db().exec(QStringLiteral("update DataZPTable set 票据状态='作废' where 流水号=?"), {serial}));
    w->setJEXX(QStringLiteral("777"));
    alerts.clear();
    EXPECT_EQ(w->saveCommand(), BillSaveResult::Failed);
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_EQ(alerts.alerts()[0].message, QStringLiteral("支票已经作废,保存失败！"));
    EXPECT_EQ(alerts.alerts()[0].caption, QStringLiteral("提示"));
    const BillRecord r = row(serial);
    EXPECT_EQ(r.text(BillColumn::Status), QStringLiteral("作废"));
    EXPECT_EQ(r.text(BillColumn::Amount), QStringLiteral("1234.56"));
    EXPECT_FALSE(w->isSaved());

    // Closing and answering Yes keeps the window open: what was typed stays.
    alerts.answerNext(AlertAnswer::Yes);
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("是否保存该支票？")));
}

TEST_F(ChequeSaveTest, ARecordedNumberIsCompletedByTheNextSaveAndLeavesTheList)
{
    const int recorded = recordNumber(QStringLiteral("10203001"), kCashCheque, QStringLiteral("农业银行某某支行"),
                                      QStringLiteral("6228001"));
    recordNumber(QStringLiteral("10203002"), kCashCheque, QStringLiteral("农业银行某某支行"), QStringLiteral("6228001"));
    auto w = openCheque();
    EXPECT_EQ(w->offeredNumbers(), (QStringList{QStringLiteral("10203001"), QStringLiteral("10203002")}));

    w->setFieldText(QStringLiteral("zdPJBH"), QStringLiteral("10203001"));
    w->numberPicked(QStringLiteral("10203001"));
    EXPECT_EQ(w->fieldText(QStringLiteral("zdOutBank")), QStringLiteral("农业银行某某支行"));
    EXPECT_EQ(w->fieldText(QStringLiteral("zdOutBankAcct")), QStringLiteral("6228001"));
    EXPECT_EQ(w->templateListText(), kCashCheque);
    EXPECT_EQ(w->serial(), recorded);

    w->setInComp(QStringLiteral("收款单位甲"));
    w->setJEXX(QStringLiteral("300"));
    ASSERT_EQ(w->saveCommand(), BillSaveResult::Written);
    EXPECT_EQ(w->serial(), recorded);
    EXPECT_EQ(rowCount(), 2);
    const BillRecord r = row(recorded);
    EXPECT_EQ(r.text(BillColumn::Status), QStringLiteral("已用"));
    EXPECT_EQ(r.text(BillColumn::Amount), QStringLiteral("300"));
    EXPECT_EQ(r.text(BillColumn::Payee), QStringLiteral("收款单位甲"));
    EXPECT_EQ(w->offeredNumbers(), QStringList{QStringLiteral("10203002")});
    EXPECT_EQ(w->fieldText(QStringLiteral("zdPJBH")), QStringLiteral("10203001"));

    // A number issued before and recorded again: the recorded row is the
    // one that is completed, the issued one stays as it is.
    const int again = recordNumber(QStringLiteral("10203001"), kCashCheque, QStringLiteral("另一银行"),
                                   QStringLiteral("999"));
    w->newBill();
    w->numberPicked(QStringLiteral("10203001"));
    EXPECT_EQ(w->serial(), again);
}

TEST_F(ChequeSaveTest, ARecordedNumberPickedAtTwoDesksIsIssuedByTheFirstSaveOnly)
{
    const int recorded = recordNumber(QStringLiteral("10203001"), kTransferCheque, QStringLiteral("农业银行某某支行"),
                                      QStringLiteral("6228001"));
    // Desk B: a second copy of the program on the same data.
    std::unique_ptr<AppContext> deskB =
        AppContext::open(DataRoot(root.path()), nullptr, root.path() + QStringLiteral("/desk-b.conf"));
    ASSERT_TRUE(deskB);
    auto a = openCheque();
    TfmCheckZP b(*deskB, host());
    b.setPrintOutput(&output);
    for (TfmCheckZP *w : {a.get(), &b}) {
        w->setFieldText(QStringLiteral("zdPJBH"), QStringLiteral("10203001"));
        w->numberPicked(QStringLiteral("10203001"));
        ASSERT_EQ(w->serial(), recorded);
    }
    a->setInComp(QStringLiteral("收款单位甲"));
    a->setJEXX(QStringLiteral("300"));
    ASSERT_EQ(a->saveCommand(), BillSaveResult::Written);

    b.setInComp(QStringLiteral("O'Brien 贸易"));
    b.setJEXX(QStringLiteral("450"));
    alerts.clear();
    EXPECT_EQ(b.saveCommand(), BillSaveResult::Failed);
    EXPECT_EQ(alerts.messages(), QStringList{QStringLiteral("票据号码“10203001”已被其他用户使用，保存失败！")});
    EXPECT_FALSE(b.isSaved());
    EXPECT_EQ(b.fieldText(QStringLiteral("zdInComp")), QStringLiteral("O'Brien 贸易"));
    const BillRecord r = row(recorded);
    EXPECT_EQ(r.text(BillColumn::Payee), QStringLiteral("收款单位甲"));
    EXPECT_EQ(r.text(BillColumn::Amount), QStringLiteral("300"));
    EXPECT_EQ(rowCount(), 1);

    // Desk A goes on editing its own cheque: no longer a recorded number.
    a->setJEXX(QStringLiteral("310"));
    EXPECT_EQ(a->saveCommand(), BillSaveResult::Written);
    EXPECT_EQ(row(recorded).text(BillColumn::Amount), QStringLiteral("310"));
}

TEST_F(ChequeSaveTest, APrintThatDidNotHappenSavesNothing)
{
    ctx().popPrinterDialog = true;
    output.dialogAnswer = false;  // the user cancels the printer dialog
    auto w = openCheque();
    fillCheque(*w);
    EXPECT_EQ(w->printAndSave(), BillSaveResult::NotPrinted);
    EXPECT_EQ(rowCount(), 0);
    EXPECT_EQ(w->fieldText(QStringLiteral("zdPJBH")), QStringLiteral("02468135"));
}

TEST_F(ChequeSaveTest, RepeatedPrintingPrintsPagesOfOneDocument)
{
    auto w = openCheque();
    fillCheque(*w);
    valueAnswer = QStringLiteral("3");
    EXPECT_EQ(w->repeatPrint(), 3);
    EXPECT_EQ(output.begins, 1);
    EXPECT_EQ(output.pages, 3);
    valueAnswer = QStringLiteral("x");
    EXPECT_EQ(w->repeatPrint(), 0);
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("输入错误的数字！")));
}

TEST_F(ChequeSaveTest, RowRecordedButUnusedOpensAsANewBill)
{
    const int serial = recordNumber(QStringLiteral("555"), kTransferCheque, QStringLiteral("银行"), QStringLiteral("1"));
    auto w = openCheque();
    w->BrowseOldCheck(kTransferCheque, QString::number(serial));
    EXPECT_FALSE(w->isSaved());
    EXPECT_FALSE(w->isHistory());
    EXPECT_FALSE(w->command(QStringLiteral("复制(&C)"))->isEnabled());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("支票(通用转账支票)-ID=%1[新]").arg(serial));
    // The recorded amount "0" leaves the amount fields empty.
    EXPECT_EQ(w->fieldText(QStringLiteral("zdJEDX")), QString());
}

TEST_F(ChequeSaveTest, NewBillKeepsDrawerAndNumberButEmptiesTheRest)
{
    auto w = openCheque();
    fillCheque(*w);
    ASSERT_EQ(w->save(), BillSaveResult::Written);
    w->newBill();
    EXPECT_EQ(w->serial(), -1);
    EXPECT_EQ(w->fieldText(QStringLiteral("zdInComp")), QString());
    EXPECT_EQ(w->fieldText(QStringLiteral("zdRemark")), QString());
    EXPECT_EQ(w->fieldText(QStringLiteral("zdJEDX")), QString());
    EXPECT_EQ(w->fieldText(QStringLiteral("zdYT")), QString());
    EXPECT_EQ(w->fieldText(QStringLiteral("cgYT")), QString());
    EXPECT_EQ(w->billDate(), QDate::currentDate());
    EXPECT_EQ(w->fieldText(QStringLiteral("zdOutComp")), QStringLiteral("北京恒远贸易有限公司"));
    EXPECT_EQ(w->fieldText(QStringLiteral("zdPJBH")), QStringLiteral("02468135"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("支票(通用转账支票)-ID=-1[新建]"));
    EXPECT_FALSE(w->command(QStringLiteral("复制(&C)"))->isEnabled());
}

TEST_F(ChequeSaveTest, CloseAsksOnlyForAnUnsavedChequeWithAnAmount)
{
    {
        auto w = openCheque();
        EXPECT_TRUE(w->close());  // starting text, no capitals
        EXPECT_TRUE(alerts.alerts().empty());
    }
    {
        auto w = openCheque();
        w->setJEXX(QStringLiteral("12"));
        alerts.answerNext(AlertAnswer::No);
        EXPECT_TRUE(w->close());
        ASSERT_EQ(alerts.alerts().size(), 1u);
        EXPECT_EQ(alerts.alerts()[0].caption, QStringLiteral("关闭票据"));
        EXPECT_EQ(rowCount(), 0);
    }
    auto w = openCheque();
    w->setJEXX(QStringLiteral("12"));
    alerts.answerNext(AlertAnswer::Yes);
    EXPECT_TRUE(w->close());
    EXPECT_EQ(rowCount(), 1);
}

} // namespace
} // namespace billprint::test
