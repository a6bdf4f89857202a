// The template designer: where and how a template's print items land on
// the paper. The paper is shown at its real size (millimetres at a chosen
// zoom of the screen's logical resolution) under the form's picture, with
// one label per print item drawn as it prints. Items are picked singly or
// several at a time, moved with the mouse, the arrow keys or in steps, and
// edited through the property panel or the batch operations. Every change
// is written at once and is one step of the window's undo stack.
#pragma once

#include "templates/ck_control.h"
#include "designers/design_labels.h"
#include "templates/name_dict.h"
#include "templates/template_edit.h"
#include "templates/print_box_ops.h"

#include <QDialog>
#include <QHash>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSlider;
class QSpinBox;
class QStackedWidget;
class QUndoStack;
class QWidget;

namespace billprint {

class AppContext;
class DesignCanvas;

class TfmTemplateDesigner : public QDialog
{
    Q_OBJECT
public:
    TfmTemplateDesigner(AppContext &context, int checkTypeId, QWidget *parent = nullptr);
    ~TfmTemplateDesigner() override;

    // False when the template has no family: the window told so and is not to be shown.
    bool isUsable() const { return m_usable; }

    // "【显示隐藏项目】": the field designer for a template (by default
    // TfmCheckDesign, modal); afterwards `afterFieldDesigner` (the open
    // bill windows lay out again).
    std::function<void(int checkTypeId)> openFieldDesigner;
    std::function<void()> afterFieldDesigner;
    // The calibration sheet on the bill printer (default) or elsewhere.
    std::function<void(int checkTypeId)> printCalibration;

    // ---- for the tests and the hooks ----
    int checkTypeId() const { return m_checkTypeId; }
    DesignCanvas *canvas() const { return m_canvas; }
    QUndoStack *undoStack() const { return m_undo.get(); }
    PaperScale scale() const { return m_scale; }
    int zoom() const { return m_zoom; }
    void setZoom(int percent);
    int step() const { return m_step; }
    void setStep(int tenths);
    bool multipleMode() const;
    void setMultipleMode(bool on);
    const QStringList &selection() const { return m_selected; }
    // Selects the items by field name (multiple mode for more than one).
    void selectItems(const QStringList &names);
    QString statusMessage() const;
    QListWidget *selectedList() const { return m_lbSelected; }
    QListWidget *allItemsList() const { return m_lbAll; }
    // The paper of the canvas, tenths of a millimetre.
    QSize paper() const { return m_paper; }

    // The commands of the window's buttons.
    void moveSelected(int dx, int dy);
    void alignSelected(BoxEdge edge);
    void equalSizeSelected(BoxSide side, Extreme extreme);
    void growSelected(BoxSide side, bool grow);
    void distributeSelected(Axis axis);
    void applyFontToSelected();
    void applyFontSizeToSelected();
    void applyPaperSize();
    void applySampleValue();
    void saveCurrentBox();

protected:
    void done(int result) override;
    void resizeEvent(QResizeEvent *event) override;
    // The wheel over either list moves its current line instead of scrolling.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static QString groupHint() { return QStringLiteral("请选择分组"); }

    struct Item
    {
        CkControl field;
        NameDict entry;
        QString listText() const;
    };

    void buildWindow();
    QWidget *buildTopPanel();
    QWidget *buildToolPanel();
    QWidget *buildSidePanel();
    QWidget *buildPropertyPanel();
    QWidget *buildBatchPanel();
    void connectPropertyBoxes();
    // Shows `face` in "打印字体:" by the name the template stores (宋体 ...),
    // listing it when the box lacks it.
    void showFontFace(const QString &face);

    bool loadTemplate();
    // The family's groups into "多选分组:"; a failure is told in the status.
    void loadGroups();
    void loadItems();
    void measureUnsizedItems();
    void rebuildCanvas();
    void refreshLists();
    void refreshPanels();
    void loadProperties();
    void afterWrite();

