// The amount input on a bill window: entering the figures or capitals
// opens the floating input over them, the key filter, committing, the
// currency list and the option boxes, and a refused amount.
#include "bills/amount_entry.h"
#include "bills/ui/amount_entry_controller.h"
#include "layout_fixtures.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>

using namespace billprint;
using namespace billprint::test;

namespace {

QString codeOf(const QString &name)
{
    return name == "人民币" ? QString("￥") : name == "美元" ? QString("US$") : QString();
}

// The amount part of a cheque window: the picture panel with the fields,
// and the option bar below it.
struct ChequeWindow
{
    QWidget window;
    QWidget *panel = new QWidget(&window);
    QLineEdit *input = edit("inputJEXX", {0, 0, 10, 10});
    QLineEdit *figures = edit("zdJEXX", {100, 50, 120, 20});
    QLineEdit *stub = edit("cgJEXX", {10, 50, 80, 20});
    QLineEdit *capitals = edit("zdJEDX", {100, 80, 300, 22});
    std::vector<QLineEdit *> boxes;
    QComboBox *currency = new QComboBox(&window);
    QCheckBox *withCode = option("cfgJEXXWithMoneyCode", true);
    QCheckBox *withName = option("cfgJEDXWithMoneyName", true);
    QCheckBox *rmb = option("cfgJEDXRMBChecked", false);
    QCheckBox *noSheep = option("cfgNoPrtSheep", false);

    explicit ChequeWindow(bool stubBoxes = false)
    {
        window.resize(640, 320);
        panel->setGeometry(0, 0, 600, 200);
        for (int i = 0; i < kDigitBoxCount; ++i) {
            boxes.push_back(edit(digitBoxNames()[i].toUtf8().constData(), {300 + 16 * i, 20, 14, 18}));
            if (stubBoxes)
                edit(("cg" + digitBoxNames()[i].mid(2)).toUtf8().constData(), {300 + 16 * i, 160, 14, 18});
        }
        currency->setObjectName("cfgMoneyType");
        currency->addItems({"人民币", "美元"});
        currency->setGeometry(10, 280, 100, 22);
    }
    QLineEdit *edit(const char *name, QRect box)
    {
        auto *e = new QLineEdit(panel);
        e->setObjectName(name);
        e->setGeometry(box);
        return e;
    }
    QCheckBox *option(const char *name, bool on)
    {
        auto *c = new QCheckBox(&window);
        c->setObjectName(name);
        c->setChecked(on);
        return c;
    }
    QString digits() const
    {
        QStringList texts;
        for (QLineEdit *b : boxes)
            texts << (b->text().isEmpty() ? "_" : b->text());
        return texts.join(' ');
    }
    QLineEdit *find(const char *name) { return window.findChild<QLineEdit *>(name); }
};

class AmountControllerTest : public ::testing::Test
{
protected:
    AmountControllerTest() : controller(codeOf, &w.window) {}

    // Types an amount into the open input and presses Enter.
    void enterAmount(const QString &text)
    {
        controller.beginInput(w.figures);
        w.input->selectAll();
        typeText(w.input, text);
        pressKey(w.input, Qt::Key_Return, "\r");
    }

    AlertRecorder alerts;
    ChequeWindow w;
    AmountEntryController controller;
};

} // namespace

TEST_F(AmountControllerTest, EnteringTheFiguresOrCapitalsOpensTheInputOverThem)
{
    EXPECT_TRUE(w.input->isHidden());
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(w.capitals, &press);
    EXPECT_TRUE(controller.isEditing());
    EXPECT_EQ(w.input->geometry(), w.capitals->geometry());

    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(w.figures, &focus);
    EXPECT_EQ(w.input->geometry(), w.figures->geometry());

    w.input->setText("12.5");
    controller.beginInput(w.figures);
    EXPECT_EQ(w.input->selectedText(), "12.5");
}

