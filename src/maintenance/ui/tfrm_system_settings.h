#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace billprint {

class DataRoot;
class MainFrame;

// "系统设置": the settings this desk keeps in its own Config.ini. Today the
// shared database ([Database] Url): an office's PostgreSQL address, or
// empty for the desk's own database file. The address is tried with
// "测试连接"; saved, it is used from the next start on, because every open
// window holds the database the program started with.
class TfrmSystemSettings : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSystemSettings(const DataRoot &root, QWidget *parent = nullptr);

    QLineEdit *databaseUrlBox() const { return m_databaseUrl; }
    QPushButton *testButton() const { return m_test; }
    QPushButton *saveButton() const { return m_save; }

    // Opens the typed address and tells whether it answers.
    void testConnection();
    // Writes the typed address to Config.ini and closes; a bad address is
    // told and nothing is written.
    void saveSettings();

private:
    const DataRoot &m_root;
    QString m_storedUrl;
    QLineEdit *m_databaseUrl;
    QPushButton *m_test;
    QPushButton *m_save;
};

// Registers the command "系统设置" with the main window.
void installSystemSettings(MainFrame &mainWindow);

} // namespace billprint
