// The waybill's quick address commands: the clipboard recognised and taken
// as receiver (with the remark into goods and remark) or as sender.

#include "addressbook/ui/tfrm_match_addr.h"
#include "bills/ui/tfm_check_kdd.h"
#include "bills/ui/waybill_address_parser.h"
#include "cheque_fixtures.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace billprint::test {
namespace {

const QString kText = QStringLiteral("收货地址：张三，86-0571-88886666，13812345678，浙江省 杭州市 西湖区 文三路100号 ，（310012）");

TEST_F(ChequeTest, WaybillQuickCommandsTakeTheClipboardAsReceiverOrSender)
{
    AlertRecorder alerts;
    TfmCheckKDD waybill(ctx(), host());
    QApplication::clipboard()->setText(kText);
    const QList<QAction *> quick = waybill.command(QStringLiteral("地址串识别(&W)"))->menu()->actions();
    ASSERT_EQ(quick.size(), 2);
    quick.at(0)->trigger();
    EXPECT_EQ(waybill.fieldText(QStringLiteral("zdSKRLXR")), QStringLiteral("张三"));
    EXPECT_EQ(waybill.fieldText(QStringLiteral("zdSKRS")), QStringLiteral("浙江省"));
    EXPECT_EQ(waybill.fieldText(QStringLiteral("zdSKRXS")), QStringLiteral("杭州市"));
    EXPECT_EQ(waybill.fieldText(QStringLiteral("edtSJRTown")), QStringLiteral("西湖区"));
    EXPECT_EQ(waybill.fieldText(QStringLiteral("zdSkrDZ")), QStringLiteral("文三路100号"));
    EXPECT_EQ(waybill.fieldText(QStringLiteral("zdSKRYB")), QStringLiteral("310012"));

    QApplication::clipboard()->setText(QStringLiteral("李四 13912345678 广东省深圳市南山区科技园南区18栋"));
    quick.at(1)->trigger();
    EXPECT_EQ(waybill.fieldText(QStringLiteral("zdHKRLXR")), QStringLiteral("李四"));
    EXPECT_EQ(waybill.fieldText(QStringLiteral("zdHkrDZ")), QStringLiteral("科技园南区18栋"));
    EXPECT_TRUE(alerts.messages().isEmpty());

    // Nothing recognisable: the user is told, nothing changes.
    QApplication::clipboard()->setText(QStringLiteral("好的"));
    quick.at(0)->trigger();
    EXPECT_EQ(alerts.messages(), QStringList{QStringLiteral(":),联系人不能为空，但未能识别出来，请手工调整或输入！")});
    EXPECT_EQ(waybill.fieldText(QStringLiteral("zdSKRLXR")), QStringLiteral("张三"));
}

TEST_F(ChequeTest, WaybillReceiverTakesTheRemarkIntoGoodsAndRemarkWhenTicked)
{
    AlertRecorder alerts;
    TfmCheckKDD waybill(ctx(), host());
    waybill.setFieldText(QStringLiteral("zdBz"), QStringLiteral("易碎"));
    TfrmMatchAddr parser(ctx(), TfrmMatchAddr::Mode::Waybill, &waybill);
    EXPECT_TRUE(parser.button(QStringLiteral("2.0 粘贴不关闭"))->isHidden());
    EXPECT_TRUE(parser.button(QStringLiteral("2.1 粘贴为发件人"))->isEnabled());
    connectWaybillHandOver(parser, waybill);
    parser.setInputText(kText);
    parser.btDoMatchClick();
    parser.remarkBox()->setText(QStringLiteral("茶叶两盒"));
    for (QCheckBox *box : parser.findChildren<QCheckBox *>()) {
        if (box->text() == QStringLiteral("附注填充备注"))
            box->click();  // off: the waybill's remark stays
    }
    EXPECT_TRUE(parser.fillGoods());
    EXPECT_FALSE(parser.fillRemark());
    EXPECT_TRUE(parser.handOver(TfrmMatchAddr::HandOver::Receiver));
    EXPECT_EQ(waybill.fieldText(QStringLiteral("zdSKRLXR")), QStringLiteral("张三"));
    EXPECT_EQ(waybill.fieldText(QStringLiteral("zdWPNR")), QStringLiteral("茶叶两盒"));
    EXPECT_EQ(waybill.fieldText(QStringLiteral("zdBz")), QStringLiteral("易碎"));
    EXPECT_EQ(ctx().settings().getConfigByname(QStringLiteral("ckRemark")), QStringLiteral("no"));
    EXPECT_EQ(parser.result(), QDialog::Accepted);
}

} // namespace
} // namespace billprint::test
