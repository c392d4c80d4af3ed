// The capture commands end to end on a real X server with a window manager:
// the real grabber, key listener and monitors, input sent with xdotool.
#include "app/fMain.h"
#include "fakes/FakeClipboard.h"
#include "fakes/FakeRecognitionEngine.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeSpecialFolders.h"
#include "platform/imaging/FileImageEncoder.h"
#include "platform/qt/QtWindowing.h"
#include "platform/x11/Pattern.h"
#include "platform/x11/X11DisplayMonitors.h"
#include "platform/x11/X11ScreenGrabber.h"
#include "platform/x11/X11TestSupport.h"
#include "platform/x11/XInput2KeyListener.h"
#include "scrollview/PictureBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <functional>

namespace pellix {
namespace {

using testing::PatternWindow;

const QString Done = QStringLiteral("Done! Captured image is stored in Clipboard.");

bool xdotool(const QStringList& args) {
    return testing::runTool({}, QStringLiteral("xdotool"), args);
}

// Pixels of `image` at `origin` that differ from the pattern.
int patternMismatches(const QImage& image, QPoint origin, QSize size) {
    int mismatches = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QRgb seen = image.pixel(origin.x() + x, origin.y() + y);
            const QRgb wanted = testing::patternRgb(x, y);
            mismatches += (seen & 0xffffffU) != wanted;
        }
    }
    return mismatches;
}

// The mean difference per channel between `image` at `origin` and the pattern.
double meanPatternDistance(const QImage& image, QPoint origin, QSize size) {
    double sum = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QRgb seen = image.pixel(origin.x() + x, origin.y() + y);
            const QRgb wanted = testing::patternRgb(x, y);
            sum += std::abs(qRed(seen) - qRed(wanted)) + std::abs(qGreen(seen) - qGreen(wanted)) +
                   std::abs(qBlue(seen) - qBlue(wanted));
        }
    }
    return sum / (3.0 * size.width() * size.height());
}

// Where a window's client area lies on the root window.
QPoint clientOrigin(unsigned long id) {
    Display* display = XOpenDisplay(nullptr);
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display, id, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    XCloseDisplay(display);
    return {x, y};
}

// Real waits and events; message boxes are recorded instead of blocking, and
// the test may act while one "shows".
class TestWindowing final : public Windowing {
public:
    void messageBox(const QString& text, int, const QString&) override {
        messages << text;
        if (onMessage) {
            onMessage();
        }
    }
    void beep() override { ++beeps; }
    double seconds() const override { return real.seconds(); }
    double twipsPerPixelX() const override { return real.twipsPerPixelX(); }
    double twipsPerPixelY() const override { return real.twipsPerPixelY(); }

    QtWindowing real;
    QStringList messages;
    std::function<void()> onMessage;
    int beeps = 0;
};

class CaptureX11 : public ::testing::Test {
protected:
    CaptureX11()
        : folders(dir.path()), monitors(displayMonitors, {15.0, 15.0}),
          window({windowing, clipboard, shell, folders, encoder, grabber, keys, monitors,
                  recognition}) {}

    void SetUp() override {
        ASSERT_TRUE(keys.error().isEmpty()) << keys.error().toStdString();
        window.Form_Load();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        // Moved once shown and framed, as a user moves it.
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return window.frameGeometry().size() != window.size(); }));
        window.move(60, 60);
        ASSERT_TRUE(QTest::qWaitFor([&] { return clientOrigin(window.winId()).x() < 100; }));
    }

    void TearDown() override { window.close(); }

    QByteArray imageFile() const {
        QFile file(window.m_ImagePath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    bool waitUntilBack() {
        return QTest::qWaitFor([&] { return window.isVisible(); }, 10000);
    }

    void startRegion() {
        window.cmdCapture[1]->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.m_capture->m_fCapture->isVisible(); }));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.m_capture->m_fCapture.get()));
    }

    void dragTo(QPoint from, QPoint to) {
        ASSERT_TRUE(xdotool({"mousemove", QString::number(from.x()), QString::number(from.y()),
                             "mousedown", "1", "mousemove", QString::number(to.x()),
                             QString::number(to.y()), "mouseup", "1"}));
    }

    QTemporaryDir dir;
    TestWindowing windowing;
    FakeClipboard clipboard;
    FakeShell shell;
    FakeSpecialFolders folders;
    FileImageEncoder encoder;
    X11ScreenGrabber grabber;
    XInput2KeyListener keys;
    X11DisplayMonitors displayMonitors;
    MMonitors monitors;
    FakeRecognitionEngine recognition;
    fMain window;
};

