#pragma once

#include "recognition/Recognizer.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

class QWidget;

namespace pellix {

class Clipboard;
class MMonitors;
class RecognitionRun;
class Windowing;
class fOCR;

// The Recognize button's work: one run at a time on a worker thread, its steps
// on the status line, the text on the clipboard and in the result window
// `fOCR`, which it owns. Failures are reported in a message box.
class RecognitionController : public QObject {
    Q_OBJECT
public:
    // `mainWindow` is the window whose monitor the result window is centred on.
    RecognitionController(RecognitionEngine& engine, Clipboard& clipboard, Windowing& windowing,
                          MMonitors& monitors, const QWidget& mainWindow);
    // Cancels a run under way and waits for its worker.
    ~RecognitionController() override;

    // Starts a run on the image file unless one is under way. `showResult` is
    // "Show result" as it was when Recognize was pressed.
    void recognize(const RecognitionRequest& request, bool showResult);
    bool running() const { return m_ModiDoc != nullptr; }

    // Cancels a run under way; nothing of it is reported afterwards.
    void cancel();
    // Cancels a run under way and unloads the result window.
    void unload();

    fOCR& resultWindow() { return *m_fOCR; }

signals:
    // The status line's new text.
    void statusChanged(const QString& text);
    // A run started (true) or ended (false). Not sent for a cancelled run.
    void runningChanged(bool running);

private:
    void Recognize_ImageFile(const QString& path, std::int32_t languageId, bool straightenImage,
                             bool orientImage);
    void m_ModiDoc_OnOCRProgress(int progress);
    void recognizeFinished(const RecognitionResult& result);
    void showResult(const QString& text);
    void setStatus(const QString& text);

    RecognitionEngine& m_engine;
    Clipboard& m_clipboard;
    Windowing& m_windowing;
    MMonitors& m_monitors;
    const QWidget& m_mainWindow;
    std::unique_ptr<fOCR> m_fOCR;
    // The recognition under way; empty between runs.
    RecognitionRun* m_ModiDoc = nullptr;
    bool m_showResultOfRun = true;
    QString m_status;
};

} // namespace pellix
