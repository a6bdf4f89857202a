// "打印预览": the pages of a print run as the printer would get them, over
// the form's picture (shown, never printed), with zoom, page arrows and
// the printer's printable area; values beyond it are outlined in red.
#pragma once

#include "printing/preview_print_output.h"

#include <QDialog>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace billprint {

// One page of a preview at a given size.
class PreviewPageView : public QWidget
{
    Q_OBJECT
public:
    explicit PreviewPageView(const PrintPreview &preview, QWidget *parent = nullptr);

    void setPage(int index);
    void setFormShown(bool shown);
    // Screen pixels for a millimetre of paper.
    void setPixelsPerMm(double pixels);
    double pixelsPerMm() const { return m_pixelsPerMm; }
    // The paper's size on the screen at `pixelsPerMm`.
    QSize paperPixels(double pixelsPerMm) const;
    // The page drawn on a picture of the paper alone at `pixelsPerMm`.
    QImage renderPage(double pixelsPerMm) const;

    static constexpr int Margin = 12;  // around the paper

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintPaper(QPainter &painter, double pixelsPerMm) const;

    const PrintPreview &m_preview;
    int m_page = 0;
    bool m_formShown = true;
    double m_pixelsPerMm = 4;
};

class PrintPreviewDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Zoom { FitPage, Actual, Double };

    // Accepted when the user asks to print ("打印"); the caller prints.
    PrintPreviewDialog(PrintPreview preview, const QString &title, QWidget *parent = nullptr);

    const PrintPreview &preview() const { return m_preview; }
    int currentPage() const { return m_page; }
    int pageCount() const { return int(m_preview.pages.size()); }
    void showPage(int index);
    void setZoom(Zoom zoom);
    Zoom zoom() const { return m_zoom; }
    bool formShown() const;
    PreviewPageView *pageView() const { return m_view; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *buildToolRow();
    void applyZoom();
    void updatePageControls();

    PrintPreview m_preview;
    int m_page = 0;
    Zoom m_zoom = Zoom::FitPage;
    PreviewPageView *m_view = nullptr;
    QScrollArea *m_scroll = nullptr;
    QCheckBox *m_showForm = nullptr;
    QButtonGroup *m_zoomButtons = nullptr;
    QToolButton *m_previous = nullptr;
    QToolButton *m_next = nullptr;
    QLabel *m_pageLabel = nullptr;
    QLabel *m_note = nullptr;
};

// Opens the preview over `parent`, modal to its window and deleted when
// closed; "打印" runs `print` once the preview has closed (a print may turn
// the event loop, which must not delete the closing window).
PrintPreviewDialog *openPrintPreview(PrintPreview preview, const QString &title, QWidget *parent,
                                     std::function<void()> print);

} // namespace billprint
