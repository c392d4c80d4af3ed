#include "scrollview/cScroll.h"
#include "platform/qt/QtWindowing.h"
#include "platform/qt/ScrollWindow.h"

#include <QApplication>
#include <QWheelEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace pellix {
namespace {

using mScroll::ScrollWndProc;

struct Event {
    char kind; // 'h' HChange, 'H' HScroll, 'v' VChange, 'V' VScroll
    std::int32_t pos;
    bool operator==(const Event&) const = default;
};
void PrintTo(const Event& e, std::ostream* os) {
    *os << e.kind << e.pos;
}

// Stands in for the window's own procedure: records what reaches it.
struct Received {
    std::uint32_t msg;
    std::uint32_t wParam;
    std::int32_t lParam;
};
std::vector<Received> g_received;
std::int32_t recordingProc(QWidget*, std::uint32_t uMsg, std::uint32_t wParam,
                           std::int32_t lParam) {
    g_received.push_back({uMsg, wParam, lParam});
    return 4711;
}

class cScrollTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_received.clear();
        QApplication::setWheelScrollLines(3);
        window.resize(400, 300);
        scroll = makeScroll();
    }

    std::shared_ptr<cScroll> makeScroll() {
        return cScroll::create(windowing, {[this](std::int32_t p) {
                                               events.push_back({'h', p});
                                           },
                                           [this](std::int32_t p) {
                                               events.push_back({'H', p});
                                           },
                                           [this](std::int32_t p) {
                                               events.push_back({'v', p});
                                           },
                                           [this](std::int32_t p) {
                                               events.push_back({'V', p});
                                           }});
    }

    // Attached with both bars shown and given a range, as the main window does.
    void attach(std::int32_t max = 1000, std::int32_t page = 100) {
        scroll->SubClass(&window);
        scroll->setHScroll(true);
        scroll->setVScroll(true);
        scroll->setHMax(max);
        scroll->setHPage(page);
        scroll->setVMax(max);
        scroll->setVPage(page);
        scroll->setHSmallChange(10);
        scroll->setVSmallChange(10);
        events.clear();
    }

    std::int32_t send(std::uint32_t msg, int code, int high = 0) {
        return ScrollWndProc(&window, msg, MakeLong(code, high), 0);
    }

    StdScrollBar& bar(int nBar) { return ScrollWindow::of(&window).bar(nBar); }

    QtWindowing windowing;
    QWidget window;
    std::shared_ptr<cScroll> scroll;
    std::vector<Event> events;
};

TEST_F(cScrollTest, ScrollCodes_Should_MoveTheBarAndRaiseChange) {
    attach();
    scroll->setHPos(500);
    scroll->setVPos(500);
    struct Case {
        std::uint32_t msg;
        int code;
        Event expected;
    };
    const std::vector<Case> cases = {
        {WM_HSCROLL, SB_LINERIGHT, {'h', 510}}, {WM_HSCROLL, SB_LINELEFT, {'h', 500}},
        {WM_HSCROLL, SB_PAGERIGHT, {'h', 600}}, {WM_HSCROLL, SB_PAGELEFT, {'h', 500}},
        {WM_HSCROLL, SB_RIGHT, {'h', 901}},     {WM_HSCROLL, SB_LEFT, {'h', 0}},
        {WM_VSCROLL, SB_LINEDOWN, {'v', 510}},  {WM_VSCROLL, SB_LINEUP, {'v', 500}},
        {WM_VSCROLL, SB_PAGEDOWN, {'v', 600}},  {WM_VSCROLL, SB_PAGEUP, {'v', 500}},
        {WM_VSCROLL, SB_BOTTOM, {'v', 901}},    {WM_VSCROLL, SB_TOP, {'v', 0}},
    };
    for (const Case& c : cases) {
        events.clear();
        EXPECT_EQ(send(c.msg, c.code), 0);
        ASSERT_EQ(events.size(), 1u) << "code " << c.code;
        EXPECT_EQ(events[0], c.expected) << "code " << c.code;
        EXPECT_EQ(bar(c.msg == WM_HSCROLL ? SB_HORZ : SB_VERT).position(), c.expected.pos);
    }
}

