#pragma once

#include <QRect>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace pellix {

// Names one monitor for as long as the display server keeps it; 0 names none.
using MonitorHandle = std::uintptr_t;

// One monitor as the display server reports it. Rectangles are in physical
// pixels of the virtual screen.
struct MonitorDescription {
    MonitorHandle handle = 0;
    QRect rect;
    QRect workArea; // the part that no panel or dock covers
    bool primary = false;
    QString device; // the server's name for the monitor; empty when it has none
};

// The display monitors, asked anew on every call: the answers follow the
// server when monitors are added, removed or rearranged.
class DisplayMonitors {
public:
    virtual ~DisplayMonitors() = default;

    // Whether the server describes its monitors one by one.
    virtual bool multiMonitorSupport() const = 0;
    // The rectangle that holds every monitor: their bounding rectangle, else
    // the whole screen when the server describes no monitors.
    virtual QRect virtualScreen() const = 0;
    // The work area of the whole screen.
    virtual QRect workArea() const = 0;
    // The monitors, in the order the server reports them.
    virtual std::vector<MonitorDescription> monitors() const = 0;
    // The monitor nearest to a window's rectangle; 0 when there is no monitor.
    virtual MonitorHandle monitorNearest(const QRect& rect) const = 0;
};

// The smallest rectangle that holds every one of `rects`; empty for none.
inline QRect boundingRect(const std::vector<QRect>& rects) {
    QRect bounds;
    for (const QRect& rect : rects) {
        bounds |= rect;
    }
    return bounds;
}

// The position in `monitors` of the one that `rect` overlaps most, else of the
// one closest to it; the first wins a tie; -1 when the list is empty.
inline int nearestMonitor(const QRect& rect, const std::vector<QRect>& monitors) {
    auto overlap = [&](const QRect& m) {
        const QRect common = m.intersected(rect);
        return static_cast<std::int64_t>(common.width()) * common.height();
    };
    auto gap = [&](const QRect& m) {
        const std::int64_t dx =
            std::max({0, m.x() - (rect.x() + rect.width()), rect.x() - (m.x() + m.width())});
        const std::int64_t dy =
            std::max({0, m.y() - (rect.y() + rect.height()), rect.y() - (m.y() + m.height())});
        return dx * dx + dy * dy;
    };
    int best = -1;
    for (int i = 0; i < static_cast<int>(monitors.size()); ++i) {
        const QRect& m = monitors[static_cast<std::size_t>(i)];
        if (best < 0) {
            best = i;
            continue;
        }
        const QRect& b = monitors[static_cast<std::size_t>(best)];
        if (overlap(m) > overlap(b) || (overlap(b) == 0 && overlap(m) == 0 && gap(m) < gap(b))) {
            best = i;
        }
    }
    return best;
}

} // namespace pellix
