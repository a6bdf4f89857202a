// The offset window: which template it adjusts, arrows and boxes that
// store at once, the messages of saving, and the feed-direction pictures.
#include "app/app_context.h"
#include "printing/ui/feed_direction_picture.h"
#include "printing/ui/tfrm_print_offset.h"
#include "offsets_fixtures.h"

#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

using namespace billprint;
using namespace billprint::test;

using OffsetWindow = OffsetsTest;

TEST_F(OffsetWindow, OpensOnTheGivenTemplate)
{
    addTemplate(3, QStringLiteral("进账单（通用）"), true, 15, -30, 1, 2100, 990);
    addTemplate(5, QStringLiteral("支票（工行）"), true, -120, 40);
    TfrmPrintOffset window(ctx(), 3);
    EXPECT_TRUE(alerts.alerts().empty());
    EXPECT_EQ(window.checkTypeId(), 3);
    EXPECT_EQ(window.windowTitle(), "进账单（通用）-3");
    EXPECT_EQ(window.currentLabel()->text(), "当前调整：进账单（通用）");
    EXPECT_EQ(window.xMoveBox()->value(), 15);
    EXPECT_EQ(window.yMoveBox()->value(), -30);
    EXPECT_EQ(window.paperWidthBox()->value(), 2100);
    EXPECT_EQ(window.paperHeightBox()->value(), 990);
    EXPECT_EQ(window.pictureWidthBox()->value(), 800);
    EXPECT_TRUE(window.landscapeButton()->isChecked());
    EXPECT_EQ(window.paperWidthCentimetreLabel()->text(), "=21厘米");

    // Choosing another template in the list loads it; the offset of -120
    // reads 1.2 cm without its sign.
    ASSERT_EQ(window.templateList()->item(0)->text(), "支票（工行）");
    window.templateList()->setCurrentRow(0);
    EXPECT_EQ(window.checkTypeId(), 5);
    EXPECT_EQ(window.xCentimetreLabel()->text(), "=1.2厘米");
    EXPECT_TRUE(window.portraitButton()->isChecked());
}

TEST_F(OffsetWindow, AHiddenTemplateIsReportedAndTheFirstEnabledOneAdjusted)
{
    addTemplate(2, QStringLiteral("支票（停用）"), false);
    addTemplate(4, QStringLiteral("支票（工行）"));
    addTemplate(6, QStringLiteral("快递单（顺丰）"));
    TfrmPrintOffset window(ctx(), 2);
    EXPECT_EQ(alerts.messages(), QStringList{"没有找到编号为2的票据，请查看是否存在或被隐藏。"});
    EXPECT_EQ(window.checkTypeId(), 6);  // 快递单 sorts first
    EXPECT_EQ(window.templateList()->count(), 2);

    // At start, with no template yet, nothing is reported.
    alerts.clear();
    TfrmPrintOffset fresh(ctx(), 0);
    EXPECT_TRUE(alerts.alerts().empty());
    EXPECT_EQ(fresh.checkTypeId(), 6);
}

TEST_F(OffsetWindow, EachArrowClickMovesOneMillimetreAndStoresIt)
{
    addTemplate(1, QStringLiteral("支票（工行）"), true, -5, 0);
    TfrmPrintOffset window(ctx(), 1);
    QPushButton *right = window.button("btRight");
    ASSERT_NE(right, nullptr);
    const int expected[] = {5, 15, 25};
    for (int x : expected) {
        right->click();
        EXPECT_EQ(column(1, "XMove"), x);
    }
    EXPECT_EQ(window.xCentimetreLabel()->text(), "=0.25厘米");
    EXPECT_EQ(window.windowTitle(), "票据整体属性修改成功！");

    window.button("btUp")->click();
    EXPECT_EQ(column(1, "YMove"), -10);
    window.button("btDown")->click();
    window.button("btDown")->click();
    EXPECT_EQ(column(1, "YMove"), 10);
    window.button("btLeft")->click();
    EXPECT_EQ(column(1, "XMove"), 15);
    EXPECT_TRUE(alerts.alerts().empty());
}

TEST_F(OffsetWindow, WithoutAnyTemplateNothingIsStored)
{
    TfrmPrintOffset window(ctx(), 0);
    EXPECT_EQ(window.checkTypeId(), 0);
    window.button("btRight")->click();
    EXPECT_EQ(alerts.messages(), QStringList{"请在左侧选择要设置的快递单据！"});
    EXPECT_EQ(window.xMoveBox()->value(), 0);
    alerts.clear();
    window.button("btSave")->click();
    EXPECT_EQ(alerts.messages(), QStringList{"请选择要设置的票据类型！"});
}

