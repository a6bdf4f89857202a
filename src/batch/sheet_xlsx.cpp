// The .xlsx reader: the workbook is a zip of XML parts, read with QuaZip
// (through readZipPart, which caps what a part may inflate to) and
// QXmlStreamReader.
#include "batch/sheet_file.h"

#include <QHash>
#include <QSet>
#include <QXmlStreamReader>


namespace billprint {

namespace {

// Built-in number formats that show a date.
bool isDateFormatId(int id)
{
    return (id >= 14 && id <= 22) || (id >= 45 && id <= 47) || (id >= 27 && id <= 36) || (id >= 50 && id <= 58);
}

// A custom format shows a date when it has a day, month or year code
// outside quotes and brackets (and is not a plain number format).
bool isDateFormatCode(const QString &code)
{
    bool quoted = false;
    bool bracket = false;
    for (const QChar c : code) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && c == QLatin1Char('['))
            bracket = true;
        else if (!quoted && c == QLatin1Char(']'))
            bracket = false;
        else if (!quoted && !bracket && QStringLiteral("yYdD").contains(c))
            return true;
        else if (!quoted && !bracket && (c == QLatin1Char('m') || c == QLatin1Char('M')))
            return true;
    }
    return false;
}

// The column (0-based) of a cell reference like "AB12"; -1 when there
// are no letters, -2 when the letters lie beyond XFD, the last column a
// spreadsheet has (so "FXSHRXW2" never becomes a column number at all).
constexpr int kLastColumn = 16383;   // XFD
int referenceColumn(QStringView ref)
{
    int column = 0;
    int letters = 0;
    for (const QChar c : ref) {
        const char16_t u = c.toUpper().unicode();
        if (u < u'A' || u > u'Z')
            break;
        if (++letters > 3)
            return -2;
        column = column * 26 + (u - u'A' + 1);
    }
    if (!letters)
        return -1;
    return column - 1 <= kLastColumn ? column - 1 : -2;
}

// The text of a <si> or <is> element: every <t> except those of phonetic
// runs (<rPh>), which carry the reading of the text, not the text.
QString readRichText(QXmlStreamReader &xml, QLatin1String end)
{
    QString text;
    int phonetic = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("rPh"))
                ++phonetic;
            else if (xml.name() == QLatin1String("t") && phonetic == 0)
                appendCellText(&text, xml.readElementText());
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("rPh"))
                --phonetic;
            else if (xml.name() == end)
                break;
        }
    }
    return text;
}

class XlsxFile : public SheetFile
{
public:
    bool load(const QString &path, QString *error);
    bool readSheet(int index, SheetRows *rows, QString *error) override;

private:
    bool readPart(const QString &name, QByteArray *data, QString *error) const;
    bool readWorkbook(const QByteArray &workbook, const QByteArray &rels, QString *error);
    void readSharedStrings(const QByteArray &data);
    void readStyles(const QByteArray &data);
    QString cellText(QStringView type, int style, const QString &value) const;

    QString m_path;
    QStringList m_parts;  // zip entry of each sheet
    QStringList m_shared;
    QList<bool> m_dateStyles;  // per cell style: shows a date
};

// A missing part leaves `data` empty and is no error; a part too large to
// inflate is.
bool XlsxFile::readPart(const QString &name, QByteArray *data, QString *error) const
{
    if (readZipPart(m_path, name, data) != ZipPartRead::TooLarge)
        return true;
    *error = sheetTooLargeReason();
    return false;
}

bool XlsxFile::load(const QString &path, QString *error)
{
    m_path = path;
    QByteArray workbook, rels, data;
    switch (readZipPart(path, QStringLiteral("xl/workbook.xml"), &workbook)) {
    case ZipPartRead::Read:
        break;
    case ZipPartRead::TooLarge:
        *error = sheetTooLargeReason();
        return false;
    case ZipPartRead::Missing:
        *error = QStringLiteral("压缩包里没有Excel工作簿");
        return false;
    case ZipPartRead::Damaged:
        *error = QStringLiteral("压缩包已损坏，无法打开");
        return false;
    }
    if (!readPart(QStringLiteral("xl/_rels/workbook.xml.rels"), &rels, error)
        || !readPart(QStringLiteral("xl/sharedStrings.xml"), &data, error))
        return false;
    readSharedStrings(data);
    if (!readPart(QStringLiteral("xl/styles.xml"), &data, error))
        return false;
    readStyles(data);
    return readWorkbook(workbook, rels, error);
}

bool XlsxFile::readWorkbook(const QByteArray &workbook, const QByteArray &rels, QString *error)
{
    QHash<QString, QString> targets;
    QXmlStreamReader relXml(rels);
    while (!relXml.atEnd()) {
        relXml.readNext();
        if (relXml.isStartElement() && relXml.name() == QLatin1String("Relationship")) {
            const auto a = relXml.attributes();
            QString target = a.value(QLatin1String("Target")).toString();
            target = target.startsWith(QLatin1Char('/')) ? target.mid(1) : QStringLiteral("xl/") + target;
            targets.insert(a.value(QLatin1String("Id")).toString(), target);
        }
    }
    QXmlStreamReader xml(workbook);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto a = xml.attributes();
        if (xml.name() == QLatin1String("workbookView") && a.hasAttribute(QLatin1String("activeTab"))) {
            m_active = a.value(QLatin1String("activeTab")).toInt();
        } else if (xml.name() == QLatin1String("sheet")) {
            QString rid;
            for (const QXmlStreamAttribute &attr : a) {
                if (attr.name() == QLatin1String("id"))
                    rid = attr.value().toString();
            }
            const QString target = targets.value(rid);
            if (target.isEmpty())
                continue;  // a chart sheet or a broken link: nothing to import
            m_names << a.value(QLatin1String("name")).toString();
            m_parts << target;
        }
    }
    if (xml.hasError()) {
        *error = QStringLiteral("工作簿已损坏：") + xml.errorString();
        return false;
    }
    if (m_names.isEmpty()) {
        *error = QStringLiteral("工作簿里没有工作表");
        return false;
    }
    if (m_active < 0 || m_active >= m_names.size())
        m_active = 0;
    return true;
}

