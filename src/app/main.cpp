#include "app/ApplicationService.h"
#include "app/fMain.h"
#include "monitors/MMonitors.h"
#include "platform/Error.h"
#include "platform/imaging/FileImageEncoder.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtScreenMonitors.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtSpecialFolders.h"
#include "platform/qt/QtWindowing.h"
#include "platform/tesseract/ModuleRecognitionEngine.h"
#include "platform/wayland/PortalScreenGrabber.h"
#include "platform/wayland/PortalShortcut.h"
#include "platform/x11/X11DisplayMonitors.h"
#include "platform/x11/X11ScreenGrabber.h"
#include "platform/x11/X11Session.h"
#include "platform/x11/XInput2KeyListener.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace {

const char* const Usage = "usage: pellix [--capture region|desktop|window]\n";

// A start-up failure is shown with its description and ends the program.
int reportStartupFailure(pellix::Windowing& windowing, const pellix::Error& error) {
    QString text = error.description();
    if (!error.detail().isEmpty()) {
        text += QStringLiteral("\n\n") + error.detail();
    }
    windowing.messageBox(text, pellix::MsgBoxStyle::Critical, QStringLiteral("Pellix"));
    return 1;
}

bool waylandSession() {
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
}

// The capture kinds, numbered as the capture buttons.
std::optional<std::int16_t> captureType(const QString& kind) {
    const QStringList kinds = {QStringLiteral("region"), QStringLiteral("desktop"),
                               QStringLiteral("window")};
    const auto index = kinds.indexOf(kind);
    return index < 0 ? std::nullopt : std::optional<std::int16_t>(index + 1);
}

// The program's own options, taken out of the arguments; the rest go to Qt.
// Returns the exit status when the options end the program at once.
std::optional<int> takeOptions(int& argc, char* argv[], QString& capture) {
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--capture") == 0 ||
            std::strncmp(argv[i], "--capture=", 10) == 0) {
            const char* value = argv[i][9] == '=' ? argv[i] + 10 : (i + 1 < argc ? argv[++i] : "");
            capture = QString::fromLocal8Bit(value);
            if (!captureType(capture)) {
                std::fprintf(stderr, "pellix: --capture takes region, desktop or window\n%s",
                             Usage);
                return 2;
            }
        } else if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(Usage, stdout);
            return 0;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[]) {
    pellix::limitEngineThreads(argv);
    QString capture;
    if (const std::optional<int> status = takeOptions(argc, argv, capture)) {
        return *status;
    }
    const bool inWayland = waylandSession();
    if (inWayland && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "wayland;xcb");
    }
    // Without a display there is no window to show an error in.
    if (const QString problem = pellix::x11::displayProblem(argc, argv); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pellix"));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(pellix::ApplicationService::BusName));
    // The main window is hidden during a capture, so the last visible window may
    // be a message box; the program ends when the main window closes instead.
    QApplication::setQuitOnLastWindowClosed(false);
    const bool onWayland = QGuiApplication::platformName() == QLatin1String("wayland");
    if (inWayland && !onWayland) {
        std::fputs("pellix: running as an X11 client in a Wayland session: windows of other "
                   "programs may not be visible to it.\n",
                   stderr);
    }

    pellix::ApplicationService service;
    if (!service.claim()) {
        const QString action =
            capture.isEmpty() ? QString() : pellix::ApplicationService::captureAction(capture);
        if (service.forward(action)) {
            return 0;
        }
        std::fputs("pellix: another Pellix holds the session but does not answer.\n", stderr);
        return 1;
    }

    pellix::QtWindowing windowing;
    pellix::QtClipboard clipboard;
    pellix::QtShell shell;
    pellix::QtSpecialFolders folders;
    pellix::FileImageEncoder encoder;
    std::unique_ptr<pellix::ScreenGrabber> grabber;
    std::unique_ptr<pellix::KeyListener> keys;
    std::unique_ptr<pellix::DisplayMonitors> displayMonitors;
    if (onWayland) {
        grabber = std::make_unique<pellix::PortalScreenGrabber>();
        auto shortcut = std::make_unique<pellix::PortalShortcut>();
        shortcut->bind();
        keys = std::move(shortcut);
        displayMonitors = std::make_unique<pellix::QtScreenMonitors>();
    } else {
        grabber = std::make_unique<pellix::X11ScreenGrabber>();
        keys = std::make_unique<pellix::XInput2KeyListener>();
        displayMonitors = std::make_unique<pellix::X11DisplayMonitors>();
    }
    pellix::MMonitors monitors(*displayMonitors,
                               {windowing.twipsPerPixelX(), windowing.twipsPerPixelY()});
    pellix::ModuleRecognitionEngine recognition(QCoreApplication::applicationDirPath());

    pellix::fMain window(
        {windowing, clipboard, shell, folders, encoder, *grabber, *keys, monitors, recognition});
    try {
        window.Form_Load();
    } catch (const pellix::Error& error) {
        return reportStartupFailure(windowing, error);
    }
    if (onWayland) {
        window.m_capture->useOverlayPerScreen();
    }
    window.show();

    // Commands from later starts, and from this one's own command line.
    const auto runCommand = [&window](const QString& action) {
        const auto type = captureType(action.mid(static_cast<int>(std::strlen("capture-"))));
        if (action.startsWith(QLatin1String("capture-")) && type &&
            window.cmdCapture[*type]->isEnabled()) {
            window.m_capture->commandFromOutside(*type);
        }
    };
    QObject::connect(&service, &pellix::ApplicationService::actionRequested, &window, runCommand);
    QObject::connect(&service, &pellix::ApplicationService::activated, &window, [&window] {
        if (window.isVisible()) {
            window.raise();
            window.activateWindow();
        }
    });
    if (!capture.isEmpty()) {
        QTimer::singleShot(0, &window, [runCommand, capture] {
            runCommand(pellix::ApplicationService::captureAction(capture));
        });
    }
    return QApplication::exec();
}
