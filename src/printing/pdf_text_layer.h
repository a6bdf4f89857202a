#pragma once

#include <QByteArray>

namespace billprint {

// Qt's PDF writer names each embedded glyph by the lowest code point the
// font maps to it. The CJK faces draw radicals such as ⻆ (U+2EC6) and 角
// (U+89D2) with one glyph, so a printed 伍角 reads back from the PDF as
// 伍⻆ — copying, searching and checking the text of a bill would fail.
// This rewrites the text layer (the ToUnicode maps) so such glyphs name
// the ideograph. Each replacement has the same length, so no offset of
// the file moves. A PDF without such entries is returned unchanged.
QByteArray fixPdfTextLayer(const QByteArray &pdf);

// The same for a PDF file another writer (a printer set to PDF output)
// has finished; the file is replaced atomically, and only when it changes.
bool fixPdfTextLayerInFile(const QString &path, QString *error = nullptr);

} // namespace billprint
