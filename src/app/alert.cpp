#include "app/alert.h"

#include <cstdio>

namespace billprint {

namespace {
AlertHandler &currentHandler()
{
    static AlertHandler handler;
    return handler;
}
} // namespace

AlertHandler setAlertHandler(AlertHandler handler)
{
    AlertHandler previous = std::move(currentHandler());
    currentHandler() = std::move(handler);
    return previous;
}

AlertAnswer showAlert(const AlertRequest &request)
{
    if (currentHandler())
        return currentHandler()(request);
    std::fprintf(stderr, "%s: %s\n", request.caption.toUtf8().constData(),
                 request.message.toUtf8().constData());
    return request.buttons == AlertButtons::Ok ? AlertAnswer::Ok : AlertAnswer::No;
}

bool alert(const QString &message, const QString &caption, bool ask)
{
    if (caption.isEmpty())
        return false;
    AlertRequest request{message, caption, AlertIcon::Information,
                         ask ? AlertButtons::YesNo : AlertButtons::Ok};
    return showAlert(request) == AlertAnswer::Yes && ask;
}

void tell(const QString &message, const QString &caption, AlertIcon icon)
{
    showAlert(AlertRequest{message, caption, icon, AlertButtons::Ok});
}

bool askYesNo(const QString &message, const QString &caption, AlertIcon icon)
{
    return showAlert(AlertRequest{message, caption, icon, AlertButtons::YesNo}) == AlertAnswer::Yes;
}

CollectedAlerts::CollectedAlerts()
    : m_previous(setAlertHandler([this](const AlertRequest &request) {
          m_messages << request.message;
          return AlertAnswer::No;
      }))
{
}

CollectedAlerts::~CollectedAlerts()
{
    setAlertHandler(m_previous);
}

} // namespace billprint
