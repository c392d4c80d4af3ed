#include "recognition/RecognitionController.h"

#include "monitors/MMonitors.h"
#include "platform/Clipboard.h"
#include "platform/Error.h"
#include "platform/Windowing.h"
#include "recognition/RecognitionRun.h"
#include "recognition/ResultPlacement.h"
#include "recognition/fOCR.h"

#include <QWidget>

namespace pellix {

namespace {

const char* const NotInstalledStatus = "Problem. Tesseract is not properly installed.";
const char* const NoTextStatus = "Done. No characters were recognized in the image.";

QString problemMessage(const QString& systemMessage) {
    return QStringLiteral("System message: ") + systemMessage +
           QStringLiteral("\r\n\r\n(1) Tesseract is not properly installed.\r\n"
                          "(2) Press [Help] button and read details for the proper Tesseract "
                          "installation.");
}

} // namespace

RecognitionController::RecognitionController(RecognitionEngine& engine, Clipboard& clipboard,
                                             Windowing& windowing, MMonitors& monitors,
                                             const QWidget& mainWindow)
    : m_engine(engine), m_clipboard(clipboard), m_windowing(windowing), m_monitors(monitors),
      m_mainWindow(mainWindow), m_fOCR(std::make_unique<fOCR>()) {}

RecognitionController::~RecognitionController() {
    cancel();
}

void RecognitionController::recognize(const RecognitionRequest& request, bool showResult) {
    if (running()) {
        return;
    }
    m_showResultOfRun = showResult;
    Recognize_ImageFile(request.path, request.languageId, request.straightenImage,
                        request.orientImage);
}

void RecognitionController::Recognize_ImageFile(const QString& path, std::int32_t languageId,
                                                bool straightenImage, bool orientImage) {
    m_ModiDoc =
        new RecognitionRun(m_engine, {path, languageId, straightenImage, orientImage}, this);
    connect(m_ModiDoc, &RecognitionRun::documentCreated, this,
            [this] { setStatus(QStringLiteral("Tesseract document is created.")); });
    connect(m_ModiDoc, &RecognitionRun::progressed, this,
            [this](int percent) { m_ModiDoc_OnOCRProgress(percent); });
    connect(m_ModiDoc, &RecognitionRun::ocrDone, this,
            [this] { setStatus(QStringLiteral("OCR is done.")); });
    connect(m_ModiDoc, &RecognitionRun::finished, this,
            [this](const RecognitionResult& result) { recognizeFinished(result); });
    emit runningChanged(true);
    m_ModiDoc->start();
}

void RecognitionController::m_ModiDoc_OnOCRProgress(int progress) {
    setStatus(QStringLiteral("%1 %").arg(progress));
}

void RecognitionController::recognizeFinished(const RecognitionResult& result) {
    // The run's signal is still being delivered, so the run goes later.
    m_ModiDoc->deleteLater();
    m_ModiDoc = nullptr;
    emit runningChanged(false);

    // Tesseract answers a page without characters with a bare line break.
    if (!result.text.trimmed().isEmpty()) {
        m_clipboard.clear();
        m_clipboard.setText(result.text);
        setStatus(QStringLiteral("Done. Recognized [%1] characters are stored in Clipboard.")
                      .arg(result.text.size()));
        if (m_showResultOfRun) {
            try {
                showResult(result.text);
            } catch (const Error& error) {
                // The text is on the clipboard all the same; say why no window came.
                setStatus(m_status + QStringLiteral(" ") + error.description());
            }
        }
    } else if (!result.error) {
        // The engine ran and found nothing: the installation is fine and the
        // captured image stays on the clipboard.
        setStatus(QString::fromLatin1(NoTextStatus));
    } else {
        setStatus(QString::fromLatin1(NotInstalledStatus));
        m_windowing.messageBox(problemMessage(result.error->description()),
                               MsgBoxStyle::Exclamation, QStringLiteral("Pellix"));
    }
    m_windowing.beep();
}

void RecognitionController::showResult(const QString& text) {
    const CMonitor& record = m_monitors.Monitors().Item(
        QString::number(m_monitors.MonitorIndexFromWindow(m_mainWindow)));
    const QRect monitor(record.Left(), record.Top(), record.Width(), record.Height());
    m_fOCR->SetText(text);
    const double twipsX = m_windowing.twipsPerPixelX();
    const double twipsY = m_windowing.twipsPerPixelY();
    // Not framed yet, the window will be framed as the main window was.
    const QSize outer =
        FramePlacer::framed(*m_fOCR)
            ? m_fOCR->frameGeometry().size()
            : m_fOCR->size() + m_mainWindow.frameGeometry().size() - m_mainWindow.size();
    m_fOCR->showPlaced(
        [monitor, twipsX, twipsY](const QSize& frame) {
            const QSize frameTwips(static_cast<int>(frame.width() * twipsX),
                                   static_cast<int>(frame.height() * twipsY));
            return centredWindowPosition(monitor, frameTwips, twipsX, twipsY);
        },
        outer);
}

void RecognitionController::setStatus(const QString& text) {
    m_status = text;
    emit statusChanged(text);
}

void RecognitionController::cancel() {
    // Destroying the run cancels it, waits for its worker and drops what it
    // still had queued for us.
    delete m_ModiDoc;
    m_ModiDoc = nullptr;
}

void RecognitionController::unload() {
    cancel();
    m_fOCR->Form_Unload();
}

} // namespace pellix
