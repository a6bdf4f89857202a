#include "bills/ui/amount_entry_controller.h"

#include "app/alert.h"
#include "bills/ui/form_layout.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace billprint {

AmountEntryController::AmountEntryController(const Database &db, QWidget *window)
    : QObject(window), m_entry(db)
{
    bind(window);
}

AmountEntryController::AmountEntryController(CurrencyState::CodeLookup lookup, QWidget *window)
    : QObject(window), m_entry(std::move(lookup))
{
    bind(window);
}

AmountEntryController::~AmountEntryController() = default;

QString AmountEntryController::refusedKeyMessage()
{
    return QStringLiteral("请输入合法的数值，全角的数字、字母、标点符号可不行哦\n"
                          "如果打开了全角，请shift+空格键切换或者试试小键盘吧~");
}

void AmountEntryController::bind(QWidget *window)
{
    const QHash<QString, QWidget *> fields = FormControls::index(window);
    auto field = [&fields](const QString &name) { return fields.value(name.toUpper()); };

    m_input = qobject_cast<QLineEdit *>(field(QStringLiteral("inputJEXX")));
    m_inputObject = m_input.data();
    m_figures = field(QStringLiteral("zdJEXX"));
    m_stub = field(QStringLiteral("cgJEXX"));
    m_capitals = field(QStringLiteral("zdJEDX"));
    m_moneyName = field(QStringLiteral("zdMoney"));
    for (int i = 0; i < kDigitBoxCount; ++i) {
        const QString &name = digitBoxNames()[i];
        m_boxes[i] = field(name);
        m_stubBoxes[i] = field(QStringLiteral("cg") + name.mid(2));
    }
    m_currencyList = qobject_cast<QComboBox *>(field(QStringLiteral("cfgMoneyType")));
    m_withCode = qobject_cast<QAbstractButton *>(field(QStringLiteral("cfgJEXXWithMoneyCode")));
    m_withName = qobject_cast<QAbstractButton *>(field(QStringLiteral("cfgJEDXWithMoneyName")));
    m_rmbChecked = qobject_cast<QAbstractButton *>(field(QStringLiteral("cfgJEDXRMBChecked")));
    m_noSheep = qobject_cast<QAbstractButton *>(field(QStringLiteral("cfgNoPrtSheep")));

    if (m_input) {
        m_input->hide();
        m_input->installEventFilter(this);
        connect(m_input, &QLineEdit::textChanged, this, [this](const QString &text) {
            // The figures follow the typing, so the form shows the amount
            // where it will be printed even before it is committed.
            if (!m_writing && m_figures && FormControls::text(m_figures) != text)
                FormControls::setText(m_figures, text);
        });
    }
    for (QWidget *entered : {m_figures.data(), m_capitals.data()})
        if (entered)
            entered->installEventFilter(this);
    for (QAbstractButton *option : {m_withCode.data(), m_withName.data(), m_rmbChecked.data(), m_noSheep.data()})
        if (option)
            connect(option, &QAbstractButton::clicked, this, &AmountEntryController::inputJEXXExit);
    if (m_currencyList)
        connect(m_currencyList, &QComboBox::currentTextChanged, this, &AmountEntryController::currencyListChanged);
}

AmountOptions AmountEntryController::currentOptions() const
{
    AmountOptions options;
    if (m_withCode)
        options.jexxWithMoneyCode = m_withCode->isChecked();
    if (m_withName)
        options.jedxWithMoneyName = m_withName->isChecked();
    if (m_rmbChecked)
        options.jedxRmbChecked = m_rmbChecked->isChecked();
    if (m_noSheep)
        options.noPrtSheep = m_noSheep->isChecked();
    return options;
}

void AmountEntryController::setMoneyName(const QString &name)
{
    m_entry.setMoneyName(name);
    if (m_currencyList) {
        const int at = m_currencyList->findText(m_entry.moneyName());
        if (at >= 0 && at != m_currencyList->currentIndex()) {
            m_writing = true;
            m_currencyList->setCurrentIndex(at);
            m_writing = false;
        }
    }
}

void AmountEntryController::currencyListChanged(const QString &name)
{
    if (m_writing)
        return;
    if (name != m_entry.moneyName())
        m_entry.setMoneyName(name);
    inputJEXXExit();
}

AmountStatus AmountEntryController::setJEXX(const QString &text)
{
    m_entry.setOptions(currentOptions());
    const AmountStatus status = m_entry.setJEXX(text);
    if (status == AmountStatus::Applied || status == AmountStatus::Cleared) {
        writeFields();
        emit amountApplied();
    }
    return status;
}

