#include "app/ui/dialog_buttons.h"

#include <QApplication>
#include <QKeyEvent>

namespace billprint {

namespace {

class EnterPressesFocusedButton : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto *button = qobject_cast<QPushButton *>(watched);
        if (!button || !button->hasFocus() || !button->isEnabled() || key->isAutoRepeat())
            return false;
        button->click();
        return true;
    }
};

} // namespace

void installEnterPressesFocusedButton()
{
    static EnterPressesFocusedButton *filter = nullptr;
    if (filter || !qApp)
        return;
    filter = new EnterPressesFocusedButton(qApp);
    qApp->installEventFilter(filter);
}

} // namespace billprint
