#include "app/simplified_chinese.h"

#include <gtest/gtest.h>

#include <QThread>
#include <vector>

using namespace billprint;

TEST(SimplifiedChinese, FoldsTraditionalAddressWordsCharacterByCharacter)
{
    ASSERT_TRUE(simplifiedFoldingAvailable());
    const std::pair<const char16_t *, const char16_t *> pairs[] = {
        {u"廣東省", u"广东省"},   {u"澳門特別行政區", u"澳门特别行政区"},
        {u"區", u"区"},           {u"號", u"号"},
        {u"樓", u"楼"},           {u"詳細地址", u"详细地址"},
        {u"電話", u"电话"},       {u"臺", u"台"},
        {u"灣", u"湾"},           {u"龍", u"龙"},
        {u"氹仔", u"氹仔"},       {u"臺灣省臺北市大安區", u"台湾省台北市大安区"}};
    for (const auto &[traditional, simplified] : pairs) {
        const QString typed = QString::fromUtf16(traditional);
        EXPECT_EQ(foldToSimplified(typed), QString::fromUtf16(simplified)) << typed.toStdString();
    }
}

TEST(SimplifiedChinese, KeepsTheLengthSoPositionsStayValid)
{
    const QString typed = QStringLiteral("收件人：陳大文 電話：+852 9123 4567 地址：香港九龍旺角彌敦道123號5樓B室 😀");
    const QString folded = foldToSimplified(typed);
    ASSERT_EQ(folded.size(), typed.size());
    EXPECT_EQ(folded, QStringLiteral("收件人：陈大文 电话：+852 9123 4567 地址：香港九龙旺角弥敦道123号5楼B室 😀"));
    EXPECT_EQ(folded.indexOf(QStringLiteral("弥敦道")), typed.indexOf(QStringLiteral("彌敦道")));
}

TEST(SimplifiedChinese, LeavesSimplifiedAsciiAndEmptyTextAlone)
{
    const QString simplified = QStringLiteral("张三 13812345678 广东省深圳市南山区科技园1号");
    EXPECT_EQ(foldToSimplified(simplified), simplified);
    EXPECT_EQ(foldToSimplified(QStringLiteral("Room 5, 12 Nathan Road (+852)")),
              QStringLiteral("Room 5, 12 Nathan Road (+852)"));
    EXPECT_EQ(foldToSimplified(QString()), QString());
    EXPECT_TRUE(foldToSimplified(QString()).isEmpty());
}

TEST(SimplifiedChinese, FoldsTheSameFromSeveralThreads)
{
    const QString typed = QStringLiteral("廣東省廣州市天河區體育西路麗晶大廈");
    const QString expected = QStringLiteral("广东省广州市天河区体育西路丽晶大厦");
    std::vector<QString> results(4);
    std::vector<QThread *> threads;
    for (size_t i = 0; i < results.size(); ++i)
        threads.push_back(QThread::create([&results, &typed, i] { results[i] = foldToSimplified(typed); }));
    for (QThread *t : threads)
        t->start();
    for (QThread *t : threads) {
        t->wait();
        delete t;
    }
    for (const QString &r : results)
        EXPECT_EQ(r, expected);
}
