// The reference data a new database is delivered with: currencies, every
// provincial-level division with its prefecture-level cities, and the
// shared dictionary lists.
#include "app/lookups.h"
#include "test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

using namespace billprint;
using namespace billprint::test;

namespace {

// Number of second-level entries of each provincial-level division:
// prefecture-level units, plus the county-level units a province governs
// directly (Henan 1, Hubei 4, Hainan 15, Xinjiang 12).
const std::map<QString, int> kCityCounts = {
    {"北京", 1}, {"天津", 1}, {"上海", 1}, {"重庆", 1},
    {"河北省", 11}, {"山西省", 11}, {"内蒙古自治区", 12}, {"辽宁省", 14}, {"吉林省", 9},
    {"黑龙江省", 13}, {"江苏省", 13}, {"浙江省", 11}, {"安徽省", 16}, {"福建省", 9},
    {"江西省", 11}, {"山东省", 16}, {"河南省", 18}, {"湖北省", 17}, {"湖南省", 14},
    {"广东省", 21}, {"广西壮族自治区", 14}, {"海南省", 19}, {"四川省", 21}, {"贵州省", 9},
    {"云南省", 16}, {"西藏自治区", 7}, {"陕西省", 10}, {"甘肃省", 14}, {"青海省", 8},
    {"宁夏回族自治区", 5}, {"新疆维吾尔自治区", 26}, {"台湾省", 22},
    {"香港特别行政区", 18}, {"澳门特别行政区", 4},
};

void expectDeliveredReferenceData(Database &db)
{
    Lookups lookups(db);
    const std::vector<std::pair<QString, QString>> coins = {
        {"人民币", "￥"}, {"美元", "US$"}, {"港币", "HK$"}, {"欧元", "€"}, {"日元", "JPY"}, {"英镑", "￡"}};
    for (const auto &[name, code] : coins)
        EXPECT_EQ(lookups.getMoneyCodeByName(name), code) << name.toStdString();
    EXPECT_EQ(lookups.loadMoneyTypeList().value(0), "人民币");

    const QStringList provinces = lookups.loadProvinces();
    EXPECT_EQ(provinces.size(), 34);
    int prefectures = 0;
    for (const auto &[province, count] : kCityCounts) {
        const QStringList cities = lookups.loadCitysByProvince(province);
        EXPECT_EQ(cities.size(), count) << province.toStdString();
        for (const QString &city : cities)
            if (city.endsWith("自治州") || city.endsWith("盟") || city.endsWith("地区"))
                ++prefectures;
    }
    EXPECT_EQ(prefectures, 30 + 3 + 7);  // autonomous prefectures, leagues, prefectures
    for (const auto &[province, city] : std::vector<std::pair<QString, QString>>{
             {"广东省", "深圳市"}, {"吉林省", "延边朝鲜族自治州"}, {"内蒙古自治区", "阿拉善盟"},
             {"黑龙江省", "大兴安岭地区"}, {"海南省", "儋州市"}, {"西藏自治区", "那曲市"},
             {"山东省", "菏泽市"}, {"台湾省", "台北市"}, {"香港特别行政区", "油尖旺区"}, {"上海", "上海市"}})
        EXPECT_TRUE(lookups.loadCitysByProvince(province).contains(city)) << city.toStdString();
    EXPECT_FALSE(lookups.loadCitysByProvince("山东省").contains("莱芜市"));  // merged into 济南 in 2019
    EXPECT_EQ(db.scalar("select count(*) from DMTable2 where 类型<>'省市'").toInt(), 0);

    for (const QString &name : {"用途", "票据种类", "始发站", "物品内容", "备注", "国家", "计量单位", "收费内容"})
        EXPECT_FALSE(lookups.loadDMListByName(name, "0").isEmpty()) << name.toStdString();
}

} // namespace

TEST(DeliveredData, NewDatabaseHoldsTheReferenceData)
{
    TempDataRoot root;
    expectDeliveredReferenceData(root.context().db());
}

TEST(DeliveredData, ReopeningAddsNothingTwice)
{
    TempDataRoot root;
    Database &db = root.context().db();
    const int rows = db.scalar("select count(*) from DMTable2").toInt();
    Database &again = root.reopen().db();
    EXPECT_EQ(again.scalar("select count(*) from DMTable2").toInt(), rows);
    EXPECT_EQ(again.scalar("select count(*) from (select 一级代码, 二级代码 from DMTable2 "
                           "group by 一级代码, 二级代码 having count(*) > 1)").toInt(), 0);
}

TEST(DeliveredData, TheProgramStartedOnAnEmptyFolderDeliversIt)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("T");
    const ProgramResult run = runProgram({"--data", folder, "--quit-after-startup"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QString error;
    std::unique_ptr<Database> db = Database::open(folder + "/Data/EPData.ini", &error);
    ASSERT_TRUE(db) << error.toStdString();
    expectDeliveredReferenceData(*db);
}
