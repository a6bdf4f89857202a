// Binds the amount state (bills/amount_entry.h) to the named fields of a
// bill window, found by name without regard to letter case:
//
//   inputJEXX      the floating input where the amount is typed
//   zdJEXX         figures; cgJEXX its stub copy
//   zdJEDX         capitals
//   zdYY … zdF     the eleven digit boxes; cgYY … cgF stub boxes (deposit slip)
//   zdMoney        the currency name (cash payment slip)
//   cfgMoneyType   the currency list
//   cfgJEXXWithMoneyCode, cfgJEDXWithMoneyName, cfgJEDXRMBChecked,
//   cfgNoPrtSheep  the option boxes; a window without one behaves as if it
//                  stood at its default (code and name on, the other two off)
//
// Fields a window lacks are skipped. Entering the figures or the capitals
// lays the input over that field; the key filter refuses letters,
// full-width characters, blanks and "-"; Enter, leaving the input, a
// currency change and a click on an option box commit the typed amount;
// Escape puts the amount that stands back.
#pragma once

#include "bills/amount_entry.h"

#include <QObject>
#include <QPointer>
#include <array>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QWidget;

namespace billprint {

class Database;

class AmountEntryController : public QObject
{
    Q_OBJECT
public:
    AmountEntryController(const Database &db, QWidget *window);
    AmountEntryController(CurrencyState::CodeLookup lookup, QWidget *window);
    ~AmountEntryController() override;

    // Sets the currency ("人民币" when empty) and selects it in the list.
    void setMoneyName(const QString &name);
    QString moneyName() const { return m_entry.moneyName(); }
    QString getMoneyCode() { return m_entry.getMoneyCode(); }

    // Validates `text` and spreads it over every amount field with the
    // current options; a refused text is reported and changes nothing.
    AmountStatus setJEXX(const QString &text);
    void WriteToJEGrid(const QString &code, qint64 cents);

    // Commits the typed amount: cleans the input, applies it and hides the
    // input. A refused amount keeps the input open with what was typed and
    // the figures as they were, so nothing wrong goes to paper.
    void inputJEXXExit();
    // Before the bill is printed, saved, copied or converted: commits what
    // the input holds when it differs from the amount that stands. False
    // while the input holds a refused text, which the fields do not show.
    bool commitPending();
    // True while the input holds a text the amount fields do not show (a
    // refused amount waiting to be corrected).
    bool holdsRefusedText() const;
    // Puts the amount that stands back into the input and closes it
    // (Escape in the input).
    void restoreAccepted();

    // Lays the input exactly over `field` (the figures or the capitals),
    // on top, text selected, with the focus.
    void beginInput(QWidget *field);
    bool isEditing() const;

    // The amount as the bill stores it: the accepted text of inputJEXX,
    // never a refused one still in the input.
    QString amountText() const;
    qint64 cents() const { return m_entry.cents(); }
    AmountOptions currentOptions() const;
    const AmountEntry &entry() const { return m_entry; }

    static QString refusedKeyMessage();

signals:
    // After every accepted amount (applied or cleared); a bill window turns
    // its saved flag off here.
    void amountApplied();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void bind(QWidget *window);
    void writeFields();
    void hideInput();
    void keepInputFocused();
    void currencyListChanged(const QString &name);
    bool filterInputKey(QEvent *event);
    static bool refusedCharacter(QChar c);

    AmountEntry m_entry;
    QPointer<QLineEdit> m_input;
    // The same widget as a plain object, for the event filter: while the
    // line edit is being destroyed it still gets events but is no QLineEdit
    // any more, and m_input's cast to QLineEdit would be undefined.
    QPointer<QObject> m_inputObject;
    QPointer<QWidget> m_figures;
    QPointer<QWidget> m_stub;
    QPointer<QWidget> m_capitals;
    QPointer<QWidget> m_moneyName;
    std::array<QPointer<QWidget>, kDigitBoxCount> m_boxes;
    std::array<QPointer<QWidget>, kDigitBoxCount> m_stubBoxes;
    QPointer<QComboBox> m_currencyList;
    QPointer<QAbstractButton> m_withCode;
    QPointer<QAbstractButton> m_withName;
    QPointer<QAbstractButton> m_rmbChecked;
    QPointer<QAbstractButton> m_noSheep;
    bool m_committing = false;
    bool m_writing = false;  // fields are written by code, not typed
    bool m_hiding = false;   // the input is being put away
};

} // namespace billprint
