#include "history/history_query.h"

#include "app/chinese_text.h"
#include "app/database.h"
#include "bills/bill_record.h"

#include <QStringList>

namespace billprint {

namespace {

// Collects the conditions of a statement and their values in order.
class Conditions
{
public:
    void add(const QString &condition, const QVariantList &values)
    {
        m_parts << condition;
        m_values << values;
    }
    QString where() const
    {
        return m_parts.isEmpty() ? QString() : QStringLiteral(" where ") + m_parts.join(QStringLiteral(" and "));
    }
    const QVariantList &values() const { return m_values; }

private:
    QStringList m_parts;
    QVariantList m_values;
};

// One text filter over one or more columns (any may match). Exact
// compares ignore letter case, as the containment mode's LIKE does.
void addTextFilter(Conditions &conditions, const SqlDialect &dialect, const QStringList &columns,
                   const QString &text, bool exact)
{
    if (text.isEmpty() || columns.isEmpty())
        return;
    QStringList any;
    QVariantList values;
    for (const QString &column : columns) {
        if (exact) {
            any << dialect.equalsIgnoringCase(quoteIdentifier(column));
            values << text;
        } else {
            any << dialect.likeIgnoringCase(quoteIdentifier(column));
            values << likeContainsPattern(text);
        }
    }
    conditions.add(any.size() == 1 ? any.first() : QLatin1Char('(') + any.join(QStringLiteral(" or ")) + QLatin1Char(')'),
                   values);
}

// The stored amount as a number. Written exactly like this in the
// schema's expression index, so that the index serves the bounds.
QString amountExpression(const SqlDialect &dialect, const QString &column)
{
    return dialect.number(quoteIdentifier(column));
}

// Adds a bound and tells whether the typed text was usable.
bool addAmountBound(Conditions &conditions, const SqlDialect &dialect, const QString &column, const QString &text,
                    const char *op)
{
    double value = 0;
    switch (readAmountBound(text, &value)) {
    case AmountBound::None:
        return true;
    case AmountBound::NotANumber:
        return false;
    case AmountBound::Number:
        conditions.add(amountExpression(dialect, column) + QLatin1Char(' ') + QLatin1String(op) + QStringLiteral(" ?"), {value});
        return true;
    }
    return true;
}

QString yearStart(int year)
{
    return QString::number(year) + QLatin1Char('-');
}

int dayNumber(const QDate &date)
{
    return date.year() * 10000 + date.month() * 100 + date.day();
}

void addDateRange(Conditions &conditions, const SqlDialect &dialect, const QString &column, const QDate &from,
                  const QDate &to)
{
    // Both forms of a date of year Y sort between "Y-" and "Y+1-" as text
    // ("-" sorts before "/"): that whole-year range keeps the column's
    // index in use, and the day number then compares the dates themselves
    // (dates in either stored form: "2024-03-05" and "2024/3/5").
    // A bare "2024" would not do: a column declared DATE turns it into a
    // number, and every text sorts after every number.
    conditions.add(quoteIdentifier(column) + QStringLiteral(" >= ?"), {yearStart(from.year())});
    conditions.add(quoteIdentifier(column) + QStringLiteral(" < ?"), {yearStart(to.year() + 1)});
    conditions.add(dialect.dayNumber(quoteIdentifier(column)) + QStringLiteral(" between ? and ?"),
                   {dayNumber(from), dayNumber(to)});
}

QString orderClause(const HistoryFamily &family, const HistoryOrder &order, const SqlDialect &dialect)
{
    const QString serial = quoteIdentifier(HistoryColumn::Serial);
    if (order.column.isEmpty())
        return QStringLiteral(" order by ") + serial;
    const QString direction = order.descending ? QStringLiteral(" desc") : QStringLiteral(" asc");
    // The stored amounts are text; they sort as the numbers they are.
    const bool amount = order.column.compare(family.sumColumn, Qt::CaseInsensitive) == 0;
    QString clause = QStringLiteral(" order by ")
                     + (amount ? amountExpression(dialect, order.column) : quoteIdentifier(order.column)) + direction;
    // Equal values keep a fixed order, so the list reads the same page by page.
    if (order.column.compare(HistoryColumn::Serial, Qt::CaseInsensitive) != 0)
        clause += QStringLiteral(", ") + serial + direction;
    return clause;
}

QString valueKey(const QVariant &v)
{
    return QString::number(v.metaType().id()) + QLatin1Char(':') + v.toString();
}

} // namespace

bool HistoryFilter::datesReversed() const
{
    return !anyDate && from.isValid() && to.isValid() && to < from;
}

HistoryOrder HistoryOrdering::next()
{
    if (m_rule == HistoryOrderRule::AlwaysDescending)
        return {m_column.isEmpty() ? HistoryColumn::Serial : m_column, true};
    if (m_column.isEmpty())
        return {};
    const bool descending = m_nextDescending;
    m_nextDescending = !m_nextDescending;
    return {m_column, descending};
}

AmountBound readAmountBound(const QString &text, double *value)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return AmountBound::None;
    bool ok = false;
    const double v = t.toDouble(&ok);
    // isNumberText lets "1.2.3" through; that is no amount either.
    if (!isNumberText(t) || !ok)
        return AmountBound::NotANumber;
    if (value)
        *value = v;
    return AmountBound::Number;
}

