#include "platform/tesseract/CellBars.h"

#include "platform/tesseract/ScreenImage.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

namespace pellix {

namespace {

// A bar shorter than this share of a character cell is a stroke's foot.
constexpr double LeastBar = 0.6;
// A gap this share of a cell or wider between a bar and a letter is a space.
constexpr double SpaceCell = 0.5;
// Ink is what stands a fifth of the line's contrast off its ground: a bar
// one pixel thick is drawn faint.
constexpr int FaintInk = 5;
// Lines with less contrast than this are left as read.
constexpr int LeastContrast = 48;
// The dots of "…" span less than a cell; periods of their own, a cell and
// a dot.
constexpr double EllipsisSpan = 1.0;
// The ink of an "L" in a monospaced font spans at most this share of a cell,
// and its stem stands this share of the span from its left at most; the
// stem of an "l" stands in the middle.
constexpr double EllWidth = 1.2;
constexpr double EllStem = 0.25;
// The gap after a hyphen, as a share of the step to the next one.
constexpr double HyphenGap = 0.25;
// A letter whose shape leaves its case open is small below this share of
// the line's x-height, and a capital between the next two. Capitals stand
// a third to a half taller than the x-height; taller ink is joined to
// something else.
constexpr double SmallBelow = 1.12;
constexpr double CapitalAbove = 1.22;
constexpr double CapitalBelow = 1.6;
// The dot of a dotted zero spans at most a quarter of its glyph's width
// and a sixth of its height, a sixth of each from its middle at most.
constexpr int DotSize = 4;
constexpr int DotSizeHigh = 6;
constexpr int DotReach = 6;
// A "0" has ink at its right on this share of the rows between a fifth and
// nine twentieths of its height; a "6" on a third of them at most.
constexpr double WallShare = 0.6;
// Pixels, per this many of a glyph's width, that the sides of a zero may
// stand in from its edges through its middle third.
constexpr int StraightSlack = 12;
// Glyphs of a monospaced word whose middles stand this many cells apart
// or more have a blank cell between them.
constexpr double BlankCell = 1.5;
// The stroke through a "$" stands out of the capital after it by this many
// pixels, above and below together; an "S" spans the same rows as a capital
// with flat ends (of the enlarged page, where capitals are 25 to 30 high).
constexpr int DollarStroke = 2;
// A glyph read as the "-" of an option is the "--" of a long one when it is
// this many times as wide as the single hyphens of its line: in a
// proportional font at screen sizes the two hyphens run together.
constexpr double DoubleHyphen = 1.6;
// A "~" no taller than this part of a capital is a hyphen.
constexpr int FlatTilde = 5;
// An "l": a stroke at most a sixth of a capital wide and at least 1/1.4 of
// one tall, its foot within a few pixels of the baseline.
constexpr int ThinStroke = 6;
constexpr double FullStroke = 1.4;
constexpr int OnBaseline = 3;
// Small letters stand up to this part of a capital's height.
constexpr double SmallLetter = 0.8;
// Shares of the letters of a monospaced region on their line's grid of
// cells, and of the steps between letters within a third of a cell of it;
// proportional text stays under one or the other.
constexpr double FixedPitchShare = 0.85;
constexpr double FixedPitchSteadyShare = 0.8;
// Fewer steps than this tell nothing.
constexpr std::size_t FixedPitchSteps = 20;

struct Span {
    int start = 0;
    int end = -1;                  // inclusive
    QChar mark = QLatin1Char('_'); // of a bar: the character of each of its cells
    double cell = 0;               // of a bar of "=": the width of its cells
    int length() const { return end - start + 1; }
};

class Page {
public:
    explicit Page(PIX* gray)
        : m_gray(gray), m_data(pixGetData(gray)), m_wpl(pixGetWpl(gray)),
          m_width(static_cast<int>(pixGetWidth(gray))),
          m_height(static_cast<int>(pixGetHeight(gray))) {}

    int width() const { return m_width; }
    int height() const { return m_height; }

    // White off the page. Read straight from the rows: the glyph searches
    // read every pixel of the text.
    int grey(int x, int y) const {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
            return 255;
        }
        return static_cast<int>(GET_DATA_BYTE(m_data + static_cast<std::ptrdiff_t>(y) * m_wpl, x));
    }

    bool inked(int x, int y) const { return grey(x, y) <= m_ink; }
    // Ink at half the contrast: the strokes of a glyph without their
    // smoothed edges, which may join strokes that stand close.
    bool solid(int x, int y) const { return grey(x, y) <= m_solid; }

    // Whether any of columns [left, right] holds ink (or solid ink) on rows
    // [top, bottom].
    bool anyInk(int left, int right, int top, int bottom, bool solidOnly = false) const {
        for (int y = std::max(0, top); y <= std::min(bottom, height() - 1); ++y) {
            for (int x = std::max(0, left); x <= std::min(right, width() - 1); ++x) {
                if (solidOnly ? solid(x, y) : inked(x, y)) {
                    return true;
                }
            }
        }
        return false;
    }

