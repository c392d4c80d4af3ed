#include "widgets/FramePlacer.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace pellix {

namespace {

constexpr int CheckIntervalMs = 50;
constexpr int SettleLimitMs = 3000;

} // namespace

FramePlacer::FramePlacer(QWidget& window) : QObject(&window), m_window(window) {
    m_timer.setInterval(CheckIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &FramePlacer::check);
    window.installEventFilter(this);
}

// Checked as soon as the window learns where its frame is, so that the check
// never takes a move of the user's for the window manager's.
bool FramePlacer::eventFilter(QObject* watched, QEvent* event) {
    if (m_timer.isActive() && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        check();
    }
    return QObject::eventFilter(watched, event);
}

void FramePlacer::show(Place place, const QSize& guessedFrame) {
    m_place = std::move(place);
    // Through the native window, so that the window manager is told the position
    // is asked for (USPosition) and keeps it, even where it equals the last one.
    const QPoint at = m_place(guessedFrame);
    if (QWindow* handle = m_window.windowHandle()) {
        handle->setFramePosition(at);
    } else {
        m_window.move(at);
    }
    m_window.show();
    m_deadline.setRemainingTime(SettleLimitMs);
    m_timer.start();
    check(); // a window framed at once is in place at once
}

bool FramePlacer::framed(const QWidget& window) {
    const QSize frame = window.frameGeometry().size();
    const QSize inner = window.size();
    return frame != inner && frame.width() >= inner.width() && frame.height() >= inner.height();
}

void FramePlacer::stop() {
    m_timer.stop();
}

void FramePlacer::check() {
    if (!m_window.isVisible() || m_deadline.hasExpired()) {
        stop();
        return;
    }
    if (!framed(m_window)) {
        return;
    }
    const QRect frame = m_window.frameGeometry();
    const QPoint wanted = m_place(frame.size());
    if (frame.topLeft() == wanted) {
        stop();
    } else {
        m_window.move(wanted);
    }
}

} // namespace pellix
