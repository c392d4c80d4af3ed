#pragma once

#include "platform/SpecialFolders.h"

namespace pellix {

class QtSpecialFolders final : public SpecialFolders {
public:
    QString specialFolder(int folderNumber) const override;
    QString programFolder() const override;
    QString homeFolder() const override;
    bool isWritableFolder(const QString& path) const override;
};

} // namespace pellix
