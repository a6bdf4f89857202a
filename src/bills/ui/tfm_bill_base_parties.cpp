// The parties of a bill window: drawer and payee from the address book,
// typed, picked or found by code, and the lists filled when entered.
#include "bills/ui/tfm_bill_base.h"

#include "app/app_context.h"
#include "app/lookups.h"
#include "bills/bill_parties.h"
#include "bills/ui/form_layout.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace billprint {

// ---- Parties -------------------------------------------------------------------

void TfmBillBase::setSender(const std::optional<TPerson> &person)
{
    m_sender = person;
    setOutComp(person ? person->fullName() : QString());
    setOutBank(person ? person->bank() : QString());
    setOutBankAcct(person ? person->account() : QString());
}

void TfmBillBase::setOutComp(const QString &text)
{
    setFieldText(QStringLiteral("zdOutComp"), text);
}

void TfmBillBase::setOutBank(const QString &text)
{
    setFieldText(QStringLiteral("zdOutBank"), text);
}

void TfmBillBase::setOutBankAcct(const QString &text)
{
    setFieldText(QStringLiteral("zdOutBankAcct"), text);
}

void TfmBillBase::setReceiver(const std::optional<TPerson> &person)
{
    m_receiver = person;
    const QString name = person ? person->fullName() : QString();
    m_settingPayee = true;
    setFieldText(QStringLiteral("zdInComp"), name);
    m_settingPayee = false;
    setFieldText(QStringLiteral("cgInComp"), name);
    MustSavechange();
}

void TfmBillBase::setInComp(const QString &name)
{
    m_settingPayee = true;
    setFieldText(QStringLiteral("zdInComp"), name);
    m_settingPayee = false;
    payeeEdited(name);
}

void TfmBillBase::payeeEdited(const QString &text)
{
    if (m_settingPayee)
        return;
    MustSavechange();
    const QString name = text == kPayeeStartText ? QString() : text;
    // A typed name that differs from the chosen unit is another payee: its
    // bank and account must not stay behind under the new name.
    if (!m_receiver || m_receiver->fullName() != name) {
        TPerson typed;
        typed.setFullName(name);
        typed.setUnitKind(UnitKind::Counterparty);
        m_receiver = typed;
    }
    setFieldText(QStringLiteral("cgInComp"), name);
}

QString TfmBillBase::payeeText() const
{
    const QString text = fieldText(QStringLiteral("zdInComp"));
    return text == kPayeeStartText ? QString() : text;
}

void TfmBillBase::payeeCodeEntered()
{
    const QString code = fieldText(QStringLiteral("zdInComp")).trimmed();
    if (code.isEmpty())
        return;
    if (std::optional<TPerson> unit = TPerson::findByInputCode(m_ctx.db(), code))
        setReceiver(unit);
}

void TfmBillBase::payeePicked()
{
    if (m_loading)
        return;
    const QString name = fieldText(QStringLiteral("zdInComp")).trimmed();
    if (std::optional<TPerson> unit = TPerson::findByName(m_ctx.db(), name))
        setReceiver(unit);
}

void TfmBillBase::drawerFieldLeft()
{
    if (m_loading)
        return;
    const QString name = fieldText(QStringLiteral("zdOutComp")).trimmed();
    if (name.isEmpty())
        return;
    if (std::optional<TPerson> unit = findUnitByTrimmedName(m_ctx.db(), name)) {
        setOutBank(unit->bank());
        setOutBankAcct(unit->account());
    }
    MustSavechange();
}

void TfmBillBase::pickSender()
{
    setSender(m_host.pickPerson(UnitKind::Own, senderPickCaption(), this));
}

void TfmBillBase::pickReceiver()
{
    setReceiver(m_host.pickPerson(UnitKind::Counterparty, receiverPickCaption(), this));
}

void TfmBillBase::savePayee()
{
    TPerson party;
    party.setFullName(payeeText());
    party.setUnitKind(UnitKind::Counterparty);
    m_host.savePerson(party, this);
}

void TfmBillBase::fillListOnEntry(const QString &name)
{
    auto *list = qobject_cast<QComboBox *>(field(name));
    if (!list)
        return;
    const QString key = name.toUpper();
    const Lookups lookups(m_ctx.db());
    QStringList items;
    if (key == QLatin1String("ZDINCOMP") || key == QLatin1String("ZDOUTCOMP") || key == QLatin1String("ZDYT")) {
        if (m_filledLists.contains(key))
            return;
        if (key == QLatin1String("ZDINCOMP"))
            items = lookups.loadCompanyList(UnitKind::Counterparty);
        else if (key == QLatin1String("ZDOUTCOMP"))
            items = lookups.loadCompanyList(UnitKind::Own);
        else
            items = lookups.loadDMListByName(QStringLiteral("用途"), QStringLiteral("0"));
        m_filledLists << key;
    } else if (key == QLatin1String("ZDDEF1") || key == QLatin1String("ZDDEF2")) {
        if (list->count() > 0)
            return;
        const QString entry = QStringLiteral("自定义") + key.right(1);
        items = lookups.loadDMListByName(entry, QString::number(m_checkTypeId));
        if (items.isEmpty())
            items = lookups.loadDMListByName(entry, QStringLiteral("0"));
    } else {
        return;
    }
    // Filling the list is not an edit of the bill.
    const QSignalBlocker quiet(list);
    const QString text = list->currentText();
    list->addItems(items);
    list->setEditText(text);
}

} // namespace billprint
