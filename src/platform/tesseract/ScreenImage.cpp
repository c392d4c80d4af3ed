#include "platform/tesseract/ScreenImage.h"

#include <algorithm>
#include <cmath>
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

PixPtr gray8(PIX* page) {
    if (pixGetDepth(page) == 32) {
        return PixPtr(pixConvertRGBToLuminance(page));
    }
    return PixPtr(pixConvertTo8(page, 0));
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
    BOX* box = boxCreate(part.x(), part.y(), part.width(), part.height());
    PixPtr clip(pixClipRectangle(ink, box, nullptr));
    boxDestroy(&box);
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

} // namespace

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
    std::vector<bool> dark(static_cast<std::size_t>(tilesX));
    for (l_int32 y = 0; y < height; ++y) {
        const l_int32 tileY = std::min(y / GroundTile, tilesY - 1);
        if (y % GroundTile == 0 || y == 0) {
            const l_uint32* row = groundData + tileY * groundWpl;
            for (l_int32 tx = 0; tx < tilesX; ++tx) {
                dark[static_cast<std::size_t>(tx)] = GET_DATA_BYTE(row, tx) < DarkGround;
            }
        }
        l_uint32* line = data + y * wpl;
        for (l_int32 x = 0; x < width; ++x) {
            if (dark[static_cast<std::size_t>(std::min(x / GroundTile, tilesX - 1))]) {
                SET_DATA_BYTE(line, x, 255 - GET_DATA_BYTE(line, x));
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

void removeVerticalRules(PIX* gray, int glyphHeight) {
    if (glyphHeight <= 0) {
        return;
    }
    l_uint32 ground = 255;
    pixGetRankValue(gray, 2, 0.5f, &ground);
    PixPtr ink(pixThresholdToBinary(gray, static_cast<l_int32>(ground) * 2 / 3));
    // Taller than three lines of text: no glyph stroke is.
    PixPtr rules(ink ? pixOpenBrick(nullptr, ink.get(), 1, 3 * glyphHeight) : nullptr);
    if (rules) {
        PixPtr wider(pixDilateBrick(nullptr, rules.get(), 3, 1));
        pixPaintThroughMask(gray, wider.get(), 0, 0, ground);
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
    l_uint32 ground = 255;
    pixGetRankValue(gray, 2, 0.5f, &ground);
    PixPtr ink(pixThresholdToBinary(gray, static_cast<l_int32>(ground) * 2 / 3));
    std::vector<QRect> tiles;
    if (!ink || glyphHeight <= 0) {
        tiles.push_back(page);
        return tiles;
    }
    cutTiles(ink.get(), page, glyphHeight, maxPixels, tiles);
    return tiles;
}

} // namespace pellix
