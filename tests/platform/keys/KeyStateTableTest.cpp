#include "platform/KeyStateTable.h"

#include <gtest/gtest.h>

namespace pellix {
namespace {

constexpr int ControlLeft = 37;
constexpr int ControlRight = 105;
constexpr int ShiftLeft = 50;
constexpr int AltLeft = 64;
constexpr int EscapeKey = 9;
constexpr int LetterA = 38;

constexpr std::int16_t HeldAndPressed = KeyState::Held | KeyState::PressedSinceQuery;

TEST(KeyStateTable, PressIsHeldAndPressedUntilQueriedThenOnlyHeld) {
    KeyStateTable keys;
    keys.apply(VirtualKey::Control, ControlLeft, true);
    EXPECT_EQ(keys.query(VirtualKey::Control), HeldAndPressed);
    EXPECT_EQ(keys.query(VirtualKey::Control), KeyState::Held);
    keys.apply(VirtualKey::Control, ControlLeft, false);
    EXPECT_EQ(keys.query(VirtualKey::Control), 0);
}

TEST(KeyStateTable, PressReleasedBeforeTheQueryStillReadsAsPressedOnce) {
    KeyStateTable keys;
    keys.apply(VirtualKey::Escape, EscapeKey, true);
    keys.apply(VirtualKey::Escape, EscapeKey, false);
    EXPECT_EQ(keys.query(VirtualKey::Escape), KeyState::PressedSinceQuery);
    EXPECT_EQ(keys.query(VirtualKey::Escape), 0);
}

TEST(KeyStateTable, RepeatedRawEventsChangeNothing) {
    KeyStateTable keys;
    keys.apply(VirtualKey::Shift, ShiftLeft, true);
    keys.query(VirtualKey::Shift);
    // A second press of a key that is down is no new press.
    keys.apply(VirtualKey::Shift, ShiftLeft, true);
    EXPECT_EQ(keys.query(VirtualKey::Shift), KeyState::Held);
    keys.apply(VirtualKey::Shift, ShiftLeft, false);
    keys.apply(VirtualKey::Shift, ShiftLeft, false);
    EXPECT_EQ(keys.query(VirtualKey::Shift), 0);
    keys.apply(VirtualKey::Shift, ShiftLeft, true);
    EXPECT_EQ(keys.query(VirtualKey::Shift), HeldAndPressed);
}

TEST(KeyStateTable, EitherOfTwoPhysicalKeysHoldsTheVirtualKey) {
    KeyStateTable keys;
    keys.apply(VirtualKey::Control, ControlLeft, true);
    keys.apply(VirtualKey::Control, ControlRight, true);
    keys.apply(VirtualKey::Control, ControlRight, false);
    EXPECT_TRUE(keys.isHeld(VirtualKey::Control));
    keys.apply(VirtualKey::Control, ControlLeft, false);
    EXPECT_FALSE(keys.isHeld(VirtualKey::Control));
}

TEST(KeyStateTable, KeysMovedWhileAltIsHeldAreSystemKeys) {
    KeyStateTable keys;
    EXPECT_EQ(keys.apply(0, LetterA, true), KeyMessage::KeyDown);
    EXPECT_EQ(keys.apply(VirtualKey::Menu, AltLeft, true), KeyMessage::SysKeyDown);
    EXPECT_EQ(keys.apply(VirtualKey::Control, ControlLeft, true), KeyMessage::SysKeyDown);
    EXPECT_EQ(keys.apply(VirtualKey::Control, ControlLeft, false), KeyMessage::SysKeyUp);
    EXPECT_EQ(keys.apply(VirtualKey::Menu, AltLeft, false), KeyMessage::KeyUp);
    EXPECT_EQ(keys.apply(0, LetterA, false), KeyMessage::KeyUp);
}

TEST(KeyStateTable, KeysNotFollowedReadAsZeroAndTouchNothing) {
    KeyStateTable keys;
    keys.apply(0, LetterA, true);
    EXPECT_EQ(keys.query(0x41), 0);
    EXPECT_EQ(keys.query(VirtualKey::Control), 0);
    keys.apply(VirtualKey::Control, 999, true); // out of range: ignored, not a crash
    EXPECT_EQ(keys.query(VirtualKey::Control), 0);
}

TEST(KeyStateTable, SeededKeysAreHeldWithoutAPressAndClearPressesForgets) {
    KeyStateTable keys;
    keys.setHeld(VirtualKey::Shift, ShiftLeft, true);
    EXPECT_EQ(keys.query(VirtualKey::Shift), KeyState::Held);
    keys.apply(VirtualKey::Escape, EscapeKey, true);
    keys.apply(VirtualKey::Escape, EscapeKey, false);
    keys.clearPresses();
    EXPECT_EQ(keys.query(VirtualKey::Escape), 0);
}

} // namespace
} // namespace pellix
