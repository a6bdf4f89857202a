#include "maintenance/upgrade_progress.h"

#include <algorithm>

namespace billprint {

void UpgradeProgress::ProgressBarInit(int maximum)
{
    m_maximum = std::max(0, maximum);
    m_position = 0;
    m_message.clear();
    m_finished = false;
}

void UpgradeProgress::ProgressBarGrow(int step, const QString &message)
{
    m_position = std::min(m_maximum, m_position + step);
    m_message = message;
    notify();
}

void UpgradeProgress::ProgressBarEnd()
{
    m_position = m_maximum;
    m_message.clear();
    m_finished = true;
    notify();
}

QString UpgradeProgress::labelText() const
{
    QString text = QStringLiteral("进度:%1/%2").arg(m_position).arg(m_maximum);
    if (m_finished)
        return text + QStringLiteral("    升级完成！");
    if (!m_message.isEmpty())
        text += QStringLiteral(" >> ") + m_message;
    return text;
}

void UpgradeProgress::notify() const
{
    if (m_listener)
        m_listener(*this);
}

} // namespace billprint
