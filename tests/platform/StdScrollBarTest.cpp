#include "platform/qt/StdScrollBar.h"
#include "platform/qt/ScrollWindow.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

QT_BEGIN_NAMESPACE
void PrintTo(const QRect& r, std::ostream* os) {
    *os << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}
QT_END_NAMESPACE

namespace pellix {
namespace {

// Applies made one after the other to a fresh, shown bar, and what the bar holds
// and reports after the last one.
struct Row {
    const char* name;
    std::vector<ScrollInfo> applies;
    std::int32_t min, max, page, pos;
    std::int32_t returned;
    bool shown, enabled;
};

ScrollInfo range(std::int32_t nMin, std::int32_t nMax, std::uint32_t extra = 0) {
    ScrollInfo info;
    info.fMask = SIF_RANGE | extra;
    info.nMin = nMin;
    info.nMax = nMax;
    return info;
}
ScrollInfo page(std::int32_t nPage, std::uint32_t extra = 0) {
    ScrollInfo info;
    info.fMask = SIF_PAGE | extra;
    info.nPage = nPage;
    return info;
}
ScrollInfo pos(std::int32_t nPos) {
    ScrollInfo info;
    info.fMask = SIF_POS;
    info.nPos = nPos;
    return info;
}
ScrollInfo all(std::int32_t nMin, std::int32_t nMax, std::int32_t nPage, std::int32_t nPos,
               std::uint32_t extra = 0) {
    ScrollInfo info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | extra;
    info.nMin = nMin;
    info.nMax = nMax;
    info.nPage = nPage;
    info.nPos = nPos;
    return info;
}

const std::vector<Row> rows = {
    {"position inside the range is kept", {pos(40)}, 0, 100, 0, 40, 40, true, true},
    {"position below the minimum goes to it", {range(5, 50), pos(-7)}, 5, 50, 0, 5, 5, true, true},
    {"without a page the last position is the maximum",
     {pos(500)},
     0,
     100,
     0,
     100,
     100,
     true,
     true},
    {"a page of one leaves the maximum reachable",
     {page(1), pos(500)},
     0,
     100,
     1,
     100,
     100,
     true,
     true},
    {"a page shortens the reach by page minus one",
     {page(10), pos(500)},
     0,
     100,
     10,
     91,
     91,
     true,
     true},
    {"a large picture: 1082 with page 108 ends at 975",
     {range(0, 1082), page(108), pos(5000)},
     0,
     1082,
     108,
     975,
     975,
     true,
     true},
    {"a new range pulls a position back", {pos(90), range(0, 50)}, 0, 50, 0, 50, 50, true, true},
    {"a new page pulls a position back", {pos(100), page(21)}, 0, 100, 21, 80, 80, true, true},
    {"the page is limited to the whole range", {page(500)}, 0, 100, 101, 0, 0, false, true},
    {"a negative page counts as none", {page(-4), pos(100)}, 0, 100, 0, 100, 100, true, true},
    {"a whole-range page with DisableNoScroll shows the bar disabled",
     {page(101, SIF_DISABLENOSCROLL)},
     0,
     100,
     101,
     0,
     0,
     true,
     false},
    {"a page just short of the range still scrolls by one",
     {page(100), pos(9)},
     0,
     100,
     100,
     1,
     1,
     true,
     true},
    {"an empty range hides the bar", {range(0, 0)}, 0, 0, 0, 0, 0, false, true},
    {"an empty range with DisableNoScroll disables it",
     {range(3, 3, SIF_DISABLENOSCROLL)},
     3,
     3,
     0,
     3,
     3,
     true,
     false},
    {"a scrollable range enables a disabled bar again",
     {range(0, 0, SIF_DISABLENOSCROLL), range(0, 10)},
     0,
     10,
     0,
     0,
     0,
     true,
     true},
    {"a hidden idle bar comes back with a range to scroll",
     {range(0, 0), range(0, 10)},
     0,
     10,
     0,
     0,
     0,
     true,
     true},
    {"a position alone does not change visibility",
     {range(0, 0), pos(5)},
     0,
     0,
     0,
     0,
     0,
     false,
     true},
    {"a reversed range is no range", {range(10, 2)}, 0, 0, 0, 0, 0, false, true},
    {"all groups at once", {all(10, 60, 11, 100)}, 10, 60, 11, 50, 50, true, true},
    {"DisableNoScroll alone re-checks the bar",
     {page(101), range(0, 100, SIF_DISABLENOSCROLL)},
     0,
     100,
     101,
     0,
     0,
     true,
     false},
};

class StdScrollBarRules : public ::testing::TestWithParam<Row> {};

TEST_P(StdScrollBarRules, Apply_Should_LimitAndReport) {
    const Row& row = GetParam();
    QWidget window;
    StdScrollBar bar(Qt::Vertical, &window);
    bar.show(true);
    std::int32_t returned = -12345;
    for (const ScrollInfo& info : row.applies) {
        returned = bar.setInfo(info);
    }
    EXPECT_EQ(bar.minimum(), row.min);
    EXPECT_EQ(bar.maximum(), row.max);
    EXPECT_EQ(bar.page(), row.page);
    EXPECT_EQ(bar.position(), row.pos);
    EXPECT_EQ(returned, row.returned);
    EXPECT_EQ(bar.isShown(), row.shown);
    EXPECT_EQ(bar.isEnabled(), row.enabled);

    // The drawn bar agrees with the state.
    EXPECT_EQ(bar.scrollBar()->isVisibleTo(&window), row.shown);
    EXPECT_EQ(bar.scrollBar()->value(), row.pos);
    const bool scrolls = row.shown && row.enabled && bar.lastPosition() > row.min;
    EXPECT_EQ(bar.scrollBar()->isEnabled(), scrolls);
    if (scrolls) {
        EXPECT_EQ(bar.scrollBar()->maximum(), bar.lastPosition());
    }
}

INSTANTIATE_TEST_SUITE_P(Table, StdScrollBarRules, ::testing::ValuesIn(rows),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c) {
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             }
                             return name;
                         });

