#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace pellix {

// Where the result window goes, in pixels: its outer size (in twips) centred
// on a monitor's full rectangle (in pixels of the virtual screen). The centre
// is converted to twips and rounded to the nearest twip, halves to even.
QPoint centredWindowPosition(const QRect& monitor, const QSize& windowTwips, double twipsPerPixelX,
                             double twipsPerPixelY);

} // namespace pellix
