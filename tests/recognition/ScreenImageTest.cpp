// The preparation of screen images, on small pages drawn here.
#include "platform/tesseract/ScreenImage.h"

#include <gtest/gtest.h>

namespace pellix {
namespace {

void fill(PIX* pix, int x, int y, int w, int h, l_uint32 value) {
    BOX* box = boxCreate(x, y, w, h);
    pixSetInRectArbitrary(pix, box, value);
    boxDestroy(&box);
}

l_uint32 at(PIX* pix, int x, int y) {
    l_uint32 value = 0;
    pixGetPixel(pix, x, y, &value);
    return value;
}

// Rows of letter-like bars: three of every five short like small letters,
// the rest tall like capitals.
void drawText(PIX* pix, int left, int top, int width, int rows, int tall, l_uint32 ink) {
    const int small = tall * 2 / 3;
    for (int row = 0; row < rows; ++row) {
        const int base = top + row * tall * 2 + tall;
        for (int i = 0, x = left; x + tall < left + width; ++i, x += tall) {
            const int h = i % 5 < 3 ? small : tall;
            fill(pix, x, base - h, std::max(2, tall / 3), h, ink);
        }
    }
}

PixPtr page(int w, int h, l_uint32 ground, int depth = 8) {
    PixPtr pix(pixCreate(w, h, depth));
    fill(pix.get(), 0, 0, w, h, ground);
    return pix;
}

TEST(ScreenImage, DarkGroundsTurnLightRegionByRegionAndLightOnesStay) {
    PixPtr screen = page(400, 240, 240);
    fill(screen.get(), 200, 0, 200, 200, 30); // a dark panel on the right
    drawText(screen.get(), 10, 10, 180, 4, 12, 20);
    drawText(screen.get(), 210, 10, 180, 4, 12, 220);
    // A status bar under the panel, of a lighter dark ground.
    fill(screen.get(), 200, 200, 200, 40, 100);
    drawText(screen.get(), 210, 208, 180, 1, 12, 245);
    for (int x = 10; x < 190; x += 18) {
        fill(screen.get(), x, 130, 6, 40, 0); // the heavy strokes of a large heading
    }

    PixPtr gray = lightGroundGray(screen.get());
    EXPECT_EQ(at(gray.get(), 5, 5), 240u);
    EXPECT_EQ(at(gray.get(), 10, 20), 20u);  // dark ink stays dark
    EXPECT_EQ(at(gray.get(), 100, 150), 0u); // and so does the heading
    // Inverted grounds, as light as the dark ones were dark, turn white.
    EXPECT_EQ(at(gray.get(), 395, 195), 255u); // the panel's ground
    EXPECT_EQ(at(gray.get(), 210, 20), 40u);   // and its light ink dark
    EXPECT_EQ(at(gray.get(), 395, 235), 255u); // the status bar's
    EXPECT_LT(at(gray.get(), 210, 219), 20u);
}

TEST(ScreenImage, AColouredThemeComesOutDarkOnLight) {
    PixPtr screen = page(200, 120, 0x00008000, 32);         // navy
    drawText(screen.get(), 10, 10, 180, 3, 12, 0xffff6600); // yellow
    PixPtr gray = lightGroundGray(screen.get());
    ASSERT_EQ(pixGetDepth(gray.get()), 8);
    EXPECT_GT(at(gray.get(), 195, 115), 200u);
    EXPECT_LT(at(gray.get(), 10, 20), 60u);
}

TEST(ScreenImage, SmallTextGrowsToTheReadableHeightAndLargeTextStays) {
    for (const int tall : {6, 9, 13}) {
        PixPtr screen = page(600, 200, 255);
        drawText(screen.get(), 10, 5, 580, 6, tall, 0);
        fill(screen.get(), 0, 190, 600, 1, 0); // a rule under the text
        const int measured = typicalGlyphHeight(screen.get());
        EXPECT_EQ(measured, tall);
        const double factor = recognitionScale(measured, 600.0 * 200.0);
        PixPtr scaled = scaledGray(screen.get(), factor);
        EXPECT_NEAR(typicalGlyphHeight(scaled.get()), 24, 3) << tall;
    }
    EXPECT_EQ(recognitionScale(40, 1e6), 1.0);
    EXPECT_EQ(recognitionScale(0, 1e6), 1.0); // nothing glyph-like: left alone
    EXPECT_EQ(typicalGlyphHeight(page(300, 100, 255).get()), 0);
}

TEST(ScreenImage, RulesGoAndGlyphsAndDashesStay) {
    PixPtr screen = page(400, 200, 240);
    drawText(screen.get(), 10, 10, 150, 4, 24, 20);
    fill(screen.get(), 200, 0, 2, 200, 20);    // a table's cell border
    fill(screen.get(), 220, 100, 170, 3, 20);  // a run of dashes
    fill(screen.get(), 210, 0, 2, 200, 190);   // a light border on the tint
    fill(screen.get(), 300, 120, 90, 80, 200); // a light shaded panel
    fill(screen.get(), 220, 99, 170, 1, 200);  // the dashes' smoothed edge
    fill(screen.get(), 10, 190, 180, 2, 190);  // a light border across
    removeRules(screen.get(), 24);
    EXPECT_EQ(at(screen.get(), 200, 100), 240u);
    EXPECT_EQ(at(screen.get(), 210, 50), 240u);
    EXPECT_EQ(at(screen.get(), 300, 101), 20u);
    EXPECT_EQ(at(screen.get(), 10, 30), 20u);
    EXPECT_EQ(at(screen.get(), 340, 160), 200u);
    EXPECT_EQ(at(screen.get(), 300, 99), 200u);
    EXPECT_EQ(at(screen.get(), 100, 190), 240u);
}

TEST(ScreenImage, AFrameGoesThoughAMarkSharesTheTopRowOfItsBounds) {
    PixPtr screen = page(300, 120, 240);
    drawText(screen.get(), 150, 30, 120, 2, 20, 20);
    // A button's frame with rounded corners, and a mark of its own in the
    // corner its rounding leaves.
    fill(screen.get(), 24, 20, 113, 2, 20);
    fill(screen.get(), 24, 59, 113, 2, 20);
    fill(screen.get(), 20, 24, 2, 33, 20);
    fill(screen.get(), 139, 24, 2, 33, 20);
    for (int i = 0; i < 3; ++i) {
        fill(screen.get(), 21 + i, 23 - i, 1, 1, 20);
        fill(screen.get(), 137 + i, 21 + i, 1, 1, 20);
        fill(screen.get(), 21 + i, 57 + i, 1, 1, 20);
        fill(screen.get(), 137 + i, 59 - i, 1, 1, 20);
    }
    fill(screen.get(), 20, 20, 1, 1, 20);
    removeFrames(screen.get(), 20);
    EXPECT_EQ(at(screen.get(), 80, 20), 240u);
    EXPECT_EQ(at(screen.get(), 20, 40), 240u);
    EXPECT_EQ(at(screen.get(), 20, 20), 20u);
    EXPECT_EQ(at(screen.get(), 151, 45), 20u); // text stays
}

TEST(ScreenImage, AHugePageGrowsNoFurtherThanTheMemoryAllows) {
    const double screen4k = 3840.0 * 2160.0;
    const double factor = recognitionScale(6, screen4k);
    EXPECT_GT(factor, 1.0);
    EXPECT_LE(screen4k * factor * factor, 25e6); // some 100 MB with what the engine makes of it
    EXPECT_EQ(recognitionScale(6, 7680.0 * 4320.0), 1.0);
    EXPECT_GT(recognitionScale(6, 1920.0 * 1080.0), factor);
}

TEST(ScreenImage, ALargePageIsCutAtGuttersThenBetweenParagraphsInReadingOrder) {
    // Two columns of two paragraphs each, 12 px glyphs, 60 px apart.
    PixPtr screen = page(660, 440, 255);
    for (const int left : {10, 350}) {
        drawText(screen.get(), left, 10, 300, 6, 12, 0);  // rows at 10..154
        drawText(screen.get(), left, 230, 300, 8, 12, 0); // after a wide gap
    }
    const std::vector<QRect> tiles = pageTiles(screen.get(), 12, 660.0 * 440.0 / 3);
    ASSERT_EQ(tiles.size(), 4u);
    EXPECT_LT(tiles[0].right(), 350);
    EXPECT_LT(tiles[0].bottom(), 230); // the left column's first paragraph
    EXPECT_EQ(tiles[1].left(), tiles[0].left());
    EXPECT_GE(tiles[1].top(), 155);
    EXPECT_GT(tiles[2].left(), 310); // then the right column's
    EXPECT_LT(tiles[2].bottom(), 230);

    // Small enough: one part; columns of a table, close together, stay in one.
    EXPECT_EQ(pageTiles(screen.get(), 12, 660.0 * 440.0).size(), 1u);
    PixPtr table = page(660, 440, 255);
    for (const int left : {10, 200, 390}) {
        drawText(table.get(), left, 10, 170, 20, 12, 0);
    }
    EXPECT_EQ(pageTiles(table.get(), 12, 1e5)[0].width(), 660);
}

TEST(ScreenImage, ASidebarIsAPaneOfItsOwnBetweenToolbarAndStatusBar) {
    PixPtr screen = page(700, 400, 255);
    // Toolbar buttons, one gap over the sidebar's gutter, the next button
    // starting right of where the content does.
    for (const int left : {10, 100, 210, 300}) {
        drawText(screen.get(), left, 0, 50, 1, 12, 0);
    }
    for (int item = 0; item < 8; ++item) { // spaced wider than the content's lines
        drawText(screen.get(), 10, 40 + item * 30 - 12, 60, 1, 12, 0);
    }
    drawText(screen.get(), 200, 36 - 12, 480, 10, 12, 0);
    drawText(screen.get(), 10, 360 - 12, 150, 1, 12, 0); // status bar

    const std::vector<QRect> panes = pagePanes(screen.get(), 12);
    ASSERT_EQ(panes.size(), 4u);
    EXPECT_LT(panes[0].bottom(), 36); // toolbar
    EXPECT_GE(panes[0].right(), 340);
    EXPECT_LT(panes[1].right(), 200);  // sidebar
    EXPECT_GE(panes[1].bottom(), 249); // its last item
    EXPECT_LE(panes[2].left(), 200);   // content
    EXPECT_GT(panes[2].left(), 70);
    EXPECT_GT(panes[3].top(), 280); // status bar
    EXPECT_LT(panes[3].top(), 360);

    // Columns whose lines stand level (a listing, code and its comments)
    // are one grid and stay together; so does a page without gutters.
    PixPtr listing = page(700, 300, 255);
    drawText(listing.get(), 10, 10, 150, 8, 12, 0);
    drawText(listing.get(), 300, 10, 200, 8, 12, 0);
    EXPECT_EQ(pagePanes(listing.get(), 12), std::vector<QRect>{QRect(0, 0, 700, 300)});
    PixPtr prose = page(700, 300, 255);
    drawText(prose.get(), 10, 10, 600, 8, 12, 0);
    EXPECT_EQ(pagePanes(prose.get(), 12).size(), 1u);
}

TEST(ScreenImage, ATallBlockIsReadInSlicesUnlessRulesCrossIt) {
    // Twenty rows at 24 px pitch, at most 260 px a slice: two, cut between rows.
    const QRect block(0, 0, 600, 490);
    PixPtr listing = page(600, 490, 255);
    drawText(listing.get(), 10, 5, 580, 20, 12, 0);
    const std::vector<QRect> slices = regionSlices(listing.get(), block, 260, 12);
    ASSERT_EQ(slices.size(), 2u);
    EXPECT_EQ(slices[0].top(), 0);
    EXPECT_EQ(slices[0].bottom() + 1, slices[1].top());
    EXPECT_EQ(slices[1].bottom(), block.bottom());
    EXPECT_LE(slices[0].height(), 260);
    EXPECT_LE(slices[1].height(), 260);
    EXPECT_GE((slices[1].top() - 5) % 24, 12) << "cut inside a row";
    EXPECT_EQ(regionSlices(listing.get(), block, 500, 12), std::vector<QRect>{block});
    // The smoothed feet of a word's letters, faint and run together, are no
    // rule.
    fill(listing.get(), 20, 100, 90, 1, 200);
    EXPECT_EQ(regionSlices(listing.get(), block, 260, 12), slices);
    fill(listing.get(), 5, 245, 590, 2, 0); // a table's border between two rows
    EXPECT_EQ(regionSlices(listing.get(), block, 260, 12), std::vector<QRect>{block});
}

} // namespace
} // namespace pellix
