#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace billprint {

// Every message box and question of the program goes through here, so
// that the windows install a real message box and tests record and answer.
enum class AlertIcon { Information, Warning, Error, Question };
enum class AlertButtons { Ok, YesNo, YesNoCancel };
enum class AlertAnswer { Ok, Yes, No, Cancel };

struct AlertRequest
{
    QString message;
    QString caption;
    AlertIcon icon = AlertIcon::Information;
    AlertButtons buttons = AlertButtons::Ok;
};

using AlertHandler = std::function<AlertAnswer(const AlertRequest &)>;

// Installs the handler and returns the previous one. Without a handler the
// message goes to standard error and questions are answered No.
AlertHandler setAlertHandler(AlertHandler handler);
AlertAnswer showAlert(const AlertRequest &request);

// While it lives, messages are collected instead of shown and questions are
// answered No; the previous handler comes back when it goes. The headless
// commands turn what was collected into their error and warning lines.
class CollectedAlerts
{
public:
    CollectedAlerts();
    ~CollectedAlerts();
    CollectedAlerts(const CollectedAlerts &) = delete;
    CollectedAlerts &operator=(const CollectedAlerts &) = delete;

    QStringList &messages() { return m_messages; }

private:
    QStringList m_messages;
    AlertHandler m_previous;
};

// Shows `message` under `caption` with the information icon. With `ask`
// the user answers Yes or No and the result is true only for Yes. An empty
// caption shows nothing and yields false.
bool alert(const QString &message, const QString &caption, bool ask = false);

// Short forms for the usual messages.
void tell(const QString &message, const QString &caption = QStringLiteral("提示"),
          AlertIcon icon = AlertIcon::Information);
bool askYesNo(const QString &message, const QString &caption = QStringLiteral("确认"),
              AlertIcon icon = AlertIcon::Question);

} // namespace billprint
