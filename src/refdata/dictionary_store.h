#pragma once

#include "refdata/edit_outcome.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace billprint {

class Database;

// One dictionary entry: a value of the list `name`, for one bill type
// (template) or, with bill type 0, for all of them.
struct DictionaryEntry
{
    int id = -1;  // DMTable.ID; -1 for an entry not stored yet
    QString name;
    QString value;
    int checkTypeId = 0;
};

// The dictionary lists of table DMTable. Rows whose name begins with "cfg"
// are template options, not dictionary lists: they are never listed here
// and no list may be given such a name.
class DictionaryStore
{
public:
    static const QString kPlaceholder;  // "<空>", the first value of a new list
    static constexpr int kNameLength = 50;
    static constexpr int kValueLength = 200;

    explicit DictionaryStore(const Database &db) : m_db(db) {}

    // The names offered by the name box of the dictionary window.
    static QStringList presetNames();
    static bool isOptionName(const QString &name);

    // Names of the lists of a bill type; a bill type without lists of its
    // own shows the shared ones (bill type 0).
    QStringList loadNames(int checkTypeId, QString *error = nullptr) const;
    // Entries of a list for the bill type, with the shared entries too when
    // asked, in display order of their values. On failure `error` receives
    // the message for the user, with the statement that failed.
    QList<DictionaryEntry> loadEntries(const QString &name, int checkTypeId, bool includeShared,
                                       QString *error = nullptr) const;

    // Creates the list `name` for the bill type with the placeholder value.
    EditOutcome createList(const QString &typedName, int checkTypeId) const;
    // Stores a new entry; `entry.id` receives the new row's id.
    EditOutcome addEntry(DictionaryEntry &entry) const;
    // Changes the value of a stored entry; its bill type stays as it is.
    EditOutcome updateEntry(int id, const QString &value) const;
    EditOutcome removeEntry(int id) const;

private:
    const Database &m_db;
};

} // namespace billprint
