#include "platform/tesseract/ScreenImage.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>
#include <vector>

namespace pellix {

namespace {

// The side of the squares whose brightness decides between a dark and a
// light ground, and how many squares either way are averaged in, so a thick
// stroke of large text never passes for a dark ground.
constexpr int GroundTile = 16;
constexpr int GroundReach = 2;
constexpr int DarkGround = 128;

// Tesseract's fast LSTM models read best with capitals about this tall.
constexpr double BestGlyphHeight = 24.0;
constexpr double MaxScale = 4.0;
// Pixels the scaled page may have: 24 MB of grey, and a few times that for
// the engine, keeping a 3840x2160 screen of text under 400 MB.
constexpr double PixelBudget = 24e6;
// A rule a ground's eighth darker than the ground is a rule still.
constexpr l_uint32 FaintRuleShare = 8;
// A frame taller than this many glyphs holds more than a line or two: a
// panel or a table, whose borders part what it holds.
constexpr int FrameGlyphs = 4;
// The bends of a frame's rounded corners come within its edges: a fiftieth
// of its ink.
constexpr int FrameCorners = 50;

// The ink of a grey page: what is well darker than its ground, the grey most
// of it has, which `ground` receives when given.
PixPtr inkOf(PIX* gray, l_uint32* ground = nullptr) {
    l_uint32 median = 255;
    pixGetRankValue(gray, 2, 0.5f, &median);
    if (ground) {
        *ground = median;
    }
    return PixPtr(pixThresholdToBinary(gray, static_cast<l_int32>(median) * 2 / 3));
}

// Paints `gray` in `value` where `mask`, placed at (x, y), is set. Leptonica
// unpacks the mask to the page's depth first, a page's worth of memory,
// which an empty mask need not cost.
void paintThrough(PIX* gray, PIX* mask, int x, int y, l_uint32 value) {
    l_int32 empty = 1;
    if (mask && pixZero(mask, &empty) == 0 && !empty) {
        pixPaintThroughMask(gray, mask, x, y, value);
    }
}

PixPtr gray8(PIX* page) {
    if (pixGetDepth(page) == 32) {
        return PixPtr(pixConvertRGBToLuminance(page));
    }
    return PixPtr(pixConvertTo8(page, 0));
}

// The first pixel of a binary row from `from` up to `end` that is set (or
// clear, when `set` is false); `end` when there is none. Blank stretches of
// a row go by a word of 32 pixels at a time.
int nextPixel(const l_uint32* row, int from, int end, bool set) {
    while (from < end) {
        l_uint32 word = row[from >> 5];
        if (!set) {
            word = ~word;
        }
        word &= 0xffffffffu >> (from & 31); // the pixels from `from` on
        if (word != 0) {
            return std::min(end, (from & ~31) + std::countl_zero(word));
        }
        from = (from & ~31) + 32;
    }
    return end;
}

// The last set pixel of a binary row from `from` down to `low`; -1 for none.
int lastSetPixel(const l_uint32* row, int from, int low) {
    while (from >= low) {
        const l_uint32 word = row[from >> 5] & (0xffffffffu << (31 - (from & 31)));
        if (word != 0) {
            const int at = (from & ~31) + 31 - std::countr_zero(word);
            return at >= low ? at : -1;
        }
        from = (from & ~31) - 1;
    }
    return -1;
}

// Columns set apart by less are the columns of one table or listing, read
// row by row; prose columns and sidebars stand further apart.
constexpr int GutterGlyphs = 3;

struct NumaDeleter {
    void operator()(NUMA* numa) const { numaDestroy(&numa); }
};
using NumaPtr = std::unique_ptr<NUMA, NumaDeleter>;

struct Gap {
    int start = 0; // first blank row or column, from the part's edge
    int size = 0;
};

// The runs of blank rows or columns between ink, not those at the edges.
std::vector<Gap> innerGaps(NUMA* counts) {
    std::vector<Gap> gaps;
    const l_int32 n = numaGetCount(counts);
    int start = -1;
    bool inkSeen = false;
    for (l_int32 i = 0; i < n; ++i) {
        l_int32 count = 0;
        numaGetIValue(counts, i, &count);
        if (count == 0) {
            if (start < 0) {
                start = i;
            }
        } else {
            if (start >= 0 && inkSeen) {
                gaps.push_back({start, i - start});
            }
            start = -1;
            inkSeen = true;
        }
    }
    return gaps;
}

void cutTiles(PIX* ink, const QRect& part, int glyphHeight, double maxPixels,
              std::vector<QRect>& tiles) {
    if (double(part.width()) * part.height() <= maxPixels) {
        tiles.push_back(part);
        return;
    }
    PixPtr clip = clipped(ink, part);
    const auto nearestMiddle = [](const std::vector<Gap>& gaps, int length, int minSize) {
        const Gap* best = nullptr;
        for (const Gap& gap : gaps) {
            const auto distance = [length](const Gap& g) {
                return std::abs(2 * g.start + g.size - length);
            };
            if (gap.size >= minSize && (!best || distance(gap) < distance(*best))) {
                best = &gap;
            }
        }
        return best;
    };
    const NumaPtr columns(clip ? pixCountPixelsByColumn(clip.get()) : nullptr);
    const std::vector<Gap> gutters = columns ? innerGaps(columns.get()) : std::vector<Gap>{};
    if (const Gap* gutter = nearestMiddle(gutters, part.width(), GutterGlyphs * glyphHeight)) {
        const int cut = gutter->start + gutter->size / 2;
        cutTiles(ink, QRect(part.x(), part.y(), cut, part.height()), glyphHeight, maxPixels, tiles);
        cutTiles(ink, QRect(part.x() + cut, part.y(), part.width() - cut, part.height()),
                 glyphHeight, maxPixels, tiles);
        return;
    }
    const NumaPtr rows(clip ? pixCountPixelsByRow(clip.get(), nullptr) : nullptr);
    const std::vector<Gap> gaps = rows ? innerGaps(rows.get()) : std::vector<Gap>{};
    // The widest gaps part paragraphs or panels; among them the one nearest
    // the middle keeps the parts even.
    int widest = 0;
    for (const Gap& gap : gaps) {
        widest = std::max(widest, gap.size);
    }
    if (const Gap* gap = nearestMiddle(gaps, part.height(), (widest + 1) / 2)) {
        const int cut = gap->start + gap->size / 2;
        cutTiles(ink, QRect(part.x(), part.y(), part.width(), cut), glyphHeight, maxPixels, tiles);
        cutTiles(ink, QRect(part.x(), part.y() + cut, part.width(), part.height() - cut),
                 glyphHeight, maxPixels, tiles);
        return;
    }
    tiles.push_back(part);
}

// A gutter between panes: blank for at least this many glyph heights across
// and down. Narrower gaps part the columns of one table or listing.
constexpr double PaneGutterWide = 2.5;
constexpr int PaneGutterTall = 4;
constexpr int PaneDepth = 8;
constexpr std::size_t PaneGutterLines = 2;
// A row whose gap is narrower than this share of the usual one is not beside
// the gutter: it crosses it, between two items of one line.
constexpr double NarrowGap = 0.6;
// Share of lines on one side of a gap level with lines on the other, from
// which both sides are one grid (a listing, a table, source code with its
// comments aligned) and read row by row.
constexpr double GridShare = 0.7;

struct PaneGutter {
    int x = 0;   // the column it runs down, blank for half its width either way
    int top = 0; // first and last rows of the text beside it
    int bottom = 0;
    int above = -1; // blank rows across the part to cut at, -1 at the part's edge
    int below = -1;
};

// The left edge most rows with text start at, within `slack`; -1 if none.
int commonStart(std::vector<int> starts, int slack) {
    std::erase(starts, -1);
    std::sort(starts.begin(), starts.end());
    int edge = -1;
    std::size_t most = 0;
    for (std::size_t i = 0, j = 0; i < starts.size(); ++i) {
        while (starts[i] - starts[j] > slack) {
            ++j;
        }
        if (i - j + 1 > most) {
            most = i - j + 1;
            edge = starts[j];
        }
    }
    return edge;
}

// Whether most lines on the side with fewer of them stand level with a line
// on the other side, given the middle row of each line.
bool sharedGrid(const std::vector<int>& a, const std::vector<int>& b, int slack) {
    const std::vector<int>& fewer = a.size() <= b.size() ? a : b;
    const std::vector<int>& more = a.size() <= b.size() ? b : a;
    const auto level = std::count_if(fewer.begin(), fewer.end(), [&](int top) {
        return std::any_of(more.begin(), more.end(),
                           [&](int other) { return std::abs(top - other) <= slack; });
    });
    // One line on its own (a heading, the last line of a list) is allowed.
    const double allowed = std::max(1.0, (1.0 - GridShare) * double(fewer.size()));
    return double(level) + allowed >= double(fewer.size());
}

// The gutter along blank rows `top` to `bottom` of column `x`, trimmed to
// the lines of text beside it; none when it parts no columns of text.
std::optional<PaneGutter> gutterAlong(PIX* ink, int x, int top, int bottom, int glyphHeight,
                                      const std::vector<int>& first, const std::vector<int>& last) {
    const l_uint32* data = pixGetData(ink);
    const l_int32 wpl = pixGetWpl(ink);
    const auto index = [top](int row) {
        return static_cast<std::size_t>(row - top);
    };
    // The ink nearest the gutter on either side of each row, -1 for none.
    std::vector<int> starts(index(bottom) + 1, -1);
    std::vector<int> ends(index(bottom) + 1, -1);
    for (int row = top; row <= bottom; ++row) {
        const l_uint32* line = data + row * wpl;
        const int end = last[std::size_t(row)] + 1;
        const int start = nextPixel(line, x + 1, end, true);
        starts[index(row)] = start < end ? start : -1;
        ends[index(row)] = lastSetPixel(line, x - 1, first[std::size_t(row)]);
    }
    // A column's lines start at one edge, or indented from it; and the gap
    // beside it is about as wide all along. Neither holds for the gap
    // between two buttons of a toolbar above it.
    const int edge = commonStart(starts, std::max(1, glyphHeight / 2));
    if (edge < 0) {
        return std::nullopt;
    }
    std::vector<int> gaps;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        if (starts[i] >= 0 && ends[i] >= 0) {
            gaps.push_back(starts[i] - ends[i]);
        }
    }
    if (gaps.empty()) {
        return std::nullopt;
    }
    std::nth_element(gaps.begin(), gaps.begin() + std::ptrdiff_t(gaps.size() / 2), gaps.end());
    const int usualGap = gaps[gaps.size() / 2];
    const auto aligned = [&](int row) {
        const int start = starts[index(row)];
        const int end = ends[index(row)];
        return start >= edge - glyphHeight / 2 && (end < 0 || start - end >= NarrowGap * usualGap);
    };
    // It starts and ends with a whole line of such text, not a speck.
    const int lineRows = std::max(1, glyphHeight / 2);
    const auto alignedLine = [&](int from, int step) {
        for (int row = from, run = 0; row >= top && row <= bottom; row += step) {
            run = aligned(row) ? run + 1 : 0;
            if (run == lineRows) {
                return row - step * (lineRows - 1);
            }
        }
        return -1;
    };
    const int from = alignedLine(top, 1);
    const int to = alignedLine(bottom, -1);
    if (from < 0 || to - from + 1 < PaneGutterTall * glyphHeight) {
        return std::nullopt;
    }
    // Lines on either side, by their middle rows, a steady mark whatever
    // letters they hold; only whole lines count, not the descenders of one
    // above. A gap inside one line of text is no gutter.
    std::vector<int> leftLines;
    std::vector<int> rightLines;
    const auto endLine = [lineRows](std::vector<int>& lines, int run, int row) {
        if (run >= lineRows) {
            lines.push_back(row - (run + 1) / 2);
        }
    };
    for (int row = from, leftRun = 0, rightRun = 0; row <= to + 1; ++row) {
        const bool leftInk = row <= to && ends[index(row)] >= 0;
        const bool rightInk = row <= to && aligned(row);
        if (!leftInk) {
            endLine(leftLines, leftRun, row);
        }
        if (!rightInk) {
            endLine(rightLines, rightRun, row);
        }
        leftRun = leftInk ? leftRun + 1 : 0;
        rightRun = rightInk ? rightRun + 1 : 0;
    }
    if (leftLines.size() < PaneGutterLines || rightLines.size() < PaneGutterLines ||
        sharedGrid(leftLines, rightLines, glyphHeight / 4)) {
        return std::nullopt;
    }
    return PaneGutter{x, from, to, -1, -1};
}

// The tallest gutter of a part of the ink with text on both sides over its
// height, ending where blank rows across the whole part let it be cut out.
std::optional<PaneGutter> tallestGutter(PIX* ink, int glyphHeight) {
    const l_int32 w = pixGetWidth(ink);
    const l_int32 h = pixGetHeight(ink);
    const int wide = std::max(3, static_cast<int>(PaneGutterWide * glyphHeight));
    const int tall = PaneGutterTall * glyphHeight;
    if (w < 3 * wide || h < tall) {
        return std::nullopt;
    }
    // Set where ink lies within half a gutter's width across; turned a
    // quarter left, so that column x is read along row w - 1 - x.
    PixPtr nearInk(pixDilateBrick(nullptr, ink, wide, 1));
    PixPtr near(nearInk ? pixRotate90(nearInk.get(), -1) : nullptr);
    if (!near) {
        return std::nullopt;
    }
    std::vector<int> first(static_cast<std::size_t>(h), w); // first and last ink of each row
    std::vector<int> last(static_cast<std::size_t>(h), -1);
    const l_uint32* data = pixGetData(ink);
    const l_int32 wpl = pixGetWpl(ink);
    for (l_int32 y = 0; y < h; ++y) {
        const l_uint32* row = data + y * wpl;
        first[std::size_t(y)] = nextPixel(row, 0, w, true);
        last[std::size_t(y)] = lastSetPixel(row, w - 1, 0);
    }
    const auto blankRow = [&](int y) {
        return last[std::size_t(y)] < 0;
    };
    // The blank row nearest `y` within a glyph's height, preferring rows
    // towards `inward`; -1 when text runs across there.
    const auto cutRow = [&](int y, int inward) {
        for (int d = 0; d <= glyphHeight; ++d) {
            for (const int candidate : {y + d * inward, y - d * inward}) {
                if (candidate >= 0 && candidate < h && blankRow(candidate)) {
                    return candidate;
                }
            }
        }
        return -1;
    };
    std::optional<PaneGutter> best;
    const l_uint32* nearData = pixGetData(near.get());
    const l_int32 nearWpl = pixGetWpl(near.get());
    // Runs of blank rows that failed at the column before: moving within
    // the blank gives them the same text on either side.
    std::vector<std::pair<int, int>> failedBefore;
    std::vector<std::pair<int, int>> failed;
    for (l_int32 x = wide; x < w - wide; ++x) {
        failedBefore.swap(failed);
        failed.clear();
        const l_uint32* column = nearData + (w - 1 - x) * nearWpl;
        for (l_int32 y = 0; y < h;) {
            const int runTop = nextPixel(column, y, h, false);
            if (runTop >= h) {
                break;
            }
            y = nextPixel(column, runTop, h, true);
            const int runBottom = y - 1;
            if (runBottom - runTop + 1 < tall ||
                (best && runBottom - runTop <= best->bottom - best->top)) {
                continue;
            }
            const std::pair<int, int> run{runTop, runBottom};
            if (std::find(failedBefore.begin(), failedBefore.end(), run) != failedBefore.end()) {
                failed.push_back(run);
                continue;
            }
            std::optional<PaneGutter> gutter =
                gutterAlong(ink, x, runTop, runBottom, glyphHeight, first, last);
            if (!gutter) {
                failed.push_back(run);
                continue;
            }
            if (best && gutter->bottom - gutter->top <= best->bottom - best->top) {
                continue;
            }
            if (gutter->top > 0 && (gutter->above = cutRow(gutter->top, 1)) < 0) {
                continue;
            }
            if (gutter->bottom < h - 1 && (gutter->below = cutRow(gutter->bottom, -1)) < 0) {
                continue;
            }
            best = gutter;
        }
    }
    return best;
}

void cutPanes(PIX* ink, const QRect& part, int glyphHeight, int depth, std::vector<QRect>& panes) {
    if (part.isEmpty()) {
        return;
    }
    PixPtr clip = clipped(ink, part);
    l_int32 empty = 1;
    if (!clip || (pixZero(clip.get(), &empty), empty)) {
        return;
    }
    const std::optional<PaneGutter> gutter =
        depth < PaneDepth ? tallestGutter(clip.get(), glyphHeight) : std::nullopt;
    if (!gutter) {
        // Only around its ink: the blank ground of a large pane, in two
        // shades of grey, would take the engine's threshold off the text.
        BOX* inkBox = nullptr;
        pixClipToForeground(clip.get(), nullptr, &inkBox);
        QRect pane = part;
        if (inkBox) {
            l_int32 x = 0, y = 0, w = 0, h = 0;
            boxGetGeometry(inkBox, &x, &y, &w, &h);
            boxDestroy(&inkBox);
            const int margin = glyphHeight / 2;
            pane = QRect(part.x() + x, part.y() + y, w, h)
                       .adjusted(-margin, -margin, margin, margin)
                       .intersected(part);
        }
        panes.push_back(pane);
        return;
    }
    const int top = gutter->above < 0 ? 0 : gutter->above;
    const int bottom = gutter->below < 0 ? part.height() - 1 : gutter->below;
    const auto next = [&](int x, int y, int w, int h) {
        cutPanes(ink, QRect(part.x() + x, part.y() + y, w, h), glyphHeight, depth + 1, panes);
    };
    next(0, 0, part.width(), top);
    next(0, top, gutter->x, bottom - top + 1);
    next(gutter->x, top, part.width() - gutter->x, bottom - top + 1);
    next(0, bottom + 1, part.width(), part.height() - bottom - 1);
}

} // namespace

