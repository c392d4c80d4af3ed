#include "monitors/OverlayPlacement.h"

#include "monitors/MMonitors.h"
#include "platform/DisplayMonitors.h"

#include <cmath>
#include <cstdint>

namespace pellix {

QRect overlayPlacement(const std::vector<QRect>& monitors) {
    return boundingRect(monitors);
}

QRect overlayPlacement(MMonitors& monitors) {
    std::vector<QRect> rects;
    const std::int32_t count = monitors.MonitorCount();
    for (std::int32_t i = 1; i <= count; ++i) {
        // A monitor attached after the list was built has no record.
        if (const CMonitor* monitor = monitors.Monitors().find(QString::number(i))) {
            rects.emplace_back(monitor->Left(), monitor->Top(), monitor->Width(),
                               monitor->Height());
        }
    }
    return overlayPlacement(rects);
}

QImage overlayPicture(const QImage& screen, QPoint screenOrigin, const QRect& overlay) {
    const QRect part = overlay.translated(-screenOrigin) & screen.rect();
    return part == screen.rect() ? screen : screen.copy(part);
}

QRect screenPart(const QRect& screen, const QRect& desktop, const QSize& picture) {
    if (desktop.isEmpty()) {
        return {};
    }
    const double sx = static_cast<double>(picture.width()) / desktop.width();
    const double sy = static_cast<double>(picture.height()) / desktop.height();
    const QPoint from = screen.topLeft() - desktop.topLeft();
    const QRect part(static_cast<int>(std::lround(from.x() * sx)),
                     static_cast<int>(std::lround(from.y() * sy)),
                     static_cast<int>(std::lround(screen.width() * sx)),
                     static_cast<int>(std::lround(screen.height() * sy)));
    return part.intersected(QRect(QPoint(), picture));
}

} // namespace pellix
