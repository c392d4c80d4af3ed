#pragma once

#include <QString>

#include <functional>

namespace pellix {

// What the capture trigger hears from the desktop, in the program's terms.
enum class KeyEvent {
    ChordHeld, // Control and Shift held together: capture now
    Escape,    // the user wants out: cancel
    Trigger,   // the desktop's shortcut for the program was pressed: capture now
};

// Listens to the whole desktop while other programs have the focus, without
// taking the keyboard from them, and reports the key chord and Escape on the
// user-interface thread.
class KeyListener {
public:
    using Callback = std::function<void(KeyEvent)>;

    virtual ~KeyListener() = default;

    // Starts reporting to `callback`, replacing any earlier one; false when the
    // platform refused, and then nothing is reported.
    virtual bool start(Callback callback) = 0;
    // Stops reporting; safe to call from inside the callback.
    virtual void stop() = 0;
    virtual bool listening() const = 0;
    // Where the desktop hears the keys instead (Wayland), the shortcut it has
    // bound for the program, such as "Ctrl+Shift+P"; empty for the key chord.
    virtual QString triggerName() const { return {}; }
    // Whether anything at all can be heard here; where not, only a command
    // from outside (a desktop shortcut starting the program) ends the wait.
    virtual bool canHear() const { return true; }
};

} // namespace pellix
