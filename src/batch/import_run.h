// Storing the rows of a sheet in the address book or the batch list:
// the checks of each row, duplicates, the 6000-row limit, the log file
// and the result message.
//
// Every value is a bound parameter, so names with apostrophes import like
// any other. The rows are stored in transactions of at most
// kRowsPerTransaction rows, and the log is written after each commit: a
// stop or a crash keeps every row the log and the count report, and never
// half a batch.
#pragma once

#include "batch/import_items.h"
#include "batch/sheet_file.h"

#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <functional>

namespace billprint {

class Database;

struct ImportOptions
{
    ImportTarget target = ImportTarget::AddressBook;
    QHash<QString, int> columns;  // item name → 1-based sheet column; absent: none

    // Address book: with a fixed unit kind every row gets `unitKind`,
    // otherwise the 单位类型 column decides (exactly "我方单位" or else
    // "往来单位").
    bool fixedUnitKind = true;
    QString unitKind = QStringLiteral("往来单位");

    // "判断重复" with its bases, and whether a duplicate is asked about
    // ("发现重复记录弹出提示确认") or skipped silently.
    bool checkDuplicates = false;
    bool byContact = false;
    bool byName = false;
    bool byPhone = false;
    bool askOnDuplicate = false;

    // Batch list: order number and member ID appended to the remark.
    bool orderNumberToRemark = false;
    bool memberIdToRemark = false;

    bool anyDuplicateBasis() const { return byContact || byName || byPhone; }
};

struct ImportResult
{
    int stored = 0;   // rows committed, also when the import failed later
    int skipped = 0;
    bool limitReached = false;
    bool stopped = false;
    // The database refused a transaction (locked, disk full, a commit that
    // failed): the import stopped there, and `failure` gives the reason.
    bool failed = false;
    QString failure;
    QString message;  // the result message, as the log's Finish
};

class SpreadsheetImport
{
public:
    static constexpr int kMaxRowNumber = 6000;
    static constexpr int kRowsPerTransaction = 500;

    SpreadsheetImport(const Database &db, QString logPath);

    // The message when the columns cannot identify a row (no 单位全称,
    // 联系人 or 地址); empty when they can.
    static QString missingKeyColumns(const ImportOptions &options);

    // Called after every row: the sheet row just done and the rows stored.
    std::function<void(int row, int stored)> onProgress;
    // Asked after every row; true stops the import there.
    std::function<bool()> stopRequested;

    // Imports `rows` (rows[0] holds the titles) read from `sourcePath`.
    ImportResult run(const QString &sourcePath, const SheetRows &rows, const ImportOptions &options);
    // The same, with what the reader said about the sheet (its encoding and
    // whether rows or columns beyond the limits were left out) written to
    // the log, and the latter said in the result.
    ImportResult run(const QString &sourcePath, const SheetRows &rows, const ImportOptions &options,
                     const SheetReadNotes &notes);

private:
    struct Row;
    Row readRow(const QStringList &cells, const ImportOptions &options) const;
    // 1 when stored, 0 when skipped. A failure of the database itself
    // (rather than of the row) is left in m_failure.
    int storeRow(int rowNumber, const Row &row, const ImportOptions &options);
    void noteFailure(const QSqlQuery &query);
    // Stores rows from `*rowNumber` on in one transaction; false when the
    // transaction failed (its rows are then not stored).
    bool storeBatch(const SheetRows &rows, const ImportOptions &options, int *rowNumber, ImportResult *result,
                    bool *done, QString *error);
    void prepareStatements(const ImportOptions &options);
    bool isDuplicate(const Row &row, QString *error);
    bool append(const Row &row, const ImportOptions &options, QString *error);

    const Database &m_db;
    QString m_logPath;
    class Log;
    Log *m_log = nullptr;
    QSqlQuery m_insert;
    QStringList m_insertItems;     // the item bound to each value of m_insert
    QSqlQuery m_duplicate;
    QStringList m_duplicateItems;  // the item bound to each value of m_duplicate
    QString m_failure;             // why the database failed the current transaction
};

// The result message for `stored` rows stored and `skipped` skipped.
QString importResultMessage(int stored, int skipped);
// The result message of an import the database stopped with `reason`
// after `stored` rows were stored.
QString importFailedMessage(const QString &reason, int stored);

} // namespace billprint
