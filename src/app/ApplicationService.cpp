#include "app/ApplicationService.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace pellix {

ApplicationService::ApplicationService(QDBusConnection bus) : m_bus(std::move(bus)) {}

bool ApplicationService::claim() {
    if (!m_bus.isConnected()) {
        return true;
    }
    const auto reply = m_bus.interface()->registerService(
        QString::fromLatin1(BusName), QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        return false;
    }
    new ApplicationAdaptor(*this);
    m_bus.registerObject(QString::fromLatin1(ObjectPath), this);
    return true;
}

bool ApplicationService::forward(const QString& action) {
    const QVariantMap platformData;
    QDBusMessage call;
    const QString interface = QStringLiteral("org.freedesktop.Application");
    if (action.isEmpty()) {
        call = QDBusMessage::createMethodCall(QString::fromLatin1(BusName),
                                              QString::fromLatin1(ObjectPath), interface,
                                              QStringLiteral("Activate"));
        call.setArguments({platformData});
    } else {
        call = QDBusMessage::createMethodCall(QString::fromLatin1(BusName),
                                              QString::fromLatin1(ObjectPath), interface,
                                              QStringLiteral("ActivateAction"));
        call.setArguments({action, QVariantList(), platformData});
    }
    return m_bus.call(call, QDBus::Block, 5000).type() == QDBusMessage::ReplyMessage;
}

ApplicationAdaptor::ApplicationAdaptor(ApplicationService& service)
    : QDBusAbstractAdaptor(&service), m_service(service) {}

// Queued: the caller gets its answer at once, whatever message box the
// command may show.
void ApplicationAdaptor::Activate(const QVariantMap&) {
    QMetaObject::invokeMethod(
        &m_service, [service = &m_service] { emit service->activated(); }, Qt::QueuedConnection);
}

void ApplicationAdaptor::Open(const QStringList&, const QVariantMap& platformData) {
    Activate(platformData);
}

void ApplicationAdaptor::ActivateAction(const QString& action, const QVariantList&,
                                        const QVariantMap&) {
    QMetaObject::invokeMethod(
        &m_service, [service = &m_service, action] { emit service->actionRequested(action); },
        Qt::QueuedConnection);
}

} // namespace pellix