TEST_F(cScrollTest, Thumb_Should_RaiseOnlyScrollEvents_And_ReadPositionsAsSigned16Bit) {
    attach();
    send(WM_HSCROLL, SB_THUMBTRACK, 120);
    send(WM_HSCROLL, SB_THUMBTRACK, 130);
    send(WM_HSCROLL, SB_THUMBPOSITION, 130);
    send(WM_VSCROLL, SB_THUMBTRACK, 200);
    send(WM_VSCROLL, SB_THUMBPOSITION, 2000); // beyond the range: the bar limits it
    const std::vector<Event> expected = {
        {'H', 120}, {'H', 130}, {'H', 130}, {'V', 200}, {'V', 901}};
    EXPECT_EQ(events, expected);

    // Above 32767 the packed position reads negative and the bar puts it at its minimum.
    events.clear();
    send(WM_VSCROLL, SB_THUMBTRACK, 40000);
    EXPECT_EQ(events, (std::vector<Event>{{'V', 0}}));
}

TEST_F(cScrollTest, EndScrollAndUnknownCodes_Should_DoNothing_And_NeverReachTheWindow) {
    SetWindowProc(&window, &recordingProc);
    attach();
    scroll->setVPos(300);
    for (const int code : {SB_ENDSCROLL, 9, 0x7FFF}) {
        EXPECT_EQ(send(WM_VSCROLL, code), 0);
        EXPECT_EQ(send(WM_HSCROLL, code), 0);
    }
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(g_received.empty());
    EXPECT_EQ(bar(SB_VERT).position(), 300);
}

TEST_F(cScrollTest, OtherMessages_Should_PassUnchangedToThePreviousProcedure) {
    SetWindowProc(&window, &recordingProc);
    attach();
    EXPECT_EQ(ScrollWndProc(&window, 0x0005, 0xABCD1234u, -77), 4711);
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].msg, 0x0005u);
    EXPECT_EQ(g_received[0].wParam, 0xABCD1234u);
    EXPECT_EQ(g_received[0].lParam, -77);
    EXPECT_TRUE(events.empty());
}

TEST_F(cScrollTest, LineSteps_Should_StayAtTheEnds_And_StillReport) {
    attach(1000, 100);
    scroll->setHPos(901);
    send(WM_HSCROLL, SB_LINERIGHT);
    scroll->setVPos(0);
    send(WM_VSCROLL, SB_LINEUP);
    EXPECT_EQ(events, (std::vector<Event>{{'h', 901}, {'v', 0}}));

    // A step of 0 re-applies the present position and still raises the event.
    events.clear();
    scroll->setHSmallChange(0);
    scroll->setHPos(44);
    send(WM_HSCROLL, SB_LINERIGHT);
    send(WM_HSCROLL, SB_LINELEFT);
    EXPECT_EQ(events, (std::vector<Event>{{'h', 44}, {'h', 44}}));
}

TEST_F(cScrollTest, Wheel_Should_MoveTheVerticalBarByWholeNotches) {
    attach();
    scroll->setVPos(300);
    scroll->setHPos(300);
    struct Case {
        int delta;
        std::int32_t pos;
    };
    // Away from the user (positive) scrolls back; part of a notch moves nothing.
    const std::vector<Case> cases = {{-360, 390}, {120, 360},    {60, 360},  {-119, 360},
                                     {-240, 420}, {-30000, 901}, {3000, 151}};
    for (const Case& c : cases) {
        events.clear();
        EXPECT_EQ(send(WM_MOUSEWHEEL, 0, c.delta), 0);
        EXPECT_EQ(events, (std::vector<Event>{{'v', c.pos}})) << "delta " << c.delta;
    }
    EXPECT_EQ(bar(SB_HORZ).position(), 300);
}

TEST_F(cScrollTest, WheelSetting_Should_BeReadOnceWithThreeForNone) {
    QApplication::setWheelScrollLines(5);
    scroll = makeScroll();
    attach();
    QApplication::setWheelScrollLines(1); // later changes do not reach a live controller
    send(WM_MOUSEWHEEL, 0, -120);
    EXPECT_EQ(events.back().pos, 50);

    QApplication::setWheelScrollLines(0);
    std::shared_ptr<cScroll> other = makeScroll();
    QWidget second;
    other->SubClass(&second);
    other->setVScroll(true);
    other->setVMax(1000);
    events.clear();
    ScrollWndProc(&second, WM_MOUSEWHEEL, MakeLong(0, -120), 0);
    EXPECT_EQ(events, (std::vector<Event>{{'v', 30}}));
}

