#include "platform/x11/XInput2KeyListener.h"

#include "platform/x11/KeyStateTable.h"

#include <QSocketNotifier>
#include <QTimer>

#include <array>
#include <bitset>
#include <vector>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>
// Xlib's macros clash with Qt's enum names.
#undef KeyPress
#undef KeyRelease

namespace pellix {

namespace {

struct FollowedKey {
    KeySym keysym;
    int virtualKey;
};

constexpr std::array<FollowedKey, 7> FollowedKeys = {{
    {XK_Control_L, VirtualKey::Control},
    {XK_Control_R, VirtualKey::Control},
    {XK_Shift_L, VirtualKey::Shift},
    {XK_Shift_R, VirtualKey::Shift},
    {XK_Alt_L, VirtualKey::Menu},
    {XK_Alt_R, VirtualKey::Menu},
    {XK_Escape, VirtualKey::Escape},
}};

struct RawKey {
    int keycode;
    bool down;
};

// The server's repeat rate when it does not say: X's own defaults.
constexpr unsigned DefaultRepeatDelayMs = 660;
constexpr unsigned DefaultRepeatIntervalMs = 40;

} // namespace

struct XInput2KeyListener::Impl {
    Display* display = nullptr;
    int opcode = 0;
    QString error;
    std::unique_ptr<QSocketNotifier> notifier;
    std::array<int, KeyStateTable::PhysicalKeys> virtualKeyOf{};
    KeyStateTable keys;
    Callback callback;
    bool selected = false;
    // Raw events never repeat; the key pressed last repeats here, as a held
    // key does for the program with the focus.
    std::bitset<KeyStateTable::PhysicalKeys> down;
    QTimer repeat;
    int repeatingKey = -1;
    unsigned repeatDelayMs = DefaultRepeatDelayMs;
    unsigned repeatIntervalMs = DefaultRepeatIntervalMs;

    bool open();
    void mapKeys();
    void select(bool on);
    void seedHeldKeys();
    void fetch();
    void deliver(const RawKey& key);
    void followRepeat(const RawKey& key);
    void repeatHeldKey();
};

bool XInput2KeyListener::Impl::open() {
    display = XOpenDisplay(nullptr);
    if (!display) {
        error = QStringLiteral("Cannot open the X display for the key listener.");
        return false;
    }
    int event = 0;
    int errorBase = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &errorBase)) {
        error = QStringLiteral("The X server has no XInput extension.");
        return false;
    }
    // Raw events on the root window that arrive regardless of grabs need 2.1.
    int major = 2;
    int minor = 1;
    if (XIQueryVersion(display, &major, &minor) != Success || major < 2 ||
        (major == 2 && minor < 1)) {
        error = QStringLiteral("The X server's XInput is older than 2.1.");
        return false;
    }
    mapKeys();
    unsigned delay = 0;
    unsigned interval = 0;
    if (XkbGetAutoRepeatRate(display, XkbUseCoreKbd, &delay, &interval) && delay > 0 &&
        interval > 0) {
        repeatDelayMs = delay;
        repeatIntervalMs = interval;
    }
    return true;
}

void XInput2KeyListener::Impl::mapKeys() {
    virtualKeyOf.fill(0);
    for (const FollowedKey& key : FollowedKeys) {
        const KeyCode code = XKeysymToKeycode(display, key.keysym);
        if (code != 0) {
            virtualKeyOf[code] = key.virtualKey;
        }
    }
}

void XInput2KeyListener::Impl::select(bool on) {
    std::array<unsigned char, XIMaskLen(XI_LASTEVENT)> bits{};
    if (on) {
        XISetMask(bits.data(), XI_RawKeyPress);
        XISetMask(bits.data(), XI_RawKeyRelease);
    }
    XIEventMask mask;
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = static_cast<int>(bits.size());
    mask.mask = bits.data();
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XFlush(display);
    selected = on;
    if (!on) {
        repeat.stop();
        repeatingKey = -1;
    }
}

