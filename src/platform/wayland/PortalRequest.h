#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>

#include <functional>

namespace pellix {

// One call to a desktop portal that answers through a Request object: the
// answer is a Response signal on a path made of our bus name and a token of
// ours. The signal is subscribed before the call, so an answer cannot slip by.
class PortalRequest final : public QObject {
    Q_OBJECT
public:
    // `response`: 0 done, 1 cancelled by the user, 2 refused or failed; 3 for
    // no answer at all (no portal, a failed call, or the time limit passed).
    using Answer = std::function<void(uint response, const QVariantMap& results)>;
    static constexpr uint NoAnswer = 3;

    // Calls `method` of `interface` on the portal with `arguments`; the last
    // argument must be the options map, to which the handle token is added.
    // The request deletes itself after answering; `timeoutMs` 0 waits forever
    // (the user may be choosing in a dialog).
    static void call(const QDBusConnection& bus, const QString& interface, const QString& method,
                     QVariantList arguments, Answer answer, int timeoutMs = 0);

    // The Request path the portal will use for `token` on `bus`.
    static QString requestPath(const QDBusConnection& bus, const QString& token);

private slots:
    void onResponse(uint response, const QVariantMap& results);

private:
    PortalRequest(const QDBusConnection& bus, Answer answer);
    void subscribe(const QString& path);
    void finish(uint response, const QVariantMap& results);

    QDBusConnection m_bus;
    Answer m_answer;
    QString m_path;
    QTimer m_limit;
};

inline constexpr const char* PortalService = "org.freedesktop.portal.Desktop";
inline constexpr const char* PortalPath = "/org/freedesktop/portal/desktop";

} // namespace pellix
