#pragma once

#include "platform/SpecialFolders.h"

#include <QSet>

namespace pellix {

// A desktop, a program folder and a home of the test's choosing; only the
// folders in `writable` count as writable.
class FakeSpecialFolders final : public SpecialFolders {
public:
    FakeSpecialFolders() = default;
    // Every folder is `folder`, typically a temporary directory.
    explicit FakeSpecialFolders(const QString& folder)
        : desktop(folder), program(folder), home(folder), writable{folder} {}

    QString specialFolder(int folderNumber) const override {
        return folderNumber == FolderNumber::Desktop ? desktop : QString();
    }
    QString programFolder() const override { return program; }
    QString homeFolder() const override { return home; }
    bool isWritableFolder(const QString& path) const override { return writable.contains(path); }

    QString desktop = QStringLiteral("/home/ann/Desktop");
    QString program = QStringLiteral("/opt/pellix/bin");
    QString home = QStringLiteral("/home/ann");
    QSet<QString> writable;
};

} // namespace pellix
