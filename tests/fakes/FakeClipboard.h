#pragma once

#include "platform/Clipboard.h"

#include <vector>

namespace pellix::fakes {

class FakeClipboard : public Clipboard {
public:
    void clear() override {
        heldImage = QImage();
        heldText.clear();
        log.push_back(QStringLiteral("clear"));
    }
    void setImage(const QImage& image) override {
        heldImage = image;
        heldText.clear();
        log.push_back(QStringLiteral("setImage"));
    }
    void setText(const QString& text) override {
        heldText = text;
        heldImage = QImage();
        log.push_back(QStringLiteral("setText"));
    }
    QImage image() const override { return heldImage; }
    QString text() const override { return heldText; }

    QImage heldImage;
    QString heldText;
    std::vector<QString> log;
};

} // namespace pellix::fakes
