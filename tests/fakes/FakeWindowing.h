#pragma once

#include "platform/Windowing.h"

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <vector>

namespace pellix {

// Message boxes return at once and are recorded; the clock only moves when the
// program waits, so waits are exact and take no real time. Event passes run
// the real event loop, so widgets under test still paint and get their events.
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
    void doEvents() override {
        ++eventPasses;
        QCoreApplication::processEvents();
    }
    void waitEvents(double maxSeconds) override {
        waits.push_back(maxSeconds);
        QCoreApplication::processEvents();
        clock += maxSeconds;
    }
    double seconds() const override { return clock; }
    double twipsPerPixelX() const override { return twipsX; }
    double twipsPerPixelY() const override { return twipsY; }

    std::vector<Message> messages;
    std::function<void(const QString&)> onMessage;
    std::vector<double> waits;
    double clock = 1000.0;
    int beeps = 0;
    int eventPasses = 0;
    double twipsX = 15.0;
    double twipsY = 15.0;
};

} // namespace pellix
