#include "monitors/OverlayPlacement.h"

#include "monitors/MMonitors.h"
#include "platform/DisplayMonitors.h"

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

} // namespace pellix
