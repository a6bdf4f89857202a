// The dictionary: list names per bill type, creating lists, the entry
// grid's add, edit and delete, and the dictionary window.
#include "refdata/dictionary_entry_model.h"
#include "refdata/dictionary_store.h"
#include "refdata/ui/tfm_dm_config.h"
#include "test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

constexpr int kCheque = 5;

void addEntry(Database &db, const QString &name, const QString &value, int typeId)
{
    ASSERT_TRUE(db.exec("insert into DMTable (CheckTypeId, DMName, DMValue) values (?, ?, ?)", {typeId, name, value}));
}

int entryRows(Database &db, const QString &name, const QString &value, int typeId)
{
    return db.scalar("select count(*) from DMTable where DMName=? and DMValue=? and CheckTypeId=?",
                     {name, value, typeId})
        .toInt();
}

QStringList values(const DictionaryEntryModel &model)
{
    QStringList list;
    for (int row = 0; row < model.rowCount(); ++row)
        list << model.entry(row).value;
    return list;
}

// A small dictionary: shared lists, a cheque template with one list of its
// own, its option rows, and a template without lists.
class Dictionary : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Database &db = root.context().db();
        db.exec("delete from DMTable");
        db.exec("delete from CKTypeTable");
        db.exec("insert into CKTypeTable (CheckTypeID, TypeName, TypeFirstName, TypeDescribe, Visiable) values "
                "(5, '支票（工行）', '支票', '工行', '启用'), (6, '支票（O''Bank）', '支票', 'O''Bank', '启用')");
        addEntry(db, "用途", "货款", 0);
        addEntry(db, "用途", "差旅费", 0);
        addEntry(db, "国家", "中国", 0);
        addEntry(db, "用途", "租金", kCheque);
        addEntry(db, "cfgDefaultMoney", "人民币", kCheque);
        addEntry(db, "CFGWantPrint", "1", 0);
    }

    TempDataRoot root;
    AlertRecorder alerts;
};

} // namespace

TEST_F(Dictionary, NamesLeaveOutOptionsAndFallBackToTheSharedLists)
{
    DictionaryStore store(root.context().db());
    EXPECT_EQ(store.loadNames(0), QStringList({"国家", "用途"}));
    EXPECT_EQ(store.loadNames(kCheque), QStringList({"用途"}));
    EXPECT_EQ(store.loadNames(6), QStringList({"国家", "用途"}));  // no lists of its own
}

TEST_F(Dictionary, EntriesWithOrWithoutTheSharedOnes)
{
    DictionaryStore store(root.context().db());
    QStringList shown;
    for (const DictionaryEntry &e : store.loadEntries("用途", kCheque, true))
        shown << e.value + "/" + QString::number(e.checkTypeId);
    EXPECT_EQ(shown, QStringList({"差旅费/0", "货款/0", "租金/5"}));  // by value, pinyin
    const QList<DictionaryEntry> own = store.loadEntries("用途", kCheque, false);
    ASSERT_EQ(own.size(), 1);
    EXPECT_EQ(own.first().value, "租金");
}

TEST_F(Dictionary, CreatingAListPerBillType)
{
    Database &db = root.context().db();
    DictionaryStore store(db);
    EditOutcome o = store.createList("  ", 0);
    EXPECT_EQ(o.message, "请输入字典名称");
    EXPECT_EQ(o.focus, EditOutcome::Field::First);
    o = store.createList(" 用途 ", kCheque);
    EXPECT_EQ(o.message, "字典项目【用途】已经存在");
    // The same name for another bill type is a list of its own.
    EXPECT_TRUE(store.createList("用途", 6).ok());
    EXPECT_EQ(entryRows(db, "用途", "<空>", 6), 1);
    EXPECT_TRUE(store.createList("客户's 备注", 0).ok());
    EXPECT_EQ(store.createList("客户's 备注", 0).status, EditOutcome::Status::Refused);
    EXPECT_TRUE(store.loadNames(0).contains("客户's 备注"));
}

TEST_F(Dictionary, OptionNamesCannotBecomeLists)
{
    Database &db = root.context().db();
    DictionaryStore store(db);
    EXPECT_EQ(store.createList("cfgDefaultMoney", kCheque).status, EditOutcome::Status::Refused);
    EXPECT_EQ(store.createList("CfgX", 0).status, EditOutcome::Status::Refused);
    EXPECT_EQ(db.scalar("select DMValue from DMTable where DMName='cfgDefaultMoney'").toString(), "人民币");
}

