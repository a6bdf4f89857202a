// PDF files as a printer: the same pages a printer would get, each at the
// template's paper size and direction, written to a file.
#pragma once

#include "printing/print_output.h"

#include <QPageLayout>
#include <QPainter>
#include <memory>

class QPdfWriter;
class QSaveFile;

namespace billprint {

class PdfStream;

// The page layout of a template's paper: a painting area PWidth wide and
// PHeight high in the template's own reading direction, whichever way the
// paper is fed, no margins.
QPageLayout templatePageLayout(const PrintPageSetup &page);

class PdfPrintOutput : public PrintOutput
{
public:
    // Writes `path` at `dpi` device units per inch. The file appears when the
    // document ends; an aborted or failed document leaves an existing file
    // as it was.
    explicit PdfPrintOutput(QString path, int dpi = 600);
    ~PdfPrintOutput() override;

    bool isPrinter() const override { return false; }
    bool setUp(const PrintPageSetup &page, QString *error) override;
    bool begin(const QString &title, int copies, QString *error) override;
    bool newPage(QString *error) override;
    bool end(QString *error) override;
    void abort() override;
    QPainter *painter() override { return &m_painter; }
    PrintDeviceMetrics metrics() const override;
    bool isActive() const override { return m_painter.isActive(); }

    const QString &path() const { return m_path; }
    int pageCount() const { return m_pages; }

private:
    void close();

    QString m_path;
    int m_dpi;
    PrintPageSetup m_page;
    std::unique_ptr<QSaveFile> m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    // Pages go to the file as they are finished; only the end of the
    // document (fonts and text layer) is held back to be fixed.
    std::unique_ptr<PdfStream> m_stream;
    QPainter m_painter;
    int m_pages = 0;
};

} // namespace billprint
