#include "scrollview/cScroll.h"

#include <QScrollBar>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace pellix {
namespace {

using Action = QAbstractSlider::SliderAction;
using Events = std::vector<std::pair<char, int>>; // 'h' HChange, 'H' HScroll, 'v', 'V'

class cScrollTest : public ::testing::Test {
protected:
    std::unique_ptr<cScroll> makeScroll(int wheelLines = 3) {
        auto record = [this](char kind) {
            return [this, kind](std::int32_t pos) {
                events.emplace_back(kind, pos);
            };
        };
        return std::make_unique<cScroll>(
            cScrollEvents{record('h'), record('H'), record('v'), record('V')}, wheelLines);
    }
    // Both bars shown with the range 0..1000, page 100, step 10; at most 901 is reachable.
    void setUpBars(cScroll& s) {
        s.setHScroll(true);
        s.setVScroll(true);
        s.setHMax(1000);
        s.setHPage(100);
        s.setVMax(1000);
        s.setVPage(100);
        s.setHSmallChange(10);
        s.setVSmallChange(10);
        events.clear();
    }

    Events events;
    std::unique_ptr<cScroll> scroll = makeScroll();
};

TEST_F(cScrollTest, EveryAction_Should_MoveTheBarAndRaiseItsEvent) {
    setUpBars(*scroll);
    scroll->setHPos(500);
    scroll->setVPos(500);
    struct Row {
        Qt::Orientation bar;
        Action action; // SliderMove stands for the thumb, moved to `thumb`
        int thumb;
        std::pair<char, int> expected;
    };
    const Row rows[] = {
        {Qt::Horizontal, Action::SliderSingleStepAdd, 0, {'h', 510}},
        {Qt::Horizontal, Action::SliderSingleStepSub, 0, {'h', 500}},
        {Qt::Horizontal, Action::SliderPageStepAdd, 0, {'h', 600}},
        {Qt::Horizontal, Action::SliderPageStepSub, 0, {'h', 500}},
        {Qt::Horizontal, Action::SliderToMaximum, 0, {'h', 901}},
        {Qt::Horizontal, Action::SliderToMinimum, 0, {'h', 0}},
        {Qt::Horizontal, Action::SliderMove, 130, {'H', 130}},
        {Qt::Vertical, Action::SliderSingleStepAdd, 0, {'v', 510}},
        {Qt::Vertical, Action::SliderSingleStepSub, 0, {'v', 500}},
        {Qt::Vertical, Action::SliderPageStepAdd, 0, {'v', 600}},
        {Qt::Vertical, Action::SliderPageStepSub, 0, {'v', 500}},
        {Qt::Vertical, Action::SliderToMaximum, 0, {'v', 901}},
        {Qt::Vertical, Action::SliderToMinimum, 0, {'v', 0}},
        {Qt::Vertical, Action::SliderMove, 200, {'V', 200}},
        {Qt::Vertical, Action::SliderMove, 2000, {'V', 901}}, // limited by the bar
        {Qt::Vertical, Action::SliderMove, -5, {'V', 0}},
        {Qt::Vertical, Action::SliderSingleStepAdd, 0, {'v', 10}},
    };
    for (const Row& row : rows) {
        events.clear();
        if (row.action == Action::SliderMove) {
            scroll->thumbMoved(row.bar, row.thumb);
        } else {
            scroll->barAction(row.bar, row.action);
        }
        EXPECT_EQ(events, Events{row.expected}) << "bar " << row.bar << " action " << row.action;
        EXPECT_EQ(row.bar == Qt::Horizontal ? scroll->HPos() : scroll->VPos(), row.expected.second);
    }
    events.clear();
    scroll->barAction(Qt::Vertical, Action::SliderNoAction);
    scroll->barAction(Qt::Horizontal, Action::SliderMove);
    EXPECT_TRUE(events.empty()) << "no step, no event";
}

TEST_F(cScrollTest, LineSteps_Should_StayAtTheEnds_AndAStepOfZeroStillReports) {
    setUpBars(*scroll);
    scroll->setHPos(901);
    scroll->barAction(Qt::Horizontal, Action::SliderSingleStepAdd);
    scroll->barAction(Qt::Vertical, Action::SliderSingleStepSub);
    scroll->setHSmallChange(0);
    scroll->setHPos(44);
    scroll->barAction(Qt::Horizontal, Action::SliderSingleStepAdd);
    EXPECT_EQ(events, (Events{{'h', 901}, {'v', 0}, {'h', 44}}));
}

TEST_F(cScrollTest, Wheel_Should_MoveTheVerticalBarByWholeNotches) {
    setUpBars(*scroll);
    scroll->setVPos(300);
    // Towards the user (negative) scrolls on; part of a notch moves nothing.
    for (const auto& [delta, pos] : std::vector<std::pair<int, int>>{
             {-360, 390}, {120, 360}, {60, 360}, {-119, 360}, {-30000, 901}, {3000, 151}}) {
        events.clear();
        scroll->wheelTurned(delta);
        EXPECT_EQ(events, (Events{{'v', pos}})) << "delta " << delta;
    }
    EXPECT_EQ(scroll->HPos(), 0);

    // Lines per notch as the desktop sets them; none or "a screen at a time" count as three.
    for (const auto& [lines, pos] : std::vector<std::pair<int, int>>{{5, 50}, {0, 30}, {-1, 30}}) {
        scroll = makeScroll(lines);
        setUpBars(*scroll);
        scroll->wheelTurned(-120);
        EXPECT_EQ(scroll->VPos(), pos) << lines << " lines";
    }
}

TEST_F(cScrollTest, RangeWrites_Should_KeepAShownBarsMinimum) {
    scroll->setHScroll(true);
    scroll->setHMin(3);
    EXPECT_EQ(std::pair(scroll->HMin(), scroll->HMax()), std::pair(0, 100));
    scroll->setHMax(500);
    EXPECT_EQ(std::pair(scroll->HMin(), scroll->HMax()), std::pair(0, 500));
    scroll->setVMin(3); // never shown nor written
    EXPECT_EQ(std::pair(scroll->VMin(), scroll->VMax()), std::pair(3, 100));
}

// With real bars: what the controller holds is what they show, and their actions
// come back to it.
class cScrollOnBars : public cScrollTest {
protected:
    void SetUp() override {
        scroll->SubClass(horizontal, vertical);
        setUpBars(*scroll);
    }
    QScrollBar horizontal{Qt::Horizontal};
    QScrollBar vertical{Qt::Vertical};
};

TEST_F(cScrollOnBars, Bars_Should_ShowTheControllersState) {
    scroll->setVPos(950);
    EXPECT_EQ(std::tuple(vertical.minimum(), vertical.maximum(), vertical.value()),
              std::tuple(0, 901, 901));
    EXPECT_TRUE(!vertical.isHidden() && vertical.isEnabled());

    // A bar with nothing to scroll is hidden, or shown disabled while that is asked for.
    scroll->setVPage(5000);
    EXPECT_TRUE(vertical.isHidden());
    scroll->setHDisableNoScroll(true);
    scroll->setHPage(5000);
    EXPECT_TRUE(!horizontal.isHidden() && !horizontal.isEnabled());
    scroll->setHPage(10);
    EXPECT_TRUE(horizontal.isEnabled());
    scroll->setHScroll(false);
    EXPECT_TRUE(horizontal.isHidden());
    EXPECT_TRUE(events.empty()) << "drawing the state is no user action";
}

TEST_F(cScrollOnBars, UserActions_Should_ArriveFromTheBars) {
    vertical.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    vertical.triggerAction(QAbstractSlider::SliderPageStepAdd);
    horizontal.triggerAction(QAbstractSlider::SliderToMaximum);
    vertical.setSliderDown(true); // a drag: every move, then the release
    vertical.setSliderPosition(300);
    vertical.setSliderPosition(320);
    vertical.setSliderDown(false);
    vertical.setValue(40); // the bar's own "Scroll here"
    EXPECT_EQ(
        events,
        (Events{{'v', 10}, {'v', 110}, {'h', 901}, {'V', 300}, {'V', 320}, {'V', 320}, {'V', 40}}));
    EXPECT_EQ(std::pair(vertical.value(), scroll->VPos()), std::pair(40, 40));

    // The controller decides the step, not the bar.
    scroll->setVSmallChange(0);
    vertical.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(vertical.value(), 40);
}

TEST_F(cScrollOnBars, SubClass_Should_KeepTheFirstBars_AndDestructionLeaveThemAsTheyAre) {
    QScrollBar other(Qt::Vertical);
    scroll->SubClass(horizontal, other);
    other.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_TRUE(events.empty());

    scroll->setVPos(77);
    scroll.reset();
    EXPECT_EQ(vertical.value(), 77);
    EXPECT_FALSE(vertical.isHidden());
    vertical.triggerAction(QAbstractSlider::SliderSingleStepAdd); // reaches nobody
    EXPECT_TRUE(events.empty());
}

} // namespace
} // namespace pellix
