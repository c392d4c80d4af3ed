// Letters mended from the ink of the page, on lines of letter-like blocks
// drawn here with the recognizer's words laid over them.
#include "platform/tesseract/CellBars.h"

#include <gtest/gtest.h>

namespace pellix {
namespace {

constexpr int Baseline = 40;
constexpr int Small = 16;   // the x-height
constexpr int Capital = 22; // capitals and tall letters

// A line of words, each letter a solid block as tall as `heights` says,
// and the words as the recognizer would give them for `text`.
struct DrawnLine {
    PixPtr page{pixCreate(480, 60, 8)};
    std::vector<RecognizedWord> words;
    QString text;

    DrawnLine() { pixSetAllArbitrary(page.get(), 255); }

    void add(const QString& word, const std::vector<int>& heights) {
        int x = words.empty() ? 10 : words.back().box.right() + 20;
        RecognizedWord read{word, {}, {}, 0, Baseline, Baseline - Capital};
        for (qsizetype i = 0; i < word.size(); ++i, x += 12) {
            const QRect glyph(x, Baseline - heights[static_cast<std::size_t>(i)], 8,
                              heights[static_cast<std::size_t>(i)]);
            BOX* box = boxCreate(glyph.x(), glyph.y(), glyph.width(), glyph.height());
            pixSetInRectArbitrary(page.get(), box, 0);
            boxDestroy(&box);
            read.symbols.push_back({word.mid(i, 1), glyph});
            read.box |= glyph;
        }
        text += (text.isEmpty() ? QString() : QStringLiteral(" ")) + word;
        words.push_back(read);
    }
};

TEST(LetterCase, ALetterWhoseShapeLeavesItsCaseOpenTakesTheCaseOfItsHeight) {
    const int s = Small, c = Capital;
    DrawnLine line;
    line.add(QStringLiteral("Man"), {s, s, s}); // a small "m" read as a capital
    line.add(QStringLiteral("ran"), {s, s, s});
    line.add(QStringLiteral("far"), {c, s, s});
    line.add(QStringLiteral("Cat"), {c, s, c});         // a capital stays one
    line.add(QStringLiteral("NewOs"), {c, s, s, c, c}); // a capital "S" read small
    // Latin capitals standing for Cyrillic small letters drawn alike are
    // written over in that alphabet later; a word in mixed case stays.
    line.add(QStringLiteral("uMeHa"), {s, s, s, s, s});
    EXPECT_EQ(withCellBars(line.text, line.words, line.page.get()).toStdString(),
              "man ran far Cat NewOS uMeHa");

    // Letter boxes a letter off their glyphs tell nothing.
    for (std::size_t k = 0; k + 1 < line.words[0].symbols.size(); ++k) {
        line.words[0].symbols[k].box = line.words[0].symbols[k + 1].box;
    }
    EXPECT_EQ(withCellBars(line.text, line.words, line.page.get()).left(7).toStdString(),
              "Man ran");
}

} // namespace
} // namespace pellix
