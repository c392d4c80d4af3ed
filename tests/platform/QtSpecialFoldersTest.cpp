#include "platform/qt/QtSpecialFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pellix;

namespace {

// Points the XDG user directories at a temporary home for the test's duration.
class XdgHome {
public:
    XdgHome() {
        m_oldHome = qgetenv("HOME");
        m_oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", m_dir.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (m_dir.path() + QStringLiteral("/.config")).toLocal8Bit());
        QDir(m_dir.path()).mkpath(QStringLiteral(".config"));
    }
    ~XdgHome() {
        qputenv("HOME", m_oldHome);
        qputenv("XDG_CONFIG_HOME", m_oldConfig);
    }
    QString path() const { return m_dir.path(); }
    void writeUserDirs(const QByteArray& line) {
        QFile file(m_dir.path() + QStringLiteral("/.config/user-dirs.dirs"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(line + "\n");
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_oldHome;
    QByteArray m_oldConfig;
};

} // namespace

TEST(QtSpecialFolders, DesktopFolderOnlyWhenItExists) {
    XdgHome home;
    QtSpecialFolders folders;
    EXPECT_TRUE(folders.specialFolder(FolderNumber::Desktop).isEmpty());
    QDir(home.path()).mkdir(QStringLiteral("Desktop"));
    EXPECT_EQ(folders.specialFolder(FolderNumber::Desktop),
              home.path() + QStringLiteral("/Desktop"));
}

TEST(QtSpecialFolders, DesktopFollowsTheXdgUserDirectories) {
    XdgHome home;
    home.writeUserDirs("XDG_DESKTOP_DIR=\"$HOME/Schreib tisch\"");
    QDir(home.path()).mkdir(QStringLiteral("Schreib tisch"));
    EXPECT_EQ(QtSpecialFolders().specialFolder(FolderNumber::Desktop),
              home.path() + QStringLiteral("/Schreib tisch"));
}

TEST(QtSpecialFolders, OtherFolderNumbersAreNotResolved) {
    EXPECT_TRUE(QtSpecialFolders().specialFolder(5).isEmpty());
}

TEST(QtSpecialFolders, WritableFolderCheck) {
    QTemporaryDir dir;
    QtSpecialFolders folders;
    EXPECT_TRUE(folders.isWritableFolder(dir.path()));
    EXPECT_FALSE(folders.isWritableFolder(dir.path() + QStringLiteral("/missing")));
}
