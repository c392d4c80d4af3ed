// Times Save_Picture's JPEG at quality 90 on screen-like images and, on the same
// pixels, libjpeg-turbo's own cjpeg -quality 90, and prints both side by side.
#include "imageio/mImage.h"
#include "platform/imaging/FileImageEncoder.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int Runs = 9;

// Windows of text on a desktop: what a screen capture usually holds.
QImage screenLike(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(40, 60, 90));
    QPainter p(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    p.setFont(font);
    const int cols = width / 640;
    for (int c = 0; c < cols; ++c) {
        const QRect window(c * 640 + 20, 30, 600, height - 60);
        p.fillRect(window, c % 2 ? QColor(250, 250, 250) : QColor(30, 30, 30));
        p.fillRect(QRect(window.left(), window.top(), window.width(), 24), QColor(60, 110, 200));
        p.setPen(c % 2 ? Qt::black : QColor(220, 220, 220));
        for (int y = window.top() + 44; y < window.bottom() - 10; y += 18) {
            p.drawText(window.left() + 10, y,
                       QStringLiteral("%1: the quick brown fox jumps over the lazy dog 0123456789")
                           .arg(y));
        }
    }
    return image;
}

double medianMs(const std::function<bool()>& run) {
    std::vector<double> times;
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer t;
        t.start();
        if (!run()) {
            return -1;
        }
        times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void benchSize(int width, int height, const QTemporaryDir& dir) {
    const QImage image = screenLike(width, height);
    const QString ours = dir.filePath(QStringLiteral("Pellix.JPG"));
    const QString ppm = dir.filePath(QStringLiteral("screen.ppm"));
    const QString theirs = dir.filePath(QStringLiteral("cjpeg.jpg"));
    image.convertToFormat(QImage::Format_RGB888).save(ppm, "PPM");

    pellix::FileImageEncoder encoder;
    const double saveMs = medianMs([&] {
        pellix::mImage::Save_Picture(encoder, image, ours, pellix::mImage::PictureFormat::Jpeg, 90,
                                     24, 0);
        return true;
    });
    const double cjpegMs = medianMs([&] {
        return QProcess::execute(QStringLiteral("cjpeg"),
                                 {QStringLiteral("-quality"), QStringLiteral("90"),
                                  QStringLiteral("-outfile"), theirs, ppm}) == 0;
    });
    std::printf("%4dx%-4d  Save_Picture %7.1f ms %8lld bytes | cjpeg -quality 90 %7.1f ms %8lld "
                "bytes\n",
                width, height, saveMs, static_cast<long long>(QFileInfo(ours).size()), cjpegMs,
                static_cast<long long>(QFileInfo(theirs).size()));
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    std::printf("JPEG at quality 90, median of %d runs (cjpeg includes process start and PPM "
                "read)\n",
                Runs);
    benchSize(1920, 1080, dir);
    benchSize(3840, 2160, dir);
    return 0;
}
