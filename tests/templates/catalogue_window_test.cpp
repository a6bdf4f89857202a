#include "app/data_root.h"
#include "shell/ui/startup.h"
#include "shell/ui/tfm_main.h"
#include "bills/ui/tfm_check_zp.h"
#include "recording_output.h"
#include "template_fixtures.h"
#include "templates/delivered_pictures.h"
#include "templates/template_package.h"
#include "templates/template_picture_store.h"
#include "templates/ui/tfrm_bill_import_export.h"
#include "templates/ui/tfrm_check_type_mng.h"

#include "app/ui/tfrm_image_show.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLineF>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QWheelEvent>

using namespace billprint;
using namespace billprint::test;

namespace {

struct Windows
{
    TempDataRoot root;
    AppContext &ctx() { return root.context(); }
    void reset()
    {
        for (const char *table : {"CKTypeTable", "CkControl", "DMTable"})
            ctx().db().exec(QStringLiteral("delete from ") + QLatin1String(table));
    }
    void add(int id, const QString &first, const QString &last, const QString &visiable = TemplateFlag::Enabled,
             const QString &picture = QString())
    {
        TCheckType t;
        t.ImgFile = picture;
        t.CheckTypeID = id;
        t.setFullName(first, last);
        t.TypeFirstName = first;
        t.TypeDescribe = last;
        t.Visiable = visiable;
        t.IsCommon = TemplateFlag::Common;
        t.IsDefault = TemplateFlag::NotDefault;
        t.save(ctx().db());
    }
};

// Answers the next modal window (the picture viewer) by noting whether it
// shows a picture and closing it.
void closeNextViewer(bool *sawPicture)
{
    QTimer::singleShot(0, [sawPicture] {
        auto *viewer = qobject_cast<TfrmImageShow *>(QApplication::activeModalWidget());
        *sawPicture = viewer && viewer->hasPicture();
        if (viewer)
            viewer->reject();
    });
}

void writePicture(const QString &path)
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    ASSERT_TRUE(image.save(path, "JPEG"));
}

} // namespace

TEST(CatalogueWindow, ListsByScopeAndDeletesAfterBothQuestions)
{
    Windows w;
    w.reset();
    w.add(1, "支票", "甲");
    w.add(2, "支票", "乙_%");
    w.add(3, "支票", "丙", TemplateFlag::Hidden);
    AlertRecorder alerts;
    TfrmCheckTypeMng window(w.ctx(), 0);
    EXPECT_EQ(window.grid()->model()->rowCount(), 2);
    EXPECT_EQ(window.windowTitle(), "所有模板种类模板管理(查询2个)");
    window.scopes()->setCurrentIndex(3);
    EXPECT_EQ(window.grid()->model()->rowCount(), 1);
    window.scopes()->setCurrentIndex(0);

    window.grid()->selectRow(0);
    const int id = window.grid()->model()->index(0, 0).data().toInt();
    alerts.answerNext(AlertAnswer::Yes);
    alerts.answerNext(AlertAnswer::Yes);
    window.deleteSelected();
    EXPECT_TRUE(alerts.sawMessage("共删除 1 个模板！"));
    EXPECT_EQ(w.ctx().db().scalar("select count(*) from CKTypeTable where CheckTypeID=?", {id}).toInt(), 0);
    EXPECT_EQ(window.grid()->model()->rowCount(), 1);
}

