#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <QTimer>

#include <functional>

class QWidget;

namespace pellix {

// Puts a top-level window's frame where it belongs once the window manager has
// framed it. Until then the frame's size is a guess, and a window manager may
// place a newly mapped window by rules of its own; so the window is put back
// until it stands framed at its place, and then left alone: any later move is
// the user's. Gives up after a few seconds where no frame ever comes.
class FramePlacer final : public QObject {
    Q_OBJECT
public:
    // The frame's top-left for a frame of the given size.
    using Place = std::function<QPoint(const QSize& frame)>;

    explicit FramePlacer(QWidget& window);

    // Moves the window by `guessedFrame`, shows it and watches it settle.
    void show(Place place, const QSize& guessedFrame);
    void stop();
    bool settling() const { return m_timer.isActive(); }

    // Whether the toolkit knows the window's frame. Until the window manager
    // frames it, the frame is the window itself; and for a moment while it is
    // framed again (after it was shown anew) the toolkit may report a frame
    // smaller than the window. Neither is a frame to place by.
    static bool framed(const QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void check();

    QWidget& m_window;
    Place m_place;
    QTimer m_timer;
    QDeadlineTimer m_deadline;
};

} // namespace pellix
