#include "platform/tesseract/PageReader.h"

#include "platform/Error.h"
#include "platform/RecognitionEngine.h"
#include "platform/tesseract/CellBars.h"
#include "platform/tesseract/ScreenImage.h"
#include "platform/tesseract/ScreenLayout.h"
#include "platform/tesseract/ScreenText.h"
#include "platform/tesseract/ThreadCLocale.h"

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/pageiterator.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <iterator>
#include <limits>
#include <numeric>
#include <thread>

namespace pellix {

EnginePool::EnginePool() = default;
EnginePool::~EnginePool() = default;

EngineHandle EnginePool::take(const QByteArray& language, const Factory& create) {
    {
        std::scoped_lock lock(m_mutex);
        if (language != m_language) {
            m_idle.clear();
            m_language = language;
        }
        if (!m_idle.empty()) {
            EngineHandle engine = std::move(m_idle.back());
            m_idle.pop_back();
            return engine;
        }
    }
    return create(); // loading takes a while: not under the lock
}

void EnginePool::giveBack(const QByteArray& language, EngineHandle engine) {
    std::scoped_lock lock(m_mutex);
    if (engine && language == m_language) {
        m_idle.push_back(std::move(engine));
    }
}

namespace {

constexpr int Workers = 2;
// Tesseract's LSTM engine reports 0 to 70 for a page; see TesseractEngine.cpp.
constexpr int EngineProgressAtEnd = 70;
// Blank border kept around a block when it is cut out, in pixels of the page
// as captured: glyphs touching the cut would be read badly.
constexpr int BlockMargin = 3;
constexpr auto WaitStep = std::chrono::milliseconds(10);
// Percent of a page reached once it is prepared; the parts share the rest by
// their area, a tenth of each for its layout.
constexpr int PreparedShare = 4;
constexpr int LayoutTenths = 1;
// Pixels of a part laid out on its own, as captured: a 1920x1080 screen is one.
constexpr double TilePixels = 2.1e6;
// Glyph heights a block may be tall before it is read in slices.
constexpr int SliceGlyphs = 12;
// Parts prepared but not read yet: each holds its scaled copy.
constexpr int TilesAhead = 2;

struct TextDeleter {
    void operator()(char* text) const { delete[] text; }
};
using TextPtr = std::unique_ptr<char, TextDeleter>;

// One part of the page: prepared by one worker, its panes laid out and its
// regions then read by any.
struct Tile {
    QRect box;     // in pixels of the page as captured
    PixPtr scaled; // the prepared part, from its layout until its last region is read
    double factor = 1.0;
    int scaledGlyphHeight = 0;
    std::vector<QRect> panes; // of the prepared part, laid out one by one
    std::vector<std::vector<LayoutBlock>> paneBlocks;
    std::size_t nextPane = 0;
    std::size_t panesLeft = 0;
    bool prepared = false;
    std::vector<ReadingRegion> regions;
    std::vector<long long> areas;
    std::vector<QString> texts;
    long long regionArea = 0;
    std::vector<std::size_t> order; // of reading: the largest regions first
    std::size_t nextRegion = 0;     // in that order
    std::size_t regionsLeft = 0;
    bool laidOut = false;
};

// The parts of one page, shared by the workers, which take the work in turn:
// the layout of a prepared part's next pane; else a new part's preparation
// while few parts wait to be read; else the next region.
struct PageJob {
    PIX* gray = nullptr; // read only while workers run
    std::vector<Tile> tiles;
    long long totalArea = 0;
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t nextLayout = 0;
    int layoutsRunning = 0;
    int tilesAhead = 0;
    std::atomic<bool> stop{false};
    std::atomic<bool> failed{false};
    std::atomic<long long> doneArea{0}; // in tenths of pixels
    std::array<std::atomic<long long>, Workers> partArea{};

    int percent() const {
        long long done = doneArea.load();
        for (const auto& part : partArea) {
            done += part.load();
        }
        return PreparedShare +
               (totalArea > 0 ? static_cast<int>(done * (100 - PreparedShare) / (totalArea * 10))
                              : 0);
    }
};

// Reads words again with engines of one language, taking one the first time
// it is needed and keeping it to the end of the page.
class WordReader {
public:
    explicit WordReader(const WordEngines& engines) : m_engines(engines) {}
    ~WordReader() {
        if (m_engine) {
            m_engines.pool.giveBack(m_engines.language, std::move(m_engine));
        }
    }
    WordReader(const WordReader&) = delete;
    WordReader& operator=(const WordReader&) = delete;

