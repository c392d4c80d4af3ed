// The recognition engine on Tesseract's LSTM recognizer, with Leptonica reading
// the image file and straightening the pages.
#include "platform/Error.h"
#include "platform/FileName.h"
#include "platform/RecognitionEngine.h"
#include "platform/tesseract/ImageFile.h"
#include "platform/tesseract/Leptonica.h"
#include "platform/tesseract/PageReader.h"
#include "platform/tesseract/ScreenText.h"
#include "platform/tesseract/TesseractLanguages.h"
#include "platform/tesseract/TesseractModule.h"
#include "platform/tesseract/ThreadCLocale.h"

#include <tesseract/baseapi.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <string>
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

QString shown(const QString& file) {
    return printableFileName(QFile::encodeName(file));
}

// Whether the data folder is the one the distribution's packages fill; a
// TESSDATA_PREFIX folder of the user's own is theirs to fill.
bool isDistributionFolder(const QString& folder) {
    return folder == QStringLiteral(PELLIX_TESSDATA_DIR) ||
           folder.startsWith(QStringLiteral("/usr/share/tesseract-ocr/"));
}

QString languageCode(std::int32_t languageId) {
    const QString code = tesseractLanguageCode(languageId, QLocale::system(), hasData);
    if (code.isEmpty()) {
        throw Error(RecognitionErrors::LanguageUnknown,
                    QStringLiteral("%1 is not a recognition language.").arg(languageId));
    }
    if (!hasData(code)) {
        if (!isDistributionFolder(dataFolder())) {
            throw Error(RecognitionErrors::LanguageDataMissing,
                        QStringLiteral("The Tesseract language data %1 is missing "
                                       "(TESSDATA_PREFIX names the folder %2).")
                            .arg(shown(dataFile(code)), shown(dataFolder())));
        }
        throw Error(RecognitionErrors::LanguageDataMissing,
                    QStringLiteral("The Tesseract language data %1 is missing. Install the "
                                   "package %2 (apt install %2).")
                        .arg(shown(dataFile(code)), debianLanguagePackage(code)));
    }
    return code;
}

