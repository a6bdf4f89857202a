#pragma once

#include <QImage>
#include <QString>

namespace billprint {

// The program's own pictures: the splash, the main window background and
// the colour strip shown when the background picture is switched off.
QImage drawSplashPicture();        // 370 x 249
QImage drawBackgroundPicture();    // 1280 x 800
const QImage &colourStripPicture(); // 8 x 769, a vertical strip
QImage drawProgramIcon(int size = 64);  // size x size, the windows' and the desktop's icon
// The same icon as an SVG document (the glyph as a path: no font needed
// where it is shown).
QByteArray programIconSvg();

// Writes a picture as a JPEG file atomically: a failed write leaves no
// half picture behind. False when it cannot be written.
bool writeJpeg(const QImage &image, const QString &path, int quality = 92);

// Writes Image/Sys_boot.jpg and Image/sys_bg.jpg into `imageFolder` when
// they are missing; a user's own pictures are never replaced.
void ensureSystemPictures(const QString &imageFolder);

} // namespace billprint
