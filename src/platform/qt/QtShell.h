#pragma once

#include "platform/Shell.h"

namespace pellix {

class QtShell final : public Shell {
public:
    void openFile(const QString& path, const QString& workingFolder) override;
    void editFile(const QString& path, const QString& workingFolder) override;
    void openAddress(const QString& url) override;
};

} // namespace pellix
