#pragma once

#include <QDir>
#include <QString>

namespace pellix {

// The help document lies under a fixed name in the data folder, which is found
// relative to the program's folder, as installed and in the build tree.
inline QString HelpFilePath(const QString& programFolder) {
    return QDir::cleanPath(programFolder + QStringLiteral("/" PELLIX_DATA_DIR_FROM_BIN) +
                           QStringLiteral("/Pellix_Help.pdf"));
}

} // namespace pellix
