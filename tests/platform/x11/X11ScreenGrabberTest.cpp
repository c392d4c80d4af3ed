#include "platform/x11/X11ScreenGrabber.h"
#include "Pattern.h"
#include "X11TestSupport.h"

#include <QCoreApplication>
#include <QImage>
#include <gtest/gtest.h>

#include "platform/x11/X11Connection.h"

#include <X11/Xatom.h>

namespace pellix {
namespace {

using testing::PatternWindow;
using testing::PrivateXServer;

// Counts the pixels of `image` at `origin` that differ from the pattern.
int patternMismatches(const QImage& image, QPoint origin, QSize size) {
    int wrong = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QPoint at = origin + QPoint(x, y);
            if (!image.rect().contains(at) ||
                (image.pixel(at) & 0xffffffU) != testing::patternRgb(x, y)) {
                ++wrong;
            }
        }
    }
    return wrong;
}

QPoint clientOrigin(Display* display, Window window) {
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return {x, y};
}

void setWindowProperty(Display* display, Window on, const char* name, Window value) {
    XChangeProperty(display, on, x11::atom(display, name), XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&value), 1);
}

TEST(X11ScreenGrabber, DesktopShowsAnotherProgramsPatternPixelForPixel) {
    PatternWindow window(QStringLiteral("256x200+301+157"), {QStringLiteral("--override")});
    ASSERT_TRUE(window.ready());
    X11ScreenGrabber grabber;

    const GrabResult grab = grabber.grabDesktopNow();

    ASSERT_TRUE(grab.ok()) << grab.error.toStdString();
    EXPECT_EQ(grab.image.size(), QSize(1920, 1080));
    EXPECT_EQ(grab.image.format(), QImage::Format_RGB32);
    EXPECT_EQ(grabber.transfer(), PixelTransfer::SharedMemory);
    EXPECT_EQ(patternMismatches(grab.image, {301, 157}, {256, 200}), 0);
    EXPECT_EQ(qAlpha(grab.image.pixel(301, 157)), 255);
}

TEST(X11ScreenGrabber, PlainTransferGivesTheSamePixelsAsSharedMemory) {
    PatternWindow window(QStringLiteral("300x300+1000+600"), {QStringLiteral("--override")});
    ASSERT_TRUE(window.ready());
    X11ScreenGrabber shared;
    X11ScreenGrabber plain({{}, PixelTransfer::Plain});

    const GrabResult viaShared = shared.grabDesktopNow();
    const GrabResult viaPlain = plain.grabDesktopNow();
    const GrabResult again = shared.grabDesktopNow(); // the reused segment

    ASSERT_TRUE(viaShared.ok() && viaPlain.ok() && again.ok());
    EXPECT_EQ(shared.transfer(), PixelTransfer::SharedMemory);
    EXPECT_EQ(plain.transfer(), PixelTransfer::Plain);
    EXPECT_EQ(viaPlain.image.format(), QImage::Format_RGB32);
    EXPECT_TRUE(viaShared.image == viaPlain.image);
    EXPECT_TRUE(again.image == viaPlain.image);
    EXPECT_EQ(patternMismatches(viaPlain.image, {1000, 600}, {300, 300}), 0);
}

TEST(X11ScreenGrabber, ActiveWindowComesWithTheFrameItsWindowManagerDrew) {
    PatternWindow window(QStringLiteral("240x180+400+300"),
                         {QStringLiteral("--name"), QStringLiteral("pellix-active")});
    ASSERT_TRUE(window.ready());
    ASSERT_TRUE(testing::runTool({}, QStringLiteral("xdotool"),
                                 {QStringLiteral("windowactivate"), QStringLiteral("--sync"),
                                  QString::number(window.window())}));
    x11::DisplayPtr display = x11::openDisplay({});
    ASSERT_TRUE(display);
    const auto extents =
        x11::property32(display.get(), window.window(),
                        x11::atom(display.get(), "_NET_FRAME_EXTENTS"), XA_CARDINAL);
    ASSERT_TRUE(extents && extents->size() == 4);
    const int left = static_cast<int>((*extents)[0]);
    const int right = static_cast<int>((*extents)[1]);
    const int top = static_cast<int>((*extents)[2]);
    const int bottom = static_cast<int>((*extents)[3]);
    ASSERT_GT(top, 0) << "the window manager drew no title bar";
    const QPoint client = clientOrigin(display.get(), window.window());
    X11ScreenGrabber grabber;

    const GrabResult grab = grabber.grabActiveWindowNow();
    const GrabResult desktop = grabber.grabDesktopNow();

    ASSERT_TRUE(grab.ok()) << grab.error.toStdString();
    EXPECT_EQ(grab.image.size(), QSize(left + 240 + right, top + 180 + bottom));
    EXPECT_EQ(patternMismatches(grab.image, {left, top}, {240, 180}), 0);
    const QRect frame(client - QPoint(left, top), grab.image.size());
    EXPECT_TRUE(grab.image == desktop.image.copy(frame));
}