// Tesseract reads a data file whole, and waits forever on a pipe.
void checkData(const QString& languages) {
    for (const QString& code : languages.split(QLatin1Char('+'))) {
        const QString problem = languageDataProblem(QFile::encodeName(dataFile(code)));
        if (!problem.isEmpty()) {
            throw Error(RecognitionErrors::LanguageDataMissing,
                        QStringLiteral("The Tesseract language data %1 %2")
                            .arg(shown(dataFile(code)), problem));
        }
    }
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

bool writtenInSyllablesOrIdeographs(const QString& code) {
    const QString first = code.section(QLatin1Char('+'), 0, 0);
    return first.startsWith(QStringLiteral("chi_")) || first == QStringLiteral("jpn") ||
           first == QStringLiteral("kor");
}

PixPtr straightened(PIX* page) {
    // The skew search runs on the full-size page, not a reduced copy, as
    // screen type is only 9 to 16 pixels high.
    l_float32 angle = 0;
    l_float32 confidence = 0;
    PixPtr deskewed(pixFindSkewAndDeskew(page, 1, &angle, &confidence));
    return deskewed ? std::move(deskewed) : PixPtr(pixClone(page));
}

void tuneForScreens(tesseract::TessBaseAPI& api) {
    // Dark grounds are turned light before the engine sees the page, so it
    // need not try every line inverted as well.
    api.SetVariable("tessedit_do_invert", "0");
    // Screens have no vertical text; a column of figures (the PIDs of ps)
    // taken for a vertical line is read as one word.
    api.SetVariable("textord_tabfind_vertical_text", "0");
    // Whether a line is set in fixed pitch is worked out word by word at
    // some cost and told the LSTM recognizer nothing: the same text comes
    // out, terminals included, 5 to 15 % sooner.
    api.SetVariable("textord_disable_pitch_test", "1");
}

EngineHandle loadEngine(const QByteArray& folder, const QByteArray& code) {
    auto api = std::make_unique<tesseract::TessBaseAPI>();
    // The library's notes ("Estimating resolution as ...", and while loading
    // "Please make sure the TESSDATA_PREFIX environment variable is set")
    // would land on our standard error; failures reach the caller as errors
    // instead. The setting is global, so it holds during Init already.
    api->SetVariable("debug_file", "/dev/null");
    // Chinese, Japanese and Korean screens carry English words, and the
    // recognizer tries the next language on a stretch of a line only when the
    // one before did not read it well. With the word lists in its search, a
    // Hangul word read in English capitals ("SAS") passes as a good reading
    // and English words pass in Hangul the other way round; without them each
    // stretch is read in both and the surer reading wins (a Korean manual
    // page: 218 -> 150 edits). Words of letters gain more from the lists than
    // they lose this way, so other languages keep them.
    std::vector<std::string> names, values;
    if (writtenInSyllablesOrIdeographs(QString::fromUtf8(code))) {
        names.emplace_back("lstm_use_matrix");
        values.emplace_back("0");
    }
    const bool started = api->Init(folder.constData(), code.constData(), tesseract::OEM_LSTM_ONLY,
                                   nullptr, 0, &names, &values, false) == 0;
    // Init succeeds when any language of "deu+eng" loads: a language whose
    // data is damaged would be left out without a word.
    std::vector<std::string> loaded;
    api->GetLoadedLanguagesAsVector(&loaded);
    for (const QString& language : QString::fromUtf8(code).split(QLatin1Char('+'))) {
        if (!started ||
            std::find(loaded.begin(), loaded.end(), language.toStdString()) == loaded.end()) {
            throw Error(RecognitionErrors::EngineUnavailable,
                        QStringLiteral("Tesseract could not load its language data %1.")
                            .arg(shown(dataFile(language))));
        }
    }
    tuneForScreens(*api);
    return api;
}

// An engine for layout analysis alone: it loads no language data, so it is
// ready at once.
EngineHandle loadLayoutEngine() {
    auto api = std::make_unique<tesseract::TessBaseAPI>();
    api->SetVariable("debug_file", "/dev/null");
    api->InitForAnalysePage();
    tuneForScreens(*api);
    return api;
}

class TesseractDocument final : public RecognitionDocument {
public:
    TesseractDocument(std::unique_ptr<ImageFile> file, PixPtr firstPage, EnginePool& engines,
                      EnginePool& englishEngines, EnginePool& ownEngines)
        : m_file(std::move(file)), m_firstPage(std::move(firstPage)), m_engines(engines),
          m_englishEngines(englishEngines), m_ownEngines(ownEngines) {}

    void OCR(std::int32_t languageId, bool /*orientImage*/, bool straightenImage,
             RecognitionMonitor& monitor) override {
        // Page orientation detection needs the separate osd data and is never asked for.
        const QString languages = withEnglish(languageCode(languageId));
        checkData(languages);
        const QByteArray code = languages.toUtf8();
        const QByteArray folder = dataFolder().toLocal8Bit();
        // Where English is read beside the language, the words read in its
        // letters without confidence are read again in English alone; and on
        // Cyrillic or Greek pages, the values of options read in English
        // letters are read again in the language alone.
        EnginePool::Factory createEnglish;
        EnginePool::Factory createOwn;
        const QByteArray own = code.left(code.indexOf('+'));
        if (languages.endsWith(QStringLiteral("+eng"))) {
            createEnglish = [folder] {
                return loadEngine(folder, QByteArrayLiteral("eng"));
            };
        }
        if (createEnglish && writtenInLettersWithTwins(QString::fromUtf8(own))) {
            createOwn = [folder, own] {
                return loadEngine(folder, own);
            };
        }
        const PageEngines engines{code,
                                  m_engines,
                                  [code, folder] { return loadEngine(folder, code); },
                                  {QByteArrayLiteral("eng"), m_englishEngines, createEnglish},
                                  {own, m_ownEngines, createOwn},
                                  loadLayoutEngine};
        ThreadCLocale cLocale;
        m_texts.clear();
        const int count = pageCount();
        PageRun run{&monitor, 0, count, -1};
        for (int page = 0; page < count; ++page) {
            run.page = page;
            m_texts.push_back(recognizePage(engines, page, straightenImage, run));
            reportPercent(run, 100);
        }
    }

    int pageCount() const override { return m_file ? m_file->pageCount() : 0; }

    QString pageText(int index) const override {
        return index >= 0 && index < static_cast<int>(m_texts.size()) ? m_texts[index] : QString();
    }

    void close() override {
        m_firstPage.reset();
        m_file.reset();
        m_texts.clear();
    }

private:
    QString recognizePage(const PageEngines& engines, int page, bool straighten, PageRun& run) {
        if (run.monitor->cancelled()) {
            throw cancelledError();
        }
        // Pages are decoded one at a time, so a file of many pages takes the
        // memory of one; the first was decoded when the file was opened.
        PixPtr decoded = page == 0 && m_firstPage ? std::move(m_firstPage) : m_file->readPage(page);
        PixPtr image = straighten ? straightened(decoded.get()) : std::move(decoded);
        decoded.reset();
        if (run.monitor->cancelled()) {
            throw cancelledError(); // straightening a large page takes a while
        }
        const PageWatch watch{[&run](int percent) { reportPercent(run, percent); },
                              [&run] {
                                  return run.monitor->cancelled();
                              }};
        std::optional<QString> text = readScreenPage(image.get(), engines, watch);
        if (!text) {
            throw cancelledError();
        }
        return *text;
    }

    static Error cancelledError() {
        return Error(RecognitionErrors::Cancelled,
                     QStringLiteral("The recognition was cancelled."));
    }

    std::unique_ptr<ImageFile> m_file;
    PixPtr m_firstPage;
    EnginePool& m_engines;
    EnginePool& m_englishEngines;
    EnginePool& m_ownEngines;
    std::vector<QString> m_texts;
};

class TesseractEngine final : public RecognitionEngine {
public:
    TesseractEngine() {
        // Failures are reported as errors of our own; Leptonica would print them too.
        setMsgSeverity(L_SEVERITY_NONE);
    }

    std::unique_ptr<RecognitionDocument> createDocument(const QByteArray& fileName) override {
        auto file = std::make_unique<ImageFile>(fileName);
        // A file that is no image at all fails here, before any recognition.
        PixPtr firstPage = file->readPage(0);
        return std::make_unique<TesseractDocument>(std::move(file), std::move(firstPage), m_engines,
                                                   m_englishEngines, m_ownEngines);
    }

private:
    EnginePool m_engines;
    EnginePool m_englishEngines; // for the words read again in English
    EnginePool m_ownEngines;     // and for those read again in the language alone
};

} // namespace

} // namespace pellix

extern "C" __attribute__((visibility("default"))) pellix::RecognitionEngine*
pellix_create_recognition_engine() {
    return new pellix::TesseractEngine();
}
