// The per-template layout cache: what a build writes, when an open trusts
// the file and when it rebuilds it, and how a failed build is left.
#include "app/ini_file.h"
#include "templates/check_ini_cache.h"
#include "layout_fixtures.h"

#include <QFile>

using namespace billprint;
using namespace billprint::test;

namespace {

QString fileText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// A cheque template 7 with three catalogue fields, two boxes and options.
class LayoutCacheTest : public ::testing::Test
{
protected:
    LayoutCacheTest() : cache(t.context())
    {
        t.addTemplate(7, "支票", "工行");
        t.addTemplate(8, "支票", "农行");
        t.addField("支票", "zdJEXX");
        t.addField("支票", "ZDJEDX");
        t.addField("支票", "DEFCHECK0");
        t.addField("进账单", "zdOther");
        t.addBox(7, "zdJEXX", 120, 44, 160, 20, 1, "O'Neil 1,2");
        t.addBox(7, "defcheck0", 10, 12, 60, 18, 0);
        t.addBox(8, "zdJEXX", 1, 2, 3, 4, 1);
        t.addOption(7, "cfgDateChinese", "1");
        t.addOption(7, "cfgDefaultMoney", "美元");
        t.addOption(7, "用途", "货款");      // a dictionary row, not an option
        t.addOption(8, "cfgDateChinese", "0"); // another template's option
    }

    LayoutDb t;
    CheckIniCache cache;
};

} // namespace