    // Null when there is none to be had: the page is then read without.
    tesseract::TessBaseAPI* engine() {
        if (!m_engine && !m_failed && m_engines.create) {
            try {
                m_engine = m_engines.pool.take(m_engines.language, m_engines.create);
            } catch (...) {
                m_failed = true;
            }
        }
        return m_engine.get();
    }

private:
    const WordEngines& m_engines;
    EngineHandle m_engine;
    bool m_failed = false;
};

// The word readers of a worker: English, and the page's language alone.
struct WordReaders {
    explicit WordReaders(const PageEngines& engines) : english(engines.english), own(engines.own) {}
    WordReader english;
    WordReader own;
};

struct Worker {
    PageJob* job;
    int slot;
    std::function<tesseract::TessBaseAPI&()> engine; // waits while it loads
    WordReaders* readers;
    // Lays parts out and reads nothing: it loads no language, so the first
    // part is laid out while the engines that read still load.
    tesseract::TessBaseAPI* layout;
    long long regionWeight = 0; // tenths of pixels the region under way is worth
    std::function<bool()> poll; // true stops the run
};

bool pollWorker(void* context, int /*words*/) {
    return static_cast<Worker*>(context)->poll();
}

bool engineProgressed(tesseract::ETEXT_DESC* desc, int, int, int, int) {
    auto* worker = static_cast<Worker*>(desc->cancel_this);
    worker->job->partArea[static_cast<std::size_t>(worker->slot)] =
        worker->regionWeight * std::min<int>(desc->progress, EngineProgressAtEnd) /
        EngineProgressAtEnd;
    return true;
}

// The text blocks that layout analysis finds on the grey page, with their
// lines, in the engine's reading order, in pixels of the page scaled by
// `factor`. Layout must run on the enlarged page: on small terminal text as
// captured it misses whole columns.
std::vector<LayoutBlock> layoutBlocks(tesseract::TessBaseAPI& api, PIX* gray, double factor) {
    api.SetPageSegMode(tesseract::PSM_AUTO);
    api.SetImage(gray);
    std::unique_ptr<tesseract::PageIterator> it(api.AnalyseLayout());
    std::vector<LayoutBlock> blocks;
    if (!it) {
        return blocks;
    }
    const auto scaled = [factor](int left, int top, int right, int bottom) {
        return QRect(QPoint(int(left * factor), int(top * factor)),
                     QPoint(int(right * factor) - 1, int(bottom * factor) - 1));
    };
    bool text = false;
    do {
        int left = 0, top = 0, right = 0, bottom = 0;
        if (it->IsAtBeginningOf(tesseract::RIL_BLOCK)) {
            // Buttons and labels in frames are often typed as images, and the
            // short items of a sidebar as noise "outside any column"; rules
            // are the only blocks sure to hold no text.
            const tesseract::PolyBlockType type = it->BlockType();
            text = type != tesseract::PT_HORZ_LINE && type != tesseract::PT_VERT_LINE &&
                   it->BoundingBox(tesseract::RIL_BLOCK, &left, &top, &right, &bottom);
            if (text) {
                blocks.push_back({scaled(left, top, right, bottom), {}});
            }
        }
        if (text && it->BoundingBox(tesseract::RIL_TEXTLINE, &left, &top, &right, &bottom)) {
            blocks.back().lines.push_back(scaled(left, top, right, bottom));
        }
    } while (it->Next(tesseract::RIL_TEXTLINE));
    std::erase_if(blocks, [](const LayoutBlock& block) { return block.lines.empty(); });
    return blocks;
}

// Text the layout left out of every block (it takes the short items of a
// sidebar for noise at times): ink outside all regions, closed into lines and
// items, each read as a region of its own after the region above it.
void addLeftOverText(std::vector<ReadingRegion>& regions, PIX* page, int glyphHeight) {
    if (glyphHeight <= 0) {
        return;
    }
    PixPtr ink(pixThresholdToBinary(page, 128));
    if (!ink) {
        return;
    }
    for (const ReadingRegion& region : regions) {
        BOX* box =
            boxCreate(region.box.x(), region.box.y(), region.box.width(), region.box.height());
        pixClearInRect(ink.get(), box);
        boxDestroy(&box);
    }
    // Composite bricks take a few passes over the page, not one for each
    // pixel of the brick.
    PixPtr lines(pixCloseCompBrick(nullptr, ink.get(), 2 * glyphHeight, glyphHeight / 2));
    BoxaPtr found(lines ? pixConnCompBB(lines.get(), 8) : nullptr);
    // Top to bottom, so the items of a column follow one another.
    BoxaPtr boxes(found ? boxaSort(found.get(), L_SORT_BY_Y, L_SORT_INCREASING, nullptr) : nullptr);
    const l_int32 count = boxes ? boxaGetCount(boxes.get()) : 0;
    for (l_int32 i = 0; i < count; ++i) {
        l_int32 x = 0, y = 0, w = 0, h = 0;
        boxaGetBoxGeometry(boxes.get(), i, &x, &y, &w, &h);
        const QRect box(x, y, w, h);
        // The rest of a line of "=" that the layout took for a rule.
        if (const auto line = lineGoingOn(regions, box, glyphHeight); line != regions.end()) {
            line->box |= box;
            continue;
        }
        // Rules, frames and specks are no text.
        if (h < glyphHeight / 2 || w < glyphHeight || h > 20 * glyphHeight) {
            continue;
        }
        // Around a region already read: the frame of a button, not new text.
        if (std::any_of(regions.begin(), regions.end(), [&box](const ReadingRegion& region) {
                return region.box.intersects(box);
            })) {
            continue;
        }
        auto above = regions.end();
        for (auto it = regions.begin(); it != regions.end(); ++it) {
            const bool overColumn = it->box.left() <= box.right() && box.left() <= it->box.right();
            if (overColumn && it->box.bottom() < box.top() &&
                (above == regions.end() || it->box.bottom() > above->box.bottom())) {
                above = it;
            }
        }
        regions.insert(above == regions.end() ? regions.begin() : above + 1,
                       ReadingRegion{box, false, false});
    }
}

std::vector<ReadingRegion> planRegions(const std::vector<LayoutBlock>& blocks, PIX* page,
                                       double factor, int glyphHeight) {
    const QRect bounds(0, 0, pixGetWidth(page), pixGetHeight(page));
    const int margin = static_cast<int>(BlockMargin * factor);
    std::vector<ReadingRegion> regions = readingRegions(blocks);
    addLeftOverText(regions, page, glyphHeight);
    std::vector<ReadingRegion> planned;
    for (ReadingRegion region : regions) {
        region.box = region.box.adjusted(-margin, -margin, margin, margin).intersected(bounds);
        if (!region.box.isEmpty()) {
            planned.push_back(region);
        }
    }
    return planned;
}

// Prepares one part at the scale its own glyphs need and finds its panes;
// false when there is nothing to read in it.
bool prepare(PageJob& job, Tile& tile, int pageGlyphHeight) {
    const double pagePixels = double(pixGetWidth(job.gray)) * pixGetHeight(job.gray);
    PixPtr part = clipped(job.gray, tile.box);
    if (!part) {
        return false;
    }
    int glyphHeight = typicalGlyphHeight(part.get());
    if (glyphHeight <= 0) {
        glyphHeight = pageGlyphHeight;
    }
    // The page's size bounds the scale, which keeps the time of a large page
    // in bounds: its memory the size of its parts bounds anyway.
    tile.factor = recognitionScale(glyphHeight, pagePixels);
    tile.scaled = scaledGray(part.get(), tile.factor);
    if (!tile.scaled) {
        return false;
    }
    tile.scaledGlyphHeight = static_cast<int>(glyphHeight * tile.factor);
    removeRules(tile.scaled.get(), tile.scaledGlyphHeight);
    removeFrames(tile.scaled.get(), tile.scaledGlyphHeight);
    tile.panes = pagePanes(tile.scaled.get(), tile.scaledGlyphHeight);
    tile.paneBlocks.resize(tile.panes.size());
    return true;
}

// Lays out one pane of a prepared part: layout must run on the enlarged
// part, as on small terminal text as captured it misses whole columns.
void layOutPane(tesseract::TessBaseAPI& api, Tile& tile, std::size_t index) {
    if (tile.panes.size() == 1) {
        tile.paneBlocks[index] = layoutBlocks(api, tile.scaled.get(), 1.0);
        return;
    }
    const QRect& pane = tile.panes[index];
    PixPtr image = clipped(tile.scaled.get(), pane);
    for (LayoutBlock& block : layoutBlocks(api, image.get(), 1.0)) {
        block.box.translate(pane.topLeft());
        for (QRect& line : block.lines) {
            line.translate(pane.topLeft());
        }
        tile.paneBlocks[index].push_back(std::move(block));
    }
}

// Plans the regions of a part whose panes are all laid out, in their order.
void planTile(Tile& tile) {
    std::vector<LayoutBlock> blocks;
    for (std::vector<LayoutBlock>& pane : tile.paneBlocks) {
        std::move(pane.begin(), pane.end(), std::back_inserter(blocks));
    }
    tile.paneBlocks.clear();
    const int glyphHeight = tile.scaledGlyphHeight;
    // A tall block (a terminal, a listing) in two slices, so both engines
    // read it; blocks laid out anew stay whole, their columns unknown yet.
    for (const ReadingRegion& region :
         planRegions(blocks, tile.scaled.get(), tile.factor, glyphHeight)) {
        if (region.joined) {
            tile.regions.push_back(region);
            continue;
        }
        const int most =
            std::max(SliceGlyphs * glyphHeight, region.box.height() / 2 + 4 * glyphHeight);
        for (const QRect& slice : regionSlices(tile.scaled.get(), region.box, most, glyphHeight)) {
            tile.regions.push_back({slice, region.rows, false});
        }
    }
    for (const ReadingRegion& region : tile.regions) {
        tile.areas.push_back(static_cast<long long>(region.box.width()) * region.box.height());
        tile.regionArea += tile.areas.back();
    }
    // The largest first, so that the workers end together rather than one
    // waiting while the other reads a large region last.
    tile.order.resize(tile.regions.size());
    std::iota(tile.order.begin(), tile.order.end(), std::size_t{0});
    std::stable_sort(tile.order.begin(), tile.order.end(), [&tile](std::size_t a, std::size_t b) {
        return tile.areas[a] > tile.areas[b];
    });
    tile.texts.resize(tile.regions.size());
}

// The words of the last recognition with their letters, in the order its
// text gives them.
std::vector<RecognizedWord> recognizedWords(tesseract::TessBaseAPI& api) {
    std::vector<RecognizedWord> words;
    std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (!it) {
        return words;
    }
    const auto box = [&](tesseract::PageIteratorLevel level) {
        int left = 0, top = 0, right = 0, bottom = 0;
        it->BoundingBox(level, &left, &top, &right, &bottom);
        return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    };
    int line = -1;
    int baseLeft = 0, baseTop = 0, baseRight = 0, baseBottom = 0, lineTop = 0;
    do {
        if (it->Empty(tesseract::RIL_SYMBOL)) {
            continue;
        }
        if (line < 0 || it->IsAtBeginningOf(tesseract::RIL_TEXTLINE)) {
            ++line;
            const QRect lineBox = box(tesseract::RIL_TEXTLINE);
            lineTop = lineBox.top();
            if (!it->Baseline(tesseract::RIL_TEXTLINE, &baseLeft, &baseTop, &baseRight,
                              &baseBottom)) {
                baseLeft = lineBox.left(), baseRight = lineBox.right();
                baseTop = baseBottom = lineBox.bottom();
            }
        }
        if (words.empty() || it->IsAtBeginningOf(tesseract::RIL_WORD)) {
            TextPtr text(it->GetUTF8Text(tesseract::RIL_WORD));
            const QRect wordBox = box(tesseract::RIL_WORD);
            const float confidence = it->Confidence(tesseract::RIL_WORD);
            // The baseline below the word's middle; lines may lean a little.
            const int middle = wordBox.center().x();
            const int baseline = baseRight == baseLeft
                                     ? baseTop
                                     : baseTop + (baseBottom - baseTop) * (middle - baseLeft) /
                                                     (baseRight - baseLeft);
            words.push_back({text ? QString::fromUtf8(text.get()) : QString(),
                             {},
                             wordBox,
                             line,
                             baseline,
                             lineTop,
                             confidence});
        }
        TextPtr symbol(it->GetUTF8Text(tesseract::RIL_SYMBOL));
        words.back().symbols.push_back(
            {symbol ? QString::fromUtf8(symbol.get()) : QString(), box(tesseract::RIL_SYMBOL)});
    } while (it->Next(tesseract::RIL_SYMBOL));
    return words;
}

// Whether a word is in the word list of `engine`'s language.
WordCheck wordsOf(tesseract::TessBaseAPI& engine) {
    return [&engine](const QString& word) {
        return engine.IsValidWord(word.toUtf8().constData()) > 0;
    };
}

// The part of a word in `box` of `part` with a blank border, as the engine
// expects around a word; `word` is the whole word, whose height sets the
// border.
QRect wordCrop(const QRect& box, const QRect& word, PIX* part) {
    const int margin = word.height() / 4;
    return QRect(QPoint(box.left() - margin, word.top() - margin),
                 QPoint(box.right() + margin, word.bottom() + margin))
        .intersected(QRect(0, 0, pixGetWidth(part), pixGetHeight(part)));
}

// What `engine` reads in `crop` of `part` as a single word.
std::optional<QString> readWord(tesseract::TessBaseAPI& engine, PIX* part, const QRect& crop) {
    PixPtr image = clipped(part, crop);
    if (!image) {
        return std::nullopt;
    }
    engine.SetPageSegMode(tesseract::PSM_SINGLE_WORD);
    engine.SetImage(image.get());
    if (engine.Recognize(nullptr) != 0) {
        return std::nullopt;
    }
    TextPtr read(engine.GetUTF8Text());
    return read ? QString::fromUtf8(read.get()).trimmed() : QString();
}

// The glyphs `engine` read again in the crop at `origin` of word
// `index`, those of the word's neighbours on its line left out: the first
// reading's box may reach over the next word, which must not be read twice.
// `beyond` tells whether any were left out.
std::vector<RecognizedSymbol> rereadSymbols(tesseract::TessBaseAPI& engine, QPoint origin,
                                            const std::vector<RecognizedWord>& words,
                                            std::size_t index, bool& beyond) {
    const RecognizedWord& word = words[index];
    int left = std::numeric_limits<int>::min();
    int right = std::numeric_limits<int>::max();
    if (index > 0 && words[index - 1].line == word.line) {
        left = words[index - 1].box.right();
    }
    if (index + 1 < words.size() && words[index + 1].line == word.line) {
        right = words[index + 1].box.left();
    }
    std::vector<RecognizedSymbol> symbols;
    for (const RecognizedWord& englishWord : recognizedWords(engine)) {
        for (RecognizedSymbol symbol : englishWord.symbols) {
            symbol.box.translate(origin);
            const int middle = symbol.box.center().x();
            if (middle < left || middle > right) {
                beyond = true;
            } else {
                symbols.push_back(std::move(symbol));
            }
        }
    }
    return symbols;
}

// The words next to word `index` on its line: none, one or two.
std::vector<QString> lineNeighbours(const std::vector<RecognizedWord>& words, std::size_t index) {
    std::vector<QString> neighbours;
    if (index > 0 && words[index - 1].line == words[index].line) {
        neighbours.push_back(words[index - 1].text);
    }
    if (index + 1 < words.size() && words[index + 1].line == words[index].line) {
        neighbours.push_back(words[index + 1].text);
    }
    return neighbours;
}

// Whether the neighbours of word `index` on its line, one at least, are
// words in English letters.
bool amongEnglish(const std::vector<RecognizedWord>& words, std::size_t index) {
    const std::vector<QString> neighbours = lineNeighbours(words, index);
    return !neighbours.empty() && std::all_of(neighbours.begin(), neighbours.end(), englishLetters);
}

// Visits the words of `text` in order, each at its place there, and writes
// back a word's text where `visit` changed it; stops where a word is not
// found in the text, or where `visit` returns false.
void rewriteWords(QString& text, std::vector<RecognizedWord>& words,
                  const std::function<bool(std::size_t index)>& visit) {
    qsizetype at = 0;
    for (std::size_t index = 0; index < words.size(); ++index) {
        const QString before = words[index].text;
        const qsizetype found = text.indexOf(before, at);
        if (before.isEmpty() || found < 0 || !visit(index)) {
            return;
        }
        text.replace(found, before.size(), words[index].text);
        at = found + words[index].text.size();
    }
}

// The words of `text` the language's model read in its own letters without
// confidence, read again by the English engine where its reading wins (or,
// for a word the language's list does not hold, is very sure); code takes
// the English reading but for the language's words in it.
void withEnglishRereads(QString& text, std::vector<RecognizedWord>& words, PIX* part,
                        WordReader& english, const QString& code, const WordCheck& isWord) {
    rewriteWords(text, words, [&](std::size_t index) {
        RecognizedWord& word = words[index];
        if (!englishRereadWanted(word.text, word.confidence)) {
            return true;
        }
        tesseract::TessBaseAPI* engine = english.engine();
        if (!engine) {
            return false;
        }
        const QRect crop = wordCrop(word.box, word.box, part);
        const std::optional<QString> reading = readWord(*engine, part, crop);
        if (!reading) {
            return true;
        }
        bool beyond = false;
        std::vector<RecognizedSymbol> symbols =
            rereadSymbols(*engine, crop.topLeft(), words, index, beyond);
        std::vector<QString> glyphs;
        for (const RecognizedSymbol& symbol : symbols) {
            glyphs.push_back(symbol.text);
        }
        if (symbols.empty()) {
            return true;
        }
        QString chosen;
        if (codeLike(word.text)) {
            const std::optional<std::vector<QString>> code =
                englishCode(word.text, std::move(glyphs), isWord);
            if (!code) {
                return true;
            }
            for (std::size_t k = 0; k < symbols.size(); ++k) {
                symbols[k].text = (*code)[k];
                chosen += symbols[k].text;
            }
        } else if (const auto sure = static_cast<float>(engine->MeanTextConf());
                   !beyond && (englishReadingWins(word.text, word.confidence, *reading, sure,
                                                  amongEnglish(words, index)) ||
                               englishForUnknownWord(word.text, word.confidence, *reading, sure,
                                                     code, isWord))) {
            chosen = *reading;
        } else {
            return true;
        }
        word.text = chosen;
        word.symbols = std::move(symbols);
        return true;
    });
}

// The values of options the recognizer read in English letters, read again
// by the language's model alone where they are words of the language.
void withValuesInLanguage(QString& text, std::vector<RecognizedWord>& words, PIX* part,
                          WordReaders& readers, const WordCheck& isWord) {
    rewriteWords(text, words, [&](std::size_t index) {
        RecognizedWord& word = words[index];
        const auto value = optionValue(word.text);
        // A glyph to each character, as the value is found in the text.
        std::vector<QString> glyphs;
        QString spelled;
        for (const RecognizedSymbol& symbol : word.symbols) {
            glyphs.push_back(symbol.text);
            spelled += symbol.text;
        }
        if (!value || spelled != word.text ||
            glyphs.size() != static_cast<std::size_t>(word.text.size())) {
            return true;
        }
        // Pages in Latin letters have no engines of their language alone.
        tesseract::TessBaseAPI* own = readers.own.engine();
        tesseract::TessBaseAPI* english = own ? readers.english.engine() : nullptr;
        if (!english) {
            return false;
        }
        const auto [start, length] = *value;
        QRect box;
        for (qsizetype k = start; k < start + length; ++k) {
            box |= word.symbols[k].box;
        }
        const std::optional<QString> reading = readWord(*own, part, wordCrop(box, word.box, part));
        if (!reading) {
            return true;
        }
        const std::optional<QString> inLanguage =
            valueInLanguage(word.text.mid(start, length), *reading, isWord, wordsOf(*english));
        if (!inLanguage) {
            return true;
        }
        spellOver(glyphs, start, start + length, *inLanguage);
        spelled.clear();
        for (std::size_t k = 0; k < glyphs.size(); ++k) {
            word.symbols[k].text = glyphs[k];
            spelled += glyphs[k];
        }
        word.text = spelled;
        return true;
    });
}

// Whether a neighbour of word `index` on its line is a word in the letters
// of the page's language.
bool amongOwn(const std::vector<RecognizedWord>& words, std::size_t index) {
    const std::vector<QString> neighbours = lineNeighbours(words, index);
    return std::any_of(neighbours.begin(), neighbours.end(), ownLetters);
}

// Reads word `index` again by `engine` as one word, and takes the glyphs
// read where `accept` takes the reading as it is spelled and no glyph of
// the word's neighbours came with them.
void rereadWord(tesseract::TessBaseAPI& engine, PIX* part, std::vector<RecognizedWord>& words,
                std::size_t index,
                const std::function<std::optional<QString>(const QString&)>& accept) {
    RecognizedWord& word = words[index];
    const QRect crop = wordCrop(word.box, word.box, part);
    const std::optional<QString> reading = readWord(engine, part, crop);
    const std::optional<QString> accepted = reading ? accept(*reading) : std::nullopt;
    if (!accepted) {
        return;
    }
    bool beyond = false;
    std::vector<RecognizedSymbol> symbols =
        rereadSymbols(engine, crop.topLeft(), words, index, beyond);
    QString spelled;
    for (const RecognizedSymbol& symbol : symbols) {
        spelled += symbol.text;
    }
    if (!beyond && spelled == *accepted) {
        word.text = spelled;
        word.symbols = std::move(symbols);
    }
}

// The words among the language's own the recognizer read in English
// letters, read again by the language's model alone where they are words of
// the language.
void withWordsInLanguage(QString& text, std::vector<RecognizedWord>& words, PIX* part,
                         WordReaders& readers, const QString& code, const WordCheck& isWord) {
    rewriteWords(text, words, [&](std::size_t index) {
        const QString read = words[index].text;
        if (!drawnAlikeInLanguage(read, code) || !amongOwn(words, index)) {
            return true;
        }
        // Pages in Latin letters have no engines of their language alone.
        tesseract::TessBaseAPI* own = readers.own.engine();
        if (!own) {
            return false;
        }
        rereadWord(*own, part, words, index, [&](const QString& reading) {
            return wordInLanguage(read, reading, code, isWord);
        });
        return true;
    });
}

// Whether word `index` stands between English words on its line, one of
// them letters alone: at the end of a line the language's words may follow
// on the next ("groff по" and "умолчанию" below).
bool betweenEnglish(const std::vector<RecognizedWord>& words, std::size_t index) {
    const std::vector<QString> neighbours = lineNeighbours(words, index);
    const bool prose = std::any_of(neighbours.begin(), neighbours.end(), [](const QString& word) {
        return std::all_of(word.begin(), word.end(), [](QChar c) { return c.isLetter(); });
    });
    return neighbours.size() == 2 && amongEnglish(words, index) && prose;
}

// The words among English ones the recognizer read in the language's
// letters drawn alike, read again by the English model where they are
// English words.
void withWordsInEnglish(QString& text, std::vector<RecognizedWord>& words, PIX* part,
                        WordReader& english, const QString& code) {
    rewriteWords(text, words, [&](std::size_t index) {
        const QString read = words[index].text;
        if (!drawnAlikeInEnglish(read, code) || !betweenEnglish(words, index)) {
            return true;
        }
        tesseract::TessBaseAPI* engine = english.engine();
        if (!engine) {
            return false;
        }
        rereadWord(*engine, part, words, index, [&](const QString& reading) {
            return wordInEnglish(read, reading, code, wordsOf(*engine));
        });
        return true;
    });
}

// Reads one region of a laid-out part; false when the engine failed.
bool readRegion(tesseract::TessBaseAPI& api, Worker& worker, Tile& tile, std::size_t index) {
    PixPtr part = clipped(tile.scaled.get(), tile.regions[index].box);
    // A block, or side-by-side columns whose lines share rows, is read
    // across as one uniform block (a table the layout took for one block
    // too); overlapping blocks get the engine's own layout again.
    api.SetPageSegMode(tile.regions[index].joined ? tesseract::PSM_AUTO
                                                  : tesseract::PSM_SINGLE_BLOCK);
    api.SetImage(part.get());
    tesseract::ETEXT_DESC desc;
    desc.cancel = pollWorker;
    desc.cancel_this = &worker;
    desc.progress_callback2 = engineProgressed;
    if (api.Recognize(&desc) != 0) {
        return false;
    }
    TextPtr text(api.GetUTF8Text());
    QString read = text ? QString::fromUtf8(text.get()) : QString();
    std::vector<RecognizedWord> words = recognizedWords(api);
    const WordCheck isWord = wordsOf(api);
    const QString language = QString::fromUtf8(api.GetInitLanguagesAsString());
    const QString own = language.section(QLatin1Char('+'), 0, 0);
    withEnglishRereads(read, words, part.get(), worker.readers->english, own, isWord);
    withValuesInLanguage(read, words, part.get(), *worker.readers, isWord);
    withWordsInLanguage(read, words, part.get(), *worker.readers, own, isWord);
    withWordsInEnglish(read, words, part.get(), worker.readers->english, own);
    read = withCellBars(read, words, part.get());
    tile.texts[index] = withHyphenationKept(
        withArticleApart(
            withRnForM(withLettersOfLanguage(withEnglishNames(read, own), own, isWord), isWord),
            isWord),
        isWord);
    return true;
}

long long tileWeight(const Tile& tile) {
    return static_cast<long long>(tile.box.width()) * tile.box.height();
}

// Marks a part laid out, under the job's lock.
void finishLayout(PageJob& job, Tile& tile) {
    tile.laidOut = true;
    tile.regionsLeft = tile.regions.size();
    const long long weight = tileWeight(tile);
    job.doneArea += weight * LayoutTenths + (tile.regions.empty() ? weight * 9 : 0);
    if (tile.regions.empty()) {
        tile.scaled.reset();
        --job.tilesAhead;
    }
}

// Takes work until none is left or the run stops. The first worker also
// polls while it waits, so progress and cancelling go on.
void work(Worker& worker, int pageGlyphHeight) {
    PageJob& job = *worker.job;
    std::unique_lock lock(job.mutex);
    for (;;) {
        if (job.stop) {
            return;
        }
        Tile* readable = nullptr;
        for (Tile& tile : job.tiles) {
            if (tile.laidOut && tile.nextRegion < tile.regions.size()) {
                readable = &tile;
                break;
            }
        }
        // The panes of a prepared part come first: the other worker would
        // otherwise wait for their layout.
        Tile* panesLeft = nullptr;
        for (Tile& tile : job.tiles) {
            if (tile.prepared && tile.nextPane < tile.panes.size()) {
                panesLeft = &tile;
                break;
            }
        }
        if (panesLeft) {
            Tile& tile = *panesLeft;
            const std::size_t index = tile.nextPane++;
            ++job.layoutsRunning;
            lock.unlock();
            layOutPane(*worker.layout, tile, index);
            lock.lock();
            if (--tile.panesLeft == 0) {
                lock.unlock();
                planTile(tile);
                lock.lock();
                finishLayout(job, tile);
            }
            --job.layoutsRunning;
            job.changed.notify_all();
            continue;
        }
        const bool layoutLeft = job.nextLayout < job.tiles.size();
        if (layoutLeft && (job.tilesAhead < TilesAhead || !readable)) {
            Tile& tile = job.tiles[job.nextLayout++];
            ++job.layoutsRunning;
            ++job.tilesAhead;
            lock.unlock();
            const bool ready = prepare(job, tile, pageGlyphHeight);
            lock.lock();
            --job.layoutsRunning;
            if (ready && !tile.panes.empty()) {
                tile.prepared = true;
                tile.panesLeft = tile.panes.size();
            } else {
                finishLayout(job, tile);
            }
            job.changed.notify_all();
            continue;
        }
        if (readable) {
            Tile& tile = *readable;
            const std::size_t index = tile.order[tile.nextRegion++];
            worker.regionWeight =
                tileWeight(tile) * (10 - LayoutTenths) * tile.areas[index] / tile.regionArea;
            lock.unlock();
            const bool read = readRegion(worker.engine(), worker, tile, index);
            lock.lock();
            job.partArea[static_cast<std::size_t>(worker.slot)] = 0;
            if (!read) {
                job.failed = !job.stop;
                job.stop = true;
                job.changed.notify_all();
                return;
            }
            job.doneArea += worker.regionWeight;
            if (--tile.regionsLeft == 0) {
                tile.scaled.reset();
                --job.tilesAhead;
                job.changed.notify_all();
            }
            continue;
        }
        if (job.layoutsRunning == 0) {
            return; // nothing left to take, and nothing more will come
        }
        job.changed.wait_for(lock, WaitStep);
        if (worker.slot == 0) {
            lock.unlock();
            worker.poll();
            lock.lock();
        }
    }
}

// The second worker: loads the first worker's engine and then its own while
// the first prepares the page and lays it out, so that the page need not wait
// for them; then shares the work. Stopped and joined however the page ends.
class Helper {
public:
    Helper(PageJob& job, const PageEngines& engines)
        : m_job(job), m_firstEngine(m_first.get_future()),
          m_thread([this, &engines] { run(engines); }) {}
    ~Helper() {
        m_job.stop = true;
        start(0);
        m_thread.join();
    }
    Helper(const Helper&) = delete;
    Helper& operator=(const Helper&) = delete;

