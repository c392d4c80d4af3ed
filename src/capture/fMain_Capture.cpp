// The capture commands of the main window: hiding it, the key chord and its
// time-out, the countdown, and the three kinds of capture.
#include "app/fMain.h"

#include "capture/fCapture.h"
#include "capture/mKbHook.h"
#include "monitors/OverlayPlacement.h"
#include "platform/Error.h"
#include "platform/qt/PictureBox.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <cmath>

namespace pellix {

namespace {

constexpr std::int16_t CaptureRegion = 1;
constexpr std::int16_t CaptureDesktop = 2;
constexpr std::int16_t CaptureWindow = 3;

const char* const Title = "Pellix";
const char* const ChordInstructions =
    "When you are ready to capture an image,\r\n"
    "Press [Control + Shift] together until mouse pointer [+] shows.\r\n"
    "Press [Escape] if want to cancel the operation.";
const char* const CountdownText = "You have 3 seconds for selecting a window.\r\n"
                                  "The selected window image will be captured in 3 seconds.";
const char* const TimeoutText = "Windows Capture is canceleda (>10 seconds).";
const char* const GrabFailedText = "Nothing captured: %1";

} // namespace

void fMain::connectCaptureHandlers() {
    for (std::int16_t index = CaptureRegion; index <= CaptureWindow; ++index) {
        connect(cmdCapture[index], &QPushButton::clicked, this,
                [this, index] { cmdCapture_Click(index); });
    }
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

// Once, at start-up: monitors that come or go later are not followed.
void fMain::placeOverlay() {
    const QRect pixels = overlayPlacement(m_services.monitors);
    m_overlayPixels = pixels;
    // The monitors count physical pixels; windows are placed in the toolkit's units.
    const qreal ratio = m_fCapture->devicePixelRatioF();
    const QRectF place(pixels.x() / ratio, pixels.y() / ratio, pixels.width() / ratio,
                       pixels.height() / ratio);
    m_fCapture->setGeometry(place.toAlignedRect());
    m_fCapture->Shape1->hide();
    m_fCapture->Label1->hide();
    m_fCapture->hide();
}

// A picture that cannot be saved ends the capture and the window comes back as
// usual; the status line must not go on claiming the last capture was stored.
void fMain::reportSaveFailure(const Error& error) {
    Label1->setText(error.description());
    Label1->setToolTip(error.detail());
}

// The old picture stays until a region is accepted, so a cancelled selection
// leaves the view as it was.
PictureBox& fMain::capturePicture() {
    Clear_Image();
    return *Picture1;
}

void fMain::cmdCapture_Click(std::int16_t Index) {
    m_CaptureType = Index;
    Windowing& windowing = m_services.windowing;
    if (chkControlShift->isChecked()) {
        windowing.messageBox(QString::fromLatin1(ChordInstructions), MsgBoxStyle::Information,
                             QString::fromLatin1(Title));
        Hide_Form();
        m_chordWaitStarted = windowing.seconds();
        Timer1->start(CaptureTimeoutMs);
        // A hook still waiting from an earlier command is let go first, so
        // that there is never more than one.
        mKbHook::RemoveKbHook();
        mKbHook::InstallKbHook(this, m_services.keys);
        return;
    }
    Hide_Form();
    if (m_CaptureType == CaptureWindow) {
        windowing.messageBox(QString::fromLatin1(CountdownText), MsgBoxStyle::Information,
                             QString::fromLatin1(Title));
        float countdown = 3.0F;
        Wait_Seconds(countdown);
    }
    DoCapture(true);
    Show_Form();
}

// Hidden rather than moved away: a window manager may refuse or clamp a move
// off the screen, which would put this window into its own capture.
void fMain::Hide_Form() {
    if (m_HiddenAt || !isVisible()) {
        return;
    }
    // Where the window itself stands: its frame is gone once it is hidden.
    m_HiddenAt = geometry().topLeft();
    hide();
    float repaint = 0.1F;
    Wait_Seconds(repaint);
}

void fMain::Show_Form() {
    if (m_fCapture && m_fCapture->isVisible()) {
        return; // a region selection is under way; the overlay calls again when it ends
    }
    m_services.windowing.doEvents();
    Timer1->stop();
    if (m_HiddenAt) {
        // A window manager places a window that comes back by its own rules
        // unless the position is asked for explicitly (USPosition), as the
        // native window's own position does.
        const QPoint place = *m_HiddenAt;
        m_HiddenAt.reset();
        if (QWindow* handle = windowHandle()) {
            handle->setPosition(place);
        }
        show();
    }
    m_services.windowing.beep();
    raise();
    activateWindow();
}

void fMain::DoCapture(bool bCapture) {
    mKbHook::RemoveKbHook();
    if (bCapture) {
        // The chord has been seen: the time-out must not break into the capture.
        Timer1->stop();
        try {
            switch (m_CaptureType) {
            case CaptureRegion:
                Capture_Region();
                break;
            case CaptureDesktop:
                Capture_Desktop();
                break;
            case CaptureWindow:
                Capture_Window();
                break;
            default:
                break;
            }
        } catch (const Error& error) {
            reportSaveFailure(error);
        }
    }
    Show_Form();
}

void fMain::Image_Captured() {
    try {
        Image2FileAndClipboard();
    } catch (const Error& error) {
        reportSaveFailure(error);
    }
}

void fMain::Timer1_Timer() {
    // Stopped first: a second tick must not stack another message on this one.
    Timer1->stop();
    // Timers may fire a little early; the user gets every one of the 20 seconds.
    const double left =
        CaptureTimeoutMs / 1000.0 - (m_services.windowing.seconds() - m_chordWaitStarted);
    if (left > 0) {
        Timer1->start(static_cast<int>(std::ceil(left * 1000.0)));
        return;
    }
    m_services.windowing.messageBox(QString::fromLatin1(TimeoutText), MsgBoxStyle::Information,
                                    QString::fromLatin1(Title));
    DoCapture(false);
    Timer1->stop();
}

// Sleeps on the event loop, so that other events run meanwhile and no core spins.
void fMain::Wait_Seconds(float& seconds) {
    Windowing& windowing = m_services.windowing;
    const double start = windowing.seconds();
    for (;;) {
        const double elapsed = windowing.seconds() - start;
        if (elapsed >= static_cast<double>(seconds)) {
            return;
        }
        windowing.waitEvents(static_cast<double>(seconds) - elapsed);
    }
}

// The picture, the image file and the clipboard keep the last good image.
bool fMain::grabFailed(const GrabResult& grab) {
    if (grab.ok()) {
        return false;
    }
    Label1->setText(QString::fromLatin1(GrabFailedText).arg(grab.error));
    return true;
}

// The current picture stays until a region is taken: Escape or a slip of the
// mouse leaves it, the image file and the clipboard as they were.
void fMain::Capture_Region() {
    if (!m_fCapture) {
        return;
    }
    m_fCapture->Shape1->hide();
    m_fCapture->Label1->hide();
    m_fCapture->hide();
    const GrabResult grab = m_services.grabber.grabDesktop();
    if (grabFailed(grab)) {
        return;
    }
    m_fCapture->setPicture(overlayPicture(grab.image, grab.origin, m_overlayPixels));
    m_fCapture->showOverlay();
}

void fMain::Capture_Desktop() {
    const GrabResult grab = m_services.grabber.grabDesktop();
    if (grabFailed(grab)) {
        return;
    }
    Picture1->setPicture(grab.image);
    Image2FileAndClipboard();
}

void fMain::Capture_Window() {
    const GrabResult grab = m_services.grabber.grabActiveWindow();
    if (grabFailed(grab)) {
        return;
    }
    Picture1->setPicture(grab.image);
    Image2FileAndClipboard();
}

} // namespace pellix
