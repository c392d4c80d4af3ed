#include "capture/fCapture.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace pellix {

namespace {

// The rubber band: a one-pixel outline in the highlight colour, no fill.
class RectangleShape : public QWidget {
public:
    explicit RectangleShape(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        if (width() < 1 || height() < 1) {
            return;
        }
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, width() - 1, height() - 1);
    }
};

QString shortest(float value) {
    return QString::number(static_cast<double>(value), 'g', QLocale::FloatingPointShortest);
}

// Pointer positions count in whole pixels, as the frozen image does.
float pixel(qreal coordinate) {
    return static_cast<float>(std::floor(coordinate));
}

} // namespace

SelectionRect selectionRect(float startX, float startY, float x, float y) {
    SelectionRect rect;
    rect.left = std::min(x, startX);
    rect.top = std::min(y, startY);
    rect.width = std::max(x, startX) - rect.left;
    rect.height = std::max(y, startY) - rect.top;
    return rect;
}

bool isLargeEnough(const SelectionRect& rect) {
    return rect.width > MinSelectionPixels && rect.height > MinSelectionPixels;
}

QString sizeLabelText(const SelectionRect& rect) {
    return QStringLiteral("(") + shortest(rect.width) + QStringLiteral(",") +
           shortest(rect.height) + QStringLiteral(")");
}

fCapture::fCapture(Mode mode, QWidget* parent) : QWidget(parent), m_mode(mode) {
    setObjectName(QStringLiteral("fCapture"));
    // Bypassing the window manager keeps the overlay out of the task bar and
    // above everything, and lets it be as large as all monitors together
    // without a manager clamping it to one screen. A compositor places every
    // window itself: there the overlay asks for one screen, full.
    if (mode == Spanning) {
        setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                       Qt::BypassWindowManagerHint);
    } else {
        setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    }
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
    setFocusPolicy(Qt::StrongFocus);

    Shape1 = new RectangleShape(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->hide();

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, QColor(192, 0, 0));
    Label1->setPalette(red);
    Label1->hide();
}

void fCapture::setPicture(const QImage& screen) {
    m_picture = screen;
    // One image pixel on one screen pixel, also where the toolkit scales.
    m_picture.setDevicePixelRatio(devicePixelRatioF());
    update();
}

void fCapture::showOverlay() {
    show();
    raise();
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
    // Nobody manages this window, so nobody gives it the focus: take the keyboard.
    grabKeyboard();
}

void fCapture::showOn(QScreen& screen, const QImage& picture) {
    setScreen(&screen);
    setGeometry(screen.geometry());
    setPicture(picture);
    showFullScreen();
    raise();
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
}

void fCapture::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    if (!m_picture.isNull()) {
        painter.drawImage(QPointF(0, 0), m_picture);
    }
}

void fCapture::Form_MouseDown(int, int, float x, float y) {
    m_StartX = x;
    m_StartY = y;
    m_Selecting = true;
}

void fCapture::Form_MouseMove(int, int, float x, float y) {
    if (!m_Selecting) {
        return;
    }
    const SelectionRect rect = selectionRect(m_StartX, m_StartY, x, y);
    Shape1->show();
    Label1->show();
    const QString text = sizeLabelText(inPixels(rect));
    Label1->setText(text);
    Shape1->setGeometry(static_cast<int>(rect.left), static_cast<int>(rect.top),
                        static_cast<int>(rect.width), static_cast<int>(rect.height));
    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(text);
    const int textHeight = metrics.height();
    const float labelLeft = rect.left + rect.width / 2 - static_cast<float>(textWidth) / 2;
    const float labelTop = rect.top + rect.height / 2 - static_cast<float>(textHeight) / 2;
    Label1->setGeometry(static_cast<int>(std::lround(labelLeft)),
                        static_cast<int>(std::lround(labelTop)), textWidth, textHeight);
    Label1->raise();
}

void fCapture::Form_MouseUp(int, int, float x, float y) {
    if (!m_Selecting) {
        return;
    }
    const SelectionRect rect = selectionRect(m_StartX, m_StartY, x, y);
    m_Selecting = false;
    if (!isLargeEnough(inPixels(rect))) {
        cancel();
        return;
    }
    const QImage copy = region(rect);
    // Out of the way first: a late Escape or click must not reach an overlay
    // whose selection is over.
    hide();
    emit regionSelected(copy);
    emit finished();
}

void fCapture::cancel() {
    m_Selecting = false;
    hide();
    emit finished();
}

SelectionRect fCapture::inPixels(const SelectionRect& rect) const {
    const double ratio = devicePixelRatioF();
    const auto scaled = [ratio](float value) {
        return static_cast<float>(std::round(static_cast<double>(value) * ratio));
    };
    return {scaled(rect.left), scaled(rect.top), scaled(rect.width), scaled(rect.height)};
}

QImage fCapture::region(const SelectionRect& rect) const {
    const SelectionRect pixels = inPixels(rect);
    QImage copy = m_picture.copy(static_cast<int>(pixels.left), static_cast<int>(pixels.top),
                                 static_cast<int>(pixels.width), static_cast<int>(pixels.height));
    copy.setDevicePixelRatio(1.0);
    return copy;
}

void fCapture::mousePressEvent(QMouseEvent* event) {
    Form_MouseDown(static_cast<int>(event->button()), static_cast<int>(event->modifiers()),
                   pixel(event->position().x()), pixel(event->position().y()));
}

void fCapture::mouseMoveEvent(QMouseEvent* event) {
    Form_MouseMove(static_cast<int>(event->buttons()), static_cast<int>(event->modifiers()),
                   pixel(event->position().x()), pixel(event->position().y()));
}

void fCapture::mouseReleaseEvent(QMouseEvent* event) {
    Form_MouseUp(static_cast<int>(event->button()), static_cast<int>(event->modifiers()),
                 pixel(event->position().x()), pixel(event->position().y()));
}

void fCapture::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && isVisible()) {
        cancel();
        return;
    }
    QWidget::keyPressEvent(event);
}

void fCapture::hideEvent(QHideEvent* event) {
    if (m_mode == Spanning) {
        releaseKeyboard();
    }
    QWidget::hideEvent(event);
}

} // namespace pellix
