#pragma once

#include "platform/Windowing.h"

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <vector>

namespace pellix {

// Message boxes return at once and are recorded; the clock only moves when the
// test moves it.
class FakeWindowing final : public Windowing {
public:
    struct Message {
        QString text;
        int style;
        QString title;
    };

    void messageBox(const QString& text, int style, const QString& title) override {
        messages.push_back({text, style, title});
        if (onMessage) {
            onMessage(text);
        }
    }
    void beep() override { ++beeps; }
    double seconds() const override { return clock; }
    double twipsPerPixelX() const override { return twipsX; }
    double twipsPerPixelY() const override { return twipsY; }

    std::vector<Message> messages;
    std::function<void(const QString&)> onMessage;
    double clock = 1000.0;
    int beeps = 0;
    double twipsX = 15.0;
    double twipsY = 15.0;
};

} // namespace pellix
