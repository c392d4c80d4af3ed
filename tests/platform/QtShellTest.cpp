#include "platform/qt/QtShell.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace pellix;

// The desktop's opener is replaced by a script that writes down where it ran
// and what it was given.
TEST(QtShell, OpensTheFileWithTheDesktopsOpenerInTheWorkingFolderAskedFor) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString bin = dir.filePath(QStringLiteral("bin"));
    const QString folder = dir.filePath(QStringLiteral("images"));
    const QString record = dir.filePath(QStringLiteral("record"));
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(folder));
    QFile opener(bin + QStringLiteral("/xdg-open"));
    ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
    opener.write(QStringLiteral("#!/bin/sh\npwd > '%1.part'; echo \"$1\" >> '%1.part'; "
                                "mv '%1.part' '%1'\n")
                     .arg(record)
                     .toLocal8Bit());
    opener.close();
    opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString image = folder + QStringLiteral("/Pellix.JPG");
    QFile(image).open(QIODevice::WriteOnly);

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.toLocal8Bit() + ":" + path);
    QtShell shell;
    shell.editFile(image, folder);
    qputenv("PATH", path);

    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(record); }, 10000));
    QFile written(record);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLocal8Bit(written.readAll()).split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], QDir(folder).canonicalPath());
    EXPECT_EQ(lines[1], QStringLiteral("file://") + image);
}
