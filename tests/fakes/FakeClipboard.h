#pragma once

#include "platform/Clipboard.h"

#include <QStringList>

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
        record(QStringLiteral("image"));
    }
    void setText(const QString& text) override {
        heldText = text;
        heldImage = {};
        record(QStringLiteral("text:") + text);
    }
    QImage image() const override { return heldImage; }
    QString text() const override { return heldText; }

    QImage heldImage;
    QString heldText;
    QStringList log; // "clear", "image", "text:<the text>"
    int changes = 0;

private:
    void record(const QString& call) {
        log << call;
        ++changes;
    }
};

} // namespace pellix
