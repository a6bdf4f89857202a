#include "bills/ui/install_cheque_entry.h"

#include "app/alert.h"
#include "app/ui/main_frame.h"
#include "bills/ui/bill_window_host.h"
#include "bills/ui/tfm_check_zp.h"

#include <QContextMenuEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace billprint {

namespace {

// Keeps the main window's right-click menu quiet while bill windows are
// open. Installed after the main window's own filter, so it sees the
// event first.
class BackgroundMenuBlocker : public QObject
{
public:
    explicit BackgroundMenuBlocker(QWidget *viewport) : QObject(viewport) { viewport->installEventFilter(this); }

    void setEnabled(bool enabled) { m_blocking = qMax(0, m_blocking + (enabled ? -1 : 1)); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        return m_blocking > 0 && event->type() == QEvent::ContextMenu;
    }

private:
    int m_blocking = 0;
};

BackgroundMenuBlocker *blockerOf(MainFrame &mainWindow)
{
    // Found by its C++ type: the class has no meta-object of its own, so
    // findChild<BackgroundMenuBlocker *> would hand back any child of the
    // viewport, such as a window opened before the first bill window.
    QWidget *viewport = mainWindow.mdiArea()->viewport();
    for (QObject *child : viewport->children())
        if (auto *blocker = dynamic_cast<BackgroundMenuBlocker *>(child))
            return blocker;
    return new BackgroundMenuBlocker(viewport);
}

} // namespace

BillWindowHost billWindowHost(MainFrame &mainWindow)
{
    BillWindowHost host;
    QPointer<MainFrame> frame(&mainWindow);
    host.runCommand = [frame](const QString &command) {
        if (frame)
            frame->runCommand(command);
    };
    host.designMode = [frame] {
        if (frame)
            frame->designMode();
    };
    host.openBillWindow = [frame](const QString &family) -> TfmBillBase * {
        // A cheque and a deposit slip may be open together when one is
        // turned into the other. A family without its window yet is left to
        // the caller to report, so the user hears of it once.
        if (!frame || !frame->hasEntryWindow(family))
            return nullptr;
        return qobject_cast<TfmBillBase *>(frame->openEntryWindow(family, false));
    };
    host.workArea = [frame] { return frame ? frame->mdiArea()->viewport()->size() : QSize(1024, 768); };
    host.setBackgroundMenuEnabled = [frame](bool enabled) {
        if (frame)
            blockerOf(*frame)->setEnabled(enabled);
    };
    return host;
}

void installChequeEntry(MainFrame &mainWindow)
{
    mainWindow.registerEntryWindow(BillFamilyInfo::cheque().family, [](MainFrame &frame) -> QWidget * {
        auto *window = new TfmCheckZP(frame.context(), billWindowHost(frame));
        if (!window->isUsable()) {
            delete window;  // the family has no template to fill
            return nullptr;
        }
        return window;
    });
}

void installPrintPreviewCommand(MainFrame &mainWindow)
{
    MainFrame *frame = &mainWindow;
    frame->setCommandHandler(QStringLiteral("打印预览"), [frame] {
        QMdiArea *area = frame->mdiArea();
        TfmBillBase *bill = nullptr;
        if (QMdiSubWindow *active = area->activeSubWindow())
            bill = qobject_cast<TfmBillBase *>(active->widget());
        for (QMdiSubWindow *sub : area->subWindowList()) {
            if (!bill)
                bill = qobject_cast<TfmBillBase *>(sub->widget());
        }
        if (!bill) {
            tell(QStringLiteral("请先打开要打印的单据（【新票据填开】），再打印预览。"));
            return;
        }
        bill->printPreview();
    });
}

} // namespace billprint
