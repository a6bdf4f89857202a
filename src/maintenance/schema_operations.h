#pragma once

#include <QString>
#include <QVariantList>

namespace billprint {

class Database;
class UpgradeProgress;

// The schema operations of the data upgrade. They work on a desk's SQLite
// data (the upgrade refuses a shared database), on one schema of the
// program's connection: "main" (the
// database) or the name under which the empty template package is
// attached. Table and column names are the program's own constants, quoted
// when put into a statement; every value is a bound parameter. An
// operation that fails returns false and leaves the reason, in the words
// shown to the user, in lastError(); the caller decides whether to go on.
class SchemaOperations
{
public:
    explicit SchemaOperations(const Database &db, UpgradeProgress *progress = nullptr,
                              QString schema = QStringLiteral("main"));

    const QString &lastError() const { return m_lastError; }

    bool tableExists(const QString &table) const;
    bool aIFExistsColumn(const QString &table, const QString &column) const;
    // Types: "text"/"string" (size, blank = 50), "number"/"numeric" (an
    // integer column), or a plain SQL type name such as "integer".
    bool aAddColumn(const QString &table, const QString &column, const QString &size, const QString &type);
    // Adds the column unless it is there already.
    bool ensureColumn(const QString &table, const QString &column, const QString &size, const QString &type);
    // Runs `createStatement` when `table` does not exist.
    bool CreateTableIFNotExists(const QString &table, const QString &createStatement);
    // Creates the import's column matching table with its default rows
    // when it is missing; an existing table keeps the user's matching.
    bool CreateMatchColumnTableIFNotExists();
    // Replaces every matching row by the default rows.
    bool resetMatchColumnDefaults();
    // Gives templates without a first name the part of the full name
    // before the first parenthesis (full-width first); names without one
    // stay empty.
    bool initTypeFirstNameValue();
    // Adds the field `name` (stored upper-cased) to the dictionary of
    // `family` unless the family has it; an existing row is left alone.
    bool aInsertNameDictItemIFLost(const QString &family, const QString &label, const QString &type,
                                   int showOrder, int printFlag, const QString &name);
    // "update table set column=value where condition": `condition` uses
    // "?" for each of `conditionValues`, empty means every row. Types:
    // "string"/"text"/"varchar", "number"/"integer", "numeric"/"float".
    bool aUpdateColumnValue(const QString &table, const QString &column, const QString &condition,
                            const QVariantList &conditionValues, const QString &type, const QVariant &value);
    // The package's "version" row in _Config (the table is created when
    // missing) holds `versionText`.
    bool CreateTemplateConfigTable(const QString &versionText);

private:
    QString qualified(const QString &table) const;
    bool run(const QString &sql, const QVariantList &values, QString *error) const;
    bool fail(const QString &message);
    void grow(int step, const QString &message) const;
    bool writeMatchColumnDefaults();

    const Database &m_db;
    UpgradeProgress *m_progress;
    QString m_schema;
    QString m_lastError;
};

} // namespace billprint