    // Takes ink to be what stands off the ground within `box` by a share of
    // its contrast; false when there is too little contrast to tell.
    bool setInk(const QRect& box) {
        const QRect clip = box & QRect(0, 0, width(), height());
        if (clip.isEmpty()) {
            return false;
        }
        const PixPtr part = clipped(m_gray, clip);
        l_uint32 ground = 0, darkest = 0;
        if (!part || pixGetRankValue(part.get(), 1, 0.5f, &ground) != 0 ||
            pixGetRankValue(part.get(), 1, 0.0f, &darkest) != 0) {
            return false;
        }
        const int contrast = static_cast<int>(ground) - static_cast<int>(darkest);
        m_ink = static_cast<int>(ground) - contrast / FaintInk;
        m_solid = static_cast<int>(ground) - contrast / 2;
        return contrast >= LeastContrast;
    }

private:
    PIX* m_gray;
    const l_uint32* m_data;
    l_int32 m_wpl;
    int m_width;
    int m_height;
    int m_ink = 0;
    int m_solid = 0;
};

// How far apart the letters of words [first, last) begin, added to `steps`.
// With `lettersOnly`, only the steps between letters and figures: the boxes
// of marks read amiss are the least steady.
void letterSteps(const std::vector<RecognizedWord>& words, std::size_t first, std::size_t last,
                 std::vector<int>& steps, bool lettersOnly = false) {
    const auto steady = [lettersOnly](const RecognizedSymbol& symbol) {
        return !lettersOnly || (!symbol.text.isEmpty() && symbol.text[0].isLetterOrNumber());
    };
    for (std::size_t i = first; i < last; ++i) {
        const auto& symbols = words[i].symbols;
        for (std::size_t k = 1; k < symbols.size(); ++k) {
            if (steady(symbols[k - 1]) && steady(symbols[k])) {
                steps.push_back(symbols[k].box.left() - symbols[k - 1].box.left());
            }
        }
    }
}

// The median of some values, at least one; they are reordered.
int median(std::vector<int>& values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The cell width those steps give: their median; 0 for too few.
double medianStep(std::vector<int>& steps) {
    return steps.size() < 3 ? 0 : median(steps);
}

// The cell width of a line: how far apart the letters of its words begin.
// Their boxes stretch over what the recognizer did not read, their starts
// hardly.
double linePitch(const std::vector<RecognizedWord>& words, std::size_t first, std::size_t last) {
    std::vector<int> steps;
    letterSteps(words, first, last, steps);
    return medianStep(steps);
}

// How many of the letters of words [first, last), all on one line, stand on
// a grid of cells of about `pitch`: counted in cells from one letter to the
// next, a least-squares line through them gives the grid, which a box the
// recognizer placed amiss leaves as it is. Added to `onGrid` and `letters`.
void lettersOnGrid(const std::vector<RecognizedWord>& words, std::size_t first, std::size_t last,
                   double pitch, std::size_t& onGrid, std::size_t& letters) {
    std::vector<double> lefts;
    for (std::size_t i = first; i < last; ++i) {
        for (const RecognizedSymbol& symbol : words[i].symbols) {
            if (!symbol.text.isEmpty() && symbol.text[0].isLetterOrNumber()) {
                lefts.push_back(symbol.box.left());
            }
        }
    }
    if (lefts.size() < 4) {
        return;
    }
    std::vector<double> cells{0};
    for (std::size_t i = 1; i < lefts.size(); ++i) {
        cells.push_back(cells.back() + std::round((lefts[i] - lefts[i - 1]) / pitch));
    }
    const double n = double(lefts.size());
    double sk = 0, sx = 0, skk = 0, skx = 0;
    for (std::size_t i = 0; i < lefts.size(); ++i) {
        sk += cells[i];
        sx += lefts[i];
        skk += cells[i] * cells[i];
        skx += cells[i] * lefts[i];
    }
    const double det = n * skk - sk * sk;
    if (det <= 0) {
        return;
    }
    const double cell = (n * skx - sk * sx) / det;
    const double origin = (sx - cell * sk) / n;
    for (std::size_t i = 0; i < lefts.size(); ++i) {
        onGrid += std::abs(lefts[i] - origin - cell * cells[i]) <= cell / 4 ? 1 : 0;
    }
    letters += lefts.size();
}

// Whether the letters of words stand in cells of width `pitch`, as in a
// monospaced font: nearly all stand on their line's grid of cells, and most
// begin about a cell after the one before. Proportional text keeps to a
// grid only in short lines, and its letters step unevenly.
bool fixedPitch(const std::vector<RecognizedWord>& words, double pitch) {
    std::size_t onGrid = 0, letters = 0;
    for (std::size_t first = 0; first < words.size();) {
        std::size_t last = first + 1;
        while (last < words.size() && words[last].line == words[first].line) {
            ++last;
        }
        lettersOnGrid(words, first, last, pitch, onGrid, letters);
        first = last;
    }
    std::vector<int> steps;
    letterSteps(words, 0, words.size(), steps, true);
    const auto inCell = std::count_if(steps.begin(), steps.end(), [pitch](int step) {
        return std::abs(step - pitch) <= pitch / 3;
    });
    return steps.size() >= FixedPitchSteps && double(onGrid) >= FixedPitchShare * double(letters) &&
           double(inCell) >= FixedPitchSteadyShare * double(steps.size());
}

// The bars on rows below a line's baseline with no letter above their middle.
std::vector<Span> underscoreBars(const Page& page, const QRect& line, int baseline, int lineTop,
                                 double pitch) {
    const int glyph = std::max(1, baseline - lineTop);
    // Below the feet of the letters, above the tails of the deepest ones.
    const int top = baseline + std::max(2, glyph / 10);
    const int bottom = std::min(baseline + glyph * 2 / 5, page.height() - 1);
    const int left = std::max(0, line.left());
    const int right = std::min(line.right(), page.width() - 1);
    std::vector<Span> runs;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (!page.inked(x, y)) {
                continue;
            }
            Span run{x, x};
            while (run.end < right && page.inked(run.end + 1, y)) {
                ++run.end;
            }
            if (run.length() >= LeastBar * pitch) {
                runs.push_back(run);
            }
            x = run.end;
        }
    }
    // A bar is a few rows thick, and the underscores of one may stand a
    // little apart.
    std::sort(runs.begin(), runs.end(),
              [](const Span& a, const Span& b) { return a.start < b.start; });
    std::vector<Span> bars;
    for (const Span& run : runs) {
        if (!bars.empty() && run.start <= bars.back().end + pitch / 2) {
            bars.back().end = std::max(bars.back().end, run.end);
        } else {
            bars.push_back(run);
        }
    }
    // Ends that have ink above them belong to the glyphs beside: the foot of
    // a parenthesis, the tail of a "g".
    for (Span& bar : bars) {
        while (bar.length() > 0 && page.anyInk(bar.start, bar.start, lineTop, top - 1)) {
            ++bar.start;
        }
        while (bar.length() > 0 && page.anyInk(bar.end, bar.end, lineTop, top - 1)) {
            --bar.end;
        }
    }
    std::erase_if(bars, [&](const Span& bar) {
        const int margin = bar.length() / 5;
        return bar.length() < LeastBar * pitch ||
               page.anyInk(bar.start + margin, bar.end - margin, lineTop, baseline - 2);
    });
    return bars;
}

// The rows of "=" of a listing's header (`dpkg -l`): two thin rules, one
// above the other and clear of the baseline, running through a few cells or
// more with nothing else in them. The recognizer reads them as letters.
std::vector<Span> equalsBars(const Page& page, const QRect& line, int baseline) {
    const int top = std::max(0, line.top() - 2);
    const int bottom = std::min(page.height() - 1, line.bottom() + 2);
    const int height = line.height();
    const int thin = std::max(2, height / 4);
    constexpr int Blank = -1, Other = -2, Single = -3;
    // Where a column's two strokes begin when it holds just two thin ones
    // above the baseline; else Blank, Single (and where its one stroke
    // begins) or Other.
    const auto strokes = [&](int x) -> std::pair<int, int> {
        std::vector<std::pair<int, int>> found; // first row and height
        for (int y = top; y <= bottom; ++y) {
            if (!page.solid(x, y)) {
                continue;
            }
            const int from = y;
            while (y < bottom && page.solid(x, y + 1)) {
                ++y;
            }
            found.emplace_back(from, y - from + 1);
            if (found.size() > 2 || found.back().second > thin || y >= baseline - 1) {
                return {Other, Other};
            }
        }
        if (found.empty()) {
            return {Blank, Blank};
        }
        if (found.size() == 1) {
            return {Single, found[0].first};
        }
        if (found[1].first - found[0].first > height / 2) {
            return {Other, Other};
        }
        return {found[0].first, found[1].first};
    };
    std::vector<Span> bars;
    std::pair<int, int> last{Other, Other};
    const int left = std::max(0, line.left());
    const int right = std::min(page.width() - 1, line.right());
    for (int x = left; x <= right; ++x) {
        const auto here = strokes(x);
        // The cells of one row of "=" may stand a little apart, and where
        // they meet one stroke may end before the other.
        const auto onStroke = [&](int row) {
            return last.first >= 0 &&
                   (std::abs(row - last.first) <= 1 || std::abs(row - last.second) <= 1);
        };
        if (here.first == Blank || (here.first == Single && onStroke(here.second))) {
            continue;
        }
        if (here.first < 0) {
            last = {Other, Other};
            continue;
        }
        const bool level = last.first >= 0 && std::abs(here.first - last.first) <= 1 &&
                           std::abs(here.second - last.second) <= 1;
        if (level && !bars.empty() && x - bars.back().end <= height / 3) {
            bars.back().end = x;
        } else {
            bars.push_back({x, x, QLatin1Char('=')});
        }
        last = here;
    }
    std::erase_if(bars, [&](const Span& bar) { return bar.length() < 3 * height / 2; });
    return bars;
}

