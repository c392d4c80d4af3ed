// What the portal backends decide on their own: whether the desktop lets the
// user pick a window, and which returned picture files may be removed.
#include "platform/wayland/PortalScreenGrabber.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace pellix {
namespace {

TEST(Portal, OnlyDesktopsWithAWindowDialogPickWindows) {
    EXPECT_TRUE(desktopPicksWindows(QStringLiteral("GNOME")));
    EXPECT_TRUE(desktopPicksWindows(QStringLiteral("KDE")));
    EXPECT_TRUE(desktopPicksWindows(QStringLiteral("GNOME:GNOME-Classic")));
    EXPECT_FALSE(desktopPicksWindows(QStringLiteral("sway:GNOME"))); // borrows GNOME's parts
    EXPECT_FALSE(desktopPicksWindows(QString()));
}

// Only a fresh regular file in a scratch folder goes; never one of the user's.
TEST(Portal, RemovesOnlyItsOwnFreshScratchFile) {
    QTemporaryDir scratch;
    QTemporaryDir home;
    const QDateTime asked = QDateTime::currentDateTime();
    const auto make = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write("png") == 3;
    };
    const QString fresh = scratch.filePath(QStringLiteral("shot.png"));
    const QString users = home.filePath(QStringLiteral("Screenshot.png"));
    ASSERT_TRUE(make(fresh) && make(users));
    const QStringList folders = {scratch.path()};
    EXPECT_TRUE(isOurScratchFile(fresh, folders, asked));
    EXPECT_FALSE(isOurScratchFile(users, folders, asked));
    EXPECT_FALSE(isOurScratchFile(fresh, folders, asked.addSecs(60))); // older than the request
    const QString link = scratch.filePath(QStringLiteral("link.png"));
    ASSERT_TRUE(QFile::link(users, link));
    EXPECT_FALSE(isOurScratchFile(link, folders, asked)); // would lead into the user's folder
    EXPECT_FALSE(isOurScratchFile(scratch.path(), folders, asked));
}

} // namespace
} // namespace pellix
