#include "platform/qt/StdScrollBar.h"
#include "platform/qt/ScrollWindow.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <vector>

namespace pellix {
namespace {

constexpr std::uint32_t R = SIF_RANGE, P = SIF_PAGE, S = SIF_POS, D = SIF_DISABLENOSCROLL;

ScrollInfo info(std::uint32_t mask, int nMin, int nMax, int nPage, int nPos) {
    ScrollInfo i;
    i.fMask = mask;
    i.nMin = nMin;
    i.nMax = nMax;
    i.nPage = nPage;
    i.nPos = nPos;
    return i;
}

// Applies made one after the other to a freshly shown bar (0..100, page 0, at 0),
// and what the bar holds, returns and shows after the last.
struct Row {
    std::vector<ScrollInfo> applies;
    int min, max, page, pos;
    bool shown, enabled;
};

const std::vector<Row> rows = {
    {{info(S, 0, 0, 0, 40)}, 0, 100, 0, 40, true, true},
    {{info(R | S, 5, 50, 0, -7)}, 5, 50, 0, 5, true, true},     // below the minimum
    {{info(S, 0, 0, 0, 500)}, 0, 100, 0, 100, true, true},      // no page: up to max
    {{info(P | S, 0, 0, 1, 500)}, 0, 100, 1, 100, true, true},  // page 1: still max
    {{info(P | S, 0, 0, 10, 500)}, 0, 100, 10, 91, true, true}, // max - (page - 1)
    {{info(R | P | S, 0, 1082, 108, 5000)}, 0, 1082, 108, 975, true, true},
    {{info(S, 0, 0, 0, 90), info(R, 0, 50, 0, 0)}, 0, 50, 0, 50, true, true},
    {{info(S, 0, 0, 0, 100), info(P, 0, 0, 21, 0)}, 0, 100, 21, 80, true, true},
    {{info(P, 0, 0, 500, 0)}, 0, 100, 101, 0, false, true},     // page limited, idle
    {{info(P | S, 0, 0, -4, 100)}, 0, 100, 0, 100, true, true}, // negative page is none
    {{info(P | D, 0, 0, 101, 0)}, 0, 100, 101, 0, true, false}, // idle, shown disabled
    {{info(P | S, 0, 0, 100, 9)}, 0, 100, 100, 1, true, true},  // one step left
    {{info(R, 0, 0, 0, 0)}, 0, 0, 0, 0, false, true},
    {{info(R | D, 3, 3, 0, 0)}, 3, 3, 0, 3, true, false},
    {{info(R | D, 0, 0, 0, 0), info(R, 0, 10, 0, 0)}, 0, 10, 0, 0, true, true},
    {{info(R, 0, 0, 0, 0), info(S, 0, 0, 0, 5)}, 0, 0, 0, 0, false, true}, // a move keeps it hidden
    {{info(R, 10, 2, 0, 0)}, 0, 0, 0, 0, false, true},                     // reversed: no range
    {{info(P, 0, 0, 101, 0), info(R | D, 0, 100, 0, 0)}, 0, 100, 101, 0, true, false},
};

class StdScrollBarRules : public ::testing::TestWithParam<Row> {};

TEST_P(StdScrollBarRules, Apply_Should_LimitReportAndShow) {
    const Row& row = GetParam();
    QWidget window;
    StdScrollBar bar(Qt::Vertical, &window);
    bar.show(true);
    std::int32_t returned = -1;
    for (const ScrollInfo& i : row.applies) {
        returned = bar.setInfo(i);
    }
    EXPECT_EQ(std::tuple(bar.minimum(), bar.maximum(), bar.page(), bar.position()),
              std::tuple(row.min, row.max, row.page, row.pos));
    EXPECT_EQ(returned, row.pos);
    EXPECT_EQ(std::pair(bar.isShown(), bar.isEnabled()), std::pair(row.shown, row.enabled));
    // The drawn bar agrees.
    EXPECT_EQ(bar.scrollBar()->isVisibleTo(&window), row.shown);
    EXPECT_EQ(bar.scrollBar()->value(), row.pos);
    EXPECT_EQ(bar.scrollBar()->isEnabled(), row.enabled && bar.lastPosition() > row.min);
}

INSTANTIATE_TEST_SUITE_P(Table, StdScrollBarRules, ::testing::ValuesIn(rows));

TEST(StdScrollBar, Bar_Should_HaveNoRangeToRead_UntilShownOrSet) {
    QWidget window;
    StdScrollBar bar(Qt::Horizontal, &window);
    ScrollInfo read = info(R | P | S, -1, 77, -1, -1);
    EXPECT_FALSE(bar.getInfo(read));
    bar.show(false);
    EXPECT_FALSE(bar.getInfo(read));
    EXPECT_EQ(read.nMax, 77) << "a failed read leaves the record alone";
    bar.show(true);
    ASSERT_TRUE(bar.getInfo(read));
    EXPECT_EQ(std::tuple(read.nMin, read.nMax, read.nPage, read.nPos), std::tuple(0, 100, 0, 0));

    StdScrollBar set(Qt::Horizontal, &window);
    set.setInfo(info(S, 0, 0, 0, 30));
    read.fMask = R;
    ASSERT_TRUE(set.getInfo(read));
    EXPECT_EQ(read.nMax, 100) << "a set bar starts from the standard range";
}

// The bars take their room from the client area, along the right and bottom edges.
TEST(ScrollWindow, ShownBars_Should_LieAlongTheRightAndBottomEdges) {
    QWidget window;
    window.resize(300, 200);
    window.show(); // a hidden widget gets its resize events only when shown
    ShowScrollBar(&window, SB_VERT, true);
    ScrollWindow& sw = ScrollWindow::of(&window);
    const int e = sw.barExtent();
    EXPECT_EQ(sw.bar(SB_VERT).scrollBar()->geometry(), QRect(300 - e, 0, e, 200));
    ShowScrollBar(&window, SB_HORZ, true);
    window.resize(400, 250);
    EXPECT_EQ(sw.bar(SB_VERT).scrollBar()->geometry(), QRect(400 - e, 0, e, 250 - e));
    EXPECT_EQ(sw.bar(SB_HORZ).scrollBar()->geometry(), QRect(0, 250 - e, 400 - e, e));
}

} // namespace
} // namespace pellix
