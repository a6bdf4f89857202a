// The OpenDocument spreadsheet reader (LibreOffice's own format): the
// sheets are the tables of content.xml. Repeated rows and cells are
// expanded as far as the sheet limits reach; empty runs (the ones that
// fill a table to its end) only move the position and cost nothing.
#include "batch/sheet_file.h"

#include <QXmlStreamReader>

namespace billprint {

namespace {

const QString kTableNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kOfficeNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kTextNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");

bool readEntry(const QString &path, const QString &name, QByteArray *data)
{
    return readZipPart(path, name, data) == ZipPartRead::Read;
}

// A repeat count as the file claims it (up to two thousand million and
// more); the caller keeps only what fits the sheet limits.
qint64 repeatCount(const QXmlStreamAttributes &a, const QString &name)
{
    const qint64 n = a.value(kTableNs, name).toLongLong();
    return n > 0 ? qMin<qint64>(n, Q_INT64_C(1) << 40) : 1;
}

// The text of one paragraph (<text:p>) with its spaces, tabs and breaks.
QString readParagraph(QXmlStreamReader &xml)
{
    QString text;
    int depth = 1;
    while (!xml.atEnd() && depth > 0) {
        xml.readNext();
        if (xml.isCharacters()) {
            appendCellText(&text, xml.text());
        } else if (xml.isStartElement()) {
            ++depth;
            if (xml.namespaceUri() == kTextNs && xml.name() == QLatin1String("s")) {
                // A run of spaces, at most what a cell's text can hold.
                const qint64 n = xml.attributes().value(kTextNs, QStringLiteral("c")).toLongLong();
                const qint64 room = kSheetMaxCellText - text.size();
                if (room > 0)
                    text += QString(qsizetype(qBound<qint64>(1, n, room)), QLatin1Char(' '));
            } else if (xml.name() == QLatin1String("tab")) {
                appendCellText(&text, u"\t");
            } else if (xml.name() == QLatin1String("line-break")) {
                appendCellText(&text, u"\n");
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
    QString paragraphs;
    bool first = true;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.namespaceUri() == kTextNs && xml.name() == QLatin1String("p")) {
            if (!first)
                appendCellText(&paragraphs, u"\n");
            appendCellText(&paragraphs, readParagraph(xml));
            first = false;
        }
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
    return paragraphs;
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
    bool readRow(QXmlStreamReader &xml, QStringList *row);

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
    switch (readZipPart(path, QStringLiteral("content.xml"), &m_content)) {
    case ZipPartRead::Read:
        break;
    case ZipPartRead::TooLarge:
        *error = sheetTooLargeReason();
        return false;
    default:
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

// Reads one row's cells into `row`, at most kSheetMaxColumns of them;
// false when the row held a value beyond them.
bool OdsFile::readRow(QXmlStreamReader &xml, QStringList *row)
{
    bool cut = false;
    qint64 column = 0;
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
        const qint64 repeat = repeatCount(xml.attributes(), QStringLiteral("number-columns-repeated"));
        const QString text = readCell(xml);
        if (!text.isEmpty()) {
            const qint64 end = qMin<qint64>(column + repeat, kSheetMaxColumns);
            for (qint64 c = column; c < end; ++c)
                putSheetCell(row, int(c), text);
            cut = cut || column + repeat > kSheetMaxColumns;
        }
        column += repeat;
    }
    return !cut;
}

bool OdsFile::readSheet(int index, SheetRows *rows, QString *error)
{
    rows->clear();
    m_notes = {};
    SheetGrid grid;
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
        qint64 rowIndex = 0;
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
                const qint64 repeat = repeatCount(xml.attributes(), QStringLiteral("number-rows-repeated"));
                if (grid.rowsFull(rowIndex)) {
                    // Beyond the rows kept: only whether it holds a value matters.
                    QStringList row;
                    if (!readRow(xml, &row) || !row.isEmpty())
                        grid.noteCut();
                    if (grid.cutAtLimits())
                        break;
                } else {
                    QStringList row;
                    if (!readRow(xml, &row))
                        grid.noteCut();
                    grid.putRows(rowIndex, repeat, row);
                }
                rowIndex += repeat;
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
    return keepSheet(grid, rows);
}

} // namespace

std::unique_ptr<SheetFile> openOdsFile(const QString &path, QString *error)
{
    return loadSheetReader<OdsFile>(path, error);
}

} // namespace billprint
