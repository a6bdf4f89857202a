#pragma once

#include <QString>
#include <QStringList>

namespace billprint {

// A message of several lines as the one line a command prints on stderr.
inline QString oneLine(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString &line : lines)
        line = line.trimmed();
    return lines.join(QLatin1Char(' '));
}

} // namespace billprint
