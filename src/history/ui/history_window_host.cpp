#include "history/ui/history_window_host.h"

#include "addressbook/ui/address_book_commands.h"
#include "app/desktop_open.h"
#include "app/ui/main_frame.h"
#include "bills/ui/tfm_bill_base.h"
#include "app/ui/tfrm_input_value.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace billprint {

HistoryWindowHost HistoryWindowHost::withDefaults(AppContext &context) const
{
    HistoryWindowHost h = *this;
    if (!h.openWindows)
        h.openWindows = [] { return QStringList(); };
    if (!h.closeAllBillWindows)
        h.closeAllBillWindows = [] {};
    if (!h.openBillWindow)
        h.openBillWindow = [](const QString &) -> TfmBillBase * { return nullptr; };
    if (!h.pickPerson)
        h.pickPerson = [&context](const QString &kind, const QString &caption, QWidget *parent) {
            return fetchOnePerson(context, kind, caption, parent);
        };
    if (!h.askValue)
        h.askValue = [](const QString &prompt, const QString &defaultValue, QWidget *parent) {
            return giveMeAnValue(prompt, defaultValue, QStringLiteral("String"), parent);
        };
    if (!h.openUrl)
        h.openUrl = [](const QString &url) { BrowseURL(url); };
    return h;
}

HistoryWindowHost historyWindowHost(MainFrame &mainWindow)
{
    HistoryWindowHost host;
    QPointer<MainFrame> frame(&mainWindow);
    host.openWindows = [frame] {
        QStringList families;
        if (!frame)
            return families;
        const QList<QMdiSubWindow *> children = frame->mdiArea()->subWindowList();
        for (const QMdiSubWindow *child : children) {
            const auto *bill = qobject_cast<const TfmBillBase *>(child->widget());
            families << (bill ? bill->family() : QString());
        }
        return families;
    };
    host.closeAllBillWindows = [frame] {
        if (frame)
            frame->closeAllEntryWindows();
    };
    host.openBillWindow = [frame](const QString &family) -> TfmBillBase * {
        // The other windows were closed (or may stay) by the time a row
        // is opened; the family's window opens beside what is left. A
        // family without its window yet is reported by the caller, once.
        if (!frame || !frame->hasEntryWindow(family))
            return nullptr;
        return qobject_cast<TfmBillBase *>(frame->openEntryWindow(family, false));
    };
    return host;
}

} // namespace billprint
