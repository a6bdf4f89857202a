// The batch print list window over a waybill window: listing, filtering,
// selecting, emptying, the column rewrite, printing with stop, the hooks
// of the import and address text windows, and picking from the address
// book.

#include "../bills/cheque_fixtures.h"
#include "app/ui/grid_helpers.h"
#include "shell/ui/startup.h"
#include "shell/ui/tfm_main.h"
#include "batch/receiver_list.h"
#include "batch/ui/batch_list_host.h"
#include "batch/ui/column_rewrite_panel.h"
#include "batch/ui/tfrm_muti_print.h"
#include "batch/ui/tfrm_pick_units.h"
#include "bills/ui/tfm_check_kdd.h"
#include "preview_pages.h"
#include "printing/pdf_print_output.h"
#include "printing/ui/print_preview_dialog.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QLabel>
#include <QFile>

namespace billprint::test {
namespace {

class MutiPrintTest : public ChequeTest
{
protected:
    void SetUp() override
    {
        ChequeTest::SetUp();
        waybill = std::make_unique<TfmCheckKDD>(ctx(), host());
        waybill->setPrintOutput(&output);
        batchListHost() = BatchListHost();
        TfmCheckKDD::setBatchListOpener({});  // another test may have installed the main window's
        batchListHost().askValue = [this](const QString &, const QString &, QWidget *) { return valueAnswer; };
        // Every page of a batch carries the sender the waybill shows.
        waybill->setFieldText(QStringLiteral("zdHKR"), QStringLiteral("广州禾朔商贸有限公司"));
    }
    void TearDown() override { batchListHost() = BatchListHost(); }

    int add(const QList<QPair<QString, QString>> &row)
    {
        QString error;
        const int id = ReceiverList(db()).add(row, &error);
        EXPECT_GT(id, 0) << error.toStdString();
        return id;
    }
    TfrmMutiPrint &list()
    {
        if (!window) {
            window = TfrmMutiPrint::of(*waybill);
            window->refresh();
        }
        return *window;
    }
    void filter(const QString &entry, const QString &mode, const QString &key)
    {
        list().filterBox()->setCurrentText(entry);
        list().modeBox()->setCurrentText(mode);
        list().keyEdit()->setText(key);
        list().refresh();
    }
    QString column(int id, const char *name)
    {
        return ReceiverList(db()).row(id).value(QString::fromUtf8(name)).toString();
    }

    std::unique_ptr<TfmCheckKDD> waybill;
    TfrmMutiPrint *window = nullptr;
};

TEST_F(MutiPrintTest, AnEmptyListDisablesPrintAndThePreviewDoesNothing)
{
    EXPECT_EQ(list().listedCount()->text(), QStringLiteral("0"));
    EXPECT_FALSE(list().button(QStringLiteral("btPrint"))->isEnabled());
    waybill->setFieldText(QStringLiteral("zdSkrDZ"), QStringLiteral("原地址"));
    list().preview();
    EXPECT_EQ(waybill->fieldText(QStringLiteral("zdSkrDZ")), QStringLiteral("原地址"));
    EXPECT_EQ(list().printListed(), 0);
    EXPECT_EQ(output.begins, 0);
    add({{"全称", "甲"}});
    list().refresh();
    EXPECT_TRUE(list().button(QStringLiteral("btPrint"))->isEnabled());
    EXPECT_EQ(list().listedCount()->text(), QStringLiteral("1"));
}

TEST_F(MutiPrintTest, SelectFirstNStopsAtTheLastRowAndRefusesANonNumber)
{
    for (int i = 0; i < 4; ++i)
        add({{"全称", QStringLiteral("收件%1").arg(i)}});
    list();
    const struct { const char *answer; int selected; } cases[] = {{"2", 2}, {"99", 4}, {"0", 0}};
    for (const auto &c : cases) {
        valueAnswer = QString::fromUtf8(c.answer);
        list().selectFirstN();
        EXPECT_EQ(list().selectedIds().size(), c.selected) << c.answer;
        EXPECT_EQ(list().selectedCount()->text(), QString::number(c.selected)) << c.answer;
    }
    valueAnswer = QStringLiteral("两张");
    list().selectFirstN();
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("输入错误的数字！")));
}

