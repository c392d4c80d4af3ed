#include "app/fMain.h"
#include "fakes/FakeClipboard.h"
#include "fakes/FakeDisplayMonitors.h"
#include "fakes/FakeKeyListener.h"
#include "fakes/FakeRecognitionEngine.h"
#include "fakes/FakeScreenGrabber.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeSpecialFolders.h"
#include "fakes/FakeWindowing.h"
#include "platform/imaging/FileImageEncoder.h"
#include "scrollview/PictureBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace pellix {
namespace {

const QString Done = QStringLiteral("Done! Captured image is stored in Clipboard.");
const QString Instructions =
    QStringLiteral("When you are ready to capture an image,\r\n"
                   "Press [Control + Shift] together until mouse pointer [+] shows.\r\n"
                   "Press [Escape] if want to cancel the operation.");
const QString Countdown =
    QStringLiteral("You have 3 seconds for selecting a window.\r\n"
                   "The selected window image will be captured in 3 seconds.");
const QString TimedOut = QStringLiteral("Windows Capture is canceleda (>10 seconds).");

QImage filled(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
        }
    }
    return image;
}

// The main window over fakes, loaded and shown, with a real JPEG file on a
// temporary desktop so that "unchanged" can be checked byte for byte.
class Capture : public ::testing::Test {
protected:
    Capture()
        : folders(dir.path()), monitors(display, {15.0, 15.0}),
          window({windowing, clipboard, shell, folders, encoder, grabber, keys, monitors,
                  recognition}) {
        display.screen = QRect(0, 0, 1920, 1080);
        display.work = display.screen;
        display.list = {{1, QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040), true, "screen"}};
        window.Form_Load();
        window.move(200, 150);
        window.show();
        grabber.desktop = {gradient(640, 480), {}, {}};
        grabber.window = {filled(300, 200, qRgb(20, 120, 220)), {}, {}};
        grabber.onGrab = [this] {
            visibleAtGrab.push_back(window.isVisible());
        };
        windowing.beeps = 0;
    }
    ~Capture() override { window.close(); }

    QByteArray imageFile() const {
        QFile file(window.m_ImagePath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The main window's state after a capture has ended.
    void expectBackInPlace() {
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.pos(), QPoint(200, 150));
        EXPECT_FALSE(window.Timer1->isActive());
        EXPECT_FALSE(keys.listening());
        EXPECT_FALSE(window.m_capture->m_fCapture->isVisible());
    }

    // A capture command, and the waits it starts on its timers.
    void press(int index) {
        const int beeps = windowing.beeps;
        window.cmdCapture[index]->click();
        (void)QTest::qWaitFor([&] {
            return windowing.beeps > beeps || keys.listening() ||
                   window.m_capture->m_fCapture->isVisible();
        });
    }

    void useChord() { window.chkControlShift->setChecked(true); }
    void holdChord() { keys.send(KeyEvent::ChordHeld); }
    void dragOnOverlay(QPoint from, QPoint to) {
        fCapture& overlay = *window.m_capture->m_fCapture;
        QTest::mousePress(&overlay, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(&overlay, to);
        QTest::mouseRelease(&overlay, Qt::LeftButton, Qt::NoModifier, to);
    }

    QTemporaryDir dir;
    FakeWindowing windowing;
    FakeClipboard clipboard;
    FakeShell shell;
    FakeSpecialFolders folders;
    FileImageEncoder encoder;
    FakeScreenGrabber grabber;
    FakeKeyListener keys;
    FakeDisplayMonitors display;
    MMonitors monitors;
    FakeRecognitionEngine recognition;
    fMain window;
    std::vector<bool> visibleAtGrab;
};

TEST_F(Capture, DesktopAtOnceHidesGrabsSavesAndComesBackWithTwoBeeps) {
    press(2);
    EXPECT_EQ(window.m_capture->m_CaptureType, 2);
    EXPECT_EQ(visibleAtGrab, std::vector<bool>{false});
    EXPECT_EQ(grabber.windowGrabs, 0);
    EXPECT_EQ(window.Picture1->picture(), grabber.desktop.image);
    EXPECT_EQ(clipboard.image(), grabber.desktop.image);
    EXPECT_EQ(QImage(window.m_ImagePath).size(), QSize(640, 480));
    EXPECT_EQ(window.Label1->text(), Done);
    EXPECT_TRUE(windowing.messages.empty());
    EXPECT_EQ(windowing.beeps, 2); // the command's own Show_Form finds the window in place
    expectBackInPlace();
}

TEST_F(Capture, UnwritableImageFileIsReportedOnTheStatusLineNotAsStored) {
    const int clipboardChanges = clipboard.changes;
    QFile::remove(window.m_ImagePath);
    ASSERT_TRUE(QDir().mkpath(window.m_ImagePath)); // a folder where the file should go
    press(2);
    EXPECT_EQ(window.Label1->text(), QStringLiteral("Cannot save the image. GDI+ Error:7"));
    EXPECT_EQ(clipboard.changes, clipboardChanges);
    EXPECT_TRUE(windowing.messages.empty());
    expectBackInPlace();

    // Recognize reads the picture the view shows, not the file's older one.
    QString readPath;
    QImage readPicture;
    recognition.onCreate = [&](const QString& path) {
        readPath = path;
        readPicture = QImage(path);
    };
    window.cmdRecognize->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.cmdRecognize->isEnabled(); }, 5000));
    EXPECT_NE(readPath, window.m_ImagePath);
    EXPECT_EQ(readPicture.convertToFormat(QImage::Format_RGB32), grabber.desktop.image);
    EXPECT_FALSE(QFile::exists(readPath)) << "the picture written for the run is removed";

    // Once a capture is saved again, the file is what Recognize reads.
    QDir().rmdir(window.m_ImagePath);
    press(2);
    window.cmdRecognize->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.cmdRecognize->isEnabled(); }, 5000));
    EXPECT_EQ(readPath, window.m_ImagePath);
}

