// Edits of the designers as undoable steps. Every step is written to the
// template tables when it is made, as the designers always did, and undoing
// it writes the values it replaced back; one step may span many rows (a
// batch operation, a drag of several items) and is then written in one
// transaction, so it lands or fails whole.
#pragma once

#include "app/row_version.h"
#include "templates/template_error.h"

#include <QString>
#include <QUndoCommand>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

namespace billprint {

class Database;

// One column of one row: a field of a template (CkControl, by template id
// and field name), a field of a family's catalogue (NameDict, by family and
// field name) or a template itself (CKTypeTable, by template id).
struct ColumnEdit
{
    enum class Table { Field, Catalogue, Template };
    Table table = Table::Field;
    int checkTypeId = 0;
    QString family;
    QString ctlName;
    QString column;
    QVariant before;
    QVariant after;

    static ColumnEdit field(int checkTypeId, const QString &ctlName, const QString &column, const QVariant &before,
                            const QVariant &after);
    static ColumnEdit catalogue(const QString &family, const QString &ctlName, const QString &column,
                                const QVariant &before, const QVariant &after);
    static ColumnEdit templateRow(int checkTypeId, const QString &column, const QVariant &before,
                                  const QVariant &after);
    bool changes() const { return before.toString() != after.toString(); }
};

// The template a designer edits as it read it: its RowVersion. Each step
// written on the template raises the version, only while it still is the
// one read; a step that finds another version was preceded by another
// desk's save, and writes only when the user agrees to overwrite it.
struct TemplateVersion
{
    int checkTypeId = 0;
    int read = 0;
};

// Thrown by a versioned write that found the template saved elsewhere
// (nothing written), and by a step whose overwrite the user declined.
class TemplateChangedElsewhere : public TemplateError
{
public:
    TemplateChangedElsewhere() : TemplateError(kChangedElsewhereQuestion) {}
};

// Writes edits. Only the columns the designers edit are accepted, so a
// column name never comes from anywhere else into a statement; the values
// are bound. Failures throw TemplateError.
class TemplateEditWriter
{
public:
    explicit TemplateEditWriter(const Database &db) : m_db(db) {}

    // Writes every edit's `after` value (or with `undo` its `before` value)
    // in one transaction. Returns the number of rows changed.
    // With `version`, edits of that template raise its version (see
    // TemplateVersion) and throw TemplateChangedElsewhere, writing
    // nothing, when it is no longer the one read, unless `overwrite`; the
    // version then holds the raised one.
    int write(const std::vector<ColumnEdit> &edits, bool undo = false, TemplateVersion *version = nullptr,
              bool overwrite = false) const;

    // How many rows the edit's statement would change: exactly one is a
    // field as the designers know it; none or several mean the rows are not
    // what was loaded (deleted meanwhile, or duplicated).
    int matchingRows(const ColumnEdit &edit) const;

    static bool isEditableColumn(ColumnEdit::Table table, const QString &column);

private:
    const Database &m_db;
};

// One step on a designer's undo stack. Build it from edits whose `before`
// values are what the rows hold now; `apply` writes it, and only a step
// that was written goes on the stack (see pushTemplateEdit).
class TemplateEditCommand : public QUndoCommand
{
public:
    TemplateEditCommand(const Database &db, const QString &text, std::vector<ColumnEdit> edits,
                        std::function<void()> afterWrite);

    // Drops the edits that change nothing.
    void keepOnly(std::vector<ColumnEdit> edits);
    // The designer's version of its template; the step checks and raises
    // it and asks before overwriting another desk's save.
    void setVersion(std::shared_ptr<TemplateVersion> version) { m_version = std::move(version); }
    // Writes the step now; throws TemplateError when it could not.
    void apply();
    void redo() override;
    void undo() override;

    const std::vector<ColumnEdit> &edits() const { return m_edits; }

    // Steps with the same key that follow each other become one step (the
    // clicks on a number box's arrows); empty never merges.
    void setMergeKey(const QString &key) { m_mergeKey = key; }
    int id() const override { return m_mergeKey.isEmpty() ? -1 : 1; }
    bool mergeWith(const QUndoCommand *other) override;

private:
    void write(bool undo);
    void writeTelling(bool undo);

    const Database &m_db;
    std::vector<ColumnEdit> m_edits;
    std::function<void()> m_afterWrite;  // the window redraws what changed
    QString m_mergeKey;
    std::shared_ptr<TemplateVersion> m_version;
    bool m_written = false;              // the first redo (by the stack's push) is the write already made
};

// Writes the step and puts it on `stack`; false with `error` when the write
// failed (nothing is then changed and nothing pushed). False with `error`
// empty when the template was saved elsewhere and the user chose not to
// overwrite it: nothing was written, and nothing needs telling. A step without any
// change is dropped and counts as done.
bool pushTemplateEdit(QUndoStack &stack, std::unique_ptr<TemplateEditCommand> command, QString *error);

} // namespace billprint
