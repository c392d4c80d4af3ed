#include "platform/qt/StdScrollBar.h"

#include <QSignalBlocker>

#include <algorithm>

namespace pellix {

StdScrollBar::StdScrollBar(Qt::Orientation orientation, QWidget* window)
    : m_bar(new QScrollBar(orientation, window)) {
    m_bar->setFocusPolicy(Qt::NoFocus);
    m_bar->hide();
    redraw();
}

bool StdScrollBar::getInfo(ScrollInfo& info) const {
    if (!m_hasRange) {
        return false;
    }
    if (info.fMask & SIF_RANGE) {
        info.nMin = m_min;
        info.nMax = m_max;
    }
    if (info.fMask & SIF_PAGE) {
        info.nPage = m_page;
    }
    if (info.fMask & SIF_POS) {
        info.nPos = m_pos;
    }
    return true;
}

std::int32_t StdScrollBar::lastPosition() const {
    const std::int64_t last =
        static_cast<std::int64_t>(m_max) - std::max<std::int64_t>(m_page - 1, 0);
    return static_cast<std::int32_t>(std::max<std::int64_t>(last, m_min));
}

bool StdScrollBar::canScroll() const {
    return static_cast<std::int64_t>(m_max) - std::max<std::int64_t>(m_page - 1, 0) > m_min;
}

std::int32_t StdScrollBar::setInfo(const ScrollInfo& info) {
    m_hasRange = true;
    if (info.fMask & SIF_RANGE) {
        // A reversed range, or one wider than 31 bits, is no range at all.
        const std::int64_t width = static_cast<std::int64_t>(info.nMax) - info.nMin;
        if (width < 0 || width >= 0x80000000LL) {
            m_min = 0;
            m_max = 0;
        } else {
            m_min = info.nMin;
            m_max = info.nMax;
        }
    }
    if (info.fMask & SIF_PAGE) {
        m_page = info.nPage;
    }
    if (info.fMask & SIF_POS) {
        m_pos = info.nPos;
    }
    const std::int64_t fullPage = static_cast<std::int64_t>(m_max) - m_min + 1;
    m_page = static_cast<std::int32_t>(std::clamp<std::int64_t>(m_page, 0, fullPage));
    m_pos = std::clamp(m_pos, m_min, lastPosition());

    // Only a change of range or page, or the request to keep an idle bar, can
    // change whether the bar is shown; moving the thumb never does.
    if (info.fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL)) {
        if (canScroll()) {
            m_enabled = true;
            setShown(true);
        } else if (info.fMask & SIF_DISABLENOSCROLL) {
            m_enabled = false;
            setShown(true);
        } else {
            setShown(false);
        }
    }
    redraw();
    return m_pos;
}

void StdScrollBar::show(bool on) {
    if (on) {
        m_hasRange = true;
    }
    setShown(on);
    redraw();
}

void StdScrollBar::setShown(bool on) {
    if (on == m_shown) {
        return;
    }
    m_shown = on;
    if (m_shownChanged) {
        m_shownChanged();
    }
}

void StdScrollBar::redraw() {
    if (!m_bar) {
        return;
    }
    // QScrollBar's range is the range of thumb positions, its page step the thumb's
    // share of the track: the same proportions as the bar's page to its range.
    // Drawing is no user action: setting the slider would otherwise report one.
    const QSignalBlocker quiet(m_bar);
    const bool scrolls = canScroll();
    m_bar->setRange(m_min, scrolls ? lastPosition() : m_min);
    m_bar->setPageStep(std::max(m_page, 1));
    m_bar->setSliderPosition(m_pos);
    m_bar->setValue(m_pos);
    m_bar->setEnabled(m_enabled && scrolls);
    m_bar->setVisible(m_shown);
}

} // namespace pellix
