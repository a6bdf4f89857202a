// Pictures of the printed pages: the same pages a printer or a PDF file
// gets, each a PNG of the template's paper at a chosen resolution, on white
// paper or over the template's form picture.
#pragma once

#include "printing/print_output.h"

#include <QImage>
#include <QPainter>
#include <QStringList>
#include <memory>

class QSaveFile;
class QTemporaryDir;

namespace billprint {

class ImagePrintOutput : public PrintOutput
{
public:
    // Resolutions a picture may be asked for, dots per inch.
    static constexpr int MinDpi = 72;
    static constexpr int MaxDpi = 600;
    static constexpr int DefaultDpi = 150;

    // One page into the PNG file `path`, written when the document ends; an
    // aborted or failed document leaves an existing file as it was.
    static std::unique_ptr<ImagePrintOutput> toFile(const QString &path, int dpi = DefaultDpi);
    // Every page into `folder` (made when missing) as 0001.png, 0002.png,
    // ... in print order, wider numbers beyond 9999 pages. The pictures
    // appear together when the document ends. A folder that already holds
    // such page pictures is refused, so that no page of another run is
    // overwritten or mistaken for one of this run.
    static std::unique_ptr<ImagePrintOutput> toFolder(const QString &folder, int dpi = DefaultDpi);
    ~ImagePrintOutput() override;

    // Drawn under the values of every page, stretched over the whole paper
    // as the template designer shows it. A null picture leaves white paper.
    void setFormPicture(const QImage &picture) { m_form = picture; }

    // Pixels of the paper of `page` at `dpi`, in the template's reading
    // direction.
    static QSize pixelSize(const PrintPageSetup &page, int dpi);
    // Page picture names as toFolder writes them.
    static QString pageFileName(int page, int pageCount);
    // Whether `name` is such a page picture name.
    static bool isPageFileName(const QString &name);
    // The first page picture already in `folder`; empty when there is none.
    static QString firstPagePictureIn(const QString &folder);

    bool isPrinter() const override { return false; }
    bool setUp(const PrintPageSetup &page, QString *error) override;
    bool begin(const QString &title, int copies, QString *error) override;
    bool newPage(QString *error) override;
    bool end(QString *error) override;
    void abort() override;
    QPainter *painter() override { return &m_painter; }
    PrintDeviceMetrics metrics() const override;
    bool isActive() const override { return m_painter.isActive(); }

    int dpi() const { return m_dpi; }
    // The files of the last finished document.
    const QStringList &writtenFiles() const { return m_written; }

private:
    ImagePrintOutput(QString path, bool folder, int dpi);

    bool beginFile(QString *error);
    bool beginFolder(QString *error);
    void startPage();
    // Ends the current page's painting; in a folder the page is put aside.
    bool finishPage(QString *error);
    bool endFolder(QString *error);
    void close();

    QString m_path;
    bool m_folder;
    int m_dpi;
    PrintPageSetup m_page;
    QImage m_form;
    QImage m_image;
    QPainter m_painter;
    std::unique_ptr<QSaveFile> m_file;
    // A folder's pages wait here, beside their final place, until the end.
    std::unique_ptr<QTemporaryDir> m_pending;
    int m_pages = 0;
    QStringList m_written;
};

} // namespace billprint
