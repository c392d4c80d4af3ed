#pragma once

#include "platform/Shell.h"

#include <QStringList>

namespace pellix {

class FakeShell final : public Shell {
public:
    void openFile(const QString& path) override { calls << QStringLiteral("open ") + path; }
    void editFile(const QString& path) override { calls << QStringLiteral("edit ") + path; }
    void openAddress(const QString& url) override { calls << QStringLiteral("address ") + url; }

    QStringList calls;
};

} // namespace pellix