TEST_F(AmountControllerTest, TheKeyFilterRefusesLettersFullWidthBlanksAndMinus)
{
    controller.beginInput(w.figures);
    const std::pair<int, QString> refused[] = {
        {Qt::Key_A, "a"}, {Qt::Key_Z, "Z"}, {Qt::Key_1, QString(QChar(0xFF11))}, {Qt::Key_Space, " "},
        {Qt::Key_Minus, "-"}, {0, "元"}};
    for (const auto &[key, text] : refused) {
        alerts.clear();
        pressKey(w.input, key, text);
        EXPECT_EQ(w.input->text(), "") << text.toStdString();
        ASSERT_EQ(alerts.alerts().size(), 1u) << text.toStdString();
        EXPECT_EQ(alerts.alerts()[0].message,
                  "请输入合法的数值，全角的数字、字母、标点符号可不行哦\n如果打开了全角，请shift+空格键切换或者试试小键盘吧~");
    }
    alerts.clear();
    typeText(w.input, "1,234.5");
    EXPECT_EQ(w.input->text(), "1,234.5");
    pressKey(w.input, Qt::Key_Backspace, "\b");
    pressKey(w.input, Qt::Key_Left);
    pressKey(w.input, Qt::Key_Delete, QString(QChar(127)));
    EXPECT_EQ(w.input->text(), "1,234");
    EXPECT_TRUE(alerts.alerts().empty());
    // The figures follow the typing before anything is committed.
    EXPECT_EQ(w.figures->text(), "1,234");
}

TEST_F(AmountControllerTest, EnterCommitsTheCleanedAmountIntoEveryField)
{
    enterAmount("1,234.56");
    EXPECT_TRUE(w.input->isHidden());
    EXPECT_EQ(w.input->text(), "1234.56");
    EXPECT_EQ(controller.amountText(), "1234.56");
    EXPECT_EQ(w.figures->text(), "￥1,234.56");
    EXPECT_EQ(w.stub->text(), "￥1,234.56");
    EXPECT_EQ(w.capitals->text(), "壹仟贰佰叁拾肆元伍角陆分");
    EXPECT_EQ(w.digits(), "_ _ _ _ ￥ 1 2 3 4 5 6");
    EXPECT_TRUE(alerts.alerts().empty());

    enterAmount("0");
    EXPECT_EQ(w.input->text(), "");
    EXPECT_EQ(w.figures->text(), "");
    EXPECT_EQ(w.stub->text(), "");
    EXPECT_EQ(w.capitals->text(), "");
    EXPECT_EQ(w.digits(), "_ _ _ _ _ _ _ _ _ _ _");
}