TEST_F(MutiPrintTest, FiltersBindTheKeyAndOfferTheCombinedEntriesFirst)
{
    const int exact = add({{"全称", "甲"}, {"电话", "1380000"}});
    const int mobile = add({{"全称", "乙"}, {"手机", "1380000"}});
    add({{"全称", "丙"}, {"电话", "13800001"}});
    const int quoted = add({{"全称", "O'Brien"}, {"联系人", "Pat"}});
    add({{"全称", "分组里的"}, {"电话", "1380000"}, {"批打分组", "脚本"}});
    list();
    EXPECT_EQ(list().filterBox()->itemText(0), QStringLiteral("联系人|全称|电话"));
    EXPECT_EQ(list().filterBox()->itemText(1), QStringLiteral("电话|手机"));
    EXPECT_EQ(list().filterBox()->itemText(3), QStringLiteral("全称"));  // after the ID column
    EXPECT_EQ(list().rowCount(), 4);

    filter(QStringLiteral("电话|手机"), QStringLiteral("等于"), QStringLiteral("1380000"));
    EXPECT_EQ(list().listedIds(), (QList<int>{exact, mobile}));
    filter(QStringLiteral("联系人|全称|电话"), QStringLiteral("包含"), QStringLiteral("O'Bri"));
    EXPECT_EQ(list().listedIds(), (QList<int>{quoted}));
    filter(QStringLiteral("全称"), QStringLiteral("包含"), QStringLiteral("%"));
    EXPECT_TRUE(list().listedIds().isEmpty());

    list().descendingBox()->setChecked(true);
    list().listAll();
    EXPECT_EQ(list().listedIds().first(), quoted);
}

TEST_F(MutiPrintTest, EmptyingRestartsNumberingAtOne)
{
    add({{"全称", "甲"}});
    add({{"全称", "乙"}});
    list();
    alerts.answerNext(AlertAnswer::Yes);
    list().clearAll();
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("清除后流水ID后会重置")));
    EXPECT_EQ(list().rowCount(), 0);
    TPersonKDD receiver;
    receiver.setFullName(QStringLiteral("新收件人"));
    EXPECT_TRUE(list().addReceiverAndGoods(receiver));
    EXPECT_EQ(list().listedIds(), (QList<int>{1}));
    TPersonKDD empty;  // no name, contact or address: not added
    EXPECT_TRUE(list().addReceiverAndGoods(empty));
    EXPECT_EQ(list().rowCount(), 1);
}

TEST_F(MutiPrintTest, RewriteConcatenatesTheColumnsOfEveryRow)
{
    const int a = add({{"省", "广东"}, {"市", "深圳"}, {"地址", "南山路1号"}});
    const int b = add({{"省", "浙江"}, {"地址", "西湖'路"}, {"批打分组", "脚本"}});
    list().toggleRewritePanel();
    ASSERT_TRUE(list().rewritePanel()->isVisibleTo(&list()));
    EXPECT_EQ(list().rewritePart(0)->itemText(0), QStringLiteral("光盘数:"));
    EXPECT_EQ(list().rewritePart(2)->itemText(1), QStringLiteral("本"));
    list().rewriteTarget()->setCurrentText(QStringLiteral("@地址"));
    list().rewritePart(0)->setCurrentText(QStringLiteral("@省"));
    list().rewritePart(1)->setCurrentText(QStringLiteral("@市"));
    list().rewritePart(2)->setCurrentText(QStringLiteral("@地址"));
    list().applyRewrite();
    EXPECT_EQ(column(a, "地址"), QStringLiteral("广东深圳南山路1号"));
    EXPECT_EQ(column(b, "地址"), QStringLiteral("浙江西湖'路"));
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("2条收件人的【地址】修改成功！")));
    EXPECT_FALSE(list().rewritePanel()->isVisibleTo(&list()));

    list().toggleRewritePanel();
    list().applyRewrite();
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("请选择要批量改写列~")));
    list().rewriteTarget()->setCurrentText(QStringLiteral("@备注"));
    list().emptyPartsBox()->setChecked(true);
    list().applyRewrite();  // the question is answered No
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("你确信要置空所有的[备注]列吗？")));
}

