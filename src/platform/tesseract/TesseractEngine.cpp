// The recognition engine on Tesseract's LSTM recognizer, with Leptonica reading
// the image file and straightening the pages.
#include "platform/Error.h"
#include "platform/RecognitionEngine.h"
#include "platform/tesseract/Leptonica.h"
#include "platform/tesseract/PageReader.h"
#include "platform/tesseract/TesseractLanguages.h"
#include "platform/tesseract/TesseractModule.h"
#include "platform/tesseract/ThreadCLocale.h"

#include <tesseract/baseapi.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <vector>

namespace pellix {

namespace {

// Where the language data lies: TESSDATA_PREFIX as Tesseract itself reads it,
// else the folder of the distribution's data packages.
QString dataFolder() {
    const QByteArray prefix = qgetenv("TESSDATA_PREFIX");
    if (!prefix.isEmpty()) {
        return QDir::cleanPath(QString::fromLocal8Bit(prefix));
    }
    return QStringLiteral(PELLIX_TESSDATA_DIR);
}

QString dataFile(const QString& code) {
    return dataFolder() + QStringLiteral("/") + code + QStringLiteral(".traineddata");
}

bool hasData(const QString& code) {
    return QFileInfo::exists(dataFile(code));
}

QString languageCode(std::int32_t languageId) {
    const QString code = tesseractLanguageCode(languageId, QLocale::system(), hasData);
    if (code.isEmpty()) {
        throw Error(RecognitionErrors::LanguageUnknown,
                    QStringLiteral("%1 is not a recognition language.").arg(languageId));
    }
    if (!hasData(code)) {
        throw Error(RecognitionErrors::LanguageDataMissing,
                    QStringLiteral("The Tesseract language data %1 is missing. Install the "
                                   "package %2 (apt install %2).")
                        .arg(dataFile(code), debianLanguagePackage(code)));
    }
    return code;
}

// Screens in any language carry English words: commands, options, names.
// Read with the language's model alone they come out in its letters ("/etc"
// as "/е{с" in Russian); the engine falls back to English word by word.
QString withEnglish(const QString& code) {
    const QString english = QStringLiteral("eng");
    return code == english || !hasData(english) ? code : code + QStringLiteral("+") + english;
}

struct PageRun {
    RecognitionMonitor* monitor;
    int page;
    int pageCount;
    int lastReported;
};

void reportPercent(PageRun& run, int pagePercent) {
    const int overall = (run.page * 100 + std::clamp(pagePercent, 0, 100)) / run.pageCount;
    if (overall > run.lastReported) {
        run.lastReported = overall;
        run.monitor->progress(overall);
    }
}

PixPtr straightened(PIX* page) {
    // The skew search runs on the full-size page, not a reduced copy, as
    // screen type is only 9 to 16 pixels high.
    l_float32 angle = 0;
    l_float32 confidence = 0;
    PixPtr deskewed(pixFindSkewAndDeskew(page, 1, &angle, &confidence));
    return deskewed ? std::move(deskewed) : PixPtr(pixClone(page));
}

EngineHandle loadEngine(const QByteArray& folder, const QByteArray& code) {
    auto api = std::make_unique<tesseract::TessBaseAPI>();
    if (api->Init(folder.constData(), code.constData(), tesseract::OEM_LSTM_ONLY) != 0) {
        throw Error(RecognitionErrors::EngineUnavailable,
                    QStringLiteral("Tesseract could not load its language data %1.")
                        .arg(dataFile(QString::fromUtf8(code).section(QLatin1Char('+'), 0, 0))));
    }
    // The library's notes ("Estimating resolution as ...") would land on
    // our standard error; failures reach the caller as errors instead.
    api->SetVariable("debug_file", "/dev/null");
    // Dark grounds are turned light before the engine sees the page, so it
    // need not try every line inverted as well.
    api->SetVariable("tessedit_do_invert", "0");
    // Screens have no vertical text; a column of figures (the PIDs of ps)
    // taken for a vertical line is read as one word.
    api->SetVariable("textord_tabfind_vertical_text", "0");
    return api;
}

class TesseractDocument final : public RecognitionDocument {
public:
    TesseractDocument(std::vector<PixPtr> pages, EnginePool& engines)
        : m_pages(std::move(pages)), m_engines(engines) {}

