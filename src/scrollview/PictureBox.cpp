#include "scrollview/PictureBox.h"

#include <QPainter>

namespace pellix {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

void PictureBox::setPicture(const QImage& picture) {
    m_picture = picture;
    fitToPicture();
    update();
}

void PictureBox::setAutoSize(bool on) {
    m_autoSize = on;
    fitToPicture();
}

void PictureBox::setBorder(bool on) {
    m_border = on;
    fitToPicture();
    update();
}

void PictureBox::fitToPicture() {
    if (m_autoSize && !m_picture.isNull()) {
        const int b = 2 * borderWidth();
        resize(m_picture.width() + b, m_picture.height() + b);
    }
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const int b = borderWidth();
    if (!m_picture.isNull()) {
        painter.drawImage(b, b, m_picture);
    }
    if (m_border) {
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

} // namespace pellix
