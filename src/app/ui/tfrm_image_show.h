#pragma once

#include <QDialog>

class QImageReader;
class QLabel;
class QScrollArea;

namespace billprint {

class AppContext;

// The picture viewer ("禾朔图示"): a resizable window with a template's
// form picture, or a fixed explanatory picture, at its natural size in a
// scrolling area. A click on the picture closes it. Not modal.
class TfrmImageShow : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmImageShow(AppContext &context, QWidget *parent = nullptr);

    // Shows the picture of the template with that full name (family（variant）)
    // and names it in the caption. A template without a picture file, or
    // whose picture cannot be read, tells the user "没有有效的图片文件~".
    void loadPictureByFullName(const QString &fullName);

    // Shows a picture file as it is (a picture of the Image folder given by
    // its file name, or a full path) in a window of `windowSize`.
    bool loadPictureFile(const QString &file, const QSize &windowSize = QSize());

    // Shows a picture held in memory (a package's picture bytes). False with
    // `error` set when the bytes are no picture.
    bool loadPictureBytes(const QByteArray &bytes, const QSize &windowSize, QString *error);

    bool hasPicture() const;
    QLabel *pictureLabel() const { return m_picture; }

    // Opens a viewer on a fixed explanatory picture of the Image folder
    // (sys_exZX.jpg, sys_PosExp.jpg, ...); it deletes itself when closed.
    static TfrmImageShow *showExplanation(AppContext &context, const QString &fileName, const QSize &windowSize,
                                          QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void clearPicture();
    bool showFile(const QString &path);
    bool showImage(QImageReader &reader, QString *error = nullptr);
    void centreOnScreen();

    AppContext &m_ctx;
    QScrollArea *m_scroll = nullptr;
    QLabel *m_picture = nullptr;
};

} // namespace billprint
