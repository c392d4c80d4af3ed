#include "platform/KeyStateTable.h"

#include <gtest/gtest.h>

namespace pellix {
namespace {

constexpr int ControlLeft = 37;
constexpr int ControlRight = 105;
constexpr int AltLeft = 64;
constexpr int EscapeKey = 9;
constexpr std::int16_t HeldAndPressed = KeyState::Held | KeyState::PressedSinceQuery;

TEST(KeyStateTable, QueriesAnswerHeldAndPressedSinceTheLastQuery) {
    KeyStateTable keys;
    keys.apply(VirtualKey::Control, ControlLeft, true);
    EXPECT_EQ(keys.query(VirtualKey::Control), HeldAndPressed);
    EXPECT_EQ(keys.query(VirtualKey::Control), KeyState::Held);
    // Raw events are unfiltered: a second press or release changes nothing.
    keys.apply(VirtualKey::Control, ControlLeft, true);
    EXPECT_EQ(keys.query(VirtualKey::Control), KeyState::Held);
    keys.apply(VirtualKey::Control, ControlLeft, false);
    keys.apply(VirtualKey::Control, ControlLeft, false);
    EXPECT_EQ(keys.query(VirtualKey::Control), 0);
    // A press released before the query still reads as pressed, once.
    keys.apply(VirtualKey::Escape, EscapeKey, true);
    keys.apply(VirtualKey::Escape, EscapeKey, false);
    EXPECT_EQ(keys.query(VirtualKey::Escape), KeyState::PressedSinceQuery);
    EXPECT_EQ(keys.query(VirtualKey::Escape), 0);
    EXPECT_EQ(keys.query(0x41), 0); // a key that is not followed
}

TEST(KeyStateTable, EitherOfTwoPhysicalKeysHoldsTheVirtualKey) {
    KeyStateTable keys;
    keys.apply(VirtualKey::Control, ControlLeft, true);
    keys.apply(VirtualKey::Control, ControlRight, true);
    keys.apply(VirtualKey::Control, ControlRight, false);
    EXPECT_TRUE(keys.isHeld(VirtualKey::Control));
    keys.apply(VirtualKey::Control, ControlLeft, false);
    EXPECT_FALSE(keys.isHeld(VirtualKey::Control));
    // Seeded keys are held without a press; clearPresses forgets presses only.
    keys.setHeld(VirtualKey::Shift, 50, true);
    keys.apply(VirtualKey::Escape, EscapeKey, true);
    keys.clearPresses();
    EXPECT_EQ(keys.query(VirtualKey::Shift), KeyState::Held);
    EXPECT_EQ(keys.query(VirtualKey::Escape), KeyState::Held);
}

TEST(KeyStateTable, KeysMovedWhileAltIsHeldAreSystemKeys) {
    KeyStateTable keys;
    EXPECT_EQ(keys.apply(0, 38, true), KeyMessage::KeyDown);
    EXPECT_EQ(keys.apply(VirtualKey::Menu, AltLeft, true), KeyMessage::SysKeyDown);
    EXPECT_EQ(keys.apply(VirtualKey::Control, ControlLeft, true), KeyMessage::SysKeyDown);
    EXPECT_EQ(keys.apply(VirtualKey::Control, ControlLeft, false), KeyMessage::SysKeyUp);
    EXPECT_EQ(keys.apply(VirtualKey::Menu, AltLeft, false), KeyMessage::KeyUp);
}

} // namespace
} // namespace pellix
