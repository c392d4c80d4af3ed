#pragma once

#include <QString>

namespace pellix {

// The help document lies beside the program under a fixed name. The folder is
// taken as it comes: a folder that already ends in a separator gives two in a row.
inline QString HelpFilePath(const QString& programFolder) {
    return programFolder + QStringLiteral("/Pellix_Help.pdf");
}

} // namespace pellix
