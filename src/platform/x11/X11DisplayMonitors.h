#pragma once

#include "platform/DisplayMonitors.h"

#include <memory>

namespace pellix {

// A band that a panel reserves along one edge of the root window, in root
// coordinates.
struct ReservedBand {
    enum class Edge { Left, Right, Top, Bottom };
    Edge edge;
    QRect rect;

    bool operator==(const ReservedBand&) const = default;
};

// The bands of one panel on a root window of `root`: from the 12 values of
// _NET_WM_STRUT_PARTIAL (the depth of the left, right, top and bottom band,
// then the first and last row or column of each), or from the 4 of
// _NET_WM_STRUT, which reserve each edge over its whole length. Bands of no
// depth are left out; other counts give none.
std::vector<ReservedBand> strutBands(const std::vector<unsigned long>& strut, const QRect& root);

// `monitor` less, on each side, what the bands of that side reach into it.
QRect monitorWorkArea(const QRect& monitor, const std::vector<ReservedBand>& bands);

// The monitors of an X server: RandR 1.5 monitors, each with the part that the
// struts of the window manager's clients leave free; where the window manager
// lists no clients, its work area (_NET_WORKAREA) clipped to each. Root
// coordinates are never negative, so a monitor left of the primary lies at x = 0.
class X11DisplayMonitors final : public DisplayMonitors {
public:
    // `display` empty: the application's display.
    explicit X11DisplayMonitors(const QString& display = {});
    ~X11DisplayMonitors() override;
    X11DisplayMonitors(const X11DisplayMonitors&) = delete;
    X11DisplayMonitors& operator=(const X11DisplayMonitors&) = delete;

    bool multiMonitorSupport() const override;
    QRect virtualScreen() const override;
    QRect workArea() const override;
    std::vector<MonitorDescription> monitors() const override;
    MonitorHandle monitorNearest(const QRect& rect) const override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace pellix
