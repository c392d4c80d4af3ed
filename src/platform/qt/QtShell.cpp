#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace pellix {

// QDesktopServices starts the desktop's opener detached with an argument list:
// it never blocks the window and never goes through a shell command line.
// A missing file is not handed on: some desktops answer it with an error box of
// their own. The path is cleaned first, or "//name" would read as a host name.
void QtShell::openFile(const QString& path) {
    const QString clean = QDir::cleanPath(path);
    if (QFileInfo::exists(clean)) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(clean));
    }
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
