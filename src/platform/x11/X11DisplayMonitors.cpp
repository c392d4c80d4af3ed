#include "platform/x11/X11DisplayMonitors.h"

#include "platform/x11/X11Connection.h"

#include <X11/Xatom.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace pellix {

namespace {

struct MonitorsDeleter {
    void operator()(XRRMonitorInfo* monitors) const { XRRFreeMonitors(monitors); }
};

QString atomName(Display* display, Atom atom) {
    if (atom == 0) {
        return {};
    }
    x11::XFreePtr<char> name(XGetAtomName(display, atom));
    return name ? QString::fromLocal8Bit(name.get()) : QString();
}

// X coordinates and sizes fit in 16 bits; anything larger is cut to that
// before it meets int arithmetic.
int coordinate(unsigned long value) {
    return static_cast<int>(std::min<unsigned long>(value, 0xFFFF));
}

// The rows or columns first..last, as a start and a length; no length when
// last lies before first.
std::pair<int, int> span(unsigned long first, unsigned long last) {
    const int start = coordinate(first);
    return {start, std::max(0, coordinate(last) - start + 1)};
}

constexpr unsigned long AllDesktops = 0xFFFFFFFF;

} // namespace

std::vector<ReservedBand> strutBands(const std::vector<unsigned long>& strut, const QRect& root) {
    std::array<unsigned long, 12> v{};
    if (strut.size() >= v.size()) {
        std::copy_n(strut.begin(), v.size(), v.begin());
    } else if (strut.size() >= 4) {
        std::copy_n(strut.begin(), 4, v.begin());
        const auto lastRow = static_cast<unsigned long>(std::max(0, root.bottom()));
        const auto lastColumn = static_cast<unsigned long>(std::max(0, root.right()));
        v[5] = v[7] = lastRow;
        v[9] = v[11] = lastColumn;
    } else {
        return {};
    }
    using Edge = ReservedBand::Edge;
    const int left = coordinate(v[0]);
    const int right = coordinate(v[1]);
    const int top = coordinate(v[2]);
    const int bottom = coordinate(v[3]);
    const auto [leftStart, leftLength] = span(v[4], v[5]);
    const auto [rightStart, rightLength] = span(v[6], v[7]);
    const auto [topStart, topLength] = span(v[8], v[9]);
    const auto [bottomStart, bottomLength] = span(v[10], v[11]);
    const ReservedBand candidates[] = {
        {Edge::Left, QRect(root.left(), leftStart, left, leftLength)},
        {Edge::Right, QRect(root.right() + 1 - right, rightStart, right, rightLength)},
        {Edge::Top, QRect(topStart, root.top(), topLength, top)},
        {Edge::Bottom, QRect(bottomStart, root.bottom() + 1 - bottom, bottomLength, bottom)},
    };
    std::vector<ReservedBand> bands;
    for (const ReservedBand& band : candidates) {
        const QRect inside = band.rect & root;
        if (!inside.isEmpty()) {
            bands.push_back({band.edge, inside});
        }
    }
    return bands;
}

QRect monitorWorkArea(const QRect& monitor, const std::vector<ReservedBand>& bands) {
    using Edge = ReservedBand::Edge;
    QRect work = monitor;
    for (const ReservedBand& band : bands) {
        const QRect common = band.rect & monitor;
        if (common.isEmpty()) {
            continue;
        }
        // A band right across a monitor is no panel on it: struts count from
        // the root window's edge, so a panel at the inner edge of a neighbour
        // reaches over every monitor between it and that edge.
        switch (band.edge) {
        case Edge::Left:
            if (common.right() < monitor.right()) {
                work.setLeft(std::max(work.left(), common.right() + 1));
            }
            break;
        case Edge::Right:
            if (common.left() > monitor.left()) {
                work.setRight(std::min(work.right(), common.left() - 1));
            }
            break;
        case Edge::Top:
            if (common.bottom() < monitor.bottom()) {
                work.setTop(std::max(work.top(), common.bottom() + 1));
            }
            break;
        case Edge::Bottom:
            if (common.top() > monitor.top()) {
                work.setBottom(std::min(work.bottom(), common.top() - 1));
            }
            break;
        }
    }
    return work;
}

struct X11DisplayMonitors::Impl {
    x11::DisplayPtr display;
    bool randrMonitors = false;

    Display* dpy() const { return display.get(); }
    Window root() const { return DefaultRootWindow(display.get()); }

    QRect rootRect() const { return x11::rootRect(dpy()); }

    // The window manager's work area of the current desktop; the whole root
    // window when no window manager says otherwise.
    QRect ewmhWorkArea() const {
        const QRect screen = rootRect();
        const auto areas =
            x11::property32(dpy(), root(), x11::atom(dpy(), "_NET_WORKAREA"), XA_CARDINAL);
        if (!areas || areas->size() < 4) {
            return screen;
        }
        const auto desktop =
            x11::property32(dpy(), root(), x11::atom(dpy(), "_NET_CURRENT_DESKTOP"), XA_CARDINAL);
        std::size_t index = desktop && !desktop->empty() ? desktop->front() : 0;
        if ((index + 1) * 4 > areas->size()) {
            index = 0;
        }
        const auto* area = areas->data() + index * 4;
        return QRect(static_cast<int>(area[0]), static_cast<int>(area[1]),
                     static_cast<int>(area[2]), static_cast<int>(area[3])) &
               screen;
    }

