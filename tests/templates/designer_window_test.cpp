// Both designers off screen on the delivered cheque template (id 1).

#include "shell/ui/tfm_main.h"
#include "bills/ui/install_cheque_entry.h"
#include "bills/ui/tfm_check_zp.h"
#include "printing/print_fonts.h"
#include "app/data_root.h"
#include "render_pdf_words.h"
#include "template_fixtures.h"
#include "designers/ui/design_canvas.h"
#include "designers/ui/install_designers.h"
#include "designers/ui/tfm_check_design.h"
#include "designers/ui/tfm_template_designer.h"
#include "templates/delivered_pictures.h"
#include "templates/template_catalogue.h"
#include "templates/template_picture_store.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QResizeEvent>
#include <QWheelEvent>
#include <QMouseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

using namespace billprint;
using namespace billprint::test;

namespace {

struct Designer
{
    TempDataRoot root;
    AlertRecorder alerts;
    const Database &db() { return root.context().db(); }
    int ctl(const QString &column, const QString &name, int id = 1)
    {
        return db().scalar("select " + column + " from CkControl where CheckTypeID=? and CtlName=?", {id, name}).toInt();
    }
};

void drag(DesignCanvas *canvas, QPoint from, QPoint by)
{
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(at), QPointF(canvas->mapToGlobal(at)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(canvas, &e);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, from + by / 2, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, from + by, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, from + by, Qt::LeftButton, Qt::NoButton);
}

void key(QWidget *w, int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent e(QEvent::KeyPress, k, modifiers);
    QApplication::sendEvent(w, &e);
}

QPushButton *buttonOf(QWidget &w, const char *name)
{
    return w.findChild<QPushButton *>(QLatin1String(name));
}

} // namespace

TEST(TemplateDesigner, PaperAtTrueSizeAndMovesByMouseAtTwoZooms)
{
    Designer d;
    TfmTemplateDesigner w(d.root.context(), 1);
    ASSERT_TRUE(w.isUsable());
    ASSERT_EQ(w.logicalDpiX(), 96);
    EXPECT_EQ(w.windowTitle(), "打印项目设置-【支票（通用转账支票）】");
    // 225 x 80 mm at 96 dots per inch.
    EXPECT_EQ(w.canvas()->size(), QSize(850, 302));

    const struct { int zoom; QPoint by; int dx, dy; } cases[] = {{100, {38, 19}, 101, 50}, {150, {38, 19}, 67, 34}};
    int x = 1620, y = 170;
    for (const auto &c : cases) {
        w.setZoom(c.zoom);
        const CanvasItem *label = w.canvas()->itemOf("ZDOUTBANK");
        ASSERT_TRUE(label);
        drag(w.canvas(), label->rect.center(), c.by);
        x += c.dx;
        y += c.dy;
        EXPECT_EQ(d.ctl("CtlX", "ZDOUTBANK"), x) << c.zoom;
        EXPECT_EQ(d.ctl("CtlY", "ZDOUTBANK"), y) << c.zoom;
    }
    EXPECT_EQ(w.undoStack()->count(), 2);  // one step per drag
    w.undoStack()->undo();
    EXPECT_EQ(d.ctl("CtlX", "ZDOUTBANK"), 1721);

    // Arrow keys move by the step, in tenths of a millimetre.
    w.setStep(5);
    key(w.canvas(), Qt::Key_Right);
    key(w.canvas(), Qt::Key_Down);
    key(w.canvas(), Qt::Key_Down);
    EXPECT_EQ(d.ctl("CtlX", "ZDOUTBANK"), 1726);
    EXPECT_EQ(d.ctl("CtlY", "ZDOUTBANK"), 230);
}

