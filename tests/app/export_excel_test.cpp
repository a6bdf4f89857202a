// The grid export: what lands in the workbook, the questions and messages
// around it, abort, and failures.
#include "app/database.h"
#include "app/desktop_open.h"
#include "app/ui/tfrm_export_excel.h"
#include "app/xlsx_writer.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTimer>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <quazip.h>
#include <quazipfile.h>

using namespace billprint;
using namespace billprint::test;

namespace {

// A small reader of the first worksheet of an .xlsx file: cell texts by
// row, and for each cell its number format and font.
struct SheetCell
{
    QString text;
    bool isText = false;  // stored as a string, not a number
    int numFmtId = 0;
    bool bold = false;
    double fontSize = 0;
};

struct Sheet
{
    bool ok = false;
    QList<QList<SheetCell>> rows;
    QMap<int, double> columnWidths;  // 0-based column -> width

    QStringList texts(int row) const
    {
        QStringList list;
        for (const SheetCell &cell : rows.value(row))
            list << cell.text;
        return list;
    }
};

QByteArray zipEntry(const QString &path, const QString &name)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip) || !zip.setCurrentFile(name))
        return QByteArray();
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

int columnOf(const QString &ref)
{
    int column = 0;
    for (QChar ch : ref) {
        if (!ch.isLetter())
            break;
        column = column * 26 + (ch.toUpper().unicode() - 'A' + 1);
    }
    return column - 1;
}

Sheet readSheet(const QString &path)
{
    Sheet sheet;
    QStringList shared;
    {
        QXmlStreamReader xml(zipEntry(path, "xl/sharedStrings.xml"));
        QString current;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == u"si")
                current.clear();
            else if (xml.isStartElement() && xml.name() == u"t")
                current += xml.readElementText();
            else if (xml.isEndElement() && xml.name() == u"si")
                shared << current;
        }
    }
    struct Font { bool bold = false; double size = 0; };
    QList<Font> fonts;
    QList<QPair<int, int>> xfs;  // numFmtId, fontId
    {
        QXmlStreamReader xml(zipEntry(path, "xl/styles.xml"));
        bool inFonts = false, inCellXfs = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement()) {
                if (xml.name() == u"fonts") inFonts = true;
                else if (xml.name() == u"cellXfs") inCellXfs = true;
                else if (inFonts && xml.name() == u"font") fonts << Font();
                else if (inFonts && xml.name() == u"b") fonts.last().bold = true;
                else if (inFonts && xml.name() == u"sz") fonts.last().size = xml.attributes().value("val").toDouble();
                else if (inCellXfs && xml.name() == u"xf")
                    xfs << qMakePair(xml.attributes().value("numFmtId").toInt(), xml.attributes().value("fontId").toInt());
            } else if (xml.isEndElement()) {
                if (xml.name() == u"fonts") inFonts = false;
                else if (xml.name() == u"cellXfs") inCellXfs = false;
            }
        }
    }
    const QByteArray data = zipEntry(path, "xl/worksheets/sheet1.xml");
    if (data.isEmpty())
        return sheet;
    QXmlStreamReader xml(data);
    SheetCell cell;
    int column = 0;
    QString type;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"col") {
            const int min = xml.attributes().value("min").toInt();
            sheet.columnWidths.insert(min - 1, xml.attributes().value("width").toDouble());
        } else if (xml.isStartElement() && xml.name() == u"row") {
            sheet.rows.append(QList<SheetCell>());
        } else if (xml.isStartElement() && xml.name() == u"c") {
            cell = SheetCell();
            column = columnOf(xml.attributes().value("r").toString());
            type = xml.attributes().value("t").toString();
            const int style = xml.attributes().value("s").toInt();
            const auto xf = xfs.value(style);
            cell.numFmtId = xf.first;
            cell.bold = fonts.value(xf.second).bold;
            cell.fontSize = fonts.value(xf.second).size;
            cell.isText = type == QLatin1String("s") || type == QLatin1String("inlineStr");
        } else if (xml.isStartElement() && (xml.name() == u"v" || xml.name() == u"t")) {
            const QString value = xml.readElementText();
            cell.text = type == QLatin1String("s") ? shared.value(value.toInt()) : value;
        } else if (xml.isEndElement() && xml.name() == u"c") {
            QList<SheetCell> &row = sheet.rows.last();
            while (row.size() < column)
                row.append(SheetCell());
            row.append(cell);
        }
    }
    sheet.ok = !xml.hasError();
    return sheet;
}

// Records what the export hands to the desktop and answers the file
// dialog, for the lifetime of one test.
struct ExportSeams
{
    QList<QUrl> opened;
    QString answerPath;
    int asked = 0;
    QString suggested;
    DesktopOpener previousOpener;
    TfrmExportExcel::SavePathChooser previousChooser;

