#pragma once

#include <cstdint>
#include <functional>

namespace pellix {

// Virtual keys, by the numbers the keyboard hook asks about.
namespace VirtualKey {
constexpr int Shift = 0x10;
constexpr int Control = 0x11;
constexpr int Menu = 0x12; // Alt
constexpr int Escape = 0x1B;
} // namespace VirtualKey

// Key event messages as a listener reports them. The system variants come for
// keys that go down or up while Alt is held.
namespace KeyMessage {
constexpr int KeyDown = 0x100;
constexpr int KeyUp = 0x101;
constexpr int SysKeyDown = 0x104;
constexpr int SysKeyUp = 0x105;
} // namespace KeyMessage

// The code of an ordinary key event; any other code is for the listener's own use.
constexpr int KeyActionCode = 0;

// Bits of an asynchronous key state.
namespace KeyState {
constexpr std::int16_t Held = static_cast<std::int16_t>(0x8000);
constexpr std::int16_t PressedSinceQuery = 0x0001;
} // namespace KeyState

// Sees the key-down and key-up events of the whole desktop while other programs
// have the focus, without taking the keyboard from them. Events arrive on the
// user-interface thread, between its other events, before the key state below
// takes them in: a key-down does not yet report its own key as held. A held key
// repeats its key-down at the desktop's repeat rate, as long as it is the last
// key pressed.
class KeyListener {
public:
    // code, message, and the platform's number of the key (never needed for the chord).
    using Callback = std::function<void(int code, int message, std::int32_t key)>;

    virtual ~KeyListener() = default;

    // Starts calling `callback` for every key event; returns a handle that is
    // never 0, or 0 when the platform refused. Several handles may be armed at once.
    virtual std::int32_t arm(Callback callback) = 0;
    // Stops the callback of `handle`; an unknown handle is ignored. Safe to call
    // from inside a callback.
    virtual void disarm(std::int32_t handle) = 0;
    // The number of handles armed now.
    virtual int armedCount() const = 0;
    // As the desktop reports it: the top bit while the key is held, the lowest
    // bit when it went down since the previous query of the same key; 0 for a
    // key the listener does not follow.
    virtual std::int16_t asyncKeyState(int virtualKey) = 0;
};

} // namespace pellix
