// "记住选项": the options stored for the template and read back from its
// rebuilt layout cache; when that cache cannot be rebuilt the window reads
// its options from it, so the options are not remembered.
#include "app/ini_file.h"
#include "templates/check_ini_cache.h"
#include "bills/ui/template_options.h"
#include "cheque_fixtures.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>

namespace billprint::test {
namespace {

TEST_F(ChequeTest, RememberingOptionsWithACacheThatCannotBeRebuiltSaysSoAndDropsTheCache)
{
    auto w = openCheque();
    const CheckIniCache cache(ctx());
    const QString cacheFile = cache.cacheFilePath(w->checkTypeId());
    ASSERT_TRUE(cache.isCurrent(w->checkTypeId()));
    ASSERT_TRUE(QFile::remove(cacheFile));
    ASSERT_TRUE(QDir().mkpath(cacheFile));  // a folder where the file belongs cannot be written
    w->option(QStringLiteral("cfgDateChinese"))->click();
    alerts.clear();
    w->rememberOptions();
    ASSERT_EQ(alerts.messages().size(), 1);
    EXPECT_TRUE(alerts.messages().front().startsWith(QStringLiteral("记住选项失败！")));
    EXPECT_FALSE(cache.isCurrent(w->checkTypeId()));  // rebuilt when next used
}

TEST_F(ChequeTest, RememberedTemplateOptionsAreReadFromTheRebuiltCache)
{
    auto w = openCheque();
    const int id = w->checkTypeId();
    QString error;
    ASSERT_EQ(rememberTemplateOptions(ctx(), id,
                                      {{QStringLiteral("cfgDateChinese"), QStringLiteral("1")},
                                       {QStringLiteral("cfgDefaultMoney"), QStringLiteral("美元")}},
                                      &error),
              RememberedOptions::Remembered)
        << error.toStdString();
    const CheckIniCache cache(ctx());
    EXPECT_TRUE(cache.isCurrent(id));
    const std::unique_ptr<IniFile> ini = cache.OpenCheckInif(id);
    EXPECT_EQ(CheckIniCache::checkConfig(ini.get(), QStringLiteral("cfgDateChinese")), QStringLiteral("1"));
    EXPECT_EQ(CheckIniCache::checkConfig(ini.get(), QStringLiteral("cfgDefaultMoney")), QStringLiteral("美元"));
}

TEST_F(ChequeTest, RememberingTemplateOptionsWithAnUnwritableCacheSaysTheCacheWasNotRebuilt)
{
    auto w = openCheque();
    const int id = w->checkTypeId();
    const CheckIniCache cache(ctx());
    const QString cacheFile = cache.cacheFilePath(id);
    ASSERT_TRUE(QFile::remove(cacheFile));
    ASSERT_TRUE(QDir().mkpath(cacheFile));
    QString error;
    EXPECT_EQ(rememberTemplateOptions(ctx(), id, {{QStringLiteral("cfgDateChinese"), QStringLiteral("1")}}, &error),
              RememberedOptions::CacheNotRebuilt);
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
} // namespace billprint::test
