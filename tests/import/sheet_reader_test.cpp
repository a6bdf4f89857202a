#include "app/xlsx_writer.h"
#include "batch/sheet_file.h"
#include "sheet_fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

struct Opened
{
    std::unique_ptr<SheetFile> file;
    QString error;
};

Opened openFile(const QString &path)
{
    Opened o;
    o.file = openSheetFile(path, &o.error);
    return o;
}

SheetRows sheetRows(SheetFile &file, int index)
{
    SheetRows rows;
    QString error;
    EXPECT_TRUE(file.readSheet(index, &rows, &error)) << error.toStdString();
    return rows;
}

const QStringList kTitles{"收货人", "手机号码", "详细地址", "下单日期"};

} // namespace

TEST(SheetReader, XlsxReadsNumbersDatesStringsAndSparseRows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("orders.xlsx");
    ASSERT_TRUE(writeXlsx(path,
                          {{"说明", {{"~导出说明"}}},
                           {"订单", {kTitles, {"张三", "#13800138000", "~广州市天河区", "@46086"}, {},
                                     {"李四", "#0.1", "", "#1.5"}}}},
                          1));
    Opened o = openFile(path);
    ASSERT_TRUE(o.file) << o.error.toStdString();
    EXPECT_EQ(o.file->sheetNames(), QStringList({"说明", "订单"}));
    EXPECT_EQ(o.file->activeSheet(), 1);
    const SheetRows rows = sheetRows(*o.file, 1);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0], kTitles);
    EXPECT_EQ(rows[1], QStringList({"张三", "13800138000", "广州市天河区", "2026-03-05"}));
    EXPECT_TRUE(rows[2].isEmpty());
    EXPECT_EQ(rows[3], QStringList({"李四", "0.1", "", "1.5"}));
    EXPECT_EQ(sheetRows(*o.file, 0), SheetRows({{"导出说明"}}));
}

TEST(SheetReader, XlsxOfTheProgramsOwnExportReadsBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("export.xlsx");
    XlsxSheetWriter writer;
    QString error;
    ASSERT_TRUE(writer.open(path, "单位信息导出", &error));
    ASSERT_TRUE(writer.writeHeader({"全称", "联系人", "开户行账号"}, &error));
    ASSERT_TRUE(writer.writeRow({"O'Brien (中国) 咨询", "周杰", "0012345678901234567"}, &error));
    ASSERT_TRUE(writer.writeRow({"", "李四", ""}, &error));
    ASSERT_TRUE(writer.close(&error)) << error.toStdString();
    Opened o = openFile(path);
    ASSERT_TRUE(o.file) << o.error.toStdString();
    EXPECT_EQ(sheetRows(*o.file, 0), SheetRows({{"全称", "联系人", "开户行账号"},
                                                {"O'Brien (中国) 咨询", "周杰", "0012345678901234567"},
                                                {"", "李四"}}));
}

TEST(SheetReader, OdsExpandsRepeatedCellsAndRowsButNotTheEmptyRest)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("orders.ods");
    const QStringList same{"王五", "#13800138000", "同一地址\n二楼", "@2026-03-05T00:00:00"};
    ASSERT_TRUE(writeOds(path, {{"订单", {kTitles, same, same, {}, {"赵六", "赵六", "赵六"}}}, {"空", {}}}, "空"));
    Opened o = openFile(path);
    ASSERT_TRUE(o.file) << o.error.toStdString();
    EXPECT_EQ(o.file->sheetNames(), QStringList({"订单", "空"}));
    EXPECT_EQ(o.file->activeSheet(), 1);
    const SheetRows rows = sheetRows(*o.file, 0);
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows[1], QStringList({"王五", "13800138000", "同一地址\n二楼", "2026-03-05"}));
    EXPECT_EQ(rows[2], rows[1]);
    EXPECT_TRUE(rows[3].isEmpty());
    EXPECT_EQ(rows[4], QStringList({"赵六", "赵六", "赵六"}));
    EXPECT_TRUE(sheetRows(*o.file, 1).isEmpty());
}

TEST(SheetReader, XlsFixtureReadsPhonesAsDigitsAndDatesAsDays)
{
    Opened o = openFile(fixturePath("receivers.xls"));
    ASSERT_TRUE(o.file) << o.error.toStdString();
    EXPECT_EQ(o.file->sheetNames(), QStringList({"收件人", "空表"}));
    const SheetRows rows = sheetRows(*o.file, 0);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0], QStringList({"收货人", "手机号码", "详细地址", "城市", "下单日期", "件数"}));
    EXPECT_EQ(rows[1], QStringList({"张三", "13800138000", "广州市天河区体育西路103号", "广州", "2026-03-05", "2"}));
    EXPECT_EQ(rows[2].value(0), "O'Brien");
    EXPECT_EQ(rows[2].value(1), "13912345678");
    EXPECT_EQ(rows[2].value(5), "1.5");
    EXPECT_EQ(sheetRows(*o.file, 1), SheetRows({{"联系人", "电话"}}));
}

