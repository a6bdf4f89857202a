#include "addressbook/region_table.h"

#include <gtest/gtest.h>

using namespace billprint;

namespace {

const RegionTable &table()
{
    return RegionTable::delivered();
}

// The one division of this full name.
const Division &only(QStringView name)
{
    const QList<int> ids = table().fullNamed(name);
    EXPECT_EQ(ids.size(), 1) << name.toString().toStdString();
    static const Division none;
    return ids.isEmpty() ? none : table().at(ids.first());
}

} // namespace

TEST(RegionTable, HongKongHasItsPrefecturesAndDistricts)
{
    const Division &kowloon = only(u"九龙");
    EXPECT_EQ(kowloon.level, Division::Prefecture);
    EXPECT_EQ(kowloon.code, QStringLiteral("8102"));
    EXPECT_TRUE(kowloon.shortName.isEmpty());
    EXPECT_EQ(table().at(kowloon.province).name, QStringLiteral("香港特别行政区"));

    const Division &wanchai = only(u"湾仔区");
    EXPECT_EQ(wanchai.level, Division::County);
    EXPECT_EQ(wanchai.shortName, QStringLiteral("湾仔"));
    EXPECT_EQ(table().at(wanchai.parent).name, QStringLiteral("香港岛"));
    EXPECT_EQ(table().at(wanchai.province).name, QStringLiteral("香港特别行政区"));
    EXPECT_TRUE(table().hasCounties(wanchai.parent));
    EXPECT_EQ(table().provinceText(wanchai.province), QStringLiteral("香港"));

    EXPECT_EQ(only(u"港岛").name, QStringLiteral("香港岛"));
    // "东区" is in Panzhihua, Hong Kong and four cities of Taiwan, and has no short name.
    EXPECT_EQ(table().fullNamed(u"东区").size(), 6);
    for (int id : table().fullNamed(u"东区"))
        EXPECT_TRUE(table().at(id).shortName.isEmpty());
}

TEST(RegionTable, MacauIsSplitIntoThePeninsulaAndItsTwoIslands)
{
    const Division &taipa = only(u"嘉模堂区");
    EXPECT_EQ(table().at(taipa.parent).name, QStringLiteral("氹仔岛"));
    EXPECT_EQ(taipa.shortName, QStringLiteral("嘉模"));
    EXPECT_EQ(table().at(only(u"圣方济各堂区").parent).name, QStringLiteral("路环岛"));
    EXPECT_EQ(table().at(only(u"花地玛堂区").parent).name, QStringLiteral("澳门半岛"));
    EXPECT_EQ(only(u"花地玛堂区").shortName, QStringLiteral("花地玛"));
    EXPECT_TRUE(table().hasCounties(table().fullNamed(u"氹仔岛").value(0, -1)));
    EXPECT_TRUE(table().fullNamed(u"澳门外岛").isEmpty());
    EXPECT_TRUE(table().fullNamed(u"嘉模堂区（氹仔）").isEmpty());
    // "大堂区" alone: "大堂" is a hotel's lobby, not a sign of Macau.
    EXPECT_TRUE(only(u"大堂区").shortName.isEmpty());
    EXPECT_TRUE(table().shortNamed(u"大堂").isEmpty());
    EXPECT_EQ(table().provinceText(taipa.province), QStringLiteral("澳门"));
}

TEST(RegionTable, TaiwanHasItsCitiesCountiesAndDistricts)
{
    // 大安区 is also a district of Zigong, Sichuan; Taiwan's come after it.
    const QList<int> daans = table().fullNamed(u"大安区");
    ASSERT_EQ(daans.size(), 3);
    const Division &daan = table().at(daans.at(1));
    EXPECT_EQ(daan.code, QStringLiteral("710101"));
    EXPECT_EQ(table().at(daan.parent).name, QStringLiteral("台北市"));
    EXPECT_EQ(table().provinceText(daan.province), QStringLiteral("台湾省"));
    EXPECT_EQ(only(u"台北市").shortName, QStringLiteral("台北"));
    EXPECT_EQ(only(u"苗栗县").shortName, QStringLiteral("苗栗"));
    EXPECT_TRUE(table().hasCounties(table().fullNamed(u"高雄市").value(0)));
    // "林区" is no kind of "士林区".
    EXPECT_EQ(only(u"士林区").shortName, QStringLiteral("士林"));
    EXPECT_EQ(only(u"新店区").shortName, QString());
}

TEST(RegionTable, NewShortNamesAreNeitherSingleCharactersNorEverydayWords)
{
    for (int id = 0; id < table().size(); ++id) {
        const Division &d = table().at(id);
        if (!d.shortName.isEmpty())
            EXPECT_GE(d.shortName.size(), 2) << d.name.toStdString();
    }
    for (const char16_t *word : {u"大堂", u"离岛", u"新店", u"树林", u"将军", u"桥头", u"仁爱"})
        EXPECT_TRUE(table().shortNamed(word).isEmpty()) << QString::fromUtf16(word).toStdString();
}

TEST(RegionTable, AutonomousPrefecturesAreFoundByTheirShortNameAndZhou)
{
    EXPECT_EQ(only(u"甘南州").name, QStringLiteral("甘南藏族自治州"));
    EXPECT_EQ(only(u"湘西州").name, QStringLiteral("湘西土家族苗族自治州"));
    EXPECT_EQ(only(u"黔东南州").name, QStringLiteral("黔东南苗族侗族自治州"));
    EXPECT_EQ(only(u"延边州").name, QStringLiteral("延边朝鲜族自治州"));
    EXPECT_EQ(only(u"克孜勒苏州").name, QStringLiteral("克孜勒苏柯尔克孜自治州"));
    EXPECT_EQ(only(u"海南州").name, QStringLiteral("海南藏族自治州"));
    EXPECT_EQ(only(u"甘南藏族自治州").code, only(u"甘南州").code);
    EXPECT_TRUE(table().mayStartAt(u"甘南州合作市"));
}

TEST(RegionTable, LeaguesAreFoundByFullAndShortName)
{
    EXPECT_EQ(only(u"锡林郭勒盟").level, Division::Prefecture);
    EXPECT_EQ(table().shortNamed(u"锡林郭勒").value(0, -1), table().fullNamed(u"锡林郭勒盟").value(0));
    EXPECT_EQ(table().shortNamed(u"阿拉善").value(0, -1), table().fullNamed(u"阿拉善盟").value(0));
}

TEST(RegionTable, CountiesEndingInLinKeepTheirShortName)
{
    EXPECT_EQ(only(u"碑林区").shortName, QStringLiteral("碑林"));
    EXPECT_EQ(only(u"神农架林区").shortName, QStringLiteral("神农架"));
}
