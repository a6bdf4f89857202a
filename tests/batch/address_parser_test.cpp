#include "addressbook/address_finder.h"
#include "addressbook/address_parser.h"

#include <gtest/gtest.h>

using namespace billprint;
using F = AddressField;

namespace {

AddressParse recognise(const QString &text, bool contain = false,
                       AddressSource source = AddressSource::Taobao)
{
    return recogniseAddress(normaliseAddressText(text), source, contain);
}

} // namespace

TEST(AddressFinder, FindCutsAfterTheColonAndTakesTheLastSubMatch)
{
    EXPECT_EQ(expressionFind(QStringLiteral(" 电话:0571-8888666 x 电话:021-12345678 "),
                             QStringLiteral("[电][话][:]([0-9]|-){7,18}")),
              (QStringList{QStringLiteral("0571-8888666"), QStringLiteral("021-12345678")}));
    EXPECT_EQ(expressionFind(QStringLiteral("广东省深圳市"), QStringLiteral("[^ ]{2,16}[市]"),
                             QStringLiteral("[^省]{1,}")),
              QStringList{QStringLiteral("深圳市")});
    EXPECT_TRUE(expressionFind(QStringLiteral("abc"), QStringLiteral("[0-9]+")).isEmpty());
    EXPECT_EQ(expressionFindOne(QStringLiteral("a1 b22 c333"), QStringLiteral("[0-9]+")), QStringLiteral("333"));
    EXPECT_EQ(gbkLength(QStringLiteral("广东a1")), 6);
}

TEST(AddressNormalisation, UnifiesSignsLabelsAndAppliesTheUsersPairs)
{
    const ReplacementPairs pairs{{QStringLiteral("收件地"), QStringLiteral("收货地")}};
    EXPECT_EQ(normaliseAddressText(QStringLiteral("姓名：张三\n\n  \n收件地址　文三路（10号），邮编 310012"), pairs),
              QStringLiteral("\n\r姓名:张三\r\n收货\r\n地址: 文三路(10号),邮编 310012\n\r"));
    // Only when a label lacks its colon everywhere is one added.
    EXPECT_EQ(normaliseAddressText(QStringLiteral("地址:A 地址B")), QStringLiteral("\n\r\r\n地址:A 地址B\n\r"));
    EXPECT_EQ(normaliseAddressText(QStringLiteral("新疆维吾尔自治区 新疆维吾尔自治区")),
              QStringLiteral("\n\r新疆维吾尔族自治区 新疆维吾尔自治区\n\r"));
}

TEST(AddressPatterns, TaobaoLineWithFullWidthCommasAndParenthesisedPostcode)
{
    const AddressParse p = recognise(QStringLiteral(
        "收货地址：张三，86-0571-88886666，13812345678，浙江省 杭州市 西湖区 文三路100号 ，（310012）"));
    EXPECT_EQ(p.text(F::Name), QStringLiteral("张三"));
    EXPECT_EQ(p.text(F::Phone), QStringLiteral("0571-88886666"));
    EXPECT_EQ(p.text(F::Mobile), QStringLiteral("13812345678"));
    EXPECT_EQ(p.text(F::Province), QStringLiteral("浙江省"));
    EXPECT_EQ(p.text(F::City), QStringLiteral("杭州市"));
    EXPECT_EQ(p.text(F::Town), QStringLiteral("西湖区"));
    EXPECT_EQ(p.text(F::Address), QStringLiteral("文三路100号"));
    EXPECT_EQ(p.text(F::Postcode), QStringLiteral("310012"));
    EXPECT_TRUE(p.regionFound);
}

TEST(AddressPatterns, MunicipalityWithDistrict)
{
    const AddressParse p = recognise(QStringLiteral("收货地址：赵丽，15900001111，上海市 徐汇区 漕溪北路88号"));
    EXPECT_EQ(p.text(F::Province), QStringLiteral("上海"));
    EXPECT_EQ(p.text(F::City), QStringLiteral("上海市"));
    EXPECT_EQ(p.text(F::Town), QStringLiteral("徐汇区"));
    EXPECT_EQ(p.text(F::Address), QStringLiteral("漕溪北路88号"));
}

TEST(AddressPatterns, ProvinceAfterABlankIsNoName)
{
    const AddressParse p =
        recognise(QStringLiteral("收件人 黑龙江省 哈尔滨市 南岗区 西大直街92号 彭飞 13936912345"));
    EXPECT_EQ(p.text(F::Name), QStringLiteral("彭飞"));
    EXPECT_FALSE(p[F::Name].candidates.contains(QStringLiteral("龙江省")));
    EXPECT_EQ(p.text(F::Province), QStringLiteral("黑龙江省"));
}

TEST(AddressPatterns, OnlyNameAndMobileLeaveTheAddressEmpty)
{
    const AddressParse p = recognise(QStringLiteral("张小凡 13800138888"));
    EXPECT_EQ(p.text(F::Name), QStringLiteral("张小凡"));
    EXPECT_EQ(p.text(F::Mobile), QStringLiteral("13800138888"));
    EXPECT_EQ(p.text(F::Address), QString());
}

TEST(AddressPatterns, ContainProvinceCityPutsTheRegionInFrontAndTakesItOff)
{
    const QString text = QStringLiteral("收货地址：张三，13812345678，浙江省 杭州市 西湖区 文三路100号 ，310012");
    EXPECT_EQ(recognise(text, true).text(F::Address), QStringLiteral("浙江省杭州市西湖区文三路100号"));
    EXPECT_EQ(recognise(text, false).text(F::Address), QStringLiteral("文三路100号"));

    struct Case { QString province; QString address; bool contain; QString expected; };
    const Case cases[] = {
        {QStringLiteral("浙江省"), QStringLiteral("文三路100号"), true, QStringLiteral("浙江省杭州市西湖区文三路100号")},
        {QStringLiteral("浙江省"), QStringLiteral("杭州市西湖区文三路100号"), true,
         QStringLiteral("浙江省杭州市西湖区文三路100号")},
        {QStringLiteral("浙江省"), QStringLiteral("浙江省杭州市西湖区文三路100号"), false, QStringLiteral("文三路100号")},
        {QStringLiteral("浙江省"), QStringLiteral("浙江省,杭州市 西湖区 文三路100号"), false, QStringLiteral("文三路100号")},
        // A street named after the province keeps its name.
        {QStringLiteral("浙江"), QStringLiteral("浙江路1号"), false, QStringLiteral("浙江路1号")},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(applyContainRule(c.address, c.province, QStringLiteral("杭州市"), QStringLiteral("西湖区"), c.contain),
                  c.expected)
            << qPrintable(c.address);
    }
}

TEST(AddressPatterns, RecognitionIsRepeatable)
{
    const QString text = QStringLiteral("李四 13912345678 广东省深圳市南山区科技园南区18栋 518057");
    const AddressParse a = recognise(text);
    const AddressParse b = recognise(text);
    for (int i = 0; i < kAddressFieldCount; ++i)
        EXPECT_EQ(a.fields[i].text, b.fields[i].text);
}

TEST(AddressPatterns, BlankTextFindsNothing)
{
    const AddressParse p = recognise(QStringLiteral("  \n "));
    for (const FieldChoice &f : p.fields)
        EXPECT_TRUE(f.text.isEmpty() && f.candidates.isEmpty());
}
