#include "platform/x11/X11Session.h"

#include <X11/Xlib.h>

namespace pellix::x11 {

namespace {

// Qt takes "--name" for "-name" in its own options.
QString option(const QString& argument) {
    return argument.startsWith(QStringLiteral("--")) ? argument.mid(1) : argument;
}

} // namespace

DisplayRequest requestedDisplay(const QStringList& arguments, const QByteArray& platformVariable,
                                const QByteArray& displayVariable) {
    QByteArray platform = platformVariable;
    DisplayRequest request{true, displayVariable};
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        const QString name = option(arguments.at(i));
        if (name == QStringLiteral("-platform")) {
            platform = arguments.at(++i).toLocal8Bit();
        } else if (name == QStringLiteral("-display")) {
            request.name = arguments.at(++i).toLocal8Bit();
        }
    }
    // "xcb", "xcb:options" and fallback lists that try X11 first.
    request.x11 = platform.isEmpty() || platform.startsWith("xcb");
    return request;
}

QString displayProblem(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    const DisplayRequest request =
        requestedDisplay(arguments, qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"));
    if (!request.x11) {
        return {};
    }
    if (request.name.isEmpty()) {
        return QStringLiteral("Pellix needs an X11 desktop session, and no X display is set "
                              "(DISPLAY is empty).");
    }
    Display* display = XOpenDisplay(request.name.constData());
    if (display == nullptr) {
        return QStringLiteral("Pellix cannot open the X display \"%1\": no X server answers "
                              "there, or it does not let Pellix in.")
            .arg(QString::fromLocal8Bit(request.name));
    }
    XCloseDisplay(display);
    return {};
}

} // namespace pellix::x11
