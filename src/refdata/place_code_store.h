#pragma once

#include "refdata/edit_outcome.h"

#include <QString>
#include <QStringList>

namespace billprint {

class Database;

// The province and city pairs of table DMTable2 (kind "省市"). A province
// exists only through its cities; a pair is unique. Stored names are
// compared without their surrounding blanks, and new names are stored
// trimmed. The text replacement pairs of the same table (kind "其他字符")
// are not touched here.
class PlaceCodeStore
{
public:
    static const QString kKind;  // "省市"

    explicit PlaceCodeStore(const Database &db) : m_db(db) {}

    // Provinces and the cities of one province, in display order.
    // `error` receives the database message when they cannot be read.
    QStringList provinces(QString *error = nullptr) const;
    QStringList cities(const QString &province, QString *error = nullptr) const;

    EditOutcome add(const QString &province, const QString &city) const;
    // Renames a city of a province.
    EditOutcome modify(const QString &province, const QString &oldCity, const QString &newCity) const;
    // Deletes a city of a province (an empty city: none chosen).
    EditOutcome remove(const QString &province, const QString &city) const;

    // The pair as the messages show it: "P--C" in ASCII double quotes.
    static QString pairText(const QString &province, const QString &city);

private:
    bool pairExists(const QString &province, const QString &city, QString *error) const;

    const Database &m_db;
};

} // namespace billprint
