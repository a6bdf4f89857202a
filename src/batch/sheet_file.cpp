#include "batch/sheet_file.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

#include <quazip.h>
#include <quazipfile.h>

#include <cmath>
#include <utility>

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

QString sheetTooLargeReason()
{
    return QStringLiteral("文件过大或已损坏");
}

QString sheetCutAtLimitsNote()
{
    return QStringLiteral("超出部分已忽略：只读取前%1行、%2列").arg(kSheetMaxRows - 1).arg(kSheetMaxColumns);
}

void appendCellText(QString *text, QStringView more)
{
    const qsizetype room = kSheetMaxCellText - text->size();
    if (room > 0)
        text->append(more.left(room));
}

void SheetGrid::put(qint64 row, qint64 column, const QString &text)
{
    if (text.isEmpty() || row < 0 || column < 0)
        return;
    if (row >= kSheetMaxRows || column >= kSheetMaxColumns) {
        m_cut = true;
        return;
    }
    while (m_rows.size() <= row)
        m_rows.append(QStringList());
    putSheetCell(&m_rows[row], int(column), text.left(kSheetMaxCellText));
}

void SheetGrid::putRows(qint64 row, qint64 count, const QStringList &cells)
{
    if (cells.isEmpty() || row < 0 || count <= 0)
        return;
    const qint64 kept = qMin(count, qMax<qint64>(0, kSheetMaxRows - row));
    if (kept < count)
        m_cut = true;
    if (kept == 0)
        return;
    while (m_rows.size() < row)
        m_rows.append(QStringList());
    // Rows set earlier at these numbers are replaced, as a later cell with
    // the same reference replaces an earlier one.
    m_rows.resize(qMax<qsizetype>(m_rows.size(), row + kept));
    for (qint64 i = 0; i < kept; ++i)
        m_rows[row + i] = cells;
}

SheetRows SheetGrid::takeRows()
{
    trimSheetRows(&m_rows);
    return std::exchange(m_rows, SheetRows());
}

bool SheetFile::keepSheet(SheetGrid &grid, SheetRows *rows)
{
    const bool cut = grid.cutAtLimits();
    return keepSheet(grid.takeRows(), cut, rows);
}

bool SheetFile::keepSheet(SheetRows read, bool cutAtLimits, SheetRows *rows)
{
    m_notes.cutAtLimits = cutAtLimits;
    *rows = std::move(read);
    return true;
}

void putSheetCell(QStringList *row, int column, const QString &text)
{
    if (column < 0 || column >= kSheetMaxColumns)
        return;
    while (row->size() <= column)
        row->append(QString());
    (*row)[column] = text;
}

void trimSheetRows(SheetRows *rows)
{
    // Read through const access first: rows repeated in a file share one
    // list, and only a row that really changes may be detached.
    for (qsizetype r = 0; r < rows->size(); ++r) {
        const QStringList &row = rows->at(r);
        qsizetype used = row.size();
        while (used > 0 && row.at(used - 1).trimmed().isEmpty())
            --used;
        if (used < row.size())
            (*rows)[r].resize(used);
    }
    while (!rows->isEmpty() && rows->constLast().isEmpty())
        rows->removeLast();
}

ZipPartRead readZipPart(const QString &path, const QString &name, QByteArray *data)
{
    data->clear();
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return ZipPartRead::Damaged;
    if (!zip.setCurrentFile(name, QuaZip::csInsensitive))
        return ZipPartRead::Missing;
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly))
        return ZipPartRead::Damaged;
    // The size in the header is only a claim: it refuses early, and the
    // count of what really comes out decides.
    if (file.usize() > kSheetMaxPartBytes)
        return ZipPartRead::TooLarge;
    QByteArray chunk(256 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(chunk.data(), chunk.size());
        if (got < 0)
            return ZipPartRead::Damaged;
        if (got == 0)
            break;
        if (data->size() + got > kSheetMaxPartBytes) {
            data->clear();
            return ZipPartRead::TooLarge;
        }
        data->append(chunk.constData(), got);
    }
    file.close();
    return file.getZipError() == UNZ_OK ? ZipPartRead::Read : ZipPartRead::Damaged;
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
