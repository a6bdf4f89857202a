// Text files as one sheet: .csv and .txt in UTF-8 (with or without byte
// order mark), UTF-16 with byte order mark (the "Unicode text" that
// spreadsheet programs save, tab-separated) or else GB18030, the code page
// Chinese spreadsheet programs save CSV in.
#include "batch/csv_file.h"
#include "batch/sheet_file.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTextCodec>

namespace billprint {

namespace {

QString decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.mid(2));
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(body);
    if (!utf8.hasError())
        return text;
    return QTextCodec::codecForName("GB18030")->toUnicode(bytes);
}

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
        const QString text = decodeText(file.readAll());
        m_rows = parseCsv(text, sniffSeparator(text));
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
        *rows = m_rows;
        return true;
    }

private:
    SheetRows m_rows;
};

} // namespace

std::unique_ptr<SheetFile> openTextSheetFile(const QString &path, QString *error)
{
    auto file = std::make_unique<TextSheetFile>();
    if (!file->load(path, error))
        return nullptr;
    return file;
}

} // namespace billprint
