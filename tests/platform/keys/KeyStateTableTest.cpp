#include "platform/x11/KeyStateTable.h"

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

// The chord is the bitwise AND of Control and Shift as they were before the
// event: both held, or both pressed since last read; one held and the other
// only pressed is not enough.
TEST(ChordEvent, AKeyDownCapturesOnlyWhenControlAndShiftShareABit) {
    constexpr int ShiftLeft = 50;
    struct Row {
        bool controlHeld, controlPressed, shiftHeld, shiftPressed, captures;
    };
    const Row rows[] = {
        {true, false, true, false, true},  {false, true, false, true, true},
        {true, false, false, true, false}, {true, true, false, false, false},
        {false, false, true, true, false},
    };
    for (const Row& row : rows) {
        KeyStateTable keys;
        if (row.controlPressed) {
            keys.apply(VirtualKey::Control, ControlLeft, true);
            keys.apply(VirtualKey::Control, ControlLeft, row.controlHeld);
        } else {
            keys.setHeld(VirtualKey::Control, ControlLeft, row.controlHeld);
        }
        if (row.shiftPressed) {
            keys.apply(VirtualKey::Shift, ShiftLeft, true);
            keys.apply(VirtualKey::Shift, ShiftLeft, row.shiftHeld);
        } else {
            keys.setHeld(VirtualKey::Shift, ShiftLeft, row.shiftHeld);
        }
        const auto event = chordEvent(keys, KeyMessage::KeyDown);
        EXPECT_EQ(event.has_value(), row.captures)
            << row.controlHeld << row.controlPressed << row.shiftHeld << row.shiftPressed;
        EXPECT_EQ(chordEvent(keys, KeyMessage::KeyUp), std::nullopt);
    }
}

TEST(ChordEvent, AKeyUpCancelsWhileEscapeIsHeldOrWasPressedAndSystemKeysDoNothing) {
    KeyStateTable keys;
    keys.apply(VirtualKey::Escape, EscapeKey, true);
    EXPECT_EQ(chordEvent(keys, KeyMessage::SysKeyUp), std::nullopt);
    EXPECT_EQ(chordEvent(keys, KeyMessage::KeyUp), KeyEvent::Escape);
    keys.apply(VirtualKey::Escape, EscapeKey, false);
    EXPECT_EQ(chordEvent(keys, KeyMessage::KeyUp), std::nullopt) << "read once, and released";
    keys.apply(VirtualKey::Escape, EscapeKey, true);
    keys.apply(VirtualKey::Escape, EscapeKey, false);
    EXPECT_EQ(chordEvent(keys, KeyMessage::KeyUp), KeyEvent::Escape) << "pressed since last read";

    keys.setHeld(VirtualKey::Control, ControlLeft, true);
    keys.setHeld(VirtualKey::Shift, 50, true);
    EXPECT_EQ(chordEvent(keys, KeyMessage::SysKeyDown), std::nullopt);
    EXPECT_EQ(chordEvent(keys, KeyMessage::KeyDown), KeyEvent::ChordHeld);
}

} // namespace
} // namespace pellix
