#pragma once

#include <QRect>

#include <vector>

namespace pellix {

class MMonitors;

// The rectangle, in pixels, over which the region overlay is placed: from the
// leftmost and topmost monitor edge, but never right of or below the origin,
// as wide as all monitors side by side and as tall as all of them stacked, so
// that it covers the desktop whatever the arrangement.
QRect overlayPlacement(const std::vector<QRect>& monitors);

// The same over records "1" to MonitorCount of the monitor list.
QRect overlayPlacement(MMonitors& monitors);

} // namespace pellix
