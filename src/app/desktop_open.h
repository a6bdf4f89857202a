#pragma once

#include <QString>
#include <QUrl>
#include <functional>

namespace billprint {

// Everything the program hands to the desktop to open (web pages, the
// program folder, an exported workbook) goes through here, so that tests
// can record it instead of starting a browser.
using DesktopOpener = std::function<bool(const QUrl &)>;

// Installs `opener` and returns the previous one; an empty opener means
// the desktop's own (QDesktopServices).
DesktopOpener setDesktopOpener(DesktopOpener opener);

// Opens `url` with the desktop's default application. True when the
// desktop accepted it.
bool openWithDesktop(const QUrl &url);

// Opens a web address or a local folder or file with the desktop. A
// failure is not reported to the user: the caller has nothing better to do.
bool BrowseURL(const QString &target);

} // namespace billprint