TEST_F(cScrollTest, ScrollFlags_Should_ShowAndHideOnlyOnAChange) {
    scroll->SubClass(&window);
    scroll->setHScroll(false);
    EXPECT_EQ(ScrollWindow::find(&window)->bar(SB_HORZ).hasRange(), false)
        << "writing the flag it already has touches no bar";

    scroll->setHScroll(true);
    EXPECT_TRUE(bar(SB_HORZ).isShown());
    ShowScrollBar(&window, SB_HORZ, false); // hidden behind the controller's back
    scroll->setHScroll(true);
    EXPECT_FALSE(bar(SB_HORZ).isShown()) << "an equal value does nothing";
    EXPECT_TRUE(scroll->HScroll());

    scroll->setVScroll(true);
    scroll->setVScroll(false);
    EXPECT_FALSE(bar(SB_VERT).isShown());
    EXPECT_FALSE(scroll->VScroll());
}

TEST_F(cScrollTest, MinimumWrite_Should_ReapplyThePresentRange_OnABarThatHasOne) {
    scroll->SubClass(&window);
    scroll->setHScroll(true);
    scroll->setHDisableNoScroll(true);
    scroll->setHMin(3);
    EXPECT_EQ(scroll->HMin(), 0);
    EXPECT_EQ(scroll->HMax(), 100);

    // Re-applied with DisableNoScroll: an idle bar stays visible, disabled.
    scroll->setHPage(101);
    scroll->setHMin(3);
    EXPECT_TRUE(bar(SB_HORZ).isShown());
    EXPECT_FALSE(bar(SB_HORZ).isEnabled());

    // The maximum goes with the present minimum.
    scroll->setVScroll(true);
    scroll->setVMax(500);
    EXPECT_EQ(scroll->VMin(), 0);
    EXPECT_EQ(scroll->VMax(), 500);
}

TEST_F(cScrollTest, MinimumWrite_Should_ReachABarWithoutARange_WithTheRecordsMaximum) {
    scroll->SubClass(&window);
    scroll->setVScroll(true);
    scroll->setVMax(250); // leaves 0..250 in the shared record
    scroll->setHMin(3);   // the horizontal bar has no range yet
    EXPECT_EQ(bar(SB_HORZ).minimum(), 3);
    EXPECT_EQ(bar(SB_HORZ).maximum(), 250);
}

TEST_F(cScrollTest, Reads_Should_ReturnTheRecordsLeftovers_While_Unattached) {
    scroll->setHPage(17); // nothing to apply to, but the record keeps the value
    EXPECT_EQ(scroll->HPage(), 17);
    EXPECT_EQ(scroll->VPage(), 17);
    scroll->setVScroll(true);
    EXPECT_TRUE(scroll->VScroll());
    EXPECT_EQ(ScrollWindow::find(&window), nullptr);
}

TEST_F(cScrollTest, SubClass_Should_AttachOnlyOnce_PerWindow) {
    scroll->SubClass(&window);
    const WindowProc installed = ScrollWindow::of(&window).windowProc();
    const quintptr first = GetProp(&window, "nvStdScroll");
    ASSERT_NE(first, 0u);
    EXPECT_EQ(installed, &ScrollWndProc);

    scroll->SubClass(&window);
    std::shared_ptr<cScroll> other = makeScroll();
    other->SubClass(&window);
    EXPECT_EQ(GetProp(&window, "nvStdScroll"), first);

    // The second instance stayed unattached: its writes reach no bar.
    other->setVScroll(true);
    EXPECT_FALSE(ScrollWindow::of(&window).bar(SB_VERT).isShown());

    // Its destruction leaves the first one's attachment alone.
    other.reset();
    EXPECT_EQ(GetProp(&window, "nvStdScroll"), first);
    EXPECT_EQ(ScrollWindow::of(&window).windowProc(), &ScrollWndProc);

    cScroll::create(windowing, {})->SubClass(nullptr); // no window: nothing happens
}

