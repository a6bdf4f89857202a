#pragma once

#include <QString>

namespace billprint {

// What an add, modify or delete of reference data came to: whether the
// database changed, the message to show the user with its caption, and the
// input box that needs the user's attention.
struct EditOutcome
{
    enum class Status {
        Done,     // the database changed as asked
        Refused,  // the input broke a rule; nothing was written
        Failed,   // the database refused or changed nothing
    };
    enum class Field { None, First, Second };

    Status status = Status::Done;
    QString message;
    QString caption;
    Field focus = Field::None;

    bool ok() const { return status == Status::Done; }

    static EditOutcome done(const QString &message, const QString &caption)
    {
        return {Status::Done, message, caption, Field::None};
    }
    static EditOutcome refused(const QString &message, const QString &caption, Field focus = Field::None)
    {
        return {Status::Refused, message, caption, focus};
    }
    static EditOutcome failed(const QString &message, const QString &caption)
    {
        return {Status::Failed, message, caption, Field::None};
    }
};

} // namespace billprint