    ExportSeams()
    {
        previousOpener = setDesktopOpener([this](const QUrl &url) { opened << url; return true; });
        previousChooser = TfrmExportExcel::setSavePathChooser([this](QWidget *, const QString &s) {
            ++asked;
            suggested = s;
            return answerPath;
        });
    }
    ~ExportSeams()
    {
        setDesktopOpener(std::move(previousOpener));
        TfrmExportExcel::setSavePathChooser(std::move(previousChooser));
    }
};

void addReceivers(AppContext &ctx, int count)
{
    ctx.db().transaction([&] {
        for (int i = 1; i <= count; ++i)
            ctx.db().exec("INSERT INTO ReceiverList(全称, 联系人, 电话, 邮编) VALUES (?, ?, ?, ?)",
                          {QStringLiteral("单位%1").arg(i), QStringLiteral("联系人%1").arg(i),
                           QStringLiteral("0755-000%1").arg(i), QStringLiteral("00%1").arg(i)});
        return true;
    });
}

struct Grid
{
    QSqlQueryModel model;
    QTableView view;
    explicit Grid(AppContext &ctx)
    {
        QSqlQuery q = ctx.db().prepare(QStringLiteral("SELECT ID, 全称, 联系人, 电话, 邮编 FROM ReceiverList ORDER BY ID"));
        q.exec();
        model.setQuery(std::move(q));
        view.setModel(&model);
    }
};

} // namespace

TEST(ExportExcel, ThreeRowsBecomeTextCellsUnderABoldHeader)
{
    TempDataRoot root;
    AppContext &ctx = root.context();
    AlertRecorder alerts;
    ExportSeams seams;
    addReceivers(ctx, 3);
    Grid grid(ctx);
    grid.view.setColumnHidden(0, true);  // ID is not for the spreadsheet
    seams.answerPath = root.path() + "/out/收件人";

    TfrmExportExcel window(ctx, &grid.view, "收件人列表");
    EXPECT_EQ(window.windowTitle(), "禾朔软件-导出-收件人列表");
    EXPECT_EQ(window.progressText(), "准备要导出:0/0");
    window.btStartClick();

    EXPECT_EQ(window.outcome().status, ExportOutcome::Status::Done);
    EXPECT_EQ(window.progressText(), "正在导出第:3/3");
    EXPECT_FALSE(window.startButton()->isEnabled());
    EXPECT_EQ(alerts.messages(), QStringList({"3条记录导出完成！"}));
    const QString path = root.path() + "/out/收件人.xlsx";  // suffix added
    EXPECT_EQ(window.outcome().path, path);
    ASSERT_EQ(seams.opened.size(), 1);
    EXPECT_EQ(seams.opened[0], QUrl::fromLocalFile(path));

    const Sheet sheet = readSheet(path);
    ASSERT_TRUE(sheet.ok);
    ASSERT_EQ(sheet.rows.size(), 4);
    EXPECT_EQ(sheet.texts(0), QStringList({"全称", "联系人", "电话", "邮编"}));
    EXPECT_EQ(sheet.texts(1), QStringList({"单位1", "联系人1", "0755-0001", "001"}));
    EXPECT_EQ(sheet.texts(3), QStringList({"单位3", "联系人3", "0755-0003", "003"}));
    for (int r = 0; r < sheet.rows.size(); ++r) {
        for (const SheetCell &cell : sheet.rows[r]) {
            EXPECT_TRUE(cell.isText) << r;
            EXPECT_EQ(cell.numFmtId, 49) << r;  // "@"
            EXPECT_EQ(cell.fontSize, 9.0) << r;
            EXPECT_EQ(cell.bold, r == 0) << r;
        }
    }
    // Fitted widths: the 9-character phone column is wider than the
    // 2-character (4-cell) names.
    EXPECT_GT(sheet.columnWidths.value(2), sheet.columnWidths.value(1));
}

TEST(ExportExcel, EmptyResultExportsTheHeaderOnlyWhenAsked)
{
    TempDataRoot root;
    AppContext &ctx = root.context();
    AlertRecorder alerts;
    ExportSeams seams;
    Grid grid(ctx);
    seams.answerPath = root.path() + "/empty.xlsx";

    {
        TfrmExportExcel window(ctx, &grid.view, "样本");
        window.btStartClick();  // answered No
        EXPECT_EQ(window.outcome().status, ExportOutcome::Status::Declined);
        EXPECT_EQ(alerts.messages(), QStringList({"没有可导出的数据~", "需要仅仅导出一个空的格式样本吗？"}));
        EXPECT_EQ(alerts.alerts()[1].caption, "询问");
        EXPECT_EQ(seams.asked, 0);
        EXPECT_FALSE(QFile::exists(seams.answerPath));
    }
    alerts.clear();
    alerts.answerNext(AlertAnswer::Yes);
    TfrmExportExcel window(ctx, &grid.view, "样本");
    window.btStartClick();
    EXPECT_EQ(window.outcome().status, ExportOutcome::Status::Done);
    EXPECT_EQ(alerts.messages().last(), "0条记录导出完成！");
    const Sheet sheet = readSheet(seams.answerPath);
    ASSERT_EQ(sheet.rows.size(), 1);
    // The columns as the database names them: the server folded the
    // unquoted ASCII name to lower case.
    EXPECT_EQ(sheet.texts(0), QStringList({ctx.db().isShared() ? "id" : "ID", "全称", "联系人", "电话", "邮编"}));
}

