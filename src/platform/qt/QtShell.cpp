#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace pellix {

// xdg-open, the desktop's own opener, is started detached with an argument list
// in the working folder asked for: it never blocks the window and never goes
// through a shell command line. Without it, the toolkit's opener serves, in the
// program's own folder. A missing file is not handed on: some desktops answer it
// with an error box of their own. The path is cleaned first, or "//name" would
// read as a host name.
void QtShell::openFile(const QString& path, const QString& workingFolder) {
    const QString clean = QDir::cleanPath(path);
    if (!QFileInfo::exists(clean)) {
        return;
    }
    const QUrl url = QUrl::fromLocalFile(clean);
    if (!QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString()}, workingFolder)) {
        QDesktopServices::openUrl(url);
    }
}

// Freedesktop desktops associate one default program per file type and define
// no separate edit action, so editing opens the file with that program.
void QtShell::editFile(const QString& path, const QString& workingFolder) {
    openFile(path, workingFolder);
}

void QtShell::openAddress(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

} // namespace pellix
