#include "bills/ui/tfm_check_jzd.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/lookups.h"
#include "bills/amount_entry.h"
#include "bills/bill_parties.h"
#include "bills/slip_columns.h"
#include "bills/ui/bill_conversion.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyle>

namespace billprint {

TfmCheckJZD::TfmCheckJZD(AppContext &context, const BillWindowHost &host, QWidget *parent)
    : TfmBankSlip(context, BillFamilyInfo::depositSlip(), host, parent)
{
    buildFields();
    addMoneyBillFields();
    for (const QString &name : digitBoxNames()) {
        QLineEdit *box = addReadOnly(QStringLiteral("cg") + name.mid(2));
        box->setMaxLength(1);
        box->setAlignment(Qt::AlignCenter);
        QFont f = box->font();
        f.setBold(true);
        box->setFont(f);
    }
    addSlipOptions(true);
    QCheckBox *swap = addOption(QStringLiteral("cfgChangeInOuter"), QStringLiteral("交换收款单位和出票单位"),
                                Remember::No);
    connect(swap, &QCheckBox::clicked, this, [this] { swapParties(); });
    addCommand(QStringLiteral("存收款人"), QStringLiteral("把收款人存入单位资料"), [this] { savePayeeAccount(); },
               QStyle::SP_DriveHDIcon);
    addCommand(QStringLiteral("转为支票"), QStringLiteral("转一张支票"), [this] { convertToCheque(); },
               QStyle::SP_ArrowBack);
    setFieldText(QStringLiteral("zdInComp"), kPayeeStartText);
    openWindow();
    finishSlip();
    if (auto *drawer = qobject_cast<QComboBox *>(field(QStringLiteral("zdOutComp"))))
        connect(drawer, &QComboBox::editTextChanged, this, &TfmCheckJZD::drawerTyped);
}

void TfmCheckJZD::addWithStub(QWidget *main, const QString &suffix)
{
    const QString stub = QStringLiteral("cg") + suffix;
    addEdit(stub, QString(), 200);
    if (auto *list = qobject_cast<QComboBox *>(main))
        connect(list, &QComboBox::editTextChanged, this, [this, stub](const QString &text) { setFieldText(stub, text); });
    else if (auto *edit = qobject_cast<QLineEdit *>(main))
        connect(edit, &QLineEdit::textChanged, this, [this, stub](const QString &text) { setFieldText(stub, text); });
}

void TfmCheckJZD::buildFields()
{
    addWithStub(addList(QStringLiteral("zdOutComp"), QStringLiteral("出票单位全称"), 200), QStringLiteral("OutComp"));
    addWithStub(addEdit(QStringLiteral("zdOutBank"), QString(), 40), QStringLiteral("OutBank"));
    addWithStub(addList(QStringLiteral("zdOutBankAcct")), QStringLiteral("OutBankAcct"));
    addWithStub(addList(QStringLiteral("zdInComp"), QStringLiteral("收款单位全称"), 200), QStringLiteral("InComp"));
    addWithStub(addList(QStringLiteral("zdInBank"), QStringLiteral("收款人银行")), QStringLiteral("InBank"));
    addWithStub(addList(QStringLiteral("zdInBankAcct")), QStringLiteral("InBankAcct"));
    addWithStub(addList(QStringLiteral("zdPJZL")), QStringLiteral("PJZL"));
    QComboBox *count = addList(QStringLiteral("zdPJZS"));
    for (int i = 1; i <= 9; ++i)
        count->addItem(QString::number(i));
    count->setEditText(QString());
    addWithStub(count, QStringLiteral("PJZS"));
    addWithStub(addEdit(QStringLiteral("zdPJHM")), QStringLiteral("PJHM"));
    addEdit(QStringLiteral("zdPJBH"), QStringLiteral("票据编号"));
    for (const QString &part : {QStringLiteral("cgNian"), QStringLiteral("cgYue"), QStringLiteral("cgRi")})
        addReadOnly(part);
    for (const QString &name : {QStringLiteral("zdOutComp"), QStringLiteral("zdOutBank"),
                                QStringLiteral("zdOutBankAcct"), QStringLiteral("zdInComp"),
                                QStringLiteral("zdInBank"), QStringLiteral("zdInBankAcct")})
        selectAllOnDoubleClick(field(name));
    addFrame(QStringLiteral("shpHKR"), QStringLiteral("点击选取出票账户"), Qt::DotLine);
    addFrame(QStringLiteral("shpskr"), QStringLiteral("点击选取收款单位"), Qt::DashDotLine);
}

void TfmCheckJZD::setPJZShu(const QString &text)
{
    setFieldText(QStringLiteral("zdPJZS"), text);
}

void TfmCheckJZD::setPJZLei(const QString &text)
{
    setFieldText(QStringLiteral("zdPJZL"), text);
}

void TfmCheckJZD::setPJHMa(const QString &text)
{
    setFieldText(QStringLiteral("zdPJHM"), text);
}

void TfmCheckJZD::setSender(const std::optional<TPerson> &person)
{
    m_fillingParty = true;
    TfmBillBase::setSender(person);
    m_fillingParty = false;
}

void TfmCheckJZD::drawerTyped(const QString &text)
{
    const QString name = text.trimmed();
    if (m_fillingParty || isLoading() || name.isEmpty())
        return;
    MustSavechange();
    if (std::optional<TPerson> unit = findUnitByTrimmedName(context().db(), name)) {
        setOutBank(unit->bank());
        setOutBankAcct(unit->account());
    }
}

void TfmCheckJZD::payeeNameTyped(const QString &name)
{
    if (std::optional<TPerson> unit = TPerson::findByName(context().db(), name))
        setReceiver(unit);
}

namespace {

// What one side of the slip shows: name, bank and account.
struct ShownParty
{
    QString name;
    QString bank;
    QString account;
};

// The record behind a side after a swap: the address-book record when it
// still names what the side shows, else the shown texts as a typed unit.
std::optional<TPerson> recordFor(const std::optional<TPerson> &record, const ShownParty &shown, const QString &kind)
{
    if (record && record->fullName() == shown.name)
        return record;
    if (shown.name.isEmpty())
        return std::nullopt;
    TPerson typed;
    typed.setFullName(shown.name);
    typed.setBank(shown.bank);
    typed.setAccount(shown.account);
    typed.setUnitKind(kind);
    return typed;
}

} // namespace

void TfmCheckJZD::swapParties()
{
    // What the boxes show is swapped, not the records picked earlier: a
    // typed name, bank or account is the user's and goes across as typed.
    const ShownParty drawer{fieldText(QStringLiteral("zdOutComp")), fieldText(QStringLiteral("zdOutBank")),
                            fieldText(QStringLiteral("zdOutBankAcct"))};
    const bool payeeWasStartText = fieldText(QStringLiteral("zdInComp")) == kPayeeStartText;
    const ShownParty payee{payeeText(), fieldText(QStringLiteral("zdInBank")), fieldText(QStringLiteral("zdInBankAcct"))};
    const std::optional<TPerson> drawerRecord = sender();
    const std::optional<TPerson> payeeRecord = receiver();

    // The starting text stays on the payee's side: an empty drawer that
    // came from it gives it back when swapped again.
    const bool payeeGetsStartText = drawer.name.isEmpty() && m_drawerEmptiedByStartText;
    m_fillingParty = true;
    setOutComp(payee.name);
    setOutBank(payee.bank);
    setOutBankAcct(payee.account);
    setInComp(payeeGetsStartText ? kPayeeStartText : drawer.name);
    setInBank(drawer.bank);
    setInBankAcct(drawer.account);
    m_fillingParty = false;
    m_drawerEmptiedByStartText = payeeWasStartText;

    keepSender(recordFor(payeeRecord, payee, UnitKind::Own));
    keepReceiver(recordFor(drawerRecord, drawer, UnitKind::Counterparty));
    MustSavechange();
}

void TfmCheckJZD::pickSender()
{
    // Closing the address book without a choice keeps the drawer shown.
    if (std::optional<TPerson> unit = host().pickPerson(UnitKind::Own, senderPickCaption(), this))
        setSender(unit);
}

bool TfmCheckJZD::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched == field(QStringLiteral("zdOutComp"))) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const QString code = fieldText(QStringLiteral("zdOutComp")).trimmed();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !code.isEmpty()) {
            if (std::optional<TPerson> unit = TPerson::findByInputCode(context().db(), code))
                setSender(unit);
            return true;
        }
    }
    return TfmBankSlip::eventFilter(watched, event);
}

