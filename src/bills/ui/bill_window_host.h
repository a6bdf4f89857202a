// What a bill entry window needs from the frame around it. The main window
// fills these in when it creates the window; a window made on its own (the
// headless print command, tests) gets the defaults of `withDefaults`, which
// work without a frame: no menu commands, the address book and the value
// prompt as dialogs of their own.
#pragma once

#include "addressbook/person.h"

#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace billprint {

class AppContext;
class TfmBillBase;

struct BillWindowHost
{
    // Runs a command of the main window by its menu text (history window,
    // offset window, template catalogue, ...).
    std::function<void(const QString &command)> runCommand;
    // The main window's design mode; returns when the designer closed.
    std::function<void()> designMode;
    // Opens (creating it when needed) the entry window of another family
    // beside this one, for the conversions; null when it cannot be opened.
    std::function<TfmBillBase *(const QString &family)> openBillWindow;
    // Size of the main window's work area, which limits the window's size.
    std::function<QSize()> workArea;
    // Switches the main window's right-click menu off while the window is
    // open and on again when it closes.
    std::function<void(bool enabled)> setBackgroundMenuEnabled;

    // The address book in pick mode: the chosen unit, none when closed.
    std::function<std::optional<TPerson>(const QString &kind, const QString &caption, QWidget *parent)> pickPerson;
    // Lets the user complete and store a party of the bill.
    std::function<std::optional<TPerson>(const std::optional<TPerson> &party, QWidget *parent)> savePerson;
    // The value prompt (repeat count); empty when cancelled.
    std::function<QString(const QString &prompt, const QString &defaultValue, const QString &kind, QWidget *parent)>
        askValue;

    // Fills every hook left empty with the frameless default.
    BillWindowHost withDefaults(AppContext &context) const;
    // For the headless commands, where nobody is there to answer: the
    // address book, a party to store and the value prompt give nothing.
    static BillWindowHost unattended();
};

} // namespace billprint
