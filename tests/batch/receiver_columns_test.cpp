// Matching sheet titles to the receiver list and reading CSV files in
// UTF-8 and GBK.

#include "batch/csv_file.h"
#include "batch/receiver_columns.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextCodec>
#include <gtest/gtest.h>

namespace billprint::test {
namespace {

QString matched(const QStringList &titles)
{
    QStringList out;
    for (const ColumnMatch &m : matchReceiverColumns(titles, nullptr))
        out << QString::number(m.source) + QLatin1Char(':') + m.item + QLatin1Char('>') + m.listColumn;
    return out.join(QLatin1Char(' '));
}

TEST(ReceiverColumns, TitlesGoToTheFirstItemThatAcceptsThem)
{
    EXPECT_EQ(matched({"收件人", "手机", "省", "市", "地址", "收件公司", "物品内容", "重量", "订单号", "备注"}),
              "0:联系人>联系人 1:手机>手机 2:省>省 3:市>市 4:地址>地址 5:单位全称>全称 6:物品内容>内件说明 "
              "7:重量>重量 8:订单号> 9:备注>备注");
    EXPECT_EQ(matched({"收货人", "手机号码", "详细地址"}), "0:联系人>联系人 1:手机>手机 2:地址>地址");
    EXPECT_EQ(matched({"城市", "目的地"}), "0:市>市 1:目的站>目的站");
    EXPECT_EQ(matched({"会员ID", "内件说明", "全称", "邮编"}), "0:单位全称>全称 1:物品内容>内件说明 3:邮政编码>邮编");
    EXPECT_EQ(matched({"", "送货费"}), "1:送货费>送货费");
    // Bank columns are matched to their bank items, which the list has no
    // column for, so they fill nothing (not the receiver's address).
    EXPECT_EQ(matched({"收件人", "开户行地址", "开户行", "账号"}),
              "0:联系人>联系人 1:银行地址> 2:开户银行> 3:银行账号>");
}

TEST(CsvFile, ReadsUtf8AndGbkWithQuotes)
{
    EXPECT_EQ(parseCsv("a,\"b,\"\"c\"\"\"\r\n\n1,\"x\ny\"\n,\n"),
              (QList<QStringList>{{"a", "b,\"c\""}, {"1", "x\ny"}, {"", ""}}));
    QTemporaryDir dir;
    const QString text = QStringLiteral("收件人,地址\nO'Brien,广东省深圳市\n");
    const QByteArray gbk = QTextCodec::codecForName("GB18030")->fromUnicode(text);
    for (const QByteArray &bytes : {text.toUtf8(), QByteArray("\xEF\xBB\xBF") + text.toUtf8(), gbk}) {
        QFile f(dir.filePath("r.csv"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        QList<QStringList> rows;
        QString error;
        ASSERT_TRUE(readCsvFile(f.fileName(), &rows, &error)) << error.toStdString();
        EXPECT_EQ(rows, (QList<QStringList>{{"收件人", "地址"}, {"O'Brien", "广东省深圳市"}}));
    }
    QList<QStringList> rows;
    QString error;
    EXPECT_FALSE(readCsvFile(dir.filePath("missing.csv"), &rows, &error));
}

TEST(CsvFile, AListBeyondSixThousandReceiversOrSixtyFourMegabytesIsRefusedWhole)
{
    QTemporaryDir dir;
    auto write = [&](const QByteArray &bytes) {
        QFile f(dir.filePath("r.csv"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return f.fileName();
    };
    QByteArray list("收件人,地址\n");
    for (int i = 1; i <= 6000; ++i)
        list += "张" + QByteArray::number(i) + ",广东省深圳市福田区\n";
    QList<QStringList> rows;
    QString error;
    ASSERT_TRUE(readCsvFile(write(list), &rows, &error)) << error.toStdString();
    EXPECT_EQ(rows.size(), 6001);
    EXPECT_EQ(rows.last(), QStringList({"张6000", "广东省深圳市福田区"}));

    EXPECT_FALSE(readCsvFile(write(list + "张6001,广东省深圳市福田区\n"), &rows, &error));
    EXPECT_TRUE(rows.isEmpty());
    EXPECT_TRUE(error.endsWith("holds more than 6000 receivers, 256 columns or 32768 characters in a field"))
        << error.toStdString();

    EXPECT_FALSE(readCsvFile(write(QByteArray(64 * 1024 * 1024 + 1, ',')), &rows, &error));
    EXPECT_TRUE(error.endsWith("文件过大或已损坏")) << error.toStdString();
}

} // namespace
} // namespace billprint::test
