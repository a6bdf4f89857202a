#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace billprint {

// The small one-value prompt ("用户输入"): a prompt line, an editable
// value box with a default, and OK / Cancel. An integer or decimal prompt
// lets only digits (and ".") in and says so below the box.
class TfrmInputValue : public QDialog
{
    Q_OBJECT
public:
    enum class ValueKind { String, Integer, Double };

    explicit TfrmInputValue(QWidget *parent = nullptr);

    // "INT"/"INTEGER" -> Integer, "FLOAT"/"REAL"/"DOUBLE" -> Double, else String.
    static ValueKind kindFromName(const QString &typeName);

    void setPrompt(const QString &prompt);
    void setValue(const QString &value);
    void setValueKind(ValueKind kind);
    ValueKind valueKind() const { return m_kind; }

    // The value box text; empty after Cancel or closing the window.
    QString value() const;

    QComboBox *valueBox() const { return m_value; }
    QLabel *promptLabel() const { return m_prompt; }
    QLabel *hintLabel() const { return m_hint; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

public slots:
    void btOkClick();
    void btCancelClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    bool keyAllowed(const QString &text) const;
    QString refusedHint() const;

    QLabel *m_prompt = nullptr;
    QComboBox *m_value = nullptr;
    QLabel *m_hint = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    ValueKind m_kind = ValueKind::String;
};

// Asks the user for one value: shows the prompt modally and returns the
// trimmed text typed, empty when the user cancelled.
QString giveMeAnValue(const QString &prompt, const QString &defaultValue, const QString &typeName,
                      QWidget *parent = nullptr);

} // namespace billprint