TEST(ExportExcel, AbortKeepsTheRowsWrittenSoFar)
{
    TempDataRoot root;
    AppContext &ctx = root.context();
    AlertRecorder alerts;
    ExportSeams seams;
    addReceivers(ctx, 10);
    Grid grid(ctx);
    seams.answerPath = root.path() + "/part.xlsx";
    TfrmExportExcel window(ctx, &grid.view, "部分");
    // Pressed while the export runs: the window gets its turn after row 1.
    QTimer::singleShot(0, window.abortButton(), &QPushButton::click);
    window.btStartClick();
    EXPECT_EQ(window.outcome().status, ExportOutcome::Status::Aborted);
    EXPECT_EQ(alerts.messages(), QStringList({"导出已被中止，已经导出了1个."}));
    const Sheet sheet = readSheet(seams.answerPath);
    ASSERT_EQ(sheet.rows.size(), 2);
    EXPECT_EQ(sheet.texts(1).value(1), "单位1");
}

TEST(ExportExcel, NothingToExportOrNoFileChosen)
{
    TempDataRoot root;
    AppContext &ctx = root.context();
    AlertRecorder alerts;
    ExportSeams seams;
    {
        QTableView empty;
        TfrmExportExcel window(ctx, &empty, "无");
        window.btStartClick();
        EXPECT_EQ(window.outcome().status, ExportOutcome::Status::NoTable);
        EXPECT_EQ(alerts.messages(), QStringList({"导出失败，没有可用的导出数据表！"}));
    }
    alerts.clear();
    addReceivers(ctx, 2);
    Grid grid(ctx);
    TfrmExportExcel window(ctx, &grid.view, "收件人/2024:01");
    window.btStartClick();  // the chooser answers no path
    EXPECT_EQ(window.outcome().status, ExportOutcome::Status::Cancelled);
    EXPECT_TRUE(alerts.alerts().empty());
    EXPECT_TRUE(seams.opened.isEmpty());
    // The suggestion lies in the export folder and is a valid file name.
    const QFileInfo suggested(seams.suggested);
    EXPECT_EQ(suggested.absolutePath() + "/", QDir(ctx.dataRoot().exportFolder()).absolutePath() + "/");
    EXPECT_TRUE(suggested.fileName().startsWith("收件人_2024_01_"));
    EXPECT_EQ(suggested.suffix(), "xlsx");
}

TEST(ExportExcel, UnwritableFileIsReported)
{
    TempDataRoot root;
    AppContext &ctx = root.context();
    AlertRecorder alerts;
    ExportSeams seams;
    addReceivers(ctx, 1);
    Grid grid(ctx);
    QFile blocker(root.path() + "/blocker");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    seams.answerPath = root.path() + "/blocker/x.xlsx";  // a file where a folder should be
    TfrmExportExcel window(ctx, &grid.view, "失败");
    window.btStartClick();
    EXPECT_EQ(window.outcome().status, ExportOutcome::Status::Failed);
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_TRUE(alerts.messages()[0].startsWith("数据导出Excel出错,错误提示:"));
    EXPECT_TRUE(seams.opened.isEmpty());
}

TEST(XlsxWriter, LongTextsAreCutAndWidthsCounted)
{
    EXPECT_EQ(XlsxSheetWriter::textCells("abc"), 3);
    EXPECT_EQ(XlsxSheetWriter::textCells("中文ab"), 6);
    EXPECT_EQ(XlsxSheetWriter::textCells("短\n更长的行"), 8);
    EXPECT_LE(XlsxSheetWriter::columnWidthFor(100000), 255.0);

    QTemporaryDir dir;
    XlsxSheetWriter writer;
    QString error;
    ASSERT_TRUE(writer.open(dir.filePath("long.xlsx"), "t", &error)) << error.toStdString();
    ASSERT_TRUE(writer.writeHeader({"备注"}, &error));
    ASSERT_TRUE(writer.writeRow({QString(40000, QChar(u'字'))}, &error)) << error.toStdString();
    ASSERT_TRUE(writer.close(&error)) << error.toStdString();
    const Sheet sheet = readSheet(dir.filePath("long.xlsx"));
    EXPECT_EQ(sheet.texts(1).value(0).size(), XlsxSheetWriter::kMaxCellChars);
}

TEST(XlsxWriter, WriterDroppedWithoutCloseLeavesNoFile)
{
    QTemporaryDir dir;
    {
        XlsxSheetWriter writer;
        QString error;
        ASSERT_TRUE(writer.open(dir.filePath("dropped.xlsx"), "t", &error));
        writer.writeHeader({"a"}, &error);
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("dropped.xlsx")));
}
