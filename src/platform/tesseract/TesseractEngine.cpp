// The recognition engine on Tesseract's LSTM recognizer, with Leptonica reading
// the image file and straightening the pages.
#include "platform/Error.h"
#include "platform/RecognitionEngine.h"
#include "platform/tesseract/TesseractLanguages.h"
#include "platform/tesseract/TesseractModule.h"

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <locale.h>
#include <vector>

namespace pellix {

namespace {

struct PixDeleter {
    void operator()(PIX* pix) const { pixDestroy(&pix); }
};
using PixPtr = std::unique_ptr<PIX, PixDeleter>;

struct PixaDeleter {
    void operator()(PIXA* pixa) const { pixaDestroy(&pixa); }
};
using PixaPtr = std::unique_ptr<PIXA, PixaDeleter>;

struct TextDeleter {
    void operator()(char* text) const { delete[] text; }
};
using TextPtr = std::unique_ptr<char, TextDeleter>;

// The engine's configuration files hold decimal numbers that it reads with the
// C library, so it must run in the C locale. uselocale() switches only this
// thread, leaving the user-interface thread in the user's locale.
class ThreadCLocale {
public:
    ThreadCLocale() : m_c(newlocale(LC_ALL_MASK, "C", nullptr)) {
        if (m_c != nullptr) {
            m_previous = uselocale(m_c);
        }
    }
    ~ThreadCLocale() {
        if (m_c != nullptr) {
            uselocale(m_previous);
            freelocale(m_c);
        }
    }
    ThreadCLocale(const ThreadCLocale&) = delete;
    ThreadCLocale& operator=(const ThreadCLocale&) = delete;

private:
    locale_t m_c;
    locale_t m_previous = LC_GLOBAL_LOCALE;
};

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

// Tesseract reports its own progress from 0 to about 70 with the LSTM engine
// alone, as the second pass never runs; scaled so a finished page reads 100.
constexpr int EngineProgressAtEnd = 70;

struct PageRun {
    RecognitionMonitor* monitor;
    int page;
    int pageCount;
    int lastReported;
};

// Both callbacks run on the thread that called Recognize.
bool cancelRequested(void* context, int /*words*/) {
    return static_cast<PageRun*>(context)->monitor->cancelled();
}

void reportPercent(PageRun& run, int pagePercent) {
    const int overall = (run.page * 100 + std::clamp(pagePercent, 0, 100)) / run.pageCount;
    if (overall > run.lastReported) {
        run.lastReported = overall;
        run.monitor->progress(overall);
    }
}

bool progressChanged(tesseract::ETEXT_DESC* desc, int, int, int, int) {
    auto* run = static_cast<PageRun*>(desc->cancel_this);
    reportPercent(*run, desc->progress * 100 / EngineProgressAtEnd);
    return true;
}

PixPtr straightened(PIX* page) {
    // The skew search runs on the full-size page, not a reduced copy, as
    // screen type is only 9 to 16 pixels high.
    l_float32 angle = 0;
    l_float32 confidence = 0;
    PixPtr deskewed(pixFindSkewAndDeskew(page, 1, &angle, &confidence));
    return deskewed ? std::move(deskewed) : PixPtr(pixClone(page));
}

class TesseractDocument final : public RecognitionDocument {
public:
    explicit TesseractDocument(std::vector<PixPtr> pages) : m_pages(std::move(pages)) {}

    void OCR(std::int32_t languageId, bool /*orientImage*/, bool straightenImage,
             RecognitionMonitor& monitor) override {
        // Page orientation detection needs the separate osd data and is never asked for.
        const QByteArray code = languageCode(languageId).toUtf8();
        const QByteArray folder = dataFolder().toLocal8Bit();
        ThreadCLocale cLocale;
        tesseract::TessBaseAPI api;
        if (api.Init(folder.constData(), code.constData(), tesseract::OEM_LSTM_ONLY) != 0) {
            throw Error(RecognitionErrors::EngineUnavailable,
                        QStringLiteral("Tesseract could not load its language data %1.")
                            .arg(dataFile(QString::fromUtf8(code))));
        }
        // The library's notes ("Estimating resolution as ...") would land on
        // our standard error; failures reach the caller as errors instead.
        api.SetVariable("debug_file", "/dev/null");
        m_texts.clear();
        const int count = static_cast<int>(m_pages.size());
        PageRun run{&monitor, 0, count, -1};
        for (int page = 0; page < count; ++page) {
            run.page = page;
            m_texts.push_back(recognizePage(api, page, straightenImage, run));
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
    QString recognizePage(tesseract::TessBaseAPI& api, int page, bool straighten, PageRun& run) {
        if (run.monitor->cancelled()) {
            throw cancelledError();
        }
        PixPtr image =
            straighten ? straightened(m_pages[page].get()) : PixPtr(pixClone(m_pages[page].get()));
        if (run.monitor->cancelled()) {
            throw cancelledError(); // straightening a large page takes a while
        }
        // Screens hold several blocks of text (menus, panels, buttons); the
        // library's default treats a page as one block and drops the rest.
        api.SetPageSegMode(tesseract::PSM_AUTO);
        api.SetImage(image.get());
        tesseract::ETEXT_DESC desc;
        desc.cancel = cancelRequested;
        desc.cancel_this = &run;
        desc.progress_callback2 = progressChanged;
        const int status = api.Recognize(&desc);
        if (run.monitor->cancelled()) {
            throw cancelledError();
        }
        if (status != 0) {
            throw Error(RecognitionErrors::RecognitionFailed,
                        QStringLiteral("Tesseract could not recognize page %1.").arg(page + 1));
        }
        TextPtr text(api.GetUTF8Text());
        return text ? QString::fromUtf8(text.get()) : QString();
    }

    static Error cancelledError() {
        return Error(RecognitionErrors::Cancelled,
                     QStringLiteral("The recognition was cancelled."));
    }

    std::vector<PixPtr> m_pages;
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
        return std::make_unique<TesseractDocument>(std::move(pages));
    }
};

} // namespace

} // namespace pellix

extern "C" __attribute__((visibility("default"))) pellix::RecognitionEngine*
pellix_create_recognition_engine() {
    return new pellix::TesseractEngine();
}
