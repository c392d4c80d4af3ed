#pragma once

// Shared plumbing of the X11 backends: the connection, error trapping and
// property reads. Include it after every Qt header: Xlib defines macros
// (None, Bool, Status, ...) that clash with Qt's names.

#include <QByteArray>
#include <QString>

#include <X11/Xlib.h>

#include <memory>
#include <optional>
#include <vector>

namespace pellix::x11 {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

struct XFreeDeleter {
    void operator()(void* data) const {
        if (data != nullptr) {
            XFree(data);
        }
    }
};
template <typename T> using XFreePtr = std::unique_ptr<T, XFreeDeleter>;

// The name of the display the application's toolkit talks to, else $DISPLAY.
QByteArray applicationDisplayName();

// Opens `name`, or the application's display when `name` is empty. Null on failure.
DisplayPtr openDisplay(const QString& name);

// Collects the X errors of one display for its lifetime instead of letting
// Xlib's default handler end the process. Errors of other displays go on to
// the handler that was installed before; that handler is restored at the end.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Waits for the server to answer everything sent so far, then tells
    // whether any of it failed.
    bool failed();
    int errorCode() const { return m_errorCode; }

private:
    static int handle(Display* display, XErrorEvent* event);

    Display* m_display;
    XErrorHandler m_previous;
    ErrorTrap* m_outer;
    int m_errorCode = 0;
};

Atom atom(Display* display, const char* name);

// A 32-bit property of `window` as Xlib hands it over (one long per item);
// nothing when the property is missing, of another type, or the window is gone.
std::optional<std::vector<unsigned long>> property32(Display* display, Window window, Atom property,
                                                     Atom type);

// The first item of a WINDOW property; nothing when missing.
std::optional<Window> windowProperty(Display* display, Window window, Atom property);

} // namespace pellix::x11
