#include "refdata/ui/tfrm_com.h"
#include "app/ui/dialog_buttons.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/lookups.h"
#include "app/ui/window_state.h"
#include "app/ui/gbk_length_validator.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace billprint {

TfrmCom::TfrmCom(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ctx(context), m_store(context.db())
{
    setObjectName(QStringLiteral("frmCom"));
    setWindowTitle(QStringLiteral("币种设置"));
    setModal(true);

    m_cbCoins = new QComboBox(this);
    m_cbCoins->setObjectName(QStringLiteral("cbCoins"));
    m_cbCoins->setMinimumWidth(160);
    m_edtName = new QLineEdit(this);
    m_edtName->setObjectName(QStringLiteral("edtName"));
    m_edtName->setPlaceholderText(QStringLiteral("如: 人民币"));
    m_edtName->setValidator(new GbkLengthValidator(CurrencyStore::kNameBytes, m_edtName));
    m_edtCode = new QLineEdit(this);
    m_edtCode->setObjectName(QStringLiteral("edtCode"));
    m_edtCode->setPlaceholderText(QStringLiteral("如: ￥"));
    m_edtCode->setValidator(new GbkLengthValidator(CurrencyStore::kCodeBytes, m_edtCode));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("币种名称："), m_cbCoins);
    form->addRow(QStringLiteral("输入新币种："), m_edtName);
    form->addRow(QStringLiteral("输入新简码："), m_edtCode);

    auto button = [this](const QString &name, const QString &text) { return namedButton(this, name, text); };
    QPushButton *btAdd = button(QStringLiteral("btAdd"), QStringLiteral("增加"));
    QPushButton *btDelete = button(QStringLiteral("btDelete"), QStringLiteral("删除"));
    QPushButton *btModify = button(QStringLiteral("btModify"), QStringLiteral("修改"));
    QPushButton *btClose = button(QStringLiteral("btClose"), QStringLiteral("关闭"));
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {btAdd, btDelete, btModify, btClose})
        buttons->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(340, 190);

    connect(m_cbCoins, qOverload<int>(&QComboBox::activated), this, &TfrmCom::coinChosen);
    connect(btAdd, &QPushButton::clicked, this, &TfrmCom::btAddClick);
    connect(btDelete, &QPushButton::clicked, this, &TfrmCom::btDeleteClick);
    connect(btModify, &QPushButton::clicked, this, &TfrmCom::btModifyClick);
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);

    loadCoins();
}

void TfrmCom::loadCoins()
{
    QString error;
    const QList<Currency> coins = m_store.loadAll(&error);
    if (!error.isEmpty()) {
        // The list keeps what it showed; the user learns why it is stale.
        tell(QStringLiteral("读取币种失败！\n") + error, QStringLiteral("错误"), AlertIcon::Error);
        return;
    }
    m_cbCoins->clear();
    for (const Currency &c : coins)
        m_cbCoins->addItem(c.name);
    m_cbCoins->setCurrentIndex(-1);
}

QString TfrmCom::chosenName() const
{
    return m_cbCoins->currentIndex() < 0 ? QString() : m_cbCoins->currentText();
}

void TfrmCom::coinChosen(int index)
{
    if (index < 0)
        return;
    const QString name = m_cbCoins->itemText(index);
    m_edtName->setText(name);
    m_edtCode->setText(Lookups(m_ctx.db()).getMoneyCodeByName(name));
}

void TfrmCom::report(const EditOutcome &outcome)
{
    tell(outcome.message, outcome.caption,
         outcome.status == EditOutcome::Status::Failed ? AlertIcon::Warning : AlertIcon::Information);
    if (outcome.focus == EditOutcome::Field::First)
        m_edtName->setFocus();
    else if (outcome.focus == EditOutcome::Field::Second)
        m_edtCode->setFocus();
}

void TfrmCom::btAddClick()
{
    const EditOutcome outcome = m_store.add(m_edtName->text(), m_edtCode->text());
    report(outcome);
    if (outcome.ok())
        loadCoins();
}

void TfrmCom::btDeleteClick()
{
    const EditOutcome outcome = m_store.remove(chosenName());
    report(outcome);
    if (outcome.ok()) {
        m_edtName->clear();
        m_edtCode->clear();
        loadCoins();
    }
}

void TfrmCom::btModifyClick()
{
    const QString chosen = chosenName();
    const bool nameChanged = !chosen.isEmpty() && m_edtName->text().trimmed() != chosen;
    const EditOutcome outcome = m_store.modify(chosen, m_edtName->text(), m_edtCode->text());
    report(outcome);
    if (nameChanged)
        m_edtName->setText(chosen);  // only the code of a currency can change
}

void TfrmCom::showEvent(QShowEvent *event)
{
    if (!m_sizeRestored) {
        FormFaceLoad(m_ctx.config(), this);
        m_sizeRestored = true;
    }
    QDialog::showEvent(event);
}

void TfrmCom::done(int result)
{
    FormFaceSave(m_ctx.config(), this);
    QDialog::done(result);
}

} // namespace billprint