    // What the panels on the current desktop reserve; nothing when the window
    // manager lists no clients to read struts from.
    std::optional<std::vector<ReservedBand>> panelBands() const {
        Display* display = dpy();
        const auto clients =
            x11::property32(display, root(), x11::atom(display, "_NET_CLIENT_LIST"), XA_WINDOW);
        if (!clients) {
            return std::nullopt;
        }
        const auto current = x11::property32(
            display, root(), x11::atom(display, "_NET_CURRENT_DESKTOP"), XA_CARDINAL);
        const Atom desktopAtom = x11::atom(display, "_NET_WM_DESKTOP");
        const Atom partialAtom = x11::atom(display, "_NET_WM_STRUT_PARTIAL");
        const Atom strutAtom = x11::atom(display, "_NET_WM_STRUT");
        const QRect screen = rootRect();
        std::vector<ReservedBand> bands;
        for (const unsigned long client : *clients) {
            const auto window = static_cast<Window>(client);
            // A panel on another desktop leaves this one alone.
            const auto desktop = x11::property32(display, window, desktopAtom, XA_CARDINAL);
            if (desktop && !desktop->empty() && current && !current->empty()) {
                // Xlib widens 32-bit items to long, sign and all.
                const unsigned long on = desktop->front() & AllDesktops;
                if (on != AllDesktops && on != (current->front() & AllDesktops)) {
                    continue;
                }
            }
            auto strut = x11::property32(display, window, partialAtom, XA_CARDINAL);
            if (!strut || strut->size() < 12) {
                strut = x11::property32(display, window, strutAtom, XA_CARDINAL);
            }
            if (strut) {
                const std::vector<ReservedBand> more = strutBands(*strut, screen);
                bands.insert(bands.end(), more.begin(), more.end());
            }
        }
        return bands;
    }

    // The monitors without their work areas.
    std::vector<MonitorDescription> read() const {
        std::vector<MonitorDescription> result;
        int count = 0;
        std::unique_ptr<XRRMonitorInfo, MonitorsDeleter> monitors(
            XRRGetMonitors(dpy(), root(), True, &count));
        if (!monitors) {
            return result;
        }
        for (int i = 0; i < count; ++i) {
            const XRRMonitorInfo& m = monitors.get()[i];
            MonitorDescription description;
            description.handle = static_cast<MonitorHandle>(m.name);
            description.rect = QRect(m.x, m.y, m.width, m.height);
            description.primary = m.primary != 0;
            description.device = atomName(dpy(), m.name);
            result.push_back(description);
        }
        return result;
    }

    // A panel takes its room from the monitor it stands on, not from the
    // others, which one _NET_WORKAREA for the whole screen cannot tell.
    void addWorkAreas(std::vector<MonitorDescription>& monitors) const {
        if (const auto bands = panelBands()) {
            for (MonitorDescription& m : monitors) {
                m.workArea = monitorWorkArea(m.rect, *bands);
            }
            return;
        }
        const QRect work = ewmhWorkArea();
        for (MonitorDescription& m : monitors) {
            // A work area that misses the monitor altogether is no better than none.
            const QRect clipped = work & m.rect;
            m.workArea = clipped.isEmpty() ? m.rect : clipped;
        }
    }
};

X11DisplayMonitors::X11DisplayMonitors(const QString& display) : d(std::make_unique<Impl>()) {
    d->display = x11::openDisplay(display);
    if (!d->display) {
        return;
    }
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    const bool randr15 = XRRQueryExtension(d->dpy(), &eventBase, &errorBase) != False &&
                         XRRQueryVersion(d->dpy(), &major, &minor) != 0 &&
                         (major > 1 || (major == 1 && minor >= 5));
    // Monitors are what RandR 1.5 reports; a server without them has one screen.
    d->randrMonitors = randr15 && !d->read().empty();
}

X11DisplayMonitors::~X11DisplayMonitors() = default;

bool X11DisplayMonitors::multiMonitorSupport() const {
    return d->randrMonitors;
}

// The root window may be larger than its monitors together; only what they
// show counts.
QRect X11DisplayMonitors::virtualScreen() const {
    if (!d->display) {
        return {};
    }
    std::vector<QRect> rects;
    if (d->randrMonitors) {
        for (const MonitorDescription& m : d->read()) {
            rects.push_back(m.rect);
        }
    }
    return rects.empty() ? d->rootRect() : boundingRect(rects);
}

QRect X11DisplayMonitors::workArea() const {
    return d->display ? d->ewmhWorkArea() : QRect();
}

std::vector<MonitorDescription> X11DisplayMonitors::monitors() const {
    if (!d->randrMonitors) {
        return {};
    }
    std::vector<MonitorDescription> result = d->read();
    d->addWorkAreas(result);
    return result;
}

MonitorHandle X11DisplayMonitors::monitorNearest(const QRect& rect) const {
    const std::vector<MonitorDescription> present =
        d->randrMonitors ? d->read() : std::vector<MonitorDescription>{};
    std::vector<QRect> rects;
    rects.reserve(present.size());
    for (const MonitorDescription& m : present) {
        rects.push_back(m.rect);
    }
    const int nearest = nearestMonitor(rect, rects);
    return nearest < 0 ? 0 : present[static_cast<std::size_t>(nearest)].handle;
}

} // namespace pellix
