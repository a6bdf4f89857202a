// The fields of a bill window: found by name, read and set as text, the
// amount and the date, the bill's content as a whole, and fonts that fit
// a field's text into its box.
#include "bills/ui/tfm_bill_base.h"

#include "app/chinese_text.h"
#include "bills/ui/amount_entry_controller.h"
#include "bills/ui/control_value.h"
#include "bills/ui/form_layout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace billprint {

QWidget *TfmBillBase::billPanel() const
{
    return m_panel;
}

QWidget *TfmBillBase::field(const QString &name) const
{
    // Finding a field walks every widget of the window; the windows ask for
    // the same few fields again and again (a batch print for every row).
    const QString key = name.toUpper();
    if (const auto it = m_fieldCache.constFind(key); it != m_fieldCache.constEnd()) {
        QWidget *known = *it;
        if (known && known->objectName().compare(name, Qt::CaseInsensitive) == 0 && isAncestorOf(known))
            return known;
    }
    QWidget *found = FormControls::find(const_cast<TfmBillBase *>(this), name);
    if (found)
        m_fieldCache.insert(key, found);
    return found;
}

QCheckBox *TfmBillBase::option(const QString &name) const
{
    return qobject_cast<QCheckBox *>(field(name));
}

QString TfmBillBase::fieldText(const QString &name) const
{
    return FormControls::text(field(name));
}

void TfmBillBase::setFieldText(const QString &name, const QString &text)
{
    setTextIfDifferent(field(name), text);
}

bool TfmBillBase::isFieldShown(const QString &name) const
{
    const QWidget *f = field(name);
    return f && f->isVisibleTo(const_cast<TfmBillBase *>(this));
}

void TfmBillBase::setTextIfDifferent(QWidget *f, const QString &text)
{
    if (f && FormControls::text(f) != text)
        FormControls::setText(f, text);
}

namespace {

// A list laid over a field while that field is edited holds no value of
// its own.
bool isOverlay(const QWidget *w)
{
    return w->property("overlay").toBool();
}

} // namespace

QHash<QString, QString> TfmBillBase::billContent() const
{
    QHash<QString, QString> content;
    const QList<QWidget *> fields = m_panel->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (const QWidget *f : fields) {
        if (f->objectName().isEmpty() || isOverlay(f))
            continue;
        if (const auto *date = qobject_cast<const QDateEdit *>(f))
            content.insert(f->objectName(), date->date().toString(Qt::ISODate));
        else if (const auto *box = qobject_cast<const QCheckBox *>(f))
            content.insert(f->objectName(), box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
        else if (qobject_cast<const QLineEdit *>(f) || qobject_cast<const QComboBox *>(f)
                 || qobject_cast<const QPlainTextEdit *>(f))
            content.insert(f->objectName(), FormControls::text(f));
    }
    return content;
}

void TfmBillBase::restoreBillContent(const QHash<QString, QString> &content)
{
    // A field set here may make another follow it (a city the destination
    // station, a mobile the telephone): a second round puts those back.
    for (int round = 0; round < 2; ++round) {
        for (auto it = content.constBegin(); it != content.constEnd(); ++it) {
            QWidget *f = field(it.key());
            if (!f)
                continue;
            if (auto *date = qobject_cast<QDateEdit *>(f)) {
                const QDate d = QDate::fromString(it.value(), Qt::ISODate);
                if (d != date->date())
                    setBillDate(d);
            } else if (auto *box = qobject_cast<QCheckBox *>(f)) {
                box->setChecked(it.value() == QLatin1String("1"));
            } else {
                setTextIfDifferent(f, it.value());
            }
        }
    }
}

void TfmBillBase::connectFieldEdits()
{
    const QList<QWidget *> fields = m_panel->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *f : fields) {
        if (auto *edit = qobject_cast<QLineEdit *>(f)) {
            connect(edit, &QLineEdit::textChanged, this, &TfmBillBase::fieldEdited);
            connect(edit, &QLineEdit::textChanged, this, [this, edit] { fitFieldFont(edit); });
        }
        else if (auto *list = qobject_cast<QComboBox *>(f))
            connect(list, &QComboBox::currentTextChanged, this, &TfmBillBase::fieldEdited);
        else if (auto *memo = qobject_cast<QPlainTextEdit *>(f))
            connect(memo, &QPlainTextEdit::textChanged, this, &TfmBillBase::fieldEdited);
        else if (auto *box = qobject_cast<QCheckBox *>(f))
            connect(box, &QCheckBox::toggled, this, &TfmBillBase::fieldEdited);
    }
}