PixPtr clipped(PIX* pix, const QRect& rect) {
    BOX* box = boxCreate(rect.x(), rect.y(), rect.width(), rect.height());
    PixPtr part(pixClipRectangle(pix, box, nullptr));
    boxDestroy(&box);
    return part;
}

PixPtr lightGroundGray(PIX* page) {
    PixPtr gray = gray8(page);
    if (!gray) {
        return {};
    }
    PixPtr means(pixGetAverageTiled(gray.get(), GroundTile, GroundTile, L_MEAN_ABSVAL));
    if (!means) {
        return gray; // smaller than one tile
    }
    PixPtr ground(pixBlockconv(means.get(), GroundReach, GroundReach));
    if (!ground) {
        ground.reset(pixClone(means.get()));
    }
    const l_int32 width = pixGetWidth(gray.get());
    const l_int32 height = pixGetHeight(gray.get());
    const l_int32 tilesX = pixGetWidth(ground.get());
    const l_int32 tilesY = pixGetHeight(ground.get());
    l_uint32* const groundData = pixGetData(ground.get());
    const l_int32 groundWpl = pixGetWpl(ground.get());
    l_uint32* const data = pixGetData(gray.get());
    const l_int32 wpl = pixGetWpl(gray.get());
    // Whether the ground around pixel (x, y) is dark, so that it is inverted.
    const auto darkGround = [&](l_int32 x, l_int32 y) {
        return GET_DATA_BYTE(groundData + std::min(y / GroundTile, tilesY - 1) * groundWpl,
                             std::min(x / GroundTile, tilesX - 1)) < DarkGround;
    };
    for (l_int32 y = 0; y < height; ++y) {
        l_uint32* line = data + y * wpl;
        for (l_int32 x = 0; x < width; ++x) {
            if (darkGround(x, y)) {
                SET_DATA_BYTE(line, x, 255 - GET_DATA_BYTE(line, x));
            }
        }
    }
    // An inverted ground is as light as its dark ground was dark: a status
    // bar and the panel above it may differ enough for the engine to take
    // one of them for ink. Each inverted square's brightest grey becomes
    // white.
    PixPtr brightest(pixScaleGrayMinMax(gray.get(), GroundTile, GroundTile, L_CHOOSE_MAX));
    if (brightest) {
        const l_int32 maxX = pixGetWidth(brightest.get()) - 1;
        const l_int32 maxY = pixGetHeight(brightest.get()) - 1;
        const l_uint32* const brightData = pixGetData(brightest.get());
        const l_int32 brightWpl = pixGetWpl(brightest.get());
        for (l_int32 y = 0; y < height; ++y) {
            const l_uint32* brightRow = brightData + std::min(y / GroundTile, maxY) * brightWpl;
            l_uint32* line = data + y * wpl;
            for (l_int32 x = 0; x < width; ++x) {
                if (!darkGround(x, y)) {
                    continue;
                }
                const l_int32 light = GET_DATA_BYTE(brightRow, std::min(x / GroundTile, maxX));
                if (light >= DarkGround && light < 255) {
                    const l_int32 value = GET_DATA_BYTE(line, x);
                    SET_DATA_BYTE(line, x, std::min(255, (value * 255 + light / 2) / light));
                }
            }
        }
    }
    return gray;
}

