#pragma once

#include <QValidator>

namespace billprint {

// Accepts texts of at most `maxBytes` GBK bytes (a Chinese character counts
// 2), the way the stored columns measure them.
class GbkLengthValidator : public QValidator
{
    Q_OBJECT
public:
    GbkLengthValidator(int maxBytes, QObject *parent = nullptr) : QValidator(parent), m_maxBytes(maxBytes) {}
    State validate(QString &input, int &pos) const override;

private:
    int m_maxBytes;
};

} // namespace billprint
