// The cheque window driven offscreen: opening on the default template,
// the amount spread over figures, digit boxes and capitals, the date in
// capitals, remembered options, template changes, tick boxes and the
// parties.

#include "addressbook/default_drawer.h"
#include "app/chinese_text.h"
#include "app/ini_file.h"
#include "templates/check_ini_cache.h"
#include "cheque_fixtures.h"
#include "templates/check_type.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace billprint::test {
namespace {

const QStringList kDigitBoxes{QStringLiteral("zdYY"), QStringLiteral("zdQW"), QStringLiteral("zdBW"),
                              QStringLiteral("zdSW"), QStringLiteral("zdWY"), QStringLiteral("zdQY"),
                              QStringLiteral("zdBY"), QStringLiteral("zdSY"), QStringLiteral("zdY"),
                              QStringLiteral("zdJ"),  QStringLiteral("zdF")};

QStringList digits(TfmBillBase &w)
{
    QStringList boxes;
    for (const QString &name : kDigitBoxes)
        boxes << w.fieldText(name);
    return boxes;
}

using ChequeWindowTest = ChequeTest;

TEST_F(ChequeWindowTest, OpensOnTheDefaultTemplateLaidOutOverItsPicture)
{
    auto w = openCheque();
    ASSERT_TRUE(w->isUsable());
    EXPECT_EQ(w->checkTypeId(), 1);
    EXPECT_EQ(ctx().currentCheckTypeId, 1);
    EXPECT_EQ(w->property("tag").toInt(), 1);
    EXPECT_EQ(w->templateListText(), kTransferCheque);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("支票(通用转账支票)-ID=-1"));
    EXPECT_EQ(w->serial(), -1);
    EXPECT_FALSE(w->command(QStringLiteral("复制(&C)"))->isEnabled());

    // Common templates first (default on top), then the catalogue tab.
    QStringList tabs;
    for (int i = 0; i < w->templateTabs()->count(); ++i)
        tabs << w->templateTabs()->tabText(i);
    EXPECT_EQ(tabs, (QStringList{kTransferCheque, kCashCheque, QStringLiteral("配置常用模板")}));
    EXPECT_EQ(w->templateTabs()->currentIndex(), 0);

    // The panel is the picture's size, the fields sit where the template says.
    EXPECT_EQ(w->billPanel()->size(), QSize(855, 304));
    EXPECT_FALSE(w->pictureLabel()->pixmap().isNull());
    EXPECT_EQ(w->field(QStringLiteral("zdJEDX"))->geometry(), QRect(300, 127, 228, 38));
    EXPECT_TRUE(w->isFieldShown(QStringLiteral("zdInComp")));
    EXPECT_FALSE(w->isFieldShown(QStringLiteral("zdJEXX")));  // the template hides the figures
    EXPECT_FALSE(w->isFieldShown(QStringLiteral("inputJEXX")));

    EXPECT_EQ(w->fieldText(QStringLiteral("zdInComp")), kPayeeStartText);
    EXPECT_EQ(w->payeeText(), QString());
    const QDate today = QDate::currentDate();
    // The delivered cheque templates date in capitals.
    EXPECT_EQ(w->fieldText(QStringLiteral("zdNian")), dateNumberToChinese(today.toString(QStringLiteral("yyyy"))));
    EXPECT_EQ(w->fieldText(QStringLiteral("zdNianYueRi")), today.toString(QStringLiteral("yyyy-MM-dd")));
    EXPECT_TRUE(alerts.alerts().empty()) << alerts.messages().join(QLatin1Char('|')).toStdString();
}

TEST_F(ChequeWindowTest, SizeLimitsFollowThePictureAndTheWorkArea)
{
    const BillWindowLimits roomy = BillWindowLimits::compute(QSize(855, 304), QSize(1400, 900), 100);
    EXPECT_EQ(roomy.minWidth, 855 + 15 + 8);
    EXPECT_EQ(roomy.maxWidth, 855 + 20);
    EXPECT_EQ(roomy.minHeight, 304 + 100 + 40);
    EXPECT_EQ(roomy.maxHeight, roomy.minHeight);
    EXPECT_EQ(roomy.height, 444);
    const BillWindowLimits cramped = BillWindowLimits::compute(QSize(855, 304), QSize(700, 380), 100);
    EXPECT_EQ(cramped.minWidth, 700 - 10 + 8);
    EXPECT_EQ(cramped.minHeight, 370);
    EXPECT_EQ(cramped.height, 370);
}

