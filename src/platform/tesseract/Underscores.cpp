#include "platform/tesseract/Underscores.h"

#include <algorithm>
#include <cmath>

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

struct Span {
    int start = 0;
    int end = -1; // inclusive
    int length() const { return end - start + 1; }
};

class Page {
public:
    explicit Page(PIX* gray) : m_gray(gray) {}

    int width() const { return static_cast<int>(pixGetWidth(m_gray)); }
    int height() const { return static_cast<int>(pixGetHeight(m_gray)); }

    bool inked(int x, int y) const {
        l_uint32 value = 255;
        pixGetPixel(m_gray, x, y, &value);
        return static_cast<int>(value) <= m_ink;
    }

    // Whether any of columns [left, right] holds ink on rows [top, bottom].
    bool anyInk(int left, int right, int top, int bottom) const {
        for (int y = std::max(0, top); y <= std::min(bottom, height() - 1); ++y) {
            for (int x = std::max(0, left); x <= std::min(right, width() - 1); ++x) {
                if (inked(x, y)) {
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
        BOX* area = boxCreate(clip.x(), clip.y(), clip.width(), clip.height());
        PixPtr part(pixClipRectangle(m_gray, area, nullptr));
        boxDestroy(&area);
        l_uint32 ground = 0, darkest = 0;
        if (!part || pixGetRankValue(part.get(), 1, 0.5f, &ground) != 0 ||
            pixGetRankValue(part.get(), 1, 0.0f, &darkest) != 0) {
            return false;
        }
        const int contrast = static_cast<int>(ground) - static_cast<int>(darkest);
        m_ink = static_cast<int>(ground) - contrast / FaintInk;
        return contrast >= LeastContrast;
    }

private:
    PIX* m_gray;
    int m_ink = 0;
};

// The cell width of a line: how far apart the letters of its words begin.
// Their boxes stretch over what the recognizer did not read, their starts
// hardly.
double linePitch(const std::vector<RecognizedWord>& words, std::size_t first, std::size_t last) {
    std::vector<int> steps;
    for (std::size_t i = first; i < last; ++i) {
        const auto& symbols = words[i].symbols;
        for (std::size_t k = 1; k < symbols.size(); ++k) {
            steps.push_back(symbols[k].box.left() - symbols[k - 1].box.left());
        }
    }
    if (steps.size() < 3) {
        return 0;
    }
    std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
    return steps[steps.size() / 2];
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

// Whether a line is written in the alphabets whose letters stand on a
// baseline with short tails below, left to right, letter for letter as
// recognized: the feet of Chinese glyphs or the strokes of Arabic below the
// line are no bars.
bool alphabetic(const std::vector<RecognizedWord>& words, std::size_t first, std::size_t last) {
    for (std::size_t i = first; i < last; ++i) {
        QString letters;
        for (const RecognizedSymbol& symbol : words[i].symbols) {
            letters += symbol.text;
        }
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

// The words of one line written again with its bars among them, the words
// spaced as the recognizer spaced them. The recognizer's letter boxes stretch
// over a bar it did not read, so a bar comes before the first letter that
// begins less than half a cell before it. A "_" read within a bar is the
// bar's, and goes.
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
    const auto withinBar = [&](const QRect& box) {
        return std::any_of(bars.begin(), bars.end(), [&](const Span& bar) {
            return box.left() <= bar.end + pitch / 2 && box.right() >= bar.start - pitch / 2;
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
        text += QString(std::max(1, static_cast<int>(std::lround(bar.length() / pitch))),
                        QLatin1Char('_'));
        lastBar = &bar;
    };
    for (std::size_t i = first; i < last; ++i) {
        bool wordStart = true;
        for (const RecognizedSymbol& symbol : words[i].symbols) {
            if (symbol.text == QLatin1String("_") && withinBar(symbol.box)) {
                continue;
            }
            while (nextBar < bars.size() && bars[nextBar].start - pitch / 2 < symbol.box.left()) {
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

} // namespace

QString withUnderscores(const QString& text, const std::vector<RecognizedWord>& words, PIX* gray) {
    if (!gray || words.empty()) {
        return text;
    }
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
        if (pitch >= 2 && alphabetic(words, first, last) && page.setInk(lineBox)) {
            const int reach = static_cast<int>(std::ceil(pitch));
            bars = underscoreBars(page, lineBox.adjusted(-reach, 0, reach, 0), word.baseline,
                                  word.lineTop, pitch);
        }
        result += separators[first];
        if (bars.empty()) {
            for (std::size_t i = first; i < last; ++i) {
                result += (i > first ? separators[i] : QString()) + words[i].text;
            }
        } else {
            result += lineWithBars(page, words, separators, first, last, bars, pitch);
        }
        first = last;
    }
    return result + text.mid(at);
}

} // namespace pellix