TEST(SheetReader, TextInEveryEncodingReadsTheSameRows)
{
    const SheetRows expected{{"收货人", "手机", "地址"},
                             {"张三", "13800138000", "广州市\n天河区"},
                             {"李四", "13912345678", "上海市, 浦东"}};
    const QString comma = "收货人,手机,地址\r\n张三,13800138000,\"广州市\n天河区\"\r\n"
                          "李四,13912345678,\"上海市, 浦东\"\r\n";
    QString tab = comma;
    tab.replace("收货人,手机,地址", "收货人\t手机\t地址")
        .replace("张三,13800138000,", "张三\t13800138000\t")
        .replace("李四,13912345678,", "李四\t13912345678\t");
    QString semicolon = comma;
    semicolon.replace("收货人,手机,地址", "收货人;手机;地址")
        .replace("张三,13800138000,", "张三;13800138000;")
        .replace("李四,13912345678,", "李四;13912345678;");
    struct Case { const char *name; QString text; const char *encoding; };
    const Case cases[] = {{"a.csv", comma, "utf8"},   {"b.csv", comma, "utf8bom"}, {"c.csv", comma, "gbk"},
                          {"d.txt", tab, "utf16"},    {"e.txt", tab, "gbk"},       {"f.csv", semicolon, "utf8"},
                          {"shop-export.xls", tab, "gbk"}};
    QTemporaryDir dir;
    for (const Case &c : cases) {
        const QString path = dir.filePath(c.name);
        ASSERT_TRUE(writeBytes(path, encodeText(c.text, c.encoding)));
        Opened o = openFile(path);
        ASSERT_TRUE(o.file) << c.name << " " << o.error.toStdString();
        EXPECT_EQ(sheetRows(*o.file, 0), expected) << c.name;
    }
}

