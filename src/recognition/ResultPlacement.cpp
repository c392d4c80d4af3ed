#include "recognition/ResultPlacement.h"

#include "platform/Rounding.h"

#include <cmath>

namespace pellix {

QPoint centredWindowPosition(const QRect& monitor, const QSize& windowTwips, double twipsPerPixelX,
                             double twipsPerPixelY) {
    const double centreX = roundHalfEven((monitor.left() + monitor.width() / 2.0) * twipsPerPixelX);
    const double centreY = roundHalfEven((monitor.top() + monitor.height() / 2.0) * twipsPerPixelY);
    const double leftTwips = centreX - windowTwips.width() / 2.0;
    const double topTwips = centreY - windowTwips.height() / 2.0;
    return {static_cast<int>(std::lround(leftTwips / twipsPerPixelX)),
            static_cast<int>(std::lround(topTwips / twipsPerPixelY))};
}

} // namespace pellix
