#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

class QXmlStreamWriter;

namespace billprint {

// Writes one worksheet of text into an .xlsx workbook: a bold header row,
// then the data rows. Every cell is stored as text (number format "@") in
// a 9-point font, so that account numbers and codes keep their leading
// zeros and never turn into numbers or dates in the spreadsheet. Column
// widths are fitted to the longest text when the workbook is closed.
//
// The workbook is an Office Open XML package put together with QuaZip.
// (libxlsxwriter cannot be used in this program: it calls the system
// minizip, whose function names QuaZip's own copy also exports, and in one
// process its calls land in QuaZip's incompatible version and crash.)
//
// Nothing reaches the disk before close(), and then all at once: a writer
// destroyed without close(), or a failed close, leaves no file behind and
// an earlier file of the same name untouched.
class XlsxSheetWriter
{
public:
    XlsxSheetWriter();
    ~XlsxSheetWriter();
    XlsxSheetWriter(const XlsxSheetWriter &) = delete;
    XlsxSheetWriter &operator=(const XlsxSheetWriter &) = delete;

    // Starts a workbook that close() will write to `path`; `title` becomes
    // the document title.
    bool open(const QString &path, const QString &title, QString *error);
    bool isOpen() const { return m_open; }

    bool writeHeader(const QStringList &names, QString *error);
    bool writeRow(const QStringList &cells, QString *error);
    int dataRowsWritten() const { return m_dataRows; }

    // Fits the column widths and writes the file.
    bool close(QString *error);

    // Width of `text` in character cells: ASCII 1, anything else 2; for
    // text over several lines, the longest line.
    static int textCells(const QString &text);
    // The column width given to a column whose longest text is `cells`
    // character cells wide.
    static double columnWidthFor(int cells);

    // Excel refuses longer cell texts; longer ones are cut to this length.
    static constexpr int kMaxCellChars = 32767;
    static constexpr int kMaxRows = 1048576;
    static constexpr int kMaxColumns = 16384;

private:
    bool writeCells(const QStringList &cells, int style, QString *error);
    QByteArray sheetXml() const;

    bool m_open = false;
    QString m_path;
    QString m_title;
    QByteArray m_rowsXml;  // the <row> elements written so far
    std::unique_ptr<QXmlStreamWriter> m_rows;
    int m_nextRow = 0;
    int m_dataRows = 0;
    QVector<int> m_widestCells;  // per column
};

// "A", "B", ... "Z", "AA", ... for a column index from 0.
QString spreadsheetColumnName(int column);

} // namespace billprint
