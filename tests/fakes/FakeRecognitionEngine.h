#pragma once

#include "platform/Error.h"
#include "platform/RecognitionEngine.h"

#include <QFile>
#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace pellix {

// Lets a test hold the worker thread at each step of a fake run and release
// the steps one by one; a cancelled run is let go at once.
class StepGate {
public:
    void enable() { m_enabled = true; }
    void open(int steps = 1) {
        std::scoped_lock lock(m_mutex);
        m_permits += steps;
        m_changed.notify_all();
    }
    void pass(const RecognitionMonitor* monitor) {
        if (!m_enabled) {
            return;
        }
        std::unique_lock lock(m_mutex);
        while (m_permits == 0 && !(monitor != nullptr && monitor->cancelled())) {
            m_changed.wait_for(lock, std::chrono::milliseconds(5));
        }
        if (m_permits > 0) {
            --m_permits;
        }
    }

private:
    bool m_enabled = false;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_permits = 0;
};

// An engine whose pages, progress steps and failures the test sets up, and
// which records what it was asked.
class FakeRecognitionEngine : public RecognitionEngine {
public:
    struct OcrCall {
        QString path;
        std::int32_t languageId;
        bool orientImage;
        bool straightenImage;
    };

    // Set up before the run.
    QStringList pages;
    std::vector<int> progressSteps{25, 50, 100};
    std::optional<Error> createError;
    std::optional<Error> ocrError;
    std::optional<int> failingPage; // pageText of this page throws pageError
    Error pageError{RecognitionErrors::RecognitionFailed, QStringLiteral("page failed")};
    StepGate gate;
    // Called on the worker thread with the file a run reads.
    std::function<void(const QString&)> onCreate;

    // Recorded during the run.
    std::vector<OcrCall> calls;
    int closed = 0;
    bool sawCancel = false;

    std::unique_ptr<RecognitionDocument> createDocument(const QByteArray& fileName) override {
        const QString path = QFile::decodeName(fileName);
        if (onCreate) {
            onCreate(path);
        }
        if (createError) {
            throw *createError;
        }
        return std::make_unique<Document>(*this, path);
    }

private:
    class Document : public RecognitionDocument {
    public:
        Document(FakeRecognitionEngine& engine, QString path)
            : m_engine(engine), m_path(std::move(path)) {}

        void OCR(std::int32_t languageId, bool orientImage, bool straightenImage,
                 RecognitionMonitor& monitor) override {
            m_engine.calls.push_back({m_path, languageId, orientImage, straightenImage});
            m_monitor = &monitor;
            m_engine.gate.pass(m_monitor);
            for (int percent : m_engine.progressSteps) {
                if (monitor.cancelled()) {
                    m_engine.sawCancel = true;
                    throw Error(RecognitionErrors::Cancelled, QStringLiteral("cancelled"));
                }
                monitor.progress(percent);
                m_engine.gate.pass(m_monitor);
            }
            if (monitor.cancelled()) {
                m_engine.sawCancel = true;
                throw Error(RecognitionErrors::Cancelled, QStringLiteral("cancelled"));
            }
            if (m_engine.ocrError) {
                throw *m_engine.ocrError;
            }
        }
        int pageCount() const override { return static_cast<int>(m_engine.pages.size()); }
        QString pageText(int index) const override {
            if (index == 0) {
                m_engine.gate.pass(m_monitor);
            }
            if (m_engine.failingPage == index) {
                throw m_engine.pageError;
            }
            return m_engine.pages.value(index);
        }
        void close() override { ++m_engine.closed; }

    private:
        FakeRecognitionEngine& m_engine;
        QString m_path;
        RecognitionMonitor* m_monitor = nullptr;
    };
};

} // namespace pellix
