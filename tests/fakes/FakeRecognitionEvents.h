#pragma once

#include "recognition/Recognizer.h"

#include <QStringList>

namespace pellix {

// Writes each step of a run down as a line, in order.
class FakeRecognitionEvents : public RecognitionEvents {
public:
    QStringList steps;
    bool cancelRequested = false;

    void documentCreated() override { steps << QStringLiteral("created"); }
    void ocrDone() override { steps << QStringLiteral("done"); }
    void progress(int percent) override { steps << QString::number(percent); }
    bool cancelled() const override { return cancelRequested; }
};

} // namespace pellix
