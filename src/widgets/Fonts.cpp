#include "widgets/Fonts.h"

#include <QLabel>
#include <QPalette>

namespace pellix {

QFont calibriFont() {
    QFont font;
    font.setFamilies(QStringList{QStringLiteral("Calibri"), QStringLiteral("Carlito")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(15); // 11.25 pt at 96 dots per inch
    font.setWeight(QFont::Normal);
    return font;
}

QFont msSansSerifFont() {
    QFont font;
    font.setFamilies(QStringList{QStringLiteral("MS Sans Serif"),
                                 QStringLiteral("Microsoft Sans Serif"),
                                 QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11); // 8.25 pt at 96 dots per inch
    return font;
}

QIcon programIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/pellix/icon16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/pellix/icon32.png"), QSize(32, 32));
    return icon;
}

void makeBlueUnderlined(QLabel& label) {
    QFont font = calibriFont();
    font.setUnderline(true);
    label.setFont(font);
    QPalette blue = label.palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label.setPalette(blue);
}

} // namespace pellix
