#include "platform/x11/XInput2KeyListener.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <X11/Xlib.h>

#include <cstdlib>
#include <vector>

namespace pellix {
namespace {

void xdotool(const QStringList& args) {
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), args), 0)
        << args.join(' ').toStdString();
}

struct Seen {
    int message;
    std::int16_t control;
    std::int16_t shift;
    std::int16_t escape;
};

// Records every event with the key states as the callback finds them.
struct Recorder {
    explicit Recorder(KeyListener& keys) : keys(keys) {}
    KeyListener::Callback callback() {
        return [this](int code, int message, std::int32_t) {
            EXPECT_EQ(code, KeyActionCode);
            seen.push_back({message, keys.asyncKeyState(VirtualKey::Control),
                            keys.asyncKeyState(VirtualKey::Shift),
                            keys.asyncKeyState(VirtualKey::Escape)});
        };
    }
    bool waitFor(std::size_t count) {
        return QTest::qWaitFor([&] { return seen.size() >= count; }, 10000);
    }
    KeyListener& keys;
    std::vector<Seen> seen;
};

// As a hook on the desktop sees them: an event before the key state takes it in,
// so a chord shows as both keys held only when the last one repeats.
TEST(XInput2KeyListener, AChordShowsBothKeysHeldOnlyOnceTheLastKeyRepeats) {
    XInput2KeyListener keys;
    ASSERT_TRUE(keys.error().isEmpty()) << keys.error().toStdString();
    Recorder recorder(keys);
    const std::int32_t handle = keys.arm(recorder.callback());
    ASSERT_NE(handle, 0);
    xdotool({"keydown", "ctrl"});
    xdotool({"keydown", "shift"});
    ASSERT_TRUE(recorder.waitFor(3)); // the repeat of Shift
    EXPECT_EQ(recorder.seen[1].message, KeyMessage::KeyDown);
    EXPECT_TRUE(recorder.seen[1].control & KeyState::Held);
    EXPECT_EQ(recorder.seen[1].shift, 0);
    EXPECT_EQ(recorder.seen[2].message, KeyMessage::KeyDown);
    EXPECT_TRUE(recorder.seen[2].control & recorder.seen[2].shift & KeyState::Held);
    xdotool({"keyup", "shift", "ctrl"});
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return recorder.seen.back().message == KeyMessage::KeyUp &&
                   keys.asyncKeyState(VirtualKey::Control) == 0;
        },
        10000));
    const std::size_t afterRelease = recorder.seen.size();
    QTest::qWait(1000);
    EXPECT_EQ(recorder.seen.size(), afterRelease) << "a released key went on repeating";
    EXPECT_EQ(keys.asyncKeyState(VirtualKey::Shift), 0);
    keys.disarm(handle);
    EXPECT_EQ(keys.armedCount(), 0);
}

TEST(XInput2KeyListener, ListensWithoutTakingTheKeyboardEvenWhileAnotherClientHoldsIt) {
    XInput2KeyListener keys;
    Recorder recorder(keys);
    const std::int32_t handle = keys.arm(recorder.callback());
    Display* other = XOpenDisplay(nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(XGrabKeyboard(other, DefaultRootWindow(other), False, GrabModeAsync, GrabModeAsync,
                            CurrentTime),
              GrabSuccess);
    XSync(other, False);
    xdotool({"key", "Escape"});
    EXPECT_TRUE(recorder.waitFor(2));
    XUngrabKeyboard(other, CurrentTime);
    EXPECT_EQ(recorder.seen[0].escape, 0) << "a key's own press is not seen yet";
    EXPECT_EQ(recorder.seen[1].message, KeyMessage::KeyUp);
    EXPECT_NE(recorder.seen[1].escape, 0) << "its release sees it still down";
    XCloseDisplay(other);
    keys.disarm(handle);
}

// The hook runs a whole capture inside its callback, with event loops of its
// own; events that come meanwhile must wait, not re-enter the callback.
TEST(XInput2KeyListener, EventsDuringANestedLoopWaitForTheCallbackToReturn) {
    XInput2KeyListener keys;
    int depth = 0;
    int deepest = 0;
    std::vector<int> messages;
    const std::int32_t handle = keys.arm([&](int, int message, std::int32_t) {
        ++depth;
        deepest = std::max(deepest, depth);
        messages.push_back(message);
        if (messages.size() == 1) {
            xdotool({"key", "b"});
            QEventLoop loop;
            QTimer::singleShot(300, &loop, &QEventLoop::quit);
            loop.exec();
        }
        --depth;
    });
    xdotool({"key", "a"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return messages.size() >= 4; }, 10000));
    EXPECT_EQ(deepest, 1);
    keys.disarm(handle);
}

TEST(XInput2KeyListener, WithoutADisplayEveryArmIsRefused) {
    const QByteArray display = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    XInput2KeyListener keys;
    qputenv("DISPLAY", display);
    EXPECT_FALSE(keys.error().isEmpty());
    EXPECT_EQ(keys.arm([](int, int, std::int32_t) {}), 0);
    EXPECT_EQ(keys.armedCount(), 0);
}

} // namespace
} // namespace pellix
