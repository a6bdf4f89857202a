// The currency list: the add, delete and modify rules with their messages,
// and the currency window built on them.
#include "app/lookups.h"
#include "refdata/currency_store.h"
#include "refdata/ui/tfrm_com.h"
#include "test_support.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

int coinRows(Database &db, const QString &name)
{
    return db.scalar("select count(*) from coins where 币种=?", {name}).toInt();
}

void choose(TfrmCom &window, const QString &name)
{
    QComboBox *box = window.coinBox();
    const int index = box->findText(name);
    ASSERT_GE(index, 0) << name.toStdString();
    box->setCurrentIndex(index);
    emit box->activated(index);
}

} // namespace

TEST(CurrencyRules, IncompleteInputIsRefusedWithTheBoxToFix)
{
    TempDataRoot root;
    CurrencyStore store(root.context().db());
    EditOutcome o = store.add("  ", "R");
    EXPECT_EQ(o.status, EditOutcome::Status::Refused);
    EXPECT_EQ(o.message, "请填写要添加的币种名称！");
    EXPECT_EQ(o.caption, "输入不完整");
    EXPECT_EQ(o.focus, EditOutcome::Field::First);
    o = store.add("卢比", " ");
    EXPECT_EQ(o.message, "请填写要添加的币种简码！");
    EXPECT_EQ(o.focus, EditOutcome::Field::Second);
}

TEST(CurrencyRules, NamesAndCodesAreUniqueAfterTrimming)
{
    TempDataRoot root;
    CurrencyStore store(root.context().db());
    EditOutcome o = store.add("人民币 ", "R");
    EXPECT_EQ(o.message, "币种\"人民币\"已经存在！");
    EXPECT_EQ(o.caption, "存在的币种");
    // A new name with a code another currency uses is refused too.
    o = store.add("新币", " ￥");
    EXPECT_EQ(o.message, "币种简码\"￥\"已经存在！");
    EXPECT_EQ(o.caption, "存在的币种简码");
    o = store.add("USD", "us$");  // codes compare without regard to letter case
    EXPECT_EQ(o.message, "币种简码\"us$\"已经存在！");
    EXPECT_EQ(coinRows(root.context().db(), "新币"), 0);
}

TEST(CurrencyRules, LengthsAreCountedInGbkBytes)
{
    TempDataRoot root;
    CurrencyStore store(root.context().db());
    EXPECT_EQ(store.add("澳大利亚元", "AU").status, EditOutcome::Status::Refused);  // 10 bytes
    EXPECT_EQ(store.add("卢比", "卢比").status, EditOutcome::Status::Refused);      // 4 bytes
    EXPECT_TRUE(store.add("新西兰元", "NZ$").ok());                                // 8 and 3 bytes
}

TEST(CurrencyRules, AddedCurrencyGoesLastAndResolves)
{
    TempDataRoot root;
    Database &db = root.context().db();
    CurrencyStore store(db);
    const EditOutcome o = store.add(" 卢比 ", " Rs ");
    EXPECT_TRUE(o.ok());
    EXPECT_EQ(o.message, "新币种添加成功！");
    EXPECT_EQ(o.caption, "成功");
    EXPECT_EQ(db.scalar("select 顺序 from coins where 币种='卢比'").toInt(), 0);
    const QList<Currency> all = store.loadAll();
    EXPECT_EQ(all.first().name, "人民币");
    EXPECT_EQ(all.last().name, "卢比");
    EXPECT_EQ(Lookups(db).getMoneyCodeByName("卢比"), "Rs");
}

TEST(CurrencyRules, DeleteNeedsAChoiceAndReportsWhenNothingWasDeleted)
{
    TempDataRoot root;
    CurrencyStore store(root.context().db());
    EXPECT_EQ(store.remove("").message, "请先选中要删除的币种！");
    EditOutcome o = store.remove("英镑");
    EXPECT_TRUE(o.ok());
    EXPECT_EQ(o.message, "币种\"英镑\"删除成功！");
    o = store.remove("英镑");
    EXPECT_EQ(o.status, EditOutcome::Status::Failed);
    EXPECT_EQ(o.message, "币种删除失败！");
    EXPECT_EQ(o.caption, "失败");
}

