#pragma once

#include <QString>

namespace billprint {

// Copies the pictures of the delivered templates (every :/images/*.jpg
// compiled into the program) into `imageFolder` when they are missing.
// A picture already there is never replaced: the user may have scanned
// the real form of their bank over it. Returns the number of pictures
// copied.
int ensureDeliveredPictures(const QString &imageFolder);

} // namespace billprint
