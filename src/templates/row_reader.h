#pragma once

#include <QByteArray>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace billprint {

// Reads the columns of one query row by name, without regard to letter
// case. Older databases and template packages lack some columns, so every
// read says what to do then: a required column that is missing is noted
// (the caller refuses the row), an optional one yields the caller's
// default and is noted too (the caller may add it to the table).
// A column that exists but holds null reads as empty text or 0.
class RowReader
{
public:
    explicit RowReader(QSqlRecord record) : m_record(std::move(record)) {}

    bool has(const QString &column) const { return m_record.indexOf(column) >= 0; }

    QString text(const QString &column);
    int number(const QString &column);
    QString textOr(const QString &column, const QString &fallback);
    int numberOr(const QString &column, int fallback);
    // Empty when the column is missing or null; never noted as missing.
    QByteArray bytes(const QString &column) const;

    const QStringList &missingRequired() const { return m_missingRequired; }
    const QStringList &missingOptional() const { return m_missingOptional; }

    // Integer value of a stored number or numeric text; 0 for null or
    // anything that is not a number.
    static int toNumber(const QVariant &value);
    static QString toText(const QVariant &value);

private:
    QSqlRecord m_record;
    QStringList m_missingRequired;
    QStringList m_missingOptional;
};


// Text bound into a statement: never null, so text columns hold '' and
// not NULL (readers compare with '').
inline QVariant boundText(const QString &text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

} // namespace billprint
