#include "scrollview/ScrollBarModel.h"

#include <algorithm>

namespace pellix {

std::int32_t ScrollBarModel::setRange(std::int32_t min, std::int32_t max, Idle idle) {
    // A reversed range, or one wider than 31 bits, is no range at all.
    const std::int64_t width = static_cast<std::int64_t>(max) - min;
    const bool valid = width >= 0 && width < 0x80000000LL;
    m_min = valid ? min : 0;
    m_max = valid ? max : 0;
    return settle(true, idle);
}

std::int32_t ScrollBarModel::setPage(std::int32_t page, Idle idle) {
    m_page = page;
    return settle(true, idle);
}

std::int32_t ScrollBarModel::setPos(std::int32_t pos, Idle idle) {
    m_pos = pos;
    return settle(false, idle);
}

void ScrollBarModel::setShown(bool shown) {
    m_hasRange = m_hasRange || shown;
    m_shown = shown;
}

std::int32_t ScrollBarModel::lastPos() const {
    const std::int64_t last =
        static_cast<std::int64_t>(m_max) - std::max<std::int64_t>(m_page - 1, 0);
    return static_cast<std::int32_t>(std::max<std::int64_t>(last, m_min));
}

bool ScrollBarModel::canScroll() const {
    return lastPos() > m_min;
}

// Moving the thumb alone never shows or hides the bar; a new range or page does,
// and so does any write that asks to keep an idle bar.
std::int32_t ScrollBarModel::settle(bool resized, Idle idle) {
    m_hasRange = true;
    const std::int64_t fullPage = static_cast<std::int64_t>(m_max) - m_min + 1;
    m_page = static_cast<std::int32_t>(std::clamp<std::int64_t>(m_page, 0, fullPage));
    m_pos = std::clamp(m_pos, m_min, lastPos());
    if (resized || idle == Idle::Disable) {
        if (canScroll()) {
            m_enabled = true;
            m_shown = true;
        } else if (idle == Idle::Disable) {
            m_enabled = false;
            m_shown = true;
        } else {
            m_shown = false;
        }
    }
    return m_pos;
}

} // namespace pellix
