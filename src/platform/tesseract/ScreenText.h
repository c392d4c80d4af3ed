#pragma once

// Tidies the text the recognizer gives before anyone sees it.
#include <QString>

namespace pellix {

// The text in composed form (NFC), as other programs write it, so that a
// search for "έξοδο" finds it whichever way the recognizer spelled it; and
// with a micro sign within a Greek word read as the letter mu it looks
// like: the Greek model mixes the two up. A dash at the start of a word
// ("\u2014file=FILE") is the "--" of a long option.
QString tidyRecognizedText(const QString& text);

} // namespace pellix
