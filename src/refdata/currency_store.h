#pragma once

#include "refdata/edit_outcome.h"

#include <QList>
#include <QString>

namespace billprint {

class Database;

struct Currency
{
    QString name;  // 币种
    QString code;  // 缩写, the symbol printed before an amount
};

// The currency list (table coins): names and codes are each unique without
// regard to letter case, and only a currency's code can be changed.
class CurrencyStore
{
public:
    // Longest name and code in GBK bytes (a Chinese character counts 2).
    static constexpr int kNameBytes = 8;
    static constexpr int kCodeBytes = 3;

    explicit CurrencyStore(const Database &db) : m_db(db) {}

    // Every currency, highest display order first; `error` receives the
    // database message when the list cannot be read.
    QList<Currency> loadAll(QString *error = nullptr) const;

    // Adds a currency with display order 0; name and code are trimmed.
    EditOutcome add(const QString &name, const QString &code) const;
    // Deletes the chosen currency (empty: none chosen).
    EditOutcome remove(const QString &chosenName) const;
    // Sets a new code for the chosen currency; `typedName` must still be
    // the chosen name.
    EditOutcome modify(const QString &chosenName, const QString &typedName, const QString &code) const;

private:
    bool nameTaken(const QString &name, QString *error) const;
    // True when a currency other than `exceptName` has the code.
    bool codeTaken(const QString &code, const QString &exceptName, QString *error) const;

    const Database &m_db;
};

} // namespace billprint
