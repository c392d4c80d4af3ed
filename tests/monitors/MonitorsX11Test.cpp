#include "X11TestSupport.h"
#include "monitors/MMonitors.h"
#include "monitors/OverlayPlacement.h"
#include "platform/x11/X11DisplayMonitors.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

#include "platform/x11/X11Connection.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <string_view>

namespace pellix {
namespace {

using testing::PrivateXServer;
using testing::runTool;

struct Listed {
    QString name;
    QRect rect;
    bool primary;
};

// The monitors as xrandr lists them, in the server's order.
std::vector<Listed> listMonitors(const QString& display) {
    QProcess xrandr;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    xrandr.setProcessEnvironment(environment);
    xrandr.start(QStringLiteral("xrandr"), {QStringLiteral("--listmonitors")});
    xrandr.waitForFinished(10000);
    static const QRegularExpression line(
        QStringLiteral(R"(^\s*\d+: \+?(\*?)(\S+) (\d+)/\d+x(\d+)/\d+\+(\d+)\+(\d+))"),
        QRegularExpression::MultilineOption);
    std::vector<Listed> result;
    auto matches = line.globalMatch(QString::fromLocal8Bit(xrandr.readAllStandardOutput()));
    while (matches.hasNext()) {
        const auto m = matches.next();
        result.push_back({m.captured(2),
                          QRect(m.captured(5).toInt(), m.captured(6).toInt(), m.captured(3).toInt(),
                                m.captured(4).toInt()),
                          !m.captured(1).isEmpty()});
    }
    return result;
}

void setWorkAreas(Display* display, std::vector<long> areas, long currentDesktop) {
    const Window root = DefaultRootWindow(display);
    XChangeProperty(display, root, x11::atom(display, "_NET_WORKAREA"), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(areas.data()),
                    static_cast<int>(areas.size()));
    XChangeProperty(display, root, x11::atom(display, "_NET_CURRENT_DESKTOP"), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&currentDesktop), 1);
    XSync(display, False);
}

// Openbox on a private server, until destroyed.
class WindowManager {
public:
    explicit WindowManager(const QString& display) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display);
        m_process.setProcessEnvironment(environment);
        m_process.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    }
    ~WindowManager() {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

private:
    QProcess m_process;
};

// Polls up to ten seconds for `done`.
template <typename Condition> bool waitFor(Condition done) {
    for (int i = 0; i < 200; ++i) {
        if (done()) {
            return true;
        }
        QThread::msleep(50);
    }
    return false;
}

bool listedAsClient(Display* display, Window window) {
    const auto clients = x11::property32(display, DefaultRootWindow(display),
                                         x11::atom(display, "_NET_CLIENT_LIST"), XA_WINDOW);
    return clients && std::find(clients->begin(), clients->end(), window) != clients->end();
}

// A panel of our own: a dock window on every desktop that reserves `strut`
// (the 12 values of _NET_WM_STRUT_PARTIAL).
Window mapDock(Display* display, const QRect& geometry, std::vector<long> strut) {
    XSetWindowAttributes attributes{};
    const Window dock = XCreateWindow(display, DefaultRootWindow(display), geometry.x(),
                                      geometry.y(), static_cast<unsigned>(geometry.width()),
                                      static_cast<unsigned>(geometry.height()), 0, CopyFromParent,
                                      InputOutput, CopyFromParent, 0, &attributes);
    const Atom type = x11::atom(display, "_NET_WM_WINDOW_TYPE_DOCK");
    const long everyDesktop = 0xFFFFFFFF;
    XChangeProperty(display, dock, x11::atom(display, "_NET_WM_WINDOW_TYPE"), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&type), 1);
    XChangeProperty(display, dock, x11::atom(display, "_NET_WM_DESKTOP"), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&everyDesktop), 1);
    XChangeProperty(display, dock, x11::atom(display, "_NET_WM_STRUT_PARTIAL"), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(strut.data()),
                    static_cast<int>(strut.size()));
    XMapWindow(display, dock);
    XSync(display, False);
    return dock;
}

