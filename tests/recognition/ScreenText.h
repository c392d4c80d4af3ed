#pragma once

#include "Version.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QString>
#include <QTransform>

namespace pellix::testing {

// The lines of the start-up picture, as the build draws them.
inline QString startupPictureText() {
    return QStringLiteral("Pellix Version %1.%2 Screen capture and character recognition. "
                          "Capture an image, then turn its text into plain text. Press [Help] "
                          "for details of character recognition. Press [Recognize] to see what "
                          "happens.")
        .arg(PELLIX_VERSION_MAJOR)
        .arg(PELLIX_VERSION_MINOR);
}

// Whitespace runs folded to one space, none at the ends.
inline QString folded(const QString& text) {
    return text.simplified();
}

inline QImage startupPicture() {
    return QImage(QStringLiteral(":/pellix/startup.jpg"));
}

// The picture turned about its centre on a white page of the same size.
inline QImage rotated(const QImage& image, double degrees) {
    QImage page(image.size(), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(image.width() / 2.0, image.height() / 2.0);
    painter.rotate(degrees);
    painter.translate(-image.width() / 2.0, -image.height() / 2.0);
    painter.drawImage(0, 0, image);
    return page;
}

// Text in one colour on one background, for pages made up by a test.
inline QImage textPicture(const QString& text, int pixelSize = 28) {
    QImage image(600, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(30, 70, text);
    return image;
}

} // namespace pellix::testing
