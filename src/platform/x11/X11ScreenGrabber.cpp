#include "platform/x11/X11ScreenGrabber.h"

#include <QImage>
#include <QRect>

#include "platform/x11/X11Connection.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <bit>
#include <cstddef>
#include <cstdint>

namespace pellix {

namespace {

using x11::ErrorTrap;

struct XImageDeleter {
    void operator()(XImage* image) const { XDestroyImage(image); }
};
using XImagePtr = std::unique_ptr<XImage, XImageDeleter>;

GrabResult failure(const QString& text) {
    return {QImage(), text, {}};
}

// One shared-memory image of the root window's size, attached to the server
// once and reused for every grab: making and attaching a segment costs more
// than the copy itself.
class SharedImage {
public:
    static std::unique_ptr<SharedImage> create(Display* display, QSize size);
    ~SharedImage();
    SharedImage(const SharedImage&) = delete;
    SharedImage& operator=(const SharedImage&) = delete;

    XImage* image() const { return m_image; }
    QSize size() const { return {m_image->width, m_image->height}; }

private:
    explicit SharedImage(Display* display) : m_display(display) {}

    Display* m_display;
    XImage* m_image = nullptr;
    XShmSegmentInfo m_segment{};
    bool m_attached = false;
};

std::unique_ptr<SharedImage> SharedImage::create(Display* display, QSize size) {
    if (XShmQueryExtension(display) == False) {
        return nullptr;
    }
    std::unique_ptr<SharedImage> shared(new SharedImage(display));
    shared->m_segment.shmid = -1;
    const int screen = DefaultScreen(display);
    shared->m_image =
        XShmCreateImage(display, DefaultVisual(display, screen), DefaultDepth(display, screen),
                        ZPixmap, nullptr, &shared->m_segment, size.width(), size.height());
    if (shared->m_image == nullptr) {
        return nullptr;
    }
    const auto bytes = static_cast<std::size_t>(shared->m_image->bytes_per_line) *
                       static_cast<std::size_t>(shared->m_image->height);
    shared->m_segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (shared->m_segment.shmid < 0) {
        return nullptr;
    }
    void* address = shmat(shared->m_segment.shmid, nullptr, 0);
    if (address == reinterpret_cast<void*>(-1)) {
        shmctl(shared->m_segment.shmid, IPC_RMID, nullptr);
        return nullptr;
    }
    shared->m_segment.shmaddr = shared->m_image->data = static_cast<char*>(address);
    shared->m_segment.readOnly = False;
    {
        // A server on another host (or in another IPC namespace) refuses here.
        ErrorTrap trap(display);
        XShmAttach(display, &shared->m_segment);
        shared->m_attached = !trap.failed();
    }
    // Marked for removal now, the segment goes away with the last detach, even
    // if this process dies without cleaning up.
    shmctl(shared->m_segment.shmid, IPC_RMID, nullptr);
    return shared->m_attached ? std::move(shared) : nullptr;
}

SharedImage::~SharedImage() {
    if (m_attached) {
        ErrorTrap trap(m_display);
        XShmDetach(m_display, &m_segment);
    }
    if (m_segment.shmaddr != nullptr) {
        shmdt(m_segment.shmaddr);
    }
    if (m_image != nullptr) {
        m_image->data = nullptr; // the shared segment, not Xlib's to free
        XDestroyImage(m_image);
    }
}

bool isNativeRgb32(const XImage& image) {
    const bool littleEndian = std::endian::native == std::endian::little;
    return image.bits_per_pixel == 32 && image.red_mask == 0xff0000 && image.green_mask == 0xff00 &&
           image.blue_mask == 0xff && (image.byte_order == LSBFirst) == littleEndian;
}

// One colour channel of an X pixel, scaled to 8 bits.
class Channel {
public:
    explicit Channel(unsigned long mask)
        : m_mask(mask), m_shift(std::countr_zero(mask)), m_max((1UL << std::popcount(mask)) - 1UL) {
    }