TEST(TemplateDesigner, BatchOperationsAreOneStepEach)
{
    Designer d;
    TfmTemplateDesigner w(d.root.context(), 1);
    w.selectItems({"ZDRI", "ZDNIAN", "ZDOUTBANK"});
    EXPECT_TRUE(w.multipleMode());
    EXPECT_TRUE(w.findChild<QWidget *>("pnlBatch")->isVisibleTo(&w));

    buttonOf(w, "btAlignLeft")->click();
    for (const char *name : {"ZDRI", "ZDNIAN", "ZDOUTBANK"})
        EXPECT_EQ(d.ctl("CtlX", name), 885) << name;
    EXPECT_EQ(w.statusMessage(), "2批量修改最左对齐成功！");
    EXPECT_EQ(w.undoStack()->count(), 1);
    w.undoStack()->undo();
    EXPECT_EQ(d.ctl("CtlX", "ZDRI"), 1227);
    EXPECT_EQ(d.ctl("CtlX", "ZDNIAN"), 885);
    EXPECT_EQ(d.ctl("CtlX", "ZDOUTBANK"), 1620);
    w.undoStack()->redo();
    EXPECT_EQ(d.ctl("CtlX", "ZDRI"), 885);
    EXPECT_EQ(d.ctl("CtlX", "ZDOUTBANK"), 885);

    // Spread from the first selected at the stride of "递增宽度" (40).
    buttonOf(w, "btSpreadX")->click();
    EXPECT_EQ(d.ctl("CtlX", "ZDRI"), 885);
    EXPECT_EQ(d.ctl("CtlX", "ZDNIAN"), 925);
    EXPECT_EQ(d.ctl("CtlX", "ZDOUTBANK"), 965);
    // Ctrl+Z and Ctrl+Y are the window's undo and redo.
    const auto shortcut = [&](const char *keys) -> QAction * {
        for (QAction *a : w.actions())
            if (a->shortcuts().contains(QKeySequence(QLatin1String(keys))))
                return a;
        return nullptr;
    };
    ASSERT_TRUE(shortcut("Ctrl+Z") && shortcut("Ctrl+Y"));
    shortcut("Ctrl+Z")->trigger();
    EXPECT_EQ(d.ctl("CtlX", "ZDOUTBANK"), 885);
    shortcut("Ctrl+Y")->trigger();
    EXPECT_EQ(d.ctl("CtlX", "ZDOUTBANK"), 965);

    // "-宽" leaves a box not wider than the step and names it.
    d.db().exec("update CkControl set CtlW=5 where CheckTypeID=1 and CtlName='ZDRI'");
    w.selectItems({"ZDRI", "ZDNIAN"});
    w.setStep(5);
    buttonOf(w, "btNarrower")->click();
    EXPECT_EQ(d.ctl("CtlW", "ZDRI"), 5);
    EXPECT_EQ(d.ctl("CtlW", "ZDNIAN"), 140);
    EXPECT_TRUE(d.alerts.sawMessage("ZDRI的CtlW更新失败！"));
}

TEST(TemplateDesigner, PaperSizeLimitsAndSampleWithApostrophe)
{
    Designer d;
    d.db().exec("update CKTypeTable set TypeName='支票（O''Brien）', PWidth=0 where CheckTypeID=1");
    TfmTemplateDesigner w(d.root.context(), 1);
    EXPECT_EQ(w.windowTitle(), "打印项目设置-【支票（O'Brien）】");
    EXPECT_EQ(w.paper(), QSize(2250, 800));  // the cheque's paper when none is stored

    QComboBox *width = w.findChild<QComboBox *>("cbPaperWidth");
    QComboBox *height = w.findChild<QComboBox *>("cbPaperHeight");
    const struct { const char *w, *h, *message; int pw, ph; } cases[] = {
        {"22.5", "32.1", "失败，票据最高不能大于32厘米。", 0, 800},
        {"30.1", "10", "失败，票据最宽不能大于30厘米。", 0, 800},
        {"22.5", "32.04", "底图实际长和宽保存成功！", 2250, 3204}};
    for (const auto &c : cases) {
        width->setCurrentText(c.w);
        height->setCurrentText(c.h);
        w.applyPaperSize();
        EXPECT_TRUE(d.alerts.sawMessage(c.message)) << c.message;
        EXPECT_EQ(d.db().scalar("select PWidth from CKTypeTable where CheckTypeID=1").toInt(), c.pw);
        EXPECT_EQ(d.db().scalar("select PHeight from CKTypeTable where CheckTypeID=1").toInt(), c.ph);
    }
    w.undoStack()->undo();
    EXPECT_EQ(d.db().scalar("select PHeight from CKTypeTable where CheckTypeID=1").toInt(), 800);

    w.selectItems({"ZDREMARK"});
    w.findChild<QComboBox *>("cbSample")->setCurrentText(" it's ");
    w.applySampleValue();
    EXPECT_EQ(d.db().scalar("select CtlData from NameDict where CheckTypeName='支票' and CtlName='ZDREMARK'").toString(),
              "it's");
}

TEST(FieldDesigner, HidingReachesTheBillWindowAfterTheCacheRebuild)
{
    Designer d;
    {
        TfmCheckZP bill(d.root.context());
        ASSERT_TRUE(bill.field("zdOutBank"));
        EXPECT_FALSE(bill.field("zdOutBank")->isHidden());
    }
    {
        TfmCheckDesign w(d.root.context(), 1);
        EXPECT_EQ(w.family(), "支票");
        ASSERT_TRUE(w.selectField("zdOutBank"));
        w.setHidden(true);
        EXPECT_EQ(d.ctl("NeedShow", "ZDOUTBANK"), 0);
        EXPECT_EQ(d.ctl("NeedPrint", "ZDOUTBANK"), 0);
        w.undoStack()->undo();
        EXPECT_EQ(d.ctl("NeedShow", "ZDOUTBANK"), 1);
        w.undoStack()->redo();
        w.accept();
    }
    TfmCheckZP bill(d.root.context());
    EXPECT_TRUE(bill.field("zdOutBank")->isHidden());
}

