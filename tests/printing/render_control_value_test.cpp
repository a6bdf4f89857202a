// Reading a bill window's field values for printing.

#include "app/ini_file.h"
#include "bills/ui/control_value.h"
#include "render_fixtures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace billprint::test {
namespace {

class ControlValueTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form.setObjectName(QStringLiteral("TfmCheckTest"));
        auto *scroll = new QScrollArea(&form);
        panel = new QLabel;
        panel->setObjectName(QStringLiteral("pnlBill"));
        scroll->setWidget(panel);
        add<QLineEdit>(QStringLiteral("zdPayee"))->setText(QStringLiteral("某某公司"));
        add<QPlainTextEdit>(QStringLiteral("zdRemark"))->setPlainText(QStringLiteral("一\n二"));
        auto *combo = add<QComboBox>(QStringLiteral("zdDef1"));
        combo->setEditable(true);
        combo->setEditText(QStringLiteral("自定义"));
        add<QLabel>(QStringLiteral("lbCaption"))->setText(QStringLiteral("标签"));
        add<QCheckBox>(QStringLiteral("DEFCHECK0"))->setChecked(true);
        add<QCheckBox>(QStringLiteral("DEFCHECK1"));
        auto *picture = add<QLabel>(QStringLiteral("bgImage"));
        QPixmap pixmap(4, 4);
        pixmap.fill(Qt::white);
        picture->setPixmap(pixmap);
        picture->setProperty("pictureFormat", QStringLiteral("JPEG"));
        auto *hidden = add<QLineEdit>(QStringLiteral("zdHidden"));
        hidden->setText(QStringLiteral("不打印"));
        hidden->hide();
        add<QSpinBox>(QStringLiteral("zdSpin"));
        // A field of the window outside the bill panel.
        auto *outside = new QLineEdit(&form);
        outside->setObjectName(QStringLiteral("zdOutside"));
        outside->setText(QStringLiteral("窗口上"));
    }

    template <typename W>
    W *add(const QString &name)
    {
        auto *w = new W(panel);
        w->setObjectName(name);
        return w;
    }

    QString value(const QString &name) { return getControlValue(f.ctx(), panel, name); }

    RenderFixture f;
    AlertRecorder alerts;
    QWidget form;
    QLabel *panel = nullptr;
};

TEST_F(ControlValueTest, ShownFieldsGiveTheirTextWhateverTheLetterCase)
{
    // The window is never shown: fields that would show count as shown.
    EXPECT_EQ(value(QStringLiteral("ZDPAYEE")), QStringLiteral("某某公司"));
    EXPECT_EQ(value(QStringLiteral("zdRemark")), QStringLiteral("一\n二"));
    EXPECT_EQ(value(QStringLiteral("zddef1")), QStringLiteral("自定义"));
    EXPECT_EQ(value(QStringLiteral("lbCaption")), QStringLiteral("标签"));
    EXPECT_EQ(value(QStringLiteral("DEFCHECK0")), QStringLiteral("√"));
    EXPECT_EQ(value(QStringLiteral("DEFCHECK1")), QString());
    EXPECT_EQ(value(QStringLiteral("bgImage")), QStringLiteral("JPEG"));
    EXPECT_EQ(value(QStringLiteral("zdOutside")), QStringLiteral("窗口上"));
    EXPECT_EQ(getControlValue(f.ctx(), &form, QStringLiteral("zdPayee")), QStringLiteral("某某公司"));
    EXPECT_TRUE(alerts.alerts().empty());
}

TEST_F(ControlValueTest, HiddenFieldsAreEmpty)
{
    EXPECT_EQ(value(QStringLiteral("zdHidden")), QString());
    panel->findChild<QLineEdit *>(QStringLiteral("zdPayee"))->hide();
    EXPECT_EQ(value(QStringLiteral("zdPayee")), QString());
}

TEST_F(ControlValueTest, MissingFieldsAreEmptyAndNoted)
{
    EXPECT_EQ(value(QStringLiteral("zdNone")), QString());
    EXPECT_EQ(value(QString()), QString());
    EXPECT_EQ(getControlValue(f.ctx(), nullptr, QStringLiteral("zdPayee")), QString());
    IniFile debug(f.ctx().dataRoot().debugIniPath());
    ASSERT_TRUE(debug.load());
    EXPECT_EQ(debug.readString(QStringLiteral("debug"), QStringLiteral("getControlValue-1")),
              QStringLiteral("zdNone=nil  not found."));
    EXPECT_TRUE(alerts.alerts().empty());
}

TEST_F(ControlValueTest, AFieldKindWithoutAPrintableValueIsToldAndEmpty)
{
    EXPECT_EQ(value(QStringLiteral("zdSpin")), QString());
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_TRUE(alerts.messages().front().contains(QStringLiteral("QSpinBox")));
}

TEST_F(ControlValueTest, ALookupFindsEachFieldOnceAndReadsItsCurrentValue)
{
    ControlLookup lookup(panel);
    auto *payee = panel->findChild<QLineEdit *>(QStringLiteral("zdPayee"));
    EXPECT_EQ(lookup.find(QStringLiteral("ZDPAYEE")), payee);
    EXPECT_EQ(lookup.find(QStringLiteral("zdOutside")), form.findChild<QLineEdit *>(QStringLiteral("zdOutside")));
    payee->setText(QStringLiteral("另一家"));
    EXPECT_EQ(getControlValue(f.ctx(), lookup, QStringLiteral("zdpayee")), QStringLiteral("另一家"));
    EXPECT_EQ(getControlValue(f.ctx(), lookup, QStringLiteral("zdHidden")), QString());
    EXPECT_EQ(getControlValue(f.ctx(), lookup, QStringLiteral("zdNone")), QString());

    delete payee;  // a field that is gone is looked for again, and is missing
    EXPECT_EQ(lookup.find(QStringLiteral("zdPayee")), nullptr);
    WidgetValueSource source(f.ctx(), &lookup);
    EXPECT_EQ(source.value(QStringLiteral("zdRemark")), QStringLiteral("一\n二"));
}

TEST_F(ControlValueTest, AWidgetSourceAddsTheWindowsCurrencyAndSkipRules)
{
    WidgetValueSource source(f.ctx(), panel);
    int tidied = 0;
    source.tidy = [&] { ++tidied; };
    source.currency = [] { return QStringLiteral("￥"); };
    source.skip = [](const QString &name) { return name.compare(QStringLiteral("zdOutBank"), Qt::CaseInsensitive) == 0; };
    source.beforeSend();
    EXPECT_EQ(tidied, 1);
    EXPECT_EQ(source.value(QStringLiteral("zdPayee")), QStringLiteral("某某公司"));
    EXPECT_EQ(source.currencyCode(), QStringLiteral("￥"));
    EXPECT_TRUE(source.skipPrintItem(QStringLiteral("ZDOUTBANK")));
    EXPECT_FALSE(source.skipPrintItem(QStringLiteral("zdPayee")));
}

} // namespace
} // namespace billprint::test
