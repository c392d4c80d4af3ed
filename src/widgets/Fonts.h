#pragma once

#include <QFont>
#include <QIcon>
#include <QStringList>

class QLabel;
class QWidget;

namespace pellix {

// Calibri 11.25 pt, or its metric twin Carlito where Calibri is not installed,
// sized in pixels so the fixed pixel layout holds at any screen resolution.
QFont calibriFont();

// MS Sans Serif 8.25 pt, or a similar small sans font.
QFont msSansSerifFont();

// The program's icon, in its 16 and 32 pixel drawings.
QIcon programIcon();

// Blue (0, 0, 255) underlined Calibri: the look of the status lines and the mail link.
void makeBlueUnderlined(QLabel& label);

} // namespace pellix
