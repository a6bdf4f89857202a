#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTableView;

namespace billprint {

class AppContext;

// How an export ended.
struct ExportOutcome
{
    enum class Status {
        NotRun,     // the window was closed without exporting
        NoTable,    // no grid or nothing to read
        Declined,   // no rows and the user wanted no empty sample
        Cancelled,  // the user chose no file
        Aborted,    // stopped by "中止导出"; the rows so far are saved
        Done,
        Failed,     // the workbook could not be written
    };
    Status status = Status::NotRun;
    int rowsWritten = 0;
    int totalRows = 0;
    QString path;
};

// The export window: exports the rows of a grid into an .xlsx workbook,
// showing the progress, and opens the workbook with the desktop's
// spreadsheet program. Hidden grid columns are left out.
class TfrmExportExcel : public QDialog
{
    Q_OBJECT
public:
    TfrmExportExcel(AppContext &context, QTableView *grid, const QString &caption, QWidget *parent = nullptr);

    // Asks where to save; returns the chosen path or empty to give up.
    // Tests replace the file dialog with their own answer.
    using SavePathChooser = std::function<QString(QWidget *parent, const QString &suggestedPath)>;
    static SavePathChooser setSavePathChooser(SavePathChooser chooser);

    // A timestamped file in the export folder named after the caption.
    QString suggestedPath() const;
    const ExportOutcome &outcome() const { return m_outcome; }
    QString progressText() const;
    QPushButton *startButton() const { return m_btStart; }
    QPushButton *abortButton() const { return m_btAbort; }

    void btStartClick();
    void btAbortClick();

protected:
    void reject() override;

private:
    void runExport();
    bool prepareRows();
    QList<int> exportedColumns() const;
    QStringList rowTexts(int row, const QList<int> &columns) const;
    void showProgress(int current);

    AppContext &m_ctx;
    QTableView *m_grid;
    QString m_caption;
    QLabel *m_lbState = nullptr;
    QLabel *m_lbCount = nullptr;
    QPushButton *m_btStart = nullptr;
    QPushButton *m_btAbort = nullptr;
    QPushButton *m_btClose = nullptr;
    bool m_abort = false;
    bool m_running = false;
    ExportOutcome m_outcome;
};

// Opens the export window for `grid`, modally.
void ExportGrid2Excel(AppContext &context, QTableView *grid, const QString &caption, QWidget *parent = nullptr);

} // namespace billprint
