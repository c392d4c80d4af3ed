#include "platform/x11/XInput2KeyListener.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTest>

#include <X11/Xlib.h>

#include <vector>

namespace pellix {
namespace {

void xdotool(const QStringList& args) {
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), args), 0)
        << args.join(' ').toStdString();
}

struct Recorder {
    KeyListener::Callback callback() {
        return [this](KeyEvent event) {
            seen.push_back(event);
        };
    }
    std::vector<KeyEvent> seen;
};

// As a hook on the desktop sees them: the second key of the chord does not see
// itself held yet, so a brief tap starts nothing; held, the last key repeats
// and the chord is heard.
TEST(XInput2KeyListener, TheChordIsHeardOnTheKeyRepeatNotOnABriefTap) {
    XInput2KeyListener keys;
    ASSERT_TRUE(keys.error().isEmpty()) << keys.error().toStdString();
    Recorder recorder;
    ASSERT_TRUE(keys.start(recorder.callback()));
    EXPECT_TRUE(keys.listening());
    xdotool({"keydown", "ctrl", "keydown", "shift", "keyup", "shift", "keyup", "ctrl"});
    QTest::qWait(1200);
    EXPECT_TRUE(recorder.seen.empty()) << "a brief tap was heard as the chord";

    xdotool({"keydown", "ctrl", "keydown", "shift"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !recorder.seen.empty(); }, 5000));
    EXPECT_EQ(recorder.seen[0], KeyEvent::ChordHeld);
    xdotool({"keyup", "shift", "keyup", "ctrl"});
    keys.stop();
    EXPECT_FALSE(keys.listening());
}

TEST(XInput2KeyListener, HearsEscapeOnItsReleaseEvenWhileAnotherClientHoldsTheKeyboard) {
    XInput2KeyListener keys;
    Recorder recorder;
    ASSERT_TRUE(keys.start(recorder.callback()));
    Display* other = XOpenDisplay(nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(XGrabKeyboard(other, DefaultRootWindow(other), False, GrabModeAsync, GrabModeAsync,
                            CurrentTime),
              GrabSuccess);
    XSync(other, False);
    xdotool({"key", "Escape"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !recorder.seen.empty(); }, 5000));
    XUngrabKeyboard(other, CurrentTime);
    XCloseDisplay(other);
    EXPECT_EQ(recorder.seen, std::vector<KeyEvent>{KeyEvent::Escape});
    keys.stop();
}

// The callback may stop the listener; nothing is heard after that.
TEST(XInput2KeyListener, NothingIsHeardOnceStoppedFromTheCallback) {
    XInput2KeyListener keys;
    int heard = 0;
    ASSERT_TRUE(keys.start([&](KeyEvent) {
        ++heard;
        keys.stop();
    }));
    xdotool({"key", "Escape", "key", "Escape"});
    QTest::qWait(500);
    EXPECT_EQ(heard, 1);
}

TEST(XInput2KeyListener, WithoutADisplayEveryStartIsRefused) {
    const QByteArray display = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    XInput2KeyListener keys;
    qputenv("DISPLAY", display);
    EXPECT_FALSE(keys.error().isEmpty());
    EXPECT_FALSE(keys.start([](KeyEvent) {}));
    EXPECT_FALSE(keys.listening());
}

} // namespace
} // namespace pellix
