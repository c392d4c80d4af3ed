#pragma once

// Reads one screen page: prepares it, finds its blocks, and recognizes them in
// reading order on two engines at once, one per thread.
#include "platform/tesseract/Leptonica.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace tesseract {
class TessBaseAPI;
}

namespace pellix {

using EngineHandle = std::unique_ptr<tesseract::TessBaseAPI>;

// Engines loaded for the language last used, kept between runs so that the
// next recognition starts at once; all go when another language is asked for.
class EnginePool {
public:
    using Factory = std::function<EngineHandle()>;

    EnginePool();
    ~EnginePool();
    EnginePool(const EnginePool&) = delete;
    EnginePool& operator=(const EnginePool&) = delete;

    // An idle engine of the language, or a new one from `create`.
    EngineHandle take(const QByteArray& language, const Factory& create);
    void giveBack(const QByteArray& language, EngineHandle engine);

private:
    std::mutex m_mutex;
    QByteArray m_language;
    std::vector<EngineHandle> m_idle;
};

// What the page reader reports; both are called on the calling thread only.
struct PageWatch {
    std::function<void(int percent)> progress;
    std::function<bool()> cancelled;
};

// Engines of one language that read single words again, taken by a worker
// when it first needs one; without `create` none is.
struct WordEngines {
    QByteArray language;
    EnginePool& pool;
    EnginePool::Factory create;
};

// The engines a page is read with: those of its language (which may read
// English beside its own, "rus+eng"); English ones that read again the words
// the first read in the language's letters without confidence; ones of the
// language alone that read again the values of options read in English
// letters ("--size=PA3MEP"); and ones that only lay pages out.
struct PageEngines {
    QByteArray language;
    EnginePool& pool;
    EnginePool::Factory create;
    WordEngines english;
    WordEngines own;
    EnginePool::Factory layout; // engines that lay pages out and load no language
};

// The text of the page, or nothing when the run was cancelled. Throws
// pellix::Error when an engine fails.
std::optional<QString> readScreenPage(PIX* page, const PageEngines& engines,
                                      const PageWatch& watch);

} // namespace pellix
