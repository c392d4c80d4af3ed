#include "recognition/RecognitionRun.h"

#include <QtConcurrent/QtConcurrentRun>

namespace pellix {

// Carries the worker's events to the owner's thread as queued calls; a call
// that arrives after the run is gone is dropped by Qt with its context object.
class RecognitionRun::Relay final : public RecognitionEvents {
public:
    Relay(RecognitionRun& run, const std::atomic<bool>& cancel) : m_run(run), m_cancel(cancel) {}

    void documentCreated() override {
        post([run = &m_run] { emit run->documentCreated(); });
    }
    void progress(int percent) override {
        post([run = &m_run, percent] { emit run->progressed(percent); });
    }
    void ocrDone() override {
        post([run = &m_run] { emit run->ocrDone(); });
    }
    bool cancelled() const override { return m_cancel.load(); }

    template <typename Call> void post(Call call) {
        QMetaObject::invokeMethod(&m_run, std::move(call), Qt::QueuedConnection);
    }

private:
    RecognitionRun& m_run;
    const std::atomic<bool>& m_cancel;
};

RecognitionRun::RecognitionRun(RecognitionEngine& engine, RecognitionRequest request,
                               QObject* parent)
    : QObject(parent), m_engine(engine), m_request(std::move(request)) {}

RecognitionRun::~RecognitionRun() {
    cancel();
    wait();
}

void RecognitionRun::start() {
    m_worker = QtConcurrent::run([this] {
        Relay relay(*this, m_cancel);
        RecognitionResult result = recognizeImageFile(m_engine, m_request, relay);
        relay.post([this, result = std::move(result)] { emit finished(result); });
    });
}

void RecognitionRun::cancel() {
    m_cancel.store(true);
}

void RecognitionRun::wait() {
    m_worker.waitForFinished();
}

} // namespace pellix