void TfmBillBase::fieldEdited()
{
    MustSavechange();
}

void TfmBillBase::fitFieldFont(QLineEdit *edit)
{
    constexpr int kNormal = 9;
    constexpr int kSmallest = 6;
    QFont font = edit->font();
    const int room = edit->width() - 6;  // frame and the edit's own margins
    int size = kNormal;
    for (; size > kSmallest; --size) {
        font.setPointSize(size);
        if (QFontMetrics(font).horizontalAdvance(edit->text()) <= room)
            break;
    }
    font.setPointSize(size);
    if (edit->font().pointSize() != size)
        edit->setFont(font);
}

void TfmBillBase::fitAllFieldFonts()
{
    const QList<QLineEdit *> edits = m_panel->findChildren<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly);
    for (QLineEdit *edit : edits)
        fitFieldFont(edit);
}

// ---- Amount --------------------------------------------------------------------

AmountStatus TfmBillBase::setJEXX(const QString &text)
{
    return m_amount ? m_amount->setJEXX(text) : AmountStatus::Cleared;
}

void TfmBillBase::WriteToJEGrid(const QString &code, qint64 cents)
{
    if (m_amount)
        m_amount->WriteToJEGrid(code, cents);
}

void TfmBillBase::setMoneyName(const QString &name)
{
    if (m_amount)
        m_amount->setMoneyName(name);
}

QString TfmBillBase::moneyName() const
{
    return m_amount ? m_amount->moneyName() : QString();
}

QString TfmBillBase::getMoneyCode()
{
    return m_amount ? m_amount->getMoneyCode() : QString();
}

void TfmBillBase::inputJEXXExit()
{
    if (m_amount)
        m_amount->inputJEXXExit();
}

bool TfmBillBase::commitTypedInput()
{
    return !m_amount || m_amount->commitPending();
}

QString TfmBillBase::amountText() const
{
    return m_amount ? m_amount->amountText() : QString();
}

// ---- Date ------------------------------------------------------------------------

QDate TfmBillBase::billDate() const
{
    return m_selDate->date();
}

void TfmBillBase::setBillDate(const QDate &date)
{
    {
        const QSignalBlocker quiet(m_selDate);
        m_selDate->setDate(date);
    }
    renderDate();
}

void TfmBillBase::renderDate()
{
    const QDate d = billDate();
    const QString year = d.toString(QStringLiteral("yyyy"));
    const QString month = d.toString(QStringLiteral("MM"));
    const QString day = d.toString(QStringLiteral("dd"));
    const QCheckBox *chinese = option(QStringLiteral("cfgDateChinese"));
    const bool capitals = chinese && chinese->isChecked();
    setFieldText(QStringLiteral("zdNian"), capitals ? dateNumberToChinese(year) : year);
    setFieldText(QStringLiteral("zdYue"), capitals ? dateNumberToChinese(month) : month);
    setFieldText(QStringLiteral("zdRi"), capitals ? dateNumberToChinese(day) : day);
    setFieldText(QStringLiteral("cgNian"), year);
    setFieldText(QStringLiteral("cgYue"), month);
    setFieldText(QStringLiteral("cgRi"), day);
    setFieldText(QStringLiteral("zdNianYueRi"), d.toString(QStringLiteral("yyyy-MM-dd")));
    MustSavechange();
}

} // namespace billprint