TEST(SheetReader, FilesThatAreNoSpreadsheetSayWhy)
{
    QTemporaryDir dir;
    QByteArray encrypted("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    encrypted += QByteArray(600, '\0') + QByteArray(reinterpret_cast<const char *>(u"EncryptedPackage"), 32);
    QByteArray damaged("PK\x03\x04", 4);
    damaged += QByteArray(300, 'x');
    const QString emptyZip = dir.filePath("other.xlsx");
    ASSERT_TRUE(zipFiles(emptyZip, {{"readme.txt", "hello"}}));
    struct Case { const char *name; QByteArray bytes; const char *reason; };
    const Case cases[] = {{"secret.xlsx", encrypted, "加密"},
                          {"broken.xlsx", damaged, "损坏"},
                          {"picture.xlsx", QByteArray("\x89PNG\r\n\x1a\n\0\0", 10), "不是可以识别的表格文件"},
                          {"binary.csv", QByteArray("a,b\0\0\x01", 6), "不是可以识别的表格文件"},
                          {"page.xls", QByteArray("<html><table><tr><td>1</td></tr></table></html>"),
                           "不是可以识别的表格文件"},
                          {"empty.csv", QByteArray(), "文件是空的"}};
    for (const Case &c : cases) {
        const QString path = dir.filePath(c.name);
        ASSERT_TRUE(writeBytes(path, c.bytes));
        Opened o = openFile(path);
        EXPECT_FALSE(o.file) << c.name;
        EXPECT_TRUE(o.error.contains(QString::fromUtf8(c.reason))) << c.name << ": " << o.error.toStdString();
    }
    Opened o = openFile(emptyZip);
    EXPECT_FALSE(o.file);
    EXPECT_EQ(o.error, "这个压缩文件不是Excel(xlsx)或OpenDocument(ods)表格");
}

TEST(SheetReader, NumbersReadAsASpreadsheetShowsThem)
{
    const std::pair<double, const char *> cases[] = {
        {13800138000.0, "13800138000"}, {2.0, "2"}, {1.5, "1.5"}, {0.1, "0.1"}, {-12.25, "-12.25"},
        {1e-7, "0.0000001"}, {1234567890123456789.0, "1234567890123456768"}};
    for (const auto &[value, text] : cases)
        EXPECT_EQ(sheetNumberText(value), QString::fromLatin1(text)) << text;
    EXPECT_EQ(sheetSerialDate(46086), "2026-03-05");
    EXPECT_EQ(sheetSerialDate(59), "1900-02-28");
    EXPECT_EQ(sheetSerialDate(61), "1900-03-01");
}

TEST(SheetReader, ReadersKeepToSixThousandRowsTwoHundredFiftySixColumnsAnd32KPerCell)
{
    QTemporaryDir dir;
    const QString longText = QString(40000, QChar(u'长'));
    QByteArray xlsxRows = "<row r=\"1\">" + xlsxCell("A1", "联系人") + xlsxCell("IV1", "第256列")
                          + xlsxCell("IW1", "第257列") + "</row><row r=\"2\">" + xlsxCell("A2", longText) + "</row>";
    QByteArray csv = "联系人," + QByteArray(254, ',') + "第256列,第257列\n" + longText.toUtf8() + "\n";
    for (int r = 3; r <= 7000; ++r) {
        const QByteArray n = QByteArray::number(r);
        xlsxRows += "<row r=\"" + n + "\">" + xlsxCell("A" + n, "收件人" + QString::number(r)) + "</row>";
        csv += "收件人" + n + "\n";
    }
    const QString xlsx = dir.filePath("orders.xlsx");
    ASSERT_TRUE(writeRawXlsx(xlsx, xlsxRows));
    const QString text = dir.filePath("orders.csv");
    ASSERT_TRUE(writeBytes(text, csv));
    for (const QString &path : {xlsx, text}) {
        Opened o = openFile(path);
        ASSERT_TRUE(o.file) << o.error.toStdString();
        const SheetRows rows = sheetRows(*o.file, 0);
        EXPECT_TRUE(o.file->readNotes().cutAtLimits) << path.toStdString();
        ASSERT_EQ(rows.size(), 6001) << path.toStdString();
        EXPECT_EQ(rows[0].size(), 256);
        EXPECT_EQ(rows[0].value(255), "第256列");
        EXPECT_EQ(rows[6000], QStringList{"收件人6001"});
        EXPECT_EQ(rows[1], QStringList{longText.left(32768)});
    }

    // A sheet within the limits says nothing was left out.
    ASSERT_TRUE(writeBytes(text, "联系人,地址\n张三,广州\n"));
    Opened small = openFile(text);
    ASSERT_TRUE(small.file);
    sheetRows(*small.file, 0);
    EXPECT_FALSE(small.file->readNotes().cutAtLimits);
}

TEST(SheetReader, XlsxSharedStringsStopAtTheCellsASheetKeeps)
{
    // 1.6 million empty strings, 8 MB of XML, would each take a list
    // entry; the reader keeps 6001 × 256 of them.
    QByteArray sst = "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><si><t>收件人</t></si>";
    sst += QByteArray("<si/>").repeated(1600000) + "<si><t>太远</t></si></sst>";
    QTemporaryDir dir;
    const QString path = dir.filePath("strings.xlsx");
    ASSERT_TRUE(writeRawXlsx(path,
                             "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>"
                             "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>1600001</v></c></row>",
                             sst));
    Opened o = openFile(path);
    ASSERT_TRUE(o.file) << o.error.toStdString();
    EXPECT_EQ(sheetRows(*o.file, 0), SheetRows({{"收件人"}}));
}

TEST(SheetReader, TextDecodingWithFewerErrorsWinsAndIsNamed)
{
    // UTF-8 damaged in two places (a byte cut off at the end of one address,
    // a stray byte in another) is still UTF-8: read as GB18030 every
    // Chinese cell would be garbled.
    QByteArray damaged = QString("收货人,手机,地址\n张三,13800138000,广州市天河区\n李四,13912345678,上海市浦东新区\n"
                                 "王五,13700137000,北京市朝阳区\n")
                             .toUtf8();
    damaged.replace(QString("浦东新区").toUtf8(), QString("浦东新区").toUtf8().chopped(1));
    damaged.replace(QString("朝阳").toUtf8(), QString("朝").toUtf8() + "\xFF" + QString("阳").toUtf8());
    const QString text = "收货人,手机,地址\n张三,13800138000,广州市天河区\n李四,13912345678,上海市浦东新区\n";
    struct Case { const char *name; QByteArray bytes; const char *encoding; };
    const Case cases[] = {{"damaged.csv", damaged, "UTF-8"},
                          {"gbk.csv", encodeText(text, "gbk"), "GB18030"},
                          {"clean.csv", encodeText(text, "utf8"), "UTF-8"},
                          {"unicode.txt", encodeText(text, "utf16"), "UTF-16"}};
    QTemporaryDir dir;
    for (const Case &c : cases) {
        const QString path = dir.filePath(c.name);
        ASSERT_TRUE(writeBytes(path, c.bytes));
        Opened o = openFile(path);
        ASSERT_TRUE(o.file) << c.name;
        const SheetRows rows = sheetRows(*o.file, 0);
        EXPECT_EQ(o.file->readNotes().encoding, c.encoding) << c.name;
        ASSERT_GE(rows.size(), 3) << c.name;
        EXPECT_EQ(rows[0], QStringList({"收货人", "手机", "地址"})) << c.name;
        EXPECT_EQ(rows[1], QStringList({"张三", "13800138000", "广州市天河区"})) << c.name;
        EXPECT_TRUE(rows[2].value(2).startsWith("上海市浦东新")) << c.name;
    }
    const SheetRows rows = sheetRows(*openFile(dir.filePath("damaged.csv")).file, 0);
    EXPECT_EQ(rows[3], QStringList({"王五", "13700137000", "北京市朝\uFFFD阳区"}));
}