TEST(PackageWindow, RefusesAHostilePackageAndImportsAGoodOne)
{
    Windows source;
    source.reset();
    source.add(7, "快递单", "甲公司");
    QTemporaryDir dir;
    QString error;
    const QString good = dir.filePath("快递单-甲公司.tpk");
    ASSERT_TRUE(TemplatePackage::write(source.ctx().db(), source.ctx().dataRoot().imageFolder(), {7}, good, &error));
    EXPECT_EQ(TfrmBillImportExport::proposedExportName({"快递单（甲公司）"}), "快递单-甲公司.tpk");

    Windows target;
    target.reset();
    AlertRecorder alerts;
    TfrmBillImportExport window(target.ctx(), true);
    const QString bad = dir.filePath("bad.tpk");
    QFile f(bad);
    f.open(QIODevice::WriteOnly);
    f.write("not a package");
    f.close();
    window.choosePackage(bad);
    EXPECT_TRUE(alerts.sawMessage(":),数据包访问异常！票据包无法导入："));
    window.choosePackage(good);
    EXPECT_EQ(window.importChosen()->count(), 1);
    window.startImport();
    EXPECT_TRUE(alerts.sawMessage("导入结束，成功导入单据1个!"));
    window.startImport();  // the name is taken now: answering No imports nothing
    EXPECT_TRUE(alerts.sawMessage("导入结束，失败1个!"));
    EXPECT_EQ(target.ctx().db().scalar("select count(*) from CKTypeTable").toInt(), 1);
}

TEST(CatalogueWindow, RowsAlternateTintsAndTheWheelWalksTheSelection)
{
    Windows w;
    w.reset();
    w.add(1, "支票", "甲");
    w.add(2, "支票", "乙");
    w.add(3, "支票", "丙");
    TfrmCheckTypeMng window(w.ctx(), 0);
    const QAbstractItemModel *model = window.grid()->model();
    const struct
    {
        int row;
        QColor tint;
    } rows[] = {{0, QColor(0xE6, 0xEB, 0xFF)}, {1, QColor(0xEF, 0xFC, 0xF3)}, {2, QColor(0xE6, 0xEB, 0xFF)}};
    for (const auto &r : rows) {
        EXPECT_EQ(model->index(r.row, 1).data(Qt::BackgroundRole).value<QColor>(), r.tint) << r.row;
        EXPECT_EQ(model->index(r.row, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::black)) << r.row;
    }

    auto wheel = [&window](int delta) {
        QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(window.grid()->viewport(), &event);
        return window.grid()->currentIndex().row();
    };
    window.grid()->selectRow(0);
    EXPECT_EQ(wheel(-120), 1);  // towards the user: down
    EXPECT_EQ(wheel(-120), 2);
    EXPECT_EQ(wheel(-120), 2);  // stays on the last row
    EXPECT_EQ(wheel(120), 1);   // away: up
    EXPECT_EQ(window.grid()->selectionModel()->selectedRows().size(), 1);
}

TEST(CatalogueWindow, DoubleClickShowsThePictureAndAFailedCloseIsTold)
{
    Windows w;
    w.reset();
    writePicture(w.ctx().dataRoot().imageFolder() + "zp1.jpg");
    w.add(1, "支票", "甲", TemplateFlag::Enabled, "zp1.jpg");
    w.add(2, "支票", "乙");
    AlertRecorder alerts;
    auto window = std::make_unique<TfrmCheckTypeMng>(w.ctx(), 0);
    bool sawPicture = false;
    closeNextViewer(&sawPicture);
    window->showPicture(1);  // rows by name: 支票（乙） before 支票（甲）
    EXPECT_TRUE(sawPicture);
    window->showPicture(0);
    EXPECT_TRUE(alerts.sawMessage("没有有效的图片文件~"));

    // Config.ini cannot be written: closing says so.
    const QString config = w.ctx().config().path();
    QFile::remove(config);
    ASSERT_TRUE(QDir().mkpath(config));
    window->reject();
    EXPECT_TRUE(alerts.sawMessage("资源关闭异常~"));
    window.reset();
    QDir().rmdir(config);
}

