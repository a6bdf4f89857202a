#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace billprint {

class AppContext;
class MainFrame;

// "禾朔软件升级包": checks the installation named by the user and brings
// the program's own data up to date with DataUpgrade, showing each step.
class TfrmUp2NewVersion : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmUp2NewVersion(AppContext &context, QWidget *parent = nullptr);

    QLineEdit *programFileBox() const { return m_programFile; }
    QPushButton *startButton() const { return m_start; }
    QProgressBar *progressBar() const { return m_bar; }
    QLabel *progressLabel() const { return m_progressLabel; }

    void btBrowseClick();
    void btEnvTestClick();
    void btStartUpdateClick();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    AppContext &m_ctx;
    QLineEdit *m_programFile;
    QPushButton *m_start;
    QProgressBar *m_bar;
    QLabel *m_progressLabel;
    QTimer *m_focusTimer;
};

// Registers the hidden upgrade command "  升级到9.28" with the main window.
void installDataUpgrade(MainFrame &mainWindow);

} // namespace billprint
