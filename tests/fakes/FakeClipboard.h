#pragma once

#include "platform/Clipboard.h"

#include <vector>

namespace pellix {

// Holds what was put on it, and the calls in their order.
class FakeClipboard final : public Clipboard {
public:
    void clear() override {
        heldImage = {};
        heldText.clear();
        record(QStringLiteral("clear"));
    }
    void setImage(const QImage& image) override {
        heldImage = image;
        heldText.clear();
        record(QStringLiteral("setImage"));
    }
    void setText(const QString& text) override {
        heldText = text;
        heldImage = {};
        record(QStringLiteral("setText"));
    }
    QImage image() const override { return heldImage; }
    QString text() const override { return heldText; }

    QImage heldImage;
    QString heldText;
    std::vector<QString> log;
    int changes = 0;

private:
    void record(const QString& call) {
        log.push_back(call);
        ++changes;
    }
};

} // namespace pellix
