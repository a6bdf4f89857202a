// The spreadsheet import window: choose a file and a sheet, check or
// correct the matching of its columns to the target items, and store the
// rows in the address book or the batch list.
#pragma once

#include "batch/import_run.h"
#include "batch/import_session.h"

#include <QDialog>
#include <QHash>
#include <functional>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace billprint {

class AppContext;

// Opens the import window for `target`, modally, with the scenario fixed.
// `afterStored` runs after an import that stored rows, before the window
// closes (the opener lists its rows again). Returns what the import did
// (nothing stored and no message when the window was closed unused).
ImportResult openSpreadsheetImport(AppContext &context, ImportTarget target, QWidget *parent,
                                   const std::function<void()> &afterStored);

class TfrmImport : public QDialog
{
    Q_OBJECT
public:
    TfrmImport(AppContext &context, ImportTarget target, QWidget *parent = nullptr);
    ~TfrmImport() override;

    void setAfterStored(std::function<void()> afterStored) { m_afterStored = std::move(afterStored); }

    // The browse steps without the file dialog: opens the file, lists its
    // sheets, selects the active one and matches. False when the file
    // cannot be read (the user was told).
    bool openFile(const QString &path);
    // Activates sheet `index` and matches its columns again.
    bool chooseSheet(int index);
    // The drop-down of an item in the current scenario (null when the
    // scenario has none).
    QComboBox *field(const QString &item) const;
    // The column an item's field names now (0: none); for 订单号 and
    // 会员Id, which have no field, the matched column.
    int chosenColumn(const QString &item) const;
    // Runs the import as "4、【开始导入】(&M)" does.
    void start();
    // What the last import did.
    const ImportResult &lastResult() const { return m_result; }
    QString statusText() const;
    QString logPath() const;

    void reject() override;

private:
    void setControlsEnabled(bool on);
    void buildWindow();
    QWidget *buildFields();
    QWidget *buildOptions();
    QComboBox *addField(QFormLayout *form, const QString &item, const QString &caption, bool book);
    void showScenario();
    void btBrowseClick();
    void cbSheetChange(int index);
    bool readColumns();
    void fillFields();
    void applyMatches(const QHash<QString, int> &matches);
    void applyFixedKind();
    ImportOptions options() const;
    bool stopAsked();
    void ckDuplicateClick(bool on);
    void btViewLogClick();
    void btColumnCfgClick();
    void showFormatHelp();
    void setStatus(const QString &text);

    AppContext &m_ctx;
    ImportTarget m_target;
    ImportSession m_session;
    ImportResult m_result;
    std::function<void()> m_afterStored;
    bool m_stopPressed = false;
    bool m_running = false;

    QComboBox *m_scenario = nullptr;
    QLineEdit *m_file = nullptr;
    QComboBox *m_sheet = nullptr;
    QGroupBox *m_bookBox = nullptr;
    QGroupBox *m_listBox = nullptr;
    QHash<QString, QComboBox *> m_common;  // fields of both scenarios
    QHash<QString, QComboBox *> m_book;
    QHash<QString, QComboBox *> m_list;
    QHash<QString, int> m_fieldless;  // matched items the window has no field for (订单号, 会员Id)
    QCheckBox *m_fixed = nullptr;
    QCheckBox *m_duplicate = nullptr;
    QCheckBox *m_byContact = nullptr;
    QCheckBox *m_byName = nullptr;
    QCheckBox *m_byPhone = nullptr;
    QCheckBox *m_askDuplicate = nullptr;
    QCheckBox *m_orderId = nullptr;
    QCheckBox *m_memberId = nullptr;
    QCheckBox *m_openLog = nullptr;
    QCheckBox *m_wpsFirst = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_viewLog = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_status = nullptr;
};

class MainFrame;

// Hooks the import into the address book's "Excel导入".
void installSpreadsheetImport(MainFrame &mainWindow);

} // namespace billprint
