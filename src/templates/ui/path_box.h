#pragma once

#include <QLineEdit>

namespace billprint {

// A read-only box for a file path. A path wider than the box is shortened
// in the middle, so both the start of the folder and the file name stay
// readable; the tooltip always holds the whole path.
class PathBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit PathBox(const QString &path = QString(), QWidget *parent = nullptr);

    void setPath(const QString &path);
    QString path() const { return m_path; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // Puts as much of the path into the box as its width allows.
    void showPath();

    QString m_path;
};

} // namespace billprint