TEST_F(MutiPrintTest, ThreeRowsPrintThreePagesInOneDocumentInListOrder)
{
    add({{"全称", "O'Brien"}});
    add({{"全称", "收件二"}});
    add({{"全称", "收件三"}});
    list().descendingBox()->setChecked(true);
    list().refresh();
    EXPECT_EQ(list().printListed(), 3);
    EXPECT_EQ(output.begins, 1);
    EXPECT_EQ(output.pages, 3);
    ASSERT_EQ(output.textsEqual(QStringLiteral("O'Brien")).size(), 1u);
    EXPECT_EQ(output.textsEqual(QStringLiteral("O'Brien")).front().page, 2);
    EXPECT_TRUE(list().grid()->isEnabled());
    EXPECT_TRUE(list().button(QStringLiteral("btPrint"))->isEnabled());
    EXPECT_EQ(alerts.messages(), QStringList{QStringLiteral("批量打印完成，共 3 张")});
}

TEST_F(MutiPrintTest, AnEmptySenderIsAskedAboutBeforeAnythingPrints)
{
    add({{"全称", "收件一"}});
    add({{"全称", "收件二"}});
    waybill->setFieldText(QStringLiteral("zdHKR"), QString());
    const QString question =
        QStringLiteral("发件人为空（寄件单位、联系人、地址、电话都没有填写），批量打印的2张快递单都将没有发件人。确定要继续打印吗？");
    EXPECT_EQ(list().printListed(), 0);  // answered No
    EXPECT_TRUE(alerts.sawMessage(question));
    EXPECT_EQ(output.begins, 0);
    alerts.answerNext(AlertAnswer::Yes);
    EXPECT_EQ(list().printListed(), 2);
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("批量打印完成，共 2 张")));
    // A waybill that prints the receiver only needs no sender.
    waybill->option(QStringLiteral("ckPrintSJROnly"))->setChecked(true);
    const size_t asked = alerts.alerts().size();
    EXPECT_EQ(list().printListed(), 2);
    ASSERT_EQ(alerts.alerts().size(), asked + 1);
    EXPECT_EQ(alerts.alerts()[asked].message, QStringLiteral("批量打印完成，共 2 张"));
}

TEST_F(MutiPrintTest, ARowDeletedSinceListingStopsTheRunWithOneMessage)
{
    add({{"全称", "收件一"}});
    const int gone = add({{"全称", "收件二"}});
    add({{"全称", "收件三"}});
    list();
    QString error;
    ASSERT_TRUE(ReceiverList(db()).remove({gone}, &error));
    EXPECT_EQ(list().printListed(), 1);
    EXPECT_EQ(output.pages, 1);
    EXPECT_EQ(alerts.messages(),
              QStringList{QStringLiteral("调用错误，找不到记录，编号=%1\n已停止批量打印，共打印了1张。").arg(gone)});
    EXPECT_TRUE(list().grid()->isEnabled());
}

TEST_F(MutiPrintTest, SelectedRowsPrintInListOrderNotClickOrder)
{
    const int a = add({{"全称", "甲"}});
    add({{"全称", "乙"}});
    const int c = add({{"全称", "丙"}});
    list();
    auto *selection = list().grid()->selectionModel();
    selection->select(list().model()->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->select(list().model()->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(list().selectedIds(), (QList<int>{a, c}));
    std::unique_ptr<QMenu> menu(list().makeGridMenu());
    EXPECT_EQ(menu->actions().first()->text(), QStringLiteral("【批量打印选中】条目(2条)"));
    EXPECT_EQ(list().printSelected(), 2);
    EXPECT_EQ(output.pages, 2);
    EXPECT_EQ(output.textsEqual(QStringLiteral("甲")).front().page, 0);
    EXPECT_EQ(output.textsEqual(QStringLiteral("丙")).front().page, 1);
}

TEST_F(MutiPrintTest, TheStopButtonEndsTheDocumentAfterTheCurrentPage)
{
    for (int i = 0; i < 5; ++i)
        add({{"全称", QStringLiteral("收件%1").arg(i)}});
    list();
    QObject::connect(&list(), &TfrmMutiPrint::printProgress, &list(), [this](int done, int) {
        if (done == 2)
            list().stopPrinting();
    });
    EXPECT_EQ(list().printListed(), 2);
    EXPECT_EQ(output.begins, 1);
    EXPECT_EQ(output.pages, 2);
    EXPECT_EQ(output.ends, 1);
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("已停止批量打印，共打印了2张。")));
    EXPECT_TRUE(list().grid()->isEnabled());
}

