#include "app/desktop_open.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace billprint {

namespace {
DesktopOpener &currentOpener()
{
    static DesktopOpener opener;
    return opener;
}
} // namespace

DesktopOpener setDesktopOpener(DesktopOpener opener)
{
    DesktopOpener previous = std::move(currentOpener());
    currentOpener() = std::move(opener);
    return previous;
}

bool openWithDesktop(const QUrl &url)
{
    if (!url.isValid() || url.isEmpty())
        return false;
    if (currentOpener())
        return currentOpener()(url);
    return QDesktopServices::openUrl(url);
}

bool BrowseURL(const QString &target)
{
    const QString trimmed = target.trimmed();
    if (trimmed.isEmpty())
        return false;
    // A path that exists on this computer is opened as a file, never
    // guessed at as a host name.
    const QUrl url = QFileInfo::exists(trimmed) ? QUrl::fromLocalFile(trimmed) : QUrl::fromUserInput(trimmed);
    return openWithDesktop(url);
}

} // namespace billprint