TEST_F(OffsetWindow, LeavingAnOffsetOrPaperBoxStoresQuietly)
{
    addTemplate(1, QStringLiteral("支票（工行）"));
    TfrmPrintOffset window(ctx(), 1);
    window.yMoveBox()->setValue(-75);
    emit window.yMoveBox()->editingFinished();
    EXPECT_EQ(column(1, "YMove"), -75);
    EXPECT_EQ(window.windowTitle(), "票据整体属性修改成功！");

    window.paperHeightBox()->setValue(1180);
    emit window.paperHeightBox()->editingFinished();
    EXPECT_EQ(column(1, "PHeight"), 1180);
    EXPECT_TRUE(alerts.alerts().empty());

    // Quietly, a template removed meanwhile only shows in the title.
    ASSERT_TRUE(db().exec("delete from CKTypeTable"));
    emit window.xMoveBox()->editingFinished();
    EXPECT_EQ(window.windowTitle(), "票据整体属性没有变动！");
    EXPECT_TRUE(alerts.alerts().empty());
}

TEST_F(OffsetWindow, TheSaveButtonReportsAndStoresEverything)
{
    addTemplate(1, QStringLiteral("支票（工行）"), true, 0, 0, 1);
    TfrmPrintOffset window(ctx(), 1);
    window.xMoveBox()->setValue(33);
    window.pictureWidthBox()->setValue(1000);
    window.pictureHeightBox()->setValue(500);
    window.portraitButton()->setChecked(true);
    window.button("btSave")->click();
    EXPECT_EQ(alerts.messages(), QStringList{"票据整体属性修改成功！"});
    EXPECT_EQ(alerts.alerts().front().caption, "提示");
    EXPECT_EQ(window.windowTitle(), "当前调整：支票（工行）");
    EXPECT_EQ(column(1, "XMove"), 33);
    EXPECT_EQ(column(1, "TWidth"), 1000);
    EXPECT_EQ(column(1, "THeight"), 500);
    EXPECT_EQ(column(1, "HVPrint"), 0);

    alerts.clear();
    ASSERT_TRUE(db().exec("delete from CKTypeTable"));
    window.button("btSave")->click();
    EXPECT_EQ(alerts.messages(), QStringList{"票据整体属性没有变动！"});
}

