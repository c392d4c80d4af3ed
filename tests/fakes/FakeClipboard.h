#pragma once

#include "platform/Clipboard.h"

#include <QStringList>

namespace pellix {

// A clipboard in memory that also writes down each change, in order.
class FakeClipboard : public Clipboard {
public:
    QStringList log;
    QImage heldImage;
    QString heldText;

    void clear() override {
        log << QStringLiteral("clear");
        heldImage = {};
        heldText.clear();
    }
    void setImage(const QImage& image) override {
        log << QStringLiteral("image");
        heldImage = image;
        heldText.clear();
    }
    void setText(const QString& text) override {
        log << QStringLiteral("text:") + text;
        heldText = text;
        heldImage = {};
    }
    QImage image() const override { return heldImage; }
    QString text() const override { return heldText; }
};

} // namespace pellix
