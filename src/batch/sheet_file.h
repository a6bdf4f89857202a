// Reading the sheets of a spreadsheet file without a spreadsheet program:
// .xlsx, .xls, .ods and text files (.csv, .txt) all give the same picture
// of a workbook: its sheet names, the sheet that was active when it was
// saved, and for one sheet its rows of cell texts as the user sees them
// (numbers without exponent, dates as yyyy-mm-dd).
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace billprint {

// The rows of one sheet from its first row on: rows[0] is row 1. Trailing
// empty cells and rows are left out, so rows.size() is the number of used
// rows; a missing cell reads as empty text.
using SheetRows = QList<QStringList>;

// What one import can use of a sheet, and what a reader materialises: the
// title row and 6000 data rows, 256 columns, 32 K characters per cell.
// A file may claim more (a repeat count of two thousand million, a cell in
// column XFD); the readers skip what lies beyond before allocating it.
constexpr int kSheetMaxRows = 6001;
constexpr int kSheetMaxColumns = 256;
constexpr int kSheetMaxCellText = 32 * 1024;
// The most a zip part (a sheet's XML, the shared strings) may inflate to;
// beyond it the file is refused rather than read into memory.
constexpr qint64 kSheetMaxPartBytes = 64 * 1024 * 1024;

// The reason for refusing a file whose parts exceed kSheetMaxPartBytes.
QString sheetTooLargeReason();
// Said once when a sheet held content beyond the rows or columns read.
QString sheetCutAtLimitsNote();

// What a reader says about the sheet it read besides its rows.
struct SheetReadNotes
{
    // The encoding a text file was decoded with ("UTF-8", "GB18030",
    // "UTF-16"); empty for workbooks.
    QString encoding;
    // Non-empty cells beyond kSheetMaxRows or kSheetMaxColumns were left out.
    bool cutAtLimits = false;
};

// Collects the cells of one sheet within the limits above: what lies
// beyond is dropped (and noted), a long text is cut to kSheetMaxCellText.
// Row and column numbers are 64-bit so that a claimed repeat count never
// wraps around.
class SheetGrid
{
public:
    // Sets cell (row, column), both 0-based; an empty text sets nothing.
    void put(qint64 row, qint64 column, const QString &text);
    // Sets `count` rows from `row` on to copies of `cells` (shared, not
    // copied: a repeated row costs one row).
    void putRows(qint64 row, qint64 count, const QStringList &cells);
    // No later row can be kept: a reader may stop reading rows.
    bool rowsFull(qint64 row) const { return row >= kSheetMaxRows; }
    bool cutAtLimits() const { return m_cut; }
    void noteCut() { m_cut = true; }
    // The rows, trimmed as trimSheetRows does.
    SheetRows takeRows();

private:
    SheetRows m_rows;
    bool m_cut = false;
};

// Inflating one part of a zip-based workbook (xlsx, ods).
enum class ZipPartRead { Read, Missing, TooLarge, Damaged };
// Reads entry `name` (any case) of the zip at `path` into `data`, never
// more than kSheetMaxPartBytes: a larger entry gives TooLarge, whatever
// size its header claims.
ZipPartRead readZipPart(const QString &path, const QString &name, QByteArray *data);

// Appends `more` to a cell's `text` up to kSheetMaxCellText characters.
void appendCellText(QString *text, QStringView more);

class SheetFile
{
public:
    virtual ~SheetFile() = default;

    const QStringList &sheetNames() const { return m_names; }
    // 0-based index of the sheet shown when the file was saved.
    int activeSheet() const { return m_active; }
    // The rows of sheet `index` (0-based); false with `error` set when the
    // sheet cannot be read.
    virtual bool readSheet(int index, SheetRows *rows, QString *error) = 0;
    // About the sheet readSheet last read.
    const SheetReadNotes &readNotes() const { return m_notes; }

protected:
    // How every reader ends a sheet: it notes whether anything was cut at
    // the limits and hands over the rows. Always true.
    bool keepSheet(SheetGrid &grid, SheetRows *rows);
    bool keepSheet(SheetRows read, bool cutAtLimits, SheetRows *rows);

    QStringList m_names;
    int m_active = 0;
    SheetReadNotes m_notes;
};

// Opens `path` as whatever spreadsheet its content says it is (the name's
// extension only decides between text and nothing). Null with `error` set
// to a reason for the user when the file is none of the formats, is
// encrypted or damaged.
std::unique_ptr<SheetFile> openSheetFile(const QString &path, QString *error);

// The readers behind openSheetFile, each for one format.
std::unique_ptr<SheetFile> openXlsxFile(const QString &path, QString *error);
std::unique_ptr<SheetFile> openOdsFile(const QString &path, QString *error);
std::unique_ptr<SheetFile> openXlsFile(const QString &path, QString *error);
std::unique_ptr<SheetFile> openTextSheetFile(const QString &path, QString *error);

// A reader of one format after its `load(path, error)`; null with `error`
// set when it refused the file.
template <class Reader>
std::unique_ptr<SheetFile> loadSheetReader(const QString &path, QString *error)
{
    auto file = std::make_unique<Reader>();
    if (!file->load(path, error))
        return nullptr;
    return file;
}

// A cell's number as a spreadsheet shows it in a general format: all the
// digits of a whole number (13800138000, never 1.38E+10), otherwise the
// shortest text without exponent.
QString sheetNumberText(double value);
// The date of a spreadsheet day number (1900 date system) as yyyy-mm-dd.
QString sheetSerialDate(double serial);

// Sets cell `column` (0-based) of `row`, growing it as needed; columns
// from kSheetMaxColumns on are ignored.
void putSheetCell(QStringList *row, int column, const QString &text);
// Drops trailing empty cells of every row and trailing empty rows.
void trimSheetRows(SheetRows *rows);

} // namespace billprint
