#include "app/ui/tfrm_input_value.h"

#include "app/alert.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace billprint {

TfrmInputValue::TfrmInputValue(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmInputValue"));
    setWindowTitle(QStringLiteral("用户输入"));
    setFixedSize(360, 200);

    m_prompt = new QLabel(QStringLiteral("请输入:"), this);
    m_prompt->setObjectName(QStringLiteral("lbPrompt"));
    m_prompt->setWordWrap(true);
    m_value = new QComboBox(this);
    m_value->setObjectName(QStringLiteral("cbValue"));
    m_value->setEditable(true);
    m_value->setInsertPolicy(QComboBox::NoInsert);
    m_value->lineEdit()->installEventFilter(this);
    m_hint = new QLabel(this);
    m_hint->setObjectName(QStringLiteral("lbHint"));
    m_hint->setStyleSheet(QStringLiteral("color: red"));

    m_ok = new QPushButton(QStringLiteral("确 定(&Y)"), this);
    m_ok->setObjectName(QStringLiteral("btOk"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("取 消(&C)"), this);
    m_cancel->setObjectName(QStringLiteral("btCancel"));
    m_cancel->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_value);
    layout->addWidget(m_hint);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &TfrmInputValue::btOkClick);
    connect(m_cancel, &QPushButton::clicked, this, &TfrmInputValue::btCancelClick);
}

TfrmInputValue::ValueKind TfrmInputValue::kindFromName(const QString &typeName)
{
    const QString name = typeName.trimmed().toUpper();
    if (name == QLatin1String("INT") || name == QLatin1String("INTEGER"))
        return ValueKind::Integer;
    if (name == QLatin1String("FLOAT") || name == QLatin1String("REAL") || name == QLatin1String("DOUBLE"))
        return ValueKind::Double;
    return ValueKind::String;
}

void TfrmInputValue::setPrompt(const QString &prompt)
{
    m_prompt->setText(prompt);
}

void TfrmInputValue::setValue(const QString &value)
{
    m_value->setEditText(value);
}

void TfrmInputValue::setValueKind(ValueKind kind)
{
    m_kind = kind;
    QLineEdit *edit = m_value->lineEdit();
    const QString current = m_value->currentText();
    m_value->clear();
    if (kind == ValueKind::String) {
        edit->setMaxLength(32767);
        edit->setValidator(nullptr);
    } else {
        edit->setMaxLength(7);
        m_value->addItems({QStringLiteral("2"), QStringLiteral("5"), QStringLiteral("10"), QStringLiteral("20"),
                           QStringLiteral("25"), QStringLiteral("30"), QStringLiteral("50"), QStringLiteral("100"),
                           QStringLiteral("200"), QStringLiteral("500"), QStringLiteral("1000")});
        // The key filter stops typed letters; the validator also stops
        // pasted ones, so a number prompt never returns anything else.
        const QRegularExpression pattern(kind == ValueKind::Integer ? QStringLiteral("[0-9]*")
                                                                    : QStringLiteral("[0-9.]*"));
        edit->setValidator(new QRegularExpressionValidator(pattern, edit));
    }
    m_value->setEditText(current);
}

QString TfrmInputValue::value() const
{
    return m_value->currentText();
}

void TfrmInputValue::btOkClick()
{
    const QString value = m_value->currentText().trimmed();
    if (value.isEmpty()) {
        tell(QStringLiteral("请输入正确的值，不能为空"));
        return;
    }
    m_value->setEditText(value);
    accept();
}

void TfrmInputValue::btCancelClick()
{
    reject();
}

void TfrmInputValue::reject()
{
    // Whatever closes the window without OK gives no value.
    m_value->setEditText(QString());
    QDialog::reject();
}

bool TfrmInputValue::keyAllowed(const QString &text) const
{
    if (m_kind == ValueKind::String || text.isEmpty())
        return true;
    const QChar c = text.at(0);
    if (!c.isPrint())
        return true;  // backspace, Escape, Enter and editing shortcuts
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return true;
    return m_kind == ValueKind::Double && c == QLatin1Char('.');
}

QString TfrmInputValue::refusedHint() const
{
    return m_kind == ValueKind::Integer ? QStringLiteral("提示：只能输入数字,谢谢！")
                                        : QStringLiteral("提示:只能输入数字及点(如: 12.5 )！");
}

bool TfrmInputValue::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_value->lineEdit()) {
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                btOkClick();
                return true;
            }
            if (!keyAllowed(key->text())) {
                m_hint->setText(refusedHint());
                return true;
            }
            if (!key->text().isEmpty())
                m_hint->clear();
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            m_value->lineEdit()->selectAll();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString giveMeAnValue(const QString &prompt, const QString &defaultValue, const QString &typeName, QWidget *parent)
{
    TfrmInputValue dialog(parent);
    dialog.setValueKind(TfrmInputValue::kindFromName(typeName));
    dialog.setPrompt(prompt);
    dialog.setValue(defaultValue);
    dialog.exec();
    return dialog.value();
}

} // namespace billprint
