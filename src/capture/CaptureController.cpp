#include "capture/CaptureController.h"

#include "monitors/OverlayPlacement.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <memory>

#include <cmath>

namespace pellix {

namespace {

const char* const Title = "Pellix";
const char* const ChordInstructions =
    "When you are ready to capture an image,\r\n"
    "Press [Control + Shift] together until mouse pointer [+] shows.\r\n"
    "Press [Escape] if want to cancel the operation.";
// Where the desktop, not the program, hears the keys.
const char* const TriggerInstructions = "When you are ready to capture an image,\r\n"
                                        "Press [%1], the shortcut the desktop keeps for Pellix.\r\n"
                                        "Wait 20 seconds if want to cancel the operation.";
const char* const CommandInstructions =
    "When you are ready to capture an image,\r\n"
    "Start \"pellix --capture region\" (or desktop, window) from a shortcut of your desktop.\r\n"
    "Wait 20 seconds if want to cancel the operation.";
const char* const CountdownText = "You have 3 seconds for selecting a window.\r\n"
                                  "The selected window image will be captured in 3 seconds.";
const char* const TimeoutText = "Windows Capture is canceleda (>10 seconds).";
const char* const GrabFailedText = "Nothing captured: %1";
const char* const NoWindowPickText =
    "This desktop tells no program which window is active, and offers no way to pick one.\r\n"
    "Pellix captures the whole screen it stands on instead.";

} // namespace

CaptureController::CaptureController(QWidget& mainWindow, Windowing& windowing,
                                     ScreenGrabber& grabber, KeyListener& keys)
    : QObject(&mainWindow), m_window(mainWindow), m_windowing(windowing), m_grabber(grabber),
      m_keys(keys) {
    m_fCapture = std::make_unique<fCapture>();
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(TimeoutMs);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    m_step.setSingleShot(true);
    m_step.setTimerType(Qt::PreciseTimer);
    connect(&m_step, &QTimer::timeout, this, [this] {
        if (auto next = std::exchange(m_next, nullptr)) {
            next();
        }
    });
    connect(m_fCapture.get(), &fCapture::regionSelected, this, &CaptureController::captured);
    connect(m_fCapture.get(), &fCapture::finished, this, [this] { Show_Form(); });
}

CaptureController::~CaptureController() {
    m_keys.stop();
}

void CaptureController::command(std::int16_t type, bool useKeyChord) {
    m_CaptureType = type;
    if (useKeyChord) {
        m_windowing.messageBox(chordInstructions(), MsgBoxStyle::Information,
                               QString::fromLatin1(Title));
        afterHiding([this] {
            m_chordWaitStarted = m_windowing.seconds();
            Timer1->start(TimeoutMs);
            listenForChord();
        });
        return;
    }
    afterHiding([this] {
        const auto captureNow = [this] {
            DoCapture(true);
            Show_Form();
        };
        if (m_CaptureType != Window) {
            captureNow();
            return;
        }
        if (!m_grabber.canGrabWindow()) {
            m_windowing.messageBox(QString::fromLatin1(NoWindowPickText), MsgBoxStyle::Information,
                                   QString::fromLatin1(Title));
            captureNow();
            return;
        }
        m_windowing.messageBox(QString::fromLatin1(CountdownText), MsgBoxStyle::Information,
                               QString::fromLatin1(Title));
        // Counted from the press of OK: meanwhile the user activates the window.
        later(CountdownMs, captureNow);
    });
}

void CaptureController::commandFromOutside(std::int16_t type) {
    if (Timer1->isActive()) {
        m_CaptureType = type;
        DoCapture(true);
    } else if (m_window.isVisible() && !m_grabbing) {
        command(type, false);
    }
}

QString CaptureController::chordInstructions() const {
    if (!m_keys.canHear()) {
        return QString::fromLatin1(CommandInstructions);
    }
    const QString trigger = m_keys.triggerName();
    return trigger.isEmpty() ? QString::fromLatin1(ChordInstructions)
                             : QString::fromLatin1(TriggerInstructions).arg(trigger);
}

// The screen needs a moment to repaint without the window; a window that was
// not hidden needs none.
void CaptureController::afterHiding(std::function<void()> next) {
    const bool wasHidden = m_HiddenAt.has_value();
    Hide_Form();
    if (m_HiddenAt && !wasHidden) {
        later(RepaintMs, std::move(next));
    } else {
        next();
    }
}

void CaptureController::later(int ms, std::function<void()> next) {
    m_next = std::move(next);
    m_step.start(ms);
}

// One listener at a time: a second command while one waits replaces it. The
// listener stops before the capture runs, so nothing it does is heard.
void CaptureController::listenForChord() {
    m_keys.stop();
    m_keys.start([this](KeyEvent event) { DoCapture(event != KeyEvent::Escape); });
}

void CaptureController::DoCapture(bool bCapture) {
    if (m_grabbing) {
        return; // the grab under way ends this capture
    }
    m_keys.stop();
    m_step.stop();
    m_next = nullptr;
    if (bCapture) {
        // The chord has been seen: the time-out must not break into the capture.
        Timer1->stop();
        switch (m_CaptureType) {
        case Region:
            Capture_Region();
            break;
        case Desktop:
            Capture_Desktop();
            break;
        case Window:
            Capture_Window();
            break;
        default:
            break;
        }
    }
    Show_Form();
}

// Hidden rather than moved away: a window manager may refuse or clamp a move
// off the screen, which would put the window into its own capture.
void CaptureController::Hide_Form() {
    if (m_HiddenAt || !m_window.isVisible()) {
        return;
    }
    // Where the window itself stands: its frame is gone once it is hidden.
    m_HiddenAt = m_window.geometry().topLeft();
    m_window.hide();
}

void CaptureController::Show_Form() {
    if (m_grabbing || overlayShowing()) {
        return; // the grab or the region selection under way ends it
    }
    Timer1->stop();
    if (m_HiddenAt) {
        // A window manager places a window that comes back by its own rules
        // unless the position is asked for explicitly (USPosition), as the
        // native window's own position does.
        const QPoint place = *m_HiddenAt;
        m_HiddenAt.reset();
        if (QWindow* handle = m_window.windowHandle()) {
            handle->setPosition(place);
        }
        m_window.show();
    }
    m_windowing.beep();
    m_window.raise();
    m_window.activateWindow();
}

void CaptureController::Timer1_Timer() {
    // Stopped first: a second tick must not stack another message on this one.
    Timer1->stop();
    // Timers may fire a little early; the user gets every one of the 20 seconds.
    const double left = TimeoutMs / 1000.0 - (m_windowing.seconds() - m_chordWaitStarted);
    if (left > 0) {
        Timer1->start(static_cast<int>(std::ceil(left * 1000.0)));
        return;
    }
    m_windowing.messageBox(QString::fromLatin1(TimeoutText), MsgBoxStyle::Information,
                           QString::fromLatin1(Title));
    DoCapture(false);
    Timer1->stop();
}

// Once, at start-up: monitors that come or go later are not followed.
void CaptureController::placeOverlay(const QRect& pixels) {
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

void CaptureController::unload() {
    m_keys.stop();
    m_step.stop();
    m_next = nullptr;
    Timer1->stop();
    m_screenOverlays.clear();
    m_fCapture.reset();
}

void CaptureController::grab(bool window, std::function<void(const GrabResult&)> next) {
    m_grabbing = true;
    // The answer may come after the controller is gone, with the program.
    const QPointer<CaptureController> self(this);
    // An answer given at once leaves showing the window to DoCapture, as ever.
    auto later = std::make_shared<bool>(false);
    auto done = [self, later, next = std::move(next)](const GrabResult& result) {
        if (!self) {
            return;
        }
        self->m_grabbing = false;
        next(result);
        if (*later) {
            self->Show_Form();
        }
    };
    if (window) {
        m_grabber.grabActiveWindow(std::move(done));
    } else {
        m_grabber.grabDesktop(std::move(done));
    }
    *later = true;
}

// The picture, the image file and the clipboard keep the last good image.
bool CaptureController::grabFailed(const GrabResult& grab) {
    if (grab.ok()) {
        return false;
    }
    emit failed(QString::fromLatin1(GrabFailedText).arg(grab.error));
    return true;
}

// The current picture stays until a region is taken: Escape or a slip of the
// mouse leaves it, the image file and the clipboard as they were.
void CaptureController::Capture_Region() {
    if (!m_fCapture) {
        return;
    }
    hideOverlays();
    grab(false, [this](const GrabResult& grab) {
        if (grabFailed(grab) || !m_fCapture) {
            return;
        }
        if (m_perScreen) {
            showScreenOverlays(grab);
            return;
        }
        m_fCapture->setPicture(overlayPicture(grab.image, grab.origin, m_overlayPixels));
        m_fCapture->showOverlay();
    });
}

void CaptureController::showScreenOverlays(const GrabResult& grab) {
    m_screenOverlays.clear();
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary) {
        emit failed(QString::fromLatin1(GrabFailedText).arg(QStringLiteral("no screen.")));
        return;
    }
    const QRect desktop = primary->virtualGeometry();
    for (QScreen* screen : QGuiApplication::screens()) {
        auto overlay = std::make_unique<fCapture>(fCapture::FullScreen);
        connect(overlay.get(), &fCapture::regionSelected, this, &CaptureController::captured);
        connect(overlay.get(), &fCapture::finished, this, [this] {
            hideOverlays();
            Show_Form();
        });
        overlay->showOn(
            *screen, grab.image.copy(screenPart(screen->geometry(), desktop, grab.image.size())));
        m_screenOverlays.push_back(std::move(overlay));
    }
}

bool CaptureController::overlayShowing() const {
    if (m_fCapture && m_fCapture->isVisible()) {
        return true;
    }
    return std::any_of(m_screenOverlays.begin(), m_screenOverlays.end(),
                       [](const auto& overlay) { return overlay->isVisible(); });
}

void CaptureController::hideOverlays() {
    if (m_fCapture) {
        m_fCapture->Shape1->hide();
        m_fCapture->Label1->hide();
        m_fCapture->hide();
    }
    for (const auto& overlay : m_screenOverlays) {
        overlay->hide();
    }
}

void CaptureController::Capture_Desktop() {
    grab(false, [this](const GrabResult& grab) {
        if (!grabFailed(grab)) {
            emit captured(grab.image);
        }
    });
}

void CaptureController::Capture_Window() {
    const bool pick = m_grabber.canGrabWindow();
    grab(pick, [this, pick](const GrabResult& grab) {
        if (!grabFailed(grab)) {
            emit captured(pick ? grab.image : monitorUnderWindow(grab));
        }
    });
}

// The screen the main window stands on, cut from a grab of the whole desktop.
QImage CaptureController::monitorUnderWindow(const GrabResult& grab) const {
    const QScreen* screen = m_window.screen();
    if (!screen) {
        return grab.image;
    }
    return grab.image.copy(
        screenPart(screen->geometry(), screen->virtualGeometry(), grab.image.size()));
}

} // namespace pellix
