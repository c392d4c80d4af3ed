#include "app/fMain.h"
#include "monitors/MMonitors.h"
#include "platform/Error.h"
#include "platform/imaging/FileImageEncoder.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtSpecialFolders.h"
#include "platform/qt/QtWindowing.h"
#include "platform/tesseract/ModuleRecognitionEngine.h"
#include "platform/x11/X11DisplayMonitors.h"
#include "platform/x11/X11ScreenGrabber.h"
#include "platform/x11/X11Session.h"
#include "platform/x11/XInput2KeyListener.h"

#include <QApplication>

#include <cstdio>

namespace {

// A start-up failure is shown with its description and ends the program.
int reportStartupFailure(pellix::Windowing& windowing, const pellix::Error& error) {
    QString text = error.description();
    if (!error.detail().isEmpty()) {
        text += QStringLiteral("\n\n") + error.detail();
    }
    windowing.messageBox(text, pellix::MsgBoxStyle::Critical, QStringLiteral("Pellix"));
    return 1;
}

} // namespace

// The program reads no command line: the arguments go to Qt alone.
int main(int argc, char* argv[]) {
    pellix::limitEngineThreads(argv);
    // Without a display there is no window to show an error in.
    if (const QString problem = pellix::x11::displayProblem(argc, argv); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pellix"));
    // The main window is hidden during a capture, so the last visible window may
    // be a message box; the program ends when the main window closes instead.
    QApplication::setQuitOnLastWindowClosed(false);

    pellix::QtWindowing windowing;
    pellix::QtClipboard clipboard;
    pellix::QtShell shell;
    pellix::QtSpecialFolders folders;
    pellix::FileImageEncoder encoder;
    pellix::X11ScreenGrabber grabber;
    pellix::XInput2KeyListener keys;
    pellix::X11DisplayMonitors displayMonitors;
    pellix::MMonitors monitors(displayMonitors,
                               {windowing.twipsPerPixelX(), windowing.twipsPerPixelY()});
    pellix::ModuleRecognitionEngine recognition(QCoreApplication::applicationDirPath());

    pellix::fMain window(
        {windowing, clipboard, shell, folders, encoder, grabber, keys, monitors, recognition});
    try {
        window.Form_Load();
    } catch (const pellix::Error& error) {
        return reportStartupFailure(windowing, error);
    }
    window.show();
    return QApplication::exec();
}
