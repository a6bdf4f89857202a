#pragma once

#include "printing/print_offsets.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace billprint {

class AppContext;

// The offset window (打印整体偏移调整): pick an enabled template on the
// left, shift its whole print by tenths of a millimetre, set its paper
// feed direction, paper size and picture size. Arrow clicks and leaving
// an offset or paper box store the template at once, quietly.
class TfrmPrintOffset : public QDialog
{
    Q_OBJECT
public:
    // Opens on template `checkTypeId`; a hidden or unknown one is reported
    // and the first enabled template is adjusted instead.
    TfrmPrintOffset(AppContext &context, int checkTypeId, QWidget *parent = nullptr);

    // The template being adjusted; 0 when none.
    int checkTypeId() const { return m_values.checkTypeId; }
    // The values on screen.
    PrintOffsets valuesOnScreen() const;
    // True when the window closed to open the template designer on the
    // template (the main window's current template by then).
    bool designRequested() const { return m_designRequested; }

    // Loads the template named by the list row; the list's own click.
    void loadSelected();
    // Selects and loads the template of the list with this name.
    bool selectTemplate(const QString &typeName);

    // Saves with a message box, or quietly (window title only). Returns
    // the rows changed, 0 or more; -1 when nothing was saved.
    int save(bool quiet);

    // One arrow click: +10 or -10 tenths of a millimetre, then saved.
    void moveBy(int dx, int dy);

    QListWidget *templateList() const { return m_lbCheckTypes; }
    QLabel *currentLabel() const { return m_lbCurrent; }
    QSpinBox *xMoveBox() const { return m_edtXMove; }
    QSpinBox *yMoveBox() const { return m_edtYMove; }
    QSpinBox *paperWidthBox() const { return m_edtPWidth; }
    QSpinBox *paperHeightBox() const { return m_edtPHeight; }
    QSpinBox *pictureWidthBox() const { return m_edtTWidth; }
    QSpinBox *pictureHeightBox() const { return m_edtTHeight; }
    QRadioButton *portraitButton() const { return m_rbPortrait; }
    QRadioButton *landscapeButton() const { return m_rbLandscape; }
    QLabel *xCentimetreLabel() const { return m_lbXcm; }
    QLabel *yCentimetreLabel() const { return m_lbYcm; }
    QLabel *paperWidthCentimetreLabel() const { return m_lbPWcm; }
    QLabel *paperHeightCentimetreLabel() const { return m_lbPHcm; }
    QPushButton *button(const QString &objectName) const;

    // The vendor's page of recommended offsets for this template.
    QString recommendationUrl() const;

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void buildWindow();
    void fillTemplateList(int wanted);
    void showValues(const PrintOffsets &values);
    void updateCentimetreLabels();
    void boxLeft();
    void requestDesign();
    void showFeedPicture(bool landscape);
    QSpinBox *makeBox(const QString &name, int min, int max);

    AppContext &m_ctx;
    PrintOffsetStore m_store;
    PrintOffsets m_values;  // the template loaded; checkTypeId 0 = none
    bool m_saving = false;
    bool m_loading = false;
    bool m_sizeRestored = false;
    bool m_designRequested = false;

    QListWidget *m_lbCheckTypes = nullptr;
    QLabel *m_lbCurrent = nullptr;
    QSpinBox *m_edtXMove = nullptr;
    QSpinBox *m_edtYMove = nullptr;
    QSpinBox *m_edtPWidth = nullptr;
    QSpinBox *m_edtPHeight = nullptr;
    QSpinBox *m_edtTWidth = nullptr;
    QSpinBox *m_edtTHeight = nullptr;
    QLabel *m_lbXcm = nullptr;
    QLabel *m_lbYcm = nullptr;
    QLabel *m_lbPWcm = nullptr;
    QLabel *m_lbPHcm = nullptr;
    QRadioButton *m_rbPortrait = nullptr;
    QRadioButton *m_rbLandscape = nullptr;
};

} // namespace billprint