TEST_F(CaptureX11, DesktopWritesAJpegOfTheScreenWithoutTheMainWindow) {
    // Another program's pattern under the main window: only hiding the window shows it.
    PatternWindow pattern(QStringLiteral("300x200+80+90"));
    ASSERT_TRUE(pattern.ready());
    const QPoint at = clientOrigin(pattern.window());
    ASSERT_TRUE(xdotool({"windowactivate", "--sync", QString::number(window.winId())}));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return patternMismatches(grabber.grabDesktopNow().image, at, {300, 200}) > 0;
        },
        5000))
        << "the main window should cover the pattern before the capture";
    // Where the window manager has put it, once the toolkit agrees.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return clientOrigin(window.winId()) == window.geometry().topLeft(); }, 2000));
    const QPoint placeBefore = clientOrigin(window.winId());

    window.cmdCapture[2]->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return windowing.beeps == 2; }, 5000));
    EXPECT_EQ(window.Label1->text(), Done);
    const QImage picture = window.Picture1->picture();
    EXPECT_EQ(picture.size(), QSize(1920, 1080));
    EXPECT_EQ(patternMismatches(picture, at, {300, 200}), 0);
    const QImage file(window.m_ImagePath, "JPEG");
    ASSERT_EQ(file.size(), QSize(1920, 1080));
    // JPEG at quality 90 moves the pixels by a little on average; another picture
    // (the main window, a grey area) is far off.
    EXPECT_LT(meanPatternDistance(file, at, {300, 200}), 8.0);
    EXPECT_GT(meanPatternDistance(file, at + QPoint(0, 20), {300, 200}), 20.0);
    EXPECT_TRUE(window.isVisible());
    // Back exactly where it stood, as the window manager sees it too.
    EXPECT_TRUE(QTest::qWaitFor([&] { return clientOrigin(window.winId()) == placeBefore; }, 2000))
        << "left at " << clientOrigin(window.winId()).x() << ","
        << clientOrigin(window.winId()).y();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return clientOrigin(window.winId()) == window.geometry().topLeft(); }, 2000));
    EXPECT_EQ(windowing.beeps, 2);
}

TEST_F(CaptureX11, WindowTakesAnotherProgramsActiveWindowWithItsFrame) {
    PatternWindow other(QStringLiteral("240x160+700+400"),
                        {QStringLiteral("--name"), QStringLiteral("pellix-other")});
    ASSERT_TRUE(other.ready());
    // The user picks the window during the countdown.
    windowing.onMessage = [&] {
        xdotool({"windowactivate", "--sync", QString::number(other.window())});
    };
    window.cmdCapture[3]->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return windowing.beeps == 2; }, 10000));
    ASSERT_EQ(windowing.messages.size(), 1);
    const QImage picture = window.Picture1->picture();
    ASSERT_GT(picture.width(), 240);
    ASSERT_GT(picture.height(), 160); // with the title bar
    // The client area sits inside the frame, whatever its exact widths.
    const int left = (picture.width() - 240) / 2;
    int top = -1;
    for (int y = 0; y + 160 <= picture.height() && top < 0; ++y) {
        if (patternMismatches(picture, {left, y}, {240, 160}) == 0) {
            top = y;
        }
    }
    EXPECT_GT(top, 0);
    EXPECT_EQ(QImage(window.m_ImagePath).size(), picture.size());
    EXPECT_TRUE(window.isVisible());
}

TEST_F(CaptureX11, TheChordCapturesAndEscapeCancels) {
    PatternWindow pattern(QStringLiteral("200x100+900+500"), {QStringLiteral("--override")});
    ASSERT_TRUE(pattern.ready());
    window.chkControlShift->setChecked(true);

    window.cmdCapture[2]->click();
    EXPECT_FALSE(window.isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return keys.listening(); }));
    ASSERT_TRUE(xdotool({"keydown", "ctrl"}));
    ASSERT_TRUE(xdotool({"keydown", "shift"}));
    ASSERT_TRUE(waitUntilBack());
    xdotool({"keyup", "shift", "ctrl"});
    EXPECT_EQ(patternMismatches(window.Picture1->picture(), {900, 500}, {200, 100}), 0);
    EXPECT_FALSE(keys.listening());
    const QByteArray captured = imageFile();

    window.cmdCapture[2]->click();
    EXPECT_FALSE(window.isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return keys.listening(); }));
    ASSERT_TRUE(xdotool({"key", "Escape"}));
    ASSERT_TRUE(waitUntilBack());
    EXPECT_EQ(imageFile(), captured);
    EXPECT_FALSE(keys.listening());
    EXPECT_FALSE(window.Timer1->isActive());
}

TEST_F(CaptureX11, ADraggedRegionIsExactlyThePixelsUnderTheDrag) {
    PatternWindow pattern(QStringLiteral("400x300+500+200"), {QStringLiteral("--override")});
    ASSERT_TRUE(pattern.ready());
    startRegion();
    dragTo({550, 230}, {770, 410});
    ASSERT_TRUE(waitUntilBack());
    const QImage picture = window.Picture1->picture();
    ASSERT_EQ(picture.size(), QSize(220, 180));
    int mismatches = 0;
    for (int y = 0; y < 180; ++y) {
        for (int x = 0; x < 220; ++x) {
            mismatches += (picture.pixel(x, y) & 0xffffff) != testing::patternRgb(50 + x, 30 + y);
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(QImage(window.m_ImagePath).size(), QSize(220, 180));
    EXPECT_EQ(window.Label1->text(), Done);
}

TEST_F(CaptureX11, AFivePixelDragOrEscapeLeavesThePreviousFileByteForByte) {
    const QByteArray before = imageFile();
    ASSERT_FALSE(before.isEmpty());
    const QImage picture = window.Picture1->picture();

    startRegion();
    dragTo({300, 300}, {305, 500});
    ASSERT_TRUE(waitUntilBack());
    EXPECT_EQ(imageFile(), before);
    EXPECT_EQ(window.Picture1->picture(), picture);

    startRegion();
    ASSERT_TRUE(xdotool({"key", "Escape"}));
    ASSERT_TRUE(waitUntilBack());
    EXPECT_FALSE(window.m_capture->m_fCapture->isVisible());
    EXPECT_EQ(imageFile(), before);
    EXPECT_EQ(windowing.beeps, 2);
}

} // namespace
} // namespace pellix
