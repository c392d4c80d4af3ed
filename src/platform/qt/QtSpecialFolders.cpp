#include "platform/qt/QtSpecialFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace pellix {

QString QtSpecialFolders::specialFolder(int folderNumber) const {
    if (folderNumber != FolderNumber::Desktop) {
        return {};
    }
    // The XDG user directories name the desktop even where it does not exist.
    const QString path = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (path.isEmpty() || !QFileInfo(path).isDir()) {
        return {};
    }
    return QDir::cleanPath(path);
}

QString QtSpecialFolders::programFolder() const {
    return QCoreApplication::applicationDirPath();
}

QString QtSpecialFolders::homeFolder() const {
    return QDir::cleanPath(QDir::homePath());
}

bool QtSpecialFolders::isWritableFolder(const QString& path) const {
    // access() asks the kernel, so read-only mounts count as not writable.
    const QByteArray native = QFile::encodeName(path);
    return QFileInfo(path).isDir() && ::access(native.constData(), W_OK | X_OK) == 0;
}

} // namespace pellix