TEST_F(ChequeWindowTest, FamilyWithoutTemplatesClosesAsItOpens)
{
    ASSERT_TRUE(db().exec(
        QStringLiteral("update CKTypeTable set Visiable='停用隐藏', IsDefault='0' where TypeFirstName='支票'")));
    auto w = openCheque();
    EXPECT_FALSE(w->isUsable());
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("没有找到任何启用的【支票】模板！")));
}

TEST_F(ChequeWindowTest, AmountFillsFiguresDigitBoxesAndCapitals)
{
    auto w = openCheque();
    EXPECT_EQ(w->setJEXX(QStringLiteral("1234.56")), AmountStatus::Applied);
    EXPECT_EQ(text(*w, QStringLiteral("zdJEXX")), QStringLiteral("￥1,234.56"));
    EXPECT_EQ(text(*w, QStringLiteral("cgJEXX")), QStringLiteral("￥1,234.56"));
    EXPECT_EQ(text(*w, QStringLiteral("zdJEDX")), QStringLiteral("壹仟贰佰叁拾肆元伍角陆分"));
    EXPECT_EQ(digits(*w), (QStringList{"", "", "", "", QStringLiteral("￥"), "1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(w->amountText(), QStringLiteral("1234.56"));

    // Keeping 人民币 in front of the capitals is an option.
    w->option(QStringLiteral("cfgJEDXRMBChecked"))->click();
    EXPECT_EQ(text(*w, QStringLiteral("zdJEDX")), QStringLiteral("人民币壹仟贰佰叁拾肆元伍角陆分"));

    // A refused amount leaves every field as it was.
    EXPECT_EQ(w->setJEXX(QStringLiteral("1000000000")), AmountStatus::OutOfRange);
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("金额值必须介于0~1,000,000,000之间！")));
    EXPECT_EQ(text(*w, QStringLiteral("zdQY")), QStringLiteral("1"));

    // Zero empties them all, the stub copy included.
    w->setJEXX(QString());
    EXPECT_EQ(text(*w, QStringLiteral("zdJEDX")), QString());
    EXPECT_EQ(text(*w, QStringLiteral("cgJEXX")), QString());
    EXPECT_EQ(digits(*w).join(QString()), QString());
}

TEST_F(ChequeWindowTest, TypedAmountIsCommittedFromTheFloatingInput)
{
    auto w = openCheque();
    w->show();
    auto *capitals = w->field(QStringLiteral("zdJEDX"));
    click(capitals);
    auto *input = qobject_cast<QLineEdit *>(w->field(QStringLiteral("inputJEXX")));
    ASSERT_TRUE(input->isVisible());
    EXPECT_EQ(input->geometry(), capitals->geometry());
    type(input, QStringLiteral("8a8.5"));
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("请输入合法的数值")));
    pressReturn(input);
    EXPECT_FALSE(input->isVisible());
    EXPECT_EQ(text(*w, QStringLiteral("zdJEDX")), QStringLiteral("捌拾捌元伍角整"));
    EXPECT_EQ(text(*w, QStringLiteral("zdBY")), QStringLiteral("￥"));
    EXPECT_FALSE(w->isSaved());
}

TEST_F(ChequeWindowTest, DateInCapitalsFollowsTheOption)
{
    auto w = openCheque();
    w->option(QStringLiteral("cfgDateChinese"))->click();  // on in the delivered template
    w->datePicker()->setDate(QDate(2026, 3, 5));
    EXPECT_EQ(text(*w, QStringLiteral("zdNian")), QStringLiteral("2026"));
    EXPECT_EQ(text(*w, QStringLiteral("zdYue")), QStringLiteral("03"));
    w->option(QStringLiteral("cfgDateChinese"))->click();
    EXPECT_EQ(text(*w, QStringLiteral("zdNian")), QStringLiteral("贰零贰陆"));
    EXPECT_EQ(text(*w, QStringLiteral("zdYue")), QStringLiteral("零叁"));
    EXPECT_EQ(text(*w, QStringLiteral("zdRi")), QStringLiteral("零伍"));
    // The stub keeps digits.
    EXPECT_EQ(text(*w, QStringLiteral("cgNian")), QStringLiteral("2026"));
    EXPECT_EQ(text(*w, QStringLiteral("cgYue")), QStringLiteral("03"));
    EXPECT_EQ(text(*w, QStringLiteral("cgRi")), QStringLiteral("05"));
    EXPECT_EQ(text(*w, QStringLiteral("zdNianYueRi")), QStringLiteral("2026-03-05"));
    w->datePicker()->setDate(QDate(2026, 12, 10));
    EXPECT_EQ(text(*w, QStringLiteral("zdYue")), QStringLiteral("壹拾贰"));
    EXPECT_EQ(text(*w, QStringLiteral("zdRi")), QStringLiteral("零壹拾"));
    // The editor takes the dates a bill can carry, as the command does.
    EXPECT_EQ(w->datePicker()->minimumDate(), QDate(1900, 1, 1));
    EXPECT_EQ(w->datePicker()->maximumDate(), QDate(2099, 12, 31));
}

