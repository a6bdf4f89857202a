// Window size and grid column memory, selected-row keys and deletions,
// combo box clean-up and the column chooser.
#include "app/ui/grid_helpers.h"
#include "app/ui/tfrm_grid_config.h"
#include "app/ui/window_state.h"
#include "test_support.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QScreen>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlTableModel>
#include <QTableView>
#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

int screenWidth()
{
    return QGuiApplication::primaryScreen()->geometry().width();
}

void addReceiver(AppContext &ctx, const QString &name, const QString &contact, const QString &phone = QString())
{
    QString error;
    ASSERT_TRUE(ctx.db().exec(QStringLiteral("INSERT INTO ReceiverList(全称, 联系人, 电话) VALUES (?, ?, ?)"),
                              {name, contact, phone}, &error))
        << error.toStdString();
}

int receiverCount(AppContext &ctx)
{
    return ctx.db().scalar(QStringLiteral("SELECT COUNT(*) FROM ReceiverList")).toInt();
}

QStringList receiverNames(AppContext &ctx)
{
    QStringList names;
    QSqlQuery q = ctx.db().prepare(QStringLiteral("SELECT 全称 FROM ReceiverList ORDER BY ID"));
    q.exec();
    while (q.next())
        names << q.value(0).toString();
    return names;
}

// A list window's grid over the receiver list.
struct ReceiverGrid
{
    QSqlQueryModel model;
    QTableView view;

    explicit ReceiverGrid(AppContext &ctx, const QString &contact = QString())
    {
        QSqlQuery query = ctx.db().prepare(
            contact.isEmpty() ? QStringLiteral("SELECT ID, 全称, 联系人, 电话 FROM ReceiverList ORDER BY ID")
                              : QStringLiteral("SELECT ID, 全称, 联系人, 电话 FROM ReceiverList WHERE 联系人 = ? ORDER BY ID"));
        if (!contact.isEmpty())
            query.addBindValue(contact);
        query.exec();
        model.setQuery(std::move(query));
        view.setObjectName(QStringLiteral("dbgList"));
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.setSelectionMode(QAbstractItemView::ExtendedSelection);
        view.setModel(&model);
    }