// The ink of each column of `span` over the rows of `line`, less its mean:
// how it varies along the span.
std::vector<double> inkAlong(const Page& page, const Span& span, const QRect& line) {
    std::vector<double> profile;
    for (int x = span.start; x <= span.end; ++x) {
        int ink = 0;
        for (int y = std::max(0, line.top()); y <= std::min(page.height() - 1, line.bottom());
             ++y) {
            ink += 255 - page.grey(x, y);
        }
        profile.push_back(ink);
    }
    const double mean = std::accumulate(profile.begin(), profile.end(), 0.0) /
                        static_cast<double>(std::max<std::size_t>(1, profile.size()));
    for (double& value : profile) {
        value -= mean;
    }
    return profile;
}

// Where between whole pixels the peak of three samples lies, `here` the
// highest: the top of a parabola through them, as an offset from `here`.
double peakOffset(double before, double here, double after) {
    const double bend = before - 2 * here + after;
    return bend < 0 ? 0.5 * (before - after) / bend : 0.0;
}

// The width of the cells of a bar of "=" from the bar itself: each cell's
// strokes end a little short of the next, so the ink along the bar repeats
// with the cell; 0 when it shows no clear period.
double barCell(const Page& page, const Span& bar, const QRect& line) {
    const std::vector<double> profile = inkAlong(page, bar, line);
    double energy = 0;
    for (const double value : profile) {
        energy += value * value;
    }
    const int shortest = std::max(4, line.height() / 4);
    const int longest = std::min<int>(line.height() * 3 / 2, static_cast<int>(profile.size()) / 3);
    if (energy <= 0 || longest <= shortest + 1) {
        return 0;
    }
    std::vector<double> match(static_cast<std::size_t>(longest) + 2, 0.0);
    for (int period = shortest - 1; period <= longest + 1; ++period) {
        double sum = 0;
        for (std::size_t x = 0; x + static_cast<std::size_t>(period) < profile.size(); ++x) {
            sum += profile[x] * profile[x + static_cast<std::size_t>(period)];
        }
        match[static_cast<std::size_t>(period)] = sum / energy;
    }
    // The shortest period that repeats nearly as well as the best one: its
    // multiples repeat too.
    double best = 0;
    for (int period = shortest; period <= longest; ++period) {
        best = std::max(best, match[static_cast<std::size_t>(period)]);
    }
    if (best < 0.3) {
        return 0;
    }
    for (int period = shortest; period <= longest; ++period) {
        const double here = match[static_cast<std::size_t>(period)];
        const double before = match[static_cast<std::size_t>(period) - 1];
        const double after = match[static_cast<std::size_t>(period) + 1];
        if (here >= 0.8 * best && here >= before && here >= after) {
            return period + peakOffset(before, here, after);
        }
    }
    return 0;
}

// The cell width of the lines of a region other than [first, last).
double otherLinesPitch(const std::vector<RecognizedWord>& words, std::size_t first,
                       std::size_t last) {
    std::vector<int> steps;
    letterSteps(words, 0, first, steps);
    letterSteps(words, last, words.size(), steps);
    return medianStep(steps);
}

// A word's symbols written out; the word's text, unless the recognizer
// wrote it otherwise than its symbols spell.
QString spelledOut(const RecognizedWord& word) {
    QString letters;
    for (const RecognizedSymbol& symbol : word.symbols) {
        letters += symbol.text;
    }
    return letters;
}

// Whether a line is written in the alphabets whose letters stand on a
// baseline with short tails below, left to right, letter for letter as
// recognized: the feet of Chinese glyphs or the strokes of Arabic below the
// line are no bars.
bool alphabetic(const std::vector<RecognizedWord>& words, std::size_t first, std::size_t last) {
    for (std::size_t i = first; i < last; ++i) {
        const QString letters = spelledOut(words[i]);
        if (letters != words[i].text) {
            return false;
        }
        for (const QChar c : letters) {
            switch (c.script()) {
            case QChar::Script_Common:
            case QChar::Script_Inherited:
            case QChar::Script_Latin:
            case QChar::Script_Greek:
            case QChar::Script_Cyrillic:
                break;
            default:
                return false;
            }
        }
    }
    return true;
}

// The middle of the ink above the baseline in a symbol's columns, or of its
// box when it has none there.
double inkMiddle(const Page& page, const QRect& box, int top, int baseline) {
    long long sum = 0;
    long long count = 0;
    const int left = std::max(0, box.left());
    const int right = std::min(box.right(), page.width() - 1);
    for (int x = left; x <= right; ++x) {
        for (int y = std::max(0, top); y < std::min(baseline, page.height()); ++y) {
            if (page.inked(x, y)) {
                sum += x;
                ++count;
            }
        }
    }
    return count > 0 ? double(sum) / double(count) : (box.left() + box.right()) / 2.0;
}

// The words of one line written again with its bars among them, the words
// spaced as the recognizer spaced them. The recognizer's letter boxes stretch
// over a bar it did not read, so a bar comes before the first letter that
// begins less than half a cell before it, and whose ink lies mostly to its
// right: a narrow "i" of a proportional font before a bar begins that near
// it too.
QString lineWithBars(const Page& page, const std::vector<RecognizedWord>& words,
                     const std::vector<QString>& separators, std::size_t first, std::size_t last,
                     const std::vector<Span>& bars, double pitch) {
    const RecognizedWord& line = words[first];
    const int glyph = std::max(1, line.baseline - line.lineTop);
    // A cell beside a bar with no ink in it is a space.
    const int cell = static_cast<int>(std::lround(pitch * (1 - SpaceCell / 2)));
    const auto blank = [&](int left, int right) {
        return !page.anyInk(left, right, line.lineTop, line.baseline + glyph * 2 / 5);
    };
    // A "_" read within a bar of underscores is the bar's, and so is a mark
    // read wholly below the baseline ("__builtin" read as "— builtin");
    // whatever was read within a bar of "=" is the bar misread.
    const auto withinBar = [&](const RecognizedSymbol& symbol, int baseline) {
        const QRect& box = symbol.box;
        const bool underscore =
            symbol.text == QLatin1String("_") ||
            (!symbol.text.isEmpty() && !symbol.text[0].isLetterOrNumber() && box.top() >= baseline);
        return std::any_of(bars.begin(), bars.end(), [&](const Span& bar) {
            if (bar.mark == QLatin1Char('_')) {
                return underscore && box.left() <= bar.end + pitch / 2 &&
                       box.right() >= bar.start - pitch / 2;
            }
            return box.center().x() >= bar.start && box.center().x() <= bar.end;
        });
    };
    QString text;
    std::size_t nextBar = 0;
    const Span* lastBar = nullptr; // the piece just written, when it is a bar
    bool wroteLetter = false;
    const auto writeBar = [&](const Span& bar) {
        if ((wroteLetter || lastBar) && blank(bar.start - cell, bar.start - 1)) {
            text += QLatin1Char(' ');
        }
        const double width = bar.cell > 0 ? bar.cell : pitch;
        // An underscore fills its cell; the strokes of "=" may end a little
        // short of theirs, and the last may be cut at the edge of the block.
        const double cells = bar.length() / width + (bar.mark == QLatin1Char('=') ? 0.3 : 0.0);
        text += QString(std::max(1, static_cast<int>(std::lround(cells))), bar.mark);
        lastBar = &bar;
    };
    for (std::size_t i = first; i < last; ++i) {
        bool wordStart = true;
        for (const RecognizedSymbol& symbol : words[i].symbols) {
            if (withinBar(symbol, words[i].baseline)) {
                continue;
            }
            while (nextBar < bars.size() && bars[nextBar].start - pitch / 2 < symbol.box.left() &&
                   bars[nextBar].start <=
                       inkMiddle(page, symbol.box, line.lineTop, line.baseline)) {
                writeBar(bars[nextBar++]);
            }
            if (lastBar) {
                if (blank(lastBar->end + 1, lastBar->end + cell)) {
                    text += QLatin1Char(' ');
                }
            } else if (wordStart && wroteLetter && !separators[i].isEmpty()) {
                text += QLatin1Char(' ');
            }
            text += symbol.text;
            lastBar = nullptr;
            wroteLetter = true;
            wordStart = false;
        }
    }
    while (nextBar < bars.size()) {
        writeBar(bars[nextBar++]);
    }
    return text;
}