TEST_F(MutiPrintTest, HiddenColumnsAreNotSentAndCapitalsTakeDigitsOnly)
{
    const int id = add({{"全称", "甲"}, {"备注", "易碎"}, {"金额大写1", "12.50"}});
    list();
    waybill->setFieldText(QStringLiteral("zdJEDX1"), QStringLiteral("7"));
    ASSERT_TRUE(list().SendToCheckByID(id));
    EXPECT_EQ(waybill->fieldText(QStringLiteral("zdBz")), QStringLiteral("易碎"));
    EXPECT_EQ(waybill->typedAmountInWords(), QString());

    const int remark = gridColumnByName(list().model(), QStringLiteral("备注"));
    list().grid()->setColumnHidden(remark, true);
    waybill->setFieldText(QStringLiteral("zdBz"), QStringLiteral("旧"));
    ASSERT_TRUE(list().SendToCheckByID(id));
    EXPECT_EQ(waybill->fieldText(QStringLiteral("zdBz")), QStringLiteral("旧"));
}

TEST_F(MutiPrintTest, PreviewFillsTheWaybillFromTheFirstListedRowAndHidesTheList)
{
    add({{"全称", "甲"}, {"地址", "一路"}});
    add({{"全称", "乙"}, {"地址", "二路"}});
    list().descendingBox()->setChecked(true);
    list().show();
    list().preview();
    EXPECT_EQ(waybill->fieldText(QStringLiteral("zdSkrDZ")), QStringLiteral("二路"));
    EXPECT_FALSE(list().isVisible());
    EXPECT_FALSE(waybill->isLoading());
}

TEST_F(MutiPrintTest, ImportAndParserGoThroughTheirHooks)
{
    list().openImport();
    list().openAddressParser();
    EXPECT_EQ(alerts.messages().count(QStringLiteral("该功能将在后续版本提供")), 2);

    batchListHost().openImport = [this](TfrmMutiPrint &) { add({{"全称", "导入的"}}); };
    batchListHost().openAddressParser = [](TfrmMutiPrint &l) {
        TPersonKDD parsed;
        parsed.setContact(QStringLiteral("张三"));
        parsed.setGoodsDescription(QStringLiteral("书"));
        l.addReceiverAndGoods(parsed);
    };
    list().openImport();
    EXPECT_EQ(list().rowCount(), 1);
    list().openAddressParser();
    ASSERT_EQ(list().rowCount(), 2);
    EXPECT_EQ(column(list().listedIds().last(), "内件说明"), QStringLiteral("书"));
}

TEST_F(MutiPrintTest, UnitsPickedFromTheAddressBookBecomeReceivers)
{
    TPerson unit = addUnit(QStringLiteral("甲公司"), UnitKind::Counterparty, QString(), QString());
    unit.setAddress(QStringLiteral("人民路1号"));
    unit.setGroup(QStringLiteral("客户"));
    unit.setExtraInfo(QStringLiteral("易碎"));
    ASSERT_TRUE(unit.save(db()));
    TfrmPickUnits picker(ctx());
    picker.grid()->selectAll();
    ASSERT_EQ(picker.selectedIds(), (QList<int>{unit.id()}));

    batchListHost().pickUnits = [&](QWidget *) { return QList<int>{unit.id(), 9999}; };
    list().pickFromAddressBook();
    ASSERT_EQ(list().rowCount(), 1);
    const int id = list().listedIds().first();
    EXPECT_EQ(column(id, "全称"), QStringLiteral("甲公司"));
    EXPECT_EQ(column(id, "地址"), QStringLiteral("人民路1号"));
    EXPECT_EQ(column(id, "备注"), QStringLiteral("易碎"));
    EXPECT_EQ(column(id, "批打分组"), QString());
}

