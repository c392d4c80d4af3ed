#pragma once

#include "platform/Error.h"
#include "platform/RecognitionEngine.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace pellix {

struct RecognitionRequest {
    QString path;
    std::int32_t languageId = 9;
    bool straightenImage = false;
    bool orientImage = false;
    // The name as the system spells it, for names a QString cannot hold (not
    // UTF-8); when empty, `path` is read.
    QByteArray fileName = {};
};

// What a run gives back: the text collected, and the error that stopped it.
// After an error the text holds the pages read before it; a cancelled run
// carries the cancel error and no text.
struct RecognitionResult {
    QString text;
    std::optional<Error> error;

    bool cancelled() const { return error && error->number() == RecognitionErrors::Cancelled; }
};

// The steps of a run as they happen, on the thread that runs it.
class RecognitionEvents : public RecognitionMonitor {
public:
    virtual void documentCreated() = 0;
    virtual void ocrDone() = 0;
};

// Opens the image file, recognizes it and joins the text of all pages with
// nothing in between. Never throws; the document is closed on every path.
// The Recognize button and the pellix-ocr command both go through here.
RecognitionResult recognizeImageFile(RecognitionEngine& engine, const RecognitionRequest& request,
                                     RecognitionEvents& events);

} // namespace pellix
