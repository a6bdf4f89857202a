// The address parser window in batch mode: clipboard limits, the source
// choice, the fields and their corrections, the remark list, and receivers
// stored in the batch list.

#include "app/database.h"
#include "batch/receiver_list.h"
#include "batch/ui/batch_address_parser.h"
#include "addressbook/ui/tfrm_match_addr.h"
#include "test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlRecord>
#include <QTabBar>
#include <QTimer>
#include <gtest/gtest.h>

namespace billprint::test {
namespace {

using F = AddressField;

const QString kText = QStringLiteral("李四 13912345678 广东省深圳市南山区科技园南区18栋 518057");

class MatchAddrTest : public ::testing::Test
{
protected:
    AppContext &ctx() { return root.context(); }

    std::unique_ptr<TfrmMatchAddr> openBatch()
    {
        auto window = std::make_unique<TfrmMatchAddr>(ctx(), TfrmMatchAddr::Mode::Batch);
        window->setReceiver([this](const TPersonKDD &party, TfrmMatchAddr::HandOver which) {
            handed << qMakePair(party.contact(), which);
            return true;
        });
        return window;
    }

    TempDataRoot root;
    AlertRecorder alerts;
    QList<QPair<QString, TfrmMatchAddr::HandOver>> handed;
};

TEST_F(MatchAddrTest, ClipboardIsPastedAndRecognisedWithinItsLimits)
{
    auto w = openBatch();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("禾朔软件-收发件人资料识别"));
    EXPECT_FALSE(w->button(QStringLiteral("2.0 粘贴不关闭"))->isHidden());
    EXPECT_FALSE(w->button(QStringLiteral("2.1 粘贴为发件人"))->isEnabled());