int typicalGlyphHeight(PIX* gray) {
    // Ink is what is clearly darker than the ground, halfway between the two.
    l_uint32 ink = 0;
    l_uint32 ground = 255;
    pixGetRankValue(gray, 2, 0.02f, &ink);
    pixGetRankValue(gray, 2, 0.5f, &ground);
    if (ground <= ink + 32) {
        return 0;
    }
    PixPtr binary(pixThresholdToBinary(gray, static_cast<l_int32>((ink + ground) / 2)));
    BoxaPtr boxes(binary ? pixConnCompBB(binary.get(), 8) : nullptr);
    const l_int32 count = boxes ? boxaGetCount(boxes.get()) : 0;
    std::vector<int> heights;
    for (l_int32 i = 0; i < count; ++i) {
        l_int32 x = 0, y = 0, w = 0, h = 0;
        boxaGetBoxGeometry(boxes.get(), i, &x, &y, &w, &h);
        // Glyphs, not rules, frames or dots.
        if (h >= 4 && h <= 200 && w <= 3 * h) {
            heights.push_back(h);
        }
    }
    if (heights.size() < 10) {
        return 0;
    }
    // Small letters and punctuation outnumber the tall ones; the upper
    // quartile lands on capitals and letters with ascenders.
    const auto quartile = heights.begin() + static_cast<std::ptrdiff_t>(heights.size() * 3 / 4);
    std::nth_element(heights.begin(), quartile, heights.end());
    return *quartile;
}

