#include "app/ui/gbk_length_validator.h"

#include "app/chinese_text.h"

namespace billprint {

QValidator::State GbkLengthValidator::validate(QString &input, int &) const
{
    // Blanks around the text are trimmed before it is stored.
    return gbkWidth(input.trimmed()) <= m_maxBytes ? Acceptable : Invalid;
}

} // namespace billprint
