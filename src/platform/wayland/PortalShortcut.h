#pragma once

#include "platform/KeyListener.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>

namespace pellix {

// The capture trigger where the desktop, not the program, hears the keys: one
// shortcut bound through the desktop portal's GlobalShortcuts interface, with
// Control+Shift+P asked for (the user may bind another). Armed by start(); a
// press while armed is reported as KeyEvent::Trigger.
class PortalShortcut final : public QObject, public KeyListener {
    Q_OBJECT
public:
    static constexpr const char* ShortcutId = "capture";
    static constexpr const char* PreferredTrigger = "CTRL+SHIFT+p";

    explicit PortalShortcut(QDBusConnection bus = QDBusConnection::sessionBus());

    // Opens the portal session and binds the shortcut; the answer comes later.
    void bind();

    bool start(Callback callback) override;
    void stop() override;
    bool listening() const override { return static_cast<bool>(m_callback); }
    QString triggerName() const override;
    bool canHear() const override { return m_available; }

    bool bound() const { return !m_session.isEmpty() && m_bound; }

signals:
    void boundChanged();

private slots:
    void onActivated(const QDBusObjectPath& session, const QString& shortcut, qulonglong timestamp,
                     const QVariantMap& options);

private:
    void bindShortcut();

    QDBusConnection m_bus;
    Callback m_callback;
    QString m_session;
    QString m_trigger;
    bool m_available = false;
    bool m_bound = false;
};

} // namespace pellix