// Whether the ink between columns `left` and `right` is low dots spanning
// less than a cell: "…" in a monospaced font, where periods of their own
// stand a cell apart.
bool ellipsisInk(const Page& page, int left, int right, int top, int baseline, double pitch) {
    const int dotTop = baseline - static_cast<int>(pitch / 2);
    if (page.anyInk(left, right, top, dotTop)) {
        return false;
    }
    int first = right + 1;
    int last = left - 1;
    for (int x = left; x <= right; ++x) {
        if (page.anyInk(x, x, dotTop, baseline, true)) {
            first = std::min(first, x);
            last = x;
        }
    }
    return last >= first && last - first + 1 < EllipsisSpan * pitch;
}

// A word with each run of periods that is one "…" written so; the recognizer
// reads it as ".." or "...".
QString withEllipses(const Page& page, const RecognizedWord& word, double pitch) {
    if (pitch < 2 || spelledOut(word) != word.text || !word.text.contains(QStringLiteral(".."))) {
        return word.text;
    }
    QString result;
    const auto& symbols = word.symbols;
    for (std::size_t i = 0; i < symbols.size();) {
        if (symbols[i].text != QStringLiteral(".")) {
            result += symbols[i++].text;
            continue;
        }
        std::size_t end = i;
        while (end < symbols.size() && symbols[end].text == QStringLiteral(".")) {
            ++end;
        }
        // The recognizer's boxes of the dots are unsteady; where the next
        // glyph begins is not.
        const int right = end < symbols.size() ? symbols[end].box.left() - 2 : word.box.right();
        if (end - i >= 2 &&
            ellipsisInk(page, symbols[i].box.left(), right, word.lineTop, word.baseline, pitch)) {
            result += QChar(u'\u2026');
        } else {
            result += QString(static_cast<qsizetype>(end - i), QLatin1Char('.'));
        }
        i = end;
    }
    return result;
}

// Whether a word is a run of dashes as the recognizer reads a row of
// hyphens: three or more of "-", "‐", "–", "—" and "_", not all "_".
bool dashRun(const RecognizedWord& word) {
    static const QString dashes = QStringLiteral(u"-\u2010\u2013\u2014_");
    return word.text.size() >= 3 && word.text.count(QLatin1Char('_')) < word.text.size() &&
           std::all_of(word.text.begin(), word.text.end(),
                       [](QChar c) { return dashes.contains(c); });
}

// `period` of the ink along `span` measured again over ever more steps: one
// step is measured to a part of a pixel, and the glyphs of a proportional
// font stand on whole pixels, so one step may be a little longer or shorter
// than the next; many steps on, the row matches itself where their mean says.
double refinedPeriod(const Page& page, const Span& span, const QRect& line, double period) {
    const std::vector<double> ink = inkAlong(page, span, line);
    const auto match = [&](int lag) {
        double sum = 0;
        for (std::size_t x = 0; x + static_cast<std::size_t>(lag) < ink.size(); ++x) {
            sum += ink[x] * ink[x + static_cast<std::size_t>(lag)];
        }
        return sum / double(ink.size() - static_cast<std::size_t>(lag));
    };
    for (int steps = 2; steps * period * 2 <= double(ink.size()); steps *= 2) {
        const int from = static_cast<int>(std::ceil((steps - 0.3) * period));
        const int to = static_cast<int>((steps + 0.3) * period);
        int best = from;
        for (int lag = from + 1; lag <= to; ++lag) {
            if (match(lag) > match(best)) {
                best = lag;
            }
        }
        period = (best + peakOffset(match(best - 1), match(best), match(best + 1))) / steps;
    }
    return period;
}

// A row of hyphens written with as many as are drawn. In a proportional
// font the recognizer reads a long row as a mix of "-", "—" and "_" of
// the wrong length; the small gaps between the hyphens repeat with their
// width, which tells how many there are. A row whose hyphens run together
// stays as read.
QString withHyphenCount(const Page& page, const RecognizedWord& word) {
    const QRect line(word.box.left(), word.lineTop, word.box.width(),
                     std::max(1, word.baseline - word.lineTop + 1));
    Span run{word.box.right() + 1, word.box.left() - 1, QLatin1Char('-')};
    for (int x = word.box.left(); x <= word.box.right(); ++x) {
        if (page.anyInk(x, x, line.top(), line.bottom(), true)) {
            run.start = std::min(run.start, x);
            run.end = x;
        }
    }
    double period = run.length() > 0 ? barCell(page, run, line) : 0;
    if (period < 2) {
        return word.text;
    }
    period = refinedPeriod(page, run, line, period);
    // Each hyphen is a little shorter than the step to the next.
    const auto count = std::lround(run.length() / period + HyphenGap);
    return count >= 3 ? QString(static_cast<qsizetype>(count), QLatin1Char('-')) : word.text;
}

// The ink joined to `seed` within `window`, each pixel marked in `seen`
// (row by row over the window): solid ink, which keeps a glyph apart from
// neighbours its smoothed edges touch, or with `faint` all its ink, thin
// strokes and smoothed edges and all.
std::vector<QPoint> joinedInk(const Page& page, const QPoint& seed, const QRect& window, bool faint,
                              std::vector<bool>& seen) {
    const auto index = [&](const QPoint& p) {
        return static_cast<std::size_t>((p.y() - window.top()) * window.width() + p.x() -
                                        window.left());
    };
    std::vector<QPoint> glyph{seed};
    seen[index(seed)] = true;
    for (std::size_t next = 0; next < glyph.size(); ++next) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const QPoint p = glyph[next] + QPoint(dx, dy);
                if (window.contains(p) && !seen[index(p)] &&
                    (faint ? page.inked(p.x(), p.y()) : page.solid(p.x(), p.y()))) {
                    seen[index(p)] = true;
                    glyph.push_back(p);
                }
            }
        }
    }
    return glyph;
}

QRect boundsOf(const std::vector<QPoint>& points) {
    QRect bounds(points.front(), points.front());
    for (const QPoint& p : points) {
        bounds.setLeft(std::min(bounds.left(), p.x()));
        bounds.setRight(std::max(bounds.right(), p.x()));
        bounds.setTop(std::min(bounds.top(), p.y()));
        bounds.setBottom(std::max(bounds.bottom(), p.y()));
    }
    return bounds;
}

