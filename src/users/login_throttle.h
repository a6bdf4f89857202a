#pragma once

#include <QDateTime>

namespace billprint {

// Slows down guessing at the login window: after five failed logins in a
// row the next try has to wait thirty seconds. A good login starts the
// count again.
class LoginThrottle
{
public:
    static constexpr int kFreeTries = 5;
    static constexpr int kWaitSeconds = 30;

    // Seconds still to wait at `now` before another try is taken; 0 when
    // a try may go ahead.
    int secondsToWait(const QDateTime &now) const;
    void recordFailure(const QDateTime &now);
    void recordSuccess() { m_failures = 0; }

private:
    int m_failures = 0;
    QDateTime m_lastFailure;
};

} // namespace billprint
