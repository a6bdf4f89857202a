// One spreadsheet file opened for import: its sheets, the rows of the
// chosen sheet, its source columns and their automatic matching. Shared
// by the import window and the headless command.
#pragma once

#include "batch/import_items.h"
#include "batch/sheet_file.h"

#include <QHash>
#include <memory>

namespace billprint {

class Database;

class ImportSession
{
public:
    // The prefix of every failure to read a file.
    static QString errorPrefix() { return QStringLiteral("EXCEL导入错误,"); }

    // Opens `path`; false with `error` set (prefix included) when it cannot.
    bool open(const QString &path, QString *error);
    bool isOpen() const { return bool(m_file); }
    const QString &path() const { return m_path; }
    QStringList sheetNames() const;
    int activeSheet() const;

    // Reads sheet `index`; false with `error` set (prefix included) when it
    // cannot be read, or its first row has no title.
    bool chooseSheet(int index, QString *error);
    int currentSheet() const { return m_sheet; }
    const SheetRows &rows() const { return m_rows; }
    // What the reader said about the chosen sheet (encoding, rows left out).
    SheetReadNotes readNotes() const { return m_file && m_sheet >= 0 ? m_file->readNotes() : SheetReadNotes(); }
    // Column number → title of the first row (at most 61 columns).
    const QList<QPair<int, QString>> &sources() const { return m_sources; }

    // Automatic matching with the title lists of `db`.
    QHash<QString, int> autoMatch(ImportTarget target, const Database &db) const;

private:
    QString m_path;
    std::unique_ptr<SheetFile> m_file;
    int m_sheet = -1;
    SheetRows m_rows;
    QList<QPair<int, QString>> m_sources;
};

} // namespace billprint
