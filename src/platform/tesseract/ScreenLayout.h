#pragma once

// Reading order for the blocks that layout analysis finds on a screen.
#include <QRect>

#include <vector>

namespace pellix {

struct LayoutBlock {
    QRect box;
    std::vector<QRect> lines; // its text lines, top to bottom
};

// A part of the page read as one: a block on its own, or blocks that stand
// side by side with their lines on the same rows (the columns of a table, of
// `ls -l` or `ps`, the buttons of a toolbar), read row by row.
struct ReadingRegion {
    QRect box;
    bool rows = false;   // side-by-side blocks whose lines share rows
    bool joined = false; // blocks that overlap, to be laid out anew
};

// The regions in the order of the blocks given (the engine's reading order).
// Blocks are joined only when most lines of each have a partner on the same
// row in the other, so a sidebar beside a page of text stays apart.
std::vector<ReadingRegion> readingRegions(const std::vector<LayoutBlock>& blocks);

// The region of one line that a thin run of ink (`run`, a row of "=" or "-")
// goes on from, on the line's rows and less than a glyph's height after its
// end: the layout takes such a run for a rule when it stands in a column of
// its own ("+++-===...-===="). Nothing when there is none.
std::vector<ReadingRegion>::iterator lineGoingOn(std::vector<ReadingRegion>& regions,
                                                 const QRect& run, int glyphHeight);

} // namespace pellix
