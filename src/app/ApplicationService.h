#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

namespace pellix {

// One Pellix per session: the first start takes the program's name on the
// session bus and serves the standard org.freedesktop.Application interface;
// a later start hands its command to it and ends. Two instances would share
// one image file and one clipboard and take each other's pictures.
class ApplicationService final : public QObject {
    Q_OBJECT
public:
    static constexpr const char* BusName = "org.pellix.Pellix";
    static constexpr const char* ObjectPath = "/org/pellix/Pellix";

    explicit ApplicationService(QDBusConnection bus = QDBusConnection::sessionBus());

    // Takes the name; false when another instance holds it. Without a session
    // bus there is nobody to ask and nothing to take: true, alone.
    bool claim();
    // Hands `action` (empty: just come to the front) to the instance that holds
    // the name; false when it did not answer.
    bool forward(const QString& action);
    bool onBus() const { return m_bus.isConnected(); }

    // The actions of the desktop entry: "capture-region", "capture-desktop",
    // "capture-window".
    static QString captureAction(const QString& kind) { return QStringLiteral("capture-") + kind; }

signals:
    void activated();
    void actionRequested(const QString& action);

private:
    QDBusConnection m_bus;
};

// org.freedesktop.Application on the service's object.
class ApplicationAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    explicit ApplicationAdaptor(ApplicationService& service);

public slots:
    void Activate(const QVariantMap& platformData);
    void Open(const QStringList& uris, const QVariantMap& platformData);
    void ActivateAction(const QString& action, const QVariantList& parameter,
                        const QVariantMap& platformData);

private:
    ApplicationService& m_service;
};

} // namespace pellix
