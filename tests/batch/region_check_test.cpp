#include "app/database.h"
#include "batch/address_command.h"
#include "addressbook/region_check.h"
#include "addressbook/region_table.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace billprint;
using F = AddressField;

namespace {

AddressParse parse(const QString &text)
{
    return parseAddressText(text, AddressSource::Taobao, false);
}

struct Expected
{
    QString text;
    QString province, city, town, address;
};

void expectRegion(const Expected &e)
{
    const AddressParse p = parse(e.text);
    EXPECT_EQ(p.text(F::Province), e.province) << qPrintable(e.text);
    EXPECT_EQ(p.text(F::City), e.city) << qPrintable(e.text);
    EXPECT_EQ(p.text(F::Town), e.town) << qPrintable(e.text);
    EXPECT_EQ(p.text(F::Address), e.address) << qPrintable(e.text);
}

} // namespace

TEST(RegionTable, HoldsProvincesPrefecturesAndCountiesWithShortNames)
{
    const RegionTable &t = RegionTable::delivered();
    EXPECT_GT(t.size(), 3300);
    const QList<int> county = t.fullNamed(u"邵阳县");
    ASSERT_EQ(county.size(), 1);
    EXPECT_EQ(t.at(t.at(county.first()).parent).name, QStringLiteral("邵阳市"));
    const QList<int> yanbian = t.shortNamed(u"延边");
    ASSERT_EQ(yanbian.size(), 1);
    EXPECT_EQ(t.at(yanbian.first()).name, QStringLiteral("延边朝鲜族自治州"));
    EXPECT_EQ(t.provinceText(t.fullNamed(u"新疆维吾尔自治区").first()), QStringLiteral("新疆"));
    EXPECT_EQ(t.provinceText(t.fullNamed(u"重庆市").first()), QStringLiteral("重庆"));
    EXPECT_EQ(t.provinceText(t.fullNamed(u"湖南省").first()), QStringLiteral("湖南省"));
}

TEST(RegionCheck, FillsTheProvinceFromAUniqueCityOrCounty)
{
    expectRegion({QStringLiteral("史进 13567812345 苏州市吴中区东吴北路99号"), QStringLiteral("江苏省"),
                  QStringLiteral("苏州市"), QStringLiteral("吴中区"), QStringLiteral("东吴北路99号")});
    expectRegion({QStringLiteral("毛毛 13055556789 昆山市玉山镇前进中路219号"), QStringLiteral("江苏省"),
                  QStringLiteral("苏州市"), QStringLiteral("昆山市"), QStringLiteral("玉山镇前进中路219号")});
}

TEST(RegionCheck, SplitsGluedRegionTextByTheTable)
{
    expectRegion({QStringLiteral("孟浩13800138000广东省深圳市南山区科技园科苑路15号"), QStringLiteral("广东省"),
                  QStringLiteral("深圳市"), QStringLiteral("南山区"), QStringLiteral("科技园科苑路15号")});
}

TEST(RegionCheck, KeepsSameNameCountiesApartByTheirPrefecture)
{
    expectRegion({QStringLiteral("魏来 13423456789 湖南省邵阳市邵阳县塘渡口镇解放路12号"), QStringLiteral("湖南省"),
                  QStringLiteral("邵阳市"), QStringLiteral("邵阳县"), QStringLiteral("塘渡口镇解放路12号")});
    expectRegion({QStringLiteral("蒋欣 13487654321 湖南省邵阳市双清区东大路118号"), QStringLiteral("湖南省"),
                  QStringLiteral("邵阳市"), QStringLiteral("双清区"), QStringLiteral("东大路118号")});
    // 朝阳区 is a district of Beijing and of Changchun.
    expectRegion({QStringLiteral("蔡文 18604311234 吉林省长春市朝阳区人民大街5988号"), QStringLiteral("吉林省"),
                  QStringLiteral("长春市"), QStringLiteral("朝阳区"), QStringLiteral("人民大街5988号")});
}

TEST(RegionCheck, RecognisesAMunicipalityWithACounty)
{
    expectRegion({QStringLiteral("重庆市忠县忠州镇中博大道21号 陈小明 15823456789"), QStringLiteral("重庆"),
                  QStringLiteral("重庆市"), QStringLiteral("忠县"), QStringLiteral("忠州镇中博大道21号")});
}