// Where the stem of a tall letter stands within its glyph, as a share of the
// glyph's width from its left, for the glyph whose stem crosses the middle of
// `box` down to `baseline`: its solid ink joined to the stem, so a neighbour
// in the box counts for nothing. Negative when there is no such glyph.
double stemPlace(const Page& page, const QRect& box, int baseline, double pitch) {
    const int reach = static_cast<int>(std::ceil(pitch / 2));
    const QRect window =
        QRect(QPoint(box.left() - reach, box.top()), QPoint(box.right() + reach, baseline)) &
        QRect(0, 0, page.width(), page.height());
    const int middle = (box.top() + std::min(box.bottom(), baseline)) / 2;
    if (window.isEmpty() || middle < window.top() || middle > window.bottom()) {
        return -1;
    }
    std::optional<QPoint> seed;
    for (int x = box.left(); x <= box.right(); ++x) {
        if (page.solid(x, middle) &&
            (!seed || std::abs(x - box.center().x()) < std::abs(seed->x() - box.center().x()))) {
            seed = QPoint(x, middle);
        }
    }
    if (!seed) {
        return -1;
    }
    std::vector<bool> seen(static_cast<std::size_t>(window.width() * window.height()), false);
    const std::vector<QPoint> glyph = joinedInk(page, *seed, window, false, seen);
    const QRect bounds = boundsOf(glyph);
    // The stem alone: the rows between a serif at the top and a foot.
    const int quarter = bounds.height() / 4;
    double stem = 0;
    int count = 0;
    for (const QPoint& p : glyph) {
        if (p.y() >= bounds.top() + quarter && p.y() <= bounds.bottom() - quarter) {
            stem += p.x();
            ++count;
        }
    }
    if (count == 0 || bounds.width() <= 1 || bounds.width() - 1 > EllWidth * pitch) {
        return -1;
    }
    return (stem / count - bounds.left()) / (bounds.width() - 1);
}

// In a monospaced font an "l" has a foot to the right and a serif to the
// left of its stem, which the recognizer reads as "L" at times ("Lrwxrwxrwx"
// in a listing); an "L" has its stem at the left of its glyph. A word with
// each "L" whose stem stands within its glyph written "l".
void withSmallEll(const Page& page, RecognizedWord& word, double pitch) {
    if (spelledOut(word) != word.text) {
        return;
    }
    for (RecognizedSymbol& symbol : word.symbols) {
        if (symbol.text == QLatin1String("L") &&
            stemPlace(page, symbol.box, word.baseline, pitch) >= EllStem) {
            symbol.text = QStringLiteral("l");
        }
    }
    word.text = spelledOut(word);
}

// Lower-case letters that stand no taller than the x-height, in the
// alphabets whose capitals stand taller.
constexpr char16_t ShortLetters[] = u"acegmnopqrsuvwxyz"
                                    u"\u0430\u0432\u0433\u0434\u0435\u0436\u0437\u0438\u043a\u043b"
                                    u"\u043c\u043d\u043e\u043f\u0440\u0441\u0442\u0443\u0445\u0446"
                                    u"\u0447\u0448\u0449\u044a\u044b\u044c\u044d\u044e\u044f"
                                    u"\u03b1\u03b3\u03b5\u03b7\u03b9\u03ba\u03bc\u03bd\u03bf\u03c0"
                                    u"\u03c1\u03c3\u03c4\u03c5\u03c7\u03c9";
// Of those, the ones with a tail below the baseline, as small letters or
// as capitals.
constexpr char16_t TailedLetters[] =
    u"gpqy\u0434\u0440\u0443\u0446\u0449\u03b3\u03b7\u03bc\u03c1\u03c7";
// Of those, the ones drawn as their capital made smaller: only their
// height tells them apart.
constexpr char16_t SmallCapitals[] = u"cosuvwxz"
                                     u"\u0432\u0433\u0436\u0437\u0438\u043a\u043b\u043c\u043d\u043e"
                                     u"\u043f\u0441\u0442\u0445\u0446\u0447\u0448\u0449\u044a\u044b"
                                     u"\u044c\u044d\u044e\u044f\u03bf";

// The bounds of the parts of joined ink within `window`, as `joinedInk`
// joins them, in the order of their leftmost columns.
std::vector<QRect> inkParts(const Page& page, const QRect& window, bool faint) {
    std::vector<QRect> parts;
    std::vector<bool> seen(static_cast<std::size_t>(window.width() * window.height()), false);
    for (int x = window.left(); x <= window.right(); ++x) {
        for (int y = window.top(); y <= window.bottom(); ++y) {
            const auto at =
                static_cast<std::size_t>((y - window.top()) * window.width() + x - window.left());
            if (!seen[at] && (faint ? page.inked(x, y) : page.solid(x, y))) {
                parts.push_back(boundsOf(joinedInk(page, QPoint(x, y), window, faint, seen)));
            }
        }
    }
    return parts;
}

// Whether a glyph lies at least half within a symbol's box, side to side.
bool halfIn(const QRect& glyph, const QRect& box) {
    const int shared =
        std::min(box.right(), glyph.right()) - std::max(box.left(), glyph.left()) + 1;
    return 2 * shared >= glyph.width();
}

// The glyphs of a word from left to right: its ink joined by smoothed
// edges, with what stands above or below one glyph (the dot of an "i", the
// dots of a colon) taken with it. Letters that touch are one glyph. Without
// `faint`, its solid ink alone: letters whose smoothed edges touch stand
// apart, and thin strokes may fall apart.
std::vector<QRect> wordGlyphs(const Page& page, const RecognizedWord& word, bool faint = true) {
    const int tall = word.baseline - word.lineTop;
    const QRect window = QRect(QPoint(word.box.left() - 1, word.lineTop - tall / 4),
                               QPoint(word.box.right() + 1, word.baseline + tall / 2)) &
                         QRect(0, 0, page.width(), page.height());
    std::vector<QRect> glyphs;
    if (window.isEmpty()) {
        return glyphs;
    }
    for (const QRect& bounds : inkParts(page, window, faint)) {
        // The tails of the line above and the tops of the line below.
        if (bounds.bottom() < word.lineTop || bounds.top() > word.baseline) {
            continue;
        }
        if (!glyphs.empty() && bounds.left() <= glyphs.back().right()) {
            glyphs.back() |= bounds;
        } else {
            glyphs.push_back(bounds);
        }
    }
    return glyphs;
}

// The glyph of each symbol of a word, in order; none when they cannot be
// matched one to one. The recognizer's letter boxes lie a letter off at
// times, so the glyphs are found in the ink and matched in order, in words
// with as many glyphs as symbols where each glyph lies at least half in its
// symbol's box.
std::vector<QRect> matchedGlyphs(const Page& page, const RecognizedWord& word, bool faint = true) {
    std::vector<QRect> glyphs =
        spelledOut(word) == word.text ? wordGlyphs(page, word, faint) : std::vector<QRect>();
    if (glyphs.size() != word.symbols.size()) {
        return {};
    }
    for (std::size_t k = 0; k < glyphs.size(); ++k) {
        if (!halfIn(glyphs[k], word.symbols[k].box)) {
            return {};
        }
    }
    return glyphs;
}

