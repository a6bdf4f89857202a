// The .xlsx reader: the workbook is a zip of XML parts, read with QuaZip
// and QXmlStreamReader.
#include "batch/sheet_file.h"

#include <QHash>
#include <QSet>
#include <QXmlStreamReader>

#include <quazip.h>
#include <quazipfile.h>

namespace billprint {

namespace {

bool readEntry(QuaZip &zip, const QString &name, QByteArray *data)
{
    if (!zip.setCurrentFile(name, QuaZip::csInsensitive))
        return false;
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *data = file.readAll();
    file.close();
    return file.getZipError() == UNZ_OK;
}

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

// The column (0-based) of a cell reference like "AB12"; -1 when absent.
int referenceColumn(QStringView ref)
{
    int column = 0;
    int letters = 0;
    for (const QChar c : ref) {
        const char16_t u = c.toUpper().unicode();
        if (u < u'A' || u > u'Z')
            break;
        column = column * 26 + (u - u'A' + 1);
        ++letters;
    }
    return letters ? column - 1 : -1;
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
                text += xml.readElementText();
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
    bool readWorkbook(const QByteArray &workbook, const QByteArray &rels, QString *error);
    void readSharedStrings(const QByteArray &data);
    void readStyles(const QByteArray &data);
    QString cellText(QStringView type, int style, const QString &value) const;

    QString m_path;
    QStringList m_parts;  // zip entry of each sheet
    QStringList m_shared;
    QList<bool> m_dateStyles;  // per cell style: shows a date
};

bool XlsxFile::load(const QString &path, QString *error)
{
    m_path = path;
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip)) {
        *error = QStringLiteral("压缩包已损坏，无法打开");
        return false;
    }
    QByteArray workbook, rels, data;
    if (!readEntry(zip, QStringLiteral("xl/workbook.xml"), &workbook)) {
        *error = QStringLiteral("压缩包里没有Excel工作簿");
        return false;
    }
    readEntry(zip, QStringLiteral("xl/_rels/workbook.xml.rels"), &rels);
    if (readEntry(zip, QStringLiteral("xl/sharedStrings.xml"), &data))
        readSharedStrings(data);
    if (readEntry(zip, QStringLiteral("xl/styles.xml"), &data))
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
        if (xml.isStartElement() && xml.name() == QLatin1String("si"))
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

bool XlsxFile::readSheet(int index, SheetRows *rows, QString *error)
{
    rows->clear();
    if (index < 0 || index >= m_parts.size()) {
        *error = QStringLiteral("没有这个工作表");
        return false;
    }
    QuaZip zip(m_path);
    QByteArray data;
    if (!zip.open(QuaZip::mdUnzip) || !readEntry(zip, m_parts[index], &data)) {
        *error = QStringLiteral("工作表[") + m_names[index] + QStringLiteral("]无法读取，文件已损坏");
        return false;
    }
    QXmlStreamReader xml(data);
    int rowIndex = -1;
    int column = -1;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("row")) {
            const QStringView r = xml.attributes().value(QLatin1String("r"));
            rowIndex = r.isEmpty() ? rowIndex + 1 : r.toInt() - 1;
            column = -1;
            if (rowIndex < 0 || rowIndex > 1048575) {
                *error = QStringLiteral("工作表[") + m_names[index] + QStringLiteral("]的行号无效，文件已损坏");
                return false;
            }
            while (rows->size() <= rowIndex)
                rows->append(QStringList());
        } else if (xml.name() == QLatin1String("c") && rowIndex >= 0) {
            const auto a = xml.attributes();
            const QStringView ref = a.value(QLatin1String("r"));
            const int at = ref.isEmpty() ? -1 : referenceColumn(ref);
            column = at >= 0 ? at : column + 1;
            const QStringView type = a.value(QLatin1String("t"));
            const int style = a.value(QLatin1String("s")).toInt();
            QString value;
            bool inline_ = false;
            while (!xml.atEnd()) {
                xml.readNext();
                if (xml.isStartElement() && xml.name() == QLatin1String("v")) {
                    value = xml.readElementText();
                } else if (xml.isStartElement() && xml.name() == QLatin1String("is")) {
                    value = readRichText(xml, QLatin1String("is"));
                    inline_ = true;
                } else if (xml.isEndElement() && xml.name() == QLatin1String("c")) {
                    break;
                }
            }
            const QString text = inline_ ? value : cellText(type, style, value);
            if (!text.isEmpty())
                putSheetCell(&(*rows)[rowIndex], column, text);
        }
    }
    if (xml.hasError()) {
        *error = QStringLiteral("工作表[") + m_names[index] + QStringLiteral("]已损坏：") + xml.errorString();
        return false;
    }
    trimSheetRows(rows);
    return true;
}

} // namespace

std::unique_ptr<SheetFile> openXlsxFile(const QString &path, QString *error)
{
    auto file = std::make_unique<XlsxFile>();
    if (!file->load(path, error))
        return nullptr;
    return file;
}

} // namespace billprint
