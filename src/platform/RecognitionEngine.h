#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>

namespace pellix {

// Numbers of the errors that recognition raises.
namespace RecognitionErrors {
constexpr int FileNotFound = 53;
constexpr int NotAnImage = 321;
constexpr int LanguageUnknown = 1101;
constexpr int LanguageDataMissing = 1102;
constexpr int EngineUnavailable = 1103;
constexpr int RecognitionFailed = 1104;
constexpr int Cancelled = 1105;
constexpr int ImageTooLarge = 1106;
} // namespace RecognitionErrors

// Receives what a running recognition reports. Both calls come on the thread
// that runs the recognition, never on the user-interface thread by themselves.
class RecognitionMonitor {
public:
    virtual ~RecognitionMonitor() = default;

    // Percent done, 0 to 100; reaches 100 when the engine has finished.
    virtual void progress(int percent) = 0;
    // Polled during the run; true stops it as soon as the engine looks again.
    virtual bool cancelled() const = 0;
};

// One image file opened for recognition. A document belongs to the thread that
// runs OCR on it; close() (or destruction) releases everything it holds.
class RecognitionDocument {
public:
    virtual ~RecognitionDocument() = default;

    // Recognizes every page. `languageId` is a value of the language table;
    // throws pellix::Error when the language has no data, the engine cannot
    // start or the run is cancelled.
    virtual void OCR(std::int32_t languageId, bool orientImage, bool straightenImage,
                     RecognitionMonitor& monitor) = 0;
    virtual int pageCount() const = 0;
    // The recognized text of one page, zero-based; empty before OCR.
    virtual QString pageText(int index) const = 0;
    virtual void close() = 0;
};

// Opens documents. The engine itself may be shared between threads; the
// documents it creates may not.
class RecognitionEngine {
public:
    virtual ~RecognitionEngine() = default;

    // `fileName` is the name as the system spells it (QFile::encodeName of a
    // path), so that names which are not UTF-8 can be read too. Throws
    // pellix::Error when the file is missing, unreadable, not an image, or has
    // a page too large to read.
    virtual std::unique_ptr<RecognitionDocument> createDocument(const QByteArray& fileName) = 0;
};

} // namespace pellix