void TfmCheckJZD::fillListOnEntry(const QString &name)
{
    auto *kinds = qobject_cast<QComboBox *>(field(QStringLiteral("zdPJZL")));
    if (kinds && name.compare(QLatin1String("zdPJZL"), Qt::CaseInsensitive) == 0) {
        if (kinds->count() > 0)
            return;
        const QSignalBlocker quiet(kinds);
        const QString text = kinds->currentText();
        kinds->addItems(Lookups(context().db()).loadDMListByName(QStringLiteral("票据种类"), QStringLiteral("0")));
        kinds->setEditText(text);
        return;
    }
    TfmBankSlip::fillListOnEntry(name);
}

QStringList TfmCheckJZD::suppressedFields(const QString &option) const
{
    QStringList names = TfmBankSlip::suppressedFields(option);
    // Each hidden field takes its stub copy with it.
    const QStringList main = names;
    for (const QString &name : main)
        if (name.startsWith(QLatin1String("zd")) && name != QLatin1String("zdJEDX"))
            names << QStringLiteral("cg") + name.mid(2);
    names.removeDuplicates();
    return names;
}

void TfmCheckJZD::writeColumns(BillRecord &record) const
{
    record.set(BillColumn::Number, fieldText(QStringLiteral("zdPJBH")));
    record.set(BillColumn::Payee, payeeText());
    record.set(BillColumn::PayeeBank, fieldText(QStringLiteral("zdInBank")));
    record.set(BillColumn::PayeeAccount, fieldText(QStringLiteral("zdInBankAcct")));
    record.set(BillColumn::Drawer, fieldText(QStringLiteral("zdOutComp")));
    record.set(BillColumn::DrawerAccount, fieldText(QStringLiteral("zdOutBankAcct")));
    record.set(BillColumn::DrawerBank, fieldText(QStringLiteral("zdOutBank")));
    record.set(BillColumn::DepositedCount, fieldText(QStringLiteral("zdPJZS")));
    record.set(BillColumn::DepositedKind, fieldText(QStringLiteral("zdPJZL")));
    record.set(BillColumn::DepositedNumber, fieldText(QStringLiteral("zdPJHM")));
}

void TfmCheckJZD::readColumns(const BillRecord &record)
{
    setFieldText(QStringLiteral("zdPJBH"), record.text(BillColumn::Number));
    setInComp(record.text(BillColumn::Payee));
    setInBank(record.text(BillColumn::PayeeBank));
    setInBankAcct(record.text(BillColumn::PayeeAccount));
    setOutComp(record.text(BillColumn::Drawer));
    setOutBankAcct(record.text(BillColumn::DrawerAccount));
    setOutBank(record.text(BillColumn::DrawerBank));
    setPJHMa(record.text(BillColumn::DepositedNumber));
    setPJZShu(record.text(BillColumn::DepositedCount));
    setPJZLei(record.text(BillColumn::DepositedKind));
}

void TfmCheckJZD::convertToCheque()
{
    if (!commitTypedInput())
        return;
    TfmBillBase *cheque = host().openBillWindow(BillFamilyInfo::cheque().family);
    if (!cheque) {
        tell(QStringLiteral("支票填开窗口无法打开！"), QStringLiteral("提示"), AlertIcon::Warning);
        return;
    }
    convertDepositToCheque(*this, *cheque);
}

} // namespace billprint
