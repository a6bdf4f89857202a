// What a history window needs from the frame around it: the bill windows
// (which are open, closing them, opening the family's), the address book
// chooser, the value prompt and the web browser. The main window fills
// these in; a window made on its own (tests) gets frameless defaults.
#pragma once

#include "addressbook/person.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace billprint {

class AppContext;
class TfmBillBase;
class MainFrame;

struct HistoryWindowHost
{
    // The family words of the open child windows; a child window that is
    // no bill window is listed as an empty word.
    std::function<QStringList()> openWindows;
    // The main window's "关闭所有填开单据".
    std::function<void()> closeAllBillWindows;
    // Opens (creating when needed) the entry window of a family; null
    // when that window cannot be opened.
    std::function<TfmBillBase *(const QString &family)> openBillWindow;
    // The address book in pick mode: the chosen unit, none when closed.
    std::function<std::optional<TPerson>(const QString &kind, const QString &caption, QWidget *parent)> pickPerson;
    // The value prompt; empty when cancelled.
    std::function<QString(const QString &prompt, const QString &defaultValue, QWidget *parent)> askValue;
    // Opens a web address in the browser.
    std::function<void(const QString &url)> openUrl;

    // Fills every hook left empty with the frameless default.
    HistoryWindowHost withDefaults(AppContext &context) const;
};

// The hooks of the main window's history windows.
HistoryWindowHost historyWindowHost(MainFrame &mainWindow);

} // namespace billprint
