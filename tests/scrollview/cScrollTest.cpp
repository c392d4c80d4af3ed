#include "scrollview/cScroll.h"
#include "platform/qt/QtWindowing.h"
#include "platform/qt/ScrollWindow.h"

#include <QApplication>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <vector>

namespace pellix {
namespace {

using mScroll::ScrollWndProc;
using Events = std::vector<std::pair<char, int>>; // 'h' HChange, 'H' HScroll, 'v', 'V'

// Stands in for the window's own procedure.
std::vector<std::uint32_t> g_received;
std::int32_t recordingProc(QWidget*, std::uint32_t uMsg, std::uint32_t, std::int32_t) {
    g_received.push_back(uMsg);
    return 4711;
}

QWheelEvent wheelEvent(int delta) {
    return QWheelEvent(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton,
                       Qt::NoModifier, Qt::NoScrollPhase, false);
}

class cScrollTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_received.clear();
        QApplication::setWheelScrollLines(3);
        scroll = makeScroll();
    }
    std::shared_ptr<cScroll> makeScroll() {
        auto record = [this](char kind) {
            return [this, kind](std::int32_t pos) {
                events.emplace_back(kind, pos);
            };
        };
        return cScroll::create(windowing, {record('h'), record('H'), record('v'), record('V')});
    }
    // Both bars shown with the range 0..1000, page 100, step 10; at most 901 is reachable.
    void attach() {
        scroll->SubClass(&window);
        scroll->setHScroll(true);
        scroll->setVScroll(true);
        scroll->setHMax(1000);
        scroll->setHPage(100);
        scroll->setVMax(1000);
        scroll->setVPage(100);
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
    Events events;
};

TEST_F(cScrollTest, EveryScrollCode_Should_MoveTheBarAndRaiseItsEvent) {
    SetWindowProc(&window, &recordingProc);
    attach();
    scroll->setHPos(500);
    scroll->setVPos(500);
    const std::vector<std::tuple<std::uint32_t, int, int, std::pair<char, int>>> cases = {
        {WM_HSCROLL, SB_LINERIGHT, 0, {'h', 510}},
        {WM_HSCROLL, SB_LINELEFT, 0, {'h', 500}},
        {WM_HSCROLL, SB_PAGERIGHT, 0, {'h', 600}},
        {WM_HSCROLL, SB_PAGELEFT, 0, {'h', 500}},
        {WM_HSCROLL, SB_RIGHT, 0, {'h', 901}},
        {WM_HSCROLL, SB_LEFT, 0, {'h', 0}},
        {WM_HSCROLL, SB_THUMBTRACK, 130, {'H', 130}},
        {WM_VSCROLL, SB_LINEDOWN, 0, {'v', 510}},
        {WM_VSCROLL, SB_LINEUP, 0, {'v', 500}},
        {WM_VSCROLL, SB_PAGEDOWN, 0, {'v', 600}},
        {WM_VSCROLL, SB_PAGEUP, 0, {'v', 500}},
        {WM_VSCROLL, SB_BOTTOM, 0, {'v', 901}},
        {WM_VSCROLL, SB_TOP, 0, {'v', 0}},
        {WM_VSCROLL, SB_THUMBTRACK, 200, {'V', 200}},
        {WM_VSCROLL, SB_THUMBPOSITION, 2000, {'V', 901}}, // limited by the bar
        {WM_VSCROLL, SB_THUMBTRACK, 40000, {'V', 0}},     // reads as -25536
        {WM_VSCROLL, SB_LINEDOWN, 0, {'v', 10}},
    };
    for (const auto& [msg, code, high, expected] : cases) {
        events.clear();
        EXPECT_EQ(send(msg, code, high), 0);
        EXPECT_EQ(events, Events{expected}) << "message " << msg << " code " << code;
        EXPECT_EQ(bar(msg == WM_HSCROLL ? SB_HORZ : SB_VERT).position(), expected.second);
    }
    // The end of a scroll and unknown codes do nothing, and none reaches the window.
    events.clear();
    for (const int code : {SB_ENDSCROLL, 9, 0x7FFF}) {
        EXPECT_EQ(send(WM_VSCROLL, code), 0);
        EXPECT_EQ(send(WM_HSCROLL, code), 0);
    }
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(g_received.empty());
    // Every other message goes on to the window's own procedure, with its result.
    EXPECT_EQ(ScrollWndProc(&window, 0x0005, 1, 2), 4711);
    EXPECT_EQ(g_received, std::vector<std::uint32_t>{0x0005});
}

TEST_F(cScrollTest, LineSteps_Should_StayAtTheEnds_AndAStepOfZeroStillReports) {
    attach();
    scroll->setHPos(901);
    send(WM_HSCROLL, SB_LINERIGHT);
    send(WM_VSCROLL, SB_LINEUP);
    scroll->setHSmallChange(0);
    scroll->setHPos(44);
    send(WM_HSCROLL, SB_LINERIGHT);
    EXPECT_EQ(events, (Events{{'h', 901}, {'v', 0}, {'h', 44}}));
}

TEST_F(cScrollTest, Wheel_Should_MoveTheVerticalBarByWholeNotches) {
    attach();
    scroll->setVPos(300);
    // Towards the user (negative) scrolls on; part of a notch moves nothing.
    for (const auto& [delta, pos] : std::vector<std::pair<int, int>>{
             {-360, 390}, {120, 360}, {60, 360}, {-119, 360}, {-30000, 901}, {3000, 151}}) {
        events.clear();
        EXPECT_EQ(send(WM_MOUSEWHEEL, 0, delta), 0);
        EXPECT_EQ(events, (Events{{'v', pos}})) << "delta " << delta;
    }
    EXPECT_EQ(bar(SB_HORZ).position(), 0);

    // The setting is read once at creation; none (0) counts as three lines.
    QApplication::setWheelScrollLines(0);
    scroll = makeScroll();
    QApplication::setWheelScrollLines(5);
    attach();
    scroll->setVPos(0);
    events.clear();
    send(WM_MOUSEWHEEL, 0, -120);
    EXPECT_EQ(events, (Events{{'v', 30}}));
}

TEST_F(cScrollTest, PropertyWrites_Should_FollowTheirRules) {
    scroll->SubClass(&window);
    scroll->setHScroll(false);
    EXPECT_FALSE(bar(SB_HORZ).hasRange()) << "the flag it already has touches no bar";
    scroll->setHScroll(true);
    ShowScrollBar(&window, SB_HORZ, false);
    scroll->setHScroll(true);
    EXPECT_FALSE(bar(SB_HORZ).isShown()) << "writing true twice shows the bar once";

    // On a bar with a range, a new minimum re-applies the present range, with
    // DisableNoScroll when that is on.
    ShowScrollBar(&window, SB_HORZ, true);
    scroll->setHMin(3);
    EXPECT_EQ(std::pair(scroll->HMin(), scroll->HMax()), std::pair(0, 100));
    scroll->setHPage(101);
    EXPECT_FALSE(bar(SB_HORZ).isShown()) << "idle";
    scroll->setHDisableNoScroll(true);
    scroll->setHMin(3);
    EXPECT_TRUE(bar(SB_HORZ).isShown() && !bar(SB_HORZ).isEnabled()) << "idle, shown disabled";

    // A bar without a range takes the minimum, with the maximum the shared record holds.
    scroll = makeScroll();
    QWidget other;
    scroll->SubClass(&other);
    scroll->setHMax(77);
    scroll->setVMin(3);
    EXPECT_EQ(std::pair(scroll->VMin(), scroll->VMax()), std::pair(3, 77));
}

TEST_F(cScrollTest, SubClassTwice_Should_ChangeNothing_AndDestructionDetaches) {
    SetWindowProc(&window, &recordingProc);
    scroll->SubClass(&window);
    const quintptr first = GetProp(&window, "nvStdScroll");
    ASSERT_NE(first, 0u);
    scroll->SubClass(&window);
    QWidget second;
    scroll->SubClass(&second);
    EXPECT_EQ(GetProp(&second, "nvStdScroll"), 0u) << "one window per instance";
    std::shared_ptr<cScroll> other = makeScroll();
    other->SubClass(&window);
    other->setVScroll(true);
    EXPECT_FALSE(bar(SB_VERT).isShown()) << "the second instance stayed unattached";
    other.reset();
    EXPECT_EQ(GetProp(&window, "nvStdScroll"), first);
    EXPECT_EQ(ScrollWindow::of(&window).windowProc(), &ScrollWndProc);

    scroll->setVScroll(true);
    scroll.reset();
    EXPECT_EQ(GetProp(&window, "nvStdScroll"), 0u);
    EXPECT_EQ(ScrollWindow::of(&window).windowProc(), &recordingProc);
    EXPECT_TRUE(bar(SB_VERT).isShown()) << "detaching leaves the bars as they are";

    scroll = makeScroll(); // unattached: reads give the record's leftovers
    scroll->setHPage(17);
    EXPECT_EQ(scroll->VPage(), 17);
    auto gone = std::make_unique<QWidget>();
    scroll = makeScroll();
    scroll->SubClass(gone.get());
    gone.reset();
    scroll.reset(); // must not touch the deleted window
}

TEST_F(cScrollTest, Instance_Should_OutliveAnOwnerThatDropsItInsideAnEvent) {
    scroll = cScroll::create(windowing, {[this](std::int32_t) { scroll.reset(); }, {}, {}, {}});
    std::weak_ptr<cScroll> watch = scroll;
    scroll->SubClass(&window);
    EXPECT_EQ(send(WM_HSCROLL, SB_LINERIGHT), 0);
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(GetProp(&window, "nvStdScroll"), 0u) << "detached when the call let go";
}

TEST(mScroll, Words_Should_ReadAsSigned16Bit) {
    EXPECT_EQ(mScroll::LoWord(0x8000FFFFu), -1);
    EXPECT_EQ(mScroll::HiWord(0x80007FFFu), -32768);
    EXPECT_EQ(mScroll::LoWord(0x80007FFFu), 32767);
}

// The toolkit side: the drawn bars' actions and the wheel arrive as scroll messages.
TEST_F(cScrollTest, BarActionsAndWheel_Should_ArriveAsMessages) {
    attach();
    QScrollBar* vertical = bar(SB_VERT).scrollBar();
    vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
    vertical->triggerAction(QAbstractSlider::SliderToMaximum);
    bar(SB_HORZ).scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QWheelEvent onWindow = wheelEvent(-120);
    EXPECT_TRUE(QApplication::sendEvent(&window, &onWindow));
    QWheelEvent onBar = wheelEvent(240);
    QApplication::sendEvent(vertical, &onBar);
    EXPECT_EQ(events,
              (Events{{'v', 10}, {'v', 110}, {'v', 901}, {'h', 10}, {'v', 901}, {'v', 841}}));
    EXPECT_EQ(vertical->value(), 841) << "the bar's own wheel handling never ran";

    // Without a controller the bars stay put and the wheel goes on to the parent.
    scroll.reset();
    vertical->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(vertical->value(), 841);
    QWheelEvent unhandled = wheelEvent(-120);
    unhandled.ignore();
    QApplication::sendEvent(&window, &unhandled);
    EXPECT_FALSE(unhandled.isAccepted());
}

} // namespace
} // namespace pellix
