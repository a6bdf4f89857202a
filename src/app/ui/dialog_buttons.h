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

// Makes Enter press the push button that has the focus, in every window
// of the program. Qt leaves Enter on a button that is not a default
// button unanswered, and the program's buttons never are (see
// namedButton), so a user moving through a dialog with Enter would stop
// dead on its buttons. Installed once, on the application.
void installEnterPressesFocusedButton();

} // namespace billprint
