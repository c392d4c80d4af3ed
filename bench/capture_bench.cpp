// Desktop capture to a JPEG file, timed on the X server in $DISPLAY: Pellix's
// own path, the floor (one MIT-SHM copy plus one libjpeg-turbo encode of the
// same pixels into a file) and the peers scrot and ImageMagick's import.
// Prints one "RESULT <method> <median> <min> <max>" line per method, in
// milliseconds, for capture_bench.sh to put side by side.
// Usage: pellix_capture_bench [--reps N] [--out DIR]

#include "imageio/mImage.h"
#include "platform/imaging/FileImageEncoder.h"
#include "platform/qt/QtClipboard.h"
#include "platform/x11/X11ScreenGrabber.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <turbojpeg.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Something like a working desktop: a document of text over a light page, a
// gradient panel and a photo-like block, so that the encoder has real work.
QImage desktopScene(QSize size) {
    QImage scene(size, QImage::Format_RGB32);
    scene.fill(QColor(236, 239, 244));
    QPainter painter(&scene);
    QLinearGradient panel(0, 0, 0, 40);
    panel.setColorAt(0, QColor(60, 70, 90));
    panel.setColorAt(1, QColor(30, 35, 45));
    painter.fillRect(0, 0, size.width(), 40, panel);
    const QRect page(size.width() / 20, 60, size.width() * 6 / 10, size.height() - 80);
    painter.fillRect(page, Qt::white);
    painter.setPen(Qt::black);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(12, size.height() / 70));
    painter.setFont(font);
    const QString line = QStringLiteral(
        "The quick brown fox jumps over the lazy dog; 0123456789 screen capture and OCR. ");
    const int step = font.pixelSize() + font.pixelSize() / 3;
    for (int y = page.top() + step; y < page.bottom() - step; y += step) {
        painter.drawText(page.left() + 20, y, line + line);
    }
    const QRect photo(page.right() + 40, 80, size.width() - page.right() - 80, size.height() / 2);
    QRandomGenerator noise(7);
    for (int y = photo.top(); y < photo.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(scene.scanLine(y));
        for (int x = photo.left(); x < photo.right(); ++x) {
            const int base = (x * 255 / size.width() + y * 255 / size.height()) / 2;
            const int grain = static_cast<int>(noise.bounded(40)) - 20;
            row[x] = qRgb(std::clamp(base + grain, 0, 255), std::clamp(200 - base + grain, 0, 255),
                          std::clamp(120 + grain, 0, 255));
        }
    }
    return scene;
}

// Shows `scene` as the root window's background for as long as `display` is open.
void showOnRoot(Display* display, const QImage& scene) {
    const int screen = DefaultScreen(display);
    const Window root = DefaultRootWindow(display);
    const Pixmap pixmap =
        XCreatePixmap(display, root, static_cast<unsigned>(scene.width()),
                      static_cast<unsigned>(scene.height()), DefaultDepth(display, screen));
    XImage* image = XCreateImage(
        display, DefaultVisual(display, screen), DefaultDepth(display, screen), ZPixmap, 0,
        const_cast<char*>(reinterpret_cast<const char*>(scene.constBits())),
        static_cast<unsigned>(scene.width()), static_cast<unsigned>(scene.height()), 32,
        static_cast<int>(scene.bytesPerLine()));
    GC gc = XCreateGC(display, pixmap, 0, nullptr);
    XPutImage(display, pixmap, gc, image, 0, 0, 0, 0, static_cast<unsigned>(scene.width()),
              static_cast<unsigned>(scene.height()));
    XFreeGC(display, gc);
    image->data = nullptr;
    XDestroyImage(image);
    XSetWindowBackgroundPixmap(display, root, pixmap);
    XClearWindow(display, root);
    XSync(display, False);
}

// The floor: the least any capture to a JPEG file can do.
class Floor {
public:
    explicit Floor(Display* display) : m_display(display) {
        const int screen = DefaultScreen(display);
        XWindowAttributes root{};
        XGetWindowAttributes(display, DefaultRootWindow(display), &root);
        m_image =
            XShmCreateImage(display, DefaultVisual(display, screen), DefaultDepth(display, screen),
                            ZPixmap, nullptr, &m_segment, static_cast<unsigned>(root.width),
                            static_cast<unsigned>(root.height));
        m_segment.shmid = shmget(IPC_PRIVATE,
                                 static_cast<std::size_t>(m_image->bytes_per_line) *
                                     static_cast<std::size_t>(m_image->height),
                                 IPC_CREAT | 0600);
        m_segment.shmaddr = m_image->data = static_cast<char*>(shmat(m_segment.shmid, nullptr, 0));
        m_segment.readOnly = False;
        XShmAttach(display, &m_segment);
        XSync(display, False);
        shmctl(m_segment.shmid, IPC_RMID, nullptr);
        m_compressor = tjInitCompress();
    }

    ~Floor() {
        tjDestroy(m_compressor);
        XShmDetach(m_display, &m_segment);
        XSync(m_display, False);
        shmdt(m_segment.shmaddr);
        m_image->data = nullptr;
        XDestroyImage(m_image);
    }