TEST_F(AmountControllerTest, LeavingTheInputCommitsToo)
{
    controller.beginInput(w.figures);
    typeText(w.input, "88");
    QFocusEvent leave(QEvent::FocusOut, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(w.input, &leave);
    EXPECT_TRUE(w.input->isHidden());
    EXPECT_EQ(w.figures->text(), "￥88.00");

    // A context menu taking the focus is not leaving.
    controller.beginInput(w.figures);
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(w.input, &popup);
    EXPECT_TRUE(controller.isEditing());
}

TEST_F(AmountControllerTest, ARefusedAmountKeepsWhatWasTypedAndTheFiguresThatStand)
{
    enterAmount("12");
    alerts.clear();
    enterAmount("1.2.3");
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_EQ(alerts.alerts()[0].message, "金额只能为数值，例如：123.50");
    EXPECT_EQ(alerts.alerts()[0].caption, "金额输入");
    EXPECT_TRUE(controller.isEditing());
    EXPECT_EQ(w.input->text(), "1.2.3");
    // The figures do not show a text the capitals and boxes disagree with.
    EXPECT_EQ(w.figures->text(), "￥12.00");
    EXPECT_EQ(w.capitals->text(), "壹拾贰元整");

    alerts.clear();
    w.input->selectAll();
    typeText(w.input, "1000000000");
    pressKey(w.input, Qt::Key_Return, "\r");
    EXPECT_TRUE(alerts.sawMessage("金额值必须介于0~1,000,000,000之间！"));
    EXPECT_EQ(w.figures->text(), "￥12.00");
}

TEST_F(AmountControllerTest, ARefusedTextIsNeverTheAmountUntilPutBack)
{
    enterAmount("12");
    controller.beginInput(w.figures);
    w.input->insert("1e3");  // pasted past the key filter: refused, not read as 13
    pressKey(w.input, Qt::Key_Return, "\r");
    EXPECT_EQ(controller.amountText(), "12");
    EXPECT_FALSE(controller.commitPending());
    pressKey(w.input, Qt::Key_Escape);
    EXPECT_EQ(w.input->text(), "12");
    EXPECT_TRUE(controller.commitPending());
}

TEST_F(AmountControllerTest, TheRoundedAmountAgreesEverywhere)
{
    enterAmount("12.345");
    EXPECT_EQ(w.figures->text(), "￥12.35");
    EXPECT_EQ(w.capitals->text(), "壹拾贰元叁角伍分");
    EXPECT_EQ(w.digits(), "_ _ _ _ _ _ ￥ 1 2 3 5");
    EXPECT_EQ(controller.amountText(), "12.35");
}

TEST_F(AmountControllerTest, ChangingTheCurrencyReappliesTheAmount)
{
    enterAmount("1234.5");
    w.currency->setCurrentText("美元");
    EXPECT_EQ(controller.moneyName(), "美元");
    EXPECT_EQ(w.figures->text(), "US$1,234.50");
    EXPECT_EQ(w.capitals->text(), "美元壹仟贰佰叁拾肆元伍角整");
    EXPECT_EQ(w.digits(), "_ _ _ _ US$ 1 2 3 4 5 0");

    // Setting the currency by code selects it in the list.
    controller.setMoneyName("人民币");
    EXPECT_EQ(w.currency->currentText(), "人民币");
    EXPECT_EQ(controller.getMoneyCode(), "￥");
    controller.setJEXX(controller.amountText());
    EXPECT_EQ(w.capitals->text(), "壹仟贰佰叁拾肆元伍角整");
}

TEST_F(AmountControllerTest, ClickingAnOptionReappliesTheAmount)
{
    enterAmount("1234.5");
    w.noSheep->click();
    EXPECT_EQ(w.digits(), "_ _ _ _ _ 1 2 3 4 5 0");
    w.rmb->click();
    EXPECT_EQ(w.capitals->text(), "人民币壹仟贰佰叁拾肆元伍角整");
    w.withName->click();
    EXPECT_EQ(w.capitals->text(), "壹仟贰佰叁拾肆元伍角整");
    w.withCode->click();
    EXPECT_EQ(w.figures->text(), "1,234.50");
    EXPECT_EQ(w.stub->text(), "1,234.50");
}

TEST(AmountControllerFamilies, StubBoxesAndCurrencyNameFollowWhereTheWindowHasThem)
{
    AlertRecorder alerts;
    ChequeWindow w(true);
    auto *moneyName = w.edit("zdMoney", {0, 0, 60, 20});
    // A deposit slip has no code and name options: both always go in front.
    delete w.withCode;
    delete w.withName;
    AmountEntryController controller(codeOf, &w.window);
    controller.setMoneyName("美元");
    controller.setJEXX("0.5");
    EXPECT_EQ(w.figures->text(), "US$0.50");
    EXPECT_EQ(w.capitals->text(), "美元伍角整");
    EXPECT_EQ(w.find("cgY")->text(), "US$");
    EXPECT_EQ(w.find("cgJ")->text(), "5");
    EXPECT_EQ(w.find("cgF")->text(), "0");
    EXPECT_EQ(moneyName->text(), "美元");
    controller.setJEXX("");
    EXPECT_EQ(w.find("cgY")->text(), "");
    EXPECT_EQ(w.find("cgJ")->text(), "");
}

TEST(AmountControllerFamilies, AWindowWithoutAmountFieldsIsHarmless)
{
    QWidget window;
    AmountEntryController controller(codeOf, &window);
    EXPECT_EQ(controller.setJEXX("5"), AmountStatus::Applied);
    controller.inputJEXXExit();
    EXPECT_FALSE(controller.isEditing());
    EXPECT_EQ(controller.amountText(), "5");
}

TEST(AmountControllerOnScreen, EnterPutsTheInputAwayWithoutReopeningIt)
{
    AlertRecorder alerts;
    ChequeWindow w;
    AmountEntryController controller(codeOf, &w.window);
    w.window.show();
    w.window.activateWindow();
    QApplication::setActiveWindow(&w.window);
    QCoreApplication::processEvents();

    // Tabbing into the figures opens the input there with the focus.
    w.figures->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    ASSERT_TRUE(w.input->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), w.input);
    typeText(w.input, "66");
    pressKey(w.input, Qt::Key_Return, "\r");
    QCoreApplication::processEvents();
    // The focus moves on when the input hides; that must not reopen it.
    EXPECT_FALSE(w.input->isVisible());
    EXPECT_NE(QApplication::focusWidget(), w.input);
    EXPECT_EQ(w.figures->text(), "￥66.00");

    // A refused amount keeps the input open with the focus.
    w.capitals->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    ASSERT_TRUE(w.input->isVisible());
    w.input->selectAll();
    typeText(w.input, "6..6");
    pressKey(w.input, Qt::Key_Return, "\r");
    QCoreApplication::processEvents();
    EXPECT_TRUE(alerts.sawMessage("金额只能为数值，例如：123.50"));
    EXPECT_TRUE(w.input->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), w.input);
    EXPECT_EQ(w.figures->text(), "￥66.00");
}
