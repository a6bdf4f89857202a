#include "templates/row_reader.h"

#include <QSqlError>

#include <cmath>
#include <limits>

namespace billprint {

int RowReader::toNumber(const QVariant &value)
{
    if (value.isNull())
        return 0;
    bool ok = false;
    const QString text = value.toString().trimmed();
    const qlonglong whole = text.toLongLong(&ok);
    if (ok)
        return int(qBound(qlonglong(std::numeric_limits<int>::min()), whole,
                          qlonglong(std::numeric_limits<int>::max())));
    const double real = text.toDouble(&ok);
    if (!ok || !std::isfinite(real))
        return 0;
    return int(qBound(double(std::numeric_limits<int>::min()), std::trunc(real),
                      double(std::numeric_limits<int>::max())));
}

QString RowReader::toText(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

QString RowReader::text(const QString &column)
{
    const int index = m_record.indexOf(column);
    if (index < 0) {
        m_missingRequired << column;
        return QString();
    }
    return toText(m_record.value(index));
}

int RowReader::number(const QString &column)
{
    const int index = m_record.indexOf(column);
    if (index < 0) {
        m_missingRequired << column;
        return 0;
    }
    return toNumber(m_record.value(index));
}

QString RowReader::textOr(const QString &column, const QString &fallback)
{
    const int index = m_record.indexOf(column);
    if (index < 0) {
        m_missingOptional << column;
        return fallback;
    }
    return toText(m_record.value(index));
}

int RowReader::numberOr(const QString &column, int fallback)
{
    const int index = m_record.indexOf(column);
    if (index < 0) {
        m_missingOptional << column;
        return fallback;
    }
    return toNumber(m_record.value(index));
}

QByteArray RowReader::bytes(const QString &column) const
{
    const int index = m_record.indexOf(column);
    if (index < 0 || m_record.value(index).isNull())
        return QByteArray();
    return m_record.value(index).toByteArray();
}

} // namespace billprint
