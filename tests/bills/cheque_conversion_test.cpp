// "转进账单": a cheque carried into the deposit slip window.

#include "bills/ui/tfm_check_jzd.h"
#include "cheque_fixtures.h"

#include <QDateEdit>

namespace billprint::test {
namespace {

class ChequeConversionTest : public ChequeTest
{
protected:
    void SetUp() override
    {
        ChequeTest::SetUp();
        openBillWindow = [this](const QString &family) -> TfmBillBase * {
            opened << family;
            if (!deposit)
                deposit = std::make_unique<TfmCheckJZD>(ctx(), host());
            return deposit.get();
        };
    }

    std::unique_ptr<TfmCheckZP> filledCheque()
    {
        auto w = openCheque();
        w->setOutComp(QStringLiteral("北京恒远贸易有限公司"));
        w->setOutBank(QStringLiteral("工商银行朝阳支行"));
        w->setOutBankAcct(QStringLiteral("0200001"));
        w->setFieldText(QStringLiteral("zdPJBH"), QStringLiteral("02468135"));
        w->datePicker()->setDate(QDate(2026, 3, 5));
        w->setJEXX(QStringLiteral("1234.5"));
        return w;
    }

    QStringList opened;
    std::unique_ptr<TfmCheckJZD> deposit;
};

TEST_F(ChequeConversionTest, TheSlipGetsPartiesAmountChequeAndDate)
{
    const TPerson payee = addUnit(QStringLiteral("上海华东电子科技有限公司"), UnitKind::Counterparty,
                                  QStringLiteral("招商银行上海分行"), QStringLiteral("6200002"));
    const TPerson drawer = addUnit(QStringLiteral("北京恒远贸易有限公司"), UnitKind::Own,
                                   QStringLiteral("工商银行朝阳支行"), QStringLiteral("0200001"));
    auto w = filledCheque();
    // Typed with blanks around: the trimmed name is looked up.
    w->setInComp(QStringLiteral(" ") + payee.fullName() + QStringLiteral("  "));
    w->convertToDepositSlip();
    ASSERT_EQ(opened, QStringList{QStringLiteral("进账单")});
    ASSERT_TRUE(deposit);
    ASSERT_TRUE(deposit->receiver());
    EXPECT_EQ(w->fieldText(QStringLiteral("zdInComp")), payee.fullName());
    EXPECT_EQ(deposit->receiver()->id(), payee.id());
    EXPECT_EQ(w->receiver()->id(), payee.id());
    EXPECT_EQ(deposit->fieldText(QStringLiteral("zdInComp")), payee.fullName());
    // The drawer through its account.
    ASSERT_TRUE(deposit->sender());
    EXPECT_EQ(deposit->sender()->id(), drawer.id());
    EXPECT_EQ(deposit->fieldText(QStringLiteral("zdOutComp")), drawer.fullName());
    EXPECT_EQ(deposit->fieldText(QStringLiteral("zdOutBankAcct")), QStringLiteral("0200001"));
    EXPECT_TRUE(alerts.alerts().empty()) << alerts.messages().join(QLatin1Char('|')).toStdString();

    EXPECT_EQ(deposit->amountText(), QStringLiteral("1234.5"));
    EXPECT_EQ(deposit->fieldText(QStringLiteral("zdJEDX")), QStringLiteral("壹仟贰佰叁拾肆元伍角整"));
    for (const char *prefix : {"zd", "cg"}) {
        EXPECT_EQ(deposit->fieldText(QLatin1String(prefix) + QStringLiteral("PJZL")), QStringLiteral("支票"));
        EXPECT_EQ(deposit->fieldText(QLatin1String(prefix) + QStringLiteral("PJZS")), QStringLiteral("1"));
    }
    EXPECT_EQ(deposit->fieldText(QStringLiteral("zdPJHM")), QStringLiteral("02468135"));
    EXPECT_EQ(deposit->fieldText(QStringLiteral("cgPJHM")), QStringLiteral("02468135"));
    EXPECT_EQ(deposit->fieldText(QStringLiteral("cgOutComp")), drawer.fullName());
    EXPECT_EQ(deposit->billDate(), QDate(2026, 3, 5));
    EXPECT_FALSE(deposit->isLoading());
    EXPECT_FALSE(deposit->isSaved());
    EXPECT_EQ(deposit->serial(), -1);
}

TEST_F(ChequeConversionTest, AStartingTextPayeeGivesNoPayeeAndAMismatchedBankIsShown)
{
    addUnit(QStringLiteral("北京恒远贸易有限公司"), UnitKind::Own, QStringLiteral("建设银行"), QStringLiteral("0200001"));
    auto w = filledCheque();
    w->convertToDepositSlip();
    ASSERT_TRUE(deposit);
    EXPECT_FALSE(deposit->receiver());
    EXPECT_EQ(deposit->fieldText(QStringLiteral("zdInComp")), QString());
    EXPECT_TRUE(alerts.sawMessage(
        QStringLiteral("账号(0200001)的银行信息与填写的不一致，请核对单位账户相应资料.\n建设银行\n工商银行朝阳支行")));
}

TEST_F(ChequeConversionTest, AnUnknownAccountIsOfferedForTheAddressBook)
{
    {
        auto w = filledCheque();
        alerts.answerNext(AlertAnswer::No);
        w->convertToDepositSlip();
        EXPECT_TRUE(alerts.sawMessage(QStringLiteral("账号(0200001)没有单位账户的保存记录，是否要添加")));
        EXPECT_TRUE(savedParties.empty());
        EXPECT_FALSE(deposit->sender());
        EXPECT_EQ(deposit->fieldText(QStringLiteral("zdOutBank")), QStringLiteral("工商银行朝阳支行"));
        EXPECT_EQ(deposit->fieldText(QStringLiteral("zdOutBankAcct")), QStringLiteral("0200001"));
    }
    deposit.reset();
    auto w = filledCheque();
    alerts.answerNext(AlertAnswer::Yes);
    w->convertToDepositSlip();
    ASSERT_EQ(savedParties.size(), 1u);
    EXPECT_EQ(savedParties[0]->fullName(), QStringLiteral("北京恒远贸易有限公司"));
    EXPECT_EQ(savedParties[0]->unitKind(), UnitKind::Own);
    ASSERT_TRUE(deposit->sender());
    EXPECT_EQ(deposit->sender()->account(), QStringLiteral("0200001"));
}

TEST_F(ChequeConversionTest, AZeroChequeGivesEmptyAmountFields)
{
    auto w = filledCheque();
    w->setJEXX(QStringLiteral("0"));
    alerts.answerNext(AlertAnswer::No);
    w->convertToDepositSlip();
    EXPECT_EQ(deposit->fieldText(QStringLiteral("zdJEDX")), QString());
    EXPECT_EQ(deposit->fieldText(QStringLiteral("zdJEXX")), QString());
}

TEST_F(ChequeConversionTest, WithoutADepositSlipWindowTheUserIsTold)
{
    openBillWindow = nullptr;
    auto w = filledCheque();
    w->convertToDepositSlip();
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("进账单填开窗口无法打开！")));
}

} // namespace
} // namespace billprint::test