TEST_F(Capture, WindowAtOnceWaitsThreeSecondsAfterTheMessage) {
    QElapsedTimer sinceMessage;
    windowing.onMessage = [&](const QString&) {
        sinceMessage.start();
    };
    qint64 atGrab = 0;
    grabber.onGrab = [&] {
        atGrab = sinceMessage.elapsed();
        visibleAtGrab.push_back(window.isVisible());
    };
    press(3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return windowing.beeps > 0; }, 5000));
    ASSERT_EQ(windowing.messages.size(), 1U);
    EXPECT_EQ(windowing.messages[0].text, Countdown);
    EXPECT_EQ(windowing.messages[0].style, MsgBoxStyle::Information);
    EXPECT_EQ(windowing.messages[0].title, QStringLiteral("Pellix"));
    EXPECT_GE(atGrab, 3000);
    EXPECT_EQ(grabber.windowGrabs, 1);
    EXPECT_EQ(grabber.desktopGrabs, 0);
    EXPECT_EQ(visibleAtGrab, std::vector<bool>{false});
    EXPECT_EQ(window.Picture1->picture(), grabber.window.image);
    expectBackInPlace();
}

TEST_F(Capture, RegionAtOnceWaitsOnTheOverlayAndTheReleaseFinishes) {
    press(1);
    EXPECT_TRUE(window.m_capture->m_fCapture->isVisible());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(windowing.beeps, 0); // no beep until the selection ends
    EXPECT_TRUE(window.m_capture->m_fCapture->Shape1->isHidden());
    dragOnOverlay({300, 200}, {100, 50});
    const QImage region = grabber.desktop.image.copy(100, 50, 200, 150);
    EXPECT_EQ(window.Picture1->picture(), region);
    EXPECT_EQ(clipboard.image(), region);
    EXPECT_EQ(QImage(window.m_ImagePath).size(), QSize(200, 150));
    EXPECT_EQ(windowing.beeps, 1);
    expectBackInPlace();
}

TEST_F(Capture, ARegionCancelledByEscapeOrASlipLeavesPictureFileAndClipboard) {
    const QByteArray file = imageFile();
    const QImage picture = window.Picture1->picture();
    const int clipboardChanges = clipboard.changes;
    ASSERT_FALSE(file.isEmpty());

    press(1);
    QTest::keyClick(window.m_capture->m_fCapture.get(), Qt::Key_Escape);
    expectBackInPlace();
    EXPECT_EQ(windowing.beeps, 1);

    press(1);
    dragOnOverlay({100, 100}, {105, 300}); // 5 pixels wide
    expectBackInPlace();
    EXPECT_EQ(windowing.beeps, 2);

    EXPECT_EQ(imageFile(), file);
    EXPECT_EQ(window.Picture1->picture(), picture);
    EXPECT_EQ(clipboard.changes, clipboardChanges);
}

