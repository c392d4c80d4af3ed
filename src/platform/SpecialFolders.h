#pragma once

#include <QString>

namespace pellix {

// Shell folder numbers the program asks for.
namespace FolderNumber {
constexpr int Desktop = 16;
} // namespace FolderNumber

// Folders that the desktop and the running program define. Paths carry no
// trailing separator except at the file system's root.
class SpecialFolders {
public:
    virtual ~SpecialFolders() = default;

    // The folder's path, or empty when the desktop does not define it or it does not exist.
    virtual QString specialFolder(int folderNumber) const = 0;
    // The folder that holds the running program.
    virtual QString programFolder() const = 0;
    virtual QString homeFolder() const = 0;
    virtual bool isWritableFolder(const QString& path) const = 0;
};

} // namespace pellix
