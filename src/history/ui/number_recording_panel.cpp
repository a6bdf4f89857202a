#include "history/ui/number_recording_panel.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/lookups.h"
#include "history/ui/history_window_host.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace billprint {

namespace {

const QString kFamily = QStringLiteral("支票");

QLineEdit *readOnlyBox(QWidget *parent, const QString &name, const QString &hint = QString())
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setPlaceholderText(hint);
    return box;
}

} // namespace

NumberRecordingPanel::NumberRecordingPanel(AppContext &context, const HistoryWindowHost &host, QWidget *parent)
    : QGroupBox(QStringLiteral("登记连号票据"), parent), m_ctx(context), m_pick(host.pickPerson)
{
    setObjectName(QStringLiteral("gbRecordNumbers"));
    m_edtFrom = new QLineEdit(this);
    m_edtFrom->setObjectName(QStringLiteral("edtNumberFrom"));
    m_edtTo = new QLineEdit(this);
    m_edtTo->setObjectName(QStringLiteral("edtNumberTo"));
    m_spLength = new QSpinBox(this);
    m_spLength->setObjectName(QStringLiteral("spNumberLength"));
    m_spLength->setRange(NumberBatch::kMinLength, NumberBatch::kMaxLength);
    m_spLength->setValue(8);
    m_edtPrefix = new QLineEdit(this);
    m_edtPrefix->setObjectName(QStringLiteral("edtNumberPrefix"));
    m_edtPrefix->setMaxLength(3);
    m_edtPrefix->setFixedWidth(50);
    connect(m_edtPrefix, &QLineEdit::editingFinished, this,
            [this] { m_edtPrefix->setText(m_edtPrefix->text().trimmed()); });
    m_edtDrawer = readOnlyBox(this, QStringLiteral("edtDrawer"), QStringLiteral("请点击选取.."));
    m_edtBank = readOnlyBox(this, QStringLiteral("edtDrawerBank"));
    m_edtAccount = readOnlyBox(this, QStringLiteral("edtDrawerAccount"));
    m_cbTemplate = new QComboBox(this);
    m_cbTemplate->setObjectName(QStringLiteral("cbRecordTemplate"));
    m_cbTemplate->setMinimumWidth(160);
    m_cbTemplate->installEventFilter(this);
    auto *pick = new QPushButton(QStringLiteral("选取.."), this);
    connect(pick, &QPushButton::clicked, this, &NumberRecordingPanel::pickDrawer);
    m_btStart = new QPushButton(QStringLiteral("开始登记"), this);
    connect(m_btStart, &QPushButton::clicked, this, &NumberRecordingPanel::startRecording);
    m_btEnd = new QPushButton(QStringLiteral("结束登记"), this);
    connect(m_btEnd, &QPushButton::clicked, this, &NumberRecordingPanel::endRequested);

    auto *grid = new QGridLayout(this);
    auto *range = new QHBoxLayout;
    range->addWidget(new QLabel(QStringLiteral("编号从"), this));
    range->addWidget(m_edtFrom);
    range->addWidget(new QLabel(QStringLiteral("到"), this));
    range->addWidget(m_edtTo);
    range->addWidget(new QLabel(QStringLiteral("(每批不能超过100张)"), this));
    range->addSpacing(12);
    range->addWidget(new QLabel(QStringLiteral("编号固定为"), this));
    range->addWidget(m_spLength);
    range->addWidget(new QLabel(QStringLiteral("位，缺少前面补零! 前缀:"), this));
    range->addWidget(m_edtPrefix);
    range->addStretch();
    grid->addLayout(range, 0, 0, 1, 6);
    grid->addWidget(new QLabel(QStringLiteral("出票单位："), this), 1, 0);
    grid->addWidget(m_edtDrawer, 1, 1);
    grid->addWidget(pick, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("开户行："), this), 1, 3);
    grid->addWidget(m_edtBank, 1, 4, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("模板类别："), this), 2, 0);
    grid->addWidget(m_cbTemplate, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("账号："), this), 2, 3);
    grid->addWidget(m_edtAccount, 2, 4, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btStart);
    buttons->addWidget(m_btEnd);
    grid->addLayout(buttons, 3, 0, 1, 6);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);
}

NumberBatch NumberRecordingPanel::batch() const
{
    NumberBatch b;
    b.from = m_edtFrom->text().trimmed();
    b.to = m_edtTo->text().trimmed();
    b.length = m_spLength->value();
    b.prefix = m_edtPrefix->text().trimmed();
    b.drawer = m_edtDrawer->text();
    b.bank = m_edtBank->text();
    b.account = m_edtAccount->text();
    b.templateName = m_cbTemplate->currentText();
    return b;
}

void NumberRecordingPanel::pickDrawer()
{
    if (!m_pick)
        return;
    const std::optional<TPerson> unit = m_pick(QStringLiteral("我方单位"), QStringLiteral("选取支票账户"), this);
    if (!unit)
        return;
    m_edtDrawer->setText(unit->fullName());
    m_edtBank->setText(unit->bank());
    m_edtAccount->setText(unit->account());
}

void NumberRecordingPanel::fillTemplates()
{
    if (m_cbTemplate->count() > 0)
        return;
    m_cbTemplate->addItem(QString());  // the template is optional
    m_cbTemplate->addItems(Lookups(m_ctx.db()).loadCheckTypeLastNameList(kFamily));
}

bool NumberRecordingPanel::startRecording()
{
    const NumberBatch b = batch();
    const NumberRange range = numbersOf(b);
    if (!range.ok()) {
        tell(range.refusal);
        return false;
    }
    const RecordingResult result =
        recordNumbers(m_ctx.db(), b, range.numbers, [this](const QString &number) {
            setStatus(QStringLiteral("登记编号为：") + number + QStringLiteral("的票据!"));
        });
    setStatus(QString());
    if (!result.ok()) {
        tell(QStringLiteral("登记错误,Error=") + result.error, QStringLiteral("失败"), AlertIcon::Error);
        return false;
    }
    // One message for all numbers left out, not one box per number.
    if (!result.failures.isEmpty())
        tell(result.failures.join(QLatin1Char('\n')), QStringLiteral("提示"), AlertIcon::Warning);
    emit recorded();
    tell(QStringLiteral("登记结束！"));
    return true;
}

void NumberRecordingPanel::setStatus(const QString &text)
{
    if (m_status)
        m_status->setText(text);
}

bool NumberRecordingPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_cbTemplate && (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress))
        fillTemplates();
    return QGroupBox::eventFilter(watched, event);
}

} // namespace billprint