TEST_F(ChequeWindowTest, OptionsAreRememberedPerTemplate)
{
    ASSERT_TRUE(db().exec(QStringLiteral("delete from DMTable where DMName = 'cfgDateChinese'")));
    {
        auto w = openCheque();
        // Defaults with nothing stored.
        EXPECT_FALSE(w->option(QStringLiteral("cfgDateChinese"))->isChecked());
        EXPECT_TRUE(w->option(QStringLiteral("cfgJEXXWithMoneyCode"))->isChecked());
        EXPECT_FALSE(w->option(QStringLiteral("cfgPrintOutBank"))->isChecked());
        w->option(QStringLiteral("cfgDateChinese"))->click();
        w->option(QStringLiteral("cfgJEXXWithMoneyCode"))->click();
        w->option(QStringLiteral("cfgPrintOutBankAcct"))->click();
        w->option(QStringLiteral("cfgNoPrtJEDX"))->click();  // not remembered
        auto *currency = qobject_cast<QComboBox *>(w->field(QStringLiteral("cfgMoneyType")));
        currency->setCurrentIndex(currency->findText(QStringLiteral("美元")));
        w->rememberOptions();
        EXPECT_TRUE(alerts.sawMessage(QStringLiteral("打印勾选及选项已记住！")));
        EXPECT_EQ(ctx().settings().getCheckConfigByName(1, QStringLiteral("cfgDateChinese")), QStringLiteral("1"));
        EXPECT_EQ(ctx().settings().getCheckConfigByName(1, QStringLiteral("cfgJEXXWithMoneyCode")),
                  QStringLiteral("0"));
        EXPECT_EQ(ctx().settings().getCheckConfigByName(1, QStringLiteral("cfgDefaultMoney")), QStringLiteral("美元"));
        // The cache is rebuilt at once.
        EXPECT_EQ(CheckIniCache::checkConfig(w->checkIni(), QStringLiteral("cfgDateChinese")), QStringLiteral("1"));
        w->close();
    }
    auto w = openCheque();
    EXPECT_TRUE(w->option(QStringLiteral("cfgDateChinese"))->isChecked());
    EXPECT_FALSE(w->option(QStringLiteral("cfgJEXXWithMoneyCode"))->isChecked());
    EXPECT_TRUE(w->option(QStringLiteral("cfgPrintOutBankAcct"))->isChecked());
    EXPECT_FALSE(w->option(QStringLiteral("cfgNoPrtJEDX"))->isChecked());
    EXPECT_EQ(w->moneyName(), QStringLiteral("美元"));
    EXPECT_EQ(text(*w, QStringLiteral("zdNian")), dateNumberToChinese(QDate::currentDate().toString(QStringLiteral("yyyy"))));

    // The other template keeps its own (none stored: defaults).
    ASSERT_TRUE(w->chooseTemplate(kCashCheque));
    EXPECT_EQ(w->checkTypeId(), 2);
    EXPECT_FALSE(w->option(QStringLiteral("cfgDateChinese"))->isChecked());
    EXPECT_TRUE(w->option(QStringLiteral("cfgJEXXWithMoneyCode"))->isChecked());
    EXPECT_EQ(w->moneyName(), QStringLiteral("人民币"));
}

