// The Recognize button on the start-up picture, from the click to the text on
// the clipboard, three times in a row: the first run loads the engine, the
// later ones find it loaded. Real engine, windowing and image file; the
// clipboard is a fake that notes when the text arrives.
#include "app/fMain.h"
#include "fakes/FakeServices.h"
#include "platform/imaging/FileImageEncoder.h"
#include "platform/qt/QtWindowing.h"
#include "platform/tesseract/ModuleRecognitionEngine.h"
#include "scrollview/PictureBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv) {
    pellix::limitEngineThreads(argv);
    QApplication app(argc, argv);
    pellix::QtWindowing windowing;
    pellix::FakeServices fakes;
    pellix::FileImageEncoder encoder;
    QTemporaryDir desktop;
    fakes.folders.desktop = desktop.path();
    pellix::ModuleRecognitionEngine engine(QStringLiteral(PELLIX_BUILD_BINDIR));
    pellix::fMain window({windowing, fakes.clipboard, fakes.shell, fakes.folders, encoder,
                          fakes.grabber, fakes.keys, fakes.monitors, engine});
    window.Form_Load();
    window.show();
    for (int run = 1; run <= 3; ++run) {
        fakes.clipboard.heldText.clear();
        QElapsedTimer timer;
        timer.start();
        window.cmdRecognize->click();
        while (fakes.clipboard.heldText.isEmpty() && timer.elapsed() < 60000) {
            // Sleeps until the run posts something: a busy wait would take a core from it.
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        std::printf("Recognize %d: %lld ms, %lld characters\n", run,
                    static_cast<long long>(timer.elapsed()),
                    static_cast<long long>(fakes.clipboard.heldText.size()));
    }
    // The peer: the command line on the same picture, one thread, loading included.
    const QString file = desktop.filePath(QStringLiteral("startup.png"));
    window.Picture1->picture().save(file);
    QProcess tesseract;
    tesseract.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    tesseract.start(QStringLiteral("tesseract"), {file, QStringLiteral("stdout")});
    tesseract.waitForFinished(60000);
    std::printf("tesseract command line: %lld ms, %lld characters\n",
                static_cast<long long>(timer.elapsed()),
                static_cast<long long>(tesseract.readAllStandardOutput().size()));
    window.close();
    return 0;
}
