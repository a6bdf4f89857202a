#pragma once

#include <QString>
#include <functional>

namespace billprint {

// The position of a running data upgrade out of a fixed maximum, with the
// text of the step under way. The upgrade window shows it in its progress
// bar, the headless command prints every step.
class UpgradeProgress
{
public:
    using Listener = std::function<void(const UpgradeProgress &)>;

    void setListener(Listener listener) { m_listener = std::move(listener); }

    void ProgressBarInit(int maximum);
    // Adds `step` (the bar stops at its maximum) and names what is done.
    void ProgressBarGrow(int step, const QString &message = QString());
    void ProgressBarEnd();

    int position() const { return m_position; }
    int maximum() const { return m_maximum; }
    const QString &message() const { return m_message; }
    // "进度:12/150 >> 升级表存储结构...CKControl"
    QString labelText() const;

private:
    void notify() const;

    Listener m_listener;
    int m_position = 0;
    int m_maximum = 0;
    QString m_message;
    bool m_finished = false;
};

} // namespace billprint