    void OCR(std::int32_t languageId, bool /*orientImage*/, bool straightenImage,
             RecognitionMonitor& monitor) override {
        // Page orientation detection needs the separate osd data and is never asked for.
        const QByteArray code = withEnglish(languageCode(languageId)).toUtf8();
        const QByteArray folder = dataFolder().toLocal8Bit();
        const EnginePool::Factory create = [code, folder] {
            return loadEngine(folder, code);
        };
        ThreadCLocale cLocale;
        m_texts.clear();
        const int count = static_cast<int>(m_pages.size());
        PageRun run{&monitor, 0, count, -1};
        for (int page = 0; page < count; ++page) {
            run.page = page;
            m_texts.push_back(recognizePage(code, create, page, straightenImage, run));
            reportPercent(run, 100);
        }
    }

    int pageCount() const override { return static_cast<int>(m_pages.size()); }

    QString pageText(int index) const override {
        return index >= 0 && index < static_cast<int>(m_texts.size()) ? m_texts[index] : QString();
    }

    void close() override {
        m_pages.clear();
        m_texts.clear();
    }

private:
    QString recognizePage(const QByteArray& code, const EnginePool::Factory& create, int page,
                          bool straighten, PageRun& run) {
        if (run.monitor->cancelled()) {
            throw cancelledError();
        }
        PixPtr image =
            straighten ? straightened(m_pages[page].get()) : PixPtr(pixClone(m_pages[page].get()));
        if (run.monitor->cancelled()) {
            throw cancelledError(); // straightening a large page takes a while
        }
        const PageWatch watch{[&run](int percent) { reportPercent(run, percent); },
                              [&run] {
                                  return run.monitor->cancelled();
                              }};
        std::optional<QString> text = readScreenPage(image.get(), code, m_engines, create, watch);
        if (!text) {
            throw cancelledError();
        }
        return *text;
    }

    static Error cancelledError() {
        return Error(RecognitionErrors::Cancelled,
                     QStringLiteral("The recognition was cancelled."));
    }

    std::vector<PixPtr> m_pages;
    EnginePool& m_engines;
    std::vector<QString> m_texts;
};

std::vector<PixPtr> readPages(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    l_int32 format = IFF_UNKNOWN;
    findFileFormat(name.constData(), &format);
    std::vector<PixPtr> pages;
    if (format == IFF_TIFF || format == IFF_TIFF_G4 || format == IFF_TIFF_LZW ||
        format == IFF_TIFF_ZIP || format == IFF_TIFF_PACKBITS || format == IFF_TIFF_RLE ||
        format == IFF_TIFF_G3 || format == IFF_TIFF_JPEG) {
        PixaPtr all(pixaReadMultipageTiff(name.constData()));
        const l_int32 count = all ? pixaGetCount(all.get()) : 0;
        for (l_int32 i = 0; i < count; ++i) {
            pages.emplace_back(pixaGetPix(all.get(), i, L_COPY));
        }
    } else if (format != IFF_UNKNOWN) {
        pages.emplace_back(pixRead(name.constData()));
    }
    std::erase_if(pages, [](const PixPtr& page) { return !page; });
    return pages;
}

class TesseractEngine final : public RecognitionEngine {
public:
    TesseractEngine() {
        // Failures are reported as errors of our own; Leptonica would print them too.
        setMsgSeverity(L_SEVERITY_NONE);
    }

    std::unique_ptr<RecognitionDocument> createDocument(const QString& path) override {
        const QFileInfo file(path);
        if (!file.isFile()) {
            throw Error(RecognitionErrors::FileNotFound,
                        QStringLiteral("The image file %1 does not exist.").arg(path));
        }
        if (!file.isReadable()) {
            throw Error(RecognitionErrors::NotAnImage,
                        QStringLiteral("The image file %1 cannot be read.").arg(path));
        }
        std::vector<PixPtr> pages = readPages(path);
        if (pages.empty()) {
            throw Error(
                RecognitionErrors::NotAnImage,
                QStringLiteral("%1 is not an image file that Tesseract can read.").arg(path));
        }
        return std::make_unique<TesseractDocument>(std::move(pages), m_engines);
    }

private:
    EnginePool m_engines;
};

} // namespace

} // namespace pellix

extern "C" __attribute__((visibility("default"))) pellix::RecognitionEngine*
pellix_create_recognition_engine() {
    return new pellix::TesseractEngine();
}
