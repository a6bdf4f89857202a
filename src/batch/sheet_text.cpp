// Text files as one sheet: .csv and .txt in UTF-8 (with or without byte
// order mark), UTF-16 with byte order mark (the "Unicode text" that
// spreadsheet programs save, tab-separated) or GB18030, the code page
// Chinese spreadsheet programs save CSV in (decodeTextFile decides).
// At most kSheetMaxPartBytes of a file are read, and of those the rows,
// columns and cell texts within the sheet limits kept.
#include "batch/csv_file.h"
#include "batch/sheet_file.h"

#include <QFile>
#include <QFileInfo>

namespace billprint {

namespace {

// The separator of the first line: the most frequent of comma, tab and
// semicolon outside quotes; a comma when there is none.
QChar sniffSeparator(const QString &text)
{
    int comma = 0, tab = 0, semicolon = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!quoted && c == QLatin1Char(','))
            ++comma;
        else if (!quoted && c == QLatin1Char('\t'))
            ++tab;
        else if (!quoted && c == QLatin1Char(';'))
            ++semicolon;
    }
    if (tab > comma && tab >= semicolon)
        return QLatin1Char('\t');
    if (semicolon > comma && semicolon > tab)
        return QLatin1Char(';');
    return QLatin1Char(',');
}

class TextSheetFile : public SheetFile
{
public:
    bool load(const QString &path, QString *error)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("无法打开文件：") + file.errorString();
            return false;
        }
        const QByteArray bytes = file.read(kSheetMaxPartBytes);
        const bool wholeFile = file.atEnd();
        const QString text = decodeTextFile(bytes, &m_notes.encoding);
        CsvLimits limits;
        limits.maxRows = kSheetMaxRows;
        limits.maxColumns = kSheetMaxColumns;
        limits.maxFieldLength = kSheetMaxCellText;
        bool cut = false;
        m_rows = parseCsv(text, sniffSeparator(text), limits, &cut);
        // A file longer than the part read holds more than was kept.
        m_notes.cutAtLimits = cut || !wholeFile;
        trimSheetRows(&m_rows);
        m_names << QFileInfo(path).completeBaseName();
        return true;
    }

    bool readSheet(int index, SheetRows *rows, QString *error) override
    {
        if (index != 0) {
            *error = QStringLiteral("没有这个工作表");
            return false;
        }
        // The notes belong to the one sheet and stay as load set them.
        *rows = m_rows;
        return true;
    }

private:
    SheetRows m_rows;
};

} // namespace

std::unique_ptr<SheetFile> openTextSheetFile(const QString &path, QString *error)
{
    return loadSheetReader<TextSheetFile>(path, error);
}

} // namespace billprint
