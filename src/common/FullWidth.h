#pragma once

#include <QString>

// The text with its half-width characters in full-width form: ASCII letters, digits and signs,
// the blank (U+3000) and half-width katakana, a voiced or semi-voiced mark combined with the
// kana before it where such a character exists. A mark that combines with nothing becomes the
// spacing "゛" or "゜". Everything else is left as it is.
QString toFullWidth(const QString& text);