// The glyph that lies at least half in `box`, side to side, of `glyphs`.
std::optional<QRect> glyphIn(const std::vector<QRect>& glyphs, const QRect& box) {
    for (const QRect& glyph : glyphs) {
        if (halfIn(glyph, box)) {
            return glyph;
        }
    }
    return std::nullopt;
}

// A word beginning with a "~" as flat as a hyphen, before a letter or a
// hyphen, with the "~" written as the hyphen it is: beside letters of other
// alphabets the recognizer reads the "--" of a long option so ("~ignore",
// "~-usage"). A tilde's wave stands a quarter of a capital tall.
void flatTildeAsHyphen(const Page& page, RecognizedWord& word) {
    if (word.symbols.size() < 2 || word.symbols[0].text != QLatin1String("~") ||
        word.symbols[1].text.size() != 1 ||
        !(word.symbols[1].text[0].isLetter() || word.symbols[1].text[0] == QLatin1Char('-')) ||
        spelledOut(word) != word.text) {
        return;
    }
    const std::optional<QRect> glyph = glyphIn(wordGlyphs(page, word), word.symbols[0].box);
    if (glyph && FlatTilde * glyph->height() <= word.baseline - word.lineTop) {
        word.symbols[0].text = QStringLiteral("-");
        word.text = spelledOut(word);
    }
}

// The words of one line with the "--" of each long option that the
// recognizer read as one "-" ("-ignore") written again: its glyph is as
// wide as two of the line's single hyphens, those between letters
// ("show-function") and that of a short option ("-L,").
void withDoubleHyphens(const Page& page, std::vector<RecognizedWord>& words, std::size_t first,
                       std::size_t last) {
    const auto option = [](const RecognizedWord& word) {
        return word.symbols.size() >= 2 && word.symbols[0].text == QLatin1String("-") &&
               word.symbols[1].text.size() == 1 && word.symbols[1].text[0].isLetter() &&
               spelledOut(word) == word.text;
    };
    std::vector<int> hyphens;
    std::vector<std::vector<QRect>> glyphs(last - first);
    for (std::size_t i = first; i < last; ++i) {
        flatTildeAsHyphen(page, words[i]);
        const RecognizedWord& word = words[i];
        const bool hyphenated =
            word.symbols.size() > 1 && std::any_of(word.symbols.begin() + 1, word.symbols.end(),
                                                   [](const RecognizedSymbol& symbol) {
                                                       return symbol.text == QLatin1String("-");
                                                   });
        if (!hyphenated && !option(word)) {
            continue;
        }
        glyphs[i - first] = wordGlyphs(page, word);
        const int tall = word.baseline - word.lineTop;
        const auto single = [&](std::size_t k) {
            const std::optional<QRect> glyph = glyphIn(glyphs[i - first], word.symbols[k].box);
            if (glyph && 3 * glyph->height() < tall) {
                hyphens.push_back(glyph->width());
            }
        };
        // The hyphen of a short option ("-L,"), and hyphens between letters.
        if (option(word) && (word.symbols.size() == 2 || word.symbols[2].text.isEmpty() ||
                             !word.symbols[2].text.front().isLetter())) {
            single(0);
        }
        for (std::size_t k = 1; k + 1 < word.symbols.size(); ++k) {
            if (word.symbols[k].text == QLatin1String("-") &&
                word.symbols[k - 1].text != QLatin1String("-") &&
                word.symbols[k + 1].text != QLatin1String("-")) {
                single(k);
            }
        }
    }
    if (hyphens.empty()) {
        return;
    }
    const int hyphen = median(hyphens);
    for (std::size_t i = first; i < last; ++i) {
        RecognizedWord& word = words[i];
        if (!option(word)) {
            continue;
        }
        const std::optional<QRect> glyph = glyphIn(glyphs[i - first], word.symbols[0].box);
        if (glyph && glyph->width() >= DoubleHyphen * hyphen &&
            3 * glyph->height() < word.baseline - word.lineTop) {
            word.symbols[0].text = QStringLiteral("--");
            word.text = spelledOut(word);
        }
    }
}

// The letter of a short option ("-l,", "-s") that the recognizer read as a
// digit or a mark, written as the letter its ink shows. One thin upright
// stroke standing on the baseline is an "l": a "|" reaches below the
// baseline, the dot of a "!" stands apart, and a "1" has a flag. A "5" or a
// "0" no taller than small letters is an "s" or an "o": digits stand as tall
// as capitals.
void withOptionLetter(const Page& page, RecognizedWord& word) {
    static const QStringList ell = {QStringLiteral("|"), QStringLiteral("!"), QStringLiteral("1")};
    static const QHash<QString, QString> smallLetters = {
        {QStringLiteral("5"), QStringLiteral("s")}, {QStringLiteral("0"), QStringLiteral("o")}};
    // In a synopsis the option stands in brackets ("[-o]").
    const std::size_t at =
        !word.symbols.empty() && word.symbols[0].text == QLatin1String("[") ? 2 : 1;
    if (word.symbols.size() <= at || word.symbols[at - 1].text != QLatin1String("-")) {
        return;
    }
    RecognizedSymbol& letter = word.symbols[at];
    const QString small = smallLetters.value(letter.text);
    const bool digit = !small.isEmpty();
    if (!(digit || ell.contains(letter.text)) || spelledOut(word) != word.text ||
        std::any_of(word.symbols.begin() + static_cast<std::ptrdiff_t>(at) + 1, word.symbols.end(),
                    [](const RecognizedSymbol& symbol) {
                        return symbol.text.isEmpty() || symbol.text[0].isLetterOrNumber();
                    })) {
        return;
    }
    const int tall = word.baseline - word.lineTop;
    std::vector<QRect> strokes;
    for (const QRect& glyph : wordGlyphs(page, word, false)) {
        if (halfIn(glyph, letter.box)) {
            strokes.push_back(glyph);
        }
    }
    // A small round letter's thin joins may break its solid ink in parts.
    if (strokes.empty() || (!digit && strokes.size() != 1)) {
        return;
    }
    const QRect stroke = std::accumulate(strokes.begin(), strokes.end(), QRect(), std::bit_or<>());
    const int below = stroke.bottom() + 1 - word.baseline;
    if (below < -OnBaseline || below > OnBaseline / 2) {
        return;
    }
    if (digit && stroke.height() <= SmallLetter * tall) {
        letter.text = small;
    } else if (!digit && ThinStroke * stroke.width() <= tall &&
               FullStroke * stroke.height() >= tall) {
        letter.text = QStringLiteral("l");
    } else {
        return;
    }
    word.text = spelledOut(word);
}

// A word whose first symbol is an "S" that is a "$": the "$" of a shell
// variable before a name in capitals, which the recognizer reads as "S"
// ("SMANOPT"). Its stroke stands out above or below the capital after it,
// which may touch the letters after it ("LA" of "SLANG" in one glyph).
void withDollarSign(const Page& page, RecognizedWord& word) {
    static const QString flatCapitals = QStringLiteral("ABDEFHIKLMNPRTVWXYZ");
    if (word.symbols.size() < 2 || word.symbols[0].text != QLatin1String("S") ||
        word.symbols[1].text.size() != 1 || !flatCapitals.contains(word.symbols[1].text[0]) ||
        spelledOut(word) != word.text) {
        return;
    }
    const std::vector<QRect> glyphs = wordGlyphs(page, word);
    const QRect& capital = word.symbols[1].box;
    if (glyphs.size() < 2 || !halfIn(glyphs[0], word.symbols[0].box) ||
        glyphs[1].left() > capital.center().x() || glyphs[1].right() < capital.center().x()) {
        return;
    }
    const int above = glyphs[1].top() - glyphs[0].top();
    const int below = glyphs[0].bottom() - glyphs[1].bottom();
    if (above >= 0 && below >= 0 && above + below >= DollarStroke) {
        word.symbols[0].text = QStringLiteral("$");
        word.text = spelledOut(word);
    }
}