// Without a window manager, on a server of its own.
class X11ScreenGrabberNoWm : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.running());
        display = x11::openDisplay(server.display());
        ASSERT_TRUE(display);
    }

    void focus(Window window) {
        XSetInputFocus(display.get(), window, RevertToNone, CurrentTime);
        XSync(display.get(), False);
    }

    Window root() const { return DefaultRootWindow(display.get()); }

    PrivateXServer server;
    x11::DisplayPtr display;
};

TEST_F(X11ScreenGrabberNoWm, FocusOnAChildGivesItsTopLevelWindow) {
    PatternWindow window(QStringLiteral("200x120+50+60"), {QStringLiteral("--child")},
                         server.display());
    ASSERT_TRUE(window.ready());
    focus(window.child());
    X11ScreenGrabber grabber({server.display()});

    const GrabResult grab = grabber.grabActiveWindowNow();

    ASSERT_TRUE(grab.ok()) << grab.error.toStdString();
    ASSERT_EQ(grab.image.size(), QSize(200, 120));
    // The child is input-only: everything shown is the top-level's pattern.
    EXPECT_EQ(patternMismatches(grab.image, {0, 0}, {200, 120}), 0);
}

TEST_F(X11ScreenGrabberNoWm, FocusOnNothingOrTheRootIsAnErrorWithoutImage) {
    PatternWindow window(QStringLiteral("200x120+50+60"), {}, server.display());
    ASSERT_TRUE(window.ready());
    X11ScreenGrabber grabber({server.display()});

    for (const Window target : {Window(None), root()}) {
        focus(target);
        const GrabResult grab = grabber.grabActiveWindowNow();
        EXPECT_FALSE(grab.ok());
        EXPECT_TRUE(grab.image.isNull());
        EXPECT_FALSE(grab.error.isEmpty());
    }
}

TEST_F(X11ScreenGrabberNoWm, ActiveWindowIsClippedToTheScreen) {
    PatternWindow window(QStringLiteral("300x200+700+500"), {}, server.display());
    ASSERT_TRUE(window.ready());
    focus(window.window());
    X11ScreenGrabber grabber({server.display()});

    const GrabResult grab = grabber.grabActiveWindowNow();

    ASSERT_TRUE(grab.ok()) << grab.error.toStdString();
    EXPECT_EQ(grab.image.size(), QSize(100, 100));
    EXPECT_EQ(patternMismatches(grab.image, {0, 0}, {100, 100}), 0);
}

TEST_F(X11ScreenGrabberNoWm, PointerRootGivesTheWindowUnderThePointer) {
    PatternWindow under(QStringLiteral("150x100+300+200"), {}, server.display());
    PatternWindow elsewhere(QStringLiteral("90x90+10+10"), {}, server.display());
    ASSERT_TRUE(under.ready() && elsewhere.ready());
    XWarpPointer(display.get(), None, root(), 0, 0, 0, 0, 350, 250);
    focus(PointerRoot);
    X11ScreenGrabber grabber({server.display()});

    const GrabResult grab = grabber.grabActiveWindowNow();

    ASSERT_TRUE(grab.ok()) << grab.error.toStdString();
    EXPECT_EQ(grab.image.size(), QSize(150, 100));
}

TEST_F(X11ScreenGrabberNoWm, ActiveWindowIsTrustedOnlyWhileTheCheckWindowLives) {
    PatternWindow active(QStringLiteral("160x100+20+20"), {}, server.display());
    PatternWindow focused(QStringLiteral("220x130+300+300"), {}, server.display());
    ASSERT_TRUE(active.ready() && focused.ready());
    // A window manager's traces: a check window naming itself, and the active window.
    const Window check = XCreateSimpleWindow(display.get(), root(), -10, -10, 1, 1, 0, 0, 0);
    setWindowProperty(display.get(), check, "_NET_SUPPORTING_WM_CHECK", check);
    setWindowProperty(display.get(), root(), "_NET_SUPPORTING_WM_CHECK", check);
    setWindowProperty(display.get(), root(), "_NET_ACTIVE_WINDOW", active.window());
    focus(focused.window());
    X11ScreenGrabber grabber({server.display()});

    const GrabResult whileAlive = grabber.grabActiveWindowNow();
    XDestroyWindow(display.get(), check); // the window manager dies; its properties stay
    XSync(display.get(), False);
    const GrabResult afterDeath = grabber.grabActiveWindowNow();

    ASSERT_TRUE(whileAlive.ok() && afterDeath.ok());
    EXPECT_EQ(whileAlive.image.size(), QSize(160, 100));
    EXPECT_EQ(afterDeath.image.size(), QSize(220, 130));
}

