#pragma once

#include "platform/DisplayMonitors.h"

namespace pellix {

// Monitors as a test sets them; change the fields to rearrange the display.
class FakeDisplayMonitors final : public DisplayMonitors {
public:
    bool multi = true;
    QRect screen;
    QRect work;
    std::vector<MonitorDescription> list;

    bool multiMonitorSupport() const override { return multi; }
    QRect virtualScreen() const override { return screen; }
    QRect workArea() const override { return work; }
    std::vector<MonitorDescription> monitors() const override {
        ++monitorQueries;
        return list;
    }
    MonitorHandle monitorNearest(const QRect& rect) const override {
        ++nearestQueries;
        std::vector<QRect> rects;
        for (const MonitorDescription& m : list) {
            rects.push_back(m.rect);
        }
        const int nearest = nearestMonitor(rect, rects);
        return nearest < 0 ? 0 : list[static_cast<std::size_t>(nearest)].handle;
    }

    mutable int monitorQueries = 0;
    mutable int nearestQueries = 0;
};

} // namespace pellix
