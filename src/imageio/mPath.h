#pragma once

#include "platform/SpecialFolders.h"

#include <QString>

namespace pellix::mPath {

// The folder's path followed by the platform's separator, or empty when the
// desktop does not define the folder or it does not exist.
QString Get_SpecialFolder(const SpecialFolders& folders, int folderNumber);

QString Get_DesktopFolder(const SpecialFolders& folders);

// `folder` with the platform's separator appended, unless it already ends in one.
QString WithSeparator(const QString& folder);

// Where the image file goes, ending in a separator: the desktop, else the
// program's folder; an installed program's folder is not writable, so the home
// folder stands in for it there.
QString ImageFolder(const SpecialFolders& folders);

} // namespace pellix::mPath