    void start(int glyphHeight) {
        if (!m_started.exchange(true)) {
            m_ready.set_value(glyphHeight);
        }
    }
    bool done() const { return m_done; }

    // The first worker's engine, once loaded; throws what loading it threw.
    tesseract::TessBaseAPI& firstEngine() {
        if (!m_firstTaken) {
            m_firstTaken = m_firstEngine.get();
        }
        return *m_firstTaken;
    }
    EngineHandle takeFirstEngine() {
        firstEngine();
        return std::move(m_firstTaken);
    }

private:
    void run(const PageEngines& engines) {
        ThreadCLocale cLocale;
        try {
            m_first.set_value(engines.pool.take(engines.language, engines.create));
        } catch (...) {
            m_first.set_exception(std::current_exception());
        }
        try {
            EngineHandle engine = engines.pool.take(engines.language, engines.create);
            const int glyphHeight = m_ready.get_future().get();
            WordReaders readers(engines);
            EngineHandle layout = engines.layout();
            Worker worker{&m_job,
                          1,
                          [&engine]() -> tesseract::TessBaseAPI& { return *engine; },
                          &readers,
                          layout.get(),
                          0,
                          [this] {
                              return m_job.stop.load();
                          }};
            work(worker, glyphHeight);
            engines.pool.giveBack(engines.language, std::move(engine));
        } catch (...) {
            // Without a second engine the first does all the work.
        }
        m_done = true;
    }

