// The toolkit scales this process's screen by two; grabs and window
// rectangles must stay in the screen's own pixels.

#include "monitors/MMonitors.h"
#include "platform/x11/X11ScreenGrabber.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/x11/X11Connection.h"

namespace pellix {
namespace {

// The outer rectangle of the frame that holds `window`, as the X server has it.
QRect frameOnServer(Display* display, Window window) {
    const Window root = DefaultRootWindow(display);
    for (;;) {
        Window rootReturn = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        XQueryTree(display, window, &rootReturn, &parent, &children, &count);
        XFree(children);
        if (parent == root) {
            break;
        }
        window = parent;
    }
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    return {attributes.x, attributes.y, attributes.width, attributes.height};
}

TEST(X11HighDpi, DesktopGrabIsInScreenPixels) {
    ASSERT_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
    ASSERT_EQ(QGuiApplication::primaryScreen()->geometry().size(), QSize(960, 540));
    X11ScreenGrabber grabber; // the toolkit's own display

    const GrabResult grab = grabber.grabDesktopNow();

    ASSERT_TRUE(grab.ok()) << grab.error.toStdString();
    EXPECT_EQ(grab.image.size(), QSize(1920, 1080));
    EXPECT_EQ(grab.image.devicePixelRatio(), 1.0);
}

TEST(X11HighDpi, WindowRectangleIsInScreenPixels) {
    QWidget window;
    window.setGeometry(150, 100, 200, 120);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // The window manager frames the window after its first expose.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.frameGeometry() != window.geometry(); }));
    x11::DisplayPtr display = x11::openDisplay({});
    ASSERT_TRUE(display);

    const QRect pixels = windowRectInPixels(window);
    const QRect server = frameOnServer(display.get(), static_cast<Window>(window.winId()));

    // Qt rounds the frame's margins to whole logical pixels.
    EXPECT_NEAR(pixels.x(), server.x(), 2);
    EXPECT_NEAR(pixels.y(), server.y(), 2);
    EXPECT_NEAR(pixels.width(), server.width(), 2);
    EXPECT_NEAR(pixels.height(), server.height(), 2);
    EXPECT_GE(pixels.width(), 400);
}

} // namespace
} // namespace pellix

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