TEST_F(Capture, TheChordWaitsHiddenWithOneHookAndTheTimerThenCaptures) {
    useChord();
    press(2);
    ASSERT_EQ(windowing.messages.size(), 1U);
    EXPECT_EQ(windowing.messages[0].text, Instructions);
    EXPECT_EQ(windowing.messages[0].title, QStringLiteral("Pellix"));
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.Timer1->isActive());
    EXPECT_EQ(window.Timer1->interval(), 20000);
    EXPECT_TRUE(keys.listening());
    EXPECT_EQ(grabber.desktopGrabs, 0);

    holdChord();
    EXPECT_EQ(grabber.desktopGrabs, 1);
    EXPECT_EQ(visibleAtGrab, std::vector<bool>{false});
    EXPECT_EQ(window.Picture1->picture(), grabber.desktop.image);
    EXPECT_EQ(windowing.beeps, 1);
    expectBackInPlace();
}

// A desktop portal answers a grab later, and the desktop hears the shortcut.
TEST_F(Capture, ATriggeredGrabThatAnswersLaterKeepsTheWindowHiddenUntilItComes) {
    keys.trigger = QStringLiteral("Ctrl+Shift+P");
    grabber.deferred = true;
    useChord();
    press(2);
    ASSERT_EQ(windowing.messages.size(), 1U);
    EXPECT_TRUE(windowing.messages[0].text.contains(QStringLiteral("Press [Ctrl+Shift+P]")));
    keys.send(KeyEvent::Trigger);
    window.DoCapture(true); // a second command while the desktop is asked
    EXPECT_EQ(grabber.desktopGrabs, 1);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(windowing.beeps, 0);
    grabber.answerPending();
    EXPECT_EQ(window.Picture1->picture(), grabber.desktop.image);
    EXPECT_EQ(windowing.beeps, 1);
    expectBackInPlace();
}

// Where no window can be picked, the user is told and gets the screen instead.
TEST_F(Capture, WithoutAWindowToPickTheScreenIsTakenAfterANote) {
    grabber.windowGrabbable = false;
    press(3);
    ASSERT_EQ(windowing.messages.size(), 1U);
    EXPECT_TRUE(windowing.messages[0].text.contains(QStringLiteral("whole screen")));
    EXPECT_EQ(grabber.windowGrabs, 0);
    EXPECT_EQ(grabber.desktopGrabs, 1);
    EXPECT_FALSE(window.Picture1->picture().isNull());
    expectBackInPlace();
}

TEST_F(Capture, EscapeOnTheChordCancelsWithABeepAndChangesNothing) {
    const QByteArray file = imageFile();
    useChord();
    press(2);
    keys.send(KeyEvent::Escape);
    EXPECT_EQ(grabber.desktopGrabs, 0);
    EXPECT_EQ(windowing.beeps, 1);
    EXPECT_EQ(imageFile(), file);
    expectBackInPlace();
}

TEST_F(Capture, TheChordStopsTheTimeOutBeforeARegionSelection) {
    useChord();
    press(1);
    holdChord();
    EXPECT_TRUE(window.m_capture->m_fCapture->isVisible());
    EXPECT_FALSE(window.Timer1->isActive());
    EXPECT_FALSE(keys.listening());
    dragOnOverlay({10, 10}, {60, 40});
    EXPECT_EQ(window.Picture1->picture(), grabber.desktop.image.copy(10, 10, 50, 30));
    expectBackInPlace();
}

TEST_F(Capture, TheTimeOutShowsItsMessageWithTheHookArmedThenCancels) {
    const QByteArray file = imageFile();
    bool listeningDuringMessage = false;
    windowing.onMessage = [&](const QString& text) {
        if (text == TimedOut) {
            listeningDuringMessage = keys.listening();
        }
    };
    useChord();
    press(2);
    // A tick that comes early is not the time-out: the wait goes on for the rest.
    windowing.clock += 19.5;
    window.Timer1->start(1);
    QTest::qWait(50);
    EXPECT_EQ(windowing.messages.size(), 1U);
    EXPECT_TRUE(window.Timer1->isActive());
    EXPECT_EQ(window.Timer1->interval(), 500);
    windowing.clock += 0.5;
    window.Timer1->start(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return windowing.messages.size() == 2; }, 5000));
    EXPECT_EQ(windowing.messages[1].text, TimedOut);
    EXPECT_EQ(windowing.messages[1].style, MsgBoxStyle::Information);
    EXPECT_EQ(windowing.messages[1].title, QStringLiteral("Pellix"));
    EXPECT_TRUE(listeningDuringMessage);
    EXPECT_EQ(grabber.desktopGrabs, 0);
    EXPECT_EQ(windowing.beeps, 1);
    EXPECT_EQ(imageFile(), file);
    expectBackInPlace();
}

