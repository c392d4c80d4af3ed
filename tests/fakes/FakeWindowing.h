#pragma once

#include "platform/Windowing.h"

#include <QString>
#include <functional>
#include <vector>

namespace pellix::fakes {

struct MessageBoxCall {
    QString text;
    int style;
    QString title;
};

// Records what the logic asked of the windowing toolkit. The clock only moves
// when a test or a wait moves it, so waits are exact and instant.
class FakeWindowing : public Windowing {
public:
    void messageBox(const QString& text, int style, const QString& title) override {
        messageBoxes.push_back({text, style, title});
        log.push_back(QStringLiteral("messageBox"));
        if (onMessageBox) {
            onMessageBox();
        }
    }
    void beep() override {
        ++beeps;
        log.push_back(QStringLiteral("beep"));
    }
    void doEvents() override {
        ++eventPasses;
        log.push_back(QStringLiteral("doEvents"));
        if (onEvents) {
            onEvents();
        }
    }
    void waitEvents(double maxSeconds) override {
        now += maxSeconds;
        log.push_back(QStringLiteral("waitEvents"));
        if (onEvents) {
            onEvents();
        }
    }
    double seconds() const override { return now; }
    double twipsPerPixelX() const override { return twipsX; }
    double twipsPerPixelY() const override { return twipsY; }

    std::vector<MessageBoxCall> messageBoxes;
    std::vector<QString> log;
    int beeps = 0;
    int eventPasses = 0;
    double now = 1000.0;
    double twipsX = 15.0;
    double twipsY = 15.0;
    std::function<void()> onMessageBox;
    std::function<void()> onEvents;
};

} // namespace pellix::fakes
