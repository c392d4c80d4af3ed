#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace pellix {

void QtClipboard::clear() {
    QGuiApplication::clipboard()->clear();
}

void QtClipboard::setImage(const QImage& image) {
    QGuiApplication::clipboard()->setImage(image);
}

void QtClipboard::setText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

QImage QtClipboard::image() const {
    return QGuiApplication::clipboard()->image();
}

QString QtClipboard::text() const {
    return QGuiApplication::clipboard()->text();
}

} // namespace pellix
