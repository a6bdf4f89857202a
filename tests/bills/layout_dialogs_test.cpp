// The value prompt and the picture viewer that the bill windows, the
// designers and the catalogue share.
#include "app/ui/tfrm_image_show.h"
#include "app/ui/tfrm_input_value.h"
#include "layout_fixtures.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

using namespace billprint;
using namespace billprint::test;

namespace {

// Runs `work` on the prompt once it is up.
void whenPromptShows(std::function<void(TfrmInputValue &)> work)
{
    QTimer::singleShot(0, [work] {
        if (auto *prompt = qobject_cast<TfrmInputValue *>(QApplication::activeModalWidget()))
            work(*prompt);
    });
}

} // namespace

TEST(ValuePrompt, ReturnsTheTrimmedValueOrNothingWhenCancelled)
{
    QString shownPrompt;
    QString shownDefault;
    whenPromptShows([&](TfrmInputValue &prompt) {
        shownPrompt = prompt.promptLabel()->text();
        shownDefault = prompt.value();
        EXPECT_EQ(prompt.windowTitle(), "用户输入");
        EXPECT_EQ(prompt.size(), QSize(360, 200));
        prompt.valueBox()->setEditText("  加急,保价  ");
        prompt.okButton()->click();
    });
    EXPECT_EQ(giveMeAnValue("输入勾选项目：", "代收", "string"), "加急,保价");
    EXPECT_EQ(shownPrompt, "输入勾选项目：");
    EXPECT_EQ(shownDefault, "代收");

    whenPromptShows([](TfrmInputValue &prompt) { prompt.cancelButton()->click(); });
    EXPECT_EQ(giveMeAnValue("名称", "原值", "string"), "");

    whenPromptShows([](TfrmInputValue &prompt) { prompt.close(); });
    EXPECT_EQ(giveMeAnValue("名称", "原值", "string"), "");
}

TEST(ValuePrompt, BlankValueIsRefusedAndTheWindowStays)
{
    AlertRecorder alerts;
    TfrmInputValue prompt;
    prompt.setValue("   ");
    prompt.btOkClick();
    EXPECT_TRUE(alerts.sawMessage("请输入正确的值，不能为空"));
    EXPECT_EQ(prompt.result(), 0);
    prompt.setValue(" 7 ");
    prompt.btOkClick();
    EXPECT_EQ(prompt.result(), int(QDialog::Accepted));
    EXPECT_EQ(prompt.value(), "7");
}

TEST(ValuePrompt, NumberPromptsLetOnlyDigitsIn)
{
    EXPECT_EQ(TfrmInputValue::kindFromName(" int "), TfrmInputValue::ValueKind::Integer);
    EXPECT_EQ(TfrmInputValue::kindFromName("Integer"), TfrmInputValue::ValueKind::Integer);
    EXPECT_EQ(TfrmInputValue::kindFromName("real"), TfrmInputValue::ValueKind::Double);
    EXPECT_EQ(TfrmInputValue::kindFromName("FLOAT"), TfrmInputValue::ValueKind::Double);
    EXPECT_EQ(TfrmInputValue::kindFromName("Double"), TfrmInputValue::ValueKind::Double);
    EXPECT_EQ(TfrmInputValue::kindFromName("date"), TfrmInputValue::ValueKind::String);

    TfrmInputValue prompt;
    prompt.setValueKind(TfrmInputValue::ValueKind::Integer);
    QLineEdit *edit = prompt.valueBox()->lineEdit();
    EXPECT_EQ(prompt.valueBox()->count(), 11);
    EXPECT_EQ(prompt.valueBox()->itemText(10), "1000");
    EXPECT_EQ(edit->maxLength(), 7);

    typeText(edit, "1a.2");
    EXPECT_EQ(edit->text(), "12");
    EXPECT_EQ(prompt.hintLabel()->text(), "");  // the last key was accepted
    typeText(edit, "x");
    EXPECT_EQ(prompt.hintLabel()->text(), "提示：只能输入数字,谢谢！");
    pressKey(edit, Qt::Key_Backspace, "\b");
    EXPECT_EQ(edit->text(), "1");
    EXPECT_EQ(prompt.hintLabel()->text(), "");
    // Pasted letters are kept out as well.
    edit->insert("3b");
    EXPECT_EQ(edit->text(), "1");

    prompt.setValueKind(TfrmInputValue::ValueKind::Double);
    edit->clear();
    typeText(edit, "12.5a");
    EXPECT_EQ(edit->text(), "12.5");
    EXPECT_EQ(prompt.hintLabel()->text(), "提示:只能输入数字及点(如: 12.5 )！");

    prompt.setValueKind(TfrmInputValue::ValueKind::String);
    edit->clear();
    typeText(edit, "ab-1");
    EXPECT_EQ(edit->text(), "ab-1");
}

