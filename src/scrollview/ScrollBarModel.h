#pragma once

#include <cstdint>

namespace pellix {

// The state of one standard scroll bar and the rules programs written against
// standard bars rely on, without any drawing:
// - a new bar has the range 0..100, page 0 and position 0;
// - the page is limited to 0..max-min+1;
// - the position is limited to min..max-max(page-1,0), and every write returns it;
// - a range or page that leaves nothing to scroll hides the bar, or leaves it
//   shown but disabled when the write asks to keep an idle bar.
class ScrollBarModel {
public:
    // What a write does to a bar that is left with nothing to scroll.
    enum class Idle { Hide, Disable };

    std::int32_t setRange(std::int32_t min, std::int32_t max, Idle idle);
    std::int32_t setPage(std::int32_t page, Idle idle);
    std::int32_t setPos(std::int32_t pos, Idle idle);
    void setShown(bool shown);

    // False until the bar has been shown or written once.
    bool hasRange() const { return m_hasRange; }
    bool isShown() const { return m_shown; }
    // False only while an idle bar is kept shown.
    bool isEnabled() const { return m_enabled; }
    bool canScroll() const;
    std::int32_t min() const { return m_min; }
    std::int32_t max() const { return m_max; }
    std::int32_t page() const { return m_page; }
    std::int32_t pos() const { return m_pos; }
    // The largest position the bar allows.
    std::int32_t lastPos() const;

private:
    std::int32_t settle(bool resized, Idle idle);

    bool m_hasRange = false;
    bool m_shown = false;
    bool m_enabled = true;
    std::int32_t m_min = 0;
    std::int32_t m_max = 100;
    std::int32_t m_page = 0;
    std::int32_t m_pos = 0;
};

} // namespace pellix
