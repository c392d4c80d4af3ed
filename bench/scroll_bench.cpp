// How long one scroll action takes from the bar to the repainted view, for a
// 1920 x 1080 capture: the thumb swept over the whole range, line steps and wheel
// notches. Prints milliseconds per action; run with QT_QPA_PLATFORM=offscreen or on X.
#include "app/fMain.h"
#include "fakes/FakeServices.h"
#include "platform/qt/QtWindowing.h"
#include "scrollview/PictureBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

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

    pellix::ImageView& view = *window.Picture2;
    QScrollBar& vertical = *view.scrollBar(Qt::Vertical);
    QScrollBar& horizontal = *view.scrollBar(Qt::Horizontal);
    // Each action is followed by painting the view at once, the work the next event
    // pass would do.
    const int rounds = 1000;
    const double thumb = millisecondsPer(rounds, [&](int i) {
        vertical.setSliderPosition(i % 976);
        view.repaint();
    });
    const double line = millisecondsPer(rounds, [&](int i) {
        horizontal.triggerAction((i / 100) % 2 ? QAbstractSlider::SliderSingleStepSub
                                               : QAbstractSlider::SliderSingleStepAdd);
        view.repaint();
    });
    const double wheel = millisecondsPer(rounds, [&](int i) {
        QWheelEvent notch(QPointF(50, 50), QPointF(50, 50), QPoint(),
                          QPoint(0, (i / 20) % 2 ? 120 : -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &notch);
        view.repaint();
    });
    const double fit = millisecondsPer(rounds, [&](int) { window.Picture2_Resize(); });
    std::printf("platform %s, picture 1922 x 1082, view 817 x 559, %d actions each\n",
                qPrintable(QGuiApplication::platformName()), rounds);
    std::printf("thumb track : %.3f ms per action\n", thumb);
    std::printf("line step   : %.3f ms per action\n", line);
    std::printf("wheel notch : %.3f ms per action\n", wheel);
    std::printf("range fit   : %.4f ms per call\n", fit);
    return 0;
}
