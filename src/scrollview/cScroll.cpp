#include "scrollview/cScroll.h"

#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <limits>

namespace pellix {

namespace {

constexpr int WheelNotch = 120;    // eighths of a degree
constexpr int WheelLineUnits = 10; // a wheel line, whatever the bars' line step

// Positions far beyond any picture would leave 32 bits; keep them at the edge.
std::int32_t saturated(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

} // namespace

cScroll::cScroll(cScrollEvents events, int wheelLines)
    : m_events(std::move(events)), m_wheelLines(wheelLines > 0 ? wheelLines : 3) {}

void cScroll::SubClass(QScrollBar& horizontal, QScrollBar& vertical) {
    if (m_horizontal.widget || m_vertical.widget) {
        return;
    }
    attach(Qt::Horizontal, horizontal);
    attach(Qt::Vertical, vertical);
}

// QScrollBar has already moved its thumb by its own steps when it reports an
// action; the controller decides where the bar goes and draws it there, before
// the bar takes the thumb's place as its value.
void cScroll::attach(Qt::Orientation orientation, QScrollBar& widget) {
    bar(orientation).widget = &widget;
    connect(&widget, &QAbstractSlider::actionTriggered, this, [this, orientation, &widget](int a) {
        const auto action = static_cast<QAbstractSlider::SliderAction>(a);
        if (action == QAbstractSlider::SliderMove) {
            thumbMoved(orientation, widget.sliderPosition());
        } else {
            barAction(orientation, action);
        }
    });
    connect(&widget, &QAbstractSlider::sliderReleased, this,
            [this, orientation, &widget] { thumbMoved(orientation, widget.sliderPosition()); });
    // A value set without an action (the bar's "Scroll here" menu) counts as a thumb move.
    connect(&widget, &QAbstractSlider::valueChanged, this, [this, orientation](int value) {
        if (value != bar(orientation).model.pos()) {
            thumbMoved(orientation, value);
        }
    });
    draw(bar(orientation));
}

void cScroll::barAction(Qt::Orientation orientation, QAbstractSlider::SliderAction action) {
    Bar& b = bar(orientation);
    const ScrollBarModel& m = b.model;
    std::int64_t target = m.pos();
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        target += b.smallChange;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        target -= b.smallChange;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        target += m.page();
        break;
    case QAbstractSlider::SliderPageStepSub:
        target -= m.page();
        break;
    case QAbstractSlider::SliderToMinimum:
        target = m.min();
        break;
    case QAbstractSlider::SliderToMaximum:
        target = m.max();
        break;
    default:
        return;
    }
    writePos(b, saturated(target));
    const auto& changed = orientation == Qt::Horizontal ? m_events.HChange : m_events.VChange;
    if (changed) {
        changed(m.pos());
    }
}

void cScroll::thumbMoved(Qt::Orientation orientation, std::int32_t position) {
    Bar& b = bar(orientation);
    writePos(b, position);
    const auto& scrolled = orientation == Qt::Horizontal ? m_events.HScroll : m_events.VScroll;
    if (scrolled) {
        scrolled(b.model.pos());
    }
}

// Only the vertical bar follows the wheel, by whole notches: a turn away from the
// user scrolls back, and part of a notch re-applies the present position.
void cScroll::wheelTurned(int delta) {
    const std::int64_t notches = -delta / WheelNotch;
    writePos(m_vertical,
             saturated(m_vertical.model.pos() + notches * WheelLineUnits * m_wheelLines));
    if (m_events.VChange) {
        m_events.VChange(m_vertical.model.pos());
    }
}

ScrollBarModel::Idle cScroll::idle(const Bar& bar) {
    return bar.disableNoScroll ? ScrollBarModel::Idle::Disable : ScrollBarModel::Idle::Hide;
}

// Writing the flag it already holds touches no bar.
void cScroll::writeScroll(Bar& bar, bool bNewVal) {
    if (bNewVal != bar.scroll) {
        bar.scroll = bNewVal;
        bar.model.setShown(bNewVal);
        draw(bar);
    }
}

// A bar that has been shown or written keeps its minimum and gets its present range
// again; only a bar never touched takes the new minimum. So the form's minimum of 3,
// written after showing the bars, leaves them starting at 0.
void cScroll::writeMin(Bar& bar, std::int32_t nNewVal) {
    const std::int32_t min = bar.model.hasRange() ? bar.model.min() : nNewVal;
    bar.model.setRange(min, bar.model.max(), idle(bar));
    draw(bar);
}

void cScroll::writeMax(Bar& bar, std::int32_t nNewVal) {
    bar.model.setRange(bar.model.min(), nNewVal, idle(bar));
    draw(bar);
}

void cScroll::writePage(Bar& bar, std::int32_t nNewVal) {
    bar.model.setPage(nNewVal, idle(bar));
    draw(bar);
}

void cScroll::writePos(Bar& bar, std::int32_t nNewVal) {
    bar.model.setPos(nNewVal, idle(bar));
    draw(bar);
}

// QScrollBar's range is the range of thumb positions and its page step the thumb's
// share of the track: the same proportions as the bar's page to its range.
// Drawing is no user action, so the bar reports none of it.
void cScroll::draw(const Bar& bar) {
    QScrollBar* widget = bar.widget;
    if (widget == nullptr) {
        return;
    }
    const ScrollBarModel& m = bar.model;
    const QSignalBlocker quiet(widget);
    widget->setRange(m.min(), m.lastPos());
    widget->setPageStep(std::max(m.page(), 1));
    widget->setValue(m.pos());
    widget->setEnabled(m.isEnabled() && m.canScroll());
    widget->setVisible(m.isShown());
}

} // namespace pellix
