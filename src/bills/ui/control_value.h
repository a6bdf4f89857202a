// Reading the values of a bill window's fields for printing.
#pragma once

#include "printing/print_run.h"

#include <QHash>
#include <QPointer>
#include <QSet>
#include <QString>
#include <functional>

class QWidget;

namespace billprint {

class AppContext;

// The value of field `name` (letter case ignored) on a bill window, as the
// print run reads it. `container` is the bill panel (its own fields first,
// then the whole bill window it belongs to) or the bill window itself.
//
// Only a field that shows (or would show once its window does) has a value:
// the text of an edit, multi-line, combo box or label; "√" for a ticked
// check box; the picture format of a picture label. A hidden field is empty,
// so a field suppressed by an option is not printed. A missing field is
// empty and leaves "getControlValue-N = <name>=nil  not found." in
// Debug.ini; a field of a kind with no printable value tells the user and
// is empty.
QString getControlValue(AppContext &context, QWidget *container, const QString &name);

// Finds the fields of a bill window by name as getControlValue does, each
// name once: a print document asks every page for the same fields, and the
// window's fields do not change while it prints. Keep one only as long as
// that holds.
class ControlLookup
{
public:
    explicit ControlLookup(QWidget *container) : m_container(container) {}
    QWidget *container() const { return m_container; }
    // The field (null when the window has none by that name).
    QWidget *find(const QString &name);

private:
    QPointer<QWidget> m_container;
    QHash<QString, QPointer<QWidget>> m_found;  // upper-case name -> field
    QSet<QString> m_missing;
};

// getControlValue through a lookup that remembers the fields.
QString getControlValue(AppContext &context, ControlLookup &lookup, const QString &name);

// The bill window's fields as a print run reads them. The window adds its
// currency and its family's skip rules through the three hooks.
class WidgetValueSource : public FieldValueSource
{
public:
    WidgetValueSource(AppContext &context, QWidget *panel) : m_ctx(context), m_panel(panel) {}
    // Reads through `lookup` (whose container is the panel) while it is set.
    WidgetValueSource(AppContext &context, ControlLookup *lookup)
        : m_ctx(context), m_panel(lookup ? lookup->container() : nullptr), m_lookup(lookup)
    {
    }

    std::function<void()> tidy;                           // run first by every send
    std::function<QString()> currency;                    // the bill's currency code
    std::function<bool(const QString &name)> skip;        // the family's skip rules

    void beforeSend() override
    {
        if (tidy)
            tidy();
    }
    QString value(const QString &name) const override
    {
        return m_lookup ? getControlValue(m_ctx, *m_lookup, name) : getControlValue(m_ctx, m_panel, name);
    }
    QString currencyCode() const override { return currency ? currency() : QString(); }
    bool skipPrintItem(const QString &name) const override { return skip && skip(name); }

private:
    AppContext &m_ctx;
    QPointer<QWidget> m_panel;
    ControlLookup *m_lookup = nullptr;
};

} // namespace billprint
