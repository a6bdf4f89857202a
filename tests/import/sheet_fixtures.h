// Spreadsheet files the import tests write themselves: xlsx with numbers,
// dates, shared and inline strings (the program's own writer stores text
// only), ods with repeated cells and rows, and CSV in several encodings.
//
// Cells are written as text with a marker in front: "#" a number, "@" a
// date given as its day number, "~" an inline string; an empty text is no
// cell at all.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTextCodec>
#include <QXmlStreamWriter>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

namespace billprint::test {

struct TestSheet
{
    QString name;
    QList<QStringList> rows;  // an empty row is left out of the file
};

inline bool zipFiles(const QString &path, const QList<QPair<QString, QByteArray>> &entries)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const auto &[name, data] : entries) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name)))
            return false;
        file.write(data);
        file.close();
    }
    zip.close();
    return zip.getZipError() == 0;
}

inline QString columnLetters(int column)
{
    QString s;
    for (++column; column > 0; column = (column - 1) / 26)
        s.prepend(QChar('A' + (column - 1) % 26));
    return s;
}

inline bool writeXlsx(const QString &path, const QList<TestSheet> &sheets, int activeTab = 0)
{
    QStringList shared;
    QList<QPair<QString, QByteArray>> entries;
    QByteArray workbook = "<?xml version=\"1.0\"?><workbook xmlns=\"http://schemas.openxmlformats.org/"
                          "spreadsheetml/2006/main\" xmlns:r=\"http://schemas.openxmlformats.org/"
                          "officeDocument/2006/relationships\"><bookViews><workbookView activeTab=\""
                          + QByteArray::number(activeTab) + "\"/></bookViews><sheets>";
    QByteArray rels = "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/"
                      "package/2006/relationships\">";
    for (int s = 0; s < sheets.size(); ++s) {
        const QByteArray n = QByteArray::number(s + 1);
        workbook += "<sheet name=\"" + sheets[s].name.toUtf8() + "\" sheetId=\"" + n + "\" r:id=\"rId" + n
                    + "\"/>";
        rels += "<Relationship Id=\"rId" + n + "\" Target=\"worksheets/sheet" + n + ".xml\"/>";
        QByteArray xml;
        QXmlStreamWriter w(&xml);
        w.writeStartElement(QStringLiteral("worksheet"));
        w.writeDefaultNamespace(QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main"));
        w.writeStartElement(QStringLiteral("sheetData"));
        for (int r = 0; r < sheets[s].rows.size(); ++r) {
            const QStringList &row = sheets[s].rows[r];
            if (row.isEmpty())
                continue;
            w.writeStartElement(QStringLiteral("row"));
            w.writeAttribute(QStringLiteral("r"), QString::number(r + 1));
            for (int c = 0; c < row.size(); ++c) {
                const QString &cell = row[c];
                if (cell.isEmpty())
                    continue;
                w.writeStartElement(QStringLiteral("c"));
                w.writeAttribute(QStringLiteral("r"), columnLetters(c) + QString::number(r + 1));
                if (cell.startsWith('#') || cell.startsWith('@')) {
                    if (cell.startsWith('@'))
                        w.writeAttribute(QStringLiteral("s"), QStringLiteral("1"));
                    w.writeTextElement(QStringLiteral("v"), cell.mid(1));
                } else if (cell.startsWith('~')) {
                    w.writeAttribute(QStringLiteral("t"), QStringLiteral("inlineStr"));
                    w.writeStartElement(QStringLiteral("is"));
                    w.writeTextElement(QStringLiteral("t"), cell.mid(1));
                    w.writeEndElement();
                } else {
                    w.writeAttribute(QStringLiteral("t"), QStringLiteral("s"));
                    w.writeTextElement(QStringLiteral("v"), QString::number(shared.size()));
                    shared << cell;
                }
                w.writeEndElement();
            }
            w.writeEndElement();
        }
        w.writeEndElement();
        w.writeEndElement();
        entries << qMakePair(QStringLiteral("xl/worksheets/sheet%1.xml").arg(s + 1), xml);
    }
    workbook += "</sheets></workbook>";
    rels += "</Relationships>";
    QByteArray sst;
    QXmlStreamWriter w(&sst);
    w.writeStartElement(QStringLiteral("sst"));
    w.writeDefaultNamespace(QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main"));
    for (const QString &text : shared) {
        // Rich text runs with a phonetic reading that is no part of the text.
        w.writeStartElement(QStringLiteral("si"));
        w.writeStartElement(QStringLiteral("r"));
        w.writeTextElement(QStringLiteral("t"), text);
        w.writeEndElement();
        w.writeStartElement(QStringLiteral("rPh"));
        w.writeTextElement(QStringLiteral("t"), QStringLiteral("ヨミ"));
        w.writeEndElement();
        w.writeEndElement();
    }
    w.writeEndElement();
    const QByteArray styles = "<?xml version=\"1.0\"?><styleSheet xmlns=\"http://schemas.openxmlformats.org/"
                              "spreadsheetml/2006/main\"><cellXfs count=\"2\"><xf numFmtId=\"0\"/>"
                              "<xf numFmtId=\"14\" applyNumberFormat=\"1\"/></cellXfs></styleSheet>";
    entries << qMakePair(QStringLiteral("xl/workbook.xml"), workbook)
            << qMakePair(QStringLiteral("xl/_rels/workbook.xml.rels"), rels)
            << qMakePair(QStringLiteral("xl/sharedStrings.xml"), sst)
            << qMakePair(QStringLiteral("xl/styles.xml"), styles);
    return zipFiles(path, entries);
}

// An ods whose equal neighbour cells and rows are written once with a
// repeat count, and whose sheets end in the long empty runs LibreOffice
// writes.
inline bool writeOds(const QString &path, const QList<TestSheet> &sheets, const QString &activeTable = QString())
{
    QByteArray xml;
    QXmlStreamWriter w(&xml);
    const QString office = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
    const QString table = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
    const QString text = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
    w.writeNamespace(office, QStringLiteral("office"));
    w.writeNamespace(table, QStringLiteral("table"));
    w.writeNamespace(text, QStringLiteral("text"));
    w.writeStartElement(office, QStringLiteral("document-content"));
    w.writeStartElement(office, QStringLiteral("body"));
    w.writeStartElement(office, QStringLiteral("spreadsheet"));
    for (const TestSheet &sheet : sheets) {
        w.writeStartElement(table, QStringLiteral("table"));
        w.writeAttribute(table, QStringLiteral("name"), sheet.name);
        w.writeEmptyElement(table, QStringLiteral("table-column"));
        QList<QStringList> rows = sheet.rows;
        rows << QStringList();  // the empty rest of the sheet
        for (int r = 0; r < rows.size();) {
            int repeat = 1;
            while (r + repeat < rows.size() - 1 && rows[r + repeat] == rows[r])
                ++repeat;
            w.writeStartElement(table, QStringLiteral("table-row"));
            const int rowRepeat = r == rows.size() - 1 ? 1048000 : repeat;
            if (rowRepeat > 1)
                w.writeAttribute(table, QStringLiteral("number-rows-repeated"), QString::number(rowRepeat));
            QStringList cells = rows[r];
            cells << QString();
            for (int c = 0; c < cells.size();) {
                int same = 1;
                while (c + same < cells.size() - 1 && cells[c + same] == cells[c])
                    ++same;
                const QString &cell = cells[c];
                w.writeStartElement(table, QStringLiteral("table-cell"));
                const int cellRepeat = c == cells.size() - 1 ? 1000 : same;
                if (cellRepeat > 1)
                    w.writeAttribute(table, QStringLiteral("number-columns-repeated"), QString::number(cellRepeat));
                if (cell.startsWith('#')) {
                    w.writeAttribute(office, QStringLiteral("value-type"), QStringLiteral("float"));
                    w.writeAttribute(office, QStringLiteral("value"), cell.mid(1));
                    w.writeTextElement(text, QStringLiteral("p"), QStringLiteral("1.38E+10"));
                } else if (cell.startsWith('@')) {
                    w.writeAttribute(office, QStringLiteral("value-type"), QStringLiteral("date"));
                    w.writeAttribute(office, QStringLiteral("date-value"), cell.mid(1));
                    w.writeTextElement(text, QStringLiteral("p"), QStringLiteral("03/05/26"));
                } else if (!cell.isEmpty()) {
                    w.writeAttribute(office, QStringLiteral("value-type"), QStringLiteral("string"));
                    const QStringList lines = cell.split('\n');
                    for (const QString &line : lines)
                        w.writeTextElement(text, QStringLiteral("p"), line);
                }
                w.writeEndElement();
                c += c == cells.size() - 1 ? 1 : same;
            }
            w.writeEndElement();
            r += r == rows.size() - 1 ? 1 : repeat;
        }
        w.writeEndElement();
    }
    w.writeEndDocument();
    QList<QPair<QString, QByteArray>> entries{
        {QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"},
        {QStringLiteral("content.xml"), xml}};
    if (!activeTable.isEmpty())
        entries << qMakePair(QStringLiteral("settings.xml"),
                             "<office:document-settings xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                             "xmlns:config=\"urn:oasis:names:tc:opendocument:xmlns:config:1.0\"><office:settings>"
                             "<config:config-item-set config:name=\"ooo:view-settings\"><config:config-item "
                             "config:name=\"ActiveTable\" config:type=\"string\">"
                                 + activeTable.toUtf8()
                                 + "</config:config-item></config:config-item-set></office:settings>"
                                   "</office:document-settings>");
    return zipFiles(path, entries);
}

// An xlsx of one sheet "Sheet1" whose <sheetData> is `rows` as given:
// for files no spreadsheet program would write.
// An xlsx of one sheet whose <sheetData> is `rows` as given, with
// `sharedStrings` (a whole part) when not empty.
inline bool writeRawXlsx(const QString &path, const QByteArray &rows, const QByteArray &sharedStrings = {})
{
    QList<QPair<QString, QByteArray>> shared;
    if (!sharedStrings.isEmpty())
        shared << qMakePair(QStringLiteral("xl/sharedStrings.xml"), sharedStrings);
    return zipFiles(path, shared +
                    QList<QPair<QString, QByteArray>>{{QStringLiteral("xl/workbook.xml"),
                      "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
                      "<sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
                     {QStringLiteral("xl/_rels/workbook.xml.rels"),
                      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                      "<Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/></Relationships>"},
                     {QStringLiteral("xl/worksheets/sheet1.xml"),
                      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
                          + rows + "</sheetData></worksheet>"}});
}

// An inline-string cell of an xlsx at reference `ref`.
inline QByteArray xlsxCell(const QByteArray &ref, const QString &text)
{
    return "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" + text.toUtf8() + "</t></is></c>";
}

// An ods of one table "Sheet1" whose rows are `rows` as given, with the
// prefixes table:, office: and text:.
inline bool writeRawOds(const QString &path, const QByteArray &rows)
{
    return zipFiles(path, {{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"},
                           {QStringLiteral("content.xml"),
                            "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                            "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
                            "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body>"
                            "<office:spreadsheet><table:table table:name=\"Sheet1\">"
                                + rows
                                + "</table:table></office:spreadsheet></office:body></office:document-content>"}});
}

// A text cell of an ods; `paragraph` is markup inside <text:p>.
inline QByteArray odsCell(const QByteArray &paragraph, qint64 repeat = 1)
{
    QByteArray cell = "<table:table-cell office:value-type=\"string\"";
    if (repeat > 1)
        cell += " table:number-columns-repeated=\"" + QByteArray::number(repeat) + "\"";
    return cell + "><text:p>" + paragraph + "</text:p></table:table-cell>";
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The text as a spreadsheet program saves it: "utf8", "utf8bom", "gbk" or
// "utf16" (little-endian with byte order mark).
inline QByteArray encodeText(const QString &text, const QString &encoding)
{
    if (encoding == QLatin1String("utf8bom"))
        return "\xEF\xBB\xBF" + text.toUtf8();
    if (encoding == QLatin1String("gbk"))
        return QTextCodec::codecForName("GBK")->fromUnicode(text);
    if (encoding == QLatin1String("utf16"))
        return QByteArray("\xFF\xFE", 2)
               + QByteArray(reinterpret_cast<const char *>(text.utf16()), int(text.size()) * 2);
    return text.toUtf8();
}

inline QString fixturePath(const QString &name)
{
    return QStringLiteral(BILLPRINT_TEST_DIR "/fixtures/") + name;
}

} // namespace billprint::test
