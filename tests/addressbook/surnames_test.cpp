#include "addressbook/surnames.h"

#include <gtest/gtest.h>

using namespace billprint;

namespace {

int surnameLength(const char16_t *name)
{
    return Surnames::delivered().surnameLength(QStringView(name));
}

} // namespace

TEST(Surnames, DeliveredListHoldsTheClassicAndTodaysSurnames)
{
    const Surnames &s = Surnames::delivered();
    EXPECT_GE(s.compoundCount(), 80);
    EXPECT_GE(s.singleCount(), 450);
    for (const char16_t *compound : {u"欧阳", u"司马", u"上官", u"诸葛", u"东方", u"皇甫", u"尉迟", u"公孙", u"慕容",
                                     u"长孙", u"宇文", u"司徒", u"夏侯", u"轩辕", u"令狐", u"端木", u"南宫", u"申屠",
                                     u"钟离", u"百里", u"东郭", u"呼延", u"独孤"})
        EXPECT_TRUE(s.isCompound(QStringView(compound))) << QString::fromUtf16(compound).toStdString();
    for (const char16_t *single : {u"王", u"李", u"张", u"肖", u"付", u"覃", u"冼", u"麦", u"邝", u"闫"})
        EXPECT_TRUE(s.isSingle(QStringView(single).at(0))) << QString::fromUtf16(single).toStdString();
}

TEST(Surnames, CompoundSurnameWinsOverItsFirstCharacter)
{
    EXPECT_EQ(surnameLength(u"欧阳娜娜"), 2);
    EXPECT_EQ(surnameLength(u"司马光"), 2);
    EXPECT_EQ(surnameLength(u"上官婉儿"), 2);
    EXPECT_EQ(surnameLength(u"单于凤"), 2);
    EXPECT_EQ(surnameLength(u"单雄信"), 1);
    EXPECT_EQ(surnameLength(u"张三"), 1);
    EXPECT_EQ(surnameLength(u"王"), 1);
}

TEST(Surnames, NoSurnameForOtherTextOrNothing)
{
    // 上 alone is no surname: "上海" starts with none.
    EXPECT_EQ(surnameLength(u"上海"), 0);
    EXPECT_EQ(surnameLength(u"收件人"), 0);
    EXPECT_EQ(surnameLength(u"13812345678"), 0);
    EXPECT_EQ(surnameLength(u""), 0);
    EXPECT_FALSE(Surnames::delivered().isCompound(u"欧"));
    EXPECT_FALSE(Surnames::delivered().isCompound(u"欧阳娜"));
}

TEST(Surnames, ReadsOneOrTwoCharacterLinesAndSkipsComments)
{
    const Surnames s = Surnames::fromLines(QStringLiteral("# 复姓\n欧阳\r\n 司马 \n\n# 单姓\n张\n爱新觉罗\n"));
    EXPECT_EQ(s.compoundCount(), 2);
    EXPECT_EQ(s.singleCount(), 1);
    EXPECT_EQ(s.surnameLength(u"司马迁"), 2);
    EXPECT_EQ(s.surnameLength(u"爱新觉罗溥仪"), 0);
    EXPECT_EQ(s.surnameLength(u"#"), 0);
}