TEST(CurrencyRules, ModifyChangesOnlyTheCode)
{
    TempDataRoot root;
    Database &db = root.context().db();
    CurrencyStore store(db);
    EXPECT_EQ(store.modify("", "美元", "$").message, "请先选中要修改的币种名称！");
    EXPECT_EQ(store.modify("美元", "美金", "$").message, "修改不能改变币种名称！");
    EXPECT_EQ(store.modify("美元", "美元", " ").message, "请输入新的币种简码！");
    EditOutcome o = store.modify("美元", " 美元 ", "$");
    EXPECT_TRUE(o.ok());
    EXPECT_EQ(o.message, "币种\"美元\"修改成功！");
    EXPECT_EQ(Lookups(db).getMoneyCodeByName("美元"), "$");
    // An unchanged code still counts as a modification.
    EXPECT_TRUE(store.modify("美元", "美元", "$").ok());
    // A code of another currency would make the code ambiguous.
    o = store.modify("美元", "美元", "HK$");
    EXPECT_EQ(o.message, "币种简码\"HK$\"已经存在！");
    EXPECT_EQ(Lookups(db).getMoneyCodeByName("美元"), "$");
    o = store.modify("马克", "马克", "DM");
    EXPECT_EQ(o.message, "币种修改失败！");
}

TEST(CurrencyRules, ApostrophesInNamesAndCodes)
{
    TempDataRoot root;
    Database &db = root.context().db();
    CurrencyStore store(db);
    ASSERT_TRUE(store.add("O'Dollar", "O'$").ok());
    EXPECT_EQ(store.add("O'Dollar", "X").message, "币种\"O'Dollar\"已经存在！");
    EXPECT_TRUE(store.modify("O'Dollar", "O'Dollar", "'$'").ok());
    EXPECT_EQ(Lookups(db).getMoneyNameByCode("'$'"), "O'Dollar");
    EXPECT_TRUE(store.remove("O'Dollar").ok());
    EXPECT_EQ(coinRows(db, "O'Dollar"), 0);
}

TEST(CurrencyWindow, ChoosingFillsBothBoxesAndModifyKeepsTheName)
{
    TempDataRoot root;
    AlertRecorder alerts;
    TfrmCom window(root.context());
    EXPECT_EQ(window.windowTitle(), "币种设置");
    EXPECT_EQ(window.coinBox()->currentIndex(), -1);  // nothing chosen at first
    EXPECT_EQ(window.coinBox()->itemText(0), "人民币");
    choose(window, "港币");
    EXPECT_EQ(window.nameEdit()->text(), "港币");
    EXPECT_EQ(window.codeEdit()->text(), "HK$");

    window.nameEdit()->setText("港元");
    window.btModifyClick();
    EXPECT_EQ(alerts.messages().last(), "修改不能改变币种名称！");
    EXPECT_EQ(window.nameEdit()->text(), "港币");
}

TEST(CurrencyWindow, AddReloadsAndDeletingEverythingLeavesNothingToChoose)
{
    TempDataRoot root;
    AlertRecorder alerts;
    Database &db = root.context().db();
    TfrmCom window(root.context());
    window.nameEdit()->setText("卢比");
    window.codeEdit()->setText("Rs");
    window.btAddClick();
    EXPECT_EQ(alerts.alerts().back().caption, "成功");
    EXPECT_GE(window.coinBox()->findText("卢比"), 0);

    const int count = window.coinBox()->count();
    for (int i = 0; i < count; ++i) {
        choose(window, window.coinBox()->itemText(0));
        window.btDeleteClick();
        EXPECT_TRUE(window.nameEdit()->text().isEmpty());
    }
    EXPECT_EQ(db.scalar("select count(*) from coins").toInt(), 0);
    EXPECT_EQ(window.coinBox()->count(), 0);
    window.btDeleteClick();
    EXPECT_EQ(alerts.messages().last(), "请先选中要删除的币种！");
}

TEST(CurrencyWindow, EditorsRefuseTextLongerThanTheColumns)
{
    TempDataRoot root;
    TfrmCom window(root.context());
    QString text = "澳大利亚元";
    int pos = 0;
    EXPECT_EQ(window.nameEdit()->validator()->validate(text, pos), QValidator::Invalid);
    text = "新西兰元";
    EXPECT_EQ(window.nameEdit()->validator()->validate(text, pos), QValidator::Acceptable);
    text = "US$$";
    EXPECT_EQ(window.codeEdit()->validator()->validate(text, pos), QValidator::Invalid);
    text = "￥";
    EXPECT_EQ(window.codeEdit()->validator()->validate(text, pos), QValidator::Acceptable);
}