    int operator()(unsigned long pixel) const {
        if (m_max == 0) {
            return 0;
        }
        return static_cast<int>(((pixel & m_mask) >> m_shift) * 255UL / m_max);
    }

private:
    unsigned long m_mask;
    int m_shift;
    unsigned long m_max;
};

// Slow but exact, for visuals other than 32-bit BGRX (16-bit, swapped bytes).
void convertAnyVisual(XImage& image, QRect area, QImage& out) {
    const Channel red(image.red_mask), green(image.green_mask), blue(image.blue_mask);
    for (int row = 0; row < area.height(); ++row) {
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(row));
        for (int col = 0; col < area.width(); ++col) {
            const unsigned long pixel = XGetPixel(&image, area.x() + col, area.y() + row);
            dst[col] = qRgb(red(pixel), green(pixel), blue(pixel));
        }
    }
}

// Copies `area` of `image` into a QImage of its own. X leaves the top byte of
// a 24-bit pixel undefined, while QImage's RGB32 expects it opaque.
QImage toQImage(XImage& image, QRect area) {
    QImage out(area.size(), QImage::Format_RGB32);
    if (out.isNull()) {
        return out;
    }
    if (!isNativeRgb32(image)) {
        convertAnyVisual(image, area, out);
        return out;
    }
    for (int row = 0; row < area.height(); ++row) {
        const auto* src =
            reinterpret_cast<const std::uint32_t*>(
                image.data + static_cast<std::ptrdiff_t>(area.y() + row) * image.bytes_per_line) +
            area.x();
        auto* dst = reinterpret_cast<std::uint32_t*>(out.scanLine(row));
        for (int col = 0; col < area.width(); ++col) {
            dst[col] = src[col] | 0xff000000U;
        }
    }
    return out;
}

struct WindowChoice {
    Window window = 0;
    QString error;
};

} // namespace

struct X11ScreenGrabber::Impl {
    x11::DisplayPtr display;
    QString displayName;
    PixelTransfer transfer = PixelTransfer::SharedMemory;
    std::unique_ptr<SharedImage> shared;

    Display* dpy() const { return display.get(); }
    Window root() const { return DefaultRootWindow(display.get()); }

    QRect rootRect() const { return x11::rootRect(dpy()); }

    GrabResult grab(QRect area);
    GrabResult grabShared(QRect area, QSize screen);
    GrabResult grabPlain(QRect area);

    bool windowManagerAlive() const;
    WindowChoice activeWindow() const;
    WindowChoice focusedWindow() const;
    std::optional<Window> topLevel(Window window) const;
    QRect withDrawnFrame(Window client, QRect rect) const;
};

GrabResult X11ScreenGrabber::Impl::grab(QRect area) {
    const QSize screen = rootRect().size();
    if (transfer == PixelTransfer::SharedMemory) {
        // The root window changes size when monitors are rearranged.
        if (shared && shared->size() != screen) {
            shared.reset();
        }
        if (!shared) {
            shared = SharedImage::create(dpy(), screen);
        }
        if (shared) {
            GrabResult result = grabShared(area, screen);
            if (result.ok()) {
                return result;
            }
            // The segment went bad (or the server stopped sharing): the plain
            // copy still works, and every later grab takes it too.
            shared.reset();
        }
        transfer = PixelTransfer::Plain;
    }
    return grabPlain(area);
}

GrabResult X11ScreenGrabber::Impl::grabShared(QRect area, QSize screen) {
    ErrorTrap trap(dpy());
    const Bool done = XShmGetImage(dpy(), root(), shared->image(), 0, 0, AllPlanes);
    if (trap.failed() || done == False) {
        return failure(QStringLiteral("The X server refused to copy the screen (%1x%2).")
                           .arg(screen.width())
                           .arg(screen.height()));
    }
    QImage image = toQImage(*shared->image(), area);
    if (image.isNull()) {
        return failure(QStringLiteral("Not enough memory for a copy of the screen."));
    }
    return {std::move(image), {}, {}};
}

GrabResult X11ScreenGrabber::Impl::grabPlain(QRect area) {
    ErrorTrap trap(dpy());
    XImagePtr image(XGetImage(dpy(), root(), area.x(), area.y(),
                              static_cast<unsigned>(area.width()),
                              static_cast<unsigned>(area.height()), AllPlanes, ZPixmap));
    if (trap.failed() || !image) {
        return failure(QStringLiteral("The X server refused to copy the screen."));
    }
    QImage copy = toQImage(*image, QRect(QPoint(0, 0), area.size()));
    if (copy.isNull()) {
        return failure(QStringLiteral("Not enough memory for a copy of the screen."));
    }
    return {std::move(copy), {}, {}};
}

// A window manager that died leaves its properties on the root window, stale;
// its check window, which names itself, dies with it.
bool X11ScreenGrabber::Impl::windowManagerAlive() const {
    const Atom check = x11::atom(dpy(), "_NET_SUPPORTING_WM_CHECK");
    const auto checkWindow = x11::windowProperty(dpy(), root(), check);
    if (!checkWindow || *checkWindow == 0) {
        return false;
    }
    const auto named = x11::windowProperty(dpy(), *checkWindow, check);
    return named && *named == *checkWindow;
}