    void capture(const QByteArray& path, int flags) {
        XShmGetImage(m_display, DefaultRootWindow(m_display), m_image, 0, 0, AllPlanes);
        unsigned char* jpeg = nullptr;
        unsigned long size = 0;
        if (tjCompress2(m_compressor, reinterpret_cast<unsigned char*>(m_image->data),
                        m_image->width, m_image->bytes_per_line, m_image->height, TJPF_BGRX, &jpeg,
                        &size, TJSAMP_420, 90, flags) != 0) {
            throw std::runtime_error(tjGetErrorStr2(m_compressor));
        }
        FILE* file = std::fopen(path.constData(), "wb");
        const bool written = file != nullptr && std::fwrite(jpeg, 1, size, file) == size;
        if (file != nullptr) {
            std::fclose(file);
        }
        tjFree(jpeg);
        if (!written) {
            throw std::runtime_error("cannot write the floor's file");
        }
    }

private:
    Display* m_display;
    XImage* m_image = nullptr;
    XShmSegmentInfo m_segment{};
    tjhandle m_compressor = nullptr;
};

struct Method {
    const char* name;
    std::function<void()> run;
};

// Runs the methods in turn, round after round, so that a busy moment on a
// shared machine falls on all of them alike rather than on one.
void measure(int rounds, const std::vector<Method>& methods) {
    std::vector<std::vector<double>> ms(methods.size());
    for (const Method& method : methods) {
        method.run(); // warm caches, load plugins, attach segments
    }
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < methods.size(); ++i) {
            const auto start = Clock::now();
            methods[i].run();
            ms[i].push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
    }
    for (std::size_t i = 0; i < methods.size(); ++i) {
        std::vector<double>& t = ms[i];
        std::sort(t.begin(), t.end());
        const std::size_t n = t.size();
        const double median = n % 2 == 1 ? t[n / 2] : (t[n / 2 - 1] + t[n / 2]) / 2;
        std::printf("RESULT %s %.1f %.1f %.1f\n", methods[i].name, median, t.front(), t.back());
    }
    std::fflush(stdout);
}

void runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        throw std::runtime_error(
            QStringLiteral("%1 failed: %2")
                .arg(program, QString::fromLocal8Bit(process.readAllStandardError()))
                .toStdString());
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int repetitions = 9;
    QString outDir;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QStringLiteral("--reps")) {
            repetitions = args[i + 1].toInt();
        } else if (args[i] == QStringLiteral("--out")) {
            outDir = args[i + 1];
        }
    }
    QTemporaryDir temporary;
    if (outDir.isEmpty()) {
        outDir = temporary.path();
    }
    QDir().mkpath(outDir);

    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    XWindowAttributes root{};
    XGetWindowAttributes(display, DefaultRootWindow(display), &root);
    showOnRoot(display, desktopScene({root.width, root.height}));
    std::printf("SCREEN %dx%d\n", root.width, root.height);

    try {
        pellix::X11ScreenGrabber grabber;
        pellix::FileImageEncoder encoder;
        pellix::QtClipboard clipboard;
        const QString ours = outDir + QStringLiteral("/Pellix.JPG");
        QImage last = grabber.grabDesktopNow().image;
        Floor floor(display);
        const QByteArray floorPath = (outDir + QStringLiteral("/floor.jpg")).toLocal8Bit();
        const QString scrotPath = outDir + QStringLiteral("/scrot.jpg");
        const QString importPath = outDir + QStringLiteral("/import.jpg");
        auto save = [&](const QImage& image) {
            pellix::mImage::Save_Picture(encoder, image, ours, pellix::mImage::PictureFormat::Jpeg,
                                         90, 24, 0);
        };
        measure(repetitions,
                {
                    {"pellix",
                     [&] {
                         pellix::GrabResult grab = grabber.grabDesktopNow();
                         if (!grab.ok()) {
                             throw std::runtime_error(grab.error.toStdString());
                         }
                         save(grab.image);
                         clipboard.setImage(grab.image);
                         QCoreApplication::processEvents();
                     }},
                    // The accurate DCT is what Pellix encodes with (libjpeg's and
                    // Qt's default); TurboJPEG's own default is the fast one.
                    {"floor",
                     [&] {
                         floor.capture(floorPath, TJFLAG_ACCURATEDCT);
                     }},
                    {"floor-fastdct",
                     [&] {
                         floor.capture(floorPath, 0);
                     }},
                    {"scrot",
                     [&] {
                         runTool(QStringLiteral("scrot"),
                                 {QStringLiteral("-o"), QStringLiteral("-q"), QStringLiteral("90"),
                                  scrotPath});
                     }},
                    {"import",
                     [&] {
                         runTool(QStringLiteral("import"),
                                 {QStringLiteral("-window"), QStringLiteral("root"),
                                  QStringLiteral("-quality"), QStringLiteral("90"), importPath});
                     }},
                    {"pellix-grab",
                     [&] {
                         last = grabber.grabDesktopNow().image;
                     }},
                    {"pellix-save",
                     [&] {
                         save(last);
                     }},
                    {"pellix-clipboard",
                     [&] {
                         clipboard.setImage(last);
                         QCoreApplication::processEvents();
                     }},
                });
    } catch (const std::exception& error) {
        std::fprintf(stderr, "capture_bench: %s\n", error.what());
        XCloseDisplay(display);
        return 1;
    }
    XCloseDisplay(display);
    return 0;
}
