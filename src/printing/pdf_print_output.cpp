#include "printing/pdf_print_output.h"

#include "printing/pdf_text_layer.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>

namespace billprint {

// Passes what the PDF writer writes on to the file, except what comes after
// holdBack(): the end of the document, which holds the fonts and their text
// maps, kept to be fixed (fixPdfTextLayer keeps every length, so the
// offsets the writer counted stay true).
class PdfStream : public QIODevice
{
public:
    explicit PdfStream(QIODevice &file) : m_file(file) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    void holdBack() { m_holding = true; }
    const QByteArray &heldBack() const { return m_held; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override
    {
        if (!m_holding)
            return m_file.write(data, length);
        m_held.append(data, length);
        return length;
    }

private:
    QIODevice &m_file;
    bool m_holding = false;
    QByteArray m_held;
};

QPageLayout templatePageLayout(const PrintPageSetup &page)
{
    // Qt turns a landscape layout's page size sideways, so a landscape page
    // is described turned upright.
    const QSizeF paper(page.paper.width() / 10.0, page.paper.height() / 10.0);
    const QSizeF described = page.landscape ? paper.transposed() : paper;
    return QPageLayout(QPageSize(described, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                       page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

PdfPrintOutput::PdfPrintOutput(QString path, int dpi) : m_path(std::move(path)), m_dpi(dpi) {}

PdfPrintOutput::~PdfPrintOutput()
{
    if (m_painter.isActive())
        abort();
}

bool PdfPrintOutput::setUp(const PrintPageSetup &page, QString *error)
{
    if (!checkPaperSize(page, error))
        return false;
    m_page = page;
    return true;
}

bool PdfPrintOutput::begin(const QString &title, int copies, QString *error)
{
    Q_UNUSED(copies)  // a file is one copy; copies are made when it is printed
    if (m_painter.isActive())
        abort();
    m_file = std::make_unique<QSaveFile>(m_path);
    if (!m_file->open(QIODevice::WriteOnly)) {
        if (error)
            *error = m_file->errorString();
        m_file.reset();
        return false;
    }
    m_stream = std::make_unique<PdfStream>(*m_file);
    m_writer = std::make_unique<QPdfWriter>(m_stream.get());
    m_writer->setResolution(m_dpi);
    m_writer->setTitle(title);
    m_writer->setCreator(QCoreApplication::applicationName());
    m_writer->setPageLayout(templatePageLayout(m_page));
    if (!m_painter.begin(m_writer.get())) {
        if (error)
            *error = QStringLiteral("无法开始PDF文档：") + m_path;
        close();
        return false;
    }
    m_pages = 1;
    return true;
}

bool PdfPrintOutput::newPage(QString *error)
{
    if (!m_painter.isActive() || !m_writer->newPage()) {
        if (error)
            *error = QStringLiteral("无法新建PDF页面");
        return false;
    }
    ++m_pages;
    return true;
}

bool PdfPrintOutput::end(QString *error)
{
    if (!m_painter.isActive()) {
        if (error)
            *error = QStringLiteral("PDF文档没有开始");
        return false;
    }
    m_stream->holdBack();
    m_painter.end();
    m_writer.reset();
    const QByteArray end = fixPdfTextLayer(m_stream->heldBack());
    m_stream.reset();
    const bool written = m_file->write(end) == end.size() && m_file->commit();
    if (!written && error)
        *error = m_file->errorString();
    m_file.reset();
    return written;
}

void PdfPrintOutput::abort()
{
    close();
}

void PdfPrintOutput::close()
{
    if (m_painter.isActive())
        m_painter.end();
    m_writer.reset();
    m_stream.reset();
    if (m_file)
        m_file->cancelWriting();
    m_file.reset();
}

PrintDeviceMetrics PdfPrintOutput::metrics() const
{
    PrintDeviceMetrics m;
    m.dpiX = m_dpi;
    m.dpiY = m_dpi;
    return m;  // the whole sheet is printable: no physical offsets
}

} // namespace billprint
