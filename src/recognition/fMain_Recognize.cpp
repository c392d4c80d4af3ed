// The Recognize button of the main window: the run goes to a worker thread,
// and its steps come back here, on the user-interface thread, to the status
// line, the clipboard and the result window.
#include "app/fMain.h"
#include "imageio/mImage.h"
#include "recognition/RecognitionRun.h"
#include "recognition/ResultPlacement.h"
#include "recognition/fOCR.h"
#include "scrollview/PictureBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

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

void fMain::cmdRecognize_Click() {
    if (m_ModiDoc != nullptr) {
        return;
    }
    // Every control is read now: changing one during the run must not change the run.
    const bool StraightenImage = chkDeskewImage->checkState() != Qt::Unchecked;
    m_showResultOfRun = chkShowResult->checkState() != Qt::Unchecked;
    const int index = Combo1->currentIndex();
    const std::int32_t languageId = index >= 0 && index < LanguageSlots ? m_LangID[index] : 0;
    Recognize_ImageFile(pictureFile(), languageId, StraightenImage, false);
}

// The image file, unless a save failed and it holds another picture than the
// view: then the view's picture, written losslessly for this run. An image
// edited with Edit Image is recognised as it is in the file.
QString fMain::pictureFile() {
    m_unsavedPicture.reset();
    if (m_fileHoldsPicture) {
        return m_ImagePath;
    }
    auto folder = std::make_unique<QTemporaryDir>();
    const QString path = folder->filePath(QStringLiteral("picture.png"));
    try {
        mImage::Save_Picture(m_services.encoder, Picture1->picture(), path,
                             mImage::PictureFormat::Png, 0, 24, 0);
    } catch (const Error&) {
        return m_ImagePath; // no room for it either: the file is all there is
    }
    m_unsavedPicture = std::move(folder);
    return path;
}

void fMain::Recognize_ImageFile(const QString& path, std::int32_t languageId, bool StraightenImage,
                                bool OrientImage) {
    m_ModiDoc = new RecognitionRun(m_services.recognition,
                                   {path, languageId, StraightenImage, OrientImage}, this);
    connect(m_ModiDoc, &RecognitionRun::documentCreated, this,
            [this] { Label1->setText(QStringLiteral("Tesseract document is created.")); });
    connect(m_ModiDoc, &RecognitionRun::progressed, this,
            [this](int percent) { m_ModiDoc_OnOCRProgress(percent); });
    connect(m_ModiDoc, &RecognitionRun::ocrDone, this,
            [this] { Label1->setText(QStringLiteral("OCR is done.")); });
    connect(m_ModiDoc, &RecognitionRun::finished, this,
            [this](const RecognitionResult& result) { Recognize_Finished(result); });
    setRecognitionRunning(true);
    m_ModiDoc->start();
}

void fMain::m_ModiDoc_OnOCRProgress(int Progress) {
    Label1->setText(QStringLiteral("%1 %").arg(Progress));
}

void fMain::Recognize_Finished(const RecognitionResult& result) {
    // The run's signal is still being delivered, so the run goes later.
    m_ModiDoc->deleteLater();
    m_ModiDoc = nullptr;
    m_unsavedPicture.reset();
    setRecognitionRunning(false);

    // Tesseract answers a page without characters with a bare line break.
    if (!result.text.trimmed().isEmpty()) {
        m_services.clipboard.clear();
        m_services.clipboard.setText(result.text);
        Label1->setText(QStringLiteral("Done. Recognized [%1] characters are stored in Clipboard.")
                            .arg(result.text.size()));
        if (m_showResultOfRun) {
            try {
                showResult(result.text);
            } catch (const Error& error) {
                // The text is on the clipboard all the same; say why no window came.
                Label1->setText(Label1->text() + QStringLiteral(" ") + error.description());
            }
        }
    } else if (!result.error) {
        // The engine ran and found nothing: the installation is fine and the
        // captured image stays on the clipboard.
        Label1->setText(QString::fromLatin1(NoTextStatus));
    } else {
        Label1->setText(QString::fromLatin1(NotInstalledStatus));
        m_services.windowing.messageBox(problemMessage(result.error->description()),
                                        MsgBoxStyle::Exclamation, QStringLiteral("Pellix"));
    }
    m_services.windowing.beep();
}

void fMain::showResult(const QString& text) {
    MMonitors& monitors = m_services.monitors;
    const CMonitor& record =
        monitors.Monitors().Item(QString::number(monitors.MonitorIndexFromWindow(*this)));
    const QRect monitor(record.Left(), record.Top(), record.Width(), record.Height());
    m_fOCR->SetText(text);
    const double twipsX = m_services.windowing.twipsPerPixelX();
    const double twipsY = m_services.windowing.twipsPerPixelY();
    QSize outer = m_fOCR->frameGeometry().size();
    if (outer == m_fOCR->size()) {
        // Not framed yet: the window manager will frame it as it framed this window.
        outer += frameGeometry().size() - size();
    }
    m_fOCR->showPlaced(
        [monitor, twipsX, twipsY](const QSize& frame) {
            const QSize frameTwips(static_cast<int>(frame.width() * twipsX),
                                   static_cast<int>(frame.height() * twipsY));
            return centredWindowPosition(monitor, frameTwips, twipsX, twipsY);
        },
        outer);
}

// Another capture or recognition while this one runs would pull the image
// file or the status line from under it.
void fMain::setRecognitionRunning(bool running) {
    cmdRecognize->setEnabled(!running);
    for (int index = 1; index <= 3; ++index) {
        cmdCapture[index]->setEnabled(!running);
    }
}

void fMain::cancelRecognition() {
    delete m_ModiDoc;
    m_ModiDoc = nullptr;
}

} // namespace pellix
