#pragma once

#include "templates/delivered_form_model.h"

#include <QByteArray>
#include <QImage>

namespace billprint {

// Draws the pre-printed form of a delivered template at its picture size:
// the printed captions, rules, boxes, digit grids and tints of the paper,
// never the values (those are what the program prints).
//
// Drawing items of a template file (coordinates in 0.1 mm, "color" is a
// palette name such as "ink" or "#rrggbb", "pen" a line width in 0.1 mm):
//   fill      rect, color                   a tinted area
//   rect      rect, pen, color, fill, dash, radius
//   line      from, to, pen, color, dash    ("dash" or "dot")
//   text      text, rect, pt, font (serif|sans), bold, align
//             (left|center|right|justify), valign (top|center|bottom)
//   vtext     text, rect, pt, font, bold    characters stacked top to bottom
//   digitGrid rect, head, labels, fields    a row of digit boxes with their
//             unit headings; places one field per cell
//   cellRow   rect, head, labels, field     cells for one equal-pitch field
//   tick      rect, label, field            a tick square and its caption
//   pattern   rect, color                   the wavy security background
//   barcode   rect, text                    a printed bar code
QImage paintDeliveredPicture(const DeliveredTemplate &t);

// The picture as the JPEG bytes stored in Image/.
QByteArray encodeFormPicture(const QImage &image);

} // namespace billprint
