#pragma once

#include "platform/SpecialFolders.h"

#include <QFileInfo>

namespace pellix {

// Every folder is the one the test gives, typically a temporary directory.
class FakeSpecialFolders final : public SpecialFolders {
public:
    explicit FakeSpecialFolders(QString folder) : m_folder(std::move(folder)) {}

    QString specialFolder(int folderNumber) const override {
        return folderNumber == FolderNumber::Desktop ? m_folder : QString();
    }
    QString programFolder() const override { return m_folder; }
    QString homeFolder() const override { return m_folder; }
    bool isWritableFolder(const QString& path) const override {
        return QFileInfo(path).isWritable();
    }

private:
    QString m_folder;
};

} // namespace pellix
