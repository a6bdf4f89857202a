// The two finder operations the address parser is built from, and the
// byte length the parser compares texts by.
#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace billprint {

// Length of the text in the GBK code page: a Chinese character counts 2.
int gbkLength(const QString &text);

// The compiled expression for a pattern; every pattern is compiled once
// per thread and kept, because the parser runs the same few dozen
// patterns on every text.
const QRegularExpression &addressPattern(const QString &pattern);
// The same for a pattern written as a literal in the code: found again by
// where it is written, without converting and hashing its text each time.
const QRegularExpression &literalPattern(const char *pattern);
// The group of the first match of a literal pattern; empty when none.
QString literalCapture(const QString &text, const char *pattern, int group = 1);

// All matches of `pattern` in `text`, left to right and not overlapping,
// each trimmed and cut after its first ASCII colon; with a sub-pattern
// each result is then replaced by the last match of the sub-pattern in it.
// Empty results are dropped.
QStringList expressionFind(const QString &text, const QString &pattern,
                           const QString &subPattern = QString());
// The last match of `pattern` in `text`, trimmed; empty when none.
QString expressionFindOne(const QString &text, const QString &pattern);

// Whether a road, street or building name goes on at `pos`, so that the
// place name before it is part of that name ("中山路", "北京西路", "深南大道").
bool roadFollows(const QString &text, int pos);

} // namespace billprint
