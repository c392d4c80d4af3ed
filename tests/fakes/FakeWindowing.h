#pragma once

#include "platform/Windowing.h"

#include <QCoreApplication>
#include <QStringList>

#include <vector>

namespace pellix {

// Records message boxes and beeps instead of showing or sounding them; events
// are processed for real, the clock and the screen are fixed.
class FakeWindowing : public Windowing {
public:
    struct Box {
        QString text;
        int style;
        QString title;
    };
    std::vector<Box> boxes;
    int beeps = 0;
    double clock = 0;

    void messageBox(const QString& text, int style, const QString& title) override {
        boxes.push_back({text, style, title});
    }
    void beep() override { ++beeps; }
    void doEvents() override { QCoreApplication::processEvents(); }
    void waitEvents(double maxSeconds) override { clock += maxSeconds; }
    double seconds() const override { return clock; }
    double twipsPerPixelX() const override { return 15; }
    double twipsPerPixelY() const override { return 15; }
};

} // namespace pellix