TEST_F(MutiPrintTest, HelpLinksShowTheirTexts)
{
    list().showHelp(QStringLiteral("【怎样点击多选?】"));
    ASSERT_FALSE(alerts.alerts().empty());
    EXPECT_EQ(alerts.alerts().back().caption, QStringLiteral("禾朔提示"));
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("按住Ctrl或Shift键不放开")));
    list().showHelp(QStringLiteral("【批量打印其他注意】"));
    EXPECT_EQ(alerts.alerts().back().caption, QStringLiteral("提示"));
}

TEST_F(MutiPrintTest, TheWaybillButtonOpensTheListThroughItsOpener)
{
    waybill->command(QStringLiteral("批量打印"))->trigger();
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("该功能将在后续版本提供")));
    TfmCheckKDD *opened = nullptr;
    TfmCheckKDD::setBatchListOpener([&](TfmCheckKDD &w) { opened = &w; });
    waybill->command(QStringLiteral("批量打印"))->trigger();
    TfmCheckKDD::setBatchListOpener({});
    EXPECT_EQ(opened, waybill.get());
    EXPECT_EQ(TfrmMutiPrint::of(*waybill), TfrmMutiPrint::of(*waybill));
}

TEST_F(MutiPrintTest, DeletingSelectedRowsAsksAndListsAgain)
{
    add({{"全称", "甲"}});
    const int b = add({{"全称", "乙"}});
    add({{"全称", "丙"}});
    list().grid()->selectRow(0);
    list().grid()->selectionModel()->select(list().model()->index(2, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    alerts.answerNext(AlertAnswer::Yes);
    list().deleteSelected();
    EXPECT_EQ(list().listedIds(), (QList<int>{b}));
    EXPECT_EQ(list().listedCount()->text(), QStringLiteral("1"));
}

TEST_F(MutiPrintTest, RemarkAndGoodsTargetsOfferTheirDictionaryTexts)
{
    add({{"全称", "甲"}});
    ASSERT_TRUE(db().exec(QStringLiteral("insert into DMTable (CheckTypeID, DMName, DMValue) values (0, ?, ?)"),
                          {QStringLiteral("物品内容"), QStringLiteral("文件")}));
    list().toggleRewritePanel();
    emit list().rewriteTarget()->textActivated(QStringLiteral("@内件说明"));
    EXPECT_EQ(list().rewritePart(0)->itemText(0), QStringLiteral("文件"));
    EXPECT_GE(list().rewritePart(0)->findText(QStringLiteral("@地址")), 1);
}

TEST_F(MutiPrintTest, TheRewritePanelOffersColumnsButTheKeyAndGivesTheRewriteTrimmed)
{
    ColumnRewritePanel panel(db(), nullptr);
    panel.offerColumns({QStringLiteral("ID"), QStringLiteral("省"), QStringLiteral("地址")}, QStringLiteral("id"));
    ASSERT_EQ(panel.target()->count(), 2);
    EXPECT_EQ(panel.target()->itemText(0), QStringLiteral("@省"));
    EXPECT_EQ(panel.target()->currentIndex(), -1);
    EXPECT_EQ(panel.part(0)->itemText(0), QStringLiteral("光盘数:"));
    panel.target()->setCurrentText(QStringLiteral("@地址"));
    panel.part(0)->setCurrentText(QStringLiteral(" 收货地址: "));
    panel.part(1)->setCurrentText(QStringLiteral("@地址"));
    const ColumnRewrite rewrite = panel.request();
    EXPECT_EQ(rewrite.target, QStringLiteral("@地址"));
    EXPECT_EQ(rewrite.parts[0], QStringLiteral("收货地址:"));
    EXPECT_EQ(rewrite.parts[1], QStringLiteral("@地址"));
    EXPECT_EQ(rewrite.parts[2], QString());
    panel.emptyPartsBox()->setChecked(true);  // "置空" empties every part
    EXPECT_EQ(panel.request().parts[0], QString());
    EXPECT_EQ(panel.request().parts[1], QString());
}

// "打印预览" of the list: the pages the print run makes for the listed (or
// selected) rows, in order, with the texts where the PDF of the same batch
// has them; the form picture only in the preview; "打印" prints the rows.
TEST_F(MutiPrintTest, ThePreviewOfThreeRowsHoldsThePagesOfTheirPdf)
{
    add({{"全称", "武汉光谷生物城管委会"}, {"联系人", "王一"}, {"手机", "13900000001"}, {"省", "湖北"}, {"市", "武汉"},
         {"地址", "高新大道666号"}});
    add({{"全称", "成都天府软件园"}, {"联系人", "李二三"}, {"手机", "13900000002"}, {"省", "四川"}, {"市", "成都"},
         {"地址", "天府大道中段1268号"}});
    add({{"全称", "O'Brien 贸易"}, {"联系人", "张四五六"}, {"手机", "13900000003"}, {"省", "福建"}, {"市", "厦门"},
         {"地址", "鹭江道8号"}});
    const QString pdfPath = QDir(root.path()).filePath(QStringLiteral("batch.pdf"));
    PdfPrintOutput pdf(pdfPath);
    waybill->setPrintOutput(&pdf);
    ASSERT_EQ(list().printListed(), 3);

    alerts.clear();
    list().button(QStringLiteral("btPrintPreview"))->click();
    auto *dialog = list().findChild<PrintPreviewDialog *>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(dialog->pageCount(), 3);
    expectPreviewMatchesPdf(dialog->preview(), pdfPath);
    const auto onPage = [&](int page, const QString &text) {
        for (const RecordedText &t : previewTexts(dialog->preview(), page))
            if (t.text.contains(text))
                return true;
        return false;
    };
    EXPECT_TRUE(onPage(0, QStringLiteral("王一")));
    EXPECT_TRUE(onPage(1, QStringLiteral("李二三")));
    EXPECT_TRUE(onPage(2, QStringLiteral("张四五六")));
    EXPECT_FALSE(dialog->preview().form.isNull());
    QFile file(pdfPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("/Subtype /Image")) << "the form picture is never printed";

    // The arrows turn the pages.
    EXPECT_EQ(dialog->currentPage(), 0);
    dialog->findChild<QToolButton *>(QStringLiteral("btNextPage"))->click();
    dialog->findChild<QToolButton *>(QStringLiteral("btNextPage"))->click();
    EXPECT_EQ(dialog->currentPage(), 2);
    EXPECT_FALSE(dialog->findChild<QToolButton *>(QStringLiteral("btNextPage"))->isEnabled());
    EXPECT_EQ(dialog->findChild<QLabel *>(QStringLiteral("lblPage"))->text(), QStringLiteral("第 3 / 3 页"));
    dialog->reject();

    // A selection is previewed (and printed) alone; the waybill shows its own bill again.
    waybill->setPrintOutput(&output);
    waybill->setFieldText(QStringLiteral("zdSkrDZ"), QStringLiteral("窗口里的地址"));
    list().grid()->selectRow(1);
    PrintPreviewDialog *selection = list().printPreview();
    ASSERT_NE(selection, nullptr);
    ASSERT_EQ(selection->pageCount(), 1);
    EXPECT_EQ(waybill->fieldText(QStringLiteral("zdSkrDZ")), QStringLiteral("窗口里的地址"));
    EXPECT_EQ(output.begins, 0);
    selection->findChild<QPushButton *>(QStringLiteral("btPreviewPrint"))->click();
    QApplication::processEvents();  // the print starts once the preview has closed
    EXPECT_FALSE(list().findChild<PrintPreviewDialog *>());
    EXPECT_EQ(output.begins, 1);
    EXPECT_EQ(output.pages, 1);
    EXPECT_FALSE(output.textsEqual(QStringLiteral("李二三")).empty());
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("批量打印完成，共 1 张")));
}

