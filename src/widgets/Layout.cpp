#include "widgets/Layout.h"

#include <cmath>

namespace pellix {

std::optional<QRect> fillRightOf(int columnRight, const QSize& client) {
    constexpr float margin = 20.0f;
    const auto right = static_cast<float>(columnRight);
    const float width = static_cast<float>(client.width()) - (right + 2 * margin);
    const float height = static_cast<float>(client.height()) - 2 * margin;
    if (width < 0.0f || height < 0.0f) {
        return std::nullopt;
    }
    return QRect(static_cast<int>(std::lround(right + margin)), static_cast<int>(margin),
                 static_cast<int>(std::lround(width)), static_cast<int>(std::lround(height)));
}

} // namespace pellix
