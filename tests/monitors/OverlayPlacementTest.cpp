#include "monitors/OverlayPlacement.h"
#include "fakes/FakeDisplayMonitors.h"
#include "monitors/MMonitors.h"

#include <gtest/gtest.h>

namespace pellix {
namespace {

struct PlacementRow {
    const char* what;
    std::vector<QRect> monitors;
    QRect expected;
};

TEST(OverlayPlacement, IsTheBoundingRectangleOfTheMonitors) {
    const PlacementRow rows[] = {
        {"one monitor", {QRect(0, 0, 1920, 1080)}, QRect(0, 0, 1920, 1080)},
        {"the second left of the primary",
         {QRect(0, 0, 1920, 1080), QRect(-1920, 0, 1920, 1080)},
         QRect(-1920, 0, 3840, 1080)},
        {"X11: a left monitor at 0 and the primary right of it",
         {QRect(1280, 0, 1920, 1080), QRect(0, 0, 1280, 1024)},
         QRect(0, 0, 3200, 1080)},
        {"three, one of them above",
         {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024), QRect(0, -1200, 1600, 1200)},
         QRect(0, -1200, 3200, 2280)},
        {"all right of and below the origin",
         {QRect(100, 50, 800, 600), QRect(900, 50, 800, 600), QRect(1700, 50, 800, 600)},
         QRect(100, 50, 2400, 600)},
        {"a gap between two",
         {QRect(0, 0, 1920, 1080), QRect(2400, 0, 1920, 1080)},
         QRect(0, 0, 4320, 1080)},
        {"stacked, the lower one further right",
         {QRect(0, 0, 1280, 1024), QRect(600, 1024, 1280, 1024)},
         QRect(0, 0, 1880, 2048)},
    };
    for (const PlacementRow& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(overlayPlacement(row.monitors), row.expected);
    }
}

TEST(OverlayPlacement, ReadsRecordsOneToTheCountOfTheList) {
    FakeDisplayMonitors display;
    display.screen = QRect(-1920, 0, 3840, 1080);
    display.list = {{1, QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1080), true, {}},
                    {2, QRect(-1920, 0, 1920, 1080), QRect(-1920, 0, 1920, 1080), false, {}}};
    MMonitors monitors(display, {});
    monitors.Monitors();
    // A monitor plugged in later is counted but has no record to read.
    display.list.push_back({3, QRect(1920, 0, 800, 600), QRect(1920, 0, 800, 600), false, {}});

    EXPECT_EQ(overlayPlacement(monitors), QRect(-1920, 0, 3840, 1080));
}

} // namespace
} // namespace pellix
