#pragma once

#include "platform/Shell.h"

#include <QStringList>

namespace pellix {

// Writes down what would have been handed to the desktop.
class FakeShell : public Shell {
public:
    QStringList calls;

    void openFile(const QString& path) override { calls << QStringLiteral("open ") + path; }
    void editFile(const QString& path) override { calls << QStringLiteral("edit ") + path; }
    void openAddress(const QString& url) override { calls << QStringLiteral("address ") + url; }
};

} // namespace pellix
