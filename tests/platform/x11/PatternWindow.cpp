// A separate X client for the screen grab tests: shows a window filled with
// the test pattern and keeps it drawn until its standard input closes.
// Usage: pellix_pattern_window WxH+X+Y [--override] [--child] [--name NAME]
// Prints "READY <window> <child or 0>" once the pattern is on the screen.

#include "Pattern.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Options {
    int x = 0, y = 0;
    unsigned width = 0, height = 0;
    bool overrideRedirect = false;
    bool child = false;
    std::string name = "pellix-pattern";
};

bool parse(int argc, char** argv, Options& options) {
    if (argc < 2 || std::sscanf(argv[1], "%ux%u+%d+%d", &options.width, &options.height, &options.x,
                                &options.y) != 4) {
        return false;
    }
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--override") {
            options.overrideRedirect = true;
        } else if (arg == "--child") {
            options.child = true;
        } else if (arg == "--name" && i + 1 < argc) {
            options.name = argv[++i];
        } else {
            return false;
        }
    }
    return true;
}

void draw(Display* display, Window window, unsigned width, unsigned height) {
    const int screen = DefaultScreen(display);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            pixels[y * width + x] =
                pellix::testing::patternRgb(static_cast<int>(x), static_cast<int>(y));
        }
    }
    XImage* image = XCreateImage(display, DefaultVisual(display, screen), 24, ZPixmap, 0,
                                 reinterpret_cast<char*>(pixels.data()), width, height, 32, 0);
    GC gc = XCreateGC(display, window, 0, nullptr);
    XPutImage(display, window, gc, image, 0, 0, 0, 0, width, height);
    XFreeGC(display, gc);
    image->data = nullptr;
    XDestroyImage(image);
    XSync(display, False);
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: %s WxH+X+Y [--override] [--child] [--name NAME]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open display\n");
        return 1;
    }
    XSetWindowAttributes attributes{};
    attributes.override_redirect = options.overrideRedirect ? True : False;
    attributes.background_pixel = 0;
    attributes.event_mask = ExposureMask | StructureNotifyMask;
    const Window window =
        XCreateWindow(display, DefaultRootWindow(display), options.x, options.y, options.width,
                      options.height, 0, CopyFromParent, InputOutput, CopyFromParent,
                      CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
    XStoreName(display, window, options.name.c_str());
    XSizeHints hints{};
    hints.flags = USPosition | USSize;
    hints.x = options.x;
    hints.y = options.y;
    hints.width = static_cast<int>(options.width);
    hints.height = static_cast<int>(options.height);
    XSetWMNormalHints(display, window, &hints);
    Window child = 0;
    if (options.child) {
        // A small input-only child at the origin, to take the focus.
        child =
            XCreateWindow(display, window, 0, 0, 8, 8, 0, 0, InputOnly, CopyFromParent, 0, nullptr);
        XMapWindow(display, child);
    }
    XMapWindow(display, window);

    bool ready = false;
    pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == Expose && event.xexpose.count == 0) {
                draw(display, window, options.width, options.height);
                if (!ready) {
                    ready = true;
                    std::printf("READY %lu %lu\n", window, child);
                    std::fflush(stdout);
                }
            }
        }
        if (poll(fds, 2, -1) < 0) {
            break;
        }
        if ((fds[1].revents & (POLLIN | POLLHUP)) != 0) {
            char buffer[64];
            if (read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
                break;
            }
        }
    }
    XCloseDisplay(display);
    return 0;
}
