#include "monitors/OverlayPlacement.h"

#include "monitors/MMonitors.h"

#include <cstdint>

namespace pellix {

QRect overlayPlacement(const std::vector<QRect>& monitors) {
    std::int32_t minLeft = 0;
    std::int32_t minTop = 0;
    std::int32_t sumWidth = 0;
    std::int32_t sumHeight = 0;
    for (const QRect& monitor : monitors) {
        minLeft = std::min(minLeft, monitor.x());
        minTop = std::min(minTop, monitor.y());
        sumWidth += monitor.width();
        sumHeight += monitor.height();
    }
    return {minLeft, minTop, sumWidth, sumHeight};
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

} // namespace pellix