// The glyphs of a word matched to its symbols as `matchedGlyphs` does, from
// its solid ink when its smoothed edges join them: at 10 pixels those of
// neighbouring cells touch.
std::vector<QRect> cellGlyphs(const Page& page, const RecognizedWord& word) {
    std::vector<QRect> glyphs = matchedGlyphs(page, word);
    return glyphs.empty() ? matchedGlyphs(page, word, false) : glyphs;
}

// Whether symbol `k` of a word stands among figures, as in a version
// ("0.8.0-2", "1:14.0~1"): each neighbour a digit or a mark between them.
bool amongFigures(const RecognizedWord& word, std::size_t k) {
    static const QString marks = QStringLiteral(".,:-+~");
    const auto figure = [&word](std::size_t at) {
        const QString& text = word.symbols[at].text;
        return text.size() == 1 && (text[0].isDigit() || marks.contains(text[0]));
    };
    return (k == 0 || figure(k - 1)) && (k + 1 == word.symbols.size() || figure(k + 1));
}

// The glyph of each symbol of a word as `cellGlyphs` finds them. Where they
// cannot be matched one to one (at 10 pixels the solid ink of "+1" or "bl"
// touches), the solid ink lying in the cell of each symbol among figures,
// and an empty box for the others: in letters a lone box is too uncertain.
std::vector<QRect> figureGlyphs(const Page& page, const RecognizedWord& word) {
    std::vector<QRect> glyphs = cellGlyphs(page, word);
    if (!glyphs.empty() || spelledOut(word) != word.text) {
        return glyphs;
    }
    const std::vector<QRect> parts = wordGlyphs(page, word, false);
    for (std::size_t k = 0; k < word.symbols.size(); ++k) {
        if (!amongFigures(word, k)) {
            glyphs.emplace_back();
            continue;
        }
        const QRect& box = word.symbols[k].box;
        // Ink reaching well into the next cell is two glyphs joined.
        const int reach = box.width() / 4;
        QRect glyph;
        for (const QRect& part : parts) {
            if (halfIn(part, box) && part.left() >= box.left() - reach &&
                part.right() <= box.right() + reach) {
                glyph |= part;
            }
        }
        glyphs.push_back(glyph);
    }
    return glyphs;
}

// Whether the glyph in `box` holds a dot of solid ink of its own in its
// middle, as the zero of DejaVu Sans Mono does; the middle of an "8" is
// where its strokes cross, joined to them.
bool dottedMiddle(const Page& page, const QRect& box) {
    const std::vector<QRect> parts = inkParts(page, box, false);
    return std::any_of(parts.begin(), parts.end(), [&box](const QRect& part) {
        const QPoint offset = part.center() - box.center();
        return part.width() * DotSize <= box.width() &&
               part.height() * DotSizeHigh <= box.height() &&
               std::abs(offset.x()) * DotReach <= box.width() &&
               std::abs(offset.y()) * DotReach <= box.height();
    });
}

// Whether the glyph in `box` has its right side inked down from its top,
// as a "0" has and a "6", open there below the end of its arc, has not.
bool closedAtTopRight(const Page& page, const QRect& box) {
    int rows = 0;
    int walled = 0;
    for (int y = box.top() + box.height() / 5; y <= box.top() + box.height() * 9 / 20; ++y) {
        ++rows;
        walled += page.anyInk(box.right() - box.width() / 4, box.right(), y, y, true) ? 1 : 0;
    }
    return rows > 0 && walled >= WallShare * rows;
}

