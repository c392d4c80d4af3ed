// Letters mended from the ink of the page, on lines of letter-like blocks
// drawn here with the recognizer's words laid over them.
#include "platform/tesseract/CellBars.h"

#include <gtest/gtest.h>

#include <cstring>

namespace pellix {
namespace {

constexpr int Baseline = 40;
constexpr int Small = 16;   // the x-height
constexpr int Capital = 22; // capitals and tall letters

// A line of words, each letter a solid block as tall as `heights` says,
// and the words as the recognizer would give them for `text`.
struct DrawnLine {
    PixPtr page{pixCreate(640, 60, 8)};
    std::vector<RecognizedWord> words;
    QString text;
    int space = 20; // from the end of a word to the start of the next

    DrawnLine() { pixSetAllArbitrary(page.get(), 255); }

    void paint(const QRect& area, l_uint32 value) {
        BOX* box = boxCreate(area.x(), area.y(), area.width(), area.height());
        pixSetInRectArbitrary(page.get(), box, value);
        boxDestroy(&box);
    }

    // With `blank`, a blank cell before that letter that the recognizer
    // did not read as a space.
    void add(const QString& word, const std::vector<int>& heights, qsizetype blank = -1) {
        int x = words.empty() ? 10 : words.back().box.right() + space;
        RecognizedWord read{word, {}, {}, 0, Baseline, Baseline - Capital};
        for (qsizetype i = 0; i < word.size(); ++i, x += 12) {
            x += i == blank ? 12 : 0;
            const QRect glyph(x, Baseline - heights[static_cast<std::size_t>(i)], 8,
                              heights[static_cast<std::size_t>(i)]);
            paint(glyph, 0);
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

TEST(OptionLetter, AThinStrokeOnTheBaselineIsAnEllAndShortDigitsAreLetters) {
    DrawnLine line;
    line.space = 30;
    for (const char* option : {"-|,", "-1", "-|", "-1"}) {
        line.add(QString::fromLatin1(option), std::vector<int>(3, Small));
    }
    // A "5" and a "0" as short as small letters, and as tall as capitals.
    for (const char* option : {"-5", "-0"}) {
        line.add(QString::fromLatin1(option), {Small, Small});
        line.add(QString::fromLatin1(option), {Small, Capital});
    }
    line.add(QStringLiteral("[-0]"), {Capital, Small, Small, Capital});
    // The hyphens and the comma as they are; the second glyphs: a thin
    // stroke on the baseline, twice; one reaching below it (a pipe); one
    // with a flag (a one).
    const auto draw = [&line](std::size_t word, std::size_t k, const QRect& ink) {
        RecognizedSymbol& symbol = line.words[word].symbols[k];
        line.paint(symbol.box, 255);
        line.paint(ink, 0);
    };
    for (std::size_t word = 0; word < 4; ++word) {
        const int x = line.words[word].symbols[1].box.x();
        draw(word, 0, QRect(x - 10, Baseline - Small / 2, 6, 3));
        draw(word, 1, QRect(x + 3, Baseline - Capital, 2, Capital + (word == 2 ? 6 : 0)));
    }
    draw(0, 2, QRect(line.words[0].symbols[2].box.x(), Baseline - 3, 2, 5));
    line.paint(QRect(line.words[3].symbols[1].box.x(), Baseline - Capital, 4, 3), 0);
    EXPECT_EQ(withCellBars(line.text, line.words, line.page.get()).toStdString(),
              "-l, -l -| -1 -s -5 -o -0 [-o]");
}

TEST(DollarSign, AnSWhoseStrokeStandsOutOfTheCapitalAfterItIsADollar) {
    const std::vector<int> capitals(5, Capital);
    DrawnLine line;
    line.space = 60; // ground enough between the words to tell ink from it
    for (int k = 0; k < 4; ++k) {
        line.add(QStringLiteral("SLANG"), capitals);
    }
    // The stroke of a "$" through the first, second and fourth, a pixel out
    // at each end of the first and two at one end of the others; the "L" and
    // "A" of the fourth touch.
    for (const std::size_t word : {0, 1, 3}) {
        const QRect dollar = line.words[word].symbols[0].box;
        line.paint(
            QRect(dollar.x() + 3, dollar.top() - (word == 0 ? 1 : 0), 2, dollar.height() + 2), 0);
    }
    const std::vector<RecognizedSymbol>& joined = line.words[3].symbols;
    line.paint(QRect(joined[1].box.right(), Baseline - 2,
                     joined[2].box.left() - joined[1].box.right() + 1, 2),
               0);
    EXPECT_EQ(withCellBars(line.text, line.words, line.page.get()).toStdString(),
              "$LANG $LANG SLANG $LANG");
}

TEST(Hyphenation, AWordBrokenAtTheEndOfAMonospacedLineTakesTheHyphenOfHyphenation) {
    DrawnLine line;
    line.space = 17; // one blank cell between words
    for (const char* word : {"a", "long", "hyphen-", "ation", "and", "x-", "Next", "line"}) {
        line.add(QString::fromLatin1(word), std::vector<int>(std::strlen(word), Small));
    }
    // Three lines: the recognizer's text breaks after "hyphen-" and "x-".
    const std::vector<int> lineOf = {0, 0, 0, 1, 1, 1, 2, 2};
    for (std::size_t k = 0; k < line.words.size(); ++k) {
        line.words[k].line = lineOf[k];
    }
    const QString text = QStringLiteral("a long hyphen-\nation and x-\nNext line");
    EXPECT_EQ(withCellBars(text, line.words, line.page.get()),
              QStringLiteral(u"a long hyphen\u2010\nation and x-\nNext line"));
    // Letters of a proportional font stay as read.
    for (RecognizedWord& word : line.words) {
        for (std::size_t k = 1; k < word.symbols.size(); k += 2) {
            word.symbols[k].box.translate(-3, 0);
        }
    }
    EXPECT_EQ(withCellBars(text, line.words, line.page.get()), text);
}

TEST(DoubleHyphen, AnOptionsHyphenAsWideAsTwoOfItsLinesHyphensIsTwo) {
    const int s = Small;
    DrawnLine line;
    line.space = 40;
    line.add(QStringLiteral("show-case"), {s, Capital, s, s, s, s, s, s, s});
    line.add(QStringLiteral("-ignore"), {s, s, s, s, s, s, s});
    line.add(QStringLiteral("-quiet"), {s, s, s, s, s, s});
    // Beside letters of other alphabets the recognizer reads hyphens as a
    // "~"; a real tilde's wave is taller.
    line.add(QStringLiteral("~width"), {s, s, s, s, s, s});
    line.add(QStringLiteral("~home"), {s, s, s, s, s});
    // Each "-" a bar at half the small letters' height; the first option's
    // two hyphens run together into one bar twice as wide.
    const auto hyphen = [&line](std::size_t word, std::size_t k, int wider, int tall = 3) {
        RecognizedSymbol& symbol = line.words[word].symbols[k];
        line.paint(symbol.box, 255);
        symbol.box = QRect(symbol.box.x() - wider, Baseline - s / 2, 8 + wider, tall);
        line.paint(symbol.box, 0);
        line.words[word].box |= symbol.box;
    };
    hyphen(0, 4, 0);
    hyphen(1, 0, 9);
    hyphen(2, 0, 0);
    hyphen(3, 0, 9);
    hyphen(4, 0, 0, 6);
    EXPECT_EQ(withCellBars(line.text, line.words, line.page.get()).toStdString(),
              "show-case --ignore -quiet --width ~home");
}

TEST(DottedZero, AnEightWithADotOrStraightSidesOrASixClosedAtTheTopIsAZero) {
    DrawnLine line;
    line.space = 17; // one cell, so that all stand on one grid of cells
    const std::vector<int> tall(10, Capital);
    for (int i = 0; i < 3; ++i) {
        line.add(QStringLiteral("abcdefghij"), tall);
    }
    for (const char16_t* read : {u"8", u"8", u"6", u"6", u"\u00ae", u"o"}) {
        line.add(QString::fromUtf16(read), {Capital});
    }
    line.add(QStringLiteral("66"), {Capital, Capital});
    for (const RecognizedWord& word : line.words) {
        for (const RecognizedSymbol& symbol : word.symbols) {
            line.paint(symbol.box.adjusted(2, 2, -2, -2), 255); // rings
        }
    }
    const auto glyph = [&line](std::size_t word) {
        return line.words[word].symbols[0].box;
    };
    const int middle = Baseline - Capital / 2 - 1;
    line.paint(QRect(glyph(3).left() + 3, middle, 2, 2), 0);   // a dot of its own
    line.paint(QRect(glyph(4).left() + 2, middle, 4, 2), 0);   // strokes crossing
    line.paint(QRect(glyph(4).left(), middle - 1, 8, 4), 255); // at a waist
    line.paint(QRect(glyph(4).left() + 2, middle - 1, 4, 4), 0);
    line.paint(QRect(glyph(6).right() - 1, glyph(6).top() + 2, 2, 9), 255); // open
    line.paint(QRect(glyph(6).left() + 2, middle, 4, 2), 0);
    line.paint(QRect(glyph(7).left() + 3, middle, 2, 2), 0); // read as a "®"
    line.paint(QRect(glyph(8).left() + 3, middle, 2, 2), 0); // and as an "o"
    // Cells whose smoothed edges touch: a zero beside a six.
    const QRect six = line.words[9].symbols[1].box;
    line.paint(QRect(six.right() - 1, six.top() + 2, 2, 9), 255);
    line.paint(QRect(six.left() + 2, middle, 4, 2), 0);
    line.paint(QRect(six.left() - 4, middle, 4, 1), 200);
    EXPECT_EQ(withCellBars(line.text, line.words, line.page.get()).toStdString(),
              "abcdefghij abcdefghij abcdefghij 0 8 0 6 0 0 06");

    // A word whose glyphs cannot all be matched, as "b" and "l" touch: the
    // ring among figures is a zero, the one after a letter stays.
    DrawnLine figures;
    figures.space = 17;
    for (int i = 0; i < 3; ++i) {
        figures.add(QStringLiteral("abcdefghij"), tall);
    }
    figures.add(QStringLiteral("1.6+d6bl"), std::vector<int>(8, Capital));
    figures.add(QStringLiteral("2.8"), std::vector<int>(3, Capital));
    for (const RecognizedWord& word : figures.words) {
        for (const RecognizedSymbol& symbol : word.symbols) {
            figures.paint(symbol.box.adjusted(2, 2, -2, -2), 255);
        }
    }
    const std::vector<RecognizedSymbol>& joined = figures.words[3].symbols;
    figures.paint(
        QRect(joined[6].box.right(), middle, joined[7].box.left() - joined[6].box.right() + 1, 2),
        0);
    // A ring with a bar across and no waist, read as an "8", is a zero.
    const QRect eight = figures.words[4].symbols[2].box;
    figures.paint(QRect(eight.left() + 2, middle, 4, 2), 0);
    EXPECT_EQ(withCellBars(figures.text, figures.words, figures.page.get()).toStdString(),
              "abcdefghij abcdefghij abcdefghij 1.0+d6bl 2.0");
}

TEST(Underscore, ANarrowLetterBeforeADroppedUnderscoreStaysBeforeIt) {
    DrawnLine line;
    line.add(QStringLiteral("name"), std::vector<int>(4, Small));
    line.add(QStringLiteral("fiSE"), {Capital, Capital, Capital, Capital}, 2);
    // In a proportional font: a narrow "i", then an underscore the
    // recognizer dropped, whose start the box of the "i" stretches over.
    RecognizedWord& word = line.words[1];
    const int left = word.symbols[1].box.left();
    line.paint(word.symbols[1].box, 255);
    line.paint(QRect(left + 1, Baseline - Capital, 3, Capital), 0);
    line.paint(QRect(left + 6, Baseline + 3, 12, 2), 0);
    word.symbols[1].box = QRect(left + 1, Baseline - Capital, 8, Capital);
    EXPECT_EQ(withCellBars(line.text, line.words, line.page.get()).toStdString(), "name fi_SE");
}

TEST(Underscore, AMarkReadWhollyBelowTheBaselineIsTheBars) {
    DrawnLine line;
    line.add(QStringLiteral("name"), std::vector<int>(4, Small));
    line.add(QStringLiteral("-"), {Small});
    // "__builtin" read as "— builtin": the two underscores' bar as a dash.
    RecognizedWord& dash = line.words[1];
    line.paint(dash.box, 255);
    const QRect bar(dash.box.left(), Baseline + 3, 22, 2);
    line.paint(bar, 0);
    dash.text = QStringLiteral(u"\u2014");
    dash.symbols[0] = {dash.text, bar};
    dash.box = bar;
    line.space = 3;
    line.add(QStringLiteral("builtin"),
             {Capital, Small, Capital, Capital, Capital, Capital, Small});
    EXPECT_EQ(withCellBars(QStringLiteral(u"name \u2014 builtin"), line.words, line.page.get())
                  .toStdString(),
              "name __builtin");
}

TEST(BlankCell, GlyphsOfAMonospacedWordTwoCellsApartAreTwoWords) {
    DrawnLine line;
    line.space = 17;
    line.add(QStringLiteral("abcdefghij"), std::vector<int>(10, Small));
    line.add(QStringLiteral("abcdefghij"), std::vector<int>(10, Small));
    line.add(QStringLiteral("0S"), {Capital, Capital}, 1);
    line.add(QStringLiteral("abcdefghij"), std::vector<int>(10, Small));
    for (const RecognizedWord& word : line.words) {
        for (const RecognizedSymbol& symbol : word.symbols) {
            line.paint(symbol.box.adjusted(2, 2, -2, -2), 255);
        }
    }
    EXPECT_EQ(withCellBars(line.text, line.words, line.page.get()).toStdString(),
              "abcdefghij abcdefghij 0 S abcdefghij");
}

} // namespace
} // namespace pellix
