#pragma once

#include "platform/Shell.h"

#include <vector>

namespace pellix::fakes {

class FakeShell : public Shell {
public:
    void openFile(const QString& path) override { calls.push_back(QStringLiteral("open ") + path); }
    void editFile(const QString& path) override { calls.push_back(QStringLiteral("edit ") + path); }
    void openAddress(const QString& url) override {
        calls.push_back(QStringLiteral("address ") + url);
    }

    std::vector<QString> calls;
};

} // namespace pellix::fakes
