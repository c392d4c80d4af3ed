#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QUrl>

namespace pellix {

// QDesktopServices starts the desktop's opener detached with an argument list:
// it never blocks the window and never goes through a shell command line.
void QtShell::openFile(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

// Freedesktop desktops associate one default program per file type and define
// no separate edit action, so editing opens the file with that program.
void QtShell::editFile(const QString& path) {
    openFile(path);
}

void QtShell::openAddress(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

} // namespace pellix
