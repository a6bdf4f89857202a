// Laying a bill panel out from the cache: positions, visibility, initial
// values by kind of control, names in any letter case, fields the window
// lacks, single-field refreshes and a failing catalogue.
#include "app/ini_file.h"
#include "templates/check_ini_cache.h"
#include "bills/ui/form_layout.h"
#include "layout_fixtures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace billprint;
using namespace billprint::test;

namespace {

// A cheque-like panel: the picture panel holds the fields.
struct Panel
{
    QWidget window;
    QWidget *panel = new QWidget(&window);
    QLineEdit *figures = make<QLineEdit>("zdJEXX");
    QComboBox *purpose = make<QComboBox>("zdYT");
    QComboBox *def1 = make<QComboBox>("zdDef1");
    QPlainTextEdit *remark = make<QPlainTextEdit>("zdRemark");
    QCheckBox *tick = make<QCheckBox>("DEFCHECK0");
    QLabel *text1 = make<QLabel>("zdTxt1");
    QLineEdit *hidden = make<QLineEdit>("zdHidden");
    QLineEdit *noRow = make<QLineEdit>("zdNoRow");

    Panel()
    {
        panel->setObjectName("bgPanel");
        purpose->setEditable(true);
        def1->addItems({"甲", "乙"});
        text1->setAutoFillBackground(true);
    }
    template <typename T> T *make(const char *name)
    {
        auto *w = new T(panel);
        w->setObjectName(QString::fromUtf8(name));
        w->setGeometry(1, 1, 5, 5);
        return w;
    }
};

class FormLayoutTest : public ::testing::Test
{
protected:
    FormLayoutTest()
    {
        t.addTemplate(5, "支票", "中行");
        for (const char *name : {"ZDJEXX", "ZDYT", "ZDDEF1", "ZDREMARK", "DEFCHECK0", "ZDTXT1", "ZDHIDDEN", "ZDNOROW",
                                 "ZDGHOST"})
            t.addField("支票", name);
        t.addBox(5, "ZDJEXX", 120, 44, 160, 20, 1);
        t.addBox(5, "ZDYT", 10, 60, 200, 22, 1, "货款");
        t.addBox(5, "ZDDEF1", 10, 90, 100, 22, 1, "乙");
        t.addBox(5, "ZDREMARK", 300, 100, 250, 60, 1, "第一行");
        t.addBox(5, "DEFCHECK0", 20, 200, 80, 18, 1, "0");
        t.addBox(5, "ZDTXT1", 400, 10, 90, 16, 1, "固定文字");
        t.addBox(5, "ZDHIDDEN", 50, 50, 50, 50, 0);
        t.addBox(5, "ZDGHOST", 1, 1, 1, 1, 1, "x");
    }

    std::unique_ptr<IniFile> open() { return CheckIniCache(t.context()).OpenCheckInif(5); }

    LayoutDb t;
    Panel p;
};

} // namespace

TEST_F(FormLayoutTest, EveryFieldGoesToItsBoxWithItsInitialValue)
{
    AlertRecorder alerts;
    auto ini = open();
    ASSERT_TRUE(setFormControlsPosition(t.db(), "支票", &p.window, ini.get()));

    EXPECT_EQ(p.figures->geometry(), QRect(120, 44, 160, 20));
    EXPECT_FALSE(p.figures->isHidden());
    EXPECT_EQ(p.purpose->geometry(), QRect(10, 60, 200, 22));
    EXPECT_EQ(p.purpose->currentText(), "货款");
    EXPECT_EQ(p.def1->currentText(), "乙");
    EXPECT_EQ(p.remark->toPlainText(), "第一行");
    EXPECT_EQ(p.remark->geometry(), QRect(300, 100, 250, 60));
    // Any initial value ticks a check box, "0" included.
    EXPECT_TRUE(p.tick->isChecked());
    EXPECT_EQ(p.text1->text(), "固定文字");
    EXPECT_FALSE(p.text1->autoFillBackground());

    // Hidden by the template, or without any row: hidden where they were.
    EXPECT_TRUE(p.hidden->isHidden());
    EXPECT_TRUE(p.noRow->isHidden());
    EXPECT_EQ(p.noRow->geometry(), QRect(1, 1, 5, 5));
    // ZDGHOST is in the catalogue but not on this window: skipped quietly.
    EXPECT_TRUE(alerts.alerts().empty());
}

