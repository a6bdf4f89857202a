#include "bills/ui/tfm_bank_slip.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/lookups.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QSignalBlocker>

namespace billprint {

TfmBankSlip::TfmBankSlip(AppContext &context, const BillFamilyInfo &family, const BillWindowHost &host,
                         QWidget *parent)
    : TfmBillBase(context, family, host, parent)
{
}

void TfmBankSlip::addSlipOptions(bool withDrawer)
{
    addOption(QStringLiteral("cfgDateChinese"), QStringLiteral("大写日期"), Remember::OnWhenOne,
              QStringLiteral("是否大写日期"));
    addOption(QStringLiteral("cfgJEDXRMBChecked"), QStringLiteral("大写带人民币"), Remember::OnWhenOne);
    QCheckBox *miniYear = addOption(QStringLiteral("cfgMiniYear"), QStringLiteral("2位年"), Remember::OnWhenOne);
    connect(miniYear, &QCheckBox::clicked, this, [this] { renderDate(); });
    addNoPrintOptions(withDrawer);
    addCurrencyOption();
}

void TfmBankSlip::finishSlip()
{
    if (auto *payee = qobject_cast<QComboBox *>(field(QStringLiteral("zdInComp"))))
        connect(payee, &QComboBox::editTextChanged, this, [this](const QString &text) {
            const QString name = text.trimmed();
            if (m_fillingParty || isLoading() || name.isEmpty() || text == kPayeeStartText)
                return;
            payeeNameTyped(name);
        });
    for (const QString &name : {QStringLiteral("zdInBankAcct"), QStringLiteral("zdOutBankAcct")}) {
        auto *list = qobject_cast<QComboBox *>(field(name));
        if (!list)
            continue;
        connect(list, &QComboBox::textActivated, this, [this, name] { accountChosen(name); });
        if (list->lineEdit())
            connect(list->lineEdit(), &QLineEdit::editingFinished, this, [this, name] { accountChosen(name); });
    }
}

void TfmBankSlip::setInBank(const QString &text)
{
    setFieldText(QStringLiteral("zdInBank"), text);
}

void TfmBankSlip::setInBankAcct(const QString &text)
{
    setFieldText(QStringLiteral("zdInBankAcct"), text);
}

void TfmBankSlip::setReceiver(const std::optional<TPerson> &person)
{
    m_fillingParty = true;
    TfmBillBase::setReceiver(person);
    setInBank(person ? person->bank() : QString());
    setInBankAcct(person ? person->account() : QString());
    m_fillingParty = false;
}

void TfmBankSlip::pickReceiver()
{
    if (std::optional<TPerson> unit = host().pickPerson(UnitKind::Counterparty, receiverPickCaption(), this))
        setReceiver(unit);
}

void TfmBankSlip::renderDate()
{
    TfmBillBase::renderDate();
    const QCheckBox *miniYear = option(QStringLiteral("cfgMiniYear"));
    const QCheckBox *chinese = option(QStringLiteral("cfgDateChinese"));
    if (miniYear && miniYear->isChecked() && !(chinese && chinese->isChecked()))
        setFieldText(QStringLiteral("zdNian"), billDate().toString(QStringLiteral("yy")));
    // The stub, where there is one, shows the date as the main part does.
    for (const QString &part : {QStringLiteral("Nian"), QStringLiteral("Yue"), QStringLiteral("Ri")})
        if (field(QStringLiteral("cg") + part))
            setFieldText(QStringLiteral("cg") + part, fieldText(QStringLiteral("zd") + part));
}

void TfmBankSlip::updateCaption(const QString &tag)
{
    const QString id = QString::number(serial());
    const QString name = templateListText();
    if (tag == QStringLiteral("新建")) {
        setWindowTitle(QStringLiteral("新") + family() + QStringLiteral("-ID=") + id);
    } else if (tag == QStringLiteral("历史")) {
        setWindowTitle(QStringLiteral("历史票据查看（流水号为：") + id + QStringLiteral(")"));
    } else if (tag == QStringLiteral("新")) {
        setWindowTitle(family() + QStringLiteral("（流水号为：") + id + QStringLiteral(")"));
    } else if (tag.isEmpty()) {
        // A saved bill and a bill on a freshly chosen template read apart.
        setWindowTitle(isSaved() ? family() + QStringLiteral("(") + name + QStringLiteral(")-ID=") + id
                                 : family() + QStringLiteral("（") + name + QStringLiteral("）-ID=") + id);
    } else {
        // The copy of a saved bill.
        setWindowTitle(family() + QStringLiteral("-") + name + QStringLiteral(" ID=") + id);
        if (announces())
            tell(QStringLiteral("已复制保存过的单据为一张新单~"), QStringLiteral("提示"));
    }
}

void TfmBankSlip::savePayeeAccount()
{
    TPerson party;
    party.setFullName(payeeText());
    party.setBank(fieldText(QStringLiteral("zdInBank")).trimmed());
    party.setAccount(fieldText(QStringLiteral("zdInBankAcct")).trimmed());
    party.setUnitKind(UnitKind::Counterparty);
    host().savePerson(party, this);
}

void TfmBankSlip::accountChosen(const QString &accountField)
{
    if (isLoading())
        return;
    const QString account = fieldText(accountField).trimmed();
    if (account.isEmpty())
        return;
    MustSavechange();
    setFieldText(accountField, account);
    const QString bankField = accountField.left(accountField.size() - 4);  // zdInBankAcct -> zdInBank
    const QStringList banks = Lookups(context().db()).loadBankNamesByAccount(account);
    if (banks.size() == 1)
        setFieldText(bankField, banks.first());
    else if (banks.size() > 1)
        tell(QStringLiteral("异常：查询到账号中同一个账号对应两个银行的错误数据,") + account, QStringLiteral("提示"),
             AlertIcon::Warning);
    // An account the address book does not know keeps the bank typed for
    // it: emptying it would throw away what the user wrote.
}

void TfmBankSlip::refillAccounts(const QString &nameField, const QString &accountField)
{
    auto *list = qobject_cast<QComboBox *>(field(accountField));
    if (!list)
        return;
    const QSignalBlocker quiet(list);
    const QString text = list->currentText();
    list->clear();
    list->addItems(Lookups(context().db()).loadAccountsByCompany(fieldText(nameField).trimmed()));
    list->setEditText(text);
}

bool TfmBankSlip::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == field(QStringLiteral("zdInComp")))
            refillAccounts(QStringLiteral("zdInComp"), QStringLiteral("zdInBankAcct"));
        else if (watched == field(QStringLiteral("zdOutComp")))
            refillAccounts(QStringLiteral("zdOutComp"), QStringLiteral("zdOutBankAcct"));
    }
    return TfmBillBase::eventFilter(watched, event);
}

} // namespace billprint
