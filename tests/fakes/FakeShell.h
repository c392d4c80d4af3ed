#pragma once

#include "platform/Shell.h"

#include <QStringList>

namespace pellix {

class FakeShell final : public Shell {
public:
    void openFile(const QString& path, const QString& workingFolder) override {
        calls << QStringLiteral("open ") + path;
        workingFolders << workingFolder;
    }
    void editFile(const QString& path, const QString& workingFolder) override {
        calls << QStringLiteral("edit ") + path;
        workingFolders << workingFolder;
    }
    void openAddress(const QString& url) override { calls << QStringLiteral("address ") + url; }

    QStringList calls;
    QStringList workingFolders;
};

} // namespace pellix
