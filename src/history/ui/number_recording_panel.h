// The cheque history's panel for recording a run of cheque numbers in
// advance ("登记连号票据"): the range, the fixed length with an optional
// prefix, the drawer's unit with bank and account, and the template.
#pragma once

#include "addressbook/person.h"
#include "history/number_recording.h"

#include <QGroupBox>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace billprint {

class AppContext;
struct HistoryWindowHost;

class NumberRecordingPanel : public QGroupBox
{
    Q_OBJECT
public:
    NumberRecordingPanel(AppContext &context, const HistoryWindowHost &host, QWidget *parent = nullptr);

    // Where "登记编号为：…的票据!" goes while numbers are recorded.
    void setStatusLine(QLabel *status) { m_status = status; }

    // The batch as the boxes show it.
    NumberBatch batch() const;

    void pickDrawer();     // "选取.."
    void fillTemplates();  // the template list, on first entry
    // "开始登记": true when the numbers were recorded (some may have been
    // left out with a message).
    bool startRecording();

    QLineEdit *fromBox() const { return m_edtFrom; }
    QLineEdit *toBox() const { return m_edtTo; }
    QSpinBox *lengthBox() const { return m_spLength; }
    QLineEdit *prefixBox() const { return m_edtPrefix; }
    QLineEdit *drawerBox() const { return m_edtDrawer; }
    QLineEdit *bankBox() const { return m_edtBank; }
    QLineEdit *accountBox() const { return m_edtAccount; }
    QComboBox *templateBox() const { return m_cbTemplate; }
    QPushButton *startButton() const { return m_btStart; }
    QPushButton *endButton() const { return m_btEnd; }

signals:
    void recorded();
    void endRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setStatus(const QString &text);

    AppContext &m_ctx;
    std::function<std::optional<TPerson>(const QString &, const QString &, QWidget *)> m_pick;
    QLabel *m_status = nullptr;
    QLineEdit *m_edtFrom = nullptr;
    QLineEdit *m_edtTo = nullptr;
    QSpinBox *m_spLength = nullptr;
    QLineEdit *m_edtPrefix = nullptr;
    QLineEdit *m_edtDrawer = nullptr;
    QLineEdit *m_edtBank = nullptr;
    QLineEdit *m_edtAccount = nullptr;
    QComboBox *m_cbTemplate = nullptr;
    QPushButton *m_btStart = nullptr;
    QPushButton *m_btEnd = nullptr;
};

} // namespace billprint
