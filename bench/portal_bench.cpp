// Capture Desktop through the Screenshot portal, as Pellix does it on Wayland:
// the portal's picture read back, then the JPEG of quality 90 written. Prints
// the median and the fastest of N runs in milliseconds.
// Usage: pellix_portal_bench N OUT_DIR   (in a Wayland session with the portal)
#include "platform/imaging/FileImageEncoder.h"
#include "platform/wayland/PortalScreenGrabber.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const QString out = QDir(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::tempPath())
                            .filePath(QStringLiteral("portal-bench.jpg"));
    pellix::PortalScreenGrabber grabber;
    pellix::FileImageEncoder encoder;
    std::vector<double> times;
    std::vector<double> portal; // until the portal's picture is read back
    QSize size;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        QEventLoop wait; // a benchmark may wait; the program never does
        bool ok = false;
        grabber.grabDesktop([&](const pellix::GrabResult& grab) {
            portal.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
            if (grab.ok()) {
                size = grab.image.size();
                ok = encoder
                         .save(grab.image, out, pellix::Encoder::Jpeg,
                               {{pellix::EncoderParameter::Quality, 90}})
                         .status == pellix::ImageStatus::Ok;
            }
            wait.quit();
        });
        wait.exec();
        if (!ok) {
            std::fputs("portal_bench: the grab or the save failed\n", stderr);
            return 1;
        }
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::sort(portal.begin(), portal.end());
    std::printf("%dx%d pellix-portal median %.1f ms, best %.1f ms (of which the portal's picture "
                "%.1f ms)\n",
                size.width(), size.height(), times[times.size() / 2], times.front(),
                portal[portal.size() / 2]);
    return 0;
}
