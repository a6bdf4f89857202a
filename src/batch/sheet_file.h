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

protected:
    QStringList m_names;
    int m_active = 0;
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

// A cell's number as a spreadsheet shows it in a general format: all the
// digits of a whole number (13800138000, never 1.38E+10), otherwise the
// shortest text without exponent.
QString sheetNumberText(double value);
// The date of a spreadsheet day number (1900 date system) as yyyy-mm-dd.
QString sheetSerialDate(double serial);

// Sets cell `column` (0-based) of `row`, growing it as needed.
void putSheetCell(QStringList *row, int column, const QString &text);
// Drops trailing empty cells of every row and trailing empty rows.
void trimSheetRows(SheetRows *rows);

} // namespace billprint
