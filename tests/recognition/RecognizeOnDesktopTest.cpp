// The Recognize button on a real X server with three RandR monitors (a primary
// in the middle, one left and one right of it), the Tesseract module and the
// system clipboard, read back by another program.
#include "app/fMain.h"
#include "fakes/FakeKeyListener.h"
#include "fakes/FakeScreenGrabber.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeSpecialFolders.h"
#include "monitors/MMonitors.h"
#include "platform/imaging/FileImageEncoder.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtWindowing.h"
#include "platform/tesseract/ModuleRecognitionEngine.h"
#include "platform/x11/X11DisplayMonitors.h"
#include "recognition/RecognitionController.h"
#include "recognition/ScreenText.h"
#include "recognition/TestSupport.h"
#include "recognition/fOCR.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace pellix {
namespace {

using testing::waitFor;

const QRect LeftMonitor(0, 0, 1280, 1024);
const QRect RightMonitor(3200, 0, 1280, 1024);

class RecognizeOnDesktop : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(desktop.isValid());
        folders.desktop = desktop.path();
        window = std::make_unique<fMain>(Services{windowing, clipboard, shell, folders, encoder,
                                                  grabber, keys, monitors, engine});
        window->Form_Load();
    }

    // Runs a recognition and waits for its last status text.
    bool recognize() {
        window->cmdRecognize->click();
        return waitFor([&] { return window->Label1->text().startsWith("Done. Recognized ["); }) &&
               waitFor([&] { return window->cmdRecognize->isEnabled(); });
    }

    void placeMainWindow(int x, int y) {
        window->move(x, y);
        window->show();
        ASSERT_TRUE(waitFor([&] { return window->frameGeometry().topLeft() == QPoint(x, y); }));
    }

    fOCR& result() const { return window->m_recognition->resultWindow(); }

    // The centre of the result window's frame as the X server and the window
    // manager have it. The toolkit's own idea of a new window's frame can stay
    // empty when the window manager frames it late, so it is not asked.
    QPoint resultCentre() const {
        const QString id = QString::number(result().winId());
        const QString info = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
        const QString extents =
            run(QStringLiteral("xprop"), {QStringLiteral("-id"), id, "_NET_FRAME_EXTENTS"});
        const auto field = [&](const char* name) {
            const QRegularExpression pattern(QString::fromLatin1(name) + ":\\s*(-?\\d+)");
            return pattern.match(info).captured(1).toInt();
        };
        // "_NET_FRAME_EXTENTS(CARDINAL) = left, right, top, bottom"
        const QStringList sides = extents.section('=', 1).split(',');
        if (sides.size() != 4) {
            return {};
        }
        const int left = sides[0].trimmed().toInt(), right = sides[1].trimmed().toInt();
        const int top = sides[2].trimmed().toInt(), bottom = sides[3].trimmed().toInt();
        const QRect frame(field("Absolute upper-left X") - left,
                          field("Absolute upper-left Y") - top, field("Width") + left + right,
                          field("Height") + top + bottom);
        return {frame.x() + frame.width() / 2, frame.y() + frame.height() / 2};
    }

    static QString run(const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished();
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    QTemporaryDir desktop;
    QtWindowing windowing;
    QtClipboard clipboard;
    FakeShell shell;
    FakeScreenGrabber grabber;
    FakeKeyListener keys;
    FakeSpecialFolders folders;
    FileImageEncoder encoder;
    X11DisplayMonitors display;
    MMonitors monitors{display, {windowing.twipsPerPixelX(), windowing.twipsPerPixelY()}};
    ModuleRecognitionEngine engine{QStringLiteral(PELLIX_BUILD_BINDIR)};
    std::unique_ptr<fMain> window;
};