double recognitionScale(int glyphHeight, double pixels) {
    if (glyphHeight <= 0) {
        return 1.0;
    }
    double factor = std::clamp(BestGlyphHeight / glyphHeight, 1.0, MaxScale);
    if (pixels * factor * factor > PixelBudget) {
        factor = std::max(1.0, std::sqrt(PixelBudget / pixels));
    }
    return factor;
}

void removeRules(PIX* gray, int glyphHeight) {
    if (glyphHeight <= 0) {
        return;
    }
    l_uint32 ground = 255;
    PixPtr ink = inkOf(gray, &ground);
    // Taller than three lines of text: no glyph stroke is. (Composite
    // bricks take a few passes over the page, not one for each pixel of the
    // brick's length; that length may come out a pixel or two off, which a
    // rule's is nowhere near.)
    PixPtr rules(ink ? pixOpenCompBrick(nullptr, ink.get(), 1, 3 * glyphHeight) : nullptr);
    if (rules) {
        PixPtr wider(pixDilateBrick(nullptr, rules.get(), 3, 1));
        paintThrough(gray, wider.get(), 0, 0, ground);
    }
    // Light rules too (the borders of a table on a tinted ground): fainter
    // than ink, yet the recognizer reads them as "|" between cells. Thin
    // ones only, as the shade of a sidebar is as faint and as tall.
    const auto faint = static_cast<l_int32>(ground - ground / FaintRuleShare);
    PixPtr shade(pixThresholdToBinary(gray, faint));
    PixPtr tall(shade ? pixOpenCompBrick(nullptr, shade.get(), 1, 3 * glyphHeight) : nullptr);
    PixPtr thin(tall ? pixSelectBySize(tall.get(), std::max(2, glyphHeight / 4), 0, 8,
                                       L_SELECT_WIDTH, L_SELECT_IF_LTE, nullptr)
                     : nullptr);
    if (thin) {
        PixPtr wider(pixDilateBrick(nullptr, thin.get(), 3, 1));
        paintThrough(gray, wider.get(), 0, 0, ground);
    }
    // Light rules across (a table's row borders) where no ink runs with
    // them: a row of "-" or "=" in a terminal is ink.
    PixPtr across(shade ? pixOpenCompBrick(nullptr, shade.get(), 3 * glyphHeight, 1) : nullptr);
    PixPtr flat(across ? pixSelectBySize(across.get(), 0, std::max(2, glyphHeight / 4), 8,
                                         L_SELECT_HEIGHT, L_SELECT_IF_LTE, nullptr)
                       : nullptr);
    PixPtr seed(flat && ink ? pixAnd(nullptr, flat.get(), ink.get()) : nullptr);
    PixPtr inked(seed ? pixSeedfillBinary(nullptr, seed.get(), flat.get(), 8) : nullptr);
    PixPtr faintOnly(inked ? pixSubtract(nullptr, flat.get(), inked.get()) : nullptr);
    if (faintOnly) {
        PixPtr taller(pixDilateBrick(nullptr, faintOnly.get(), 1, 3));
        paintThrough(gray, taller.get(), 0, 0, ground);
    }
}

