#pragma once

#include "capture/fCapture.h"
#include "platform/KeyListener.h"
#include "platform/ScreenGrabber.h"
#include "platform/Windowing.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace pellix {

// The capture commands: hiding the main window, the key chord and its time-out,
// the countdown, the three kinds of capture and the region overlay. Each wait
// is a timer, so the window and the desktop stay live and nothing re-enters;
// a finished capture is handed on as a picture.
class CaptureController final : public QObject {
    Q_OBJECT
public:
    enum Type : std::int16_t { Region = 1, Desktop = 2, Window = 3 };
    static constexpr int TimeoutMs = 20000;
    static constexpr int RepaintMs = 100;    // for the screen to lose the hidden window
    static constexpr int CountdownMs = 3000; // to pick the window to capture

    CaptureController(QWidget& mainWindow, Windowing& windowing, ScreenGrabber& grabber,
                      KeyListener& keys);
    ~CaptureController() override;

    // A capture button: at once, or when the key chord is held.
    void command(std::int16_t type, bool useKeyChord);
    // A command from outside the window (a desktop shortcut starting the
    // program): ends a wait for the chord with this kind of capture, or starts
    // one at once; ignored while a capture is under way.
    void commandFromOutside(std::int16_t type);
    // Capture now (true) or cancel (false), whatever the wait.
    void DoCapture(bool bCapture);
    void Hide_Form();
    void Show_Form();
    // Places the hidden overlay over the monitors' rectangle, in pixels.
    void placeOverlay(const QRect& pixels);
    // Where windows cannot be placed (Wayland): one full-screen overlay per
    // screen instead, each showing its own screen's part of the picture.
    void useOverlayPerScreen() { m_perScreen = true; }
    // A grab is under way: the desktop (or the user, in its dialog) has not answered.
    bool grabbing() const { return m_grabbing; }
    // Ends every wait; the overlay is gone afterwards.
    void unload();

    std::int16_t m_CaptureType = 0;
    // The time-out of the wait for the key chord.
    QTimer* Timer1 = nullptr;
    std::unique_ptr<fCapture> m_fCapture;
    std::vector<std::unique_ptr<fCapture>> m_screenOverlays;

signals:
    void captured(const QImage& picture);
    // A status line's text: why nothing was captured.
    void failed(const QString& text);

private:
    QString chordInstructions() const;
    void afterHiding(std::function<void()> next);
    void later(int ms, std::function<void()> next);
    void listenForChord();
    void Timer1_Timer();
    void Capture_Region();
    void Capture_Desktop();
    void Capture_Window();
    void grab(bool window, std::function<void(const GrabResult&)> next);
    bool grabFailed(const GrabResult& grab);
    void showScreenOverlays(const GrabResult& grab);
    bool overlayShowing() const;
    void hideOverlays();
    QImage monitorUnderWindow(const GrabResult& grab) const;

    QWidget& m_window;
    Windowing& m_windowing;
    ScreenGrabber& m_grabber;
    KeyListener& m_keys;
    QTimer m_step; // the one step waiting: the repaint, the countdown
    std::function<void()> m_next;
    // Where the window (without its frame) stood when it was hidden.
    std::optional<QPoint> m_HiddenAt;
    double m_chordWaitStarted = 0;
    QRect m_overlayPixels;
    bool m_perScreen = false;
    bool m_grabbing = false;
};

} // namespace pellix
