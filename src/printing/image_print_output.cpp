#include "printing/image_print_output.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>

namespace billprint {

namespace {

constexpr double kMetresPerInch = 0.0254;
constexpr int kPageNumberWidth = 4;

} // namespace

std::unique_ptr<ImagePrintOutput> ImagePrintOutput::toFile(const QString &path, int dpi)
{
    return std::unique_ptr<ImagePrintOutput>(new ImagePrintOutput(path, false, dpi));
}

std::unique_ptr<ImagePrintOutput> ImagePrintOutput::toFolder(const QString &folder, int dpi)
{
    return std::unique_ptr<ImagePrintOutput>(new ImagePrintOutput(folder, true, dpi));
}

ImagePrintOutput::ImagePrintOutput(QString path, bool folder, int dpi)
    : m_path(std::move(path)), m_folder(folder), m_dpi(dpi)
{
}

ImagePrintOutput::~ImagePrintOutput()
{
    close();
}

QSize ImagePrintOutput::pixelSize(const PrintPageSetup &page, int dpi)
{
    return QSize(qRound(page.paper.width() / 254.0 * dpi), qRound(page.paper.height() / 254.0 * dpi));
}

QString ImagePrintOutput::pageFileName(int page, int pageCount)
{
    const int width = qMax(kPageNumberWidth, int(QString::number(pageCount).size()));
    return QStringLiteral("%1.png").arg(page, width, 10, QLatin1Char('0'));
}

bool ImagePrintOutput::isPageFileName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^\\d{4,}\\.png$"), QRegularExpression::CaseInsensitiveOption);
    return pattern.match(name).hasMatch();
}

QString ImagePrintOutput::firstPagePictureIn(const QString &folder)
{
    const QStringList names = QDir(folder).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    for (const QString &name : names)
        if (isPageFileName(name))
            return name;
    return QString();
}

bool ImagePrintOutput::setUp(const PrintPageSetup &page, QString *error)
{
    if (!checkPaperSize(page, error))
        return false;
    m_page = page;
    return true;
}

bool ImagePrintOutput::begin(const QString &title, int copies, QString *error)
{
    Q_UNUSED(title)
    Q_UNUSED(copies)  // a picture is one copy
    close();
    m_written.clear();
    if (!(m_folder ? beginFolder(error) : beginFile(error)))
        return false;
    m_pages = 1;
    startPage();
    return true;
}

bool ImagePrintOutput::beginFile(QString *error)
{
    // Opened now, so that a file that cannot be written stops the run
    // before anything is drawn.
    m_file = std::make_unique<QSaveFile>(m_path);
    if (m_file->open(QIODevice::WriteOnly))
        return true;
    if (error)
        *error = m_path + QStringLiteral("：") + m_file->errorString();
    m_file.reset();
    return false;
}

bool ImagePrintOutput::beginFolder(QString *error)
{
    if (!QDir().mkpath(m_path)) {
        if (error)
            *error = QStringLiteral("无法建立文件夹：") + m_path;
        return false;
    }
    if (const QString taken = firstPagePictureIn(m_path); !taken.isEmpty()) {
        if (error)
            *error = QStringLiteral("文件夹里已有页面图片（%1），请换一个文件夹或先移走它们：").arg(taken) + m_path;
        return false;
    }
    m_pending = std::make_unique<QTemporaryDir>(QDir(m_path).filePath(QStringLiteral(".billprint-pages-XXXXXX")));
    if (m_pending->isValid())
        return true;
    if (error)
        *error = QStringLiteral("无法在文件夹里写入：") + m_path;
    m_pending.reset();
    return false;
}

void ImagePrintOutput::startPage()
{
    m_image = QImage(pixelSize(m_page, m_dpi), QImage::Format_RGB32);
    // Fonts are sized in points: the picture's resolution makes them as
    // many pixels as they are dots on a printer of that resolution.
    const int dotsPerMetre = qRound(m_dpi / kMetresPerInch);
    m_image.setDotsPerMeterX(dotsPerMetre);
    m_image.setDotsPerMeterY(dotsPerMetre);
    m_image.fill(Qt::white);
    m_painter.begin(&m_image);
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.setRenderHint(QPainter::TextAntialiasing);
    if (!m_form.isNull()) {
        m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
        m_painter.drawImage(QRect(QPoint(0, 0), m_image.size()), m_form);
    }
}

bool ImagePrintOutput::finishPage(QString *error)
{
    m_painter.end();
    if (!m_folder)
        return true;
    const QString path = m_pending->filePath(QString::number(m_pages) + QStringLiteral(".png"));
    if (m_image.save(path, "PNG"))
        return true;
    if (error)
        *error = QStringLiteral("无法写入页面图片：") + path;
    return false;
}

bool ImagePrintOutput::newPage(QString *error)
{
    if (!m_painter.isActive() || !m_folder) {
        if (error)
            *error = m_folder ? QStringLiteral("图片文档没有开始")
                              : QStringLiteral("一个PNG文件只放一页，多页请输出到文件夹：") + m_path;
        return false;
    }
    if (!finishPage(error))
        return false;
    ++m_pages;
    startPage();
    return true;
}

bool ImagePrintOutput::end(QString *error)
{
    if (!m_painter.isActive()) {
        if (error)
            *error = QStringLiteral("图片文档没有开始");
        return false;
    }
    bool written = finishPage(error);
    if (written && m_folder) {
        written = endFolder(error);
    } else if (written) {
        written = m_image.save(m_file.get(), "PNG") && m_file->commit();
        if (written)
            m_written << m_path;
        else if (error)
            *error = m_path + QStringLiteral("：") + m_file->errorString();
    }
    close();
    return written;
}

bool ImagePrintOutput::endFolder(QString *error)
{
    // Every name is checked before any page moves, so that a file that
    // appeared during the run leaves the folder as it was.
    const QDir folder(m_path);
    for (int page = 1; page <= m_pages; ++page) {
        if (QFileInfo::exists(folder.filePath(pageFileName(page, m_pages)))) {
            if (error)
                *error = QStringLiteral("文件夹里已有页面图片（%1），请换一个文件夹或先移走它们：")
                             .arg(pageFileName(page, m_pages))
                         + m_path;
            return false;
        }
    }
    for (int page = 1; page <= m_pages; ++page) {
        const QString target = folder.filePath(pageFileName(page, m_pages));
        if (!QFile::rename(m_pending->filePath(QString::number(page) + QStringLiteral(".png")), target)) {
            if (error)
                *error = QStringLiteral("无法写入页面图片：") + target;
            return false;
        }
        m_written << target;
    }
    return true;
}

void ImagePrintOutput::abort()
{
    close();
}

void ImagePrintOutput::close()
{
    if (m_painter.isActive())
        m_painter.end();
    m_image = QImage();
    if (m_file)
        m_file->cancelWriting();
    m_file.reset();
    m_pending.reset();  // removes the pages not moved into place
}

PrintDeviceMetrics ImagePrintOutput::metrics() const
{
    PrintDeviceMetrics m;
    m.dpiX = m_dpi;
    m.dpiY = m_dpi;
    return m;  // the whole sheet is drawn: no physical offsets
}

} // namespace billprint