namespace {

// The part of `ink` joined within bounds (x, y, w, h), alone, as a picture
// of that size: filled from the ink of its top row, which other parts may
// share.
PixPtr partWithin(PIX* ink, int x, int y, int w, int h) {
    BOX* box = boxCreate(x, y, w, h);
    PixPtr clip(pixClipRectangle(ink, box, nullptr));
    boxDestroy(&box);
    PixPtr seed(pixCreate(w, h, 1));
    if (!clip || !seed) {
        return {};
    }
    const l_uint32* top = pixGetData(clip.get());
    for (int at = nextPixel(top, 0, w, true); at < w;
         at = nextPixel(top, nextPixel(top, at, w, false), w, true)) {
        pixClearAll(seed.get());
        pixSetPixel(seed.get(), at, 0, 1);
        PixPtr part(pixSeedfillBinary(nullptr, seed.get(), clip.get(), 8));
        BOX* bounds = nullptr;
        if (part && pixClipToForeground(part.get(), nullptr, &bounds) == 0 && bounds) {
            l_int32 bx = 0, by = 0, bw = 0, bh = 0;
            boxGetGeometry(bounds, &bx, &by, &bw, &bh);
            boxDestroy(&bounds);
            if (bx == 0 && by == 0 && bw == w && bh == h) {
                return part;
            }
        }
    }
    return {};
}

// Paints in `ground` the frames among the parts of `ink`, a binary copy of
// `gray`.
void paintFrames(PIX* gray, PIX* ink, l_uint32 ground, int glyphHeight) {
    // Bounds first, the parts themselves only for the few of a frame's size:
    // a page of text has thousands of glyphs.
    BoxaPtr boxes(ink ? pixConnCompBB(ink, 8) : nullptr);
    const l_int32 count = boxes ? boxaGetCount(boxes.get()) : 0;
    const int margin = std::max(2, glyphHeight / 4);
    for (l_int32 i = 0; i < count; ++i) {
        l_int32 x = 0, y = 0, w = 0, h = 0;
        boxaGetBoxGeometry(boxes.get(), i, &x, &y, &w, &h);
        // Taller than a line's letters, no taller than a few lines, and
        // wider than a short word: a button, a field, a tab.
        if (h < glyphHeight * 5 / 4 || h > FrameGlyphs * glyphHeight || w < 2 * glyphHeight) {
            continue;
        }
        PixPtr mask = partWithin(ink, x, y, w, h);
        BOX* inner = boxCreate(margin, margin, w - 2 * margin, h - 2 * margin);
        PixPtr core(mask ? pixClipRectangle(mask.get(), inner, nullptr) : nullptr);
        boxDestroy(&inner);
        l_int32 inside = 0, all = 0;
        if (!core || pixCountPixels(core.get(), &inside, nullptr) != 0 ||
            pixCountPixels(mask.get(), &all, nullptr) != 0) {
            continue;
        }
        // Ink inside its edges (a glyph, an icon, a grid) is more than the
        // bends of rounded corners.
        if (inside * FrameCorners > all) {
            continue;
        }
        PixPtr wider(pixDilateBrick(nullptr, mask.get(), 3, 3));
        if (wider) {
            paintThrough(gray, wider.get(), x, y, ground);
        }
    }
}

} // namespace

