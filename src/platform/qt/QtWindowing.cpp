#include "platform/qt/QtWindowing.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace pellix {

namespace {

constexpr double TwipsPerInch = 1440.0;

double twipsPerPixel(double dotsPerInch) {
    return dotsPerInch > 0 ? TwipsPerInch / dotsPerInch : 15.0;
}

} // namespace

QtWindowing::QtWindowing() {
    m_clock.start();
}

void QtWindowing::messageBox(const QString& text, int style, const QString& title) {
    const auto icon = style == MsgBoxStyle::Critical      ? QMessageBox::Critical
                      : style == MsgBoxStyle::Exclamation ? QMessageBox::Warning
                                                          : QMessageBox::Information;
    QMessageBox box(icon, title.isEmpty() ? QStringLiteral("Pellix") : title, text,
                    QMessageBox::Ok);
    box.exec();
}

void QtWindowing::beep() {
    QApplication::beep();
}

double QtWindowing::seconds() const {
    return static_cast<double>(m_clock.nsecsElapsed()) / 1e9;
}

// Design values are in pixels at 96 dots per inch; the logical DPI keeps the
// conversion consistent with the widget geometry Qt reports.
double QtWindowing::twipsPerPixelX() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return twipsPerPixel(screen ? screen->logicalDotsPerInchX() : 96.0);
}

double QtWindowing::twipsPerPixelY() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return twipsPerPixel(screen ? screen->logicalDotsPerInchY() : 96.0);
}

} // namespace pellix