void AmountEntryController::WriteToJEGrid(const QString &code, qint64 cents)
{
    m_entry.setOptions(currentOptions());
    m_entry.WriteToJEGrid(code, cents);
    writeFields();
}

void AmountEntryController::writeFields()
{
    const AmountFields &f = m_entry.fields();
    m_writing = true;
    if (m_input)
        FormControls::setText(m_input, f.input);
    if (m_figures)
        FormControls::setText(m_figures, f.figures);
    if (m_stub)
        FormControls::setText(m_stub, f.stub);
    if (m_capitals)
        FormControls::setText(m_capitals, f.capitals);
    if (m_moneyName)
        FormControls::setText(m_moneyName, m_entry.moneyName());
    for (int i = 0; i < kDigitBoxCount; ++i) {
        if (m_boxes[i])
            FormControls::setText(m_boxes[i], f.digits[i]);
        if (m_stubBoxes[i])
            FormControls::setText(m_stubBoxes[i], f.digits[i]);
    }
    m_writing = false;
}

void AmountEntryController::inputJEXXExit()
{
    if (!m_input || m_committing)
        return;
    m_committing = true;
    const bool editing = isEditing();
    const AmountStatus status = setJEXX(m_input->text());
    if (status == AmountStatus::NotANumber || status == AmountStatus::OutOfRange) {
        // The figures show the amount that stands, not the refused text;
        // the typed text stays in the open input to be corrected.
        m_writing = true;
        if (m_figures)
            FormControls::setText(m_figures, m_entry.fields().figures);
        m_writing = false;
        if (editing)
            keepInputFocused();
    } else if (editing) {
        hideInput();
    }
    m_committing = false;
}

bool AmountEntryController::commitPending()
{
    if (!m_input)
        return true;
    if (holdsRefusedText() || (isEditing() && m_input->text() != m_entry.fields().input)) {
        inputJEXXExit();
    } else if (isEditing()) {
        // Nothing new was typed: the figures go back to the amount that
        // stands, without re-applying it (which would mark a saved bill
        // as changed).
        writeFields();
        hideInput();
    }
    return !holdsRefusedText();
}

bool AmountEntryController::holdsRefusedText() const
{
    return m_input && m_input->text() != m_entry.fields().input;
}

void AmountEntryController::restoreAccepted()
{
    writeFields();
    if (isEditing())
        hideInput();
}

void AmountEntryController::hideInput()
{
    m_hiding = true;
    m_input->hide();
    m_hiding = false;
}

void AmountEntryController::keepInputFocused()
{
    QPointer<QLineEdit> input = m_input;
    QTimer::singleShot(0, this, [input] {
        if (input && !input->isHidden()) {
            input->setFocus(Qt::OtherFocusReason);
            input->selectAll();
        }
    });
}

bool AmountEntryController::isEditing() const
{
    return m_input && !m_input->isHidden();
}

QString AmountEntryController::amountText() const
{
    return m_entry.fields().input;
}

void AmountEntryController::beginInput(QWidget *field)
{
    if (!m_input || !field)
        return;
    QWidget *panel = m_input->parentWidget();
    const QPoint topLeft = panel ? panel->mapFromGlobal(field->mapToGlobal(QPoint(0, 0))) : field->pos();
    m_input->setGeometry(QRect(topLeft, field->size()));
    m_input->show();
    m_input->raise();
    m_input->selectAll();
    m_input->setFocus(Qt::OtherFocusReason);
}

bool AmountEntryController::refusedCharacter(QChar c)
{
    const char16_t code = c.unicode();
    if (code < 32 || code == 127)
        return false;  // Backspace, Escape and editing keys
    return code >= u'A' || code == u' ' || code == u'-';
}

bool AmountEntryController::filterInputKey(QEvent *event)
{
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        inputJEXXExit();
        return true;
    }
    if (key->key() == Qt::Key_Escape) {
        restoreAccepted();
        return true;
    }
    const QString text = key->text();
    if (!text.isEmpty() && refusedCharacter(text.at(0))) {
        tell(refusedKeyMessage(), QStringLiteral("提示"), AlertIcon::Warning);
        return true;
    }
    return false;
}

bool AmountEntryController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_inputObject) {
        if (event->type() == QEvent::KeyPress)
            return filterInputKey(event);
        if (event->type() == QEvent::FocusOut) {
            // A context menu or another application taking the focus is
            // not the user leaving the amount.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && !m_hiding
                && isEditing())
                inputJEXXExit();
        }
        return false;
    }
    if (watched == m_figures || watched == m_capitals) {
        auto *field = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::FocusIn && !m_hiding && !m_committing) {
            beginInput(field);
        } else if (event->type() == QEvent::MouseButtonPress) {
            beginInput(field);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace billprint