    struct Case { QString clipboard; QString input; QString name; };
    const Case cases[] = {
        {QStringLiteral("张三 138"), QStringLiteral("剪切板中没有复制地址内容~"), QString()},
        {QString(1100, QChar(0x5F20)), QStringLiteral("剪切板数据过长，禾朔处理不了！"), QString()},
        {kText, kText, QStringLiteral("李四")},
    };
    for (const Case &c : cases) {
        QApplication::clipboard()->setText(c.clipboard);
        w->btPasteClick();
        EXPECT_EQ(w->inputText(), c.input);
        EXPECT_EQ(w->fieldText(F::Name), c.name);
    }
    EXPECT_EQ(w->fieldText(F::Province), QStringLiteral("广东省"));
    EXPECT_EQ(w->fieldText(F::Town), QStringLiteral("南山区"));
    EXPECT_EQ(w->fieldText(F::Postcode), QStringLiteral("518057"));
}

TEST_F(MatchAddrTest, ContainProvinceCityIsAppliedWhenClicked)
{
    auto w = openBatch();
    w->setInputText(kText);
    w->btDoMatchClick();
    EXPECT_EQ(w->fieldText(F::Address), QStringLiteral("科技园南区18栋"));
    w->containProvinceCity()->click();
    EXPECT_EQ(w->fieldText(F::Address), QStringLiteral("广东省深圳市南山区科技园南区18栋"));
    w->containProvinceCity()->click();
    EXPECT_EQ(w->fieldText(F::Address), QStringLiteral("科技园南区18栋"));
}

TEST_F(MatchAddrTest, SamplesFollowTheSourceAndAreRecognised)
{
    auto w = openBatch();
    const std::pair<AddressSource, QString> cases[] = {
        {AddressSource::Taobao, QStringLiteral("张三")},
        {AddressSource::Paipai, QStringLiteral("李四")},
        {AddressSource::Other, QStringLiteral("王芳")}};
    for (const auto &[source, name] : cases) {
        w->setSource(source);
        w->btSampleClick();
        EXPECT_EQ(w->fieldText(F::Name), name);
    }
    EXPECT_EQ(w->fieldText(F::Company), QStringLiteral("杭州青禾贸易有限公司"));
    EXPECT_EQ(w->fieldText(F::Country), QStringLiteral("中国"));
}

TEST_F(MatchAddrTest, HandOverRefusesAnEmptyContactAndTakesTheUsersCorrections)
{
    auto w = openBatch();
    w->setInputText(QStringLiteral("深圳市南山区科技园南区18栋"));
    w->btDoMatchClick();
    EXPECT_FALSE(w->handOver(TfrmMatchAddr::HandOver::Stay));
    EXPECT_EQ(alerts.messages(), QStringList{QStringLiteral(":),联系人不能为空，但未能识别出来，请手工调整或输入！")});
    EXPECT_TRUE(handed.isEmpty());

    w->fieldBox(F::Name)->setEditText(QStringLiteral("王小二"));
    w->fieldBox(F::Town)->setEditText(QStringLiteral("福田区"));
    EXPECT_EQ(w->party().town(), QStringLiteral("福田区"));
    EXPECT_EQ(w->party().destinationStation(), QStringLiteral("深圳市"));
    EXPECT_TRUE(w->handOver(TfrmMatchAddr::HandOver::Stay));
    ASSERT_EQ(handed.size(), 1);
    EXPECT_EQ(handed.first().first, QStringLiteral("王小二"));
    EXPECT_NE(w->result(), QDialog::Accepted);  // "2.0" keeps the window open
}

TEST_F(MatchAddrTest, NameBoxTakesTheClipboardOnOneLine)
{
    auto w = openBatch();
    QLineEdit *name = w->fieldBox(F::Name)->lineEdit();
    QApplication::clipboard()->setText(QStringLiteral(" 欧阳\r\n娜娜 \n"));
    QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    QApplication::sendEvent(name, &paste);
    EXPECT_EQ(name->text(), QStringLiteral("欧阳娜娜"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("欧阳娜娜"));

    // Leaving the box fills it from a short clipboard only when it is empty.
    QApplication::clipboard()->setText(QStringLiteral("王五"));
    QFocusEvent left(QEvent::FocusOut);
    QApplication::sendEvent(name, &left);
    EXPECT_EQ(name->text(), QStringLiteral("欧阳娜娜"));
    name->clear();
    QApplication::sendEvent(name, &left);
    EXPECT_EQ(name->text(), QStringLiteral("王五"));
}

TEST_F(MatchAddrTest, SaveRemarkStoresItOnceAndListsIt)
{
    auto w = openBatch();
    const int delivered = w->remarkList()->count();
    w->btSaveRemarkClick();
    w->remarkBox()->setText(QStringLiteral("客户's 礼品"));
    w->btSaveRemarkClick();
    w->btSaveRemarkClick();
    EXPECT_EQ(alerts.messages(), (QStringList{QStringLiteral("未输入附注内容~"),
                                              QStringLiteral("添加基础资料\"附注内容\"成功！"),
                                              QStringLiteral("\"客户's 礼品\" 已经存在！")}));
    EXPECT_EQ(w->remarkList()->count(), delivered + 1);
    const QList<QListWidgetItem *> items = w->remarkList()->findItems(QStringLiteral("客户's 礼品"), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    w->remarkBox()->clear();
    emit w->remarkList()->itemDoubleClicked(items.first());
    EXPECT_EQ(w->remarkBox()->text(), QStringLiteral("客户's 礼品"));
}

TEST_F(MatchAddrTest, BatchEntryStoresReceiversInTheList)
{
    // The entry opens the window modally: the test works it once it shows.
    int stored = 0;
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto *window = qobject_cast<TfrmMatchAddr *>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        opened = true;
        window->setInputText(kText);
        window->btDoMatchClick();
        window->remarkBox()->setText(QStringLiteral("书籍"));
        window->handOver(TfrmMatchAddr::HandOver::Stay);
        window->handOver(TfrmMatchAddr::HandOver::Receiver);
    });
    QApplication::clipboard()->clear();
    openAddressParserForBatch(ctx(), nullptr, [&] { ++stored; });
    EXPECT_TRUE(opened);
    EXPECT_EQ(stored, 2);
    ReceiverList list(ctx().db());
    const QSqlRecord row = list.row(1);
    EXPECT_EQ(row.value(QStringLiteral("联系人")).toString(), QStringLiteral("李四"));
    EXPECT_EQ(row.value(QStringLiteral("省")).toString(), QStringLiteral("广东省"));
    EXPECT_EQ(row.value(QStringLiteral("镇区")).toString(), QStringLiteral("南山区"));
    EXPECT_EQ(row.value(QStringLiteral("地址")).toString(), QStringLiteral("科技园南区18栋"));
    EXPECT_EQ(row.value(QStringLiteral("内件说明")).toString(), QStringLiteral("书籍"));
    EXPECT_EQ(row.value(QStringLiteral("目的站")).toString(), QStringLiteral("深圳市"));
    EXPECT_FALSE(list.row(2).isEmpty());
}

} // namespace
} // namespace billprint::test
