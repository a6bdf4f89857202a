#include "templates/template_edit.h"

#include "app/alert.h"
#include "app/database.h"
#include "templates/template_error.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QUndoStack>

namespace billprint {

namespace {

const QStringList &editableColumns(ColumnEdit::Table table)
{
    static const QStringList field = {
        QStringLiteral("CtlX"),        QStringLiteral("CtlY"),        QStringLiteral("CtlW"),
        QStringLiteral("CtlH"),        QStringLiteral("CtlLH"),       QStringLiteral("SrcX"),
        QStringLiteral("SrcY"),        QStringLiteral("SrcW"),        QStringLiteral("SrcH"),
        QStringLiteral("NeedShow"),    QStringLiteral("NeedPrint"),   QStringLiteral("CtlFontName"),
        QStringLiteral("CtlFontSize"), QStringLiteral("Bold"),        QStringLiteral("Italic"),
        QStringLiteral("UnderLine"),   QStringLiteral("BreakNum"),    QStringLiteral("BreakFontSize"),
        QStringLiteral("FitParam"),    QStringLiteral("Align"),       QStringLiteral("InitValue")};
    static const QStringList catalogue = {QStringLiteral("CtlData")};
    static const QStringList templateRow = {QStringLiteral("PWidth"), QStringLiteral("PHeight"),
                                            QStringLiteral("CheckBoxs")};
    switch (table) {
    case ColumnEdit::Table::Field: return field;
    case ColumnEdit::Table::Catalogue: return catalogue;
    case ColumnEdit::Table::Template: return templateRow;
    }
    return field;
}

QString statementFor(const ColumnEdit &edit)
{
    switch (edit.table) {
    case ColumnEdit::Table::Field:
        return QStringLiteral("update CkControl set %1=? where CheckTypeID=? and upper(CtlName)=upper(?)")
            .arg(edit.column);
    case ColumnEdit::Table::Catalogue:
        return QStringLiteral("update NameDict set %1=? where CheckTypeName=? and upper(CtlName)=upper(?)")
            .arg(edit.column);
    case ColumnEdit::Table::Template:
        return QStringLiteral("update CKTypeTable set %1=? where CheckTypeID=?").arg(edit.column);
    }
    return QString();
}

QString countFor(const ColumnEdit &edit)
{
    switch (edit.table) {
    case ColumnEdit::Table::Field:
        return QStringLiteral("select count(*) from CkControl where CheckTypeID=? and upper(CtlName)=upper(?)");
    case ColumnEdit::Table::Catalogue:
        return QStringLiteral("select count(*) from NameDict where CheckTypeName=? and upper(CtlName)=upper(?)");
    case ColumnEdit::Table::Template:
        return QStringLiteral("select count(*) from CKTypeTable where CheckTypeID=?");
    }
    return QString();
}

QVariantList keysFor(const ColumnEdit &edit, const QVariant &value)
{
    // Text columns never hold NULL: readers compare with ''.
    const QVariant bound = value.isNull() ? QVariant(QStringLiteral("")) : value;
    switch (edit.table) {
    case ColumnEdit::Table::Field: return {bound, edit.checkTypeId, edit.ctlName.trimmed()};
    case ColumnEdit::Table::Catalogue: return {bound, edit.family, edit.ctlName.trimmed()};
    case ColumnEdit::Table::Template: return {bound, edit.checkTypeId};
    }
    return {};
}

} // namespace

ColumnEdit ColumnEdit::field(int checkTypeId, const QString &ctlName, const QString &column, const QVariant &before,
                             const QVariant &after)
{
    return {Table::Field, checkTypeId, QString(), ctlName, column, before, after};
}

ColumnEdit ColumnEdit::catalogue(const QString &family, const QString &ctlName, const QString &column,
                                 const QVariant &before, const QVariant &after)
{
    return {Table::Catalogue, 0, family, ctlName, column, before, after};
}

ColumnEdit ColumnEdit::templateRow(int checkTypeId, const QString &column, const QVariant &before,
                                   const QVariant &after)
{
    return {Table::Template, checkTypeId, QString(), QString(), column, before, after};
}

bool TemplateEditWriter::isEditableColumn(ColumnEdit::Table table, const QString &column)
{
    return editableColumns(table).contains(column);
}

int TemplateEditWriter::matchingRows(const ColumnEdit &edit) const
{
    QVariantList keys = keysFor(edit, QVariant());
    keys.removeFirst();  // the value set; the rest are the row's keys
    QSqlQuery q = m_db.prepare(countFor(edit));
    for (const QVariant &key : keys)
        q.addBindValue(key);
    if (!q.exec() || !q.next())
        throw TemplateError(q.lastError().text());
    return q.value(0).toInt();
}

namespace {

// True when a step touches the versioned template itself (its fields or
// its row), not only the family's catalogue.
bool touchesTemplate(const std::vector<ColumnEdit> &edits, int checkTypeId)
{
    for (const ColumnEdit &edit : edits)
        if (edit.table != ColumnEdit::Table::Catalogue && edit.checkTypeId == checkTypeId)
            return true;
    return false;
}

} // namespace

int TemplateEditWriter::write(const std::vector<ColumnEdit> &edits, bool undo, TemplateVersion *version,
                              bool overwrite) const
{
    for (const ColumnEdit &edit : edits)
        if (!isEditableColumn(edit.table, edit.column))
            throw TemplateError(QStringLiteral("不能修改的列：") + edit.column);
    int changed = 0;
    QString error;
    bool changedElsewhere = false;
    int raised = version ? version->read : 0;
    const bool versioned = version && touchesTemplate(edits, version->checkTypeId);
    const bool ok = m_db.transaction([&] {
        if (versioned) {
            switch (raiseRowVersion(m_db, {QStringLiteral("CKTypeTable"), QStringLiteral("CheckTypeID"),
                                           version->checkTypeId},
                                    version->read, overwrite, &raised, &error)) {
            case VersionStep::Failed: return false;
            case VersionStep::ChangedElsewhere: changedElsewhere = true; return false;
            case VersionStep::NoRow: break;  // deleted meanwhile: the edits find no rows
            case VersionStep::Raised: break;
            }
        }
        for (const ColumnEdit &edit : edits) {
            int rows = 0;
            if (!m_db.exec(statementFor(edit), keysFor(edit, undo ? edit.before : edit.after), &error, &rows))
                return false;
            changed += rows;
        }
        return true;
    }, &error);
    if (changedElsewhere)
        throw TemplateChangedElsewhere();
    if (!ok)
        throw TemplateError(error);
    if (versioned)
        version->read = raised;
    return changed;
}

TemplateEditCommand::TemplateEditCommand(const Database &db, const QString &text, std::vector<ColumnEdit> edits,
                                         std::function<void()> afterWrite)
    : m_db(db), m_edits(std::move(edits)), m_afterWrite(std::move(afterWrite))
{
    setText(text);
}

void TemplateEditCommand::keepOnly(std::vector<ColumnEdit> edits)
{
    m_edits = std::move(edits);
}

void TemplateEditCommand::apply()
{
    write(false);
    m_written = true;
}

void TemplateEditCommand::redo()
{
    if (m_written) {
        m_written = false;  // pushed after apply(): the rows hold the values already
        return;
    }
    writeTelling(false);
}

void TemplateEditCommand::undo()
{
    writeTelling(true);
}

void TemplateEditCommand::writeTelling(bool undo)
{
    // Called by the stack from a menu or key: no exception may leave here.
    try {
        write(undo);
    } catch (const TemplateChangedElsewhere &) {
        // The user kept the other desk's save; nothing to tell.
    } catch (const TemplateError &e) {
        tell(QStringLiteral("保存错误") + e.message(), QStringLiteral("错误"), AlertIcon::Error);
    }
}

void TemplateEditCommand::write(bool undo)
{
    const TemplateEditWriter writer(m_db);
    try {
        writer.write(m_edits, undo, m_version.get());
    } catch (const TemplateChangedElsewhere &) {
        if (!askYesNo(kChangedElsewhereQuestion, QStringLiteral("提示")))
            throw;
        writer.write(m_edits, undo, m_version.get(), true);
    }
    if (m_afterWrite)
        m_afterWrite();
}

bool TemplateEditCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = dynamic_cast<const TemplateEditCommand *>(other);
    if (!next || next->m_mergeKey != m_mergeKey || next->m_edits.size() != m_edits.size())
        return false;
    for (size_t i = 0; i < m_edits.size(); ++i) {
        const ColumnEdit &a = m_edits[i];
        const ColumnEdit &b = next->m_edits[i];
        if (a.table != b.table || a.checkTypeId != b.checkTypeId || a.family != b.family
            || a.ctlName.compare(b.ctlName, Qt::CaseInsensitive) != 0 || a.column != b.column)
            return false;
    }
    for (size_t i = 0; i < m_edits.size(); ++i)
        m_edits[i].after = next->m_edits[i].after;
    return true;
}

bool pushTemplateEdit(QUndoStack &stack, std::unique_ptr<TemplateEditCommand> command, QString *error)
{
    std::vector<ColumnEdit> real;
    for (const ColumnEdit &edit : command->edits())
        if (edit.changes())
            real.push_back(edit);
    if (real.empty())
        return true;
    command->keepOnly(std::move(real));
    try {
        command->apply();
    } catch (const TemplateChangedElsewhere &) {
        if (error)
            error->clear();
        return false;
    } catch (const TemplateError &e) {
        if (error)
            *error = e.message();
        return false;
    }
    stack.push(command.release());
    return true;
}

} // namespace billprint