TEST(PackageWindow, StatusProgressAndTheChosenListsFollowTheUser)
{
    Windows source;
    source.reset();
    writePicture(source.ctx().dataRoot().imageFolder() + "kdd7.jpg");
    source.add(7, "快递单", "甲公司", TemplateFlag::Enabled, "kdd7.jpg");
    source.add(8, "快递单", "乙公司");
    QTemporaryDir dir;
    QString error;
    const QString good = dir.filePath("两个.tpk");
    ASSERT_TRUE(TemplatePackage::write(source.ctx().db(), source.ctx().dataRoot().imageFolder(), {7, 8}, good, &error))
        << error.toStdString();

    Windows target;
    target.reset();
    AlertRecorder alerts;
    TfrmBillImportExport window(target.ctx(), true);
    const auto boxes = window.findChildren<QCheckBox *>();
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes[0]->text(), "更新旧版本单据");
    EXPECT_TRUE(boxes[0]->isChecked());
    EXPECT_FALSE(boxes[0]->isEnabled());
    EXPECT_EQ(boxes[1]->text(), "保留旧版本");
    EXPECT_TRUE(boxes[1]->isHidden());
    EXPECT_EQ(window.statusBar()->currentMessage(), "请先浏览找到要导入的模版文件(如: 支票2012.tpk ).");

    window.choosePackage(dir.filePath("bad.tpk"));
    EXPECT_TRUE(target.ctx().config().readString("ERROR", "LASTERROR").startsWith(":),数据包访问异常！"));

    window.choosePackage(good);
    EXPECT_EQ(window.statusBar()->currentMessage(), "提示:点击【开始导入】按钮执行导入!");
    ASSERT_EQ(window.packageList()->count(), 1);
    emit window.packageList()->itemClicked(window.packageList()->item(0));
    EXPECT_EQ(window.statusBar()->currentMessage(), "当前选中:" + window.packageList()->item(0)->text());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(window.packageList(), &leave);
    EXPECT_TRUE(window.statusBar()->currentMessage().isEmpty());

    bool sawPicture = false;
    closeNextViewer(&sawPicture);
    window.showPackagePicture("快递单（甲公司）");
    EXPECT_TRUE(sawPicture);
    window.showPackagePicture("快递单（乙公司）");
    EXPECT_TRUE(alerts.sawMessage("图片调入失败:"));

    window.clearImportChoice();  // "X"
    EXPECT_EQ(window.importChosen()->count(), 0);
    EXPECT_EQ(window.packageList()->count(), 2);
    EXPECT_FALSE(window.importButton()->isEnabled());

    window.choosePackage(good);
    window.startImport();
    EXPECT_EQ(window.progress()->text(), "1/1");
    EXPECT_TRUE(alerts.sawMessage("导入结束，成功导入单据1个!"));

    window.packageChoiceCancelled();
    EXPECT_FALSE(window.importButton()->isEnabled());
    for (QPushButton *b : window.findChildren<QPushButton *>())
        if (b->text() == "->" || b->text() == "->>" || b->text() == "X")
            EXPECT_FALSE(b->isEnabled()) << b->text().toStdString();
}

TEST(PackageWindow, ExportPanelOpensAfterTwentyOneClicksOnTheCoverOfAMaximisedWindow)
{
    Windows w;
    w.reset();
    w.add(7, "快递单", "甲公司");
    AlertRecorder alerts;
    TfrmBillImportExport window(w.ctx(), false);
    ASSERT_NE(window.exportCover(), nullptr);
    EXPECT_TRUE(window.exportCover()->text().endsWith("正在建设中.."));
    auto click = [&window](int times) {
        for (int i = 0; i < times; ++i) {
            QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                                Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(window.exportCover(), &release);
        }
    };
    click(30);  // not maximised: nothing
    EXPECT_FALSE(window.exportPanelShown());
    window.setWindowState(Qt::WindowMaximized);
    click(20);
    EXPECT_FALSE(window.exportPanelShown());
    click(1);
    EXPECT_TRUE(window.exportPanelShown());
    ASSERT_EQ(window.databaseList()->count(), 1);
    EXPECT_EQ(window.databaseList()->item(0)->text(), "快递单（甲公司）");
}

