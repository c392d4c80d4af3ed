#include "platform/x11/X11Session.h"

#include "platform/x11/X11Connection.h"

namespace pellix::x11 {

namespace {

// Qt takes "--name" for "-name" in its own options.
QByteArray option(const QByteArray& argument) {
    return argument.startsWith("--") ? argument.mid(1) : argument;
}

} // namespace

DisplayRequest requestedDisplay(const QByteArrayList& arguments, const QByteArray& platformVariable,
                                const QByteArray& displayVariable) {
    QByteArray platform = platformVariable;
    DisplayRequest request{true, displayVariable};
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        const QByteArray name = option(arguments.at(i));
        if (name == "-platform") {
            platform = arguments.at(++i);
        } else if (name == "-display") {
            request.name = arguments.at(++i);
        }
    }
    // "xcb", "xcb:options" and fallback lists that try X11 first.
    request.x11 = platform.isEmpty() || platform.startsWith("xcb");
    return request;
}

QString displayProblem(int argc, char* argv[]) {
    QByteArrayList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QByteArray(argv[i]);
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
    if (!DisplayPtr(XOpenDisplay(request.name.constData()))) {
        return QStringLiteral("Pellix cannot open the X display \"%1\": no X server answers "
                              "there, or it does not let Pellix in.")
            .arg(QString::fromLocal8Bit(request.name));
    }
    return {};
}

} // namespace pellix::x11
