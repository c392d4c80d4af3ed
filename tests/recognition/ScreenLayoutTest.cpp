// Reading order of the blocks layout analysis finds on screens.
#include "platform/tesseract/ScreenLayout.h"

#include <gtest/gtest.h>

namespace pellix {
namespace {

// A block of `count` lines from `top`, one every `pitch` pixels.
LayoutBlock block(int left, int width, int top, int count, int pitch, int height = 14) {
    LayoutBlock result;
    for (int i = 0; i < count; ++i) {
        result.lines.emplace_back(left, top + i * pitch, width, height);
        result.box |= result.lines.back();
    }
    return result;
}

TEST(ScreenLayout, ColumnsOnTheSameRowsAreReadAcrossAsOneRegion) {
    // ls -l: permissions, owner, size and name in columns of their own.
    const std::vector<LayoutBlock> blocks = {block(0, 90, 0, 12, 20), block(110, 40, 0, 12, 20),
                                             block(170, 50, 2, 11, 20), block(240, 200, 0, 12, 20)};
    const std::vector<ReadingRegion> regions = readingRegions(blocks);
    ASSERT_EQ(regions.size(), 1u);
    EXPECT_TRUE(regions[0].rows);
    EXPECT_EQ(regions[0].box, QRect(0, 0, 440, 234));
}

TEST(ScreenLayout, ColumnsOfProseAreReadOneAfterTheOther) {
    const std::vector<LayoutBlock> blocks = {block(0, 900, 0, 40, 18), block(940, 900, 0, 40, 18)};
    const std::vector<ReadingRegion> regions = readingRegions(blocks);
    ASSERT_EQ(regions.size(), 2u);
    EXPECT_EQ(regions[1].box, blocks[1].box);
}

TEST(ScreenLayout, TheRegionsOfAColumnAreReadTopDownWhateverTheEnginesOrder) {
    // Questions and answers with their "Q:" and "A:" as columns of their
    // own: the engine listed the labels of the upper rows last.
    const std::vector<LayoutBlock> blocks = {
        block(0, 20, 400, 8, 20), block(0, 20, 0, 12, 20), block(100, 700, 0, 12, 20),
        block(100, 700, 400, 8, 20), block(900, 300, 0, 3, 20)};
    const std::vector<ReadingRegion> regions = readingRegions(blocks);
    ASSERT_EQ(regions.size(), 3u);
    EXPECT_EQ(regions[0].box, blocks[1].box | blocks[2].box);
    EXPECT_EQ(regions[1].box, blocks[0].box | blocks[3].box);
    // A column beside them keeps its place in the engine's order.
    EXPECT_EQ(regions[2].box, blocks[4].box);
}

TEST(ScreenLayout, ASidebarAndToolbarButtonsStayApartFromTheText) {
    const std::vector<LayoutBlock> blocks = {
        block(0, 60, 0, 1, 20),      // toolbar buttons, one line each
        block(80, 60, 0, 1, 20),     //
        block(0, 150, 40, 12, 30),   // sidebar items
        block(200, 800, 40, 20, 18), // the page's text, lines closer together
    };
    const std::vector<ReadingRegion> regions = readingRegions(blocks);
    ASSERT_EQ(regions.size(), 4u);
    for (std::size_t i = 0; i < regions.size(); ++i) {
        EXPECT_EQ(regions[i].box, blocks[i].box);
        EXPECT_FALSE(regions[i].rows);
    }
}

TEST(ScreenLayout, MarksThatContinueLinesAreReadOnTheirLines) {
    // A macro whose lines end in "\\" far to the right, then more code; the
    // engine finds the marks as lines of their own or as one tall line.
    for (const LayoutBlock& marks : {block(900, 8, 18, 8, 18), block(900, 8, 18, 1, 0, 140)}) {
        const std::vector<LayoutBlock> blocks = {block(0, 500, 0, 20, 18), marks};
        const std::vector<ReadingRegion> regions = readingRegions(blocks);
        ASSERT_EQ(regions.size(), 1u);
        EXPECT_TRUE(regions[0].rows);
        EXPECT_EQ(regions[0].box, blocks[0].box | marks.box);
    }
}

TEST(ScreenLayout, FiguresTheEngineTookForOneTallLineJoinTheRowsBesideThem) {
    // ps: a heading, a column of right-aligned PIDs found as one tall line,
    // and the columns the engine did split into rows.
    const std::vector<LayoutBlock> blocks = {block(0, 400, 0, 1, 20), block(0, 30, 20, 1, 0, 230),
                                             block(60, 60, 20, 12, 20),
                                             block(140, 200, 20, 12, 20)};
    const std::vector<ReadingRegion> regions = readingRegions(blocks);
    ASSERT_EQ(regions.size(), 2u);
    EXPECT_EQ(regions[0].box, blocks[0].box);
    EXPECT_TRUE(regions[1].rows);
    EXPECT_EQ(regions[1].box, QRect(0, 20, 340, 234));
}

TEST(ScreenLayout, OverlappingBlocksAreReadOnce) {
    const std::vector<LayoutBlock> blocks = {block(0, 500, 0, 5, 20), block(300, 400, 90, 5, 20),
                                             block(0, 300, 400, 3, 20)};
    const std::vector<ReadingRegion> regions = readingRegions(blocks);
    ASSERT_EQ(regions.size(), 2u);
    EXPECT_EQ(regions[0].box, QRect(0, 0, 700, 184));
    EXPECT_TRUE(regions[0].joined); // laid out anew, not read across
    EXPECT_FALSE(regions[0].rows);
    EXPECT_EQ(regions[1].box, blocks[2].box);

    // One paragraph reaching a few pixels into the next in the same column
    // is read top to bottom as it stands.
    const std::vector<ReadingRegion> stacked =
        readingRegions({block(0, 700, 0, 3, 20), block(0, 690, 50, 2, 20)});
    ASSERT_EQ(stacked.size(), 1u);
    EXPECT_FALSE(stacked[0].joined);
    EXPECT_FALSE(stacked[0].rows);
}

} // namespace
TEST(ScreenLayout, ARunOfEqualsGoingOnFromALineJoinsIt) {
    // Glyphs 20 px tall; a one-line region ending at x 399 on rows 100-119.
    std::vector<ReadingRegion> regions = {{QRect(0, 0, 400, 80)}, {QRect(0, 100, 400, 20)}};
    EXPECT_EQ(lineGoingOn(regions, QRect(410, 105, 200, 8), 20), regions.begin() + 1);
    // Too thick, too short, too far, off its rows, or after a tall region.
    EXPECT_EQ(lineGoingOn(regions, QRect(410, 102, 200, 12), 20), regions.end());
    EXPECT_EQ(lineGoingOn(regions, QRect(410, 105, 40, 8), 20), regions.end());
    EXPECT_EQ(lineGoingOn(regions, QRect(430, 105, 200, 8), 20), regions.end());
    EXPECT_EQ(lineGoingOn(regions, QRect(410, 115, 200, 8), 20), regions.end());
    EXPECT_EQ(lineGoingOn(regions, QRect(410, 30, 200, 8), 20), regions.end());
}

} // namespace pellix
