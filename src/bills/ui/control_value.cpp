#include "bills/ui/control_value.h"

#include "app/alert.h"
#include "app/app_context.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace billprint {

namespace {

QWidget *childNamed(QWidget *parent, const QString &name, Qt::FindChildOptions options)
{
    const QList<QWidget *> children = parent->findChildren<QWidget *>(QString(), options);
    for (QWidget *child : children)
        if (child->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return child;
    return nullptr;
}

bool isForm(const QWidget *widget)
{
    return widget->isWindow() || qobject_cast<const QMdiSubWindow *>(widget->parentWidget());
}

// The bill window a panel belongs to: its parent when that is the window,
// else its grandparent, else one level further up.
QWidget *formOf(QWidget *panel)
{
    QWidget *candidate = panel->parentWidget();
    for (int level = 0; candidate && level < 2 && !isForm(candidate); ++level) {
        if (!candidate->parentWidget())
            break;
        candidate = candidate->parentWidget();
    }
    return candidate;
}

QWidget *findControl(QWidget *container, const QString &name)
{
    if (isForm(container))
        return childNamed(container, name, Qt::FindChildrenRecursively);
    if (QWidget *direct = childNamed(container, name, Qt::FindDirectChildrenOnly))
        return direct;
    QWidget *form = formOf(container);
    return form ? childNamed(form, name, Qt::FindChildrenRecursively) : nullptr;
}

QString pictureFormat(const QLabel *label)
{
    const QString format = label->property("pictureFormat").toString();
    return format.isEmpty() ? QStringLiteral("QPixmap") : format;
}

QString valueOf(AppContext &context, QWidget *control, const QString &name)
{
    if (!control) {
        context.debugLog().DebugOutN(QStringLiteral("getControlValue"), name + QStringLiteral("=nil  not found."));
        return QString();
    }
    if (!control->isVisibleTo(control->window()))
        return QString();

    if (const auto *edit = qobject_cast<QLineEdit *>(control))
        return edit->text();
    if (const auto *memo = qobject_cast<QPlainTextEdit *>(control))
        return memo->toPlainText();
    if (const auto *memo = qobject_cast<QTextEdit *>(control))
        return memo->toPlainText();
    if (const auto *combo = qobject_cast<QComboBox *>(control))
        return combo->currentText();
    if (const auto *label = qobject_cast<QLabel *>(control))
        return label->pixmap().isNull() ? label->text() : pictureFormat(label);
    if (const auto *box = qobject_cast<QAbstractButton *>(control); box && box->isCheckable())
        return box->isChecked() ? QStringLiteral("√") : QString();

    tell(QStringLiteral("无法读取打印项目") + name + QStringLiteral("的值：不支持的控件类型")
             + QString::fromLatin1(control->metaObject()->className()),
         QStringLiteral("错误"), AlertIcon::Error);
    return QString();
}

} // namespace

QWidget *ControlLookup::find(const QString &name)
{
    if (!m_container)
        return nullptr;
    const QString key = name.trimmed().toUpper();
    if (m_missing.contains(key))
        return nullptr;
    if (const auto it = m_found.constFind(key); it != m_found.constEnd() && *it)
        return *it;
    QWidget *control = findControl(m_container, name.trimmed());
    if (control)
        m_found.insert(key, control);
    else
        m_missing.insert(key);
    return control;
}

QString getControlValue(AppContext &context, QWidget *container, const QString &name)
{
    if (!container || name.trimmed().isEmpty())
        return QString();
    return valueOf(context, findControl(container, name.trimmed()), name);
}

QString getControlValue(AppContext &context, ControlLookup &lookup, const QString &name)
{
    if (!lookup.container() || name.trimmed().isEmpty())
        return QString();
    return valueOf(context, lookup.find(name), name);
}

} // namespace billprint
