#pragma once

#include "platform/ScrollMessages.h"

#include <QPointer>
#include <QScrollBar>

#include <cstdint>
#include <functional>

namespace pellix {

// One standard scroll bar of a window, with the rules programs written against
// standard bars rely on:
// - a new bar has the range 0..100, page 0 and position 0;
// - the page is limited to 0..max-min+1;
// - the position is limited to min..max-max(page-1,0), and an apply returns it;
// - a bar with nothing to scroll is hidden, or shown disabled when the apply asks
//   for SIF_DISABLENOSCROLL.
// A bar has no range to read until it has been shown or set once. The state is
// drawn by a real QScrollBar, a child of the window.
class StdScrollBar {
public:
    StdScrollBar(Qt::Orientation orientation, QWidget* window);
    StdScrollBar(const StdScrollBar&) = delete;
    StdScrollBar& operator=(const StdScrollBar&) = delete;

    // Fills the groups named in info.fMask; false while the bar has no range.
    bool getInfo(ScrollInfo& info) const;
    // Applies the groups named in info.fMask and returns the resulting position.
    std::int32_t setInfo(const ScrollInfo& info);
    void show(bool on);

    bool hasRange() const { return m_hasRange; }
    bool isShown() const { return m_shown; }
    bool isEnabled() const { return m_enabled; }
    std::int32_t minimum() const { return m_min; }
    std::int32_t maximum() const { return m_max; }
    std::int32_t page() const { return m_page; }
    std::int32_t position() const { return m_pos; }
    // The largest position the bar allows.
    std::int32_t lastPosition() const;

    QScrollBar* scrollBar() const { return m_bar; }
    // Puts the drawn thumb back on the bar's position after the user moved it.
    void redraw();
    // Called whenever the bar is shown or hidden, so the window can lay out again.
    void setShownChanged(std::function<void()> callback) { m_shownChanged = std::move(callback); }

private:
    bool canScroll() const;
    void setShown(bool on);

    QPointer<QScrollBar> m_bar;
    std::function<void()> m_shownChanged;
    bool m_hasRange = false;
    bool m_shown = false;
    bool m_enabled = true;
    std::int32_t m_min = 0;
    std::int32_t m_max = 100;
    std::int32_t m_page = 0;
    std::int32_t m_pos = 0;
};

} // namespace pellix
