#pragma once

#include "platform/SpecialFolders.h"

#include <QFileInfo>

namespace pellix {

// Folders set by the test; the desktop is usually a temporary folder.
class FakeSpecialFolders : public SpecialFolders {
public:
    QString desktop;
    QString program = QStringLiteral("/nonexistent/program");
    QString home = QStringLiteral("/nonexistent/home");

    QString specialFolder(int folderNumber) const override {
        return folderNumber == FolderNumber::Desktop ? desktop : QString();
    }
    QString programFolder() const override { return program; }
    QString homeFolder() const override { return home; }
    bool isWritableFolder(const QString& path) const override {
        const QFileInfo info(path);
        return info.isDir() && info.isWritable();
    }
};

} // namespace pellix
