#include "users/login_throttle.h"

namespace billprint {

int LoginThrottle::secondsToWait(const QDateTime &now) const
{
    if (m_failures < kFreeTries)
        return 0;
    const qint64 passed = m_lastFailure.secsTo(now);
    return passed >= kWaitSeconds ? 0 : int(kWaitSeconds - passed);
}

void LoginThrottle::recordFailure(const QDateTime &now)
{
    ++m_failures;
    m_lastFailure = now;
}

} // namespace billprint
