#include "platform/x11/X11DisplayMonitors.h"

#include <gtest/gtest.h>

#include <ostream>

namespace pellix {

void PrintTo(const ReservedBand& band, std::ostream* out) {
    static const char* const edges[] = {"left", "right", "top", "bottom"};
    *out << edges[static_cast<int>(band.edge)] << ' ' << band.rect.x() << ',' << band.rect.y()
         << ' ' << band.rect.width() << 'x' << band.rect.height();
}

namespace {

using Edge = ReservedBand::Edge;

// Three monitors side by side on a root window of 4480 x 1080, the middle one
// taller.
const QRect Root(0, 0, 4480, 1080);
const QRect Left(0, 0, 1280, 1024);
const QRect Main(1280, 0, 1920, 1080);
const QRect Right(3200, 0, 1280, 1024);

struct BandsRow {
    const char* what;
    std::vector<unsigned long> strut;
    std::vector<ReservedBand> expected;
};

TEST(StrutBands, AreTheStripsAlongTheRootWindowsEdges) {
    const BandsRow rows[] = {
        {"top over the middle monitor",
         {0, 0, 40, 0, 0, 0, 0, 0, 1280, 3199, 0, 0},
         {{Edge::Top, QRect(1280, 0, 1920, 40)}}},
        {"left and bottom at once",
         {30, 0, 0, 48, 100, 599, 0, 0, 0, 0, 3200, 4479},
         {{Edge::Left, QRect(0, 100, 30, 500)}, {Edge::Bottom, QRect(3200, 1032, 1280, 48)}}},
        {"right",
         {0, 50, 0, 0, 0, 0, 0, 1023, 0, 0, 0, 0},
         {{Edge::Right, QRect(4430, 0, 50, 1024)}}},
        {"only four values: whole edges",
         {0, 0, 0, 25},
         {{Edge::Bottom, QRect(0, 1055, 4480, 25)}}},
        {"a span beyond the root window is cut",
         {0, 0, 40, 0, 0, 0, 0, 0, 4000, 9000, 0, 0},
         {{Edge::Top, QRect(4000, 0, 480, 40)}}},
        {"last before first", {0, 0, 40, 0, 0, 0, 0, 0, 3199, 1280, 0, 0}, {}},
        {"nothing reserved", {0, 0, 0, 0, 0, 1079, 0, 1079, 0, 4479, 0, 4479}, {}},
        {"too few values", {0, 0, 40}, {}},
    };
    for (const BandsRow& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(strutBands(row.strut, Root), row.expected);
    }
}

struct WorkAreaRow {
    const char* what;
    QRect monitor;
    std::vector<ReservedBand> bands;
    QRect expected;
};

TEST(MonitorWorkArea, LosesOnlyWhatBandsReachIntoIt) {
    const ReservedBand topOfMain{Edge::Top, QRect(1280, 0, 1920, 40)};
    const ReservedBand bottomOfRoot{Edge::Bottom, QRect(0, 1050, 4480, 30)};
    // A panel at the left edge of the middle monitor, 30 wide: its strut
    // counts from the root window's left edge.
    const ReservedBand leftOfMain{Edge::Left, QRect(0, 0, 1310, 1080)};
    const WorkAreaRow rows[] = {
        {"no bands", Main, {}, Main},
        {"a top band on the monitor", Main, {topOfMain}, QRect(1280, 40, 1920, 1040)},
        {"a top band on another monitor", Left, {topOfMain}, Left},
        {"a bottom band below a shorter monitor", Right, {bottomOfRoot}, Right},
        {"a bottom band on the taller one", Main, {bottomOfRoot}, QRect(1280, 0, 1920, 1050)},
        {"a right band",
         Right,
         {{Edge::Right, QRect(4430, 0, 50, 1024)}},
         QRect(3200, 0, 1230, 1024)},
        {"a band from an inner edge, on its monitor",
         Main,
         {leftOfMain},
         QRect(1310, 0, 1890, 1080)},
        {"a band from an inner edge, across a neighbour", Left, {leftOfMain}, Left},
        {"two on one side: the deeper counts",
         Main,
         {{Edge::Top, QRect(1280, 0, 1920, 50)}, topOfMain},
         QRect(1280, 50, 1920, 1030)},
    };
    for (const WorkAreaRow& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(monitorWorkArea(row.monitor, row.bands), row.expected);
    }
}

} // namespace
} // namespace pellix