TEST_F(OffsetWindow, AFailedSaveSaysSoAndKeepsTheValuesOnScreen)
{
    addTemplate(1, QStringLiteral("支票（工行）"));
    TfrmPrintOffset window(ctx(), 1);
    window.show();
    window.xMoveBox()->setValue(140);
    ASSERT_TRUE(db().exec("alter table CKTypeTable rename to Elsewhere"));
    window.button("btSave")->click();
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_TRUE(alerts.messages().first().startsWith("票据整体属性量修改出错！"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.xMoveBox()->value(), 140);

    // Once the table is back the same values are stored.
    ASSERT_TRUE(db().exec("alter table Elsewhere rename to CKTypeTable"));
    alerts.clear();
    window.button("btRight")->click();
    EXPECT_EQ(column(1, "XMove"), 150);
}

TEST_F(OffsetWindow, TemplatesSharingANameAreNeverMixedUp)
{
    addTemplate(1, QStringLiteral("支票（工行）"), true, 10, 10);
    addTemplate(2, QStringLiteral("支票（工行）"), true, 20, 20);
    TfrmPrintOffset window(ctx(), 2);
    EXPECT_EQ(window.checkTypeId(), 2);
    EXPECT_EQ(window.xMoveBox()->value(), 20);
    window.button("btRight")->click();
    EXPECT_EQ(column(2, "XMove"), 30);
    EXPECT_EQ(column(1, "XMove"), 10);
}

TEST_F(OffsetWindow, GoingOnToTheDesignerMakesTheTemplateCurrent)
{
    addTemplate(1, QStringLiteral("支票（工行）"));
    addTemplate(9, QStringLiteral("进账单（通用）"));
    ctx().currentCheckTypeId = 1;
    TfrmPrintOffset window(ctx(), 1);
    window.templateList()->setCurrentRow(1);
    window.button("btDesign")->click();
    EXPECT_TRUE(window.designRequested());
    EXPECT_EQ(ctx().currentCheckTypeId, 9);
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

TEST_F(OffsetWindow, RecommendationLinkNamesTheTemplate)
{
    addTemplate(1, QStringLiteral("支票（工行）"));
    TfrmPrintOffset window(ctx(), 1);
    const QString url = window.recommendationUrl();
    EXPECT_TRUE(url.contains("/f_khzx.asp?rail=prtmatch.asp&pname=")) << url.toStdString();
    EXPECT_TRUE(url.endsWith("&type=" + QUrl::toPercentEncoding("支票（工行）"))) << url.toStdString();
}

TEST_F(OffsetWindow, FeedPicturesAreDrawnWhereMissingAndOwnOnesKept)
{
    const QDir images(ctx().dataRoot().imageFolder());
    QImage own(200, 100, QImage::Format_RGB32);
    own.fill(Qt::red);
    ASSERT_TRUE(own.save(images.filePath("sys_exHX.jpg"), "JPG"));
    QFile::remove(images.filePath("sys_exZX.jpg"));

    addTemplate(1, QStringLiteral("支票（工行）"));
    TfrmPrintOffset window(ctx(), 1);
    window.findChild<QLabel *>("lbPortraitPicture")->linkActivated("#");
    EXPECT_EQ(QImage(images.filePath("sys_exZX.jpg")).size(), QSize(380, 380));
    EXPECT_EQ(QImage(images.filePath("sys_exHX.jpg")).size(), QSize(200, 100));
    auto *viewer = window.findChild<QDialog *>("frmImageShow");
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->size(), QSize(400, 400));
    viewer->close();
}

TEST_F(OffsetWindow, KeepsItsSizeBetweenOpenings)
{
    addTemplate(1, QStringLiteral("支票（工行）"));
    QSize saved;
    {
        TfrmPrintOffset window(ctx(), 1);
        window.show();
        // As narrow as the layout allows (the test screen is small), taller.
        window.resize(window.minimumSize().width(), 520);
        saved = window.size();
        window.button("btClose")->click();
    }
    TfrmPrintOffset again(ctx(), 1);
    again.show();
    EXPECT_EQ(again.size(), saved);
    EXPECT_EQ(saved.height(), 520);
}

TEST(OffsetWindowDelivered, EveryDeliveredTemplateOpensWithItsOwnValues)
{
    // The boxes only offer their ranges; a delivered value outside them
    // would be changed by the first quiet save.
    TempDataRoot root;
    AlertRecorder alerts;
    PrintOffsetStore store(root.context().db());
    const QList<OffsetTemplateEntry> delivered = store.enabledTemplates();
    ASSERT_FALSE(delivered.isEmpty());
    for (const OffsetTemplateEntry &entry : delivered) {
        SCOPED_TRACE(entry.typeName.toStdString());
        const PrintOffsets stored = *store.load(entry.checkTypeId);
        TfrmPrintOffset window(root.context(), entry.checkTypeId);
        const PrintOffsets shown = window.valuesOnScreen();
        EXPECT_EQ(shown.xMove, stored.xMove);
        EXPECT_EQ(shown.yMove, stored.yMove);
        EXPECT_EQ(shown.tWidth, stored.tWidth);
        EXPECT_EQ(shown.tHeight, stored.tHeight);
        EXPECT_EQ(shown.pWidth, stored.pWidth);
        EXPECT_EQ(shown.pHeight, stored.pHeight);
        EXPECT_EQ(shown.landscape, stored.landscape);
    }
    EXPECT_TRUE(alerts.alerts().empty());
}

// Offsets the printer adaptation gave every template (up to ±3000) and
// sizes set elsewhere show as stored; an arrow click writes only the moved
// offset, never a value the boxes would have clamped.
TEST_F(OffsetWindow, StoredValuesOutsideTheUsualRangesShowAndStayUntilChanged)
{
    addTemplate(1, QStringLiteral("支票（工行）"), true, -2800, 2600, 0, 3200, 150);
    TfrmPrintOffset window(ctx(), 1);
    EXPECT_EQ(window.xMoveBox()->value(), -2800);
    EXPECT_EQ(window.yMoveBox()->value(), 2600);
    EXPECT_EQ(window.paperWidthBox()->value(), 3200);
    EXPECT_EQ(window.paperHeightBox()->value(), 150);

    window.button("btRight")->click();
    EXPECT_EQ(column(1, "XMove"), -2790);
    EXPECT_EQ(column(1, "YMove"), 2600);
    EXPECT_EQ(column(1, "PWidth"), 3200);
    EXPECT_EQ(column(1, "PHeight"), 150);

    window.yMoveBox()->setValue(-3000);
    EXPECT_EQ(window.yMoveBox()->value(), -3000);
}