    void select(int row)
    {
        view.selectionModel()->select(model.index(row, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
};

} // namespace

// --- Window size ---------------------------------------------------------

TEST(WindowState, SizeSurvivesARestart)
{
    TempDataRoot root;
    {
        QWidget window;
        window.setObjectName(QStringLiteral("frmReceiverList"));
        window.resize(640, 420);
        FormFaceSave(root.context().config(), &window);
    }
    AppContext &ctx = root.reopen();
    EXPECT_EQ(ctx.config().readString("FRMRECEIVERLIST", "FormWidth"), "640");
    QWidget again;
    again.setObjectName(QStringLiteral("frmReceiverList"));
    again.resize(200, 100);
    FormFaceLoad(ctx.config(), &again);
    EXPECT_EQ(again.size(), QSize(640, 420));
}

TEST(WindowState, MaximizedWindowNeitherSavesNorRestores)
{
    TempDataRoot root;
    QWidget window;
    window.setObjectName(QStringLiteral("frmHistory"));
    window.setWindowState(Qt::WindowMaximized);
    FormFaceSave(root.context().config(), &window);
    EXPECT_FALSE(root.context().config().hasKey("FRMHISTORY", "FormWidth"));

    root.context().config().writeInteger("FRMHISTORY", "FormWidth", 300);
    root.context().config().writeInteger("FRMHISTORY", "FormHeight", 200);
    QWidget maximized;
    maximized.setObjectName(QStringLiteral("frmHistory"));
    maximized.resize(500, 400);
    maximized.setWindowState(Qt::WindowMaximized);
    FormFaceLoad(root.context().config(), &maximized);
    EXPECT_EQ(maximized.size(), QSize(500, 400));
}

TEST(WindowState, SizeLargerThanTheScreenIsClamped)
{
    TempDataRoot root;
    root.context().config().writeInteger("FRMWIDE", "FormWidth", 99999);
    root.context().config().writeInteger("FRMWIDE", "FormHeight", 99999);
    QWidget window;
    window.setObjectName(QStringLiteral("frmWide"));
    FormFaceLoad(root.context().config(), &window);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(window.width(), screen.width());
    EXPECT_EQ(window.height(), screen.height());
}

// --- Column widths --------------------------------------------------------

TEST(GridColumns, WidthsAndHiddenColumnsSurviveARestart)
{
    TempDataRoot root;
    addReceiver(root.context(), "甲公司", "张三");
    {
        ReceiverGrid grid(root.context());
        grid.view.setColumnWidth(0, 55);
        grid.view.setColumnWidth(1, 180);
        grid.view.setColumnHidden(2, true);
        grid.view.setColumnWidth(3, 90);
        GridColsWidthSave(root.context().config(), &grid.view, QStringLiteral("frmReceiverList"));
    }
    AppContext &ctx = root.reopen();
    EXPECT_EQ(ctx.config().readString("FRMRECEIVERLIST", "DBGLIST.W2"), "-1");

    ReceiverGrid grid(ctx);
    GridColsWidthLoad(ctx.config(), &grid.view, QStringLiteral("frmReceiverList"));
    EXPECT_EQ(grid.view.columnWidth(0), 55);
    EXPECT_EQ(grid.view.columnWidth(1), 180);
    EXPECT_TRUE(grid.view.isColumnHidden(2));
    EXPECT_FALSE(grid.view.isColumnHidden(3));
    EXPECT_EQ(grid.view.columnWidth(3), 90);
}

TEST(GridColumns, UnsavedZeroAndOversizedWidths)
{
    TempDataRoot root;
    IniFile &config = root.context().config();
    ReceiverGrid grid(root.context());
    GridColsWidthLoad(config, &grid.view, QStringLiteral("frmNew"));
    for (int c = 0; c < 4; ++c) {
        EXPECT_FALSE(grid.view.isColumnHidden(c));
        EXPECT_EQ(grid.view.columnWidth(c), 40) << c;  // never saved
    }

    config.writeInteger("FRMOLD", "DBGLIST.W0", 0);
    config.writeInteger("FRMOLD", "DBGLIST.W1", 99999);
    GridColsWidthLoad(config, &grid.view, QStringLiteral("frmOld"));
    EXPECT_TRUE(grid.view.isColumnHidden(0));
    EXPECT_EQ(grid.view.columnWidth(1), screenWidth());
}

TEST(GridColumns, EmptySectionNameIsRefused)
{
    TempDataRoot root;
    AlertRecorder alerts;
    ReceiverGrid grid(root.context());
    GridColsWidthSave(root.context().config(), &grid.view, QString());
    GridColsWidthLoad(root.context().config(), &grid.view, QString());
    ASSERT_EQ(alerts.alerts().size(), 2u);
    EXPECT_EQ(alerts.messages(), QStringList({"保存表格列宽异常！", "保存表格列宽异常！"}));
    EXPECT_TRUE(root.context().config().keys(QString()).isEmpty());
}

TEST(GridColumns, ChooserHidesAndShowsColumnsAndRemembersThem)
{
    TempDataRoot root;
    AlertRecorder alerts;
    ReceiverGrid grid(root.context());
    grid.view.setColumnHidden(3, true);
    TfrmGridConfig chooser(root.context().config(), &grid.view, QStringLiteral("frmReceiverList"));
    EXPECT_EQ(chooser.windowTitle(), "表格栏目配置");
    ASSERT_EQ(chooser.shownList()->count(), 3);
    ASSERT_EQ(chooser.hiddenList()->count(), 1);
    EXPECT_EQ(chooser.hiddenList()->item(0)->text(), "电话");

    chooser.shownList()->item(1)->setSelected(true);  // 全称
    chooser.btHideClick();
    chooser.hiddenList()->item(1)->setSelected(true);  // 电话, after 全称 in grid order
    chooser.btShowClick();
    EXPECT_EQ(chooser.hiddenList()->item(0)->text(), "全称");
    EXPECT_EQ(chooser.shownList()->item(2)->text(), "电话");

    chooser.btApplyClick();
    EXPECT_TRUE(grid.view.isColumnHidden(1));
    EXPECT_FALSE(grid.view.isColumnHidden(3));
    EXPECT_GE(grid.view.columnWidth(3), 1);
    EXPECT_EQ(root.context().config().readString("FRMRECEIVERLIST", "DBGLIST.W1"), "-1");
    EXPECT_EQ(alerts.messages(), QStringList({"栏目显示设置成功~"}));
}

// --- Selected rows ----------------------------------------------------------

TEST(GridSelection, KeysInSelectionOrderInBothModes)
{
    TempDataRoot root;
    AlertRecorder alerts;
    addReceiver(root.context(), "甲", "张三");
    addReceiver(root.context(), "O'Brien", "李四");
    addReceiver(root.context(), "丙", "王五");
    ReceiverGrid grid(root.context());

    QString list = QStringLiteral("stale");
    EXPECT_EQ(GridSelectedFetch(&grid.view, QStringLiteral("ID"), list, QStringLiteral("Numeric")), 0);
    EXPECT_TRUE(list.isEmpty());

    grid.select(2);
    grid.select(1);
    EXPECT_EQ(GridSelectedFetch(&grid.view, QStringLiteral("ID"), list, QStringLiteral("Numeric")), 2);
    EXPECT_EQ(list, "3,2");
    EXPECT_EQ(GridSelectedFetch(&grid.view, QStringLiteral("id"), list, QStringLiteral("str")), 2);
    EXPECT_EQ(list, "'3','2'");
    EXPECT_EQ(GridSelectedFetch(&grid.view, QStringLiteral("全称"), list, QStringLiteral("STR")), 2);
    EXPECT_EQ(list, "'丙','O''Brien'");
    EXPECT_EQ(GridSelectedValues(&grid.view, QStringLiteral("ID"), QStringLiteral("Num")),
              QVariantList({qlonglong(3), qlonglong(2)}));
    EXPECT_TRUE(alerts.alerts().empty());
}

TEST(GridSelection, MissingColumnIsReported)
{
    TempDataRoot root;
    AlertRecorder alerts;
    addReceiver(root.context(), "甲", "张三");
    ReceiverGrid grid(root.context());
    grid.select(0);
    QString list;
    EXPECT_EQ(GridSelectedFetch(&grid.view, QString(), list, QStringLiteral("Num")), 0);
    EXPECT_EQ(alerts.messages().value(0), "DBGrid记录选取失败~没有指定列名~");
    EXPECT_EQ(GridSelectedFetch(&grid.view, QStringLiteral("编号"), list, QStringLiteral("Num")), 0);
    EXPECT_TRUE(alerts.messages().value(1).startsWith("DBGrid记录选取失败~"));
    EXPECT_TRUE(list.isEmpty());
}

TEST(GridSelection, DeleteRemovesExactlyTheSelectedRows)
{
    TempDataRoot root;
    AppContext &ctx = root.context();
    AlertRecorder alerts;
    for (const char *name : {"甲", "乙", "丙", "丁"})
        addReceiver(ctx, QString::fromUtf8(name), "张三");
    ReceiverGrid grid(ctx);

    // Nothing selected: no question, nothing deleted.
    EXPECT_EQ(GridSelectedDelete(ctx.db(), &grid.view, "ReceiverList", "收件人", "Num", "ID"), 0);
    EXPECT_TRUE(alerts.alerts().empty());

    grid.select(3);
    grid.select(1);
    // Declined.
    EXPECT_EQ(GridSelectedDelete(ctx.db(), &grid.view, "ReceiverList", "收件人", "Num", "ID"), 0);
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_EQ(alerts.alerts()[0].message, "确认要删除所选中的2个收件人吗?");
    EXPECT_EQ(alerts.alerts()[0].caption, "删除确认");
    EXPECT_EQ(receiverCount(ctx), 4);

    alerts.answerNext(AlertAnswer::Yes);
    EXPECT_EQ(GridSelectedDelete(ctx.db(), &grid.view, "ReceiverList", "收件人", "Num", "ID"), 2);
    EXPECT_EQ(alerts.messages().last(), "2个收件人删除成功！");
    EXPECT_EQ(alerts.alerts().back().caption, "提示");
    EXPECT_EQ(receiverNames(ctx), QStringList({"甲", "丙"}));
}

TEST(GridSelection, TextKeysWithApostrophesAreBound)
{
    TempDataRoot root;
    AppContext &ctx = root.context();
    AlertRecorder alerts;
    addReceiver(ctx, "O'Brien", "a");
    addReceiver(ctx, "x') OR ('1'='1", "b");
    addReceiver(ctx, "李四", "c");
    ReceiverGrid grid(ctx);
    grid.select(0);
    grid.select(1);
    alerts.answerNext(AlertAnswer::Yes);
    EXPECT_EQ(GridSelectedDelete(ctx.db(), &grid.view, "ReceiverList", QString(), "STR", "全称"), 2);
    EXPECT_EQ(alerts.alerts()[0].message, "确认要删除所选中的2个数据记录吗?");
    EXPECT_EQ(receiverNames(ctx), QStringList({"李四"}));
}

TEST(GridSelection, ManyKeysAreDeletedInOneGo)
{
    TempDataRoot root;
    AppContext &ctx = root.context();
    ctx.db().transaction([&] {
        for (int i = 0; i < 1234; ++i)
            addReceiver(ctx, QString::number(i), "批量");
        return true;
    });
    addReceiver(ctx, "留下", "其他");
    ReceiverGrid grid(ctx, "批量");
    fetchAllRows(&grid.model);
    grid.view.selectAll();
    AlertRecorder alerts;
    alerts.answerNext(AlertAnswer::Yes);
    EXPECT_EQ(GridSelectedDelete(ctx.db(), &grid.view, "ReceiverList", "收件人", "Num", "ID"), 1234);
    EXPECT_EQ(receiverNames(ctx), QStringList({"留下"}));
}

TEST(GridSelection, DatabaseErrorIsReportedAndNothingIsDeleted)
{
    TempDataRoot root;
    AppContext &ctx = root.context();
    AlertRecorder alerts;
    addReceiver(ctx, "甲", "a");
    ReceiverGrid grid(ctx);
    grid.select(0);
    alerts.answerNext(AlertAnswer::Yes);
    EXPECT_EQ(GridSelectedDelete(ctx.db(), &grid.view, "NoSuchTable", "收件人", "Num", "ID"), -1);
    EXPECT_TRUE(alerts.messages().last().startsWith("删除失败，错误="));
    EXPECT_EQ(receiverCount(ctx), 1);
}

// --- Deleting the listed rows ---------------------------------------------

TEST(GridDeleteList, DeletesOnlyTheListedRowsAndRefreshesTheGrid)
{
    TempDataRoot root;
    AppContext &ctx = root.context();
    AlertRecorder alerts;
    addReceiver(ctx, "甲", "张三");
    addReceiver(ctx, "乙", "李四");
    addReceiver(ctx, "丙", "张三");
    ReceiverGrid grid(ctx, "张三");
    ASSERT_EQ(grid.model.rowCount(), 2);

    EXPECT_EQ(GridDeleteCurrentList(ctx.db(), &grid.view, "ReceiverList", "ID"), 0);  // declined
    EXPECT_EQ(alerts.alerts()[0].message, "此操作将删除当前查询到的所有记录，确定删除吗？");
    EXPECT_EQ(alerts.alerts()[0].caption, "警告");
    EXPECT_EQ(receiverCount(ctx), 3);

    alerts.answerNext(AlertAnswer::Yes);
    EXPECT_EQ(GridDeleteCurrentList(ctx.db(), &grid.view, "ReceiverList", "ID"), 2);
    EXPECT_EQ(alerts.messages().last(), "2条记录删除成功！");
    EXPECT_EQ(grid.model.rowCount(), 0);
    EXPECT_TRUE(grid.view.updatesEnabled());
    EXPECT_EQ(receiverNames(ctx), QStringList({"乙"}));
}

TEST(GridDeleteList, TableModelsWithAndWithoutKey)
{
    TempDataRoot root;
    AppContext &ctx = root.context();
    AlertRecorder alerts;
    // A table without a key: rows go by all their values, duplicates too.
    ctx.db().exec("DELETE FROM DMTable2");
    for (const char *city : {"深圳", "广州", "广州", "北京"})
        ctx.db().exec("INSERT INTO DMTable2(类型, 一级代码, 二级代码) VALUES ('省市', ?, NULL)", {QString::fromUtf8(city)});
    QSqlTableModel codes(nullptr, ctx.db().connection());
    codes.setTable(ctx.db().dialect().storedTableName("DMTable2"));
    codes.setFilter("一级代码 <> '深圳'");
    codes.select();
    QTableView view;
    view.setModel(&codes);
    alerts.answerNext(AlertAnswer::Yes);
    EXPECT_EQ(GridDeleteCurrentList(ctx.db(), &view), 3);
    EXPECT_EQ(ctx.db().scalar("SELECT count(*) FROM DMTable2").toInt(), 1);
    EXPECT_EQ(ctx.db().scalar("SELECT 一级代码 FROM DMTable2").toString(), "深圳");
    EXPECT_EQ(codes.rowCount(), 0);

    addReceiver(ctx, "甲", "a");
    addReceiver(ctx, "乙", "b");
    QSqlTableModel receivers(nullptr, ctx.db().connection());
    receivers.setTable(ctx.db().dialect().storedTableName("ReceiverList"));
    receivers.setFilter("联系人 = 'b'");
    receivers.select();
    view.setModel(&receivers);
    alerts.answerNext(AlertAnswer::Yes);
    EXPECT_EQ(GridDeleteCurrentList(ctx.db(), &view), 1);
    EXPECT_EQ(receiverNames(ctx), QStringList({"甲"}));
}

TEST(GridDeleteList, QueryGridWithoutTableIsAnError)
{
    TempDataRoot root;
    AppContext &ctx = root.context();
    AlertRecorder alerts;
    addReceiver(ctx, "甲", "a");
    ReceiverGrid grid(ctx);
    alerts.answerNext(AlertAnswer::Yes);
    EXPECT_EQ(GridDeleteCurrentList(ctx.db(), &grid.view), -1);
    EXPECT_TRUE(alerts.messages().last().startsWith("删除出现异常！"));
    EXPECT_EQ(receiverCount(ctx), 1);
    EXPECT_TRUE(grid.view.updatesEnabled());
}

TEST(ComboBoxHelpers, DeleteByTextRemovesEveryEqualItem)
{
    QComboBox box;
    box.addItems({"用途", "货款", "货款", "工资", "货款 "});
    ComboBoxDeleteByText(&box, "货款");
    QStringList left;
    for (int i = 0; i < box.count(); ++i)
        left << box.itemText(i);
    EXPECT_EQ(left, QStringList({"用途", "工资", "货款 "}));
}