TEST_F(cScrollTest, Destruction_Should_Detach_AndLeaveTheBarsAsTheyAre) {
    SetWindowProc(&window, &recordingProc);
    attach();
    scroll.reset();
    EXPECT_EQ(GetProp(&window, "nvStdScroll"), 0u);
    EXPECT_EQ(ScrollWindow::of(&window).windowProc(), &recordingProc);
    EXPECT_TRUE(bar(SB_VERT).isShown());

    // A message now goes straight to the window's procedure.
    ScrollWindow::of(&window).sendMessage(WM_VSCROLL, MakeLong(SB_LINEDOWN, 0), 0);
    EXPECT_EQ(g_received.size(), 1u);

    // A fresh controller can attach again.
    scroll = makeScroll();
    scroll->SubClass(&window);
    EXPECT_NE(GetProp(&window, "nvStdScroll"), 0u);
}

TEST_F(cScrollTest, Destruction_Should_LeaveAGoneWindowAlone) {
    auto gone = std::make_unique<QWidget>();
    scroll->SubClass(gone.get());
    gone.reset();
    scroll.reset(); // must not touch the deleted window
    SUCCEED();
}

TEST_F(cScrollTest, Instance_Should_OutliveAnOwnerThatDropsItInsideAnEvent) {
    std::weak_ptr<cScroll> watch;
    scroll = cScroll::create(windowing, {[this](std::int32_t p) {
                                             scroll.reset();
                                             events.push_back({'h', p});
                                         },
                                         {},
                                         {},
                                         {}});
    watch = scroll;
    scroll->SubClass(&window);
    scroll->setHScroll(true);
    EXPECT_EQ(send(WM_HSCROLL, SB_LINERIGHT), 0);
    EXPECT_EQ(events.size(), 1u);
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(GetProp(&window, "nvStdScroll"), 0u) << "detached when the call let go";
}

TEST(mScroll, Words_Should_ReadAsSigned16Bit) {
    EXPECT_EQ(mScroll::LoWord(0x0000FFFFu), -1);
    EXPECT_EQ(mScroll::HiWord(0xFFFF0000u), -1);
    EXPECT_EQ(mScroll::LoWord(0x80007FFFu), 32767);
    EXPECT_EQ(mScroll::HiWord(0x80007FFFu), -32768);
    EXPECT_EQ(mScroll::HiWord(MakeLong(SB_THUMBTRACK, 40000)), 40000 - 65536);
    EXPECT_EQ(mScroll::HiWord(MakeLong(0, -360)), -360);
}

// The toolkit side: the bars' actions and the wheel arrive as scroll messages.
TEST_F(cScrollTest, BarActionsAndWheel_Should_ArriveAsMessages) {
    attach(1000, 100);
    QScrollBar* vertical = bar(SB_VERT).scrollBar();
    vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
    vertical->triggerAction(QAbstractSlider::SliderToMaximum);
    bar(SB_HORZ).scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(events, (std::vector<Event>{{'v', 10}, {'v', 110}, {'v', 901}, {'h', 10}}));
    EXPECT_EQ(vertical->value(), 901);

    events.clear();
    QWheelEvent towardsUser(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -120),
                            Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    EXPECT_TRUE(QApplication::sendEvent(&window, &towardsUser));
    QWheelEvent awayOnBar(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 240), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(vertical, &awayOnBar);
    EXPECT_EQ(events, (std::vector<Event>{{'v', 901}, {'v', 841}}));
    EXPECT_EQ(vertical->value(), 841) << "the bar's own wheel handling never ran";
}

TEST_F(cScrollTest, WithoutController_Should_LeaveTheBarsAndTheWheelToTheWindow) {
    ShowScrollBar(&window, SB_VERT, true);
    QScrollBar* vertical = bar(SB_VERT).scrollBar();
    vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar(SB_VERT).position(), 0);
    EXPECT_EQ(vertical->value(), 0) << "the drawn thumb goes back where the bar is";

    QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    wheel.ignore();
    QApplication::sendEvent(&window, &wheel);
    EXPECT_FALSE(wheel.isAccepted()) << "an unhandled wheel goes on to the parent";
}

} // namespace
} // namespace pellix

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
