// How soon the capture key chord is seen: the time from a key event entering
// the X server (sent with XTest from a connection of our own) to the key
// listener's callback on the user-interface thread, with the event loop idle.
// Prints "RESULT key-to-callback <median> <min> <max> <p95>" in milliseconds.
// Run on an X server: bench/key_latency_bench.sh [BUILD_DIR] [REPETITIONS]

#include "platform/x11/XInput2KeyListener.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int reps = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;

    pellix::XInput2KeyListener keys;
    if (!keys.error().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(keys.error()));
        return 1;
    }
    Display* sender = XOpenDisplay(nullptr);
    if (!sender) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    const KeyCode escape = XKeysymToKeycode(sender, XK_Escape);

    Clock::time_point sent;
    std::vector<double> latencies;
    QEventLoop loop;
    QTimer giveUp; // a lost event must not hang the run
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, &loop, &QEventLoop::quit);
    // Escape is heard on its release: time from sending the release to the report.
    keys.start([&](pellix::KeyEvent event) {
        if (event == pellix::KeyEvent::Escape) {
            latencies.push_back(millisecondsSince(sent));
            loop.quit();
        }
    });
    for (int i = 0; i < reps; ++i) {
        XTestFakeKeyEvent(sender, escape, True, CurrentTime);
        XSync(sender, False);
        QCoreApplication::processEvents(); // the press, seen but not timed
        sent = Clock::now();
        XTestFakeKeyEvent(sender, escape, False, CurrentTime);
        XFlush(sender);
        giveUp.start(2000);
        loop.exec();
    }
    keys.stop();
    XCloseDisplay(sender);

    if (latencies.empty()) {
        std::fprintf(stderr, "no key event arrived\n");
        return 1;
    }
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double q) {
        return latencies[static_cast<std::size_t>(q * static_cast<double>(latencies.size() - 1))];
    };
    std::printf("RESULT key-to-callback %.3f %.3f %.3f %.3f (%zu of %d events)\n", at(0.5),
                latencies.front(), latencies.back(), at(0.95), latencies.size(), reps);
    return 0;
}
