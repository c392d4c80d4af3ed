#pragma once

#include "platform/KeyListener.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>

namespace pellix {

// Keys the table follows.
namespace VirtualKey {
constexpr int Shift = 0x10;
constexpr int Control = 0x11;
constexpr int Menu = 0x12; // Alt
constexpr int Escape = 0x1B;
} // namespace VirtualKey

// What a key event is, seen as a desktop hook sees it: keys that go down or up
// while Alt is held are system keys.
namespace KeyMessage {
constexpr int KeyDown = 0x100;
constexpr int KeyUp = 0x101;
constexpr int SysKeyDown = 0x104;
constexpr int SysKeyUp = 0x105;
} // namespace KeyMessage

// Bits of a key's state.
namespace KeyState {
constexpr std::int16_t Held = static_cast<std::int16_t>(0x8000);
constexpr std::int16_t PressedSinceQuery = 0x0001;
} // namespace KeyState

// The held and pressed-since-query bits of the few keys a listener follows, fed
// from raw key events. Raw events are unfiltered: a second release of a key that
// is already up, or a press of a key already down, changes nothing.
class KeyStateTable {
public:
    // Physical keys are numbered 0 to 255 (X keycodes fit); one virtual key may
    // stand for several of them, such as the left and the right Control.
    static constexpr int PhysicalKeys = 256;

    // Takes in one event and answers the message to report for it. `virtualKey`
    // 0 stands for a key that is not followed. A second press of a held key
    // is not a new press: it leaves the pressed-since-query bit as it is.
    int apply(int virtualKey, int physicalKey, bool down) {
        Slot* slot = find(virtualKey);
        if (slot && physicalKey >= 0 && physicalKey < PhysicalKeys) {
            if (down && !slot->heldKeys.test(physicalKey)) {
                slot->pressedSinceQuery = true;
            }
            slot->heldKeys.set(physicalKey, down);
        }
        const bool alt = isHeld(VirtualKey::Menu);
        if (down) {
            return alt ? KeyMessage::SysKeyDown : KeyMessage::KeyDown;
        }
        return alt ? KeyMessage::SysKeyUp : KeyMessage::KeyUp;
    }

    // The message apply() would answer, without taking the event in.
    int messageFor(int virtualKey, int physicalKey, bool down) const {
        KeyStateTable after = *this;
        return after.apply(virtualKey, physicalKey, down);
    }

    // Reading clears the pressed-since-query bit of that key.
    std::int16_t query(int virtualKey) {
        Slot* slot = find(virtualKey);
        if (!slot) {
            return 0;
        }
        std::int16_t state = 0;
        if (slot->heldKeys.any()) {
            state |= KeyState::Held;
        }
        if (slot->pressedSinceQuery) {
            state |= KeyState::PressedSinceQuery;
        }
        slot->pressedSinceQuery = false;
        return state;
    }

    bool isHeld(int virtualKey) const {
        const Slot* slot = find(virtualKey);
        return slot && slot->heldKeys.any();
    }

    // Takes the held state as the desktop reports it now, e.g. when listening
    // starts with keys already down; no press is recorded for them.
    void setHeld(int virtualKey, int physicalKey, bool held) {
        Slot* slot = find(virtualKey);
        if (slot && physicalKey >= 0 && physicalKey < PhysicalKeys) {
            slot->heldKeys.set(physicalKey, held);
        }
    }

    // Forgets every press recorded so far.
    void clearPresses() {
        for (Slot& slot : m_slots) {
            slot.pressedSinceQuery = false;
        }
    }

private:
    struct Slot {
        int virtualKey;
        std::bitset<PhysicalKeys> heldKeys;
        bool pressedSinceQuery = false;
    };

    Slot* find(int virtualKey) {
        for (Slot& slot : m_slots) {
            if (slot.virtualKey == virtualKey) {
                return &slot;
            }
        }
        return nullptr;
    }
    const Slot* find(int virtualKey) const {
        return const_cast<KeyStateTable*>(this)->find(virtualKey);
    }

    std::array<Slot, 4> m_slots{{{VirtualKey::Shift, {}, false},
                                 {VirtualKey::Control, {}, false},
                                 {VirtualKey::Menu, {}, false},
                                 {VirtualKey::Escape, {}, false}}};
};

// What one key event means for the capture trigger, read from the key states
// as they were before the event, as a desktop hook reads them. A key-down
// captures when Control and Shift, combined bit by bit, are both held or both
// pressed since they were last read: so the second key of a chord does not see
// itself yet, and the chord fires on the key repeat of a held key. Any key-up
// cancels while Escape is held or was pressed since it was last read. System
// keys (with Alt held) mean nothing.
inline std::optional<KeyEvent> chordEvent(KeyStateTable& keys, int message) {
    if (message == KeyMessage::KeyDown) {
        const std::int16_t control = keys.query(VirtualKey::Control);
        const std::int16_t shift = keys.query(VirtualKey::Shift);
        if ((control & shift) != 0) {
            return KeyEvent::ChordHeld;
        }
    } else if (message == KeyMessage::KeyUp) {
        if (keys.query(VirtualKey::Escape) != 0) {
            return KeyEvent::Escape;
        }
    }
    return std::nullopt;
}

} // namespace pellix
