#include "app/xlsx_writer.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamWriter>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <algorithm>

namespace billprint {

namespace {

constexpr double kMaxColumnWidth = 255.0;  // Excel's limit

// Cell styles of styles.xml below.
constexpr int kCellStyle = 1;    // text, 9 points
constexpr int kHeaderStyle = 2;  // text, 9 points, bold

const char kMainNs[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char kRelNs[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

const QByteArray kContentTypes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/xl/workbook.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
    "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
    "<Override PartName=\"/xl/styles.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
    "<Override PartName=\"/docProps/core.xml\" "
    "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
    "</Types>";

const QByteArray kPackageRels =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"xl/workbook.xml\"/>"
    "<Relationship Id=\"rId2\" "
    "Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties\" "
    "Target=\"docProps/core.xml\"/>"
    "</Relationships>";

const QByteArray kWorkbook =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
    "<sheets><sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets>"
    "</workbook>";

const QByteArray kWorkbookRels =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
    "Target=\"worksheets/sheet1.xml\"/>"
    "<Relationship Id=\"rId2\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
    "Target=\"styles.xml\"/>"
    "</Relationships>";

// Number format 49 is the built-in "@" (text).
const QByteArray kStyles =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<fonts count=\"3\">"
    "<font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font>"
    "<font><sz val=\"9\"/><name val=\"Calibri\"/><family val=\"2\"/></font>"
    "<font><b/><sz val=\"9\"/><name val=\"Calibri\"/><family val=\"2\"/></font>"
    "</fonts>"
    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
    "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
    "<cellXfs count=\"3\">"
    "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
    "<xf numFmtId=\"49\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\" applyFont=\"1\"/>"
    "<xf numFmtId=\"49\" fontId=\"2\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\" applyFont=\"1\"/>"
    "</cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
    "</styleSheet>";

// XML 1.0 cannot carry most control characters; the spreadsheet programs
// read them back from the _xHHHH_ form.
QString cellText(const QString &text)
{
    QString cut = text.size() <= XlsxSheetWriter::kMaxCellChars ? text : text.left(XlsxSheetWriter::kMaxCellChars);
    if (cut.size() < text.size() && !cut.isEmpty() && cut.back().isHighSurrogate())
        cut.chop(1);
    QString clean;
    clean.reserve(cut.size());
    for (const QChar ch : cut) {
        const ushort code = ch.unicode();
        if ((code < 0x20 && code != '\t' && code != '\n' && code != '\r') || code == 0xFFFE || code == 0xFFFF)
            clean += QStringLiteral("_x") + QStringLiteral("%1").arg(code, 4, 16, QLatin1Char('0')).toUpper()
                     + QLatin1Char('_');
        else
            clean += ch;
    }
    return clean;
}

QByteArray corePropertiesXml(const QString &title)
{
    QByteArray xml;
    QXmlStreamWriter w(&xml);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    w.writeStartElement(QStringLiteral("cp:coreProperties"));
    w.writeNamespace(QStringLiteral("http://schemas.openxmlformats.org/package/2006/metadata/core-properties"),
                     QStringLiteral("cp"));
    w.writeNamespace(QStringLiteral("http://purl.org/dc/elements/1.1/"), QStringLiteral("dc"));
    w.writeNamespace(QStringLiteral("http://purl.org/dc/terms/"), QStringLiteral("dcterms"));
    w.writeNamespace(QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"), QStringLiteral("xsi"));
    w.writeTextElement(QStringLiteral("dc:title"), cellText(title));
    w.writeStartElement(QStringLiteral("dcterms:created"));
    w.writeAttribute(QStringLiteral("xsi:type"), QStringLiteral("dcterms:W3CDTF"));
    w.writeCharacters(QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();
    return xml;
}

bool addEntry(QuaZip &zip, const QString &name, const QByteArray &data, QString *error)
{
    QuaZipFile file(&zip);
    QuaZipNewInfo info(name);
    if (!file.open(QIODevice::WriteOnly, info) || file.write(data) != data.size()) {
        if (error)
            *error = QStringLiteral("写入工作簿失败（%1，错误码 %2）").arg(name).arg(zip.getZipError());
        return false;
    }
    file.close();
    if (file.getZipError() != 0) {
        if (error)
            *error = QStringLiteral("写入工作簿失败（%1，错误码 %2）").arg(name).arg(file.getZipError());
        return false;
    }
    return true;
}

} // namespace

QString spreadsheetColumnName(int column)
{
    QString name;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        name.prepend(QChar(u'A' + (n - 1) % 26));
    return name;
}

XlsxSheetWriter::XlsxSheetWriter() = default;
XlsxSheetWriter::~XlsxSheetWriter() = default;

bool XlsxSheetWriter::open(const QString &path, const QString &title, QString *error)
{
    m_open = false;
    m_path = path;
    m_title = title;
    m_nextRow = 0;
    m_dataRows = 0;
    m_widestCells.clear();
    m_rowsXml.clear();

    // Find out now, before any row is written, whether the file can be
    // written there at all.
    const QFileInfo info(path);
    if (path.isEmpty() || info.isDir() || !QDir().mkpath(info.absolutePath())) {
        if (error)
            *error = QStringLiteral("无法创建文件夹：") + info.absolutePath();
        return false;
    }
    QSaveFile probe(path);
    if (!probe.open(QIODevice::WriteOnly)) {
        if (error)
            *error = probe.errorString() + QStringLiteral("：") + path;
        return false;
    }
    probe.cancelWriting();

    m_rows = std::make_unique<QXmlStreamWriter>(&m_rowsXml);
    m_open = true;
    return true;
}

bool XlsxSheetWriter::writeHeader(const QStringList &names, QString *error)
{
    return writeCells(names, kHeaderStyle, error);
}

bool XlsxSheetWriter::writeRow(const QStringList &cells, QString *error)
{
    if (!writeCells(cells, kCellStyle, error))
        return false;
    ++m_dataRows;
    return true;
}

bool XlsxSheetWriter::writeCells(const QStringList &cells, int style, QString *error)
{
    if (!m_open) {
        if (error)
            *error = QStringLiteral("工作簿没有打开");
        return false;
    }
    if (m_nextRow >= kMaxRows || cells.size() > kMaxColumns) {
        if (error)
            *error = QStringLiteral("数据超出了工作表的行数或列数上限");
        return false;
    }
    const QString rowNumber = QString::number(m_nextRow + 1);
    QXmlStreamWriter &w = *m_rows;
    w.writeStartElement(QStringLiteral("row"));
    w.writeAttribute(QStringLiteral("r"), rowNumber);
    // The row's own format, for what the user types into it later.
    w.writeAttribute(QStringLiteral("s"), QString::number(style));
    w.writeAttribute(QStringLiteral("customFormat"), QStringLiteral("1"));
    if (m_widestCells.size() < cells.size())
        m_widestCells.resize(cells.size());
    for (int col = 0; col < cells.size(); ++col) {
        const QString &text = cells.at(col);
        w.writeStartElement(QStringLiteral("c"));
        w.writeAttribute(QStringLiteral("r"), spreadsheetColumnName(col) + rowNumber);
        w.writeAttribute(QStringLiteral("s"), QString::number(style));
        // An empty cell keeps the text format, so that what the user types
        // there later is text as well.
        if (!text.isEmpty()) {
            w.writeAttribute(QStringLiteral("t"), QStringLiteral("inlineStr"));
            w.writeStartElement(QStringLiteral("is"));
            w.writeStartElement(QStringLiteral("t"));
            w.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
            w.writeCharacters(cellText(text));
            w.writeEndElement();
            w.writeEndElement();
        }
        w.writeEndElement();
        m_widestCells[col] = std::max(m_widestCells[col], textCells(text));
    }
    w.writeEndElement();
    ++m_nextRow;
    return true;
}

QByteArray XlsxSheetWriter::sheetXml() const
{
    QByteArray xml;
    QXmlStreamWriter w(&xml);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    w.writeStartElement(QStringLiteral("worksheet"));
    w.writeDefaultNamespace(QString::fromLatin1(kMainNs));
    w.writeNamespace(QString::fromLatin1(kRelNs), QStringLiteral("r"));
    w.writeEmptyElement(QStringLiteral("sheetFormatPr"));
    w.writeAttribute(QStringLiteral("defaultRowHeight"), QStringLiteral("15"));
    if (!m_widestCells.isEmpty()) {
        w.writeStartElement(QStringLiteral("cols"));
        for (int col = 0; col < m_widestCells.size(); ++col) {
            w.writeEmptyElement(QStringLiteral("col"));
            w.writeAttribute(QStringLiteral("min"), QString::number(col + 1));
            w.writeAttribute(QStringLiteral("max"), QString::number(col + 1));
            w.writeAttribute(QStringLiteral("width"), QString::number(columnWidthFor(m_widestCells.at(col)), 'f', 2));
            w.writeAttribute(QStringLiteral("customWidth"), QStringLiteral("1"));
        }
        w.writeEndElement();
    }
    w.writeStartElement(QStringLiteral("sheetData"));
    w.writeCharacters(QString());  // closes the start tag before the raw rows
    w.device()->write(m_rowsXml);
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();
    return xml;
}

bool XlsxSheetWriter::close(QString *error)
{
    if (!m_open) {
        if (error)
            *error = QStringLiteral("工作簿没有打开");
        return false;
    }
    m_open = false;
    m_rows.reset();  // completes the row elements

    // The package is put together in memory and reaches the disk in one
    // atomic write, so a failure never leaves half a workbook behind.
    QByteArray package;
    {
        QBuffer buffer(&package);
        QuaZip zip(&buffer);
        if (!zip.open(QuaZip::mdCreate)) {
            if (error)
                *error = QStringLiteral("无法创建工作簿（错误码 %1）").arg(zip.getZipError());
            return false;
        }
        const bool written = addEntry(zip, QStringLiteral("[Content_Types].xml"), kContentTypes, error)
                             && addEntry(zip, QStringLiteral("_rels/.rels"), kPackageRels, error)
                             && addEntry(zip, QStringLiteral("docProps/core.xml"), corePropertiesXml(m_title), error)
                             && addEntry(zip, QStringLiteral("xl/workbook.xml"), kWorkbook, error)
                             && addEntry(zip, QStringLiteral("xl/_rels/workbook.xml.rels"), kWorkbookRels, error)
                             && addEntry(zip, QStringLiteral("xl/styles.xml"), kStyles, error)
                             && addEntry(zip, QStringLiteral("xl/worksheets/sheet1.xml"), sheetXml(), error);
        zip.close();
        if (!written)
            return false;
        if (zip.getZipError() != 0) {
            if (error)
                *error = QStringLiteral("写入工作簿失败（错误码 %1）").arg(zip.getZipError());
            return false;
        }
    }
    m_rowsXml.clear();

    QSaveFile out(m_path);
    if (!out.open(QIODevice::WriteOnly) || out.write(package) != package.size() || !out.commit()) {
        if (error)
            *error = out.errorString() + QStringLiteral("：") + m_path;
        return false;
    }
    return true;
}

int XlsxSheetWriter::textCells(const QString &text)
{
    int widest = 0;
    int current = 0;
    for (const QChar ch : text) {
        if (ch == QLatin1Char('\n')) {
            widest = std::max(widest, current);
            current = 0;
        } else if (ch.isLowSurrogate() || ch == QLatin1Char('\r')) {
            // counted with its high half / not shown
        } else {
            current += ch.unicode() < 0x80 ? 1 : 2;
        }
    }
    return std::max(widest, current);
}

double XlsxSheetWriter::columnWidthFor(int cells)
{
    // A 9-point font is narrower than the sheet's default 11 points; a
    // little margin keeps the text clear of the grid lines.
    const double width = cells * 0.9 + 2.0;
    return std::min(kMaxColumnWidth, std::max(4.0, width));
}

} // namespace billprint
