#pragma once

#include <QDialog>
#include <functional>
#include <memory>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace billprint {

class AppContext;
class TemplatePackage;

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
    QListWidget *packageList() const { return m_packageList; }
    QListWidget *importChosen() const { return m_importChosen; }
    QListWidget *databaseList() const { return m_databaseList; }
    QListWidget *exportChosen() const { return m_exportChosen; }
    void startImport();
    void startExport();
    static QString proposedExportName(const QStringList &chosen);

private:
    QWidget *buildImportPage();
    QWidget *buildExportPage();
    void loadDatabaseList();

    AppContext &m_ctx;
    std::unique_ptr<TemplatePackage> m_package;
    QTabWidget *m_tabs = nullptr;
    QLineEdit *m_packagePath = nullptr, *m_exportPath = nullptr;
    QListWidget *m_packageList = nullptr, *m_importChosen = nullptr, *m_databaseList = nullptr,
                *m_exportChosen = nullptr;
    QPushButton *m_import = nullptr, *m_export = nullptr;
};

} // namespace billprint
