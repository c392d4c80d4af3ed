#include "monitors/CMonitor.h"
#include "fakes/FakeDisplayMonitors.h"

#include <gtest/gtest.h>

namespace pellix {
namespace {

constexpr MonitorHandle LeftHandle = 41;
constexpr MonitorHandle MainHandle = 42;

// A primary monitor with a panel along its top, and one wholly left of it.
FakeDisplayMonitors twoMonitors() {
    FakeDisplayMonitors display;
    display.screen = QRect(-1280, 0, 3200, 1080);
    display.list = {
        {MainHandle, QRect(0, 0, 1920, 1080), QRect(0, 30, 1920, 1050), true,
         QStringLiteral("DP-1")},
        {LeftHandle, QRect(-1280, 0, 1280, 1024), QRect(-1280, 0, 1280, 1024), false,
         QStringLiteral("HDMI-1")},
    };
    return display;
}

TEST(CMonitor, NewRecordIsTheVirtualScreenWithItsWholeRectangleAsWorkArea) {
    const FakeDisplayMonitors display = twoMonitors();
    CMonitor record(display, {});

    EXPECT_TRUE(record.MultiMonitorSupport());
    EXPECT_EQ(record.Handle(), 0U);
    EXPECT_EQ(record.Device(), QStringLiteral("Virtual"));
    EXPECT_EQ(record.Left(), -1280);
    EXPECT_EQ(record.Right(), 1920);
    EXPECT_EQ(record.Width(), 3200);
    EXPECT_EQ(record.Height(), 1080);
    EXPECT_EQ(record.WorkLeft(), -1280);
    EXPECT_EQ(record.WorkHeight(), 1080);
    EXPECT_FALSE(record.DiminishedWorkarea());
    EXPECT_FALSE(record.Primary());
    EXPECT_FALSE(record.AttachedToDesktop());
    EXPECT_FALSE(record.VgaCompatible());
    EXPECT_FALSE(record.Removable());
    EXPECT_TRUE(record.Visible());
}

TEST(CMonitor, HandleReadsTheMonitorAndTheFlagsOfAServerWithoutDeviceData) {
    const FakeDisplayMonitors display = twoMonitors();
    CMonitor primary(display, {});
    CMonitor left(display, {});

    primary.setHandle(MainHandle);
    left.setHandle(LeftHandle);

    EXPECT_EQ(primary.Device(), QStringLiteral("DP-1"));
    EXPECT_TRUE(primary.Primary());
    EXPECT_TRUE(primary.DiminishedWorkarea());
    EXPECT_EQ(primary.WorkTop(), 30);
    EXPECT_EQ(primary.WorkBottom(), 1080);
    EXPECT_EQ(primary.WorkHeight(), 1050);
    EXPECT_FALSE(left.Primary());
    EXPECT_FALSE(left.DiminishedWorkarea());
    EXPECT_EQ(left.Left(), -1280);
    EXPECT_EQ(left.Right(), 0);
    EXPECT_EQ(left.Width(), 1280);
    EXPECT_EQ(left.Bottom(), 1024);
    for (const CMonitor* record : {&primary, &left}) {
        EXPECT_TRUE(record->AttachedToDesktop());
        EXPECT_TRUE(record->VgaCompatible());
        EXPECT_TRUE(record->Visible());
        EXPECT_FALSE(record->Removable());
        EXPECT_TRUE(record->DeviceID().isEmpty());
        EXPECT_TRUE(record->DeviceKey().isEmpty());
        EXPECT_TRUE(record->DeviceString().isEmpty());
    }
}

TEST(CMonitor, AMonitorThatIsGoneLeavesTheRecordZero) {
    const FakeDisplayMonitors display = twoMonitors();
    CMonitor record(display, {});

    record.setHandle(99);

    EXPECT_EQ(record.Width(), 0);
    EXPECT_EQ(record.Left(), 0);
    EXPECT_TRUE(record.Device().isEmpty());
    EXPECT_FALSE(record.Primary());
    EXPECT_FALSE(record.AttachedToDesktop());
    EXPECT_TRUE(record.Visible());
}

TEST(CMonitor, RecordKeepsWhatItReadUntilRefresh) {
    FakeDisplayMonitors display = twoMonitors();
    CMonitor record(display, {});
    record.setHandle(MainHandle);

    display.list[0].rect = QRect(0, 0, 2560, 1440);
    const std::int32_t before = record.Width();
    record.Refresh();

    EXPECT_EQ(before, 1920);
    EXPECT_EQ(record.Width(), 2560);
}

TEST(CMonitor, PixelsToTwipsConvertsEveryCoordinate) {
    const FakeDisplayMonitors display = twoMonitors();
    CMonitor left(display, {15.0, 12.0});
    left.setHandle(LeftHandle);

    left.setPixelsToTwips(true);

    EXPECT_EQ(left.Left(), -19200);
    EXPECT_EQ(left.Width(), 19200);
    EXPECT_EQ(left.Height(), 12288);
    EXPECT_EQ(left.WorkRight(), 0);
    left.setPixelsToTwips(false);
    EXPECT_EQ(left.Width(), 1280);
}

TEST(CMonitor, HalfTwipsRoundToTheEvenNeighbour) {
    FakeDisplayMonitors display;
    display.list = {{1, QRect(1, 3, 5, 7), QRect(1, 3, 5, 7), true, {}}};
    CMonitor record(display, {0.5, 0.5});
    record.setHandle(1);
    record.setPixelsToTwips(true);

    EXPECT_EQ(record.Left(), 0);   // 0.5
    EXPECT_EQ(record.Top(), 2);    // 1.5
    EXPECT_EQ(record.Width(), 2);  // 2.5
    EXPECT_EQ(record.Height(), 4); // 3.5
    EXPECT_EQ(record.Right(), 3);  // 3.0
}

TEST(CMonitor, DeviceTextIsCutAtTheFirstZeroCharacter) {
    const QString whole = QStringLiteral("a-very-long-monitor-name-with-more-than-32-chars");
    FakeDisplayMonitors display;
    display.list = {
        {1, QRect(0, 0, 10, 10), QRect(0, 0, 10, 10), true,
         QStringLiteral("DP-2") + QChar(0) + QStringLiteral("junk")},
        {2, QRect(10, 0, 10, 10), QRect(10, 0, 10, 10), false, whole},
    };
    CMonitor cut(display, {});
    CMonitor full(display, {});

    cut.setHandle(1);
    full.setHandle(2);

    EXPECT_EQ(cut.Device(), QStringLiteral("DP-2"));
    EXPECT_EQ(full.Device(), whole);
}

struct SingleScreenRow {
    std::int32_t index;
    const char* device;
    QRect work;
};

// A server that cannot tell monitors apart: the records of index 0 and 1.
TEST(CMonitor, WithoutMultiMonitorSupportTheIndexNamesTheRecord) {
    FakeDisplayMonitors display;
    display.multi = false;
    display.screen = QRect(0, 0, 1600, 900);
    display.work = QRect(0, 0, 1600, 860);
    const SingleScreenRow rows[] = {
        {0, "Virtual", QRect(0, 0, 1600, 900)},
        {1, "\\\\.\\DISPLAY1", QRect(0, 0, 1600, 860)},
    };
    for (const SingleScreenRow& row : rows) {
        SCOPED_TRACE(row.index);
        CMonitor record(display, {});

        record.setIndex(row.index);

        EXPECT_FALSE(record.MultiMonitorSupport());
        EXPECT_EQ(record.Device(), QString::fromLatin1(row.device));
        EXPECT_EQ(record.Width(), 1600);
        EXPECT_EQ(record.Height(), 900);
        EXPECT_EQ(
            QRect(record.WorkLeft(), record.WorkTop(), record.WorkWidth(), record.WorkHeight()),
            row.work);
        EXPECT_TRUE(record.Primary());
        EXPECT_TRUE(record.AttachedToDesktop());
        EXPECT_TRUE(record.VgaCompatible());
        EXPECT_TRUE(record.Visible());
        EXPECT_FALSE(record.Removable());
    }
}

TEST(CMonitor, WritingTheIndexTwiceLeavesOnlyTheLastName) {
    FakeDisplayMonitors display;
    display.multi = false;
    display.screen = QRect(0, 0, 800, 600);
    CMonitor record(display, {});

    record.setIndex(1);
    record.setIndex(0);

    EXPECT_EQ(record.Device(), QStringLiteral("Virtual"));
}

} // namespace
} // namespace pellix
