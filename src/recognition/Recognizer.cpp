#include "recognition/Recognizer.h"

#include <QFile>

namespace pellix {

namespace {

// Closes the document however the run ends; errors of the close are ignored.
class DocumentGuard {
public:
    explicit DocumentGuard(std::unique_ptr<RecognitionDocument> document)
        : m_document(std::move(document)) {}
    ~DocumentGuard() {
        try {
            m_document->close();
        } catch (...) {
        }
    }
    DocumentGuard(const DocumentGuard&) = delete;
    DocumentGuard& operator=(const DocumentGuard&) = delete;

    RecognitionDocument* operator->() const { return m_document.get(); }

private:
    std::unique_ptr<RecognitionDocument> m_document;
};

} // namespace

RecognitionResult recognizeImageFile(RecognitionEngine& engine, const RecognitionRequest& request,
                                     RecognitionEvents& events) {
    RecognitionResult result;
    try {
        DocumentGuard document(engine.createDocument(
            request.fileName.isEmpty() ? QFile::encodeName(request.path) : request.fileName));
        events.documentCreated();
        document->OCR(request.languageId, request.orientImage, request.straightenImage, events);
        events.ocrDone();
        const int pages = document->pageCount();
        for (int page = 0; page < pages; ++page) {
            result.text += document->pageText(page);
        }
    } catch (const Error& error) {
        result.error = error;
    } catch (const std::exception& error) {
        result.error =
            Error(RecognitionErrors::RecognitionFailed, QString::fromLocal8Bit(error.what()));
    }
    if (result.cancelled()) {
        result.text.clear();
    }
    return result;
}

} // namespace pellix
