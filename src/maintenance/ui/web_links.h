#pragma once

#include "app/web_info.h"

#include <QObject>
#include <QPointer>
#include <functional>

#include <QLabel>

namespace billprint {

class MainFrame;

// The main window's ties to the vendor's site: the menu commands that open
// its pages in the web browser, and the one check, shortly after start,
// whether the site answers. The side panel has no embedded browser; when
// the site answers it offers a link to the online service page instead.
class WebInformation : public QObject
{
    Q_OBJECT
public:
    explicit WebInformation(MainFrame &mainWindow);

    // Starts the check; the result arrives later through checkFinished().
    void startCheck();
    // The side-panel rules after the check.
    void applyResult(bool reachable);
    bool checkDone() const { return m_done; }

    // Opens a page of the site in the browser, showing the side panel
    // first when asked to.
    void openPage(WebPage page, bool showSidePanel = false);

    // The link to the online service page; null until the site answered.
    QLabel *serviceLink() const { return m_serviceLink; }

    // Width of the screen the rules are measured against; the main
    // window's screen unless replaced (tests).
    std::function<int()> screenWidth;
    int timeoutMs = WebInfoProbe::kDefaultTimeoutMs;

    static constexpr int kNarrowScreenWidth = 1000;

signals:
    void checkFinished(bool reachable);

private:
    int currentScreenWidth() const;
    QLabel *ensureServiceLink();

    MainFrame &m_main;
    QPointer<WebInfoProbe> m_probe;
    QPointer<QLabel> m_serviceLink;
    bool m_started = false;
    bool m_done = false;
};

// Registers the web commands with the main window and hooks the check to
// its clock.
void installWebInformation(MainFrame &mainWindow);

} // namespace billprint