WindowChoice X11ScreenGrabber::Impl::activeWindow() const {
    if (windowManagerAlive()) {
        const auto active =
            x11::windowProperty(dpy(), root(), x11::atom(dpy(), "_NET_ACTIVE_WINDOW"));
        if (active) {
            if (*active == 0) {
                return {0, QStringLiteral("No window is active.")};
            }
            return {*active, {}};
        }
    }
    return focusedWindow();
}

WindowChoice X11ScreenGrabber::Impl::focusedWindow() const {
    Window focus = 0;
    int revertTo = 0;
    XGetInputFocus(dpy(), &focus, &revertTo);
    if (focus == static_cast<Window>(PointerRoot)) {
        // The focus follows the pointer: the window under it has the keyboard.
        Window rootReturn = 0;
        Window child = 0;
        int rootX = 0, rootY = 0, x = 0, y = 0;
        unsigned int mask = 0;
        if (XQueryPointer(dpy(), root(), &rootReturn, &child, &rootX, &rootY, &x, &y, &mask) ==
                False ||
            child == 0) {
            return {0, QStringLiteral("No window has the input focus.")};
        }
        return {child, {}};
    }
    // None, or the root itself after the focused window went away.
    if (focus == 0 || focus == root()) {
        return {0, QStringLiteral("No window has the input focus.")};
    }
    return {focus, {}};
}

// The child of the root that holds `window`: with a reparenting window manager
// that is the frame around it.
std::optional<Window> X11ScreenGrabber::Impl::topLevel(Window window) const {
    ErrorTrap trap(dpy());
    Window current = window;
    for (;;) {
        Window rootReturn = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(dpy(), current, &rootReturn, &parent, &children, &count) == 0) {
            return std::nullopt;
        }
        x11::XFreePtr<Window> freeChildren(children);
        if (parent == root() || parent == 0) {
            break;
        }
        current = parent;
    }
    if (trap.failed() || current == root()) {
        return std::nullopt;
    }
    return current;
}

// A window manager that does not reparent draws the frame around the client
// on the root window and says how wide it is in _NET_FRAME_EXTENTS.
QRect X11ScreenGrabber::Impl::withDrawnFrame(Window client, QRect rect) const {
    if (!windowManagerAlive()) {
        return rect;
    }
    const auto extents =
        x11::property32(dpy(), client, x11::atom(dpy(), "_NET_FRAME_EXTENTS"), XA_CARDINAL);
    if (!extents || extents->size() != 4) {
        return rect;
    }
    const auto edge = [&](std::size_t i) {
        return static_cast<int>((*extents)[i]);
    };
    return rect.adjusted(-edge(0), -edge(2), edge(1), edge(3));
}

X11ScreenGrabber::X11ScreenGrabber(X11GrabberOptions options) : d(std::make_unique<Impl>()) {
    d->displayName = options.display.isEmpty()
                         ? QString::fromLocal8Bit(x11::applicationDisplayName())
                         : options.display;
    d->display = x11::openDisplay(d->displayName);
    d->transfer = options.transfer;
}

X11ScreenGrabber::~X11ScreenGrabber() {
    d->shared.reset(); // detaches while the connection is still open
}

PixelTransfer X11ScreenGrabber::transfer() const {
    return d->transfer;
}

GrabResult X11ScreenGrabber::grabDesktopNow() {
    if (!d->display) {
        return failure(QStringLiteral("Cannot open the X display \"%1\".").arg(d->displayName));
    }
    return d->grab(d->rootRect());
}

GrabResult X11ScreenGrabber::grabActiveWindowNow() {
    if (!d->display) {
        return failure(QStringLiteral("Cannot open the X display \"%1\".").arg(d->displayName));
    }
    const WindowChoice choice = d->activeWindow();
    if (!choice.error.isEmpty()) {
        return failure(choice.error);
    }
    const std::optional<Window> top = d->topLevel(choice.window);
    XWindowAttributes attributes{};
    bool viewable = false;
    if (top) {
        ErrorTrap trap(d->dpy());
        const Status status = XGetWindowAttributes(d->dpy(), *top, &attributes);
        viewable = !trap.failed() && status != 0 && attributes.map_state == IsViewable;
    }
    if (!top || !viewable) {
        return failure(QStringLiteral("The active window has closed or is not shown."));
    }
    // The frame's position is its outer corner, border included, in root coordinates.
    QRect frame(attributes.x, attributes.y, attributes.width + 2 * attributes.border_width,
                attributes.height + 2 * attributes.border_width);
    if (*top == choice.window) {
        frame = d->withDrawnFrame(*top, frame);
    }
    const QRect visible = frame & d->rootRect();
    if (visible.isEmpty()) {
        return failure(QStringLiteral("The active window lies outside the screen."));
    }
    return d->grab(visible);
}

} // namespace pellix
