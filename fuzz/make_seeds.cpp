// Writes the seed corpus of the fuzz harnesses (fuzz/corpus/<target>/)
// with the program's own writers and the import tests' file builders:
// a few small valid files per format, so the fuzzers start from what a
// reader accepts. Run from the build folder:
//   build-fuzz/fuzz_make_seeds fuzz/corpus
#include "../tests/import/sheet_fixtures.h"
#include "app/app_context.h"
#include "app/data_root.h"
#include "app/database.h"
#include "app/xlsx_writer.h"
#include "templates/template_package.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>

using namespace billprint;
using namespace billprint::test;

namespace {

QString g_root;
int g_failures = 0;

QString seed(const QString &target, const QString &name)
{
    QDir().mkpath(g_root + QLatin1Char('/') + target);
    return g_root + QLatin1Char('/') + target + QLatin1Char('/') + name;
}

void check(bool ok, const QString &what)
{
    if (!ok) {
        std::fprintf(stderr, "cannot write %s\n", qUtf8Printable(what));
        ++g_failures;
    }
}

void put(const QString &target, const QString &name, const QByteArray &bytes)
{
    check(writeBytes(seed(target, name), bytes), target + QLatin1Char('/') + name);
}

// The XML of one entry of a written workbook: the seeds of the harnesses'
// XML mode (an input that is no zip is the sheet's XML).
void putEntry(const QString &zipTarget, const QString &zipName, const QString &entry, const QString &name)
{
    QuaZip zip(seed(zipTarget, zipName));
    QByteArray bytes;
    if (zip.open(QuaZip::mdUnzip) && zip.setCurrentFile(entry)) {
        QuaZipFile file(&zip);
        if (file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
    }
    check(!bytes.isEmpty(), zipName + QLatin1Char(':') + entry);
    put(zipTarget, name, bytes);
}

const QList<QStringList> kReceivers = {
    {QStringLiteral("收件人"), QStringLiteral("手机"), QStringLiteral("地址"), QStringLiteral("金额"),
     QStringLiteral("日期")},
    {QStringLiteral("张三"), QStringLiteral("#13812345678"), QStringLiteral("浙江省杭州市西湖区文三路100号"),
     QStringLiteral("#1234.5"), QStringLiteral("@46086")},
    {QStringLiteral("~李晓燕"), QStringLiteral("13766554433"), QStringLiteral("江苏省南京市鼓楼区\n中山北路32号"),
     QStringLiteral("#0.05"), QString()},
};

void spreadsheetSeeds()
{
    const QList<TestSheet> sheets = {{QStringLiteral("收件人"), kReceivers},
                                     {QStringLiteral("Sheet2"), {{QStringLiteral("a"), QStringLiteral("#1")}}}};
    check(writeXlsx(seed(QStringLiteral("xlsx"), QStringLiteral("two_sheets.xlsx")), sheets, 1), "xlsx");

    XlsxSheetWriter writer;
    QString error;
    check(writer.open(seed(QStringLiteral("xlsx"), QStringLiteral("program_export.xlsx")), QStringLiteral("历史"), &error)
              && writer.writeHeader({QStringLiteral("编号"), QStringLiteral("收款人"), QStringLiteral("金额")}, &error)
              && writer.writeRow({QStringLiteral("1"), QStringLiteral("杭州甲公司"), QStringLiteral("1,234.50")}, &error)
              && writer.close(&error),
          QStringLiteral("program xlsx: ") + error);

    check(writeOds(seed(QStringLiteral("ods"), QStringLiteral("two_sheets.ods")), sheets, QStringLiteral("Sheet2")),
          "ods");
    check(writeOds(seed(QStringLiteral("ods"), QStringLiteral("repeats.ods")),
                   {{QStringLiteral("表1"), {{QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("y")},
                                             {QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("y")},
                                             {QStringLiteral("#3")}}}}),
          "ods repeats");

    putEntry(QStringLiteral("xlsx"), QStringLiteral("two_sheets.xlsx"), QStringLiteral("xl/worksheets/sheet1.xml"),
             QStringLiteral("sheet1.xml"));
    putEntry(QStringLiteral("ods"), QStringLiteral("two_sheets.ods"), QStringLiteral("content.xml"),
             QStringLiteral("two_sheets_content.xml"));
    putEntry(QStringLiteral("ods"), QStringLiteral("repeats.ods"), QStringLiteral("content.xml"),
             QStringLiteral("repeats_content.xml"));

    QFile xls(QStringLiteral(BILLPRINT_TEST_DIR "/fixtures/receivers.xls"));
    check(xls.open(QIODevice::ReadOnly), "tests/import/fixtures/receivers.xls");
    put(QStringLiteral("xls"), QStringLiteral("receivers.xls"), xls.readAll());
}

void textSeeds()
{
    const QString csv = QStringLiteral("收件人,手机,地址,备注\r\n张三,13812345678,\"浙江省杭州市西湖区\n文三路100号\",\"说\"\"好\"\"的\"\r\n"
                                       "李四,013766554433,江苏省南京市,\r\n");
    put(QStringLiteral("text"), QStringLiteral("utf8.csv"), encodeText(csv, QStringLiteral("utf8")));
    put(QStringLiteral("text"), QStringLiteral("utf8bom.csv"), encodeText(csv, QStringLiteral("utf8bom")));
    put(QStringLiteral("text"), QStringLiteral("gbk.csv"), encodeText(csv, QStringLiteral("gbk")));
    QString tabs = csv;
    tabs.replace(QLatin1Char(','), QLatin1Char('\t'));
    put(QStringLiteral("text"), QStringLiteral("utf16_tabs.txt"), encodeText(tabs, QStringLiteral("utf16")));
    QString semicolons = csv;
    semicolons.replace(QLatin1Char(','), QLatin1Char(';'));
    put(QStringLiteral("text"), QStringLiteral("semicolons.csv"), encodeText(semicolons, QStringLiteral("utf8")));
}

QByteArray tinyJpeg()
{
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 50);
    return bytes;
}

// A package of delivered templates of a fresh data folder, their pictures
// swapped for a tiny one to keep the corpus light.
void packageSeeds()
{
    QTemporaryDir dir;
    QString error;
    const DataRoot root(dir.path());
    std::unique_ptr<AppContext> ctx = AppContext::open(root, &error, dir.filePath(QStringLiteral("user.conf")));
    check(ctx != nullptr, QStringLiteral("data folder: ") + error);
    if (!ctx)
        return;
    QSqlQuery q = ctx->db().prepare(QStringLiteral("select CheckTypeID, ImgFile from CKTypeTable order by CheckTypeID"));
    QList<int> ids;
    if (q.exec()) {
        while (q.next() && ids.size() < 2) {
            ids << q.value(0).toInt();
            const QString picture = q.value(1).toString();
            if (TemplatePackage::isSafePictureName(picture) && !picture.isEmpty())
                writeBytes(root.imageFolder() + picture, tinyJpeg());
        }
    }
    check(!ids.isEmpty(), "package: no template in a new data folder");
    check(TemplatePackage::write(ctx->db(), root.imageFolder(), ids.mid(0, 1),
                                 seed(QStringLiteral("package"), QStringLiteral("one_template.tpk")), &error),
          QStringLiteral("package: ") + error);
    check(TemplatePackage::write(ctx->db(), root.imageFolder(), ids,
                                 seed(QStringLiteral("package"), QStringLiteral("two_templates.tpk")), &error),
          QStringLiteral("package: ") + error);
}

// Address texts as shops and chats give them, each behind its option byte.
void addressSeeds()
{
    const QStringList texts = {
        QStringLiteral("收货地址：张三，86-0571-88886666，13812345678，浙江省 杭州市 西湖区 文三路100号 ，（310012）"),
        QStringLiteral("李晓燕 13766554433\n江苏省南京市鼓楼区中山北路32号金轮大厦1205室 210008"),
        QStringLiteral("收件人: 王五\n电话: 021-62345678\n地址: 上海市浦东新区世纪大道1号\n邮编: 200120"),
        QStringLiteral("杭州甲贸易有限公司 赵六 0571-8888666６ 广东省深圳市南山区科技园 备注：周末送"),
    };
    const char options[] = {0, 4, 2, 3};
    for (int i = 0; i < texts.size(); ++i)
        put(QStringLiteral("address"), QStringLiteral("text%1").arg(i + 1),
            QByteArray(1, options[i]) + texts[i].toUtf8());
    put(QStringLiteral("address"), QStringLiteral("replacement"),
        QByteArray(1, 8) + QStringLiteral("\x01省\x02省 \n浙江省杭州市西湖区 张三 13812345678").toUtf8());
}

void amountSeeds()
{
    const QList<QPair<char, QByteArray>> seeds = {
        {char(11), "1234.56"},          {char(0x2b), "１２，３４５．６元"}, {char(0x49), "-56.30"},
        {char(3), "1.005"},             {char(9), "999999999.995"},      {char(0x10), "1.5e3"},
        {char(0x20), "08"},             {char(5), "2026"},
        {char(0), QByteArrayList{"capitals", "0.285"}.join('\0')},
        {char(0), QByteArrayList{"digits", "123.45", "5", "0.00"}.join('\0')},
        {char(0), QByteArrayList{"break", "3", "壹仟零壹元"}.join('\0')},
    };
    for (int i = 0; i < seeds.size(); ++i)
        put(QStringLiteral("amount"), QStringLiteral("amount%1").arg(i + 1), QByteArray(1, seeds[i].first) + seeds[i].second);
}

void iniSeeds()
{
    const QString config = QStringLiteral("; 程序设置\r\n[Info]\r\nnm=禾朔\r\n\r\n[Vendor]\r\nSite=https://example.cn\r\n"
                                          "ServiceHost=example.cn\r\n[支票]\r\n记住选项=1\r\n");
    put(QStringLiteral("ini"), QStringLiteral("config_crlf.ini"), config.toUtf8());
    put(QStringLiteral("ini"), QStringLiteral("config_gbk.ini"), encodeText(config, QStringLiteral("gbk")));
    put(QStringLiteral("ini"), QStringLiteral("preamble_bom.ini"),
        encodeText(QStringLiteral("top=1\n#comment\n[ frm Main ]\nLeft = 10\nleft=20\n[info]\nNM=x"),
                   QStringLiteral("utf8bom")));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_make_seeds CORPUS_FOLDER\n");
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);
    spreadsheetSeeds();
    textSeeds();
    packageSeeds();
    addressSeeds();
    amountSeeds();
    iniSeeds();
    return g_failures == 0 ? 0 : 1;
}