TEST_F(RecognizeOnDesktop, AnotherProgramPastesTheRecognizedText) {
    placeMainWindow(1500, 100);
    ASSERT_TRUE(recognize());

    QProcess xclip;
    xclip.start("xclip", {"-selection", "clipboard", "-o"});
    // The clipboard is served by this process, so events must run meanwhile.
    ASSERT_TRUE(waitFor([&] { return xclip.state() == QProcess::NotRunning; }));
    const QString pasted = QString::fromUtf8(xclip.readAllStandardOutput());
    EXPECT_EQ(testing::folded(pasted), testing::startupPictureText());
    EXPECT_EQ(
        window->Label1->text(),
        QString("Done. Recognized [%1] characters are stored in Clipboard.").arg(pasted.size()));

    QProcess targets;
    targets.start("xclip", {"-selection", "clipboard", "-t", "TARGETS", "-o"});
    ASSERT_TRUE(waitFor([&] { return targets.state() == QProcess::NotRunning; }));
    const QString offered = QString::fromUtf8(targets.readAllStandardOutput());
    EXPECT_TRUE(offered.contains("UTF8_STRING"));
    EXPECT_FALSE(offered.contains("image/")) << offered.toStdString();
}

TEST_F(RecognizeOnDesktop, TheResultWindowComesUpCentredOnTheMonitorOfTheMainWindow) {
    placeMainWindow(RightMonitor.x() + 100, 100);
    ASSERT_TRUE(recognize());
    ASSERT_TRUE(waitFor([&] { return result().isVisible(); }));
    ASSERT_TRUE(waitFor([&] {
        return (resultCentre() - RightMonitor.center()).manhattanLength() <= 2;
    })) << resultCentre().x()
        << "," << resultCentre().y();
    // Once it stands framed at the centre, a move is the user's and stays.
    ASSERT_TRUE(waitFor([&] { return result().frameGeometry().size() != result().size(); }));
    const QPoint moved = result().frameGeometry().topLeft() + QPoint(-150, 90);
    result().move(moved);
    const auto offMoved = [&] {
        return (result().frameGeometry().topLeft() - moved).manhattanLength();
    };
    ASSERT_TRUE(waitFor([&] { return offMoved() <= 2; }));
    // Nothing puts it back: after a second it still stands where it was moved.
    const QDeadlineTimer second(1000);
    waitFor([&] { return second.hasExpired(); });
    EXPECT_LE(offMoved(), 2);

    // After Ok, the next run brings it back on the monitor left of the primary.
    result().cmdOK->click();
    placeMainWindow(LeftMonitor.x() + 100, 100);
    ASSERT_TRUE(recognize());
    ASSERT_TRUE(waitFor([&] { return result().isVisible(); }));
    ASSERT_TRUE(waitFor([&] {
        return (resultCentre() - LeftMonitor.center()).manhattanLength() <= 2;
    })) << resultCentre().x()
        << "," << resultCentre().y();

    // Still open, it follows the main window back to the right; closed from its
    // title bar, it comes back on the left.
    placeMainWindow(RightMonitor.x() + 200, 50);
    ASSERT_TRUE(recognize());
    ASSERT_TRUE(waitFor([&] {
        return (resultCentre() - RightMonitor.center()).manhattanLength() <= 2;
    })) << resultCentre().x()
        << "," << resultCentre().y();
    result().close();
    ASSERT_TRUE(waitFor([&] { return !result().isVisible(); }));
    placeMainWindow(LeftMonitor.x() + 50, 200);
    ASSERT_TRUE(recognize());
    ASSERT_TRUE(waitFor([&] {
        return (resultCentre() - LeftMonitor.center()).manhattanLength() <= 2;
    })) << resultCentre().x()
        << "," << resultCentre().y();
}

} // namespace
} // namespace pellix

int main(int argc, char* argv[]) {
    pellix::limitEngineThreads(argv);
    // Before the application connects, so it sees the monitors from the start.
    const int monitors = std::system("xrandr --setmonitor LEFT 1280/338x1024/270+0+0 screen && "
                                     "xrandr --setmonitor '*MAIN' 1920/508x1080/286+1280+0 none && "
                                     "xrandr --setmonitor RIGHT 1280/338x1024/270+3200+0 none");
    if (monitors != 0) {
        return 1;
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
