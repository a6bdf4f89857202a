#include "batch/sheet_file.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace billprint {

namespace {

const QByteArray kZipMagic("PK\x03\x04", 4);
const QByteArray kOle2Magic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

bool looksLikeText(const QByteArray &head)
{
    if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF") || head.startsWith("\xEF\xBB\xBF"))
        return true;
    return !head.contains('\0');
}

} // namespace

QString sheetNumberText(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    QString text = QString::number(value, 'g', 15);
    if (!text.contains(QLatin1Char('e')))
        return text;
    text = QString::number(value, 'f', 15);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

QString sheetSerialDate(double serial)
{
    // Day 60 is the 29 February 1900 that never was; day 1 is 1900-01-01.
    const int day = int(std::floor(serial));
    const QDate base(1899, 12, 31);
    const QDate date = day >= 60 ? base.addDays(day - 1) : base.addDays(day);
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

void putSheetCell(QStringList *row, int column, const QString &text)
{
    if (column < 0)
        return;
    while (row->size() <= column)
        row->append(QString());
    (*row)[column] = text;
}

void trimSheetRows(SheetRows *rows)
{
    for (QStringList &row : *rows) {
        while (!row.isEmpty() && row.last().trimmed().isEmpty())
            row.removeLast();
    }
    while (!rows->isEmpty() && rows->last().isEmpty())
        rows->removeLast();
}

std::unique_ptr<SheetFile> openSheetFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("无法打开文件 ") + path + QStringLiteral("：") + file.errorString();
        return nullptr;
    }
    const QByteArray head = file.read(4096);
    file.close();
    if (head.isEmpty()) {
        *error = QStringLiteral("文件是空的：") + path;
        return nullptr;
    }
    if (head.startsWith(kZipMagic)) {
        QString xlsxError;
        if (auto sheet = openXlsxFile(path, &xlsxError))
            return sheet;
        QString odsError;
        if (auto sheet = openOdsFile(path, &odsError))
            return sheet;
        *error = !xlsxError.isEmpty() && !xlsxError.startsWith(QStringLiteral("压缩包里没有")) ? xlsxError
                 : !odsError.isEmpty() && !odsError.startsWith(QStringLiteral("压缩包里没有"))
                     ? odsError
                     : QStringLiteral("这个压缩文件不是Excel(xlsx)或OpenDocument(ods)表格");
        return nullptr;
    }
    if (head.startsWith(kOle2Magic))
        return openXlsFile(path, error);
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool textName = suffix == QLatin1String("csv") || suffix == QLatin1String("txt")
                          || suffix == QLatin1String("tsv");
    // Shops often export tab-separated text under an .xls name; markup
    // (an HTML page saved as .xls) is no table this program can read.
    const bool xlsName = suffix == QLatin1String("xls") || suffix == QLatin1String("et");
    if (looksLikeText(head) && (textName || (xlsName && !head.trimmed().startsWith('<'))))
        return openTextSheetFile(path, error);
    *error = QStringLiteral("不是可以识别的表格文件（可以导入xlsx、xls、ods、csv和txt文件）");
    return nullptr;
}

} // namespace billprint
