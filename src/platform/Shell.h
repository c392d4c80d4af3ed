#pragma once

#include <QString>

namespace pellix {

// Hands files and addresses to the desktop's associated programs. Every call
// returns at once; whether a program was found is not reported.
class Shell {
public:
    virtual ~Shell() = default;

    // The program started for the file runs in `workingFolder`.
    virtual void openFile(const QString& path, const QString& workingFolder) = 0;
    // The desktop's edit action for the file's type where it defines one, else open.
    virtual void editFile(const QString& path, const QString& workingFolder) = 0;
    // A URL such as "mailto:someone@example.org".
    virtual void openAddress(const QString& url) = 0;
};

} // namespace pellix
