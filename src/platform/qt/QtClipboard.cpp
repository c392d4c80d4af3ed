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

QtClipboard::QtClipboard()
    : m_wayland(QGuiApplication::platformName() == QLatin1String("wayland")) {
    if (!m_wayland) {
        return; // an X server takes the clipboard at any time
    }
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive) {
                    m_wasActive = true;
                    QTimer::singleShot(SettleMs, this, [this] {
                        if (m_pending) {
                            offer();
                            m_pending = true; // until the first input, too
                        }
                    });
                } else if (m_wasActive) {
                    m_pending = false;
                }
            });
    qGuiApp->installEventFilter(this);
}

bool QtClipboard::eventFilter(QObject* watched, QEvent* event) {
    if (m_pending &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress) &&
        QGuiApplication::applicationState() == Qt::ApplicationActive) {
        offer();
    }
    return QObject::eventFilter(watched, event);
}

void QtClipboard::clear() {
    m_content = std::monostate();
    m_pending = false;
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
    const bool active = QGuiApplication::applicationState() == Qt::ApplicationActive;
    m_pending = m_wayland && !active;
    if (!active) {
        m_wasActive = false; // a new absence: the next activation offers again
    }
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
