#include "printing/ui/print_preview_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace billprint {

namespace {

const QColor kOutsideColour(0xD0, 0x10, 0x10);
const QColor kMarginTint(0x80, 0x80, 0x80, 0x30);

double screenPixelsPerMm(const QWidget &widget)
{
    return widget.logicalDpiX() / 25.4;
}

QString millimetres(double value)
{
    return QString::number(value, 'f', 1);
}

} // namespace

// ---- One page -------------------------------------------------------------------

PreviewPageView::PreviewPageView(const PrintPreview &preview, QWidget *parent) : QWidget(parent), m_preview(preview)
{
    setObjectName(QStringLiteral("previewPage"));
}

void PreviewPageView::setPage(int index)
{
    m_page = index;
    QWidget::update();
}

void PreviewPageView::setFormShown(bool shown)
{
    m_formShown = shown;
    QWidget::update();
}

void PreviewPageView::setPixelsPerMm(double pixels)
{
    m_pixelsPerMm = pixels;
    setFixedSize(paperPixels(pixels) + QSize(2 * Margin, 2 * Margin));
    QWidget::update();
}

QSize PreviewPageView::paperPixels(double pixelsPerMm) const
{
    const QSizeF paper = m_preview.paperMm();
    return QSize(qRound(paper.width() * pixelsPerMm), qRound(paper.height() * pixelsPerMm));
}

QImage PreviewPageView::renderPage(double pixelsPerMm) const
{
    QImage image(paperPixels(pixelsPerMm), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPaper(painter, pixelsPerMm);
    return image;
}

void PreviewPageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect paper(QPoint(Margin, Margin), paperPixels(m_pixelsPerMm));
    painter.fillRect(paper.translated(3, 3), QColor(0, 0, 0, 0x50));
    painter.fillRect(paper, Qt::white);
    painter.translate(paper.topLeft());
    paintPaper(painter, m_pixelsPerMm);
}

void PreviewPageView::paintPaper(QPainter &painter, double pixelsPerMm) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF paper(QPointF(0, 0), m_preview.paperMm() * pixelsPerMm);
    if (m_formShown && !m_preview.form.isNull())
        painter.drawImage(paper, m_preview.form);

    // What the printer cannot reach is tinted; its edge is a dashed line.
    const QRectF area = m_preview.printableArea;
    if (!area.isNull()) {
        const QRectF reach(area.topLeft() * pixelsPerMm, area.size() * pixelsPerMm);
        QPainterPath margins;
        margins.addRect(paper);
        margins.addRect(reach);
        painter.fillPath(margins, kMarginTint);
        painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(reach);
    }

    if (m_page < 0 || m_page >= int(m_preview.pages.size()))
        return;
    const PreviewPage &page = m_preview.pages[m_page];
    painter.save();
    const double scale = pixelsPerMm * 25.4 / m_preview.dpi;
    painter.scale(scale, scale);
    page.play(painter);
    painter.restore();

    painter.setPen(QPen(kOutsideColour, 2));
    painter.setBrush(Qt::NoBrush);
    for (const PreviewPage::OutsideMark &mark : page.outside) {
        const QRectF box(mark.box.topLeft() * scale, mark.box.size() * scale);
        painter.drawRect(box.adjusted(-2, -2, 2, 2));
    }
}

// ---- The window -----------------------------------------------------------------

PrintPreviewDialog::PrintPreviewDialog(PrintPreview preview, const QString &title, QWidget *parent)
    : QDialog(parent), m_preview(std::move(preview))
{
    setObjectName(QStringLiteral("dlgPrintPreview"));
    setWindowTitle(title.isEmpty() ? QStringLiteral("打印预览") : QStringLiteral("打印预览 - ") + title);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildToolRow());

    m_view = new PreviewPageView(m_preview);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("sbPreview"));
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setWidget(m_view);
    layout->addWidget(m_scroll, 1);

    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lblPreviewNote"));
    m_note->setWordWrap(true);
    layout->addWidget(m_note);

    resize(1000, 680);
    applyZoom();
    showPage(0);
}