QString likeContainsPattern(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('%'), QLatin1String("\\%"));
    escaped.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

HistoryStatement buildHistoryStatement(const HistoryFamily &family, const HistoryFilter &filter,
                                       const HistoryOrder &order, const SqlDialect &dialect)
{
    Conditions conditions;
    addTextFilter(conditions, dialect, {family.numberColumn}, filter.number.trimmed(), filter.exact);
    addTextFilter(conditions, dialect, family.firstParty.columns, filter.firstParty.trimmed(), filter.exact);
    addTextFilter(conditions, dialect, family.secondParty.columns, filter.secondParty.trimmed(), filter.exact);
    if (!filter.anyDate && filter.from.isValid() && filter.to.isValid() && !filter.datesReversed())
        addDateRange(conditions, dialect, family.dateColumn, filter.from, filter.to);

    HistoryStatement st;
    if (family.hasAmountFilter()) {
        st.minAmountInvalid = !addAmountBound(conditions, dialect, family.amountColumn, filter.minAmount, ">=");
        st.maxAmountInvalid = !addAmountBound(conditions, dialect, family.amountColumn, filter.maxAmount, "<=");
    }
    if (family.hasTemplateFilter())
        addTextFilter(conditions, dialect, {HistoryColumn::TemplateName}, filter.templateName.trimmed(), filter.exact);

    st.table = family.table();
    st.where = conditions.where();
    st.values = conditions.values();
    st.order = orderClause(family, order, dialect);
    st.sumAmount = amountExpression(dialect, family.sumColumn);
    return st;
}

QString HistoryStatement::listSql() const
{
    return QStringLiteral("select * from ") + quoteIdentifier(table) + where + order;
}

QString HistoryStatement::pageSql() const
{
    return listSql() + QStringLiteral(" limit ? offset ?");
}

QString HistoryStatement::summarySql() const
{
    return QStringLiteral("select count(*), ") + sumExpression() + QStringLiteral(" from ") + quoteIdentifier(table)
           + where;
}

QString HistoryStatement::sumExpression() const
{
    // Each amount is the number its text starts with (blank counts 0),
    // rounded to whole cents: a sum of whole numbers stays exact.
    return QStringLiteral("sum(round(%1 * 100))").arg(sumAmount);
}

QString HistoryStatement::key() const
{
    QStringList parts{listSql()};
    for (const QVariant &v : values)
        parts << valueKey(v);
    return parts.join(QChar(0x1f));
}

QList<DateNode> dateNodes()
{
    return {DateNode::Today,     DateNode::LastThreeDays, DateNode::LastWeek, DateNode::LastMonth, DateNode::LastThreeMonths,
            DateNode::LastYear,  DateNode::ThisMonth,     DateNode::ThisYear, DateNode::Other};
}

QString dateNodeCaption(DateNode node)
{
    switch (node) {
    case DateNode::Today:
        return QStringLiteral("今天");
    case DateNode::LastThreeDays:
        return QStringLiteral("最近三天");
    case DateNode::LastWeek:
        return QStringLiteral("最近一周");
    case DateNode::LastMonth:
        return QStringLiteral("最近一个月");
    case DateNode::LastThreeMonths:
        return QStringLiteral("最近三个月");
    case DateNode::LastYear:
        return QStringLiteral("最近一年");
    case DateNode::ThisMonth:
        return QStringLiteral("本月内");
    case DateNode::ThisYear:
        return QStringLiteral("本年度内");
    case DateNode::Other:
        return QStringLiteral("其他日期");
    }
    return QString();
}

std::pair<QDate, QDate> dateNodeRange(DateNode node, const QDate &today)
{
    switch (node) {
    case DateNode::Today:
        return {today, today};
    case DateNode::LastThreeDays:
        return {today.addDays(-2), today};
    case DateNode::LastWeek:
        return {today.addDays(-6), today};
    case DateNode::LastMonth:
        return {today.addDays(-30), today};
    case DateNode::LastThreeMonths:
        return {today.addDays(-90), today};
    case DateNode::LastYear:
        return {today.addDays(-365), today};
    case DateNode::ThisMonth:
        return {QDate(today.year(), today.month(), 1), today};
    case DateNode::ThisYear:
        return {QDate(today.year(), 1, 1), today};
    case DateNode::Other:
        return {today.addDays(-548), today};
    }
    return {today, today};
}

} // namespace billprint
