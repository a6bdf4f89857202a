// Traditional Chinese characters folded to simplified ones, so that text
// typed in traditional characters ("廣東省深圳市…號") is recognised by parsers
// written for simplified text. The folded text is for recognition only: it
// has exactly the length of the input, character for character, so that a
// position found in it marks the same characters in what was typed.
#pragma once

#include <QString>

namespace billprint {

// The text with every traditional character replaced by its simplified
// form after OpenCC's t2s conversion ("澳門特別行政區" -> "澳门特别行政区").
// Characters OpenCC turns into more or fewer than one character, characters
// outside the Basic Multilingual Plane and everything below the CJK blocks
// stay as they are. Thread-safe; each distinct character asks OpenCC once,
// later texts are folded from a cache. Without OpenCC's configuration the
// text comes back unchanged.
QString foldToSimplified(const QString &text);

// Whether OpenCC's t2s configuration could be loaded (false: folding
// returns texts unchanged).
bool simplifiedFoldingAvailable();

} // namespace billprint