    const Item *item(const QString &name) const;
    std::vector<PrintBox> selectedBoxes();
    bool pushEdits(const QString &text, std::vector<ColumnEdit> edits, const QString &mergeKey = QString());
    void pushBoxes(const QString &text, const std::vector<PrintBox> &before, const std::vector<PrintBox> &after,
                   const QString &report);
    void writeProperty(const QString &column, const QVariant &value);
    // True when the edit's row exists once; several rows are told, none is quiet.
    bool isSingleRow(const ColumnEdit &edit);
    void setSelection(const QStringList &names);
    void addToSelection(const QString &name);
    void itemPressed(const QString &name, Qt::KeyboardModifiers modifiers);
    void itemDoubleClicked(const QString &name);
    void dragMoved(QPoint delta);
    void dragFinished(QPoint delta);
    void arrowKey(int dx, int dy);
    void modeChanged();
    void groupChosen(const QString &text);
    void zoomChosen(const QString &text);
    void showFieldDesigner();
    void browsePicture();
    void toggleFullScreen();
    void setStatus(const QString &text);
    void updatePaperStatus();
    void updateStepLabel();
    bool requireSelection();

    AppContext &m_ctx;
    int m_checkTypeId = 0;
    std::shared_ptr<TemplateVersion> m_version;  // of the template as read on opening
    QString m_family;
    QString m_fullName;
    bool m_usable = false;
    QSize m_paper{2300, 1270};
    PaperScale m_scale;
    int m_zoom = 100;
    int m_step = 5;
    bool m_updating = false;
    // The box as the property boxes showed it when the current item was
    // loaded: a stored value beyond a box's range shows clamped and is only
    // written when the user changed that box.
    PrintBox m_shownBox;
    QImage m_picture;
    std::vector<Item> m_items;  // the print items, in list order
    QStringList m_selected;     // field names in selection order
    std::unique_ptr<QUndoStack> m_undo;

    DesignCanvas *m_canvas = nullptr;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_topPanel = nullptr;
    QWidget *m_toolPanel = nullptr;
    QLabel *m_lbPicture = nullptr;
    QComboBox *m_cbWidth = nullptr;
    QComboBox *m_cbHeight = nullptr;
    QComboBox *m_cbZoom = nullptr;
    QCheckBox *m_ckTransparent = nullptr;
    QPushButton *m_btFullScreen = nullptr;
    QRadioButton *m_rbSingle = nullptr;
    QRadioButton *m_rbMultiple = nullptr;
    QComboBox *m_cbGroup = nullptr;
    QSlider *m_slStep = nullptr;
    QLabel *m_lbStep = nullptr;
    QListWidget *m_lbSelected = nullptr;
    QListWidget *m_lbAll = nullptr;
    QStackedWidget *m_panels = nullptr;
    // property panel
    QSpinBox *m_edtX = nullptr;
    QSpinBox *m_edtY = nullptr;
    QSpinBox *m_edtW = nullptr;
    QSpinBox *m_edtH = nullptr;
    QComboBox *m_cbFont = nullptr;
    QSpinBox *m_edtFontSize = nullptr;
    QCheckBox *m_ckBold = nullptr;
    QCheckBox *m_ckItalic = nullptr;
    QCheckBox *m_ckUnderline = nullptr;
    QCheckBox *m_ckBreak = nullptr;
    QSpinBox *m_edtBreakNum = nullptr;
    QSpinBox *m_edtBreakFontSize = nullptr;
    QSpinBox *m_edtLineHeight = nullptr;
    QCheckBox *m_ckFit = nullptr;
    QSpinBox *m_edtFit = nullptr;
    QComboBox *m_cbAlign = nullptr;
    QLineEdit *m_edtInitValue = nullptr;
    QComboBox *m_cbSample = nullptr;
    // batch panel
    QComboBox *m_cbBatchFont = nullptr;
    QSpinBox *m_edtBatchFontSize = nullptr;
    QSpinBox *m_edtStrideX = nullptr;
    QSpinBox *m_edtStrideY = nullptr;
    QLabel *m_status[4] = {};
};

} // namespace billprint