TEST_F(LayoutCacheTest, BuildWritesTheFieldsAndOptionsOfItsTemplateOnly)
{
    ASSERT_TRUE(cache.buildCheckIniFile(7));
    EXPECT_EQ(t.iniColumn(7), "7.ini");
    EXPECT_EQ(t.iniColumn(8), "");

    const QString text = fileText(cache.cacheFilePath(7));
    EXPECT_TRUE(text.contains("ConfigItems=zdJEXX,ZDJEDX,DEFCHECK0,")) << text.toStdString();
    // Field names in keys are upper case whatever the row says.
    for (const char *line : {"ZDJEXX.x=120", "ZDJEXX.y=44", "ZDJEXX.w=160", "ZDJEXX.h=20", "ZDJEXX.v=1",
                             "ZDJEXX.dv=O'Neil 1,2", "DEFCHECK0.v=0", "cfgDateChinese=1", "cfgDefaultMoney=美元"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line;
    EXPECT_FALSE(text.contains("用途"));
    EXPECT_FALSE(text.contains("ZDOTHER"));

    IniFile ini(cache.cacheFilePath(7));
    EXPECT_EQ(CheckIniCache::configItems(ini), QStringList({"zdJEXX", "ZDJEDX", "DEFCHECK0"}));
}

TEST_F(LayoutCacheTest, ReadsIgnoreLetterCaseAndFallBackToHiddenDefaults)
{
    auto ini = cache.OpenCheckInif(7);
    ASSERT_TRUE(ini);
    const FieldPlacement p = CheckIniCache::readFieldPlacement(*ini, "zdjexx");
    EXPECT_EQ(p, (FieldPlacement{120, 44, 160, 20, true, "O'Neil 1,2"}));

    const FieldPlacement none = CheckIniCache::readFieldPlacement(*ini, "zdJEDX");
    EXPECT_EQ(none, (FieldPlacement{30, 25, 45, 18, false, QString()}));

    EXPECT_EQ(CheckIniCache::checkConfig(ini.get(), "CFGDEFAULTMONEY"), "美元");
    EXPECT_TRUE(CheckIniCache::checkConfigFlag(ini.get(), "cfgDateChinese", false));
    // Unstored options: "on only when 1" is off, "off only when 0" is on.
    EXPECT_FALSE(CheckIniCache::checkConfigFlag(ini.get(), "cfgJEDXRMBChecked", false));
    EXPECT_TRUE(CheckIniCache::checkConfigFlag(ini.get(), "cfgJEXXWithMoneyCode", true));
    EXPECT_EQ(CheckIniCache::checkConfig(nullptr, "cfgDateChinese"), "");
}

TEST_F(LayoutCacheTest, OpenTrustsARecordedCacheUntilItsMarkIsCleared)
{
    auto first = cache.OpenCheckInif(7);
    ASSERT_TRUE(first);
    EXPECT_EQ(t.iniColumn(7), "7.ini");
    t.exec("update CkControl set SrcX=300 where CheckTypeID=7 and CtlName='zdJEXX'");

    // The template changed behind the cache's back: the cache still rules.
    EXPECT_TRUE(cache.isCurrent(7));
    EXPECT_EQ(CheckIniCache::readFieldPlacement(*cache.OpenCheckInif(7), "zdJEXX").x, 120);

    // Cache clearing empties the mark; the next open rebuilds.
    t.exec("update CKTypeTable set IniFile=''");
    EXPECT_FALSE(cache.isCurrent(7));
    EXPECT_EQ(CheckIniCache::readFieldPlacement(*cache.OpenCheckInif(7), "zdJEXX").x, 300);
    EXPECT_EQ(t.iniColumn(7), "7.ini");
}

TEST_F(LayoutCacheTest, AMissingOrForeignCacheFileIsRebuiltNotReadEmpty)
{
    ASSERT_TRUE(cache.buildCheckIniFile(7));
    ASSERT_TRUE(QFile::remove(cache.cacheFilePath(7)));
    EXPECT_FALSE(cache.isCurrent(7));
    auto reopened = cache.OpenCheckInif(7);
    EXPECT_TRUE(CheckIniCache::readFieldPlacement(*reopened, "ZDJEXX").visible);
    EXPECT_TRUE(QFile::exists(cache.cacheFilePath(7)));

    // A mark naming another template's file (a row copied by hand) would
    // lay out that template's fields.
    ASSERT_TRUE(cache.buildCheckIniFile(8));
    t.exec("update CKTypeTable set IniFile='8.ini' where CheckTypeID=7");
    EXPECT_FALSE(cache.isCurrent(7));
    EXPECT_EQ(CheckIniCache::readFieldPlacement(*cache.OpenCheckInif(7), "zdJEXX").x, 120);
    EXPECT_EQ(t.iniColumn(7), "7.ini");
}

TEST_F(LayoutCacheTest, RebuildKeepsForeignSectionsAndReplacesOldKeys)
{
    ASSERT_TRUE(cache.buildCheckIniFile(7));
    {
        IniFile ini(cache.cacheFilePath(7));
        ini.writeString("viewx", "GONE.x", "5");
        ini.writeString("Notes", "kept", "yes");
    }
    ASSERT_TRUE(cache.buildCheckIniFile(7));
    IniFile ini(cache.cacheFilePath(7));
    EXPECT_FALSE(ini.hasKey("viewx", "GONE.x"));
    EXPECT_EQ(ini.readString("Notes", "kept"), "yes");
}

TEST_F(LayoutCacheTest, AFailedBuildLeavesTheMarkEmptyAndTellsNobody)
{
    AlertRecorder alerts;
    t.exec("alter table CkControl rename to CkControlGone");
    QString error;
    EXPECT_FALSE(cache.buildCheckIniFile(7, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(t.iniColumn(7), "");
    EXPECT_TRUE(alerts.alerts().empty());

    // The window still gets a handle; every field then takes the defaults.
    auto ini = cache.OpenCheckInif(7);
    ASSERT_TRUE(ini);
    EXPECT_FALSE(CheckIniCache::readFieldPlacement(*ini, "zdJEXX").visible);
    EXPECT_EQ(t.iniColumn(7), "");

    t.exec("alter table CkControlGone rename to CkControl");
    EXPECT_TRUE(CheckIniCache::readFieldPlacement(*cache.OpenCheckInif(7), "zdJEXX").visible);
}

TEST_F(LayoutCacheTest, NoTemplateNoCache)
{
    EXPECT_FALSE(cache.OpenCheckInif(0));
    EXPECT_FALSE(cache.OpenCheckInif(-1));
    EXPECT_FALSE(cache.buildCheckIniFile(99));
    EXPECT_FALSE(QFile::exists(cache.cacheFilePath(99)));
}

TEST(LayoutCache, NamesWithApostrophesAreBoundNotQuoted)
{
    LayoutDb t;
    t.addTemplate(3, "支票'", "O'Brien");
    t.addField("支票'", "zdA");
    t.addBox(3, "zdA", 5, 6, 7, 8, 1);
    t.addOption(3, "cfgDefaultMoney", "it's");
    CheckIniCache cache(t.context());
    auto ini = cache.OpenCheckInif(3);
    ASSERT_TRUE(ini);
    EXPECT_EQ(CheckIniCache::configItems(*ini), QStringList{"zdA"});
    EXPECT_EQ(CheckIniCache::checkConfig(ini.get(), "cfgDefaultMoney"), "it's");
    EXPECT_EQ(t.iniColumn(3), "3.ini");
}

TEST(LayoutCache, ADatabaseWithoutTheCacheMarkGetsItOnTheSpot)
{
    LayoutDb t;
    t.addTemplate(4, "支票", "旧库");
    t.addField("支票", "zdA");
    t.addBox(4, "zdA", 5, 6, 7, 8, 1);
    t.exec("alter table CKTypeTable drop column IniFile");
    CheckIniCache cache(t.context());
    ASSERT_TRUE(cache.buildCheckIniFile(4));
    EXPECT_EQ(t.iniColumn(4), "4.ini");
    EXPECT_TRUE(cache.isCurrent(4));
}
