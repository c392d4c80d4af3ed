#include "monitors/MMonitors.h"
#include "fakes/FakeDisplayMonitors.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

namespace pellix {
namespace {

MonitorDescription monitor(MonitorHandle handle, QRect rect, bool primary = false) {
    return {handle, rect, rect, primary, QStringLiteral("M%1").arg(handle)};
}

TEST(MMonitors, OneMonitorGivesTheVirtualScreenAndOneRecordOfTheSameRectangle) {
    FakeDisplayMonitors display;
    display.screen = QRect(0, 0, 1920, 1080);
    display.list = {monitor(7, QRect(0, 0, 1920, 1080), true)};
    MMonitors module(display, {});

    MonitorCollection& records = module.Monitors();

    ASSERT_EQ(records.Count(), 2);
    EXPECT_EQ(module.MonitorCount(), 1);
    EXPECT_TRUE(module.MultiMonitorSupported());
    const CMonitor& screen = records.Item(QStringLiteral("0"));
    const CMonitor& only = records.Item(QStringLiteral("1"));
    EXPECT_EQ(screen.Index(), 0);
    EXPECT_EQ(screen.Handle(), 0U);
    EXPECT_EQ(screen.Device(), QStringLiteral("Virtual"));
    EXPECT_EQ(only.Index(), 1);
    EXPECT_EQ(only.Handle(), 7U);
    EXPECT_EQ(QRect(screen.Left(), screen.Top(), screen.Width(), screen.Height()),
              QRect(only.Left(), only.Top(), only.Width(), only.Height()));
}

TEST(MMonitors, RecordsFollowTheServersOrderNotLeftToRight) {
    FakeDisplayMonitors display;
    display.screen = QRect(-1920, 0, 3840, 1080);
    display.list = {monitor(5, QRect(0, 0, 1920, 1080), true),
                    monitor(3, QRect(-1920, 0, 1920, 1080))};
    MMonitors module(display, {});

    MonitorCollection& records = module.Monitors();

    EXPECT_EQ(records.Item(QStringLiteral("0")).Left(), -1920);
    EXPECT_EQ(records.Item(QStringLiteral("1")).Handle(), 5U);
    EXPECT_EQ(records.Item(QStringLiteral("2")).Handle(), 3U);
    EXPECT_EQ(records.Item(QStringLiteral("2")).Left(), -1920);
    EXPECT_EQ(records.find(QStringLiteral("3")), nullptr);
    EXPECT_THROW(records.Item(QStringLiteral("3")), Error);
}

struct WindowRow {
    const char* what;
    QRect window;
    std::int32_t index;
};

TEST(MMonitors, WindowGetsTheNearestMonitor) {
    FakeDisplayMonitors display;
    display.screen = QRect(0, 0, 4480, 1080);
    display.list = {monitor(1, QRect(1280, 0, 1920, 1080), true),
                    monitor(2, QRect(0, 0, 1280, 1024)), monitor(3, QRect(3200, 0, 1280, 1024))};
    MMonitors module(display, {});
    const WindowRow rows[] = {
        {"inside the left monitor", QRect(100, 100, 400, 300), 2},
        {"mostly on the primary", QRect(1200, 100, 400, 300), 1},
        {"mostly on the right", QRect(3100, 100, 400, 300), 3},
        {"below the left monitor", QRect(100, 1050, 200, 200), 2},
        {"far right of everything", QRect(6000, 500, 100, 100), 3},
        {"above everything", QRect(2000, -500, 100, 100), 1},
    };
    for (const WindowRow& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(module.MonitorIndexFromWindow(row.window), row.index);
    }
}

TEST(MMonitors, ListIsBuiltOnceWhileCountsAndWindowsFollowTheDisplay) {
    FakeDisplayMonitors display;
    display.screen = QRect(0, 0, 1920, 1080);
    display.list = {monitor(1, QRect(0, 0, 1920, 1080), true)};
    MMonitors module(display, {});
    const std::int32_t firstCount = module.MonitorCount();

    display.screen = QRect(0, 0, 3840, 1080);
    display.list.push_back(monitor(2, QRect(1920, 0, 1920, 1080)));
    display.list[0].rect = QRect(0, 0, 1920, 1200);

    EXPECT_EQ(firstCount, 1);
    EXPECT_EQ(module.MonitorCount(), 2);
    EXPECT_EQ(module.Monitors().Count(), 2);
    EXPECT_EQ(module.Monitors().Item(QStringLiteral("0")).Width(), 1920);
    EXPECT_EQ(module.Monitors().Item(QStringLiteral("1")).Height(), 1080);
    // The new monitor has no record: its windows get the virtual screen's.
    EXPECT_EQ(module.MonitorIndexFromWindow(QRect(2000, 10, 100, 100)), 0);
    EXPECT_EQ(module.MonitorIndexFromHandle(2), 0);
    EXPECT_EQ(module.MonitorIndexFromHandle(1), 1);
}

TEST(MMonitors, WithoutMultiMonitorSupportThereIsOneScreenAndNoQuestionAsked) {
    FakeDisplayMonitors display;
    display.multi = false;
    display.screen = QRect(0, 0, 1024, 768);
    display.work = QRect(0, 0, 1024, 740);
    display.list = {monitor(1, QRect(0, 0, 512, 768)), monitor(2, QRect(512, 0, 512, 768))};
    MMonitors module(display, {});

    MonitorCollection& records = module.Monitors();

    ASSERT_EQ(records.Count(), 2);
    EXPECT_EQ(module.MonitorCount(), 1);
    EXPECT_EQ(module.MonitorIndexFromWindow(QRect(600, 0, 10, 10)), 1);
    EXPECT_EQ(display.nearestQueries, 0);
    EXPECT_EQ(records.Item(QStringLiteral("0")).Device(), QStringLiteral("Virtual"));
    EXPECT_FALSE(records.Item(QStringLiteral("0")).DiminishedWorkarea());
    EXPECT_EQ(records.Item(QStringLiteral("1")).Device(), QStringLiteral("\\\\.\\DISPLAY1"));
    EXPECT_EQ(records.Item(QStringLiteral("1")).WorkHeight(), 740);
    EXPECT_EQ(records.Item(QStringLiteral("1")).Handle(), 0U);
}

TEST(NearestMonitor, OverlapWinsThenDistanceThenTheFirst) {
    const std::vector<QRect> monitors = {QRect(0, 0, 100, 100), QRect(100, 0, 100, 100)};
    EXPECT_EQ(nearestMonitor(QRect(60, 0, 100, 10), monitors), 1);   // 40 against 60
    EXPECT_EQ(nearestMonitor(QRect(50, 0, 100, 10), monitors), 0);   // a tie
    EXPECT_EQ(nearestMonitor(QRect(-50, 0, 10, 10), monitors), 0);   // left of all
    EXPECT_EQ(nearestMonitor(QRect(230, 300, 10, 10), monitors), 1); // below right
    EXPECT_EQ(nearestMonitor(QRect(0, 0, 1, 1), {}), -1);
}

} // namespace
} // namespace pellix
