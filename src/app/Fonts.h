#pragma once

#include <QFont>
#include <QStringList>

namespace pellix {

// Calibri 11.25 pt, or its metric twin Carlito where Calibri is not installed,
// sized in pixels so the fixed pixel layout holds at any screen resolution.
QFont calibriFont();

// MS Sans Serif 8.25 pt, or a similar small sans font.
QFont msSansSerifFont();

} // namespace pellix
