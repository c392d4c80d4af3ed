#include "imageio/mPath.h"

#include "fakes/FakeSpecialFolders.h"

#include <gtest/gtest.h>

using namespace pellix;

TEST(SpecialFolder, DesktopGetsTheSeparatorAppended) {
    FakeSpecialFolders folders;
    folders.desktop = QStringLiteral("/home/ann/Schreibtisch");
    EXPECT_EQ(mPath::Get_DesktopFolder(folders), QStringLiteral("/home/ann/Schreibtisch/"));
    EXPECT_EQ(mPath::Get_SpecialFolder(folders, FolderNumber::Desktop),
              QStringLiteral("/home/ann/Schreibtisch/"));
}

TEST(SpecialFolder, UnresolvedFolderGivesEmptyText) {
    FakeSpecialFolders folders;
    folders.desktop.clear();
    EXPECT_TRUE(mPath::Get_DesktopFolder(folders).isEmpty());
    EXPECT_TRUE(mPath::Get_SpecialFolder(folders, 5).isEmpty());
}

TEST(SpecialFolder, RootFolderKeepsASingleSeparator) {
    EXPECT_EQ(mPath::WithSeparator(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(mPath::WithSeparator(QStringLiteral("/srv/a b")), QStringLiteral("/srv/a b/"));
}