QWidget *PrintPreviewDialog::buildToolRow()
{
    auto *row = new QWidget(this);
    auto *bar = new QHBoxLayout(row);
    bar->setContentsMargins(0, 0, 0, 0);

    m_showForm = new QCheckBox(QStringLiteral("显示底图"), row);
    m_showForm->setObjectName(QStringLiteral("ckShowForm"));
    m_showForm->setToolTip(QStringLiteral("在票据底图上显示（底图不会打印）"));
    m_showForm->setChecked(true);
    connect(m_showForm, &QCheckBox::toggled, this, [this](bool on) { m_view->setFormShown(on); });
    bar->addWidget(m_showForm);
    bar->addSpacing(16);

    m_zoomButtons = new QButtonGroup(row);
    const std::pair<Zoom, QString> zooms[] = {{Zoom::FitPage, QStringLiteral("适合页面")},
                                              {Zoom::Actual, QStringLiteral("100%")},
                                              {Zoom::Double, QStringLiteral("200%")}};
    for (const auto &[zoom, caption] : zooms) {
        auto *button = new QToolButton(row);
        button->setText(caption);
        button->setCheckable(true);
        button->setChecked(zoom == m_zoom);
        m_zoomButtons->addButton(button, int(zoom));
        bar->addWidget(button);
    }
    connect(m_zoomButtons, &QButtonGroup::idClicked, this, [this](int id) { setZoom(Zoom(id)); });
    bar->addSpacing(16);

    m_previous = new QToolButton(row);
    m_previous->setObjectName(QStringLiteral("btPreviousPage"));
    m_previous->setArrowType(Qt::LeftArrow);
    m_previous->setToolTip(QStringLiteral("上一页"));
    m_previous->setShortcut(QKeySequence(Qt::Key_PageUp));
    connect(m_previous, &QToolButton::clicked, this, [this] { showPage(m_page - 1); });
    m_pageLabel = new QLabel(row);
    m_pageLabel->setObjectName(QStringLiteral("lblPage"));
    m_next = new QToolButton(row);
    m_next->setObjectName(QStringLiteral("btNextPage"));
    m_next->setArrowType(Qt::RightArrow);
    m_next->setToolTip(QStringLiteral("下一页"));
    m_next->setShortcut(QKeySequence(Qt::Key_PageDown));
    connect(m_next, &QToolButton::clicked, this, [this] { showPage(m_page + 1); });
    bar->addWidget(m_previous);
    bar->addWidget(m_pageLabel);
    bar->addWidget(m_next);
    bar->addStretch(1);

    auto *print = new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton), QStringLiteral("打印"), row);
    print->setObjectName(QStringLiteral("btPreviewPrint"));
    connect(print, &QPushButton::clicked, this, &QDialog::accept);
    auto *close = new QPushButton(QStringLiteral("关闭"), row);
    close->setObjectName(QStringLiteral("btPreviewClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    // A cheque is not to be printed by a stray Enter: neither button is the
    // dialog's default; Escape closes.
    for (QPushButton *button : {print, close}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    bar->addWidget(print);
    bar->addWidget(close);
    return row;
}

bool PrintPreviewDialog::formShown() const
{
    return m_showForm->isChecked();
}

void PrintPreviewDialog::setZoom(Zoom zoom)
{
    m_zoom = zoom;
    if (QAbstractButton *button = m_zoomButtons->button(int(zoom)))
        button->setChecked(true);
    applyZoom();
}

void PrintPreviewDialog::applyZoom()
{
    double pixels = screenPixelsPerMm(*this);
    if (m_zoom == Zoom::Double) {
        pixels *= 2;
    } else if (m_zoom == Zoom::FitPage) {
        const QSizeF paper = m_preview.paperMm();
        const QSize room = m_scroll->viewport()->size() - QSize(2 * PreviewPageView::Margin, 2 * PreviewPageView::Margin);
        if (paper.width() > 0 && paper.height() > 0 && room.width() > 0 && room.height() > 0)
            pixels = qMin(room.width() / paper.width(), room.height() / paper.height());
    }
    m_view->setPixelsPerMm(pixels);
}

void PrintPreviewDialog::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (m_zoom == Zoom::FitPage)
        applyZoom();
}

void PrintPreviewDialog::showPage(int index)
{
    if (pageCount() == 0)
        index = 0;
    else
        index = qBound(0, index, pageCount() - 1);
    m_page = index;
    m_view->setPage(index);
    updatePageControls();
}

void PrintPreviewDialog::updatePageControls()
{
    const int pages = pageCount();
    m_pageLabel->setText(QStringLiteral("第 %1 / %2 页").arg(pages == 0 ? 0 : m_page + 1).arg(pages));
    m_previous->setEnabled(m_page > 0);
    m_next->setEnabled(m_page + 1 < pages);

    QStringList notes;
    const QStringList outside = m_preview.outsideLabels(m_page);
    if (!outside.isEmpty())
        notes << QStringLiteral("<span style=\"color:#d01010\">超出打印机可打印区域（红框）：%1</span>")
                     .arg(outside.join(QStringLiteral("、")).toHtmlEscaped());
    const QRectF area = m_preview.printableArea;
    if (!m_preview.printerNote.isEmpty()) {
        notes << (m_preview.printerNote + QStringLiteral("（按整张纸显示）")).toHtmlEscaped();
    } else if (!area.isNull()) {
        const QSizeF paper = m_preview.paperMm();
        notes << QStringLiteral("打印机可打印区域（虚线内）：页边距 左 %1 上 %2 右 %3 下 %4 毫米")
                     .arg(millimetres(area.left()), millimetres(area.top()),
                          millimetres(paper.width() - area.right()), millimetres(paper.height() - area.bottom()));
    }
    notes << QStringLiteral("纸张 %1 × %2 毫米，底图只在预览中显示，不会打印。")
                 .arg(millimetres(m_preview.paperMm().width()), millimetres(m_preview.paperMm().height()));
    m_note->setText(notes.join(QStringLiteral("<br>")));
}

PrintPreviewDialog *openPrintPreview(PrintPreview preview, const QString &title, QWidget *parent,
                                     std::function<void()> print)
{
    auto *dialog = new PrintPreviewDialog(std::move(preview), title, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::accepted, parent, std::move(print), Qt::QueuedConnection);
    dialog->open();
    return dialog;
}

} // namespace billprint