void XlsxFile::readSharedStrings(const QByteArray &data)
{
    QXmlStreamReader xml(data);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != QLatin1String("si"))
            continue;
        // No more strings than the cells a sheet keeps: a part of empty
        // <si/> elements would otherwise make millions of them. A cell
        // referring past the last one kept reads as empty.
        if (m_shared.size() >= qsizetype(kSheetMaxRows) * kSheetMaxColumns)
            break;
        m_shared << readRichText(xml, QLatin1String("si"));
    }
}

void XlsxFile::readStyles(const QByteArray &data)
{
    QSet<int> dateFormats;
    QXmlStreamReader xml(data);
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs"))
            inCellXfs = false;
        if (!xml.isStartElement())
            continue;
        const auto a = xml.attributes();
        if (xml.name() == QLatin1String("numFmt")) {
            if (isDateFormatCode(a.value(QLatin1String("formatCode")).toString()))
                dateFormats.insert(a.value(QLatin1String("numFmtId")).toInt());
        } else if (xml.name() == QLatin1String("cellXfs")) {
            inCellXfs = true;
        } else if (inCellXfs && xml.name() == QLatin1String("xf")) {
            const int id = a.value(QLatin1String("numFmtId")).toInt();
            m_dateStyles << (isDateFormatId(id) || dateFormats.contains(id));
        }
    }
}

QString XlsxFile::cellText(QStringView type, int style, const QString &value) const
{
    if (type == QLatin1String("s"))
        return m_shared.value(value.toInt());
    if (type == QLatin1String("b"))
        return value == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (type.isEmpty() || type == QLatin1String("n")) {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok)
            return value;
        return m_dateStyles.value(style) ? sheetSerialDate(number) : sheetNumberText(number);
    }
    return value;  // str (formula text), e (error), d (ISO date)
}

// The value of the cell element the reader stands on: its <v> or, for an
// inline string, the text of its <is>.
QString readCellValue(QXmlStreamReader &xml, bool *inlineString)
{
    QString value;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("v")) {
            value = xml.readElementText().left(kSheetMaxCellText);
        } else if (xml.isStartElement() && xml.name() == QLatin1String("is")) {
            value = readRichText(xml, QLatin1String("is"));
            *inlineString = true;
        } else if (xml.isEndElement() && xml.name() == QLatin1String("c")) {
            break;
        }
    }
    return value;
}

bool XlsxFile::readSheet(int index, SheetRows *rows, QString *error)
{
    rows->clear();
    m_notes = {};
    if (index < 0 || index >= m_parts.size()) {
        *error = QStringLiteral("没有这个工作表");
        return false;
    }
    QByteArray data;
    switch (readZipPart(m_path, m_parts[index], &data)) {
    case ZipPartRead::Read:
        break;
    case ZipPartRead::TooLarge:
        *error = sheetTooLargeReason();
        return false;
    default:
        *error = QStringLiteral("工作表[") + m_names[index] + QStringLiteral("]无法读取，文件已损坏");
        return false;
    }
    SheetGrid grid;
    QXmlStreamReader xml(data);
    qint64 rowIndex = -1;
    qint64 column = -1;
    // Rows come in order: once a row beyond the limit holds a value, the
    // rest of the sheet can only be skipped too.
    while (!xml.atEnd() && !(grid.rowsFull(rowIndex) && grid.cutAtLimits())) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("row")) {
            const QStringView r = xml.attributes().value(QLatin1String("r"));
            rowIndex = r.isEmpty() ? rowIndex + 1 : r.toLongLong() - 1;
            column = -1;
            if (rowIndex < 0 || rowIndex > 1048575) {
                *error = QStringLiteral("工作表[") + m_names[index] + QStringLiteral("]的行号无效，文件已损坏");
                return false;
            }
        } else if (xml.name() == QLatin1String("c") && rowIndex >= 0) {
            const auto a = xml.attributes();
            const QStringView ref = a.value(QLatin1String("r"));
            const int at = ref.isEmpty() ? -1 : referenceColumn(ref);
            column = at >= 0 ? at : column + 1;
            const QString type = a.value(QLatin1String("t")).toString();
            const int style = a.value(QLatin1String("s")).toInt();
            bool inlineString = false;
            const QString value = readCellValue(xml, &inlineString);
            if (at == -2)
                continue;  // a reference beyond the last column: no cell of any sheet
            grid.put(rowIndex, column, inlineString ? value : cellText(type, style, value));
        }
    }
    if (xml.hasError()) {
        *error = QStringLiteral("工作表[") + m_names[index] + QStringLiteral("]已损坏：") + xml.errorString();
        return false;
    }
    return keepSheet(grid, rows);
}

} // namespace

std::unique_ptr<SheetFile> openXlsxFile(const QString &path, QString *error)
{
    return loadSheetReader<XlsxFile>(path, error);
}

} // namespace billprint
