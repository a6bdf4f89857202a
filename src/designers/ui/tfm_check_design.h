// The field designer: the input boxes of one template's entry window over
// the template's picture. A field is picked from the list or the canvas and
// moved or resized with the mouse, the keys, the buttons or the number
// boxes, hidden or shown; the template's own check items are named here.
// Every change is written to the field's row at once and is one step of
// the window's undo stack; the template's layout cache is rebuilt when the
// window closes, so the bill windows lay the fields out anew.
#pragma once

#include "templates/ck_control.h"
#include "templates/name_dict.h"
#include "templates/template_edit.h"

#include <QDialog>
#include <QSet>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QSlider;
class QSpinBox;
class QUndoStack;

namespace billprint {

class AppContext;
class DesignCanvas;
struct ColumnEdit;

class TfmCheckDesign : public QDialog
{
    Q_OBJECT
public:
    // `checkTypeId` <= 0: the main window's current template, else a default one.
    TfmCheckDesign(AppContext &context, int checkTypeId, QWidget *parent = nullptr);
    ~TfmCheckDesign() override;

    // The value prompt of "自定义勾选项"; by default giveMeAnValue.
    std::function<QString(const QString &prompt, const QString &defaultValue, const QString &kind)> askValue;

    // ---- for the tests ----
    int checkTypeId() const { return m_checkTypeId; }
    const QString &family() const { return m_family; }
    DesignCanvas *canvas() const { return m_canvas; }
    QUndoStack *undoStack() const { return m_undo.get(); }
    QString currentField() const { return m_current; }
    // Selects a field by name (as a click on its box does); false when the
    // template has no box of that name.
    bool selectField(const QString &name);
    // Selects a field by its label (as a click in the list does).
    bool selectFieldByLabel(const QString &label);
    void setHidden(bool hidden);
    // Moves / resizes the current box by key (Ctrl/Shift + arrow).
    void keyStep(int dx, int dy, Qt::KeyboardModifiers modifiers);
    void moveByStep(int dx, int dy);
    void editCheckCaptions();
    void showTips();
    void saveCurrent();
    QString statusText(int panel) const;
    QComboBox *lastNameBox() const { return m_cbLastName; }

protected:
    void done(int result) override;
    // Entering the last-name combo: see lastNameEntered.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Field
    {
        NameDict entry;
        std::optional<CkControl> row;
    };

    void buildWindow();
    void chooseInitialTemplate(int checkTypeId);
    void familyChosen(const QString &family);
    void lastNameChosen(const QString &lastName);
    // Remembers the chosen template's version, which its steps check.
    void readTemplateVersion();
    void lastNameEntered();
    void layOut(bool force);
    void loadFieldList();
    void rebuildCanvas();
    void afterWrite();
    const Field *field(const QString &name) const;
    QRect boxOf(const Field &f) const;
    void fillNumberBoxes();
    QRect typedBox(const CkControl &row) const;
    void previewNumberBoxes();
    bool commitNumberBoxes();
    bool requireCurrent(bool fromNumberBoxes);
    bool writeBox(const QString &text, QRect box, std::optional<bool> hidden = std::nullopt);
    void ensureRow(const QString &name);
    void dragFinished(QPoint delta);
    void setStatus(int panel, const QString &text);

    AppContext &m_ctx;
    int m_checkTypeId = 0;
    std::shared_ptr<TemplateVersion> m_version;  // of the template as read when chosen
    int m_shownId = 0;
    QString m_family;
    QString m_lastName;
    QString m_listedFamily;
    QStringList m_captions;
    QSize m_picture;
    QString m_current;
    QString m_previous;
    bool m_updating = false;
    // What the number boxes showed when they were filled from the current
    // row: a stored value outside a box's range shows clamped, and only a
    // box the user changed away from it is written back.
    QRect m_shownBox;
    QSet<int> m_touched;  // templates whose cache is rebuilt on closing
    std::vector<Field> m_fields;
    std::unique_ptr<QUndoStack> m_undo;

    QComboBox *m_cbFamily = nullptr;
    QComboBox *m_cbLastName = nullptr;
    QListWidget *m_lbFields = nullptr;
    QSlider *m_slStep = nullptr;
    QSpinBox *m_edtH = nullptr;
    QSpinBox *m_edtW = nullptr;
    QSpinBox *m_edtX = nullptr;
    QSpinBox *m_edtY = nullptr;
    QLabel *m_lbFont = nullptr;
    QCheckBox *m_ckHide = nullptr;
    DesignCanvas *m_canvas = nullptr;
    QLabel *m_status[3] = {};
};

} // namespace billprint
