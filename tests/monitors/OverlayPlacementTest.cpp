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

// The overlay draws its picture from its own corner: that corner's pixel must
// be the screen's pixel there, wherever the monitors and the grab begin.
TEST(OverlayPicture, StartsAtTheOverlaysCornerOnTheScreen) {
    QImage screen(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 400; ++x) {
            screen.setPixel(x, y, qRgb(x % 256, y % 256, x / 256));
        }
    }
    struct Row {
        const char* what;
        QPoint origin;
        QRect overlay;
        QPoint firstPixel;
    };
    const Row rows[] = {
        {"the same rectangle", {0, 0}, {0, 0, 400, 300}, {0, 0}},
        {"monitors that begin right of the root's origin", {0, 0}, {200, 20, 200, 280}, {200, 20}},
        {"a screen image that begins left of the origin", {-100, 0}, {-100, 0, 300, 300}, {0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QImage picture = overlayPicture(screen, row.origin, row.overlay);
        EXPECT_EQ(picture.size(), row.overlay.size());
        EXPECT_EQ(picture.pixel(0, 0), screen.pixel(row.firstPixel));
    }
}

// A compositor's picture of the whole desktop: each screen's part of it, also
// left of the origin and where the picture counts two pixels per unit.
TEST(ScreenPart, CutsEachScreenFromTheDesktopPicture) {
    const QRect left(-1280, 0, 1280, 1024);
    const QRect right(0, 0, 1920, 1080);
    const QRect desktop = left | right;
    EXPECT_EQ(screenPart(left, desktop, {3200, 1080}), QRect(0, 0, 1280, 1024));
    EXPECT_EQ(screenPart(right, desktop, {3200, 1080}), QRect(1280, 0, 1920, 1080));
    EXPECT_EQ(screenPart(right, desktop, {6400, 2160}), QRect(2560, 0, 3840, 2160));
    EXPECT_TRUE(screenPart(right, QRect(), {100, 100}).isEmpty());
}

} // namespace
} // namespace pellix