// Three monitors on one wide screen, the primary in the middle: X has no
// negative coordinates, so the one left of the primary lies at x = 0.
class MonitorsOnX11 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.running());
        const QString d = server.display();
        // The first monitor takes the real output, so that the automatic
        // monitor of the whole screen disappears.
        ASSERT_TRUE(setMonitor("LEFT", "1280/338x1024/270+0+0", "screen"));
        ASSERT_TRUE(setMonitor("*MAIN", "1920/508x1080/286+1280+0", "none"));
        ASSERT_TRUE(setMonitor("RIGHT", "1280/338x1024/270+3200+0", "none"));
        connection = x11::openDisplay(d);
        ASSERT_TRUE(connection);
        // A panel along the top of the whole screen on desktop 1 of 2.
        setWorkAreas(connection.get(), {0, 0, 4480, 1080, 0, 30, 4480, 1050}, 1);
        listed = listMonitors(d);
        ASSERT_EQ(listed.size(), 3U);
    }

    bool setMonitor(const char* name, const char* geometry, const char* output) {
        return runTool(server.display(), QStringLiteral("xrandr"),
                       {QStringLiteral("--setmonitor"), QString::fromLatin1(name),
                        QString::fromLatin1(geometry), QString::fromLatin1(output)});
    }

    std::int32_t indexOf(MMonitors& module, const QString& name) {
        for (std::int32_t i = 1; i < module.Monitors().Count(); ++i) {
            if (module.Monitors().Item(QString::number(i)).Device() == name) {
                return i;
            }
        }
        return -1;
    }

    PrivateXServer server{QStringLiteral("4480x1080x24")};
    x11::DisplayPtr connection;
    std::vector<Listed> listed;
};

TEST_F(MonitorsOnX11, RecordsAreTheServersMonitorsInItsOrder) {
    X11DisplayMonitors display(server.display());
    MMonitors module(display, {});

    MonitorCollection& records = module.Monitors();

    ASSERT_TRUE(module.MultiMonitorSupported());
    EXPECT_EQ(module.MonitorCount(), 3);
    ASSERT_EQ(records.Count(), 4);
    const CMonitor& screen = records.Item(QStringLiteral("0"));
    EXPECT_EQ(QRect(screen.Left(), screen.Top(), screen.Width(), screen.Height()),
              QRect(0, 0, 4480, 1080));
    EXPECT_EQ(screen.Device(), QStringLiteral("Virtual"));
    EXPECT_FALSE(screen.DiminishedWorkarea());
    for (std::size_t i = 0; i < listed.size(); ++i) {
        SCOPED_TRACE(listed[i].name.toStdString());
        const CMonitor& record = records.Item(QString::number(i + 1));
        EXPECT_EQ(record.Device(), listed[i].name);
        EXPECT_EQ(QRect(record.Left(), record.Top(), record.Width(), record.Height()),
                  listed[i].rect);
        EXPECT_EQ(record.Primary(), listed[i].primary);
        EXPECT_NE(record.Handle(), 0U);
        // No window manager lists its clients here, so the work area of the
        // current desktop counts, and its panel takes the top 30 pixels of each.
        EXPECT_EQ(record.WorkTop(), 30);
        EXPECT_EQ(record.WorkBottom(), record.Bottom());
        EXPECT_EQ(record.WorkLeft(), record.Left());
        EXPECT_TRUE(record.DiminishedWorkarea());
    }
    const std::int32_t main = indexOf(module, QStringLiteral("MAIN"));
    ASSERT_GT(main, 0);
    EXPECT_TRUE(records.Item(QString::number(main)).Primary());
    EXPECT_EQ(records.Item(QString::number(main)).Left(), 1280);
    EXPECT_EQ(records.Item(QString::number(indexOf(module, QStringLiteral("LEFT")))).Left(), 0);
}

TEST_F(MonitorsOnX11, OverlayPlacementCoversTheWholeScreen) {
    X11DisplayMonitors display(server.display());
    MMonitors module(display, {});

    const QRect placement = overlayPlacement(module);

    EXPECT_EQ(placement, QRect(0, 0, 4480, 1080));
}

// The root window keeps a strip left of the first monitor and room right of
// the last, and a gap lies between the middle and the right one.
TEST_F(MonitorsOnX11, VirtualScreenAndOverlayAreTheMonitorsBoundingRectangle) {
    for (const char* name : {"LEFT", "RIGHT"}) {
        ASSERT_TRUE(runTool(server.display(), QStringLiteral("xrandr"),
                            {QStringLiteral("--delmonitor"), QString::fromLatin1(name)}));
    }
    ASSERT_TRUE(setMonitor("LEFT", "1000/264x1000/264+200+40", "screen"));
    ASSERT_TRUE(setMonitor("RIGHT", "1000/264x1000/264+3300+0", "none"));
    X11DisplayMonitors display(server.display());
    MMonitors module(display, {});

    const CMonitor& screen = module.Monitors().Item(QStringLiteral("0"));
    const QRect bounds(200, 0, 4100, 1080);

    EXPECT_EQ(QRect(screen.Left(), screen.Top(), screen.Width(), screen.Height()), bounds);
    EXPECT_EQ(overlayPlacement(module), bounds);
}

