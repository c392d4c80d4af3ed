// Draws the start-up picture (a page of clearly printed text for recognition to
// read back) and the window icons into the folder given first on the command
// line, and the program icon for the desktop's icon theme into the second.
#include "Version.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLineF>
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

// A lens over a text line: the program's two jobs in one glyph, on a grid of 32
// units. The same shapes are drawn at every size and written out as SVG.
const QRectF Page(2, 4, 24, 24);
constexpr double PageCorner = 3;
constexpr int TextRows = 3;
QRectF textRow(int row) {
    return {6, 9 + row * 6.0, 16, 2.5};
}
const QPointF LensCentre(19, 17);
constexpr double LensRadius = 7;
const QLineF Handle(24, 22, 30, 29);
constexpr double LensWidth = 3;

QImage icon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255));
    painter.drawRoundedRect(Page, PageCorner, PageCorner);
    painter.setBrush(QColor(0, 0, 0));
    for (int row = 0; row < TextRows; ++row) {
        painter.drawRect(textRow(row));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 255), LensWidth, Qt::SolidLine, Qt::SquareCap));
    painter.drawEllipse(LensCentre, LensRadius, LensRadius);
    painter.drawLine(Handle);
    return image;
}

QString iconSvg() {
    QString svg =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" "
                       "viewBox=\"0 0 32 32\">\n"
                       "  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" "
                       "fill=\"#ffffff\"/>\n")
            .arg(Page.x())
            .arg(Page.y())
            .arg(Page.width())
            .arg(Page.height())
            .arg(PageCorner);
    for (int row = 0; row < TextRows; ++row) {
        const QRectF r = textRow(row);
        svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" "
                              "fill=\"#000000\"/>\n")
                   .arg(r.x())
                   .arg(r.y())
                   .arg(r.width())
                   .arg(r.height());
    }
    svg += QStringLiteral("  <g fill=\"none\" stroke=\"#0000ff\" stroke-width=\"%1\" "
                          "stroke-linecap=\"square\">\n"
                          "    <circle cx=\"%2\" cy=\"%3\" r=\"%4\"/>\n"
                          "    <line x1=\"%5\" y1=\"%6\" x2=\"%7\" y2=\"%8\"/>\n"
                          "  </g>\n</svg>\n")
               .arg(LensWidth)
               .arg(LensCentre.x())
               .arg(LensCentre.y())
               .arg(LensRadius)
               .arg(Handle.x1())
               .arg(Handle.y1())
               .arg(Handle.x2())
               .arg(Handle.y2());
    return svg;
}

bool save(const QImage& image, const QString& path, const char* format, int quality = -1) {
    if (image.save(path, format, quality)) {
        return true;
    }
    std::fprintf(stderr, "make_images: cannot write %s\n", qPrintable(path));
    return false;
}

// The desktop's icon theme: the program icon at each size it asks for.
bool saveIconTheme(const QString& theme) {
    const QString name = QStringLiteral("/apps/org.pellix.Pellix");
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = theme + QStringLiteral("/%1x%1").arg(size);
        if (!QDir().mkpath(folder + QStringLiteral("/apps")) ||
            !save(icon(size), folder + name + QStringLiteral(".png"), "PNG")) {
            return false;
        }
    }
    QFile svg(theme + QStringLiteral("/scalable") + name + QStringLiteral(".svg"));
    if (!QDir().mkpath(theme + QStringLiteral("/scalable/apps")) ||
        !svg.open(QIODevice::WriteOnly) || svg.write(iconSvg().toUtf8()) < 0) {
        std::fprintf(stderr, "make_images: cannot write %s\n", qPrintable(svg.fileName()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_images FOLDER ICON_THEME_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool ok = save(startupPicture(), folder + QStringLiteral("/startup.jpg"), "JPG", 95) &&
                    save(icon(16), folder + QStringLiteral("/icon16.png"), "PNG") &&
                    save(icon(32), folder + QStringLiteral("/icon32.png"), "PNG") &&
                    saveIconTheme(QString::fromLocal8Bit(argv[2]));
    return ok ? 0 : 1;
}
