#pragma once

#include <QImage>
#include <QString>

namespace billprint {

// The pictures that explain how a bill goes into the printer: upright
// (纵向, Image/sys_exZX.jpg) or sideways (横向, Image/sys_exHX.jpg).
QString feedDirectionPictureName(bool landscape);

// A sketch of the printer's slot with the bill going in, the size the
// offset window shows (a little under its 400 x 400 picture window).
QImage drawFeedDirectionSketch(bool landscape, int side = 380);

// Writes the sketches into `imageFolder` where the pictures are missing;
// pictures already there (the vendor's or the user's own) stay.
void ensureFeedDirectionPictures(const QString &imageFolder);

} // namespace billprint
