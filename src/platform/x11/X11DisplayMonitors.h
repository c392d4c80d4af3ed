#pragma once

#include "platform/DisplayMonitors.h"

#include <memory>

namespace pellix {

// The monitors of an X server: RandR 1.5 monitors, with the window manager's
// work area (_NET_WORKAREA) clipped to each. Root coordinates are never
// negative, so a monitor left of the primary lies at x = 0.
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
