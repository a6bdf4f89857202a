#pragma once

#include <QDialog>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QStatusBar;
class QTabWidget;

namespace billprint {

class AppContext;
class PathBox;
class TemplatePackage;
struct ImportReport;

// Imports templates from a package and exports templates into a new one.
class TfrmBillImportExport : public QDialog
{
    Q_OBJECT
public:
    TfrmBillImportExport(AppContext &ctx, bool importOnly, QWidget *parent = nullptr);
    ~TfrmBillImportExport() override;

    // Run after a successful import (the bill windows reload their templates).
    std::function<void()> afterImport;
    std::function<void()> openDownloads;

    // What the file dialogs would give; tests call these directly.
    void choosePackage(const QString &path);
    void chooseExportFile(const QString &path);
    // The file dialog was cancelled: nothing can be moved or imported.
    void packageChoiceCancelled();
    QListWidget *packageList() const { return m_packageList; }
    QListWidget *importChosen() const { return m_importChosen; }
    QListWidget *databaseList() const { return m_databaseList; }
    QListWidget *exportChosen() const { return m_exportChosen; }
    QPushButton *importButton() const { return m_import; }
    QStatusBar *statusBar() const { return m_status; }
    QLineEdit *packagePathBox() const;
    QLabel *progress() const { return m_progress; }
    QLabel *exportCover() const { return m_cover; }
    bool exportPanelShown() const;
    void startImport();
    void startExport();
    // Empties the chosen import list and lists the package anew.
    void clearImportChoice();
    static QString proposedExportName(const QStringList &chosen);

    // The pictures behind the list entries, in the picture viewer.
    void showPackagePicture(const QString &fullName);
    void showDatabasePicture(const QString &fullName);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildImportPage();
    QWidget *buildExportPage();
    QWidget *buildExportPanel();
    void loadPackageList();
    void loadDatabaseList();
    void setImportMovesEnabled(bool enabled);
    void watchList(QListWidget *list, std::function<void(const QString &)> open);
    void coverClicked();
    // Tells a failure and keeps it in Config.ini as the last package error.
    void fail(const QString &message);
    // Names the templates imported without a picture and those refused.
    void tellImportGaps(const ImportReport &report);

    AppContext &m_ctx;
    std::unique_ptr<TemplatePackage> m_package;
    QTabWidget *m_tabs = nullptr;
    QStatusBar *m_status = nullptr;
    QLabel *m_progress = nullptr;
    PathBox *m_packagePath = nullptr, *m_exportPath = nullptr;
    QListWidget *m_packageList = nullptr, *m_importChosen = nullptr, *m_databaseList = nullptr,
                *m_exportChosen = nullptr;
    QList<QPushButton *> m_importMoves;
    QPushButton *m_import = nullptr, *m_export = nullptr;
    QCheckBox *m_updateOld = nullptr, *m_keepOld = nullptr;
    QStackedWidget *m_exportStack = nullptr;
    QLabel *m_cover = nullptr;
    int m_coverClicks = 0;
};

} // namespace billprint