TEST_F(MutiPrintTest, ThePreviewShowsAtMostTheFirstFiftyPages)
{
    QList<QList<QPair<QString, QString>>> rows;
    for (int i = 0; i < 60; ++i)
        rows.append({{"全称", QStringLiteral("收件单位%1").arg(i + 1)}, {"联系人", QStringLiteral("王先生")},
                     {"地址", QStringLiteral("中山路%1号").arg(i + 1)}});
    QString error;
    ASSERT_TRUE(ReceiverList(db()).addAll(rows, &error)) << error.toStdString();
    PrintPreviewDialog *dialog = list().printPreview();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->pageCount(), TfrmMutiPrint::PreviewPages);
    EXPECT_TRUE(dialog->windowTitle().endsWith(QStringLiteral("（共60张，预览前50张）")));
}

TEST(MutiPrintFrame, TheWaybillOfTheMainWindowOpensTheListModally)
{
    TempDataRoot root;
    AlertRecorder alerts;
    Tfm_Main frame(root.context(), installAllParts);
    auto *waybill = qobject_cast<TfmCheckKDD *>(frame.openEntryWindow(QStringLiteral("快递单")));
    ASSERT_NE(waybill, nullptr);
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto *list = waybill->findChild<TfrmMutiPrint *>();
        shown = list && list->isVisible() && list->isModal();
        if (list)
            list->close();
    });
    waybill->command(QStringLiteral("批量打印"))->trigger();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(alerts.alerts().empty());
}

