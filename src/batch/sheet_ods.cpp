// The OpenDocument spreadsheet reader (LibreOffice's own format): the
// sheets are the tables of content.xml. Repeated rows and cells are
// expanded, except the empty runs that only fill a table to its end.
#include "batch/sheet_file.h"

#include <QXmlStreamReader>

#include <quazip.h>
#include <quazipfile.h>

namespace billprint {

namespace {

const QString kTableNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kOfficeNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kTextNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");

bool readEntry(const QString &path, const QString &name, QByteArray *data)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip) || !zip.setCurrentFile(name))
        return false;
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *data = file.readAll();
    file.close();
    return file.getZipError() == UNZ_OK;
}

int repeatCount(const QXmlStreamAttributes &a, const QString &name)
{
    const int n = a.value(kTableNs, name).toInt();
    return n > 0 ? n : 1;
}

// The text of one paragraph (<text:p>) with its spaces, tabs and breaks.
QString readParagraph(QXmlStreamReader &xml)
{
    QString text;
    int depth = 1;
    while (!xml.atEnd() && depth > 0) {
        xml.readNext();
        if (xml.isCharacters()) {
            text += xml.text();
        } else if (xml.isStartElement()) {
            ++depth;
            if (xml.namespaceUri() == kTextNs && xml.name() == QLatin1String("s")) {
                const int n = xml.attributes().value(kTextNs, QStringLiteral("c")).toInt();
                text += QString(n > 0 ? n : 1, QLatin1Char(' '));
            } else if (xml.name() == QLatin1String("tab")) {
                text += QLatin1Char('\t');
            } else if (xml.name() == QLatin1String("line-break")) {
                text += QLatin1Char('\n');
            }
        } else if (xml.isEndElement()) {
            --depth;
        }
    }
    return text;
}

// The text of a cell: numbers from their value (all digits), dates as
// yyyy-mm-dd, everything else as its paragraphs show it.
QString readCell(QXmlStreamReader &xml)
{
    const auto a = xml.attributes();
    const QStringView type = a.value(kOfficeNs, QStringLiteral("value-type"));
    QStringList paragraphs;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.namespaceUri() == kTextNs && xml.name() == QLatin1String("p"))
            paragraphs << readParagraph(xml);
        else if (xml.isStartElement())
            xml.skipCurrentElement();
        else if (xml.isEndElement())
            break;
    }
    if (type == QLatin1String("float")) {
        bool ok = false;
        const double v = a.value(kOfficeNs, QStringLiteral("value")).toDouble(&ok);
        if (ok)
            return sheetNumberText(v);
    } else if (type == QLatin1String("date")) {
        const QString date = a.value(kOfficeNs, QStringLiteral("date-value")).toString();
        if (!date.isEmpty())
            return date.left(10);
    }
    return paragraphs.join(QLatin1Char('\n'));
}

// The sheet shown when the file was saved: settings.xml keeps its name as
// the view setting ActiveTable. Empty when the file does not say.
QString activeTableName(const QString &path)
{
    QByteArray settings;
    if (!readEntry(path, QStringLiteral("settings.xml"), &settings))
        return {};
    QXmlStreamReader xml(settings);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("config-item")
            && xml.attributes().value(QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:config:1.0"),
                                      QStringLiteral("name"))
                   == QLatin1String("ActiveTable"))
            return xml.readElementText();
    }
    return {};
}

class OdsFile : public SheetFile
{
public:
    bool load(const QString &path, QString *error);
    bool readSheet(int index, SheetRows *rows, QString *error) override;

private:
    void readRow(QXmlStreamReader &xml, QStringList *row);

    QByteArray m_content;
};

bool OdsFile::load(const QString &path, QString *error)
{
    QByteArray mimetype;
    if (!readEntry(path, QStringLiteral("mimetype"), &mimetype)
        || !mimetype.startsWith("application/vnd.oasis.opendocument.spreadsheet")) {
        *error = QStringLiteral("压缩包里没有OpenDocument表格");
        return false;
    }
    if (!readEntry(path, QStringLiteral("content.xml"), &m_content)) {
        *error = QStringLiteral("OpenDocument表格已损坏（缺少content.xml）");
        return false;
    }
    QXmlStreamReader xml(m_content);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.namespaceUri() == kTableNs && xml.name() == QLatin1String("table")) {
            m_names << xml.attributes().value(kTableNs, QStringLiteral("name")).toString();
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError()) {
        *error = QStringLiteral("OpenDocument表格已损坏：") + xml.errorString();
        return false;
    }
    if (m_names.isEmpty()) {
        *error = QStringLiteral("表格里没有工作表");
        return false;
    }
    m_active = qMax(0, int(m_names.indexOf(activeTableName(path))));
    return true;
}

void OdsFile::readRow(QXmlStreamReader &xml, QStringList *row)
{
    int pendingEmpty = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement())
            break;
        if (!xml.isStartElement())
            continue;
        const bool cell = xml.name() == QLatin1String("table-cell")
                          || xml.name() == QLatin1String("covered-table-cell");
        if (!cell) {
            xml.skipCurrentElement();
            continue;
        }
        const int repeat = repeatCount(xml.attributes(), QStringLiteral("number-columns-repeated"));
        const QString text = readCell(xml);
        if (text.isEmpty()) {
            pendingEmpty += repeat;
            continue;
        }
        for (; pendingEmpty > 0; --pendingEmpty)
            row->append(QString());
        for (int i = 0; i < repeat && row->size() < 16384; ++i)
            row->append(text);
    }
}

bool OdsFile::readSheet(int index, SheetRows *rows, QString *error)
{
    rows->clear();
    QXmlStreamReader xml(m_content);
    int table = -1;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.namespaceUri() != kTableNs || xml.name() != QLatin1String("table"))
            continue;
        if (++table != index) {
            xml.skipCurrentElement();
            continue;
        }
        int pendingEmpty = 0;
        int depth = 1;
        while (!xml.atEnd() && depth > 0) {
            xml.readNext();
            if (xml.isEndElement()) {
                --depth;
            } else if (xml.isStartElement()) {
                if (xml.name() != QLatin1String("table-row")) {
                    ++depth;  // row groups, headers, columns: look inside
                    if (xml.name() == QLatin1String("table-column") || xml.name() == QLatin1String("shapes")) {
                        xml.skipCurrentElement();
                        --depth;
                    }
                    continue;
                }
                const int repeat = repeatCount(xml.attributes(), QStringLiteral("number-rows-repeated"));
                QStringList row;
                readRow(xml, &row);
                if (row.isEmpty()) {
                    pendingEmpty += repeat;
                    continue;
                }
                for (; pendingEmpty > 0; --pendingEmpty)
                    rows->append(QStringList());
                for (int i = 0; i < repeat && rows->size() < 1048576; ++i)
                    rows->append(row);
            }
        }
        break;
    }
    if (xml.hasError()) {
        *error = QStringLiteral("OpenDocument表格已损坏：") + xml.errorString();
        return false;
    }
    if (table < index) {
        *error = QStringLiteral("没有这个工作表");
        return false;
    }
    trimSheetRows(rows);
    return true;
}

} // namespace

std::unique_ptr<SheetFile> openOdsFile(const QString &path, QString *error)
{
    auto file = std::make_unique<OdsFile>();
    if (!file->load(path, error))
        return nullptr;
    return file;
}

} // namespace billprint