void removeFrames(PIX* gray, int glyphHeight) {
    if (glyphHeight <= 0) {
        return;
    }
    // Frames stand well off the ground on most pages.
    l_uint32 ground = 255, darkest = 0;
    PixPtr ink = inkOf(gray, &ground);
    if (ink) {
        paintFrames(gray, ink.get(), ground, glyphHeight);
    }
    // Drawn thin and faint, their sides smoothed over two rows, they stand a
    // quarter of the contrast off it; on a page of several grounds a
    // threshold that faint joins them all into one, hence both.
    if (pixGetRankValue(gray, 2, 0.02f, &darkest) == 0 && darkest < ground) {
        PixPtr faint(
            pixThresholdToBinary(gray, static_cast<l_int32>(ground - (ground - darkest) / 4)));
        if (faint) {
            paintFrames(gray, faint.get(), ground, glyphHeight);
        }
    }
}

PixPtr scaledGray(PIX* gray, double factor) {
    if (factor == 1.0) {
        return PixPtr(pixCopy(nullptr, gray));
    }
    const auto f = static_cast<l_float32>(factor);
    return PixPtr(pixScale(gray, f, f));
}

std::vector<QRect> pageTiles(PIX* gray, int glyphHeight, double maxPixels) {
    const QRect page(0, 0, pixGetWidth(gray), pixGetHeight(gray));
    PixPtr ink = inkOf(gray);
    std::vector<QRect> tiles;
    if (!ink || glyphHeight <= 0) {
        tiles.push_back(page);
        return tiles;
    }
    cutTiles(ink.get(), page, glyphHeight, maxPixels, tiles);
    return tiles;
}

