#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

namespace pellix::x11 {

// The display the toolkit is about to use, read the way Qt reads it: a
// -platform or -display argument (one dash or two) before QT_QPA_PLATFORM and
// DISPLAY. `x11` is false when another platform than X11 was asked for.
struct DisplayRequest {
    bool x11 = true;
    QByteArray name;
};
DisplayRequest requestedDisplay(const QByteArrayList& arguments, const QByteArray& platformVariable,
                                const QByteArray& displayVariable);

// Why the program cannot reach its X display, for the user; empty when it can,
// or when another platform was asked for. Qt's own failure here aborts the
// process with advice to reinstall, which is wrong advice.
QString displayProblem(int argc, char* argv[]);

} // namespace pellix::x11
