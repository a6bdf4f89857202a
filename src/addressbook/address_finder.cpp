#include "addressbook/address_finder.h"

#include <unordered_map>

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
    // Node-based, so that a reference handed out stays valid when later
    // patterns are added.
    thread_local std::unordered_map<QString, QRegularExpression> compiled;
    // The patterns are long and asked for hundreds of times per text:
    // found first by where their characters are held. The cache keeps a
    // copy of each pattern string, so the characters stay where they are
    // and one address always means one pattern.
    thread_local std::unordered_map<const QChar *, std::pair<QString, const QRegularExpression *>> byData;
    const auto known = byData.find(pattern.constData());
    if (known != byData.end() && known->second.first.size() == pattern.size())
        return *known->second.second;
    auto it = compiled.find(pattern);
    if (it == compiled.end()) {
        it = compiled.emplace(pattern, QRegularExpression(pattern)).first;
        it->second.optimize();
    }
    if (pattern.constData() == it->first.constData())
        byData[it->first.constData()] = {it->first, &it->second};
    return it->second;
}

const QRegularExpression &literalPattern(const char *pattern)
{
    thread_local std::unordered_map<const char *, const QRegularExpression *> byAddress;
    const QRegularExpression *&found = byAddress[pattern];
    if (!found)
        found = &addressPattern(QString::fromUtf8(pattern));
    return *found;
}

QString literalCapture(const QString &text, const char *pattern, int group)
{
    const QRegularExpressionMatch m = literalPattern(pattern).match(text);
    return m.hasMatch() ? m.captured(group) : QString();
}

namespace {

// PCRE checks the whole text before every match; a text of valid UTF-16
// (no lone surrogate) is checked here once instead.
QRegularExpression::MatchOptions checkedOnce(const QString &text)
{
    const QChar *c = text.constData();
    const QChar *end = c + text.size();
    for (; c != end; ++c) {
        if (c->isHighSurrogate() && c + 1 != end && (c + 1)->isLowSurrogate())
            ++c;
        else if (c->isSurrogate())
            return QRegularExpression::NoMatchOption;
    }
    return QRegularExpression::DontCheckSubjectStringMatchOption;
}

QString lastMatch(const QString &text, const QRegularExpression &re)
{
    QString last;
    QRegularExpressionMatchIterator it = re.globalMatch(text, 0, QRegularExpression::NormalMatch, checkedOnce(text));
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
    QRegularExpressionMatchIterator it = re.globalMatch(text, 0, QRegularExpression::NormalMatch, checkedOnce(text));
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

// A place name that a road, street or building is named after
// ("中山路", "北京西路", "深南大道") is no region.
bool roadFollows(const QString &text, int pos)
{
    static const QString roadSigns = QStringLiteral("路街道巷弄里桥胡");
    static const QString directions = QStringLiteral("东西南北中");
    if (pos >= text.size())
        return false;
    QChar c = text.at(pos);
    if (directions.contains(c) && pos + 1 < text.size()) {
        const QChar next = text.at(pos + 1);
        if (roadSigns.contains(next) || next == QStringLiteral("大").at(0))
            return true;
    }
    if (roadSigns.contains(c))
        return true;
    if (c == QStringLiteral("大").at(0) && pos + 1 < text.size())
        return QStringLiteral("道街厦学").contains(text.at(pos + 1));
    return false;
}

} // namespace billprint