TEST(RegionCheck, NeverTakesARoadNamedAfterAPlaceAsTheRegion)
{
    expectRegion({QStringLiteral("广东省广州市越秀区北京路188号 姜文 13800001234"), QStringLiteral("广东省"),
                  QStringLiteral("广州市"), QStringLiteral("越秀区"), QStringLiteral("北京路188号")});
    expectRegion({QStringLiteral("北京市海淀区北京路5号院 马云 13911119999"), QStringLiteral("北京"),
                  QStringLiteral("北京市"), QStringLiteral("海淀区"), QStringLiteral("北京路5号院")});
    const AddressParse p = parse(QStringLiteral("王明 13800001111 中山路100号"));
    EXPECT_EQ(p.text(F::Province), QString());
    EXPECT_EQ(p.text(F::City), QString());
    EXPECT_EQ(p.text(F::Address), QStringLiteral("中山路100号"));
}

TEST(RegionCheck, TellsLandlinesFromMobiles)
{
    struct Case { QString text; QString phone; QString mobile; };
    const Case cases[] = {
        {QStringLiteral("贺龙 0731-84561234 13874912345 湖南省长沙市芙蓉区五一大道1号"), QStringLiteral("0731-84561234"),
         QStringLiteral("13874912345")},
        {QStringLiteral("收件人：许诺\n电话：13751234567\n地址：广东省佛山市顺德区德民路3号"), QString(),
         QStringLiteral("13751234567")},
        {QStringLiteral("尹正 02587654321 江苏省南京市玄武区中山路18号"), QStringLiteral("02587654321"), QString()},
        {QStringLiteral("康辉 010-85123456-802 北京市朝阳区光华路1号"), QStringLiteral("010-85123456-802"), QString()},
        {QStringLiteral("陈一鸣 186 1234 5678 浙江省湖州市吴兴区人民路10号"), QString(), QStringLiteral("18612345678")},
    };
    for (const Case &c : cases) {
        const AddressParse p = parse(c.text);
        EXPECT_EQ(p.text(F::Phone), c.phone) << qPrintable(c.text);
        EXPECT_EQ(p.text(F::Mobile), c.mobile) << qPrintable(c.text);
    }
}

TEST(ParseAddressCommand, WritesOneLinePerInputAndAnErrorForABadLine)
{
    test::TempDataRoot root;
    ASSERT_TRUE(root.context().db().exec(
        QStringLiteral("insert into DMTable2 (类型,一级代码,二级代码) values (?,?,?)"),
        {QStringLiteral("其他字符"), QStringLiteral("收件者"), QStringLiteral("收货人")}));
    root.close();
    QString input = QStringLiteral(
        "{\"id\": 7, \"text\": \"收件者：韩梅梅 18611112222 北京市朝阳区建国路88号\"}\n"
        "not json\n"
        "\n"
        "{\"id\": \"b\"}\n"
        "{\"id\": \"c\", \"text\": \"\"}\n");
    QString output;
    QString errors;
    QTextStream in(&input);
    QTextStream out(&output);
    QTextStream err(&errors);
    EXPECT_EQ(runParseAddressCommand({}, root.path(), in, out, err), 0);
    EXPECT_EQ(output,
              QStringLiteral(
                  "{\"id\":7,\"company\":\"\",\"name\":\"韩梅梅\",\"phone\":\"\",\"mobile\":\"18611112222\","
                  "\"country\":\"\",\"province\":\"北京\",\"city\":\"北京市\",\"town\":\"朝阳区\","
                  "\"address\":\"建国路88号\",\"postcode\":\"\",\"remark\":\"\"}\n"
                  "{\"error\":\"not a JSON object\",\"id\":null}\n"
                  "{\"error\":\"no \\\"text\\\" string\",\"id\":\"b\"}\n"
                  "{\"id\":\"c\",\"company\":\"\",\"name\":\"\",\"phone\":\"\",\"mobile\":\"\",\"country\":\"\","
                  "\"province\":\"\",\"city\":\"\",\"town\":\"\",\"address\":\"\",\"postcode\":\"\",\"remark\":\"\"}\n"));
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(runParseAddressCommand({QStringLiteral("--bogus")}, root.path(), in, out, err), 2);
}