    PageJob& m_job;
    std::promise<EngineHandle> m_first;
    std::future<EngineHandle> m_firstEngine;
    EngineHandle m_firstTaken;
    std::promise<int> m_ready;
    std::atomic<bool> m_started{false};
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

} // namespace

std::optional<QString> readScreenPage(PIX* page, const PageEngines& engines,
                                      const PageWatch& watch) {
    PageJob job;
    Helper helper(job, engines);
    WordReaders readers(engines);
    PixPtr gray = lightGroundGray(page);
    if (!gray) {
        throw Error(RecognitionErrors::RecognitionFailed,
                    QStringLiteral("The image could not be converted to grey."));
    }
    const int glyphHeight = typicalGlyphHeight(gray.get());
    for (const QRect& box : pageTiles(gray.get(), glyphHeight, TilePixels)) {
        job.tiles.emplace_back().box = box;
        job.totalArea += tileWeight(job.tiles.back());
    }
    job.gray = gray.get();
    watch.progress(PreparedShare);

    const auto poll = [&job, &watch] {
        if (watch.cancelled()) {
            job.stop = true;
        }
        watch.progress(job.percent());
        return job.stop.load();
    };
    helper.start(glyphHeight);
    if (poll()) {
        return std::nullopt;
    }
    EngineHandle layout = engines.layout();
    Worker worker{&job,
                  0,
                  [&helper]() -> tesseract::TessBaseAPI& { return helper.firstEngine(); },
                  &readers,
                  layout.get(),
                  0,
                  poll};
    work(worker, glyphHeight);
    while (!helper.done() && !poll()) {
        std::this_thread::sleep_for(WaitStep);
    }
    if (watch.cancelled()) {
        return std::nullopt;
    }
    if (job.failed) {
        throw Error(RecognitionErrors::RecognitionFailed,
                    QStringLiteral("Tesseract could not recognize the page."));
    }
    engines.pool.giveBack(engines.language, helper.takeFirstEngine());
    QStringList texts;
    for (const Tile& tile : job.tiles) {
        for (const QString& text : tile.texts) {
            if (!text.trimmed().isEmpty()) {
                texts << text;
            }
        }
    }
    return tidyRecognizedText(texts.join(QLatin1Char('\n')));
}

} // namespace pellix
