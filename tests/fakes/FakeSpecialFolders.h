#pragma once

#include "platform/SpecialFolders.h"

#include <QSet>

namespace pellix::fakes {

class FakeSpecialFolders : public SpecialFolders {
public:
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

} // namespace pellix::fakes
