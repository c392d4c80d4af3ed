#pragma once

// Turns a screen capture into the page the LSTM recognizer reads best: grey,
// dark text on a light ground everywhere, and text of the height the models
// were trained on.
#include "platform/tesseract/Leptonica.h"

#include <QRect>

#include <vector>

namespace pellix {

// The part of `pix` within `rect`; none when they do not meet.
PixPtr clipped(PIX* pix, const QRect& rect);

// An 8-bit grey copy of any page in which every region with a dark ground
// (dark themes, coloured bars, terminals) is inverted, so all text is dark on
// light. Decided region by region, so a dark sidebar beside a light page
// turns light without turning the page dark.
PixPtr lightGroundGray(PIX* page);

// The height of a typical capital or tall letter, in pixels, of dark text on
// a light grey page; 0 when the page holds nothing glyph-like.
int typicalGlyphHeight(PIX* gray);

// The factor that brings glyphs of that height to the height the recognizer
// reads best, bounded so that small text grows and large text is left alone,
// and so that a page of `pixels` never grows past a fixed pixel budget.
double recognitionScale(int glyphHeight, double pixels);

// Removes rules (table cell borders, the edge of a sidebar) from a grey page
// with glyphs of that height, painting them in the ground's grey: read as
// one block, a table's borders would come out as letters. Vertical rules of
// any shade; rules across only where lighter than ink with no ink along
// them, as a run of "=" or "-" in a terminal is text.
void removeRules(PIX* gray, int glyphHeight);

// Removes the frames of buttons, fields and tabs from a grey page with glyphs
// of that height: thin outlines a line or a few tall with nothing inside
// their edges but what they frame. The recognizer takes a framed word for
// part of a picture and leaves it out.
void removeFrames(PIX* gray, int glyphHeight);

// The grey page scaled by `factor`, with edges kept sharp; a copy at 1.
PixPtr scaledGray(PIX* gray, double factor);

// Cuts a grey page with glyphs of that height into parts of at most
// `maxPixels` that can be laid out and read on their own, in reading order:
// along gutters between columns first, then along the widest gaps between
// lines. Layout analysis takes far longer than the text grows on a large
// page; on parts of bounded size it grows with the text. A part that has no
// such cut stays larger.
std::vector<QRect> pageTiles(PIX* gray, int glyphHeight, double maxPixels);

// The rows of `box` on a grey page with glyphs of that height cut into
// slices of at most `maxHeight` pixels where possible, along gaps between
// lines nearest the middle, top to bottom: the slices of one tall block can
// be read by two engines at once. A block with rules across it (a table's
// borders, a row of "=====") stays whole: its rows would be lost.
std::vector<QRect> regionSlices(PIX* gray, const QRect& box, int maxHeight, int glyphHeight);

// The panes of a grey page with glyphs of that height, in reading order: a
// tall gutter with text on both sides (a sidebar beside its content, columns
// of prose) parts what lies beside it, after what stands above it (a toolbar)
// and before what lies below (a status bar). Layout analysis, given the whole
// page, joins a sidebar's items to the lines beside them. Returns the whole
// page when there is no such gutter.
std::vector<QRect> pagePanes(PIX* gray, int glyphHeight);

} // namespace pellix
