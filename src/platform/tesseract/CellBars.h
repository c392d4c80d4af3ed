#pragma once

// Puts back the underscores the recognizer drops, and the rows of "=" it
// misreads. An underscore lies below the baseline, faint at screen sizes, and
// two or more of them are drawn as one bar; the recognizer reads such a bar
// as a space, as nothing, or as one "_" however long it is. A row of "=" in
// a monospaced font is two rules across its cells, which it reads as letters,
// and the three dots of "…" in one cell it reads as ".." or "...". A long row
// of hyphens in a proportional font it reads as dashes of the wrong count,
// and the "l" of a monospaced font, with its foot, as "L". Letters whose
// small and capital forms differ only in size ("c" and "C") it reads in the
// wrong case at times, and "man" as "Man"; the dotted zero of a monospaced
// font at 10 to 12 pixels as "8", "6" or "®"; two glyphs a blank cell
// apart in the columns of a listing as one word ("0S"); the "$" of a shell
// variable as "S"; and the two hyphens of a long option, run together in a
// proportional font, as one.
#include "platform/tesseract/Leptonica.h"

#include <QRect>
#include <QString>

#include <vector>

namespace pellix {

// A character as the recognizer gave it, in pixels of the grey image it read.
struct RecognizedSymbol {
    QString text;
    QRect box;
};

struct RecognizedWord {
    QString text;
    std::vector<RecognizedSymbol> symbols;
    QRect box;
    int line = 0;           // the text line it is on, counted from 0
    int baseline = 0;       // the line's baseline below the word
    int lineTop = 0;        // the top of the line's tallest glyphs
    float confidence = 100; // the recognizer's, 0 to 100
};

// `text` as the recognizer wrote the words, with each line that has bars below
// its baseline or rows of "=" written again: one "_" or "=" for each character
// cell a bar spans, in its place among the letters. A line that runs under
// letters too (an underlined link) is no underscore. In a region set in a
// monospaced font, periods that fit in one cell are one "…", and an "L" whose
// stem stands in the middle of its glyph is the "l" of that font, with its
// serif and foot, and an "8", "®", "O" or "o" with a dot of its own in its
// middle or a "6" closed at its top right is "0", and a blank cell between two
// glyphs of a word is a space. A word read as a run of dashes is as many "-"
// as the steps of its ink show. A letter whose case its shape leaves open is
// small when its glyph stands as tall as the line's small letters, and a
// capital when it stands a fifth or more above them. An "S" before a capital
// is a "$" when its stroke stands out of the capital, and the "-" of an
// option ("-ignore") is "--" when its glyph is as wide as two of the line's
// hyphens. In a monospaced region, a "-" that breaks a word at the end of a
// line before small letters is the hyphen of hyphenation, U+2010, as
// manuals in a terminal write it. The text is returned
// unchanged unless its words are the given words, in order, and `gray` is a
// grey image of 8 bits a pixel.
QString withCellBars(const QString& text, const std::vector<RecognizedWord>& words, PIX* gray);

} // namespace pellix