TEST(CatalogueWindow, TemplateDesignEntryOpensTheChosenTemplateOrSaysItCannot)
{
    Windows w;
    w.reset();
    w.add(1, "支票", "甲");
    w.add(2, "支票", "乙");
    AlertRecorder alerts;
    TfrmCheckTypeMng window(w.ctx(), 0);
    auto designEntry = [&window](QMenu &menu) {
        window.fillMenu(menu);
        for (QAction *action : menu.actions())
            if (action->text() == QStringLiteral("模板设计"))
                return action;
        return static_cast<QAction *>(nullptr);
    };
    // Rows go by name, in code order: 乙 (id 2) before 甲 (id 1).
    window.grid()->selectRow(1);
    QMenu menu;
    QAction *entry = designEntry(menu);
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->isEnabled());

    entry->trigger();
    EXPECT_TRUE(alerts.sawMessage("该功能将在后续版本提供"));

    int opened = 0;
    window.openDesign = [&opened](int id) { opened = id; };
    entry->trigger();
    EXPECT_EQ(opened, 1);
}

namespace {

int rowOfTemplate(TfrmCheckTypeMng &window, int id)
{
    const QAbstractItemModel *model = window.grid()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->index(row, 0).data().toInt() == id)
            return row;
    return -1;
}

// Where the cheque window prints the amount in capitals on the template
// chosen by its last name; prints nothing when the window cannot choose it.
QPointF capitalsPrintedOn(AppContext &ctx, const QString &lastName, int *openedId)
{
    RecordingOutput output;
    TfmCheckZP window(ctx);
    window.setPrintOutput(&output);
    if (!window.chooseTemplate(lastName))
        return {};
    *openedId = window.checkTypeId();
    window.setJEXX("1234.56");
    if (!window.printOne())
        return {};
    const std::vector<RecordedText> capitals = output.textsEqual("壹仟贰佰叁拾肆元伍角陆分");
    window.setPrintOutput(nullptr);
    return capitals.size() == 1 ? capitals.front().baseline : QPointF();
}

} // namespace

TEST(CatalogueWindow, AClonedChequeTemplateOpensAndPrintsAsItself)
{
    TempDataRoot root;
    AppContext &ctx = root.context();
    ensureDeliveredPictures(ctx.dataRoot().imageFolder());
    ctx.printerNames = {"测试打印机"};
    AlertRecorder alerts;
    TfrmCheckTypeMng window(ctx, 0);
    QStringList prompts;
    window.askName = [&prompts](const QString &prompt, const QString &current) {
        prompts << prompt + current;
        return QStringLiteral("工行转账");
    };
    window.grid()->selectRow(rowOfTemplate(window, 1));  // 支票（通用转账支票）, delivered
    window.cloneTemplate();
    EXPECT_EQ(prompts, QStringList{"输入新模板名(15个汉字以内)：通用转账支票"});
    EXPECT_TRUE(alerts.sawMessage("克隆模板成功，已新增一个同类模板~"));
    const int clone = ctx.db().scalar("select CheckTypeID from CKTypeTable where TypeName='支票（工行转账）'").toInt();
    ASSERT_GT(clone, 1);
    EXPECT_EQ(ctx.db().scalar("select TypeDescribe from CKTypeTable where CheckTypeID=?", {clone}).toString(),
              "工行转账");

    // The clerk moves the clone's amount in capitals 10 mm to the right.
    ASSERT_TRUE(ctx.db().exec("update CkControl set CtlX=CtlX+100 where CheckTypeID=? and CtlName='ZDJEDX'", {clone}));
    int opened = 0;
    const QPointF onSource = capitalsPrintedOn(ctx, "通用转账支票", &opened);
    EXPECT_EQ(opened, 1);
    const QPointF onClone = capitalsPrintedOn(ctx, "工行转账", &opened);
    EXPECT_EQ(opened, clone);
    ASSERT_FALSE(onSource.isNull());
    ASSERT_FALSE(onClone.isNull());
    EXPECT_NEAR(QLineF(onSource, onClone).length(), 100 / 254.0 * 600, 0.5);  // 10 mm at 600 dpi

    // Made the default, the clone is what a new cheque opens with.
    window.grid()->selectRow(rowOfTemplate(window, clone));
    window.setDefault();
    TfmCheckZP cheque(ctx);
    EXPECT_EQ(cheque.checkTypeId(), clone);
}