TEST(FieldDesigner, KeysMoveAndSizeWithinTheirLimits)
{
    Designer d;
    TfmCheckDesign w(d.root.context(), 1);
    ASSERT_TRUE(w.selectField("ZDREMARK"));  // box at 23,97 size 171 x 51
    const struct { int dx, dy; Qt::KeyboardModifiers mods; int x, y, width, height; } steps[] = {
        {-1, 0, Qt::ControlModifier | Qt::ShiftModifier, 13, 97, 171, 51},
        {-1, 0, Qt::ControlModifier | Qt::ShiftModifier, 10, 97, 171, 51},
        {0, 1, Qt::ControlModifier, 10, 98, 171, 51},
        {1, 0, Qt::ShiftModifier, 10, 98, 172, 51},
        {0, -1, Qt::ShiftModifier, 10, 98, 172, 50},
    };
    for (const auto &s : steps) {
        w.keyStep(s.dx, s.dy, s.mods);
        EXPECT_EQ(d.ctl("SrcX", "ZDREMARK"), s.x);
        EXPECT_EQ(d.ctl("SrcY", "ZDREMARK"), s.y);
        EXPECT_EQ(d.ctl("SrcW", "ZDREMARK"), s.width);
        EXPECT_EQ(d.ctl("SrcH", "ZDREMARK"), s.height);
    }
    w.keyStep(-1, 0, Qt::ControlModifier);  // at the edge already: no step
    EXPECT_EQ(d.ctl("SrcX", "ZDREMARK"), 10);
    EXPECT_EQ(w.undoStack()->count(), 5);

    // A drag is one step, in pixels.
    const CanvasItem *box = w.canvas()->itemOf("ZDREMARK");
    ASSERT_TRUE(box);
    drag(w.canvas(), box->rect.center(), QPoint(30, 12));
    EXPECT_EQ(d.ctl("SrcX", "ZDREMARK"), 40);
    EXPECT_EQ(d.ctl("SrcY", "ZDREMARK"), 110);
    // The print position is not the field designer's.
    EXPECT_EQ(d.ctl("CtlX", "ZDREMARK"), 28);
}

TEST(FieldDesigner, CheckCaptionsAreCleanedAndBound)
{
    Designer d;
    TfmCheckDesign w(d.root.context(), 1);
    const struct { const char *typed, *stored; bool refused; } cases[] = {
        {"加急，保价, 代收", "加急,保价,代收", false},
        {"O'Neil（快）", "ONeil快", false},
        {"'()%", "ONeil快", true},
    };
    for (const auto &c : cases) {
        w.askValue = [&](const QString &, const QString &, const QString &) { return QString::fromUtf8(c.typed); };
        w.editCheckCaptions();
        EXPECT_EQ(d.db().scalar("select CheckBoxs from CKTypeTable where CheckTypeID=1").toString(), c.stored);
        EXPECT_EQ(d.alerts.sawMessage("输入了无效的字符"), c.refused);
    }
}