TEST(StdScrollBar, NewBar_Should_HaveNoRangeToRead_Until_ShownOrSet) {
    QWidget window;
    StdScrollBar hidden(Qt::Horizontal, &window);
    ScrollInfo info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = 77;
    EXPECT_FALSE(hidden.getInfo(info));
    EXPECT_EQ(info.nMax, 77) << "a failed read leaves the record alone";

    hidden.show(false);
    EXPECT_FALSE(hidden.getInfo(info)) << "hiding a bar gives it no range";

    hidden.show(true);
    ASSERT_TRUE(hidden.getInfo(info));
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 100);
    EXPECT_EQ(info.nPage, 0);
    EXPECT_EQ(info.nPos, 0);

    StdScrollBar set(Qt::Horizontal, &window);
    set.setInfo(pos(30));
    ASSERT_TRUE(set.getInfo(info));
    EXPECT_EQ(info.nPos, 30) << "setting a bar gives it the standard range first";
}

TEST(StdScrollBar, Read_Should_FillOnlyTheAskedGroups) {
    QWidget window;
    StdScrollBar bar(Qt::Horizontal, &window);
    bar.setInfo(all(2, 40, 5, 7));
    ScrollInfo info;
    info.fMask = SIF_POS;
    info.nMin = -1;
    info.nMax = -1;
    info.nPage = -1;
    ASSERT_TRUE(bar.getInfo(info));
    EXPECT_EQ(info.nPos, 7);
    EXPECT_EQ(info.nMin, -1);
    EXPECT_EQ(info.nMax, -1);
    EXPECT_EQ(info.nPage, -1);
}

// The bars take their room from the window's client area: each lies along its
// edge, and the horizontal one stops short of the vertical one.
TEST(ScrollWindow, ShownBars_Should_LieAlongTheRightAndBottomEdges) {
    QWidget window;
    window.resize(300, 200);
    window.show(); // a hidden widget gets its resize events only when shown
    ShowScrollBar(&window, SB_VERT, true);
    ScrollWindow* sw = ScrollWindow::find(&window);
    ASSERT_NE(sw, nullptr);
    const int e = sw->barExtent();
    EXPECT_EQ(sw->bar(SB_VERT).scrollBar()->geometry(), QRect(300 - e, 0, e, 200));

    ShowScrollBar(&window, SB_HORZ, true);
    EXPECT_EQ(sw->bar(SB_VERT).scrollBar()->geometry(), QRect(300 - e, 0, e, 200 - e));
    EXPECT_EQ(sw->bar(SB_HORZ).scrollBar()->geometry(), QRect(0, 200 - e, 300 - e, e));

    window.resize(400, 250);
    EXPECT_EQ(sw->bar(SB_HORZ).scrollBar()->geometry(), QRect(0, 250 - e, 400 - e, e));
}

} // namespace
} // namespace pellix

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