TEST(CatalogueWindow, AFailedChangeIsNeverFollowedByACountOrATabSwitch)
{
    Windows w;
    w.reset();
    w.add(1, "支票", "甲");
    w.add(2, "支票", "乙");
    AlertRecorder alerts;
    TfrmCheckTypeMng window(w.ctx(), 0);
    ASSERT_TRUE(refuseChanges(w.ctx().db(), "locked", "update", "CKTypeTable", "locked"));
    window.grid()->selectRow(0);
    window.setCommon(true);
    EXPECT_EQ(alerts.messages(), QStringList{"模板设置失败,中止！~"});
    EXPECT_EQ(window.scopes()->currentIndex(), 0);

    window.scopes()->setCurrentIndex(1);
    window.grid()->selectRow(0);
    alerts.clear();
    window.setCommon(false);
    EXPECT_EQ(alerts.messages(), QStringList{"模板设置失败,中止！~"});
    EXPECT_EQ(window.scopes()->currentIndex(), 1);

    ASSERT_TRUE(refuseChanges(w.ctx().db(), "kept", "delete", "CKTypeTable", "kept"));
    window.grid()->selectRow(0);
    alerts.clear();
    alerts.answerNext(AlertAnswer::Yes);
    alerts.answerNext(AlertAnswer::Yes);
    window.deleteSelected();
    EXPECT_EQ(alerts.messages().size(), 3);
    EXPECT_EQ(alerts.messages().value(2), "模板删除失败,中止！~");
    EXPECT_EQ(w.ctx().db().scalar("select count(*) from CKTypeTable").toInt(), 2);
}

namespace {

// Notes whether the next modal window is the catalogue on screen, and closes it.
void closeNextCatalogue(bool *shown)
{
    QTimer::singleShot(0, [shown] {
        auto *catalogue = qobject_cast<TfrmCheckTypeMng *>(QApplication::activeModalWidget());
        *shown = catalogue && catalogue->isVisible();
        if (catalogue)
            catalogue->reject();
    });
}

} // namespace

TEST(CatalogueWindow, OpensFromTheMainMenuAndFromTheChequeWindowsTab)
{
    TempDataRoot root;
    AppContext &ctx = root.context();
    ensureDeliveredPictures(ctx.dataRoot().imageFolder());
    AlertRecorder alerts;
    Tfm_Main frame(ctx, installAllParts);
    bool shown = false;
    closeNextCatalogue(&shown);
    frame.findAction("票据模板管理（默认、显示、隐藏）")->trigger();
    EXPECT_TRUE(shown);

    frame.findAction("支票")->trigger();
    auto *cheque = frame.findChild<TfmCheckZP *>();
    ASSERT_NE(cheque, nullptr);
    QTabBar *tabs = cheque->templateTabs();
    const int configure = tabs->count() - 1;
    ASSERT_EQ(tabs->tabText(configure), "配置常用模板");
    shown = false;
    closeNextCatalogue(&shown);
    tabs->setCurrentIndex(configure);
    EXPECT_TRUE(shown);
}

// The clerk reads which package was chosen: a path of a download folder
// fits whole into the box; a longer one loses its middle, not its ends.
TEST(PackageWindow, ThePackagePathIsShownWholeOrShortenedInTheMiddle)
{
    Windows w;
    AlertRecorder alerts;
    TfrmBillImportExport window(w.ctx(), true);
    window.show();
    QLineEdit *box = window.packagePathBox();
    auto fits = [box] { return box->fontMetrics().horizontalAdvance(box->text()) < box->width(); };

    const QString usual = "/home/财务部/文档/票据模板/2026年/快递单-新嘉豪速递.tpk";
    window.choosePackage(usual);  // no such file: told, the path stays
    EXPECT_EQ(box->text(), usual);
    EXPECT_TRUE(fits());

    const QString deep = "/media/财务U盘/2026年各银行票据模板备份/顺丰速运与其他快递公司的面单/快递单-新嘉豪速递（2026年3月版）.tpk";
    window.resize(520, 420);
    window.choosePackage(deep);
    EXPECT_TRUE(fits());
    EXPECT_TRUE(box->text().startsWith("/media/")) << box->text().toStdString();
    EXPECT_TRUE(box->text().endsWith("版）.tpk")) << box->text().toStdString();
    EXPECT_TRUE(box->text().contains("…"));
    EXPECT_EQ(box->toolTip(), deep);
}

