#include "platform/tesseract/ScreenLayout.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace pellix {

namespace {

// Share of one block's lines that must face a line of the other.
constexpr double RowShare = 0.6;
// Width, in line heights, from which a column holds prose: some 60 letters.
constexpr int ProseColumn = 40;
// Width, in line heights, up to which a column holds single marks.
constexpr int MarkColumn = 2;

// Lines of one row overlap by most of the shorter one ("root" beside "1024"),
// and neither is more than twice as tall as the other (a heading beside text).
bool sameRow(const QRect& a, const QRect& b) {
    const int shorter = std::min(a.height(), b.height());
    const int overlap = std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top()) + 1;
    return overlap * 2 >= shorter && std::max(a.height(), b.height()) <= 2 * shorter;
}

double sharedRows(const LayoutBlock& a, const LayoutBlock& b) {
    if (a.lines.empty()) {
        return 0.0;
    }
    const auto faced = std::count_if(a.lines.begin(), a.lines.end(), [&b](const QRect& line) {
        return std::any_of(b.lines.begin(), b.lines.end(),
                           [&line](const QRect& other) { return sameRow(line, other); });
    });
    return double(faced) / double(a.lines.size());
}

// The distance from one line to the next, on average.
double linePitch(const LayoutBlock& block) {
    return double(block.lines.back().top() - block.lines.front().top()) /
           double(block.lines.size() - 1);
}

// Columns of one grid or table have the same line pitch; a sidebar's items
// are spaced wider than the text beside them, though some rows meet.
// Single lines side by side (the buttons of a toolbar) are read one by one.
bool sideBySide(const LayoutBlock& a, const LayoutBlock& b) {
    const bool apart = a.box.right() < b.box.left() || b.box.right() < a.box.left();
    if (!apart || a.lines.size() < 2 || b.lines.size() < 2) {
        return false;
    }
    // Two columns of prose (a page set in columns) also share their rows;
    // at least one column of a table or a listing is narrow.
    const int lineHeight = std::min(a.lines.front().height(), b.lines.front().height());
    if (std::min(a.box.width(), b.box.width()) > ProseColumn * lineHeight) {
        return false;
    }
    const double pitchA = linePitch(a);
    const double pitchB = linePitch(b);
    return std::abs(pitchA - pitchB) <= 0.15 * std::max(pitchA, pitchB) &&
           sharedRows(a, b) >= RowShare && sharedRows(b, a) >= RowShare;
}

// A column of single marks at the ends of lines (the backslash that continues
// a line of a macro or a shell command) beside a block and within its height:
// the layout takes it for a column of its own, often for one tall line, and
// its marks would all come after the block's text.
bool marksBeside(const LayoutBlock& marks, const LayoutBlock& block) {
    if (marks.lines.empty() || block.lines.empty() ||
        (marks.box.right() >= block.box.left() && block.box.right() >= marks.box.left())) {
        return false;
    }
    const int lineHeight = block.lines.front().height();
    if (marks.box.width() > MarkColumn * lineHeight ||
        marks.box.top() < block.box.top() - lineHeight ||
        marks.box.bottom() > block.box.bottom() + lineHeight) {
        return false;
    }
    return marks.lines.size() == 1 ? marks.box.height() > 2 * lineHeight
                                   : sharedRows(marks, block) >= RowShare;
}

// One block over the next in the same column, their boxes meeting by less
// than a line (the last line of a paragraph reaching into the next): read
// top to bottom as they stand, where the engine's own layout may take the
// end of a line for a block of its own and read it after both.
bool stacked(const QRect& above, const LayoutBlock& below) {
    if (below.lines.empty()) {
        return false;
    }
    const QRect both = above.intersected(below.box);
    const int narrower = std::min(above.width(), below.box.width());
    return both.height() < below.lines.front().height() && both.width() * 5 >= narrower * 4;
}

std::size_t root(std::vector<std::size_t>& parent, std::size_t i) {
    while (parent[i] != i) {
        i = parent[i] = parent[parent[i]];
    }
    return i;
}

} // namespace

