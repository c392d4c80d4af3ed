#pragma once

#include "recognition/Recognizer.h"

#include <QFuture>
#include <QObject>

#include <atomic>

namespace pellix {

// One recognition on a worker thread. Its steps come back as signals on the
// thread that owns the run (the user-interface thread), in the order they
// happened; `finished` is the last. Destroying a run cancels it and waits for
// the worker, which stops at the engine's next look at the cancel flag.
class RecognitionRun : public QObject {
    Q_OBJECT
public:
    RecognitionRun(RecognitionEngine& engine, RecognitionRequest request,
                   QObject* parent = nullptr);
    ~RecognitionRun() override;

    void start();
    void cancel();
    // Blocks until the worker has returned; the signals it queued still arrive
    // through the event loop, unless the run is destroyed first.
    void wait();

signals:
    void documentCreated();
    void progressed(int percent);
    void ocrDone();
    void finished(const pellix::RecognitionResult& result);

private:
    class Relay;

    RecognitionEngine& m_engine;
    RecognitionRequest m_request;
    std::atomic<bool> m_cancel{false};
    QFuture<void> m_worker;
};

} // namespace pellix