TEST(CatalogueWindow, APictureSetAtAnotherDeskOfASharedDatabaseIsShown)
{
    TemplatePictureStore::ForcedSharing sharing(true);
    Windows deskA;
    deskA.reset();
    const QString imagesA = deskA.ctx().dataRoot().imageFolder();
    writePicture(imagesA + "zp3.jpg");
    deskA.add(3, "支票", "工行", TemplateFlag::Enabled, "zp3.jpg");
    QString error;
    ASSERT_TRUE(TemplatePictureStore(deskA.ctx().db(), imagesA).publish("zp3.jpg", &error)) << error.toStdString();
    TempDataRoot deskB;
    AppContext &ctxB = deskB.shareDatabaseOf(deskA.ctx());

    AlertRecorder alerts;
    TfrmCheckTypeMng catalogue(ctxB, 0);
    catalogue.show();
    ASSERT_TRUE(catalogue.isVisible());
    bool sawPicture = false;
    closeNextViewer(&sawPicture);
    catalogue.showPicture(0);
    EXPECT_TRUE(sawPicture);
    EXPECT_TRUE(QFile::exists(ctxB.dataRoot().imageFolder() + "zp3.jpg"));

    QFile::remove(ctxB.dataRoot().imageFolder() + "zp3.jpg");
    TfrmBillImportExport packages(ctxB, false);
    packages.show();
    ASSERT_TRUE(packages.isVisible());
    sawPicture = false;
    closeNextViewer(&sawPicture);
    packages.showDatabasePicture("支票（工行）");
    EXPECT_TRUE(sawPicture);
    EXPECT_TRUE(alerts.alerts().empty()) << alerts.messages().join('|').toStdString();
}

// A package double-clicked in the file manager starts the program with its
// path: the package window opens with its templates listed for import.
TEST(PackageWindow, APackageGivenOnTheCommandLineOpensTheImportWindowWithItsTemplates)
{
    Windows source;
    source.reset();
    source.add(7, "快递单", "甲公司");
    QTemporaryDir dir;
    QString error;
    const QString package = dir.filePath("快递单-甲公司.tpk");
    ASSERT_TRUE(TemplatePackage::write(source.ctx().db(), source.ctx().dataRoot().imageFolder(), {7}, package, &error));

    const StartupOptions options = parseCommandLine({"billprint", package});
    EXPECT_EQ(options.packageFile, package);
    EXPECT_TRUE(options.subcommand.isEmpty());
    EXPECT_TRUE(options.error.isEmpty());

    Windows target;
    target.reset();
    AlertRecorder alerts;
    Tfm_Main frame(target.ctx(), installAllParts);
    bool shown = false;
    int listed = -1;
    QString chosen;
    QTimer::singleShot(0, [&] {
        auto *window = qobject_cast<TfrmBillImportExport *>(QApplication::activeModalWidget());
        if (!window)
            return;
        shown = window->isVisible();
        listed = window->importChosen()->count();
        chosen = window->packagePathBox()->toolTip();
        window->reject();
    });
    openFilesGiven(frame, options);
    EXPECT_TRUE(shown);
    EXPECT_EQ(listed, 1);
    EXPECT_EQ(chosen, package);
    EXPECT_TRUE(alerts.alerts().empty()) << alerts.messages().join("|").toStdString();
}