TEST(ValuePrompt, EnterConfirms)
{
    TfrmInputValue prompt;
    prompt.setValue("ok");
    pressKey(prompt.valueBox()->lineEdit(), Qt::Key_Return, "\r");
    EXPECT_EQ(prompt.result(), int(QDialog::Accepted));
    EXPECT_EQ(prompt.value(), "ok");
}

TEST(PictureViewer, ShowsATemplatePictureAtItsNaturalSize)
{
    LayoutDb t;
    QImage picture(320, 180, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ASSERT_TRUE(QDir().mkpath(t.context().dataRoot().imageFolder()));
    ASSERT_TRUE(picture.save(t.context().dataRoot().imageFolder() + "zp7.jpg"));
    t.addTemplate(7, "支票", "O'工行", "zp7.jpg");
    t.addTemplate(8, "支票", "空", "");
    t.addTemplate(9, "支票", "坏", "missing.jpg");

    AlertRecorder alerts;
    TfrmImageShow viewer(t.context());
    EXPECT_EQ(viewer.windowTitle(), "禾朔图示");
    EXPECT_EQ(viewer.size(), QSize(870, 640));
    EXPECT_FALSE(viewer.isModal());

    viewer.loadPictureByFullName("支票（O'工行）");
    EXPECT_EQ(viewer.windowTitle(), "禾朔软件-模板图片查看【支票（O'工行）】");
    EXPECT_TRUE(viewer.hasPicture());
    EXPECT_EQ(viewer.pictureLabel()->size(), QSize(320, 180));
    EXPECT_TRUE(alerts.alerts().empty());

    viewer.loadPictureByFullName("支票（空）");
    EXPECT_FALSE(viewer.hasPicture());
    EXPECT_TRUE(alerts.sawMessage("没有有效的图片文件~"));

    alerts.clear();
    viewer.loadPictureByFullName("支票（坏）");
    EXPECT_FALSE(viewer.hasPicture());
    EXPECT_TRUE(alerts.sawMessage("没有有效的图片文件~"));

    alerts.clear();
    viewer.loadPictureByFullName("支票（不存在）");
    viewer.loadPictureByFullName("");
    EXPECT_FALSE(viewer.hasPicture());
    EXPECT_TRUE(alerts.alerts().empty());
}

TEST(PictureViewer, AClickOnThePictureClosesIt)
{
    LayoutDb t;
    QImage picture(40, 40, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    ASSERT_TRUE(QDir().mkpath(t.context().dataRoot().imageFolder()));
    ASSERT_TRUE(picture.save(t.context().dataRoot().imageFolder() + "sys_exZX.jpg"));

    TfrmImageShow *viewer = TfrmImageShow::showExplanation(t.context(), "sys_exZX.jpg", QSize(400, 400));
    QPointer<TfrmImageShow> guard(viewer);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->size(), QSize(400, 400));
    EXPECT_TRUE(viewer->hasPicture());

    QMouseEvent click(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(viewer->pictureLabel(), &click);
    EXPECT_FALSE(viewer->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());  // an explanation viewer frees itself
}