TEST_F(Capture, ASecondChordCommandReplacesTheWaitingHookInsteadOfLeakingIt) {
    useChord();
    press(2);
    press(3);
    EXPECT_TRUE(keys.listening());
    EXPECT_EQ(keys.starts, 2);
    EXPECT_EQ(window.m_capture->m_CaptureType, 3);
    holdChord();
    EXPECT_EQ(grabber.windowGrabs, 1); // the last command's type, with no countdown
    EXPECT_EQ(grabber.desktopGrabs, 0);
    EXPECT_EQ(windowing.messages.size(), 2U);
    EXPECT_EQ(window.Picture1->picture(), grabber.window.image);
    expectBackInPlace();
}

TEST_F(Capture, AWindowIsHiddenAndPutBackExactlyAlsoAtTheOrigin) {
    for (const QPoint place : {QPoint(700, 80), QPoint(0, 0), QPoint(1, 1)}) {
        visibleAtGrab.clear();
        window.move(place);
        const QPoint client = window.geometry().topLeft();
        press(2);
        EXPECT_EQ(visibleAtGrab, std::vector<bool>{false}) << place.x();
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.geometry().topLeft(), client);
    }
}

TEST_F(Capture, AFailedGrabKeepsTheLastImageAndSaysSo) {
    const QByteArray file = imageFile();
    const QImage picture = window.Picture1->picture();
    const int clipboardChanges = clipboard.changes;
    grabber.desktop = {QImage(), QStringLiteral("the server refused"), {}};
    grabber.window = {QImage(), QStringLiteral("no active window"), {}};
    for (int index : {1, 2, 3}) {
        window.Label1->setText(Done);
        press(index);
        const QString reason =
            index == 3 ? QStringLiteral("no active window") : QStringLiteral("the server refused");
        EXPECT_TRUE(window.Label1->text().contains(reason)) << index;
        EXPECT_NE(window.Label1->text(), Done);
        expectBackInPlace();
    }
    EXPECT_EQ(imageFile(), file);
    EXPECT_EQ(window.Picture1->picture(), picture);
    EXPECT_EQ(clipboard.changes, clipboardChanges);
    EXPECT_EQ(windowing.beeps, 3 * 2); // the region never showed its overlay
}

TEST_F(Capture, DoCaptureOfAnUnknownTypeOnlyRestores) {
    window.m_capture->m_CaptureType = 0;
    window.Hide_Form();
    EXPECT_FALSE(window.isVisible());
    window.DoCapture(true);
    EXPECT_EQ(grabber.desktopGrabs + grabber.windowGrabs, 0);
    EXPECT_EQ(windowing.beeps, 1);
    expectBackInPlace();
}

TEST_F(Capture, ClosingTheWindowStopsAWaitingListener) {
    useChord();
    press(2);
    ASSERT_TRUE(keys.listening());
    window.close();
    EXPECT_FALSE(keys.listening());
    EXPECT_EQ(window.m_capture->m_fCapture, nullptr);
}

TEST(CapturePlacement, TheOverlayCoversEveryMonitorAndStartsHidden) {
    QTemporaryDir dir;
    FakeWindowing windowing;
    FakeClipboard clipboard;
    FakeShell shell;
    FakeSpecialFolders folders(dir.path());
    FileImageEncoder encoder;
    FakeScreenGrabber grabber;
    FakeKeyListener keys;
    FakeDisplayMonitors display;
    // The primary right of a smaller monitor, as X places one left of it.
    display.screen = QRect(0, 0, 3200, 1080);
    display.list = {{1, QRect(1280, 0, 1920, 1080), {}, true, "MAIN"},
                    {2, QRect(0, 0, 1280, 1024), {}, false, "LEFT"}};
    MMonitors monitors(display, {15.0, 15.0});
    FakeRecognitionEngine recognition;
    fMain window(
        {windowing, clipboard, shell, folders, encoder, grabber, keys, monitors, recognition});
    window.Form_Load();
    EXPECT_EQ(window.m_capture->m_fCapture->geometry(), QRect(0, 0, 3200, 1080));
    EXPECT_FALSE(window.m_capture->m_fCapture->isVisible());
    EXPECT_TRUE(window.m_capture->m_fCapture->Shape1->isHidden());
    EXPECT_TRUE(window.m_capture->m_fCapture->Label1->isHidden());
}

} // namespace
} // namespace pellix