TEST_F(ChequeWindowTest, TemplateChangeKeepsTheBillAndSkipsAReloadOfTheSameTemplate)
{
    auto w = openCheque();
    w->setJEXX(QStringLiteral("50"));
    const qint64 picture = w->pictureLabel()->pixmap().cacheKey();
    w->templateChanged();  // the same template chosen again
    EXPECT_EQ(w->pictureLabel()->pixmap().cacheKey(), picture);

    w->templateTabs()->setCurrentIndex(1);  // the cash cheque's tab
    EXPECT_EQ(w->templateListText(), kCashCheque);
    EXPECT_EQ(w->checkTypeId(), 2);
    EXPECT_EQ(ctx().currentCheckTypeId, 2);
    EXPECT_NE(w->pictureLabel()->pixmap().cacheKey(), picture);
    EXPECT_EQ(text(*w, QStringLiteral("zdJEDX")), QStringLiteral("伍拾元整"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("支票(通用现金支票)-ID=-1"));

    // The last tab opens the catalogue and the strip returns to the template.
    w->templateTabs()->setCurrentIndex(2);
    EXPECT_EQ(commands, QStringList{QStringLiteral("票据模板管理（默认、显示、隐藏）")});
    EXPECT_EQ(w->templateTabs()->tabText(w->templateTabs()->currentIndex()), kCashCheque);
}

TEST_F(ChequeWindowTest, DoNotPrintOptionsHideTheirFieldsAlsoOverATemplateChange)
{
    auto w = openCheque();
    w->option(QStringLiteral("cfgNoPrtJEDX"))->click();
    w->option(QStringLiteral("cfgNoPrtDate"))->click();
    EXPECT_FALSE(w->isFieldShown(QStringLiteral("zdJEDX")));
    EXPECT_FALSE(w->isFieldShown(QStringLiteral("cgNian")));
    ASSERT_TRUE(w->chooseTemplate(kCashCheque));
    EXPECT_FALSE(w->isFieldShown(QStringLiteral("zdJEDX")));
    EXPECT_FALSE(w->isFieldShown(QStringLiteral("SelDate")));
    w->option(QStringLiteral("cfgNoPrtJEDX"))->click();
    EXPECT_TRUE(w->isFieldShown(QStringLiteral("zdJEDX")));
}

TEST_F(ChequeWindowTest, TemplateTickBoxesAreSavedAndLoadedByCaption)
{
    ASSERT_TRUE(db().exec(QStringLiteral("update CKTypeTable set CheckBoxs=? where CheckTypeID=1"),
                          {QStringLiteral("加急,背书,限额")}));
    auto w = openCheque();
    ASSERT_EQ(w->tickBoxes().size(), 3);
    EXPECT_EQ(w->tickBoxes().at(1)->objectName().toUpper(), QStringLiteral("DEFCHECK1"));
    EXPECT_EQ(w->tickBoxes().at(1)->text(), QStringLiteral("背书"));
    w->tickBoxes().at(1)->setChecked(true);
    EXPECT_EQ(w->getItemCheckTitle(), QStringLiteral("背书"));
    w->setJEXX(QStringLiteral("10"));
    ASSERT_EQ(w->save(), BillSaveResult::Written);
    EXPECT_EQ(row(w->serial()).text(BillColumn::Options), QStringLiteral("背书"));

    w->tickBoxes().at(0)->setChecked(true);
    w->tickBoxes().at(1)->setChecked(false);
    w->BrowseOldCheck(kTransferCheque, QString::number(w->serial()));
    EXPECT_FALSE(w->tickBoxes().at(0)->isChecked());
    EXPECT_TRUE(w->tickBoxes().at(1)->isChecked());
    EXPECT_FALSE(w->tickBoxes().at(2)->isChecked());
}

TEST_F(ChequeWindowTest, PartiesComeFromTheAddressBook)
{
    const TPerson own = addUnit(QStringLiteral("北京恒远贸易有限公司"), UnitKind::Own,
                                QStringLiteral("中国工商银行北京分行"), QStringLiteral("0200001"));
    const TPerson payee = addUnit(QStringLiteral("上海华东电子科技有限公司"), UnitKind::Counterparty,
                                  QStringLiteral("招商银行上海分行"), QStringLiteral("6200002"), QStringLiteral("hddz"));
    auto w = openCheque();

    // The drawer's frame: the address book in pick mode.
    picks.push_back(own);
    w->pickSender();
    EXPECT_EQ(pickRequests.value(0), QStringLiteral("我方单位/选取付款行"));
    EXPECT_EQ(text(*w, QStringLiteral("zdOutComp")), own.fullName());
    EXPECT_EQ(text(*w, QStringLiteral("zdOutBank")), own.bank());
    EXPECT_EQ(text(*w, QStringLiteral("zdOutBankAcct")), own.account());
    // Closing the chooser without a choice empties the drawer.
    w->pickSender();
    EXPECT_EQ(text(*w, QStringLiteral("zdOutComp")), QString());

    // Typing the drawer's name and leaving the field fills bank and account.
    w->setOutComp(QStringLiteral("  北京恒远贸易有限公司 "));
    w->drawerFieldLeft();
    EXPECT_EQ(text(*w, QStringLiteral("zdOutBankAcct")), own.account());

    // The payee by mnemonic code (Enter in the field).
    w->setInComp(QStringLiteral("hddz"));
    w->payeeCodeEntered();
    EXPECT_EQ(text(*w, QStringLiteral("zdInComp")), payee.fullName());
    EXPECT_EQ(text(*w, QStringLiteral("cgInComp")), payee.fullName());
    ASSERT_TRUE(w->receiver());
    EXPECT_EQ(w->receiver()->account(), payee.account());

    // Typing another name: the stub follows, and the chosen unit's account
    // does not stay behind under the new name.
    w->setInComp(QStringLiteral("杭州某某公司"));
    EXPECT_EQ(text(*w, QStringLiteral("cgInComp")), QStringLiteral("杭州某某公司"));
    ASSERT_TRUE(w->receiver());
    EXPECT_EQ(w->receiver()->fullName(), QStringLiteral("杭州某某公司"));
    EXPECT_EQ(w->receiver()->account(), QString());
    EXPECT_FALSE(w->receiver()->isStored());

    // "存收款人" hands the payee to the address book editor.
    storeSavedParties = false;
    w->savePayee();
    ASSERT_EQ(savedParties.size(), 1u);
    EXPECT_EQ(savedParties[0]->fullName(), QStringLiteral("杭州某某公司"));
    EXPECT_EQ(savedParties[0]->unitKind(), UnitKind::Counterparty);
}

TEST_F(ChequeWindowTest, DefaultDrawerFillsANewCheque)
{
    holdDefaultDrawer(ctx(), addUnit(QStringLiteral("默认出票单位"), UnitKind::Own, QStringLiteral("建设银行"),
                                     QStringLiteral("1100")));
    auto w = openCheque();
    EXPECT_EQ(text(*w, QStringLiteral("zdOutComp")), QStringLiteral("默认出票单位"));
    EXPECT_EQ(text(*w, QStringLiteral("zdOutBankAcct")), QStringLiteral("1100"));
}

TEST_F(ChequeWindowTest, DictionaryListsFillOnEntry)
{
    ASSERT_TRUE(db().exec(QStringLiteral("insert into DMTable (DMName, DMValue, CheckTypeID) values (?,?,?)"),
                          {QStringLiteral("自定义1"), QStringLiteral("项目甲"), 1}));
    auto w = openCheque();
    auto *purpose = qobject_cast<QComboBox *>(w->field(QStringLiteral("zdYT")));
    EXPECT_EQ(purpose->count(), 0);
    w->fillListOnEntry(QStringLiteral("zdYT"));
    EXPECT_GT(purpose->count(), 0);  // the shared 用途 entries
    auto *def1 = qobject_cast<QComboBox *>(w->field(QStringLiteral("zdDef1")));
    w->fillListOnEntry(QStringLiteral("zdDef1"));
    EXPECT_EQ(def1->itemText(0), QStringLiteral("项目甲"));
    // Purpose and its stub copy go together.
    purpose->setEditText(QStringLiteral("材料款"));
    EXPECT_EQ(text(*w, QStringLiteral("cgYT")), QStringLiteral("材料款"));
}

TEST_F(ChequeWindowTest, ToolBarSideAndPositionAreRemembered)
{
    {
        auto w = openCheque();
        w->show();
        EXPECT_EQ(w->command(QStringLiteral("下"))->text(), QStringLiteral("下"));
        w->toggleToolBarSide();
        EXPECT_TRUE(w->toolBarAtBottom());
        EXPECT_EQ(w->command(QStringLiteral("下"))->text(), QStringLiteral("上"));
        w->move(40, 30);
        w->close();
        EXPECT_EQ(ctx().currentCheckTypeId, -1);
    }
    EXPECT_EQ(ctx().config().readString(QStringLiteral("FMCHECKZP"), QStringLiteral("PositionBar")),
              QStringLiteral("bottom"));
    auto w = openCheque();
    EXPECT_TRUE(w->toolBarAtBottom());
    w->show();
    EXPECT_EQ(w->pos(), QPoint(40, 30));
}

TEST_F(ChequeWindowTest, CommandsOfTheFrameAreRunByTheirMenuTexts)
{
    auto w = openCheque();
    w->openHistory();
    w->wholePrintOffset();
    EXPECT_EQ(commands, (QStringList{QStringLiteral("支票管理(&Z)"), QStringLiteral("打印整体偏移调整(&M)")}));
}

} // namespace
} // namespace billprint::test
