#pragma once

#include <QString>
#include <stdexcept>

namespace billprint {

// A template operation that could not be completed. The message is the
// text to show the user (usually the database's own message).
class TemplateError : public std::runtime_error
{
public:
    explicit TemplateError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}

    const QString &message() const { return m_message; }

private:
    QString m_message;
};

} // namespace billprint
