#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QTimer>

namespace pellix {

namespace {

// Long enough for the keyboard's focus event, and its serial, to follow the
// window's activation.
constexpr int SettleMs = 100;

} // namespace

QtClipboard::QtClipboard() {
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive && m_offeredInactive) {
                    QTimer::singleShot(SettleMs, this, [this] {
                        if (m_offeredInactive) {
                            offer();
                            m_offeredInactive = true; // until the first input, too
                        }
                    });
                }
            });
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        qGuiApp->installEventFilter(this);
    }
}

bool QtClipboard::eventFilter(QObject* watched, QEvent* event) {
    if (m_offeredInactive &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress) &&
        QGuiApplication::applicationState() == Qt::ApplicationActive) {
        offer();
    }
    return QObject::eventFilter(watched, event);
}

void QtClipboard::clear() {
    m_content = std::monostate();
    m_offeredInactive = false;
    QGuiApplication::clipboard()->clear();
}

void QtClipboard::setImage(const QImage& image) {
    m_content = image;
    offer();
}

void QtClipboard::setText(const QString& text) {
    m_content = text;
    offer();
}

void QtClipboard::offer() {
    m_offeredInactive = QGuiApplication::applicationState() != Qt::ApplicationActive;
    if (const auto* image = std::get_if<QImage>(&m_content)) {
        QGuiApplication::clipboard()->setImage(*image);
    } else if (const auto* text = std::get_if<QString>(&m_content)) {
        QGuiApplication::clipboard()->setText(*text);
    }
}

QImage QtClipboard::image() const {
    return QGuiApplication::clipboard()->image();
}

QString QtClipboard::text() const {
    return QGuiApplication::clipboard()->text();
}

} // namespace pellix
