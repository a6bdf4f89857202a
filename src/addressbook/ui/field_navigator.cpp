#include "addressbook/ui/field_navigator.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

namespace billprint {

FieldNavigator::FieldNavigator(QObject *parent) : QObject(parent) {}

void FieldNavigator::watch(QWidget *widget)
{
    if (m_owners.contains(widget))
        return;
    widget->installEventFilter(this);
    m_owners.insert(widget, widget);
    // Keys and clicks of an editable combo box reach its line edit.
    if (auto *combo = qobject_cast<QComboBox *>(widget); combo && combo->lineEdit()) {
        combo->lineEdit()->installEventFilter(this);
        m_owners.insert(combo->lineEdit(), widget);
    }
    // A plain text edit's clicks land on its viewport.
    if (auto *text = qobject_cast<QPlainTextEdit *>(widget)) {
        text->viewport()->installEventFilter(this);
        m_owners.insert(text->viewport(), widget);
    }
    connect(widget, &QObject::destroyed, this, [this](QObject *gone) {
        m_routes.remove(gone);
        m_selectOnEntry.remove(gone);
        for (auto it = m_owners.begin(); it != m_owners.end();)
            it = (it.value() == gone || it.key() == gone) ? m_owners.erase(it) : std::next(it);
    });
}

void FieldNavigator::onEnter(QWidget *from, QWidget *to)
{
    watch(from);
    m_routes.insert(from, Route{to, false});
}

void FieldNavigator::onAnyKey(QWidget *from, QWidget *to)
{
    watch(from);
    m_routes.insert(from, Route{to, true});
}

void FieldNavigator::selectOnEntry(QWidget *field)
{
    watch(field);
    m_selectOnEntry.insert(field, true);
}

QWidget *FieldNavigator::fieldOf(QObject *watched) const
{
    return m_owners.value(watched, nullptr);
}

void FieldNavigator::selectAllText(QWidget *field)
{
    if (auto *edit = qobject_cast<QLineEdit *>(field))
        edit->selectAll();
    else if (auto *combo = qobject_cast<QComboBox *>(field); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
    else if (auto *text = qobject_cast<QPlainTextEdit *>(field))
        text->selectAll();
}

bool FieldNavigator::eventFilter(QObject *watched, QEvent *event)
{
    QWidget *field = fieldOf(watched);
    if (!field)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto route = m_routes.constFind(field);
        if (route == m_routes.constEnd() || !route->to)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        // Tab and Shift+Tab keep their meaning, so the user is never held
        // in a field; a modifier alone is not a key typed.
        const bool navigationOnly = key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Shift
                                    || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta;
        if (route->anyKey && !navigationOnly) {
            // The key still does its work in the field (a list takes the
            // item it names); the focus moves once it is done.
            QPointer<QWidget> to = route->to;
            QTimer::singleShot(0, this, [to] {
                if (to)
                    to->setFocus(Qt::TabFocusReason);
            });
            return false;
        }
        if (!route->anyKey && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            route->to->setFocus(Qt::TabFocusReason);
            return true;
        }
        return false;
    }
    case QEvent::FocusIn:
        if (m_selectOnEntry.contains(field)
            && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
            // After the click that gave the focus has placed the cursor.
            QPointer<QWidget> target = field;
            QTimer::singleShot(0, this, [target] {
                if (target)
                    selectAllText(target);
            });
        }
        return false;
    case QEvent::MouseButtonDblClick:
        if (m_selectOnEntry.contains(field)) {
            selectAllText(field);
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace billprint
