// Draws the start-up picture (a page of clearly printed text for recognition to
// read back) and the window icons into the folder given on the command line.
#include "Version.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdio>

namespace {

struct Line {
    QString text;
    QColor colour;
    bool bold;
};

QFont pictureFont(bool bold) {
    // A plain sans face at a size OCR engines read without trouble.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(bold ? 30 : 22);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QImage startupPicture() {
    const QColor black(0, 0, 0);
    const QColor blue(0, 0, 255);
    const QString version =
        QStringLiteral("%1.%2").arg(PELLIX_VERSION_MAJOR).arg(PELLIX_VERSION_MINOR);
    const Line lines[] = {
        {QStringLiteral("Pellix Version ") + version, black, true},
        {QStringLiteral("Screen capture and character recognition."), black, false},
        {QStringLiteral("Capture an image, then turn its text into plain text."), black, false},
        {QStringLiteral("Press [Help] for details of character recognition."), blue, false},
        {QStringLiteral("Press [Recognize] to see what happens."), blue, false},
    };
    QImage image(785, 353, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    int baseline = 62;
    for (const Line& line : lines) {
        painter.setFont(pictureFont(line.bold));
        painter.setPen(line.colour);
        painter.drawText(40, baseline, line.text);
        baseline += line.bold ? 66 : 58;
    }
    return image;
}

// A lens over a text line: the program's two jobs in one glyph.
QImage icon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = size / 32.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255));
    painter.drawRoundedRect(QRectF(2 * s, 4 * s, 24 * s, 24 * s), 3 * s, 3 * s);
    painter.setBrush(QColor(0, 0, 0));
    for (int row = 0; row < 3; ++row) {
        painter.drawRect(QRectF(6 * s, (9 + row * 6) * s, 16 * s, 2.5 * s));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 255), 3 * s));
    painter.drawEllipse(QPointF(19 * s, 17 * s), 7 * s, 7 * s);
    painter.drawLine(QPointF(24 * s, 22 * s), QPointF(30 * s, 29 * s));
    return image;
}

bool save(const QImage& image, const QString& path, const char* format, int quality = -1) {
    if (image.save(path, format, quality)) {
        return true;
    }
    std::fprintf(stderr, "make_images: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_images FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool ok = save(startupPicture(), folder + QStringLiteral("/startup.jpg"), "JPG", 95) &&
                    save(icon(16), folder + QStringLiteral("/icon16.png"), "PNG") &&
                    save(icon(32), folder + QStringLiteral("/icon32.png"), "PNG");
    return ok ? 0 : 1;
}