std::vector<ReadingRegion> readingRegions(const std::vector<LayoutBlock>& blocks) {
    std::vector<std::size_t> parent(blocks.size());
    std::iota(parent.begin(), parent.end(), std::size_t{0});
    std::vector<std::size_t> rowBlocks;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        for (std::size_t j = i + 1; j < blocks.size(); ++j) {
            if (sideBySide(blocks[i], blocks[j])) {
                parent[root(parent, j)] = root(parent, i);
                rowBlocks.push_back(i);
            }
        }
    }
    std::vector<int> members(blocks.size());
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        ++members[root(parent, i)];
    }
    for (std::size_t j = 0; j < blocks.size(); ++j) {
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            if (i != j && members[j] == 1 && marksBeside(blocks[j], blocks[i])) {
                parent[j] = root(parent, i);
                rowBlocks.push_back(i);
                break;
            }
        }
    }
    // A column the engine could not split into rows (right-aligned figures,
    // a column of single letters) beside rows joins them when it lies within
    // their height and close by.
    for (bool joined = true; joined;) {
        joined = false;
        std::vector<QRect> groups(blocks.size());
        std::vector<int> lineHeight(blocks.size());
        for (const std::size_t i : rowBlocks) {
            lineHeight[root(parent, i)] = blocks[i].lines.front().height();
        }
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            groups[root(parent, i)] |= blocks[i].box;
        }
        for (std::size_t j = 0; j < blocks.size() && !joined; ++j) {
            for (const std::size_t i : rowBlocks) {
                const std::size_t group = root(parent, i);
                const QRect& rows = groups[group];
                const QRect& block = blocks[j].box;
                const int gap = std::max(block.left() - rows.right(), rows.left() - block.right());
                if (root(parent, j) != group && block.top() >= rows.top() &&
                    block.bottom() <= rows.bottom() && gap < 6 * lineHeight[group]) {
                    parent[root(parent, j)] = group;
                    joined = true;
                    break;
                }
            }
        }
    }
    // Blocks whose boxes overlap would be read twice where they do, and a
    // block inside the rows of a table (its heading) belongs to them.
    std::vector<bool> relaid(blocks.size());
    for (bool joined = true; joined;) {
        joined = false;
        std::vector<QRect> groups(blocks.size());
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            QRect& group = groups[root(parent, i)];
            group = group.united(blocks[i].box);
        }
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            for (std::size_t j = 0; j < blocks.size(); ++j) {
                const std::size_t a = root(parent, i);
                const std::size_t b = root(parent, j);
                if (a != b && groups[a].intersects(blocks[j].box)) {
                    const bool relay = relaid[a] || relaid[b] || !stacked(groups[a], blocks[j]);
                    parent[std::max(a, b)] = std::min(a, b);
                    groups[std::min(a, b)] = groups[a].united(groups[b]);
                    relaid[std::min(a, b)] = relay;
                    joined = true;
                }
            }
        }
    }
    std::vector<bool> rows(blocks.size());
    for (const std::size_t i : rowBlocks) {
        rows[root(parent, i)] = true;
    }
    std::vector<ReadingRegion> regions;
    std::vector<std::ptrdiff_t> regionOf(blocks.size(), -1);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const std::size_t group = root(parent, i);
        if (regionOf[group] < 0) {
            regionOf[group] = static_cast<std::ptrdiff_t>(regions.size());
            regions.push_back({blocks[i].box, rows[group], false});
        } else {
            ReadingRegion& region = regions[static_cast<std::size_t>(regionOf[group])];
            region.box = region.box.united(blocks[i].box);
            region.joined = !region.rows && relaid[group];
        }
    }
    // The engine lists the blocks of one column out of order at times (the
    // "Q:" and "A:" of a terminal's questions, a column of their own beside
    // the text): of two regions in the same column the upper is read first.
    const std::size_t most = regions.size() * regions.size();
    for (std::size_t moves = 0; moves < most; ++moves) {
        bool moved = false;
        for (std::size_t i = 0; i < regions.size() && !moved; ++i) {
            for (std::size_t j = i + 1; j < regions.size() && !moved; ++j) {
                const QRect& below = regions[i].box;
                const QRect& above = regions[j].box;
                if (above.bottom() < below.top() && above.left() <= below.right() &&
                    below.left() <= above.right()) {
                    std::rotate(regions.begin() + static_cast<std::ptrdiff_t>(i),
                                regions.begin() + static_cast<std::ptrdiff_t>(j),
                                regions.begin() + static_cast<std::ptrdiff_t>(j + 1));
                    moved = true;
                }
            }
        }
        if (!moved) {
            break;
        }
    }
    return regions;
}

std::vector<ReadingRegion>::iterator lineGoingOn(std::vector<ReadingRegion>& regions,
                                                 const QRect& run, int glyphHeight) {
    if (run.height() >= glyphHeight / 2 || run.width() < 3 * glyphHeight) {
        return regions.end();
    }
    return std::find_if(regions.begin(), regions.end(), [&](const ReadingRegion& region) {
        const QRect& line = region.box;
        return line.height() < 2 * glyphHeight && run.left() > line.right() &&
               run.left() - line.right() <= glyphHeight && run.top() >= line.top() &&
               run.bottom() <= line.bottom();
    });
}

} // namespace pellix