namespace {

void sliceRows(NUMA* rows, int top, int bottom, int maxHeight, const QRect& box,
               std::vector<QRect>& slices) {
    const int height = bottom - top;
    const Gap* best = nullptr;
    std::vector<Gap> gaps;
    if (height > maxHeight) {
        NumaPtr part(numaClipToInterval(rows, top, bottom - 1));
        gaps = part ? innerGaps(part.get()) : std::vector<Gap>{};
        const auto distance = [height](const Gap& g) {
            return std::abs(2 * g.start + g.size - height);
        };
        for (const Gap& gap : gaps) {
            if (!best || distance(gap) < distance(*best)) {
                best = &gap;
            }
        }
    }
    if (!best) {
        slices.emplace_back(box.x(), box.y() + top, box.width(), height);
        return;
    }
    const int cut = top + best->start + best->size / 2;
    sliceRows(rows, top, cut, maxHeight, box, slices);
    sliceRows(rows, cut, bottom, maxHeight, box, slices);
}

} // namespace

std::vector<QRect> regionSlices(PIX* gray, const QRect& box, int maxHeight, int glyphHeight) {
    if (box.height() <= maxHeight || maxHeight <= 0 || glyphHeight <= 0) {
        return {box};
    }
    PixPtr part = clipped(gray, box);
    l_uint32 ground = 255;
    PixPtr ink(part ? inkOf(part.get(), &ground) : nullptr);
    // A faint border counts, the engine's own threshold sees it. At that
    // threshold the smoothed feet of small letters run together along a word
    // (a long one is eight glyph heights), so a rule must also run a third of
    // the way across, as the borders of a table do.
    PixPtr marks(part ? pixThresholdToBinary(part.get(), static_cast<l_int32>(ground) * 7 / 8)
                      : nullptr);
    const int ruleLength = std::max(3 * glyphHeight, box.width() / 3);
    PixPtr rules(marks ? pixOpenCompBrick(nullptr, marks.get(), ruleLength, 1) : nullptr);
    l_int32 noRules = 0;
    if (!rules || (pixZero(rules.get(), &noRules), !noRules)) {
        return {box};
    }
    NumaPtr rows(ink ? pixCountPixelsByRow(ink.get(), nullptr) : nullptr);
    if (!rows) {
        return {box};
    }
    std::vector<QRect> slices;
    sliceRows(rows.get(), 0, box.height(), maxHeight, box, slices);
    return slices;
}

std::vector<QRect> pagePanes(PIX* gray, int glyphHeight) {
    const QRect page(0, 0, pixGetWidth(gray), pixGetHeight(gray));
    PixPtr ink = inkOf(gray);
    std::vector<QRect> panes;
    if (ink && glyphHeight > 0) {
        cutPanes(ink.get(), page, glyphHeight, 0, panes);
    }
    if (panes.size() <= 1) {
        return {page};
    }
    return panes;
}

} // namespace pellix
