#include "platform/wayland/PortalShortcut.h"

#include "platform/wayland/PortalRequest.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QRandomGenerator>

namespace pellix {

namespace {

const char* const Interface = "org.freedesktop.portal.GlobalShortcuts";

struct Shortcut {
    QString id;
    QVariantMap properties;
};
using Shortcuts = QList<Shortcut>;

QDBusArgument& operator<<(QDBusArgument& argument, const Shortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Shortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

} // namespace

} // namespace pellix

Q_DECLARE_METATYPE(pellix::Shortcut)
Q_DECLARE_METATYPE(pellix::Shortcuts)

namespace pellix {

PortalShortcut::PortalShortcut(QDBusConnection bus) : m_bus(std::move(bus)) {
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<Shortcuts>();
    // The portal says whether it offers the interface by its version property.
    QDBusMessage get = QDBusMessage::createMethodCall(
        QString::fromLatin1(PortalService), QString::fromLatin1(PortalPath),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get.setArguments({QString::fromLatin1(Interface), QStringLiteral("version")});
    m_available = m_bus.isConnected() &&
                  m_bus.call(get, QDBus::Block, 2000).type() == QDBusMessage::ReplyMessage;
}

void PortalShortcut::bind() {
    if (!m_available || !m_session.isEmpty()) {
        return;
    }
    const QVariantMap options = {
        {QStringLiteral("session_handle_token"),
         QStringLiteral("pellix%1").arg(QRandomGenerator::global()->generate())}};
    PortalRequest::call(
        m_bus, QString::fromLatin1(Interface), QStringLiteral("CreateSession"), {options},
        [this](uint response, const QVariantMap& results) {
            if (response != 0) {
                m_available = false;
                emit boundChanged();
                return;
            }
            m_session = results.value(QStringLiteral("session_handle")).toString();
            m_bus.connect(QString::fromLatin1(PortalService), QString::fromLatin1(PortalPath),
                          QString::fromLatin1(Interface), QStringLiteral("Activated"), this,
                          SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
            bindShortcut();
        });
}

void PortalShortcut::bindShortcut() {
    const Shortcuts shortcuts = {
        {QString::fromLatin1(ShortcutId),
         {{QStringLiteral("description"), QStringLiteral("Capture with Pellix")},
          {QStringLiteral("preferred_trigger"), QString::fromLatin1(PreferredTrigger)}}}};
    PortalRequest::call(
        m_bus, QString::fromLatin1(Interface), QStringLiteral("BindShortcuts"),
        {QVariant::fromValue(QDBusObjectPath(m_session)), QVariant::fromValue(shortcuts), QString(),
         QVariantMap()},
        [this](uint response, const QVariantMap& results) {
            m_bound = response == 0;
            Shortcuts given;
            const QVariant list = results.value(QStringLiteral("shortcuts"));
            if (list.userType() == qMetaTypeId<QDBusArgument>()) {
                list.value<QDBusArgument>() >> given;
            }
            for (const Shortcut& shortcut : given) {
                if (shortcut.id == QLatin1String(ShortcutId)) {
                    m_trigger =
                        shortcut.properties.value(QStringLiteral("trigger_description")).toString();
                }
            }
            emit boundChanged();
        });
}

bool PortalShortcut::start(Callback callback) {
    if (!m_available) {
        return false;
    }
    m_callback = std::move(callback);
    return true;
}

void PortalShortcut::stop() {
    m_callback = nullptr;
}

QString PortalShortcut::triggerName() const {
    return m_trigger.isEmpty() ? QStringLiteral("Control+Shift+P") : m_trigger;
}

void PortalShortcut::onActivated(const QDBusObjectPath& session, const QString& shortcut,
                                 qulonglong, const QVariantMap&) {
    if (session.path() != m_session || shortcut != QLatin1String(ShortcutId) || !m_callback) {
        return;
    }
    const Callback callback = m_callback;
    callback(KeyEvent::Trigger);
}

} // namespace pellix
