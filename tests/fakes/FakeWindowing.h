#pragma once

#include "platform/Windowing.h"

#include <QCoreApplication>

#include <functional>
#include <vector>

namespace pellix {

// Message boxes return at once and are recorded; the clock only moves when the
// program waits, so waits take no real time.
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
    void doEvents() override { QCoreApplication::processEvents(); }
    void waitEvents(double maxSeconds) override {
        waits.push_back(maxSeconds);
        QCoreApplication::processEvents();
        clock += maxSeconds;
    }
    double seconds() const override { return clock; }
    double twipsPerPixelX() const override { return 15.0; }
    double twipsPerPixelY() const override { return 15.0; }

    std::vector<Message> messages;
    std::function<void(const QString&)> onMessage;
    std::vector<double> waits;
    double clock = 1000.0;
    int beeps = 0;
};

} // namespace pellix