TEST(CalibrationSheet, GridNumbersAtTenMillimetreStepsAndFieldNames)
{
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext is not installed";
    TempDataRoot root;
    const QString pdf = root.path() + "/c.pdf";
    const ProgramResult run = runProgram(
        {"--data", root.path(), "print-sample", "--template", "1", "--calibrate", "--pdf", pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const std::vector<PdfPage> pages = readPdfWords(pdf);
    ASSERT_EQ(pages.size(), 1u);
    const double pt = 72.0 / 25.4;
    int numbers = 0;
    for (const PdfWord &word : pages[0].words) {
        bool isNumber = false;
        const int mm = word.text.toInt(&isNumber);
        if (!isNumber || mm % 10 != 0 || word.yMin > 5 * pt)
            continue;  // the numbers along the top edge
        EXPECT_NEAR(word.xMin, (mm + 0.6) * pt, 0.2) << mm;
        ++numbers;
    }
    EXPECT_EQ(numbers, 22);  // 10 ... 220 mm across a 225 mm cheque
    // The amount in words is named just above its box at 75.1, 33.5 mm,
    // moved right by one em of its 11 points (3.88 mm) as its value is.
    bool named = false;
    for (const PdfWord &word : pages[0].words)
        if (word.text == "金额大写") {
            named = true;
            EXPECT_NEAR(word.xMin, (75.1 + 11 * 25.4 / 72) * pt, 0.2);
            EXPECT_LT(word.yMax, 33.5 * pt);
            EXPECT_GT(word.yMin, 30.0 * pt);
        }
    EXPECT_TRUE(named);
}

TEST(CalibrationSheet, DigitBoxesAreDrawnWhereTheirDigitsLand)
{
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext is not installed";
    TempDataRoot root;
    const QString pdf = root.path() + "/c.pdf";
    const ProgramResult run = runProgram(
        {"--data", root.path(), "print-sample", "--template", "1", "--calibrate", "--pdf", pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const std::vector<PdfPage> pages = readPdfWords(pdf);
    ASSERT_EQ(pages.size(), 1u);
    // 百万位 is a 4.6 mm box at x 156.0 mm; its sample digit 1 prints at
    // 12 points, one em (4.23 mm) right of that x. Box and name go there too.
    const double pt = 72.0 / 25.4;
    const PdfWord *name = nullptr;
    const PdfWord *digit = nullptr;
    for (const PdfWord &word : pages[0].words) {
        if (word.text == "百万位")
            name = &word;
        if (word.text == "1" && word.yMin > 35 * pt && word.yMin < 45 * pt)
            digit = &word;
    }
    ASSERT_TRUE(name && digit);
    EXPECT_NEAR(name->xMin, (156.0 + 12 * 25.4 / 72) * pt, 0.2);
    EXPECT_NEAR(digit->xMin, name->xMin, 0.2);
    EXPECT_LT(digit->xMax, name->xMin + 4.6 * pt);  // the digit is inside its box
}

TEST(TemplateDesigner, PropertyPanelWritesOneColumnPerChange)
{
    Designer d;
    d.db().exec("update CkControl set CtlW=0 where CheckTypeID=1 and CtlName='ZDREMARK'");  // SrcW 171 pixels
    TfmTemplateDesigner w(d.root.context(), 1);
    EXPECT_EQ(d.ctl("CtlW", "ZDREMARK"), 452);  // measured from the input box at 96 dpi
    EXPECT_EQ(d.ctl("CtlW", "ZDOUTBANK"), 565);
    w.selectItems({"ZDREMARK"});
    EXPECT_EQ(w.findChild<QSpinBox *>("edtX")->value(), 28);

    w.findChild<QSpinBox *>("edtX")->setValue(40);
    EXPECT_EQ(d.ctl("CtlX", "ZDREMARK"), 40);
    EXPECT_EQ(w.statusMessage(), "ZDREMARK:CtlX=40属性保存成功~");
    w.findChild<QCheckBox *>("ckBreak")->setChecked(false);  // stored 13 characters a line
    EXPECT_EQ(d.db().scalar("select BreakNum from CkControl where CheckTypeID=1 and CtlName='ZDREMARK'").toString(), "");
    w.findChild<QCheckBox *>("ckFit")->setChecked(true);
    EXPECT_EQ(d.db().scalar("select FitParam from CkControl where CheckTypeID=1 and CtlName='ZDREMARK'").toString(), "20");
    auto *initValue = w.findChild<QLineEdit *>("edtInitValue");
    initValue->setText("见合同");
    emit initValue->editingFinished();
    EXPECT_EQ(d.db().scalar("select InitValue from CkControl where CheckTypeID=1 and CtlName='ZDREMARK'").toString(),
              "见合同");

    for (int i = 0; i < 3; ++i)
        w.undoStack()->undo();
    EXPECT_EQ(d.db().scalar("select BreakNum from CkControl where CheckTypeID=1 and CtlName='ZDREMARK'").toString(), "13");
    w.undoStack()->undo();
    EXPECT_EQ(d.ctl("CtlX", "ZDREMARK"), 28);
    EXPECT_EQ(w.findChild<QSpinBox *>("edtX")->value(), 28);  // the panel shows the row again
}

TEST(TemplateDesigner, GroupsSelectSeveralItems)
{
    Designer d;
    d.db().exec("update NameDict set Groups='日期' where CheckTypeName='支票' and CtlName in ('ZDNIAN','ZDYUE','ZDRI')");
    TfmTemplateDesigner w(d.root.context(), 1);
    auto *groups = w.findChild<QComboBox *>("cbGroup");
    emit groups->textActivated("日期");
    EXPECT_TRUE(w.multipleMode());
    QStringList chosen = w.selection();
    chosen.sort();
    EXPECT_EQ(chosen, (QStringList{"ZDNIAN", "ZDRI", "ZDYUE"}));
    emit groups->textActivated("*ZDOUT");
    EXPECT_EQ(w.selection(), (QStringList{"ZDOUTBANKACCT", "ZDOUTBANK"}));  // in list order
}

TEST(FieldDesigner, NewRowsFamiliesAndApostrophes)
{
    Designer d;
    d.db().exec("update NameDict set CtlLabel='O''Neil 付款行' where CheckTypeName='支票' and CtlName='ZDOUTBANK'");
    d.db().exec("delete from CkControl where CheckTypeID=1 and CtlName='ZDPJBH'");
    TfmCheckDesign w(d.root.context(), 1);
    EXPECT_TRUE(w.selectFieldByLabel("O'Neil 付款行"));
    EXPECT_EQ(w.currentField(), "ZDOUTBANK");

    // A field without a row gets one the first time it is picked.
    ASSERT_TRUE(w.selectField("ZDPJBH"));
    EXPECT_EQ(d.ctl("NeedShow", "ZDPJBH"), 1);
    EXPECT_EQ(d.ctl("SrcX", "ZDPJBH"), 629);  // the number boxes of the field before
    EXPECT_EQ(d.db().scalar("select CtlFontName from CkControl where CheckTypeID=1 and CtlName='ZDPJBH'").toString(),
              d.db().scalar("select CtlFontName from CkControl where CheckTypeID=1 and CtlName='ZDOUTBANK'").toString());

    emit w.findChild<QComboBox *>("cbFamily")->textActivated("进账单");
    EXPECT_EQ(w.family(), "进账单");
    EXPECT_EQ(w.checkTypeId(), 3);
    EXPECT_TRUE(w.currentField().isEmpty());
}

TEST(Designers, DesignModeOpensTheDesignerOfTheOpenBillAndItsFieldDesigner)
{
    Designer d;
    Tfm_Main main(d.root.context(), [](Tfm_Main &m) {
        installChequeEntry(m);
        installDesigners(m);
    });
    main.findAction("支票")->trigger();
    auto *cheque = qobject_cast<TfmCheckZP *>(main.mdiArea()->subWindowList().value(0)->widget());
    ASSERT_TRUE(cheque);
    ASSERT_FALSE(cheque->field("zdOutBank")->isHidden());

    int designerOf = 0;
    bool hiddenInBill = false;
    QTimer::singleShot(0, &main, [&] {
        auto *designer = qobject_cast<TfmTemplateDesigner *>(QApplication::activeModalWidget());
        if (!designer)
            return;
        designerOf = designer->checkTypeId();
        QTimer::singleShot(0, &main, [&] {
            if (auto *fields = qobject_cast<TfmCheckDesign *>(QApplication::activeModalWidget())) {
                fields->selectField("zdOutBank");
                fields->setHidden(true);
                fields->accept();
            }
        });
        buttonOf(*designer, "btShowHidden")->click();
        hiddenInBill = cheque->field("zdOutBank")->isHidden();
        designer->reject();
    });
    main.runCommand("设计模式（票据模板界面及打印效果调整）");
    EXPECT_EQ(designerOf, 1);
    EXPECT_TRUE(hiddenInBill);  // laid out again as soon as the field designer closed
}

TEST(TemplateDesigner, WheelWalksTheListsAndTheStatusFollowsDragsAndResizing)
{
    Designer d;
    TfmTemplateDesigner w(d.root.context(), 1);
    QListWidget *list = w.allItemsList();
    ASSERT_GT(list->count(), 2);
    auto wheel = [list](int delta) {
        QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(list->viewport(), &e);
        return list->currentRow();
    };
    list->setCurrentRow(0);
    EXPECT_EQ(wheel(-120), 1);  // towards the user: down one line
    EXPECT_EQ(wheel(-120), 2);
    EXPECT_EQ(wheel(120), 1);
    list->setCurrentRow(0);
    EXPECT_EQ(wheel(120), 0);  // stays on the first line

    w.resize(1100, 700);
    QResizeEvent resized(QSize(1100, 700), QSize(1000, 700));
    QApplication::sendEvent(&w, &resized);
    EXPECT_EQ(w.statusMessage(), "SizeW:1100");

    const CanvasItem *label = w.canvas()->itemOf("ZDOUTBANK");
    ASSERT_TRUE(label);
    const QPoint from = label->rect.center();
    const auto send = [&w](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(at), QPointF(w.canvas()->mapToGlobal(at)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(w.canvas(), &e);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, from + QPoint(10, 4), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(w.statusMessage(), "Image1 DragOver!");
    send(QEvent::MouseButtonRelease, from + QPoint(10, 4), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(w.statusMessage(), "End Control Drag!");
}

TEST(FieldDesigner, EnteringTheTemplateBoxRebuildsTheLayoutCacheAndLengthensTheDropDown)
{
    Designer d;
    {
        TfmCheckZP bill(d.root.context());  // builds the cache
        EXPECT_FALSE(bill.field("zdOutBank")->isHidden());
    }
    TfmCheckDesign w(d.root.context(), 1);
    ASSERT_TRUE(w.selectField("zdOutBank"));
    w.setHidden(true);
    QFocusEvent entered(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(w.lastNameBox(), &entered);
    EXPECT_EQ(w.lastNameBox()->maxVisibleItems(), 26);  // the off-screen screen is under 1000 pixels high
    TfmCheckZP bill(d.root.context());  // the designer is still open
    EXPECT_TRUE(bill.field("zdOutBank")->isHidden());
}

TEST(FieldDesigner, SavingWritesOnlyWhatWasTypedAndNoSuccessFollowsAFailure)
{
    Designer d;
    // Stored beyond what the number boxes offer (横向X from 5, 输入框宽 up to 1000).
    d.db().exec("update CkControl set SrcX=2, SrcW=1180 where CheckTypeID=1 and CtlName='ZDREMARK'");
    TfmCheckDesign w(d.root.context(), 1);
    ASSERT_TRUE(w.selectField("ZDREMARK"));
    buttonOf(w, "btSave")->click();
    EXPECT_EQ(d.ctl("SrcX", "ZDREMARK"), 2);
    EXPECT_EQ(d.ctl("SrcW", "ZDREMARK"), 1180);
    EXPECT_EQ(w.undoStack()->count(), 0);

    auto *top = w.findChild<QSpinBox *>("edtY");
    top->setValue(120);
    emit top->editingFinished();
    EXPECT_EQ(d.ctl("SrcY", "ZDREMARK"), 120);
    EXPECT_EQ(d.ctl("SrcX", "ZDREMARK"), 2);
    EXPECT_EQ(d.ctl("SrcW", "ZDREMARK"), 1180);

    // A write the database refuses is told, no success follows, the typed value stays.
    ASSERT_TRUE(refuseChanges(d.db(), "locked", "update", "CkControl", "只读"));
    top->setValue(140);
    d.alerts.clear();
    buttonOf(w, "btSave")->click();
    EXPECT_TRUE(d.alerts.sawMessage("保存设置失败！"));
    EXPECT_FALSE(d.alerts.sawMessage("打印细节修改成功！"));
    EXPECT_EQ(top->value(), 140);
    EXPECT_EQ(d.ctl("SrcY", "ZDREMARK"), 120);
    w.findChild<QCheckBox *>("ckHide")->setChecked(true);
    EXPECT_FALSE(w.findChild<QCheckBox *>("ckHide")->isChecked());  // still shown, as stored
    EXPECT_EQ(d.ctl("NeedShow", "ZDREMARK"), 1);
}

TEST(TemplateDesigner, PaperSizeShowsAndKeepsTenthsOfAMillimetre)
{
    Designer d;
    d.db().exec("update CKTypeTable set PWidth=2254, PHeight=1016 where CheckTypeID=1");
    TfmTemplateDesigner w(d.root.context(), 1);
    auto *width = w.findChild<QComboBox *>("cbPaperWidth");
    auto *height = w.findChild<QComboBox *>("cbPaperHeight");
    EXPECT_EQ(width->currentText(), "22.54");
    EXPECT_EQ(height->currentText(), "10.16");
    buttonOf(w, "btApplyPaper")->click();
    EXPECT_EQ(d.db().scalar("select PWidth from CKTypeTable where CheckTypeID=1").toInt(), 2254);
    EXPECT_EQ(d.db().scalar("select PHeight from CKTypeTable where CheckTypeID=1").toInt(), 1016);
    EXPECT_EQ(w.undoStack()->count(), 0);
    height->setCurrentText("10.2");
    buttonOf(w, "btApplyPaper")->click();
    EXPECT_EQ(d.db().scalar("select PWidth from CKTypeTable where CheckTypeID=1").toInt(), 2254);
    EXPECT_EQ(d.db().scalar("select PHeight from CKTypeTable where CheckTypeID=1").toInt(), 1020);
}

TEST(TemplateDesigner, SampleAndPropertyWritesNeedExactlyOneRow)
{
    Designer d;
    // A database of an earlier version, without the rule of one row per field.
    d.db().exec("drop index ux_namedict_family_name");
    d.db().exec("drop index ux_ckcontrol_type_name");
    TfmTemplateDesigner w(d.root.context(), 1);
    auto *sample = w.findChild<QComboBox *>("cbSample");
    w.selectItems({"ZDYT"});
    d.db().exec("insert into NameDict (CheckTypeName, CtlName, CtlLabel, CtlType, PrintItem, ShowOrd, Groups, CtlData) "
                "values ('支票', 'ZDYT', '用途', 'TEXT', 1, 281, '其他', '货款')");
    sample->setCurrentText("差旅费");
    buttonOf(w, "btApplySample")->click();
    EXPECT_EQ(w.statusMessage(), "测试值更新失败.没有有效的行！");
    d.db().exec("delete from NameDict where CheckTypeName='支票' and CtlName='ZDYT'");
    buttonOf(w, "btApplySample")->click();
    EXPECT_EQ(w.statusMessage(), "测试值更新失败.没有有效的行！");
    EXPECT_EQ(d.db().scalar("select count(*) from NameDict where CtlData='差旅费'").toInt(), 0);

    d.db().exec("insert into CkControl (CheckTypeID, CtlName, CtlCName, CtlType, CtlX, CtlY, CtlW, CtlH) "
                "values (1, 'ZDZFMM', '支付密码', 'TEXT', 1521, 469, 650, 51)");
    w.selectItems({"ZDZFMM"});
    w.findChild<QSpinBox *>("edtX")->setValue(1530);
    EXPECT_TRUE(d.alerts.sawMessage("保存出错,同一个项目多条记录=！ZDZFMM,1"));
    EXPECT_EQ(d.db().scalar("select count(*) from CkControl where CheckTypeID=1 and CtlName='ZDZFMM' and CtlX=1521").toInt(), 2);
    EXPECT_EQ(w.undoStack()->count(), 0);
}

TEST(TemplateDesigner, GroupsThatCannotBeReadAreTold)
{
    Designer d;
    d.db().exec("alter table NameDict rename column Groups to GroupName");
    TfmTemplateDesigner w(d.root.context(), 1);
    EXPECT_TRUE(w.statusMessage().startsWith("分组获取失败")) << w.statusMessage().toStdString();
    // Entering the still empty box reads them again.
    d.db().exec("alter table NameDict rename column GroupName to Groups");
    auto *groups = w.findChild<QComboBox *>("cbGroup");
    QFocusEvent entered(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(groups, &entered);
    EXPECT_TRUE(groups->findText("小写格") >= 0);
}

TEST(TemplateDesigner, CtrlZUndoesAMoveMadeWithTheButtons)
{
    Designer d;
    TfmTemplateDesigner w(d.root.context(), 1);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ASSERT_TRUE(w.isVisible());
    w.selectItems({"ZDOUTBANK"});
    QTest::mouseClick(buttonOf(w, "btRight"), Qt::LeftButton);
    EXPECT_EQ(d.ctl("CtlX", "ZDOUTBANK"), 1625);
    QWidget *focus = w.focusWidget();
    ASSERT_TRUE(focus);
    QComboBox *zoom = w.findChild<QComboBox *>("cbZoom");
    EXPECT_FALSE(focus == zoom || zoom->isAncestorOf(focus));  // its line edit would take Ctrl+Z
    QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(d.ctl("CtlX", "ZDOUTBANK"), 1620);
}

TEST(FieldDesigner, DigitBoxCaptionsShowWhole)
{
    Designer d;
    TfmCheckDesign w(d.root.context(), 1);
    w.show();
    ASSERT_TRUE(w.isVisible());
    // The digit boxes are 17 pixels wide: "亿位" showed as "亿(", "千万位" as "千7".
    const struct { const char *name, *caption; } boxes[] = {{"ZDYY", "亿"}, {"ZDQW", "千万"}, {"ZDF", "分"}};
    for (const auto &b : boxes) {
        const CanvasItem *box = w.canvas()->itemOf(b.name);
        ASSERT_TRUE(box) << b.name;
        EXPECT_EQ(box->text, QString::fromUtf8(b.caption));
        EXPECT_LE(QFontMetrics(box->font).horizontalAdvance(box->text), box->rect.width()) << b.name;
    }
    EXPECT_EQ(w.canvas()->itemOf("ZDQW")->hint, "千万位");
}

TEST(TemplateDesigner, FontBoxShowsTheTemplatesFaceName)
{
    Designer d;
    d.db().exec("update CkControl set CtlFontName='黑体' where CheckTypeID=1 and CtlName='ZDYT'");
    TfmTemplateDesigner w(d.root.context(), 1);
    w.show();
    ASSERT_TRUE(w.isVisible());
    auto *font = w.findChild<QComboBox *>("cbFont");
    EXPECT_EQ(font->currentText(), "宋体");  // nothing loaded yet: not the first installed family
    EXPECT_EQ(font->itemData(font->currentIndex(), Qt::ToolTipRole).toString(),
              "打印时使用：" + resolvePrintFace("宋体"));
    for (int i = 0; i < font->count(); ++i)
        EXPECT_FALSE(font->itemText(i).endsWith(']')) << font->itemText(i).toStdString();
    w.selectItems({"ZDYT"});
    EXPECT_EQ(font->currentText(), "黑体");
    EXPECT_EQ(d.db().scalar("select CtlFontName from CkControl where CheckTypeID=1 and CtlName='ZDYT'").toString(),
              "黑体");
}

TEST(TemplateDesigner, SavingTheBoxKeepsStoredValuesTheBoxesCannotShow)
{
    Designer d;
    // 距顶 offers up to the paper height less 0.5 mm (795 on the 80 mm cheque), 区域宽 up to 3000.
    d.db().exec("update CkControl set CtlY=798, CtlW=3100 where CheckTypeID=1 and CtlName='ZDZFMM'");
    TfmTemplateDesigner w(d.root.context(), 1);
    w.selectItems({"ZDZFMM"});
    EXPECT_EQ(w.findChild<QSpinBox *>("edtY")->value(), 795);
    w.findChild<QSpinBox *>("edtX")->setValue(1530);
    buttonOf(w, "btSaveBox")->click();
    EXPECT_EQ(d.ctl("CtlX", "ZDZFMM"), 1530);
    EXPECT_EQ(d.ctl("CtlY", "ZDZFMM"), 798);
    EXPECT_EQ(d.ctl("CtlW", "ZDZFMM"), 3100);
}

// Desk B, a second copy of the program on the same data, moves a print
// item of template 1 through the designers' own writer.
static void moveAtDeskB(const QString &dataRoot, const QString &name, int x)
{
    std::unique_ptr<AppContext> deskB = AppContext::open(DataRoot(dataRoot), nullptr, dataRoot + "/desk-b.conf");
    ASSERT_TRUE(deskB);
    const std::optional<TCheckType> type = TCheckType::findById(deskB->db(), 1);
    ASSERT_TRUE(type);
    TemplateVersion version{1, type->RowVersion};
    const int before = deskB->db().scalar("select CtlX from CkControl where CheckTypeID=1 and CtlName=?", {name}).toInt();
    TemplateEditWriter(deskB->db()).write({ColumnEdit::field(1, name, "CtlX", before, x)}, false, &version);
    EXPECT_EQ(version.read, type->RowVersion + 1);
}

TEST(TemplateDesigner, SavingATemplateAnotherDeskSavedMeanwhileAsksFirst)
{
    Designer d;
    TfmTemplateDesigner w(d.root.context(), 1);
    w.show();
    ASSERT_TRUE(w.isVisible());
    w.selectItems({"ZDZFMM"});
    moveAtDeskB(d.root.path(), "ZDZFMM", 1400);

    // No: desk B's position stays, the box keeps what was typed, no success.
    w.findChild<QSpinBox *>("edtX")->setValue(1530);
    d.alerts.clear();
    d.alerts.answerNext(AlertAnswer::No);
    buttonOf(w, "btSaveBox")->click();
    EXPECT_EQ(d.alerts.messages(), QStringList{"该记录已被其他用户修改，是否覆盖？"});
    EXPECT_EQ(d.ctl("CtlX", "ZDZFMM"), 1400);
    EXPECT_EQ(w.findChild<QSpinBox *>("edtX")->value(), 1530);
    EXPECT_NE(w.statusMessage(), "1个项目保存成功！");

    // Yes: this desk's position is stored.
    d.alerts.clear();
    d.alerts.answerNext(AlertAnswer::Yes);
    buttonOf(w, "btSaveBox")->click();
    EXPECT_EQ(d.alerts.messages(), QStringList{"该记录已被其他用户修改，是否覆盖？"});
    EXPECT_EQ(d.ctl("CtlX", "ZDZFMM"), 1530);

    // The designer holds the new version: with no one in between it asks nothing.
    d.alerts.clear();
    w.findChild<QSpinBox *>("edtX")->setValue(1560);
    buttonOf(w, "btSaveBox")->click();
    EXPECT_TRUE(d.alerts.messages().isEmpty());
    EXPECT_EQ(d.ctl("CtlX", "ZDZFMM"), 1560);
    EXPECT_EQ(d.db().scalar("select RowVersion from CKTypeTable where CheckTypeID=1").toInt(), 3);
}

TEST(Designers, ATemplateMadeAtAnotherDeskOfASharedDatabaseIsDesignedOverItsPicture)
{
    TemplatePictureStore::ForcedSharing sharing(true);
    Designer deskA;
    const QString imagesA = deskA.root.context().dataRoot().imageFolder();
    ensureDeliveredPictures(imagesA);
    QString message;
    ASSERT_EQ(TemplateCatalogue(deskA.db(), imagesA).cloneTemplate(1, "公司转账", &message), 7);
    TempDataRoot deskB;
    AppContext &ctxB = deskB.shareDatabaseOf(deskA.root.context());
    const QString pictureB = ctxB.dataRoot().imageFolder() + "zp7.jpg";

    TfmCheckDesign fields(ctxB, 7);
    fields.show();
    ASSERT_TRUE(fields.isVisible());
    ASSERT_TRUE(QFile::exists(pictureB));
    EXPECT_EQ(QImage(pictureB).size(), QSize(855, 304));
    QFile::remove(pictureB);
    TfmTemplateDesigner paper(ctxB, 7);
    paper.show();
    ASSERT_TRUE(paper.isVisible());
    EXPECT_EQ(paper.findChild<QLabel *>("lbImgSource")->text(), pictureB);
    EXPECT_EQ(QImage(pictureB).size(), QSize(855, 304));
    EXPECT_TRUE(deskA.alerts.alerts().empty()) << deskA.alerts.messages().join('|').toStdString();
}
