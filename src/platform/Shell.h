#pragma once

#include <QString>

namespace pellix {

// Hands files and addresses to the desktop's associated programs. Every call
// returns at once; whether a program was found is not reported.
class Shell {
public:
    virtual ~Shell() = default;

    virtual void openFile(const QString& path) = 0;
    // The desktop's edit action for the file's type where it defines one, else open.
    virtual void editFile(const QString& path) = 0;
    // A URL such as "mailto:someone@example.org".
    virtual void openAddress(const QString& url) = 0;
};

} // namespace pellix
