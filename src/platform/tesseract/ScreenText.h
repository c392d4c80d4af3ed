#pragma once

// Tidies the text the recognizer gives before anyone sees it.
#include <QString>

#include <functional>

namespace pellix {

// The text in composed form (NFC), as other programs write it, so that a
// search for "έξοδο" finds it whichever way the recognizer spelled it; and
// with a micro sign within a Greek word read as the letter mu it looks
// like: the Greek model mixes the two up. A dash at the start of a word
// ("\u2014file=FILE") is the "--" of a long option.
QString tidyRecognizedText(const QString& text);

// Whether a word is in the word list of the language being read.
using WordCheck = std::function<bool(const QString& word)>;

// Words of Greek or Cyrillic letters that look like Latin ones ("ΑΡΧΕΙΟ")
// are read in English letters ("APXEIO") when English is read beside the
// language: a run of such Latin letters, four or more, that is a word of the
// language (`code`, "ell" or "rus") written in its own letters comes out so.
QString withLettersOfLanguage(const QString& text, const QString& code, const WordCheck& isWord);

} // namespace pellix