// Drawn with a few hundred receivers; with BILLPRINT_SCREENSHOTS naming a
// folder the pictures are written there for a look by eye.
TEST_F(MutiPrintTest, ScreenshotWithSeveralHundredRows)
{
    const char *const places[][3] = {{"江苏", "南京", "中山路"}, {"四川", "成都", "春熙路"}, {"湖北", "武汉", "解放大道"},
                                     {"福建", "厦门", "鹭江道"}, {"山东", "青岛", "香港中路"}};
    QList<QList<QPair<QString, QString>>> rows;
    for (int i = 0; i < 300; ++i) {
        const auto &p = places[i % 5];
        rows.append({{"全称", QStringLiteral("收件单位%1").arg(i + 1)}, {"联系人", QStringLiteral("王先生")},
                     {"手机", QStringLiteral("1390000%1").arg(1000 + i)}, {"省", QString::fromUtf8(p[0])},
                     {"市", QString::fromUtf8(p[1])}, {"地址", QString::fromUtf8(p[2]) + QStringLiteral("%1号").arg(i + 1)},
                     {"内件说明", QStringLiteral("图书")}});
    }
    QString error;
    ASSERT_TRUE(ReceiverList(db()).addAll(rows, &error)) << error.toStdString();
    list().show();
    list().resize(1200, 700);
    list().grid()->selectRow(3);
    EXPECT_EQ(list().listedCount()->text(), QStringLiteral("300"));
    const QString folder = qEnvironmentVariable("BILLPRINT_SCREENSHOTS");
    int shot = 0;
    for (bool panel : {false, true}) {
        if (panel)
            list().toggleRewritePanel();
        QApplication::processEvents();
        const QImage picture = list().grab().toImage();
        ASSERT_FALSE(picture.isNull());
        EXPECT_NE(picture.pixel(picture.width() / 2, picture.height() / 2), picture.pixel(0, 0));
        if (!folder.isEmpty())
            EXPECT_TRUE(picture.save(QDir(folder).filePath(QStringLiteral("batch_list_%1.png").arg(++shot))));
    }
    // The progress dialog in the middle of the run, stopped there.
    QObject::connect(&list(), &TfrmMutiPrint::printProgress, &list(), [&](int done, int) {
        if (done != 100)
            return;
        auto *progress = list().findChild<QWidget *>(QStringLiteral("dlgBatchProgress"));
        ASSERT_NE(progress, nullptr);
        if (!folder.isEmpty())
            EXPECT_TRUE(progress->grab().save(QDir(folder).filePath(QStringLiteral("batch_list_progress.png"))));
        list().stopPrinting();
    });
    EXPECT_EQ(list().printListed(), 100);
    EXPECT_EQ(output.pages, 100);
    list().close();

    for (const char *name : {"甲公司", "乙商行", "丙工作室"})
        addUnit(QString::fromUtf8(name), UnitKind::Counterparty, QString(), QString());
    TfrmPickUnits picker(ctx());
    picker.show();
    picker.grid()->selectAll();
    QApplication::processEvents();
    if (!folder.isEmpty())
        EXPECT_TRUE(picker.grab().save(QDir(folder).filePath(QStringLiteral("batch_list_pick.png"))));
}

} // namespace
} // namespace billprint::test
