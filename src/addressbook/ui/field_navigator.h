// Keyboard help for forms typed in quickly: Enter moves on to a chosen
// field, and entering or double-clicking a text field selects its text so
// that typing replaces it.
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

class QWidget;

namespace billprint {

class FieldNavigator : public QObject
{
    Q_OBJECT
public:
    explicit FieldNavigator(QObject *parent = nullptr);

    // Enter (or Return) in `from` moves the focus to `to`.
    void onEnter(QWidget *from, QWidget *to);
    // Any key in `from` is handled there first, then the focus moves to `to`.
    void onAnyKey(QWidget *from, QWidget *to);
    // Focus-in and double click select the whole text of `field` (a line
    // edit, an editable combo box or a plain text edit).
    void selectOnEntry(QWidget *field);

    // Selects the whole text of a field of one of the kinds above.
    static void selectAllText(QWidget *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watch(QWidget *widget);
    QWidget *fieldOf(QObject *watched) const;

    struct Route
    {
        QPointer<QWidget> to;
        bool anyKey = false;
    };
    QHash<QObject *, Route> m_routes;        // keyed by the field
    QHash<QObject *, QWidget *> m_owners;    // inner line edit -> field
    QHash<QObject *, bool> m_selectOnEntry;  // keyed by the field
};

} // namespace billprint
