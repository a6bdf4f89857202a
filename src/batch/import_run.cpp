#include "batch/import_run.h"

#include "app/alert.h"
#include "app/database.h"
#include "app/ini_file.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

namespace billprint {

namespace {

const QString kOwnUnit = QStringLiteral("我方单位");
const QString kCounterparty = QStringLiteral("往来单位");

QString removeFirstQuote(QString text)
{
    const int at = text.indexOf(QLatin1Char('\''));
    if (at >= 0)
        text.remove(at, 1);
    return text;
}

// Whether the connection is still inside the transaction the import
// began: a trigger's RAISE(ROLLBACK) or a full disk can end it under a
// statement, and later rows would then be stored one by one, outside it.
bool transactionOpen(const QSqlDatabase &db)
{
    if (!db.isOpen() || !db.driver())
        return false;
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return true;  // not SQLite: nothing to ask, the commit will tell
    sqlite3 *handle = *static_cast<sqlite3 *const *>(v.constData());
    return handle && sqlite3_get_autocommit(handle) == 0;
}

// Errors of the database as a whole rather than of one row's values: every
// later row would fail alike, so the import stops instead of skipping.
bool isDatabaseFailure(const QSqlError &error, SqlEngine engine)
{
    if (engine == SqlEngine::Postgres) {
        // The classes of PostgreSQL's error codes: connection lost, no
        // resources left (disk full), server shutting down, system and
        // internal errors; a database that refuses writing.
        const QString code = error.nativeErrorCode();
        static const QStringList wholeDatabase = {QStringLiteral("08"), QStringLiteral("53"), QStringLiteral("57"),
                                                  QStringLiteral("58"), QStringLiteral("XX")};
        return wholeDatabase.contains(code.left(2)) || code == QLatin1String("25006");
    }
    switch (error.nativeErrorCode().toInt() & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_NOMEM:
    case SQLITE_READONLY:
    case SQLITE_IOERR:
    case SQLITE_CORRUPT:
    case SQLITE_FULL:
    case SQLITE_CANTOPEN:
    case SQLITE_NOTADB:
        return true;
    default:
        return false;
    }
}

} // namespace

// ImportLog.txt: sections INFO, LOG and ERR, erased at the start.
class SpreadsheetImport::Log
{
public:
    explicit Log(const QString &path) : m_ini(path)
    {
        m_ini.setWriteThrough(false);
        m_ini.load();
        for (const char *section : {"INFO", "LOG", "ERR"})
            m_ini.eraseSection(QString::fromLatin1(section));
    }
    void info(const QString &key, const QString &value) { m_ini.writeString(QStringLiteral("INFO"), key, value); }
    void row(const char *section, int rowNumber, const QString &text)
    {
        m_ini.writeString(QString::fromLatin1(section), QStringLiteral("N%1").arg(rowNumber), text);
    }
    void flush() { m_ini.flush(); }

private:
    IniFile m_ini;
};

struct SpreadsheetImport::Row
{
    QHash<QString, QString> values;  // item name → text
    // Never a null text: an empty cell is stored as '' like the editors
    // store it, not as NULL.
    QString value(const QString &item) const { return values.value(item, QStringLiteral("")); }
};

SpreadsheetImport::SpreadsheetImport(const Database &db, QString logPath) : m_db(db), m_logPath(std::move(logPath))
{
}

QString SpreadsheetImport::missingKeyColumns(const ImportOptions &options)
{
    for (const char *item : {"单位全称", "联系人", "地址"}) {
        if (options.columns.value(QString::fromUtf8(item)) > 0)
            return {};
    }
    return QStringLiteral("收、发件单位名称、联系人、地址不能同时为空，请选择有效的Excel数据文件并匹配项目！");
}

QString importFailedMessage(const QString &reason, int stored)
{
    return QStringLiteral("导入中止，数据库写入失败：%1\n中止前共有 %2 条导入成功！").arg(reason).arg(stored);
}

QString importResultMessage(int stored, int skipped)
{
    QString message = QStringLiteral("导入结束，共有 %1 条导入成功！\n").arg(stored);
    if (skipped > 0)
        message += QStringLiteral(" 其中跳过了%1 条重复的或无效(单位、联系人、电话都为空)的记录！").arg(skipped);
    return message;
}

SpreadsheetImport::Row SpreadsheetImport::readRow(const QStringList &cells, const ImportOptions &options) const
{
    Row row;
    const bool book = options.target == ImportTarget::AddressBook;
    for (const ImportItem &item : importItems()) {
        if (!(book ? item.inBook : item.inList))
            continue;
        const int column = options.columns.value(item.name);
        const QString text = column > 0 ? cells.value(column - 1).trimmed() : QString();
        row.values.insert(item.name, text.isNull() ? QStringLiteral("") : text);
    }
    // A leading apostrophe is how spreadsheets keep digits as text.
    row.values[QStringLiteral("电话")] = removeFirstQuote(row.value(QStringLiteral("电话")));
    row.values[QStringLiteral("手机")] = removeFirstQuote(row.value(QStringLiteral("手机")));
    if (book) {
        const QString kind = row.value(QStringLiteral("单位类型"));
        if (options.fixedUnitKind)
            row.values[QStringLiteral("单位类型")] = options.unitKind == kOwnUnit ? kOwnUnit : kCounterparty;
        else
            row.values[QStringLiteral("单位类型")] = kind == kOwnUnit ? kOwnUnit : kCounterparty;
    } else {
        QString remark = row.value(QStringLiteral("备注"));
        const QString order = row.value(QStringLiteral("订单号"));
        const QString member = row.value(QStringLiteral("会员Id"));
        if (options.orderNumberToRemark && !order.isEmpty())
            remark = (remark + QStringLiteral(" 订单号:") + order + QLatin1Char(';')).trimmed();
        if (options.memberIdToRemark && !member.isEmpty())
            remark = (remark + QStringLiteral("会员ID:") + member).trimmed();
        row.values[QStringLiteral("备注")] = remark;
    }
    return row;
}

void SpreadsheetImport::prepareStatements(const ImportOptions &options)
{
    const bool book = options.target == ImportTarget::AddressBook;
    const QString table = book ? QStringLiteral("ckPersonalInfoTable") : QStringLiteral("ReceiverList");
    const QStringList listColumns = m_db.columnNames(QStringLiteral("ReceiverList"));
    m_insertItems.clear();
    QStringList columns;
    for (const ImportItem &item : importItems()) {
        const QString &column = book ? item.bookColumn : item.listColumn;
        // Columns an older list lacks are left out rather than failing
        // every row.
        if ((book ? item.inBook : item.inList) && !column.isEmpty()
            && (book || listColumns.contains(column, Qt::CaseInsensitive))) {
            columns << quoteIdentifier(column);
            m_insertItems << item.name;
        }
    }
    if (book)
        columns << quoteIdentifier(QStringLiteral("排序"));
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    // One statement for every row: preparing is most of an insert's cost.
    m_insert = m_db.prepare(QStringLiteral("insert into %1 (%2) values (%3)")
                                .arg(table, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));

    m_duplicateItems.clear();
    if (!options.checkDuplicates || !options.anyDuplicateBasis())
        return;
    QString sql = QStringLiteral("select 全称 from %1 where 1=1").arg(table);
    // Item and column of each basis; both tables name the columns alike.
    const std::tuple<bool, const char *, const char *> bases[] = {
        {options.byName, "单位全称", "全称"}, {options.byContact, "联系人", "联系人"}, {options.byPhone, "电话", "电话"}};
    for (const auto &[ticked, item, column] : bases) {
        if (!ticked)
            continue;
        sql += QStringLiteral(" and %1=?").arg(quoteIdentifier(QString::fromUtf8(column)));
        m_duplicateItems << QString::fromUtf8(item);
    }
    m_duplicate = m_db.prepare(sql + QStringLiteral(" limit 1"));
}

bool SpreadsheetImport::isDuplicate(const Row &row, QString *error)
{
    if (m_duplicateItems.isEmpty())
        return false;
    // Rows that leave every chosen basis empty say nothing about identity:
    // two receivers with mobiles only must not collide on an empty 电话.
    bool anyValue = false;
    for (int i = 0; i < m_duplicateItems.size(); ++i) {
        const QString value = row.value(m_duplicateItems[i]);
        anyValue = anyValue || !value.isEmpty();
        m_duplicate.bindValue(i, value);
    }
    if (!anyValue)
        return false;
    if (!m_duplicate.exec()) {
        *error = m_duplicate.lastError().text();
        return false;
    }
    const bool found = m_duplicate.next();
    m_duplicate.finish();
    return found;
}

bool SpreadsheetImport::append(const Row &row, const ImportOptions &options, QString *error)
{
    int i = 0;
    for (; i < m_insertItems.size(); ++i)
        m_insert.bindValue(i, row.value(m_insertItems[i]));
    if (options.target == ImportTarget::AddressBook)
        m_insert.bindValue(i, 0);
    if (!m_insert.exec()) {
        *error = m_insert.lastError().text();
        return false;
    }
    return true;
}

int SpreadsheetImport::storeRow(int rowNumber, const Row &row, const ImportOptions &options)
{
    const QString name = row.value(QStringLiteral("单位全称"));
    const QString contact = row.value(QStringLiteral("联系人"));
    const QString phone = row.value(QStringLiteral("电话"));
    if (name.isEmpty() && contact.isEmpty() && phone.isEmpty()) {
        m_log->row("LOG", rowNumber, QStringLiteral("无效行，联系人、电话、全称均为空！"));
        return 0;
    }
    QString error;
    const bool duplicate = isDuplicate(row, &error);
    if (!error.isEmpty()) {
        noteFailure(m_duplicate);
        m_log->row("ERR", rowNumber,
                   QStringLiteral("错误，单位：%1,联系人：%2,电话：%3").arg(name, contact, phone) + QLatin1Char(' ')
                       + error);
        return 0;
    }
    if (duplicate) {
        bool skip = true;
        if (options.askOnDuplicate) {
            QString question = QStringLiteral("单位\"") + name;
            if (options.byContact)
                question += QStringLiteral("(联系人:") + contact + QLatin1Char(')');
            question += QStringLiteral("\"已经存在,是否跳过？点击\"是\"跳过,点击\"否\"继续添加！");
            skip = alert(question, QStringLiteral("记录已经存在"), true);
        }
        if (skip) {
            m_log->row("LOG", rowNumber,
                       contact.isEmpty()
                           ? QStringLiteral("无效行，地址：") + row.value(QStringLiteral("地址"))
                           : QStringLiteral("重复，单位：%1,联系人：%2,电话：%3").arg(name, contact, phone));
            return 0;
        }
    }
    if (!append(row, options, &error)) {
        noteFailure(m_insert);
        m_log->row("ERR", rowNumber,
                   QStringLiteral("错误，单位：%1,联系人：%2,电话：%3").arg(name, contact, phone) + QLatin1Char(' ')
                       + error);
        return 0;
    }
    return 1;
}

void SpreadsheetImport::noteFailure(const QSqlQuery &query)
{
    const QSqlError error = query.lastError();
    if (isDatabaseFailure(error, m_db.dialect().engine()) || !transactionOpen(m_db.connection()))
        m_failure = error.text();
}

bool SpreadsheetImport::storeBatch(const SheetRows &rows, const ImportOptions &options, int *rowNumber,
                                   ImportResult *result, bool *done, QString *error)
{
    const int usedRows = int(rows.size());
    int stored = 0;
    int skipped = 0;
    m_failure.clear();
    const bool committed = m_db.transaction([&] {
        for (int n = 0; n < kRowsPerTransaction && *rowNumber <= usedRows; ++n) {
            if (*rowNumber > kMaxRowNumber) {
                result->limitReached = true;
                *done = true;
                break;
            }
            // Each row in a savepoint: on PostgreSQL a refused row spoils
            // the transaction up to its last savepoint, and the rows before
            // it must still be committed.
            int one = 0;
            if (!m_db.transaction([&] {
                    one = storeRow(*rowNumber, readRow(rows[*rowNumber - 1], options), options);
                    return one == 1;
                }))
                one = 0;
            if (!m_failure.isEmpty())
                return false;
            stored += one;
            skipped += 1 - one;
            ++*rowNumber;
            if (onProgress)
                onProgress(*rowNumber - 1, result->stored + stored);
            if (stopRequested && stopRequested()) {
                result->stopped = true;
                *done = true;
                break;
            }
        }
        return true;
    }, error);
    if (!committed && error->isEmpty())
        *error = m_failure;
    if (committed) {
        result->stored += stored;
        result->skipped += skipped;
    }
    return committed;
}

ImportResult SpreadsheetImport::run(const QString &sourcePath, const SheetRows &rows, const ImportOptions &options)
{
    return run(sourcePath, rows, options, SheetReadNotes());
}

ImportResult SpreadsheetImport::run(const QString &sourcePath, const SheetRows &rows, const ImportOptions &options,
                                    const SheetReadNotes &notes)
{
    ImportResult result;
    Log log(m_logPath);
    m_log = &log;
    prepareStatements(options);
    const int usedRows = int(rows.size());
    log.info(QStringLiteral("File"), QStringLiteral("数据文件来源:") + sourcePath);
    log.info(QStringLiteral("Total"), QStringLiteral("本次任务数据共有：%1行").arg(qMax(0, usedRows - 1)));
    if (!notes.encoding.isEmpty())
        log.info(QStringLiteral("Encoding"), QStringLiteral("编码：") + notes.encoding);
    if (notes.cutAtLimits)
        log.info(QStringLiteral("Limit"), sheetCutAtLimitsNote());
    log.flush();

    if (usedRows < 2) {
        result.message = QStringLiteral("导入完成，所选数据文件不存在有效数据！");
    } else {
        int rowNumber = 2;
        bool done = false;
        while (!done && rowNumber <= usedRows) {
            QString error;
            if (!storeBatch(rows, options, &rowNumber, &result, &done, &error)) {
                // The rows of this batch went with the rollback, and
                // nothing later is tried: the database would refuse it too.
                log.row("ERR", rowNumber, QStringLiteral("错误，") + error);
                result.failed = true;
                result.failure = error;
                done = true;
            }
            log.flush();
        }
        if (result.limitReached && !result.failed)
            tell(QStringLiteral("导入中止，一次最大行数为6000"));
        result.message = result.failed ? importFailedMessage(result.failure, result.stored)
                                       : importResultMessage(result.stored, result.skipped);
    }
    if (notes.cutAtLimits) {
        if (!result.message.endsWith(QLatin1Char('\n')))
            result.message += QLatin1Char('\n');
        result.message += sheetCutAtLimitsNote();
    }
    log.info(QStringLiteral("Finish"), result.message);
    log.flush();
    m_log = nullptr;
    m_insert = QSqlQuery();
    m_duplicate = QSqlQuery();
    return result;
}

} // namespace billprint