// Whether the glyph in `box` has straight sides through its middle third,
// as a zero with a bar across its middle has where the sides of an "8"
// draw in to its waist.
bool straightSides(const Page& page, const QRect& box) {
    const int slack = std::max(1, box.width() / StraightSlack);
    for (int y = box.top() + box.height() / 3; y <= box.top() + box.height() * 2 / 3; ++y) {
        int left = box.right() + 1;
        int right = box.left() - 1;
        for (int x = box.left(); x <= box.right(); ++x) {
            if (page.solid(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        if (left - box.left() > slack || box.right() - right > slack) {
            return false;
        }
    }
    return true;
}

// A word of a monospaced region with each "8", "6", "®", "O" or "o" that is
// the dotted zero of its font written "0". At 10 to 12 pixels the dot is a
// pixel or two, which the recognizer takes for the waist of an "8", the
// letter of a "®", or for the bowl of a "6" where it touches the walls.
void withDottedZeros(const Page& page, RecognizedWord& word) {
    // Read for the dotted zero: a ring with something in it, or a ring.
    static const QString dotted = QStringLiteral(u"8\u00aeOo");
    if (std::none_of(word.text.begin(), word.text.end(),
                     [](QChar c) { return c == QLatin1Char('6') || dotted.contains(c); })) {
        return;
    }
    const std::vector<QRect> glyphs = figureGlyphs(page, word);
    for (std::size_t k = 0; k < glyphs.size(); ++k) {
        RecognizedSymbol& symbol = word.symbols[k];
        if (glyphs[k].isEmpty()) {
            continue;
        }
        if ((symbol.text.size() == 1 && dotted.contains(symbol.text[0]) &&
             dottedMiddle(page, glyphs[k])) ||
            (symbol.text == QLatin1String("6") && closedAtTopRight(page, glyphs[k])) ||
            (symbol.text == QLatin1String("8") && amongFigures(word, k) &&
             straightSides(page, glyphs[k]))) {
            symbol.text = QStringLiteral("0");
        }
    }
    if (!glyphs.empty()) {
        word.text = spelledOut(word);
    }
}

// A word of a monospaced region with a space where a blank cell parts two
// of its glyphs: in the columns of ps the recognizer reads "0 S" as "0S".
// The middles of glyphs side by side stand a cell apart, give or take the
// lean of a narrow one; with a blank cell between them, two.
QString withBlankCells(const Page& page, const RecognizedWord& word, double pitch) {
    const std::vector<QRect> glyphs = cellGlyphs(page, word);
    if (glyphs.size() < 2) {
        return word.text;
    }
    const int tall = word.baseline - word.lineTop;
    QString spaced;
    for (std::size_t k = 0; k < glyphs.size(); ++k) {
        // An underscore the recognizer dropped lies below the baseline,
        // apart from the glyphs.
        if (k > 0 &&
            (glyphs[k].left() + glyphs[k].right() - glyphs[k - 1].left() - glyphs[k - 1].right()) >=
                2 * BlankCell * pitch &&
            !page.anyInk(glyphs[k - 1].right() + 1, glyphs[k].left() - 1, word.lineTop,
                         word.baseline + tall / 2)) {
            spaced += QLatin1Char(' ');
        }
        spaced += word.symbols[k].text;
    }
    return spaced;
}

// A word of a monospaced region as written: its ellipses, or else its
// blank cells, measured against the line's cell and the region's.
QString inCells(const Page& page, const RecognizedWord& word, double pitch, double regionPitch) {
    const QString ellipsed = withEllipses(page, word, pitch);
    // The region's cell: a short line's own steps may mislead.
    return ellipsed == word.text ? withBlankCells(page, word, regionPitch) : ellipsed;
}

// Whether the letters of a word after its `k`th symbol, and all before, are
// small: a word set in capitals, or in mixed case, is a name or the
// recognizer's Latin letters for the Cyrillic small ones drawn like
// capitals, which are written over later.
bool capitalised(const RecognizedWord& word, std::size_t k) {
    for (std::size_t j = 0; j < word.symbols.size(); ++j) {
        for (const QChar c : word.symbols[j].text) {
            if (j != k && c.isUpper()) {
                return false;
            }
        }
    }
    return true;
}

// The words of one line with each letter whose case its shape leaves open
// written in the case its height shows: the recognizer reads a word's first
// letter as a capital at times ("Man", "Cat"), and the other way round.
void withCaseByHeight(const Page& page, std::vector<RecognizedWord>& words, std::size_t first,
                      std::size_t last) {
    const QString shortLetters = QString::fromUtf16(ShortLetters);
    const QString smallCapitals = QString::fromUtf16(SmallCapitals);
    const QString tails = QString::fromUtf16(TailedLetters);
    // How tall each letter that may be short stands; 0 for the others.
    std::vector<std::vector<int>> heights(last - first);
    std::vector<int> xHeights;
    for (std::size_t i = first; i < last; ++i) {
        const RecognizedWord& word = words[i];
        const std::vector<QRect> glyphs = matchedGlyphs(page, word);
        if (glyphs.empty()) {
            continue;
        }
        const int slack = (word.baseline - word.lineTop) / 5;
        for (std::size_t k = 0; k < glyphs.size(); ++k) {
            const QString& text = word.symbols[k].text;
            const QChar c = text.size() == 1 ? text[0] : QChar();
            const bool letter = shortLetters.contains(c.toLower());
            int height = 0;
            if (letter && tails.contains(c.toLower())) {
                height = word.baseline - glyphs[k].top();
            } else if (letter && std::abs(glyphs[k].bottom() + 1 - word.baseline) <= slack) {
                // Its own height: the line's baseline may lie a little off
                // where the word stands.
                height = glyphs[k].height();
            }
            heights[i - first].push_back(height);
            if (height > 0 && c.isLower()) {
                xHeights.push_back(height);
            }
        }
    }
    if (xHeights.size() < 3) {
        return;
    }
    const double xHeight = median(xHeights);
    for (std::size_t i = first; i < last; ++i) {
        RecognizedWord& word = words[i];
        if (heights[i - first].empty()) {
            continue;
        }
        for (std::size_t k = 0; k < word.symbols.size(); ++k) {
            RecognizedSymbol& symbol = word.symbols[k];
            const int height = heights[i - first][k];
            const QChar c = height > 0 ? symbol.text[0] : QChar();
            if (c.isUpper() && height < SmallBelow * xHeight && capitalised(word, k)) {
                symbol.text = c.toLower();
            } else if (c.isLower() && smallCapitals.contains(c) &&
                       height > CapitalAbove * xHeight && height < CapitalBelow * xHeight) {
                symbol.text = c.toUpper();
            }
        }
        word.text = spelledOut(word);
    }
}

} // namespace

QString withCellBars(const QString& text, const std::vector<RecognizedWord>& read, PIX* gray) {
    if (!gray || pixGetDepth(gray) != 8 || pixGetColormap(gray) || read.empty()) {
        return text;
    }
    std::vector<RecognizedWord> words = read;
    // The text's words and the spaces between them, matched word for word.
    std::vector<QString> separators;
    qsizetype at = 0;
    for (const RecognizedWord& word : words) {
        const qsizetype found = text.indexOf(word.text, at);
        if (word.text.isEmpty() || found < 0 || !text.mid(at, found - at).trimmed().isEmpty()) {
            return text;
        }
        separators.push_back(text.mid(at, found - at));
        at = found + word.text.size();
    }
    if (!text.mid(at).trimmed().isEmpty()) {
        return text;
    }
    Page page(gray);
    // Whether the region is set in a monospaced font, told from all its
    // lines: the letter boxes of one line are too unsteady.
    const double regionPitch = linePitch(words, 0, words.size());
    const bool monospaced = regionPitch >= 2 && fixedPitch(words, regionPitch);
    QString result;
    for (std::size_t first = 0; first < words.size();) {
        std::size_t last = first + 1;
        QRect lineBox = words[first].box;
        while (last < words.size() && words[last].line == words[first].line) {
            lineBox |= words[last++].box;
        }
        const double pitch = linePitch(words, first, last);
        const RecognizedWord& word = words[first];
        std::vector<Span> bars;
        const bool inked = pitch >= 2 && page.setInk(lineBox);
        const bool cells = inked && monospaced;
        if (cells) {
            for (std::size_t i = first; i < last; ++i) {
                withSmallEll(page, words[i], pitch);
            }
        }
        if (cells) {
            for (std::size_t i = first; i < last; ++i) {
                withDottedZeros(page, words[i]);
            }
        }
        if (inked) {
            for (std::size_t i = first; i < last; ++i) {
                withDollarSign(page, words[i]);
            }
            withDoubleHyphens(page, words, first, last);
            for (std::size_t i = first; i < last; ++i) {
                withOptionLetter(page, words[i]);
            }
            withCaseByHeight(page, words, first, last);
        }
        if (inked && alphabetic(words, first, last)) {
            const int reach = static_cast<int>(std::ceil(pitch));
            bars = underscoreBars(page, lineBox.adjusted(-reach, 0, reach, 0), word.baseline,
                                  word.lineTop, pitch);
            // A rule runs on where the recognizer saw nothing more to read.
            const QRect row(0, lineBox.top(), page.width(), lineBox.height());
            std::vector<Span> equals = equalsBars(page, row, word.baseline);
            if (!equals.empty()) {
                // The bar's own cells tell how wide they are; failing that,
                // the letters of the other lines do (those misread from the
                // bar are spaced anyhow).
                const double others = otherLinesPitch(words, first, last);
                for (const Span& bar : equals) {
                    const double own = barCell(page, bar, row);
                    const double cell = own >= 2 ? own : others;
                    if (cell >= 2) {
                        bars.push_back(bar);
                        bars.back().cell = cell;
                    }
                }
            }
            std::sort(bars.begin(), bars.end(),
                      [](const Span& a, const Span& b) { return a.start < b.start; });
        }
        result += separators[first];
        if (bars.empty()) {
            for (std::size_t i = first; i < last; ++i) {
                result += (i > first ? separators[i] : QString());
                if (inked && dashRun(words[i])) {
                    result += withHyphenCount(page, words[i]);
                } else {
                    result += cells ? inCells(page, words[i], pitch, regionPitch) : words[i].text;
                }
            }
        } else {
            result += lineWithBars(page, words, separators, first, last, bars, pitch);
        }
        first = last;
    }
    result += text.mid(at);
    // Manuals in a terminal break words at the ends of their lines with the
    // hyphen of hyphenation, U+2010, which is drawn as a "-".
    if (monospaced) {
        static const QRegularExpression lineBreak(QStringLiteral("(?<=\\p{L})-(?=\n[ ]*\\p{Ll})"));
        result.replace(lineBreak, QStringLiteral(u"\u2010"));
    }
    return result;
}

} // namespace pellix
