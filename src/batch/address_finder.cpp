#include "batch/address_finder.h"

#include <QHash>

namespace billprint {

int gbkLength(const QString &text)
{
    int length = 0;
    for (const QChar c : text)
        length += c.unicode() < 0x80 ? 1 : 2;
    return length;
}

const QRegularExpression &addressPattern(const QString &pattern)
{
    // Without Unicode properties, \s and \W keep their ASCII meaning, as
    // in the script engine the patterns were written for: a Chinese
    // character is a \W and never a \s.
    thread_local QHash<QString, QRegularExpression> compiled;
    auto it = compiled.find(pattern);
    if (it == compiled.end()) {
        QRegularExpression re(pattern);
        re.optimize();
        it = compiled.insert(pattern, re);
    }
    return it.value();
}

namespace {

QString lastMatch(const QString &text, const QRegularExpression &re)
{
    QString last;
    QRegularExpressionMatchIterator it = re.globalMatch(text);
    while (it.hasNext())
        last = it.next().captured(0);
    return last;
}

} // namespace

QStringList expressionFind(const QString &text, const QString &pattern, const QString &subPattern)
{
    QStringList results;
    const QRegularExpression &re = addressPattern(pattern);
    const QRegularExpression *sub = subPattern.isEmpty() ? nullptr : &addressPattern(subPattern);
    QRegularExpressionMatchIterator it = re.globalMatch(text);
    while (it.hasNext()) {
        QString value = it.next().captured(0).trimmed();
        const int colon = value.indexOf(QLatin1Char(':'));
        if (colon >= 0)
            value = value.mid(colon + 1).trimmed();
        if (sub)
            value = lastMatch(value, *sub).trimmed();
        if (!value.isEmpty())
            results << value;
    }
    return results;
}

QString expressionFindOne(const QString &text, const QString &pattern)
{
    return lastMatch(text, addressPattern(pattern)).trimmed();
}

} // namespace billprint
