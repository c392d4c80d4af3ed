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

} // namespace pellix::mPath
