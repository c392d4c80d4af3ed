#pragma once

#include "platform/ScreenGrabber.h"

#include <QDBusConnection>
#include <QDateTime>
#include <QString>

namespace pellix {

// Whether the desktop named by XDG_CURRENT_DESKTOP lets the user pick a window
// in its screenshot dialog. The first name is the desktop itself; the others
// only say whose parts it borrows.
bool desktopPicksWindows(const QString& currentDesktop);

// Whether the picture file a portal handed back may be removed after reading:
// only a file made for this request (not older than it) that lies in the
// runtime or temporary folder, never one in the user's own folders.
bool isOurScratchFile(const QString& path, const QStringList& scratchFolders,
                      const QDateTime& requestedAt);

// Screen grabs through the desktop portal's Screenshot interface: the whole
// desktop without asking, and a window picked in the desktop's own dialog
// where the desktop offers one.
class PortalScreenGrabber final : public ScreenGrabber {
public:
    explicit PortalScreenGrabber(QDBusConnection bus = QDBusConnection::sessionBus());

    void grabDesktop(Done done) override;
    void grabActiveWindow(Done done) override;
    bool canGrabWindow() const override;

private:
    void request(bool interactive, Done done);

    QDBusConnection m_bus;
};

} // namespace pellix
