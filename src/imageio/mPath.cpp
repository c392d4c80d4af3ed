#include "imageio/mPath.h"

#include <QDir>

namespace pellix::mPath {

QString WithSeparator(const QString& folder) {
    const QChar separator = QDir::separator();
    return folder.endsWith(separator) ? folder : folder + separator;
}

QString Get_SpecialFolder(const SpecialFolders& folders, int folderNumber) {
    const QString path = folders.specialFolder(folderNumber);
    return path.isEmpty() ? QString() : WithSeparator(path);
}

QString Get_DesktopFolder(const SpecialFolders& folders) {
    return Get_SpecialFolder(folders, FolderNumber::Desktop);
}

QString ImageFolder(const SpecialFolders& folders) {
    const QString desktop = Get_DesktopFolder(folders);
    if (!desktop.isEmpty()) {
        return desktop;
    }
    const QString programFolder = folders.programFolder();
    return WithSeparator(folders.isWritableFolder(programFolder) ? programFolder
                                                                 : folders.homeFolder());
}

} // namespace pellix::mPath