// Keys already down when listening starts count as held, not as pressed.
void XInput2KeyListener::Impl::seedHeldKeys() {
    std::array<char, 32> keymap{};
    XQueryKeymap(display, keymap.data());
    for (int code = 0; code < KeyStateTable::PhysicalKeys; ++code) {
        const bool held = (keymap[code / 8] >> (code % 8)) & 1;
        down.set(static_cast<std::size_t>(code), held);
        if (virtualKeyOf[code] != 0) {
            keys.setHeld(virtualKeyOf[code], code, held);
        }
    }
    keys.clearPresses();
}

void XInput2KeyListener::Impl::fetch() {
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MappingNotify) {
            // Another keyboard layout may put Control, Shift or Escape elsewhere.
            XRefreshKeyboardMapping(&event.xmapping);
            mapKeys();
            continue;
        }
        XGenericEventCookie* cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != opcode ||
            !XGetEventData(display, cookie)) {
            continue;
        }
        if (cookie->evtype == XI_RawKeyPress || cookie->evtype == XI_RawKeyRelease) {
            const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
            deliver({raw->detail, cookie->evtype == XI_RawKeyPress});
        }
        XFreeEventData(display, cookie);
    }
}

// Each event is judged by the key states as they were before it, as a hook on
// the desktop reads them: the second key of a chord does not yet see itself held.
void XInput2KeyListener::Impl::deliver(const RawKey& key) {
    const bool known = key.keycode >= 0 && key.keycode < KeyStateTable::PhysicalKeys;
    const int virtualKey = known ? virtualKeyOf[key.keycode] : 0;
    const std::optional<KeyEvent> event =
        callback ? chordEvent(keys, keys.messageFor(virtualKey, key.keycode, key.down))
                 : std::nullopt;
    keys.apply(virtualKey, key.keycode, key.down);
    if (known) {
        followRepeat(key);
    }
    if (event && callback) {
        const Callback report = callback; // the callback may stop us
        report(*event);
    }
}

// Raw releases may come twice, and a repeat is no new press: only a key that
// goes down anew starts repeating, and its own release ends it.
void XInput2KeyListener::Impl::followRepeat(const RawKey& key) {
    const auto code = static_cast<std::size_t>(key.keycode);
    const bool wasDown = down.test(code);
    down.set(code, key.down);
    if (key.down && !wasDown) {
        repeatingKey = key.keycode;
        repeat.start(static_cast<int>(repeatDelayMs));
    } else if (!key.down && key.keycode == repeatingKey) {
        repeat.stop();
        repeatingKey = -1;
    }
}

void XInput2KeyListener::Impl::repeatHeldKey() {
    if (!selected || repeatingKey < 0 || !down.test(static_cast<std::size_t>(repeatingKey))) {
        return;
    }
    repeat.start(static_cast<int>(repeatIntervalMs));
    deliver({repeatingKey, true});
}

XInput2KeyListener::XInput2KeyListener() : m_impl(std::make_unique<Impl>()) {
    if (!m_impl->open()) {
        return;
    }
    m_impl->notifier =
        std::make_unique<QSocketNotifier>(ConnectionNumber(m_impl->display), QSocketNotifier::Read);
    m_impl->repeat.setSingleShot(true);
    connect(&m_impl->repeat, &QTimer::timeout, this, [this] { m_impl->repeatHeldKey(); });
    connect(m_impl->notifier.get(), &QSocketNotifier::activated, this, [this] { readEvents(); });
}

XInput2KeyListener::~XInput2KeyListener() {
    m_impl->notifier.reset();
    if (m_impl->display) {
        XCloseDisplay(m_impl->display);
    }
}

bool XInput2KeyListener::start(Callback callback) {
    if (!m_impl->display || !m_impl->error.isEmpty() || !callback) {
        return false;
    }
    m_impl->callback = std::move(callback);
    if (!m_impl->selected) {
        m_impl->select(true);
        m_impl->seedHeldKeys();
        // The round trip above may have left events in Xlib's queue, where the
        // socket notifier never sees them.
        readEvents();
    }
    return true;
}

void XInput2KeyListener::stop() {
    m_impl->callback = nullptr;
    if (m_impl->selected) {
        m_impl->select(false);
    }
}

bool XInput2KeyListener::listening() const {
    return static_cast<bool>(m_impl->callback);
}

const QString& XInput2KeyListener::error() const {
    return m_impl->error;
}

void XInput2KeyListener::readEvents() {
    m_impl->fetch();
}

} // namespace pellix
