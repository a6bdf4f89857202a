#pragma once

#include <QPushButton>
#include <QString>

namespace billprint {

// A push button of a dialog, named for lookups and tests. It never acts
// as the default button, so Enter in an edit box does not press it.
inline QPushButton *namedButton(QWidget *parent, const QString &objectName, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

} // namespace billprint