TEST_F(X11ScreenGrabberNoWm, FrameDrawnWithoutReparentingComesFromTheFrameExtents) {
    PatternWindow window(QStringLiteral("200x100+100+100"), {}, server.display());
    ASSERT_TRUE(window.ready());
    const Window check = XCreateSimpleWindow(display.get(), root(), -10, -10, 1, 1, 0, 0, 0);
    setWindowProperty(display.get(), check, "_NET_SUPPORTING_WM_CHECK", check);
    setWindowProperty(display.get(), root(), "_NET_SUPPORTING_WM_CHECK", check);
    setWindowProperty(display.get(), root(), "_NET_ACTIVE_WINDOW", window.window());
    const long extents[4] = {3, 5, 20, 7}; // left, right, top, bottom
    XChangeProperty(display.get(), window.window(), x11::atom(display.get(), "_NET_FRAME_EXTENTS"),
                    XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(extents), 4);
    XSync(display.get(), False);
    X11ScreenGrabber grabber({server.display()});

    const GrabResult grab = grabber.grabActiveWindowNow();

    ASSERT_TRUE(grab.ok()) << grab.error.toStdString();
    EXPECT_EQ(grab.image.size(), QSize(3 + 200 + 5, 20 + 100 + 7));
    EXPECT_EQ(patternMismatches(grab.image, {3, 20}, {200, 100}), 0);
}

TEST_F(X11ScreenGrabberNoWm, ClosedActiveWindowIsAnErrorWithoutImage) {
    X11ScreenGrabber grabber({server.display()});
    const Window check = XCreateSimpleWindow(display.get(), root(), -10, -10, 1, 1, 0, 0, 0);
    setWindowProperty(display.get(), check, "_NET_SUPPORTING_WM_CHECK", check);
    setWindowProperty(display.get(), root(), "_NET_SUPPORTING_WM_CHECK", check);
    {
        PatternWindow gone(QStringLiteral("100x100+20+20"), {}, server.display());
        ASSERT_TRUE(gone.ready());
        setWindowProperty(display.get(), root(), "_NET_ACTIVE_WINDOW", gone.window());
        XSync(display.get(), False);
    }

    const GrabResult grab = grabber.grabActiveWindowNow();

    EXPECT_TRUE(grab.image.isNull());
    EXPECT_FALSE(grab.error.isEmpty());
}

TEST(X11ScreenGrabber, SixteenBitScreenGivesFullRangeColours) {
    PrivateXServer server(QStringLiteral("320x200x16"));
    ASSERT_TRUE(server.running());
    ASSERT_TRUE(testing::runTool(server.display(), QStringLiteral("xsetroot"),
                                 {QStringLiteral("-solid"), QStringLiteral("#ff00ff")}));
    X11ScreenGrabber shared({server.display()});
    X11ScreenGrabber plain({server.display(), PixelTransfer::Plain});

    const GrabResult viaShared = shared.grabDesktopNow();
    const GrabResult viaPlain = plain.grabDesktopNow();

    ASSERT_TRUE(viaShared.ok() && viaPlain.ok());
    EXPECT_EQ(viaShared.image.size(), QSize(320, 200));
    EXPECT_EQ(viaShared.image.pixel(0, 0), qRgb(255, 0, 255));
    EXPECT_EQ(viaShared.image.pixel(319, 199), qRgb(255, 0, 255));
    EXPECT_TRUE(viaShared.image == viaPlain.image);
}

TEST(X11ScreenGrabber, UnreachableDisplayIsAnErrorWithoutImage) {
    X11ScreenGrabber grabber({QStringLiteral(":998")});

    const GrabResult desktop = grabber.grabDesktopNow();
    const GrabResult window = grabber.grabActiveWindowNow();

    EXPECT_TRUE(desktop.image.isNull());
    EXPECT_TRUE(desktop.error.contains(QStringLiteral(":998")));
    EXPECT_TRUE(window.image.isNull());
    EXPECT_FALSE(window.error.isEmpty());
}

} // namespace
} // namespace pellix
