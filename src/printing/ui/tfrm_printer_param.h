#pragma once

#include "printing/printer_models.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace billprint {

class AppContext;

// The printer adaptation window (打印机整体偏移参数适配): pick the known
// printer model closest to the printer at hand, take over its offsets and
// feed direction, adjust them and apply them to every template.
class TfrmPrinterParam : public QDialog
{
    Q_OBJECT
public:
    // With `fixedPrinter` the printer list shows that printer and cannot
    // be changed.
    explicit TfrmPrinterParam(AppContext &context, const QString &fixedPrinter = QString(),
                              QWidget *parent = nullptr);

    // Shows model `name` in the read-only boxes.
    void loadModel(const QString &name);
    // The user chose model `name`: shows it and copies its values into the
    // adaptation.
    void chooseModel(const QString &name);

    // "3.【应用】到所有单据". Returns true when the templates were changed
    // and the adaptation stored.
    bool applyToAllTemplates();

    QComboBox *modelBox() const { return m_cbModels; }
    QComboBox *printerBox() const { return m_cbPrinters; }
    QLineEdit *modelXEdit() const { return m_edtModelX; }
    QLineEdit *modelYEdit() const { return m_edtModelY; }
    QLineEdit *modelBoardEdit() const { return m_edtModelBoard; }
    QLineEdit *modelDirectionEdit() const { return m_edtModelDirection; }
    QLabel *modelPicture() const { return m_imgModel; }
    QLineEdit *adaptationNameEdit() const { return m_edtName; }
    QSpinBox *xBox() const { return m_edtX; }
    QSpinBox *yBox() const { return m_edtY; }
    QComboBox *directionBox() const { return m_cbDirection; }
    QLineEdit *boardEdit() const { return m_edtBoard; }

    // The vendor's page of recommended values for the chosen printer.
    QString recommendationUrl() const;

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void buildWindow();
    void showStoredAdaptation();
    bool storeAdaptation();

    AppContext &m_ctx;
    PrinterModelCatalog m_catalog;
    bool m_sizeRestored = false;

    QComboBox *m_cbModels = nullptr;
    QLineEdit *m_edtModelX = nullptr;
    QLineEdit *m_edtModelY = nullptr;
    QLineEdit *m_edtModelBoard = nullptr;
    QLineEdit *m_edtModelDirection = nullptr;
    QLabel *m_imgModel = nullptr;
    QLineEdit *m_edtName = nullptr;
    QComboBox *m_cbPrinters = nullptr;
    QSpinBox *m_edtX = nullptr;
    QSpinBox *m_edtY = nullptr;
    QComboBox *m_cbDirection = nullptr;
    QLineEdit *m_edtBoard = nullptr;
};

} // namespace billprint
