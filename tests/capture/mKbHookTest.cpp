#include "capture/mKbHook.h"

#include "fakes/FakeKeyListener.h"

#include <gtest/gtest.h>

#include <QObject>

#include <memory>
#include <vector>

namespace pellix {
namespace {

// A form that offers DoCapture as the main window does: it removes the hook first.
class RecordingForm : public QObject {
    Q_OBJECT
public:
    Q_INVOKABLE void DoCapture(bool bCapture) {
        mKbHook::RemoveKbHook();
        calls.push_back(bCapture);
    }
    std::vector<bool> calls;
};

class KbHook : public ::testing::Test {
protected:
    void TearDown() override {
        mKbHook::RemoveKbHook();
        mKbHook::ClearKbHook();
    }
    FakeKeyListener keys;
    RecordingForm form;
};

struct ChordCase {
    std::int16_t control;
    std::int16_t shift;
    bool captures;
};

TEST_F(KbHook, KeyDownCapturesWhenTheBitwiseAndOfControlAndShiftIsNotZero) {
    const std::vector<ChordCase> cases = {
        {KeyState::Held, KeyState::Held, true},
        {KeyState::Held | KeyState::PressedSinceQuery, KeyState::Held, true},
        {KeyState::PressedSinceQuery, KeyState::PressedSinceQuery, true},
        // One held and the other only recently pressed: the bits do not meet.
        {KeyState::Held, KeyState::PressedSinceQuery, false},
        {KeyState::PressedSinceQuery, KeyState::Held, false},
        {KeyState::Held, 0, false},
        {0, KeyState::Held, false},
        {0, 0, false},
    };
    for (const ChordCase& c : cases) {
        form.calls.clear();
        mKbHook::InstallKbHook(&form, keys);
        keys.states[VirtualKey::Control] = c.control;
        keys.states[VirtualKey::Shift] = c.shift;
        keys.send(KeyMessage::KeyDown);
        if (c.captures) {
            EXPECT_EQ(form.calls, std::vector<bool>{true}) << c.control << " & " << c.shift;
            EXPECT_EQ(mKbHook::m_hHook, 0);
        } else {
            EXPECT_TRUE(form.calls.empty()) << c.control << " & " << c.shift;
        }
        mKbHook::RemoveKbHook();
    }
    EXPECT_EQ(keys.armedCount(), 0);
}

TEST_F(KbHook, AnyKeyUpWithEscapeHeldOrPressedSinceTheLastQueryCancels) {
    for (const std::int16_t escape : {KeyState::Held, KeyState::PressedSinceQuery}) {
        form.calls.clear();
        mKbHook::InstallKbHook(&form, keys);
        keys.states[VirtualKey::Escape] = escape;
        keys.send(KeyMessage::KeyUp);
        EXPECT_EQ(form.calls, std::vector<bool>{false}) << escape;
        EXPECT_EQ(keys.armedCount(), 0);
    }
}

TEST_F(KbHook, SystemKeysOtherCodesAndTheWrongDirectionNeverCallTheForm) {
    mKbHook::InstallKbHook(&form, keys);
    keys.states[VirtualKey::Control] = KeyState::Held;
    keys.states[VirtualKey::Shift] = KeyState::Held;
    keys.states[VirtualKey::Escape] = KeyState::Held;
    keys.send(KeyMessage::SysKeyDown);
    keys.send(KeyMessage::SysKeyUp);
    keys.send(KeyMessage::KeyDown, 3);
    keys.send(KeyMessage::KeyUp, -1);
    EXPECT_TRUE(form.calls.empty());
    // Escape is only read on a key-up, the chord only on a key-down.
    keys.states[VirtualKey::Control] = 0;
    keys.send(KeyMessage::KeyDown);
    keys.states[VirtualKey::Control] = KeyState::Held;
    keys.states[VirtualKey::Escape] = 0;
    keys.send(KeyMessage::KeyUp);
    EXPECT_TRUE(form.calls.empty());
}

TEST_F(KbHook, OneRecordAtMost) {
    mKbHook::InstallKbHook(&form, keys);
    const std::int32_t handle = mKbHook::m_hHook;
    RecordingForm other;
    mKbHook::InstallKbHook(&other, keys); // changes nothing
    EXPECT_EQ(mKbHook::m_hHook, handle);
    EXPECT_EQ(mKbHook::m_HookForm.data(), &form);
    EXPECT_EQ(keys.armedCount(), 1);

    mKbHook::ClearKbHook(); // forgets without disarming
    EXPECT_EQ(mKbHook::m_hHook, 0);
    EXPECT_TRUE(mKbHook::m_HookForm.isNull());
    EXPECT_EQ(keys.armedCount(), 1);

    mKbHook::InstallKbHook(&form, keys);
    mKbHook::RemoveKbHook();
    EXPECT_EQ(keys.armedCount(), 1); // only the forgotten one is left
    EXPECT_TRUE(mKbHook::m_HookForm.isNull());
}

TEST_F(KbHook, ARefusedInstallKeepsTheFormAndRemoveWithNoHandleLeavesIt) {
    keys.refuseArm = true;
    mKbHook::InstallKbHook(&form, keys);
    EXPECT_EQ(mKbHook::m_hHook, 0);
    EXPECT_EQ(mKbHook::m_HookForm.data(), &form);
    mKbHook::RemoveKbHook();
    EXPECT_EQ(keys.disarmCalls, 0);
    EXPECT_EQ(mKbHook::m_HookForm.data(), &form);
    keys.refuseArm = false;
    mKbHook::InstallKbHook(&form, keys); // tries again, since no handle is recorded
    EXPECT_NE(mKbHook::m_hHook, 0);
}

} // namespace
} // namespace pellix

#include "mKbHookTest.moc"
