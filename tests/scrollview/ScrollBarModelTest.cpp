#include "scrollview/ScrollBarModel.h"

#include <gtest/gtest.h>

#include <vector>

namespace pellix {
namespace {

using Idle = ScrollBarModel::Idle;

struct Write {
    enum Kind { Range, Page, Pos } kind;
    int a;
    int b;
    Idle idle;
};
Write range(int min, int max, Idle idle = Idle::Hide) {
    return {Write::Range, min, max, idle};
}
Write page(int value, Idle idle = Idle::Hide) {
    return {Write::Page, value, 0, idle};
}
Write pos(int value, Idle idle = Idle::Hide) {
    return {Write::Pos, value, 0, idle};
}

// Writes made one after the other to a freshly shown bar (0..100, page 0, at 0),
// and what the bar holds and returns after the last.
struct Row {
    std::vector<Write> writes;
    int min, max, page, pos;
    bool shown, enabled;
};

const std::vector<Row> rows = {
    {{pos(40)}, 0, 100, 0, 40, true, true},
    {{range(5, 50), pos(-7)}, 5, 50, 0, 5, true, true}, // below the minimum
    {{pos(500)}, 0, 100, 0, 100, true, true},           // no page: up to max
    {{page(1), pos(500)}, 0, 100, 1, 100, true, true},  // page 1: still max
    {{page(10), pos(500)}, 0, 100, 10, 91, true, true}, // max - (page - 1)
    {{range(0, 1082), page(108), pos(5000)}, 0, 1082, 108, 975, true, true},
    {{pos(90), range(0, 50)}, 0, 50, 0, 50, true, true},       // a new range limits
    {{pos(100), page(21)}, 0, 100, 21, 80, true, true},        // so does a new page
    {{page(500)}, 0, 100, 101, 0, false, true},                // page limited, idle
    {{page(-4), pos(100)}, 0, 100, 0, 100, true, true},        // negative page is none
    {{page(101, Idle::Disable)}, 0, 100, 101, 0, true, false}, // idle, shown disabled
    {{page(100), pos(9)}, 0, 100, 100, 1, true, true},         // one step left
    {{range(0, 0)}, 0, 0, 0, 0, false, true},
    {{range(3, 3, Idle::Disable)}, 3, 3, 0, 3, true, false},
    {{range(0, 0, Idle::Disable), range(0, 10)}, 0, 10, 0, 0, true, true},
    {{range(0, 0), pos(5)}, 0, 0, 0, 0, false, true},                // a move keeps it hidden
    {{range(0, 0), pos(5, Idle::Disable)}, 0, 0, 0, 0, true, false}, // unless it keeps idle bars
    {{range(10, 2)}, 0, 0, 0, 0, false, true},                       // reversed: no range
    {{page(101), range(0, 100, Idle::Disable)}, 0, 100, 101, 0, true, false},
};

class ScrollBarModelRules : public ::testing::TestWithParam<Row> {};

TEST_P(ScrollBarModelRules, Write_Should_LimitReportAndShow) {
    const Row& row = GetParam();
    ScrollBarModel bar;
    bar.setShown(true);
    std::int32_t returned = -1;
    for (const Write& w : row.writes) {
        switch (w.kind) {
        case Write::Range:
            returned = bar.setRange(w.a, w.b, w.idle);
            break;
        case Write::Page:
            returned = bar.setPage(w.a, w.idle);
            break;
        case Write::Pos:
            returned = bar.setPos(w.a, w.idle);
            break;
        }
    }
    EXPECT_EQ(std::tuple(bar.min(), bar.max(), bar.page(), bar.pos()),
              std::tuple(row.min, row.max, row.page, row.pos));
    EXPECT_EQ(returned, row.pos);
    EXPECT_EQ(std::pair(bar.isShown(), bar.isEnabled()), std::pair(row.shown, row.enabled));
}

INSTANTIATE_TEST_SUITE_P(Table, ScrollBarModelRules, ::testing::ValuesIn(rows));

TEST(ScrollBarModel, Bar_Should_HaveNoRange_UntilShownOrWritten) {
    ScrollBarModel shown;
    shown.setShown(false);
    EXPECT_FALSE(shown.hasRange());
    shown.setShown(true);
    EXPECT_TRUE(shown.hasRange());

    ScrollBarModel written;
    written.setPos(30, Idle::Hide);
    EXPECT_TRUE(written.hasRange());
    EXPECT_EQ(written.max(), 100) << "a written bar starts from the standard range";
    EXPECT_FALSE(written.isShown());
}

} // namespace
} // namespace pellix
