#pragma once

#include <QImage>
#include <QRect>

#include <vector>

namespace pellix {

class MMonitors;

// The rectangle, in pixels, over which the region overlay is placed: the
// bounding rectangle of the monitors, so that it covers every one of them
// whatever the arrangement, also with gaps between them or none at the origin.
QRect overlayPlacement(const std::vector<QRect>& monitors);

// The same over records "1" to MonitorCount of the monitor list.
QRect overlayPlacement(MMonitors& monitors);

// The part of a screen image, whose top-left corner lies at `screenOrigin`,
// that the overlay placed at `overlay` shows from its own top-left corner.
QImage overlayPicture(const QImage& screen, QPoint screenOrigin, const QRect& overlay);

// The part of a picture of the whole desktop that shows one screen. Screens
// are given in the toolkit's units; the picture may count more pixels per unit.
QRect screenPart(const QRect& screen, const QRect& desktop, const QSize& picture);

} // namespace pellix
