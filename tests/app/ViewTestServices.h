#pragma once

#include "app/Services.h"
#include "platform/imaging/FileImageEncoder.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtWindowing.h"

#include <QStringList>
#include <QTemporaryDir>

namespace pellix::testing {

// Folders inside a temporary directory: the desktop exists, the program folder is given.
class TempFolders final : public SpecialFolders {
public:
    explicit TempFolders(const QString& root) : m_root(root) {}
    QString specialFolder(int folderNumber) const override {
        return folderNumber == FolderNumber::Desktop ? m_root : QString();
    }
    QString programFolder() const override { return programPath; }
    QString homeFolder() const override { return m_root; }
    bool isWritableFolder(const QString&) const override { return true; }

    QString programPath = QStringLiteral("/opt/pellix");

private:
    QString m_root;
};

// Remembers what would have been handed to the desktop.
class RecordingShell final : public Shell {
public:
    void openFile(const QString& path) override { calls << QStringLiteral("open ") + path; }
    void editFile(const QString& path) override { calls << QStringLiteral("edit ") + path; }
    void openAddress(const QString& url) override { calls << QStringLiteral("address ") + url; }
    QStringList calls;
};

// The real windowing, clipboard and encoder; folders and shell that stay inside the test.
struct ViewTestServices {
    QTemporaryDir dir;
    QtWindowing windowing;
    QtClipboard clipboard;
    RecordingShell shell;
    TempFolders folders{dir.path()};
    FileImageEncoder encoder;

    Services services() { return {windowing, clipboard, shell, folders, encoder}; }
};

} // namespace pellix::testing
