// Laying a bill window out from a template's layout cache
// (templates/check_ini_cache.h): every field of the bill family is a named
// child widget of the bill panel, placed, sized, shown or hidden and given
// its initial value by name. Names compare without regard to letter case:
// the cache stores "ZDJEXX" while the window declares "zdJEXX".
#pragma once

#include "templates/check_ini_cache.h"

#include <QHash>
#include <QString>

class QWidget;

namespace billprint {

class Database;
class IniFile;

// Named controls of a window, found by object name without regard to case.
class FormControls
{
public:
    // The first descendant of `window` (depth first) with that name.
    static QWidget *find(QWidget *window, const QString &name);
    // Every named descendant by upper-cased name (first one wins).
    static QHash<QString, QWidget *> index(QWidget *window);

    // The text a field shows: edit boxes, combo boxes, multi-line boxes,
    // labels and buttons; empty for other controls.
    static QString text(const QWidget *control);
    // Sets that text. A drop-down list without an edit line selects the
    // equal item and keeps its choice when there is none. An edit box's
    // typing limit never cuts the text set here.
    static void setText(QWidget *control, const QString &text);
};

// Places one control as the cache says: a visible field goes to its box
// (relative to its parent, the picture panel) and is shown, any other is
// hidden. A non-empty initial value becomes the text of an edit, combo or
// multi-line box and of a label, and ticks a check box whatever it says;
// labels are made transparent so the form shows through.
void applyFieldPlacement(QWidget *control, const FieldPlacement &placement);

// Lays out one field of `window` from `ini`; nothing when the window has
// no control of that name or there is no cache.
void setFormCtlPositionFromIni(const QString &name, const IniFile *ini, QWidget *window);

// Lays out every field of the bill family (NameDict) on `window` from the
// template's open cache. Fields the window lacks are skipped. When the
// family's field names cannot be read the user is told
// ("调入项目参数失败!" and the database message) and false is returned.
bool setFormControlsPosition(const Database &db, const QString &family, QWidget *window, const IniFile *ini);

} // namespace billprint
