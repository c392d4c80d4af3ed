// How long one scroll action takes from message to repainted view, for a
// 1920 x 1080 capture: the thumb swept over the whole range, then line steps.
// Prints milliseconds per message; run with QT_QPA_PLATFORM=offscreen or on X.
#include "app/fMain.h"
#include "fakes/FakeServices.h"
#include "platform/qt/PictureBox.h"
#include "platform/qt/QtWindowing.h"
#include "platform/qt/ScrollWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <cstdio>

namespace {

double millisecondsPer(int count, const std::function<void(int)>& action) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i) {
        action(i);
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e6 / count;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Real windowing, so event passes cost what they cost; every other service is a fake.
    pellix::QtWindowing windowing;
    pellix::FakeServices fakes;
    pellix::Services services = fakes.services();
    pellix::fMain window({windowing, services.clipboard, services.shell, services.folders,
                          services.encoder, services.grabber, services.keys, services.monitors,
                          services.recognition});
    window.Form_Load();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "scroll_bench: the window never showed\n");
        return 1;
    }
    QImage image(1920, 1080, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    window.Picture1->setPicture(image);
    window.Image2FileAndClipboard();

    pellix::ScrollWindow& view = pellix::ScrollWindow::of(window.Picture2);
    const auto send = [&view](std::uint32_t msg, int code, int pos) {
        view.sendMessage(msg, pellix::MakeLong(code, pos), 0);
    };
    const int rounds = 1000;
    const double thumb = millisecondsPer(
        rounds, [&](int i) { send(pellix::WM_VSCROLL, pellix::SB_THUMBTRACK, i % 976); });
    const double line = millisecondsPer(rounds, [&](int i) {
        send(pellix::WM_HSCROLL, (i / 100) % 2 ? pellix::SB_LINELEFT : pellix::SB_LINERIGHT, 0);
    });
    const double wheel = millisecondsPer(
        rounds, [&](int i) { send(pellix::WM_MOUSEWHEEL, 0, (i / 20) % 2 ? 120 : -120); });
    const double fit = millisecondsPer(rounds, [&](int) { window.Picture2_Resize(); });
    std::printf("platform %s, picture 1922 x 1082, view 817 x 559, %d messages each\n",
                qPrintable(QGuiApplication::platformName()), rounds);
    std::printf("thumb track : %.3f ms per message\n", thumb);
    std::printf("line step   : %.3f ms per message\n", line);
    std::printf("wheel notch : %.3f ms per message\n", wheel);
    std::printf("range fit   : %.4f ms per call\n", fit);
    return 0;
}
