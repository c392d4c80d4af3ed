#include <QGuiApplication>
#include <qguiapplication_platform.h>

#include "platform/x11/X11Connection.h"

#include <X11/Xatom.h>

namespace pellix::x11 {

namespace {

// Xlib's error handler is one per process, so the trap that is collecting
// errors has to be found from a plain function. Traps only live on the
// user-interface thread, inside one call, and nest.
ErrorTrap* activeTrap = nullptr;

} // namespace

QByteArray applicationDisplayName() {
    if (qGuiApp != nullptr) {
        if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
            if (Display* display = x11->display()) {
                return QByteArray(DisplayString(display));
            }
        }
    }
    return qgetenv("DISPLAY");
}

DisplayPtr openDisplay(const QString& name) {
    const QByteArray display = name.isEmpty() ? applicationDisplayName() : name.toLocal8Bit();
    return DisplayPtr(XOpenDisplay(display.isEmpty() ? nullptr : display.constData()));
}

ErrorTrap::ErrorTrap(Display* display) : m_display(display), m_outer(activeTrap) {
    // Errors of earlier requests belong to whoever sent them.
    XSync(m_display, False);
    activeTrap = this;
    m_previous = XSetErrorHandler(&ErrorTrap::handle);
}

ErrorTrap::~ErrorTrap() {
    XSync(m_display, False);
    XSetErrorHandler(m_previous);
    activeTrap = m_outer;
}

bool ErrorTrap::failed() {
    XSync(m_display, False);
    return m_errorCode != 0;
}

int ErrorTrap::handle(Display* display, XErrorEvent* event) {
    for (ErrorTrap* trap = activeTrap; trap != nullptr; trap = trap->m_outer) {
        if (trap->m_display == display) {
            if (trap->m_errorCode == 0) {
                trap->m_errorCode = event->error_code;
            }
            return 0;
        }
    }
    ErrorTrap* outermost = activeTrap;
    while (outermost != nullptr && outermost->m_outer != nullptr) {
        outermost = outermost->m_outer;
    }
    XErrorHandler previous = outermost != nullptr ? outermost->m_previous : nullptr;
    return previous != nullptr ? previous(display, event) : 0;
}

Atom atom(Display* display, const char* name) {
    return XInternAtom(display, name, False);
}

std::optional<std::vector<unsigned long>> property32(Display* display, Window window, Atom property,
                                                     Atom type) {
    ErrorTrap trap(display);
    Atom actualType = 0;
    int actualFormat = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* raw = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, 1024, False, type,
                                          &actualType, &actualFormat, &count, &remaining, &raw);
    XFreePtr<unsigned char> data(raw);
    if (trap.failed() || status != Success || actualType != type || actualFormat != 32) {
        return std::nullopt;
    }
    const auto* items = reinterpret_cast<const unsigned long*>(data.get());
    return std::vector<unsigned long>(items, items + count);
}

std::optional<Window> windowProperty(Display* display, Window window, Atom property) {
    const auto items = property32(display, window, property, XA_WINDOW);
    if (!items || items->empty()) {
        return std::nullopt;
    }
    return static_cast<Window>(items->front());
}

} // namespace pellix::x11
