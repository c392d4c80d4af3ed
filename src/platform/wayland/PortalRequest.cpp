#include "platform/wayland/PortalRequest.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QRandomGenerator>

namespace pellix {

namespace {

const char* const RequestInterface = "org.freedesktop.portal.Request";

QString newToken() {
    return QStringLiteral("pellix%1").arg(QRandomGenerator::global()->generate());
}

} // namespace

PortalRequest::PortalRequest(const QDBusConnection& bus, Answer answer)
    : m_bus(bus), m_answer(std::move(answer)) {
    m_limit.setSingleShot(true);
    connect(&m_limit, &QTimer::timeout, this, [this] { finish(NoAnswer, {}); });
}

QString PortalRequest::requestPath(const QDBusConnection& bus, const QString& token) {
    QString sender = bus.baseService().mid(1); // ":1.42" -> "1_42"
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

void PortalRequest::call(const QDBusConnection& bus, const QString& interface,
                         const QString& method, QVariantList arguments, Answer answer,
                         int timeoutMs) {
    if (!bus.isConnected() || arguments.isEmpty()) {
        answer(NoAnswer, {});
        return;
    }
    auto* request = new PortalRequest(bus, std::move(answer));
    const QString token = newToken();
    QVariantMap options = arguments.last().toMap();
    options.insert(QStringLiteral("handle_token"), token);
    arguments.last() = options;
    request->subscribe(requestPath(bus, token));
    if (timeoutMs > 0) {
        request->m_limit.start(timeoutMs);
    }

    QDBusMessage message = QDBusMessage::createMethodCall(
        QString::fromLatin1(PortalService), QString::fromLatin1(PortalPath), interface, method);
    message.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(message), request);
    connect(watcher, &QDBusPendingCallWatcher::finished, request,
            [request](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *call;
                if (reply.isError()) {
                    request->finish(NoAnswer, {{QStringLiteral("error"), reply.error().message()}});
                    return;
                }
                // Portals older than the handle token choose the path themselves.
                if (reply.value().path() != request->m_path) {
                    request->subscribe(reply.value().path());
                }
            });
}

void PortalRequest::subscribe(const QString& path) {
    if (!m_path.isEmpty()) {
        m_bus.disconnect(QString::fromLatin1(PortalService), m_path,
                         QString::fromLatin1(RequestInterface), QStringLiteral("Response"), this,
                         SLOT(onResponse(uint, QVariantMap)));
    }
    m_path = path;
    m_bus.connect(QString::fromLatin1(PortalService), m_path, QString::fromLatin1(RequestInterface),
                  QStringLiteral("Response"), this, SLOT(onResponse(uint, QVariantMap)));
}

void PortalRequest::onResponse(uint response, const QVariantMap& results) {
    finish(response, results);
}

void PortalRequest::finish(uint response, const QVariantMap& results) {
    if (!m_answer) {
        return;
    }
    m_limit.stop();
    m_bus.disconnect(QString::fromLatin1(PortalService), m_path,
                     QString::fromLatin1(RequestInterface), QStringLiteral("Response"), this,
                     SLOT(onResponse(uint, QVariantMap)));
    const Answer answer = std::exchange(m_answer, nullptr);
    deleteLater();
    answer(response, results);
}

} // namespace pellix
