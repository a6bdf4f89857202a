// "记住选项" when the template's layout cache cannot be rebuilt: the window
// reads its options from that cache, so the options are not remembered.
#include "templates/check_ini_cache.h"
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

} // namespace
} // namespace billprint::test
