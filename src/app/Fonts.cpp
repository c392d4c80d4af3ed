#include "app/Fonts.h"

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

} // namespace pellix
