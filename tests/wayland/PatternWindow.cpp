// A full-screen window on one named output showing a pattern in which every
// pixel differs from its neighbours, so that a shifted or scaled capture shows.
// Usage: pellix_wl_pattern OUTPUT
#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <cstdio>

namespace {

class Pattern final : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QImage image(size(), QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                image.setPixel(x, y,
                               qRgb((x * 7) % 256, (y * 5) % 256, ((x / 16 + y / 16) % 2) * 255));
            }
        }
        QPainter(this).drawImage(0, 0, image);
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: pellix_wl_pattern OUTPUT\n", stderr);
        return 2;
    }
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->name() == QString::fromLocal8Bit(argv[1])) {
            Pattern window;
            window.setScreen(screen);
            window.setGeometry(screen->geometry());
            window.showFullScreen();
            return QApplication::exec();
        }
    }
    std::fprintf(stderr, "pellix_wl_pattern: no output %s\n", argv[1]);
    return 1;
}
