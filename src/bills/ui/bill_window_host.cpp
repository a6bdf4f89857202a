#include "bills/ui/bill_window_host.h"

#include "addressbook/ui/address_book_commands.h"
#include "app/ui/tfrm_input_value.h"

#include <QGuiApplication>
#include <QScreen>

namespace billprint {

BillWindowHost BillWindowHost::withDefaults(AppContext &context) const
{
    BillWindowHost h = *this;
    if (!h.runCommand)
        h.runCommand = [](const QString &) {};
    if (!h.designMode)
        h.designMode = [] {};
    if (!h.openBillWindow)
        h.openBillWindow = [](const QString &) -> TfmBillBase * { return nullptr; };
    if (!h.workArea)
        h.workArea = [] {
            const QScreen *screen = QGuiApplication::primaryScreen();
            return screen ? screen->availableGeometry().size() : QSize(1024, 768);
        };
    if (!h.setBackgroundMenuEnabled)
        h.setBackgroundMenuEnabled = [](bool) {};
    if (!h.pickPerson)
        h.pickPerson = [&context](const QString &kind, const QString &caption, QWidget *parent) {
            return fetchOnePerson(context, kind, caption, parent);
        };
    if (!h.savePerson)
        h.savePerson = [&context](const std::optional<TPerson> &party, QWidget *parent) {
            return savePersonFromBill(context, party, parent);
        };
    if (!h.askValue)
        h.askValue = [](const QString &prompt, const QString &defaultValue, const QString &kind, QWidget *parent) {
            return giveMeAnValue(prompt, defaultValue, kind, parent);
        };
    return h;
}

BillWindowHost BillWindowHost::unattended()
{
    BillWindowHost host;
    host.pickPerson = [](const QString &, const QString &, QWidget *) { return std::optional<TPerson>(); };
    host.savePerson = [](const std::optional<TPerson> &, QWidget *) { return std::optional<TPerson>(); };
    host.askValue = [](const QString &, const QString &, const QString &, QWidget *) { return QString(); };
    return host;
}

} // namespace billprint
