#pragma once

#include "scrollview/ScrollBarModel.h"

#include <QAbstractSlider>
#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>

class QScrollBar;

namespace pellix {

// What the owner hears from the controller; each runs with the bar's position
// after the action.
struct cScrollEvents {
    // A line, page, start or end action on the horizontal bar.
    std::function<void(std::int32_t nCurPos)> HChange;
    // The horizontal thumb dragged or released.
    std::function<void(std::int32_t nCurPos)> HScroll;
    // As HChange, on the vertical bar, and every wheel turn.
    std::function<void(std::int32_t nCurPos)> VChange;
    std::function<void(std::int32_t nCurPos)> VScroll;
};

// Turns the user's actions on a horizontal and a vertical scroll bar into new
// positions. It adds steps to the present position and nothing more: the bar's
// rules (ScrollBarModel) limit every position written, and the events carry what
// the bar holds afterwards. Until SubClass gives it bars it is plain state.
class cScroll : public QObject {
    Q_OBJECT
public:
    // wheelLines is read once; none or a negative "one screen at a time" setting
    // counts as three lines.
    explicit cScroll(cScrollEvents events, int wheelLines);

    bool HScroll() const { return m_horizontal.scroll; }
    void setHScroll(bool bNewVal) { writeScroll(m_horizontal, bNewVal); }
    std::int32_t HMin() const { return m_horizontal.model.min(); }
    void setHMin(std::int32_t nNewVal) { writeMin(m_horizontal, nNewVal); }
    std::int32_t HMax() const { return m_horizontal.model.max(); }
    void setHMax(std::int32_t nNewVal) { writeMax(m_horizontal, nNewVal); }
    std::int32_t HPage() const { return m_horizontal.model.page(); }
    void setHPage(std::int32_t nNewVal) { writePage(m_horizontal, nNewVal); }
    std::int32_t HPos() const { return m_horizontal.model.pos(); }
    void setHPos(std::int32_t nNewVal) { writePos(m_horizontal, nNewVal); }
    std::int32_t HSmallChange() const { return m_horizontal.smallChange; }
    void setHSmallChange(std::int32_t nNewVal) { m_horizontal.smallChange = nNewVal; }
    bool HDisableNoScroll() const { return m_horizontal.disableNoScroll; }
    // Takes effect at the next write to the bar.
    void setHDisableNoScroll(bool bNewVal) { m_horizontal.disableNoScroll = bNewVal; }

    bool VScroll() const { return m_vertical.scroll; }
    void setVScroll(bool bNewVal) { writeScroll(m_vertical, bNewVal); }
    std::int32_t VMin() const { return m_vertical.model.min(); }
    void setVMin(std::int32_t nNewVal) { writeMin(m_vertical, nNewVal); }
    std::int32_t VMax() const { return m_vertical.model.max(); }
    void setVMax(std::int32_t nNewVal) { writeMax(m_vertical, nNewVal); }
    std::int32_t VPage() const { return m_vertical.model.page(); }
    void setVPage(std::int32_t nNewVal) { writePage(m_vertical, nNewVal); }
    std::int32_t VPos() const { return m_vertical.model.pos(); }
    void setVPos(std::int32_t nNewVal) { writePos(m_vertical, nNewVal); }
    std::int32_t VSmallChange() const { return m_vertical.smallChange; }
    void setVSmallChange(std::int32_t nNewVal) { m_vertical.smallChange = nNewVal; }
    bool VDisableNoScroll() const { return m_vertical.disableNoScroll; }
    void setVDisableNoScroll(bool bNewVal) { m_vertical.disableNoScroll = bNewVal; }

    // From now on the two bars show the controller's state and report the user's
    // actions to it. The first pair stays for the controller's life.
    void SubClass(QScrollBar& horizontal, QScrollBar& vertical);

    // The user's actions, as the bars and the view report them.
    void barAction(Qt::Orientation orientation, QAbstractSlider::SliderAction action);
    void thumbMoved(Qt::Orientation orientation, std::int32_t position);
    // delta in eighths of a degree, positive when the wheel turns away from the user.
    void wheelTurned(int delta);

private:
    struct Bar {
        ScrollBarModel model;
        bool scroll = false;
        bool disableNoScroll = false;
        std::int32_t smallChange = 0;
        QPointer<QScrollBar> widget;
    };

    Bar& bar(Qt::Orientation orientation) {
        return orientation == Qt::Horizontal ? m_horizontal : m_vertical;
    }
    static ScrollBarModel::Idle idle(const Bar& bar);
    void attach(Qt::Orientation orientation, QScrollBar& widget);
    void writeScroll(Bar& bar, bool bNewVal);
    void writeMin(Bar& bar, std::int32_t nNewVal);
    void writeMax(Bar& bar, std::int32_t nNewVal);
    void writePage(Bar& bar, std::int32_t nNewVal);
    void writePos(Bar& bar, std::int32_t nNewVal);
    void draw(const Bar& bar);

    cScrollEvents m_events;
    int m_wheelLines;
    Bar m_horizontal;
    Bar m_vertical;
};

} // namespace pellix
