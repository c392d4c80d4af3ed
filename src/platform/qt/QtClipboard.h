#pragma once

#include "platform/Clipboard.h"

namespace pellix {

class QtClipboard final : public Clipboard {
public:
    void clear() override;
    void setImage(const QImage& image) override;
    void setText(const QString& text) override;
    QImage image() const override;
    QString text() const override;
};

} // namespace pellix
