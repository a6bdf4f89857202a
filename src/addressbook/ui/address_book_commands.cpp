#include "addressbook/ui/address_book_commands.h"

#include "addressbook/ui/address_book_host.h"
#include "addressbook/ui/tfm_person_manage.h"
#include "addressbook/ui/tfrm_person_info.h"
#include "app/alert.h"
#include "app/app_context.h"
#include "app/ui/main_frame.h"

#include <QAction>
#include <QMdiArea>
#include <QPointer>
#include <memory>

namespace billprint {

namespace {

// A dialog made on the stack is owned by its parent too: were the parent
// destroyed while the dialog runs (the bill windows close when the default
// drawer changes), the dialog would be deleted twice. The top-level window
// outlives the bill windows inside it.
QWidget *stackDialogParent(QWidget *parent)
{
    return parent ? parent->window() : nullptr;
}

} // namespace

std::optional<TPerson> fetchOnePerson(AppContext &context, const QString &kind, const QString &caption, QWidget *parent)
{
    Tfm_PersonManage window(context, stackDialogParent(parent));
    window.setPickMode(caption);
    if (kind == UnitKind::Own || kind == UnitKind::Counterparty)
        window.presetUnitKind(kind);
    else
        window.listAll();
    window.exec();
    return window.result() == QDialog::Accepted ? window.pickedPerson() : std::nullopt;
}

std::optional<TPerson> findStoredParty(const Database &db, const TPerson &party)
{
    const QString &name = party.fullName();
    const QString &contact = party.contact();
    if (!name.isEmpty() && !party.account().isEmpty())
        return TPerson::findByNameAndAccount(db, name, party.account());
    if (!name.isEmpty() && !contact.isEmpty())
        return TPerson::findByNameAndContact(db, name, contact);
    if (!name.isEmpty())
        return TPerson::findByName(db, name);
    if (!contact.isEmpty())
        return TPerson::findByContact(db, contact);
    return std::nullopt;
}

std::optional<TPerson> savePersonFromBill(AppContext &context, const std::optional<TPerson> &fromBill, QWidget *parent)
{
    if (!fromBill)
        return std::nullopt;
    if (fromBill->isStored()) {
        TPerson record = *fromBill;
        QString error;
        const RowSave outcome = saveAskingBeforeOverwrite(
            [&](bool overwrite) { return record.saveChecked(context.db(), &error, overwrite); });
        if (outcome == RowSave::Failed)
            tell(QStringLiteral("添加更新失败，Error=") + error, QStringLiteral("错误"), AlertIcon::Error);
        if (outcome != RowSave::Saved)
            return std::nullopt;
        return record;
    }
    Tfrm_PersonInfo editor(context, stackDialogParent(parent));
    const std::optional<TPerson> stored = findStoredParty(context.db(), *fromBill);
    if (stored)
        editor.setPerson(*stored);
    else
        editor.prepareNew(UnitKind::Counterparty);
    editor.takeBillFields(*fromBill);
    editor.setUnitKind(fromBill->unitKind() == UnitKind::Counterparty ? UnitKind::Counterparty : UnitKind::Own);
    editor.exec();
    return editor.lastSaved();
}

void installAddressBook(MainFrame &mainWindow)
{
    QPointer<MainFrame> main(&mainWindow);
    AddressBookHost &host = addressBookHost();
    host.billWindowsOpen = [main] { return main && main->mdiArea() && !main->mdiArea()->subWindowList().isEmpty(); };
    host.closeBillWindows = [main] {
        if (main)
            main->closeAllEntryWindows();
    };
    host.overseasRemittanceOn = [main] {
        QAction *action = main ? main->findAction(QStringLiteral("境外汇款申请")) : nullptr;
        return action && action->isEnabled() && action->isVisible();
    };

    // One window serves the menu and both tool buttons and stays for the
    // rest of the run.
    auto window = std::make_shared<QPointer<Tfm_PersonManage>>();
    auto kept = [main, window]() -> Tfm_PersonManage & {
        if (!*window)
            *window = new Tfm_PersonManage(main->context(), main);
        return **window;
    };
    mainWindow.setCommandHandler(QString::fromUtf8(AddressBookCommand::Manage), [kept] {
        Tfm_PersonManage &book = kept();
        book.listAll();
        book.exec();
    });
    mainWindow.setCommandHandler(QString::fromUtf8(AddressBookCommand::OwnUnits), [kept] {
        Tfm_PersonManage &book = kept();
        book.presetUnitKind(UnitKind::Own);
        book.exec();
    });
    mainWindow.setCommandHandler(QString::fromUtf8(AddressBookCommand::Counterparties), [kept] {
        Tfm_PersonManage &book = kept();
        book.presetUnitKind(UnitKind::Counterparty);
        book.exec();
    });
}

} // namespace billprint
