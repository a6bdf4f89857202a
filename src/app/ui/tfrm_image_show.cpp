#include "app/ui/tfrm_image_show.h"

#include "app/alert.h"
#include "app/app_context.h"

#include <QBuffer>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QSqlError>
#include <QSqlQuery>
#include <QVBoxLayout>

namespace billprint {

TfrmImageShow::TfrmImageShow(AppContext &context, QWidget *parent) : QDialog(parent), m_ctx(context)
{
    setObjectName(QStringLiteral("frmImageShow"));
    setWindowTitle(QStringLiteral("禾朔图示"));
    setModal(false);
    setSizeGripEnabled(true);

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("imgShow"));
    m_picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_picture->installEventFilter(this);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("sbImage"));
    m_scroll->setWidget(m_picture);
    m_scroll->setWidgetResizable(false);
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
    resize(870, 640);
    centreOnScreen();
}

void TfrmImageShow::centreOnScreen()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

bool TfrmImageShow::hasPicture() const
{
    return !m_picture->pixmap().isNull();
}

void TfrmImageShow::clearPicture()
{
    m_picture->clear();
    m_picture->resize(0, 0);
}

bool TfrmImageShow::showFile(const QString &path)
{
    QImageReader reader(path);
    return showImage(reader);
}

bool TfrmImageShow::showImage(QImageReader &reader, QString *error)
{
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        if (error)
            *error = reader.errorString();
        return false;
    }
    m_picture->setPixmap(QPixmap::fromImage(image));
    m_picture->resize(image.size());  // natural size, never stretched
    return true;
}

void TfrmImageShow::loadPictureByFullName(const QString &fullName)
{
    clearPicture();
    setWindowTitle(QStringLiteral("禾朔软件-模板图片查看【") + fullName + QStringLiteral("】"));
    if (fullName.isEmpty())
        return;
    QSqlQuery q = m_ctx.db().prepare(QStringLiteral("select ImgFile from CKTypeTable where TypeName=?"));
    q.addBindValue(fullName);
    if (!q.exec()) {
        tell(q.lastError().text(), QStringLiteral("错误"), AlertIcon::Error);
        return;
    }
    if (!q.next())
        return;
    const QString imgFile = q.value(0).toString().trimmed();
    // A named picture that cannot be read is reported like a missing name:
    // an empty window would look like a template without a form.
    if (imgFile.isEmpty() || !showFile(m_ctx.dataRoot().imageFolder() + imgFile))
        tell(QStringLiteral("没有有效的图片文件~"));
}

bool TfrmImageShow::loadPictureFile(const QString &file, const QSize &windowSize)
{
    clearPicture();
    if (windowSize.isValid())
        resize(windowSize);
    const QString path = QFileInfo(file).isAbsolute() ? file : m_ctx.dataRoot().imageFolder() + file;
    return showFile(path);
}

bool TfrmImageShow::loadPictureBytes(const QByteArray &bytes, const QSize &windowSize, QString *error)
{
    clearPicture();
    if (windowSize.isValid())
        resize(windowSize);
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    return showImage(reader, error);
}

TfrmImageShow *TfrmImageShow::showExplanation(AppContext &context, const QString &fileName,
                                              const QSize &windowSize, QWidget *parent)
{
    auto *viewer = new TfrmImageShow(context, parent);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->loadPictureFile(fileName, windowSize);
    viewer->centreOnScreen();
    viewer->show();
    return viewer;
}

bool TfrmImageShow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_picture
        && (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseButtonDblClick)) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace billprint
