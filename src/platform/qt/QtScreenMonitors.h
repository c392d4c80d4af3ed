#pragma once

#include "platform/DisplayMonitors.h"

namespace pellix {

// The monitors as the toolkit's screens describe them: where the display
// server tells programs nothing of its own (a Wayland compositor), the
// outputs the toolkit was told of, in physical pixels.
class QtScreenMonitors final : public DisplayMonitors {
public:
    bool multiMonitorSupport() const override { return true; }
    QRect virtualScreen() const override;
    QRect workArea() const override;
    std::vector<MonitorDescription> monitors() const override;
    MonitorHandle monitorNearest(const QRect& rect) const override;
};

} // namespace pellix