TEST_F(MonitorsOnX11, APanelTakesItsRoomFromItsOwnMonitorOnly) {
    Display* dpy = connection.get();
    // 40 pixels along the top of the middle monitor. Mapped before the window
    // manager starts, which then takes it over with the windows already there:
    // a map request sent while it is still starting up can go unseen.
    const Window dock =
        mapDock(dpy, QRect(1280, 0, 1920, 40), {0, 0, 40, 0, 0, 0, 0, 0, 1280, 3199, 0, 0});
    WindowManager manager(server.display());
    ASSERT_TRUE(waitFor([&] { return listedAsClient(dpy, dock); }));

    X11DisplayMonitors display(server.display());
    MMonitors module(display, {});

    for (const char* name : {"LEFT", "MAIN", "RIGHT"}) {
        SCOPED_TRACE(name);
        const std::int32_t index = indexOf(module, QString::fromLatin1(name));
        ASSERT_GT(index, 0);
        const CMonitor& record = module.Monitors().Item(QString::number(index));
        const QRect rect(record.Left(), record.Top(), record.Width(), record.Height());
        const QRect work(record.WorkLeft(), record.WorkTop(), record.WorkWidth(),
                         record.WorkHeight());
        EXPECT_EQ(work, rect.adjusted(0, std::string_view(name) == "MAIN" ? 40 : 0, 0, 0));
    }
}

TEST_F(MonitorsOnX11, WindowsGetTheNearestMonitorAsTheServerHasItNow) {
    X11DisplayMonitors display(server.display());
    MMonitors module(display, {});
    const std::int32_t left = indexOf(module, QStringLiteral("LEFT"));
    const std::int32_t main = indexOf(module, QStringLiteral("MAIN"));
    const std::int32_t right = indexOf(module, QStringLiteral("RIGHT"));

    EXPECT_EQ(module.MonitorIndexFromWindow(QRect(100, 100, 300, 200)), left);
    EXPECT_EQ(module.MonitorIndexFromWindow(QRect(1200, 100, 300, 200)), main);
    EXPECT_EQ(module.MonitorIndexFromWindow(QRect(3300, 100, 300, 200)), right);
    // Below the shorter monitor on the right, still nearest to it.
    EXPECT_EQ(module.MonitorIndexFromWindow(QRect(4000, 1050, 100, 20)), right);

    ASSERT_TRUE(runTool(server.display(), QStringLiteral("xrandr"),
                        {QStringLiteral("--delmonitor"), QStringLiteral("RIGHT")}));
    ASSERT_TRUE(runTool(server.display(), QStringLiteral("xrandr"),
                        {QStringLiteral("--setmonitor"), QStringLiteral("NEW"),
                         QStringLiteral("640/169x480/127+3840+0"), QStringLiteral("none")}));

    EXPECT_EQ(module.MonitorCount(), 3);
    EXPECT_EQ(module.Monitors().Count(), 4);
    EXPECT_EQ(module.Monitors().Item(QString::number(right)).Device(), QStringLiteral("RIGHT"));
    EXPECT_EQ(module.MonitorIndexFromWindow(QRect(3300, 100, 300, 200)), main);
    EXPECT_EQ(module.MonitorIndexFromWindow(QRect(3900, 100, 300, 200)), 0); // no record
}

TEST_F(MonitorsOnX11, WorkAreaIsTheCurrentDesktopsClippedToTheScreen) {
    X11DisplayMonitors display(server.display());

    const QRect second = display.workArea();
    setWorkAreas(connection.get(), {-100, 0, 9000, 1000}, 3); // no such desktop: the first
    const QRect clipped = display.workArea();
    XDeleteProperty(connection.get(), DefaultRootWindow(connection.get()),
                    x11::atom(connection.get(), "_NET_WORKAREA"));
    XSync(connection.get(), False);
    const QRect none = display.workArea();

    EXPECT_EQ(second, QRect(0, 30, 4480, 1050));
    EXPECT_EQ(clipped, QRect(0, 0, 4480, 1000));
    EXPECT_EQ(none, QRect(0, 0, 4480, 1080));
}

} // namespace
} // namespace pellix