TEST_F(Dictionary, NewGridRowIsStoredUnderTheChosenBillTypeOnceItHasAValue)
{
    Database &db = root.context().db();
    DictionaryStore store(db);
    DictionaryEntryModel model(store);
    model.load("用途", 6, true);  // a template without lists of its own
    const int row = model.appendNewRow();
    const QModelIndex value = model.index(row, DictionaryEntryModel::ValueColumn);
    EXPECT_EQ(model.data(model.index(row, DictionaryEntryModel::TypeColumn)).toInt(), 6);
    EXPECT_TRUE(model.setData(value, "   "));  // nothing typed yet: nothing stored
    EXPECT_FALSE(model.isStored(row));
    EXPECT_TRUE(model.setData(value, " it's 押金 "));
    EXPECT_TRUE(model.isStored(row));
    EXPECT_EQ(entryRows(db, "用途", "it's 押金", 6), 1);
    EXPECT_EQ(entryRows(db, "用途", "it's 押金", 0), 0);
    model.reload();
    EXPECT_TRUE(values(model).contains("it's 押金"));
}

TEST_F(Dictionary, EditingASharedEntryKeepsItShared)
{
    Database &db = root.context().db();
    DictionaryStore store(db);
    DictionaryEntryModel model(store);
    model.load("用途", kCheque, true);
    const int row = values(model).indexOf("货款");
    ASSERT_GE(row, 0);
    EXPECT_FALSE(model.flags(model.index(row, DictionaryEntryModel::TypeColumn)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.setData(model.index(row, DictionaryEntryModel::ValueColumn), "材料款"));
    EXPECT_EQ(entryRows(db, "用途", "材料款", 0), 1);
    EXPECT_EQ(entryRows(db, "用途", "货款", 0), 0);
}

TEST_F(Dictionary, BlankValuesAndVanishedRowsAreReported)
{
    Database &db = root.context().db();
    DictionaryStore store(db);
    DictionaryEntryModel model(store);
    int problems = 0;
    QObject::connect(&model, &DictionaryEntryModel::problem, [&problems] { ++problems; });
    model.load("用途", 0, true);
    const QModelIndex first = model.index(0, DictionaryEntryModel::ValueColumn);
    EXPECT_FALSE(model.setData(first, "  "));
    EXPECT_EQ(problems, 1);
    EXPECT_EQ(entryRows(db, "用途", model.entry(0).value, 0), 1);

    db.exec("delete from DMTable where ID=?", {model.entry(0).id});
    EXPECT_FALSE(model.setData(first, "新内容"));
    EXPECT_FALSE(model.deleteRow(0));
    EXPECT_EQ(problems, 3);
    EXPECT_EQ(entryRows(db, "用途", "新内容", 0), 0);
}

TEST_F(Dictionary, DeletingARowDeletesItsEntry)
{
    Database &db = root.context().db();
    DictionaryStore store(db);
    DictionaryEntryModel model(store);
    model.load("用途", kCheque, true);
    const int row = values(model).indexOf("租金");
    ASSERT_TRUE(model.deleteRow(row));
    EXPECT_EQ(entryRows(db, "用途", "租金", kCheque), 0);
    EXPECT_EQ(model.rowCount(), 2);
    const int fresh = model.appendNewRow();
    EXPECT_TRUE(model.deleteRow(fresh));  // never stored: only dropped
    EXPECT_EQ(model.rowCount(), 2);
}

TEST_F(Dictionary, WindowStartsOnTheCurrentBillType)
{
    Tfm_DMConfig window(root.context(), kCheque);
    EXPECT_EQ(window.windowTitle(), "禾朔软件-字典管理");
    EXPECT_EQ(window.typeBox()->itemText(0), "<适用所有单据>");
    EXPECT_EQ(window.typeBox()->currentText(), "支票（工行）");
    EXPECT_EQ(window.currentCheckTypeId(), kCheque);
    EXPECT_EQ(window.listNames(), QStringList({"用途"}));
    EXPECT_EQ(window.currentListName(), "用途");
    EXPECT_EQ(window.nameBox()->currentText(), "用途");
    EXPECT_EQ(window.headingText(), "3、[用途]已有字典内容：(\"单据号=0\"表示公用内容)");
    EXPECT_EQ(window.entryModel()->rowCount(), 3);

    window.sharedBox()->click();  // hide the shared entries
    EXPECT_EQ(values(*window.entryModel()), QStringList({"租金"}));

    window.typeBox()->setCurrentIndex(0);
    EXPECT_EQ(window.windowTitle(), "字典设置-<适用所有单据>(单据号=0)");
    EXPECT_EQ(window.listNames(), QStringList({"国家", "用途"}));
}

TEST_F(Dictionary, WindowAddsToTheChosenBillTypeNotToTheSharedList)
{
    Database &db = root.context().db();
    Tfm_DMConfig window(root.context(), 6);
    EXPECT_EQ(window.currentCheckTypeId(), 6);
    window.chooseListName("用途");
    window.btAddClick();
    DictionaryEntryModel *model = window.entryModel();
    const int row = model->rowCount() - 1;
    model->setData(model->index(row, DictionaryEntryModel::ValueColumn), "押金");
    EXPECT_EQ(entryRows(db, "用途", "押金", 6), 1);
    EXPECT_EQ(entryRows(db, "用途", "押金", 0), 0);
    EXPECT_TRUE(alerts.alerts().empty());
}

TEST_F(Dictionary, WindowCreatesAListAndGoesToIt)
{
    Tfm_DMConfig window(root.context(), 0);
    window.nameBox()->setEditText("   ");
    window.btAddNameClick();
    EXPECT_EQ(alerts.messages().last(), "请输入字典名称");
    window.nameBox()->setEditText("国家");
    window.btAddNameClick();
    EXPECT_EQ(alerts.messages().last(), "字典项目【国家】已经存在");
    window.nameBox()->setEditText("收费内容");
    window.btAddNameClick();
    EXPECT_EQ(alerts.alerts().size(), 2u);
    EXPECT_EQ(window.currentListName(), "收费内容");
    EXPECT_EQ(values(*window.entryModel()), QStringList({"<空>"}));
}

TEST_F(Dictionary, WindowDeleteAsksAndEmptiesTheList)
{
    Database &db = root.context().db();
    Tfm_DMConfig window(root.context(), 0);
    window.chooseListName("国家");
    window.btDeleteClick();  // answered No
    EXPECT_EQ(alerts.messages(), QStringList({"确认删除字典项目吗？"}));
    EXPECT_EQ(entryRows(db, "国家", "中国", 0), 1);

    alerts.answerNext(AlertAnswer::Yes);
    window.btDeleteClick();
    EXPECT_EQ(entryRows(db, "国家", "中国", 0), 0);
    // The list is gone: the names are read again.
    EXPECT_EQ(window.listNames(), QStringList({"用途"}));
    EXPECT_EQ(window.currentListName(), "用途");

    window.sharedBox()->click();  // shared entries hidden
    window.typeBox()->setCurrentIndex(window.typeBox()->findText("支票（O'Bank）"));
    // The template has no lists: the shared names show, with no entries.
    EXPECT_EQ(window.currentListName(), "用途");
    ASSERT_EQ(window.entryModel()->rowCount(), 0);
    alerts.answerNext(AlertAnswer::Yes);
    window.btDeleteClick();
    EXPECT_EQ(alerts.messages().last(), "对不起，没有内容可删除！");
}

TEST_F(Dictionary, SaveAndCloseKeepWhatIsStillInTheEditor)
{
    Database &db = root.context().db();
    auto type = [&](Tfm_DMConfig &window, const QString &text) {
        window.btAddClick();
        QWidget *editor = window.grid()->indexWidget(window.grid()->currentIndex());
        auto *line = qobject_cast<QLineEdit *>(editor);
        ASSERT_NE(line, nullptr);
        line->setText(text);
    };
    {
        Tfm_DMConfig window(root.context(), kCheque);
        window.show();
        type(window, "保存时还在编辑");
        window.btSaveClick();
        EXPECT_EQ(entryRows(db, "用途", "保存时还在编辑", kCheque), 1);
        EXPECT_TRUE(values(*window.entryModel()).contains("保存时还在编辑"));

        type(window, "关闭时还在编辑");
        window.close();
        EXPECT_EQ(entryRows(db, "用途", "关闭时还在编辑", kCheque), 1);
    }
    EXPECT_TRUE(alerts.alerts().empty());
}