TEST_F(FormLayoutTest, ATemplateWithoutFieldRowsHidesEveryField)
{
    t.exec("delete from CkControl");
    auto ini = open();
    ASSERT_TRUE(setFormControlsPosition(t.db(), "支票", &p.window, ini.get()));
    for (QWidget *w : std::initializer_list<QWidget *>{p.figures, p.purpose, p.def1, p.remark, p.tick, p.text1})
        EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();
    EXPECT_FALSE(p.tick->isChecked());
    EXPECT_FALSE(p.text1->autoFillBackground());  // labels turn transparent anyway
}

TEST_F(FormLayoutTest, FieldsOfOtherFamiliesAreLeftAlone)
{
    auto ini = open();
    ASSERT_TRUE(setFormControlsPosition(t.db(), "进账单", &p.window, ini.get()));
    EXPECT_EQ(p.figures->geometry(), QRect(1, 1, 5, 5));
    EXPECT_FALSE(p.figures->isHidden());
}

TEST_F(FormLayoutTest, OneFieldIsPlacedAgainByNameInAnyCase)
{
    auto ini = open();
    ASSERT_TRUE(setFormControlsPosition(t.db(), "支票", &p.window, ini.get()));
    // A do-not-print option hides the field; turning it off places it again.
    p.figures->hide();
    p.figures->setGeometry(0, 0, 1, 1);
    setFormCtlPositionFromIni("zdjexx", ini.get(), &p.window);
    EXPECT_FALSE(p.figures->isHidden());
    EXPECT_EQ(p.figures->geometry(), QRect(120, 44, 160, 20));

    // A field the template hides stays hidden after the refresh.
    p.hidden->show();
    setFormCtlPositionFromIni("zdHidden", ini.get(), &p.window);
    EXPECT_TRUE(p.hidden->isHidden());

    // Unknown names and a missing cache change nothing.
    setFormCtlPositionFromIni("zdNowhere", ini.get(), &p.window);
    setFormCtlPositionFromIni("zdJEXX", nullptr, &p.window);
    EXPECT_EQ(p.figures->geometry(), QRect(120, 44, 160, 20));
}

TEST_F(FormLayoutTest, AnUnreadableCatalogueTellsTheUser)
{
    auto ini = open();
    AlertRecorder alerts;
    t.exec("alter table NameDict rename to NameDictGone");
    EXPECT_FALSE(setFormControlsPosition(t.db(), "支票", &p.window, ini.get()));
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_TRUE(alerts.alerts()[0].message.startsWith("调入项目参数失败!"));
    EXPECT_GT(alerts.alerts()[0].message.size(), QString("调入项目参数失败!").size());
    t.exec("alter table NameDictGone rename to NameDict");
}

TEST(FormControls, FindsNamesWithoutRegardToCaseAndReadsTexts)
{
    QWidget window;
    auto *inner = new QWidget(&window);
    auto *edit = new QLineEdit("12", inner);
    edit->setObjectName("zdJEXX");
    auto *list = new QComboBox(inner);
    list->setObjectName("cfgMoneyType");
    list->addItems({"人民币", "美元"});

    EXPECT_EQ(FormControls::find(&window, "ZDJEXX"), edit);
    EXPECT_EQ(FormControls::find(&window, "nothing"), nullptr);
    EXPECT_EQ(FormControls::index(&window).value("CFGMONEYTYPE"), list);

    FormControls::setText(list, "美元");
    EXPECT_EQ(FormControls::text(list), "美元");
    FormControls::setText(list, "日元");  // not in the list: the choice stays
    EXPECT_EQ(FormControls::text(list), "美元");
    FormControls::setText(edit, "34");
    EXPECT_EQ(FormControls::text(edit), "34");
    edit->setMaxLength(1);  // a one-character digit box
    FormControls::setText(edit, "US$");
    EXPECT_EQ(FormControls::text(edit), "US$");
}
