#pragma once

#include <QString>

namespace pellix {

// The help document lies beside the program under a fixed name. The folder is
// taken as it comes: a folder that already ends in a separator gives two in a row.
QString HelpFilePath(const QString& programFolder);

} // namespace pellix
