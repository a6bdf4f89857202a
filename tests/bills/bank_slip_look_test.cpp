// What the clerk sees on the two bank slips: the windows painted with
// realistic values, every field over its box of the form picture. With
// BILLPRINT_SHOT_DIR set the pictures are kept there as deposit.png and
// cashslip.png for a look by eye.

#include "bills/ui/tfm_check_jkd.h"
#include "bills/ui/tfm_check_jzd.h"
#include "cheque_fixtures.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QImage>
#include <QLabel>

namespace billprint::test {
namespace {

using BankSlipLookTest = ChequeTest;

void expectOnPicture(TfmBillBase &w, const QStringList &names, const QString &shotName)
{
    w.datePicker()->setDate(QDate(2026, 3, 5));
    w.setJEXX(QStringLiteral("1286500"));
    w.show();
    QApplication::processEvents();
    const QImage shot = w.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    const QRect picture = w.pictureLabel()->geometry();
    for (const QString &name : names) {
        QWidget *f = w.field(name);
        ASSERT_TRUE(f && f->isVisible()) << name.toStdString();
        EXPECT_TRUE(picture.contains(f->geometry())) << name.toStdString();
    }
    const QString folder = qEnvironmentVariable("BILLPRINT_SHOT_DIR");
    if (!folder.isEmpty())
        shot.save(QDir(folder).filePath(shotName));
}

TEST_F(BankSlipLookTest, DepositSlipFieldsSitOnTheirBoxes)
{
    TfmCheckJZD w(ctx(), host());
    TPerson drawer;
    drawer.setFullName(QStringLiteral("北京恒远贸易有限公司"));
    drawer.setBank(QStringLiteral("中国工商银行北京朝阳支行"));
    drawer.setAccount(QStringLiteral("0200001009200012345"));
    w.setSender(drawer);
    w.setInComp(QStringLiteral("上海华东电子科技有限公司"));
    w.setInBank(QStringLiteral("招商银行上海分行"));
    w.setInBankAcct(QStringLiteral("6226090212345678"));
    w.setPJZLei(QStringLiteral("支票"));
    w.setPJZShu(QStringLiteral("1"));
    w.setPJHMa(QStringLiteral("02468135"));
    expectOnPicture(w,
                    {"zdNian", "zdOutComp", "zdInComp", "zdInBankAcct", "zdJEDX", "zdYY", "zdF", "zdPJZL", "cgNian",
                     "cgOutComp", "cgInComp", "cgYY", "cgF", "cgPJHM"},
                    QStringLiteral("deposit.png"));
    EXPECT_EQ(w.field(QStringLiteral("cgYY"))->y(), w.field(QStringLiteral("cgF"))->y());
}

TEST_F(BankSlipLookTest, CashSlipFieldsSitOnTheirBoxes)
{
    TfmCheckJKD w(ctx(), host());
    w.setInComp(QStringLiteral("上海华东电子科技有限公司"));
    w.setInBank(QStringLiteral("招商银行上海分行"));
    w.setInBankAcct(QStringLiteral("6226090212345678"));
    w.setFieldText(QStringLiteral("zdInContactor"), QStringLiteral("张三"));
    w.setFieldText(QStringLiteral("zdYT"), QStringLiteral("营业款"));
    expectOnPicture(w, {"zdNian", "zdInComp", "zdInBank", "zdInBankAcct", "zdJEDX", "zdYY", "zdF"},
                    QStringLiteral("cashslip.png"));
}

} // namespace
} // namespace billprint::test
