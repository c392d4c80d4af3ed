#include "platform/qt/QtScreenMonitors.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace pellix {

namespace {

// Positions stay in the compositor's layout; sizes count the output's pixels.
QRect inPixels(const QRect& rect, qreal ratio) {
    return {rect.topLeft(), QSize(static_cast<int>(std::lround(rect.width() * ratio)),
                                  static_cast<int>(std::lround(rect.height() * ratio)))};
}

} // namespace

std::vector<MonitorDescription> QtScreenMonitors::monitors() const {
    std::vector<MonitorDescription> list;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (QScreen* screen : QGuiApplication::screens()) {
        const qreal ratio = screen->devicePixelRatio();
        list.push_back(
            {reinterpret_cast<MonitorHandle>(screen), inPixels(screen->geometry(), ratio),
             inPixels(screen->availableGeometry(), ratio), screen == primary, screen->name()});
    }
    return list;
}

QRect QtScreenMonitors::virtualScreen() const {
    std::vector<QRect> rects;
    for (const MonitorDescription& monitor : monitors()) {
        rects.push_back(monitor.rect);
    }
    return boundingRect(rects);
}

QRect QtScreenMonitors::workArea() const {
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? inPixels(primary->availableGeometry(), primary->devicePixelRatio()) : QRect();
}

MonitorHandle QtScreenMonitors::monitorNearest(const QRect& rect) const {
    const std::vector<MonitorDescription> list = monitors();
    std::vector<QRect> rects;
    for (const MonitorDescription& monitor : list) {
        rects.push_back(monitor.rect);
    }
    const int nearest = nearestMonitor(rect, rects);
    return nearest < 0 ? 0 : list[static_cast<std::size_t>(nearest)].handle;
}

} // namespace pellix
