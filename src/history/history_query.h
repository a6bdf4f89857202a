// The statement behind a history list: the filters a clerk sets, turned
// into one SQL statement with bound values, plus the order the family
// gives the list and the date ranges of the window's tree.
//
// Every typed value is bound, never spliced into the text: a payee called
// O'Brien or a number "50%" is searched for as it stands ("%" and "_" are
// no wildcards in containment mode). Dates compare as dates, whether
// stored as ISO text (this program) or as "yyyy/M/d" (earlier versions),
// and amounts as numbers (the stored text cast to a number), so 9 is less
// than 10 and 8 March lies before 10 March.
#pragma once

#include "app/sql_dialect.h"

#include "history/history_family.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariantList>
#include <utility>

namespace billprint {

struct HistoryFilter
{
    QString number;
    QString firstParty;
    QString secondParty;
    QString templateName;   // the waybill's template filter
    bool exact = false;     // "精确查询"; containment ("模糊查询") otherwise
    bool anyDate = true;    // "不限日期"
    QDate from;
    QDate to;
    QString minAmount;      // as typed
    QString maxAmount;

    // Both dates set, in force, and the second before the first.
    bool datesReversed() const;
};

// The order of one statement. An empty column means issue order.
struct HistoryOrder
{
    QString column;
    bool descending = false;
};

// Keeps the order state of a window: the clicked column and, on the
// cheque, the direction that reverses at every statement built.
class HistoryOrdering
{
public:
    explicit HistoryOrdering(HistoryOrderRule rule) : m_rule(rule) {}

    // A column title was clicked.
    void chooseColumn(const QString &column) { m_column = column; }
    const QString &column() const { return m_column; }
    // The order of the statement being built now.
    HistoryOrder next();

private:
    HistoryOrderRule m_rule;
    QString m_column;
    bool m_nextDescending = true;
};

// An amount bound as typed: empty (no bound), a number, or not a number.
enum class AmountBound { None, Number, NotANumber };
AmountBound readAmountBound(const QString &text, double *value = nullptr);

struct HistoryStatement
{
    QString table;
    QString where;         // "" or " where …" with ? for each value
    QVariantList values;
    QString order;         // " order by …"
    QString sumAmount;     // the sum column's text read as a number
    bool minAmountInvalid = false;
    bool maxAmountInvalid = false;

    // select * … where … order by …
    QString listSql() const;
    // The list statement with " limit ? offset ?" for the two extra values.
    QString pageSql() const;
    // select count(*), the sum in cents … where …
    QString summarySql() const;
    // The sum in cents of the rows a statement selects.
    QString sumExpression() const;
    // Equal for two statements that list the same rows in the same order.
    QString key() const;
    bool hasFilter() const { return !where.isEmpty(); }
};

// Builds the statement of `family` for `filter` in `order`. Dates are
// left out while "不限日期" is on and when they are reversed (the window
// refuses those before it builds); an amount bound that is no number is
// left out and marked in the statement. `dialect` is the database's.
HistoryStatement buildHistoryStatement(const HistoryFamily &family, const HistoryFilter &filter,
                                       const HistoryOrder &order, const SqlDialect &dialect);

// "%text%" with "\", "%" and "_" escaped for `like … escape '\'`.
QString likeContainsPattern(const QString &text);

// The date tree of the window.
enum class DateNode {
    Today,
    LastThreeDays,
    LastWeek,
    LastMonth,
    LastThreeMonths,
    LastYear,
    ThisMonth,
    ThisYear,
    Other,
};
QList<DateNode> dateNodes();
QString dateNodeCaption(DateNode node);
// The first and last day a node selects, counted from `today`.
std::pair<QDate, QDate> dateNodeRange(DateNode node, const QDate &today);

} // namespace billprint
