#include "bills/ui/form_layout.h"

#include "app/alert.h"
#include "app/database.h"
#include "app/ini_file.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextEdit>
#include <QWidget>

namespace billprint {

namespace {

void placeOne(QWidget *control, const QString &name, const IniFile &ini)
{
    applyFieldPlacement(control, CheckIniCache::readFieldPlacement(ini, name));
}

} // namespace

QWidget *FormControls::find(QWidget *window, const QString &name)
{
    if (!window || name.isEmpty())
        return nullptr;
    const QList<QWidget *> children = window->findChildren<QWidget *>();
    for (QWidget *child : children)
        if (child->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return child;
    return nullptr;
}

QHash<QString, QWidget *> FormControls::index(QWidget *window)
{
    QHash<QString, QWidget *> byName;
    if (!window)
        return byName;
    const QList<QWidget *> children = window->findChildren<QWidget *>();
    byName.reserve(children.size());
    for (QWidget *child : children) {
        const QString name = child->objectName();
        if (name.isEmpty())
            continue;
        const QString key = name.toUpper();
        if (!byName.contains(key))
            byName.insert(key, child);
    }
    return byName;
}

QString FormControls::text(const QWidget *control)
{
    if (auto *edit = qobject_cast<const QLineEdit *>(control))
        return edit->text();
    if (auto *combo = qobject_cast<const QComboBox *>(control))
        return combo->currentText();
    if (auto *memo = qobject_cast<const QPlainTextEdit *>(control))
        return memo->toPlainText();
    if (auto *rich = qobject_cast<const QTextEdit *>(control))
        return rich->toPlainText();
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    return QString();
}

void FormControls::setText(QWidget *control, const QString &text)
{
    if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        // The typing limit is for the user: a value the program sets (a
        // currency code "US$" in a one-character digit box) is never cut.
        if (text.size() > edit->maxLength())
            edit->setMaxLength(text.size());
        if (edit->text() != text)
            edit->setText(text);
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        if (combo->isEditable()) {
            combo->setEditText(text);
        } else {
            const int at = combo->findText(text);
            if (at >= 0)
                combo->setCurrentIndex(at);
        }
    } else if (auto *memo = qobject_cast<QPlainTextEdit *>(control)) {
        if (memo->toPlainText() != text)
            memo->setPlainText(text);
    } else if (auto *rich = qobject_cast<QTextEdit *>(control)) {
        rich->setPlainText(text);
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        label->setText(text);
    } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        button->setText(text);
    }
}

void applyFieldPlacement(QWidget *control, const FieldPlacement &p)
{
    if (!control)
        return;
    if (p.visible) {
        control->setGeometry(p.x, p.y, p.width, p.height);
        control->show();
    } else {
        control->hide();
    }
    auto *label = qobject_cast<QLabel *>(control);
    if (label)
        label->setAutoFillBackground(false);  // the form picture shows through
    if (p.initValue.isEmpty())
        return;
    if (auto *box = qobject_cast<QAbstractButton *>(control); box && box->isCheckable())
        box->setChecked(true);  // any initial value ticks a check box
    else
        FormControls::setText(control, p.initValue);
}

void setFormCtlPositionFromIni(const QString &name, const IniFile *ini, QWidget *window)
{
    if (!ini)
        return;
    if (QWidget *control = FormControls::find(window, name)) {
        placeOne(control, name, *ini);
        window->update();
    }
}

bool setFormControlsPosition(const Database &db, const QString &family, QWidget *window, const IniFile *ini)
{
    if (!window || !ini)
        return true;
    QSqlQuery q = db.prepare(QStringLiteral("select CtlName from NameDict where CheckTypeName=? order by Id"));
    q.setForwardOnly(true);
    q.addBindValue(family);
    if (!q.exec()) {
        tell(QStringLiteral("调入项目参数失败!") + q.lastError().text(), QStringLiteral("提示"), AlertIcon::Error);
        return false;
    }
    // One walk over the window's children instead of one per field.
    const QHash<QString, QWidget *> controls = FormControls::index(window);
    while (q.next()) {
        const QString name = q.value(0).toString();
        if (QWidget *control = controls.value(name.toUpper()))
            placeOne(control, name, *ini);
    }
    window->update();
    return true;
}

} // namespace billprint
