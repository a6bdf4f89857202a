#include "app/debug_log.h"

namespace billprint {

IniFile &DebugLog::OpenDebugInif()
{
    if (!m_ini)
        m_ini = std::make_unique<IniFile>(m_path);
    return *m_ini;
}

void DebugLog::DebugOut(const QString &key, const QString &text)
{
    OpenDebugInif().writeString(QStringLiteral("debug"), key, text);
}

void DebugLog::DebugOutN(const QString &prefix, const QString &text)
{
    ++m_counter;
    DebugOut(prefix + QLatin1Char('-') + QString::number(m_counter), text);
}

} // namespace billprint
