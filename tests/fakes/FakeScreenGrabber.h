#pragma once

#include "platform/ScreenGrabber.h"

#include <functional>

namespace pellix {

// Hands out the images the test set, and lets the test look around at the
// moment of the grab (is the main window out of sight?).
class FakeScreenGrabber final : public ScreenGrabber {
public:
    GrabResult grabDesktop() override {
        ++desktopGrabs;
        if (onGrab) {
            onGrab();
        }
        return desktop;
    }
    GrabResult grabActiveWindow() override {
        ++windowGrabs;
        if (onGrab) {
            onGrab();
        }
        return window;
    }

    GrabResult desktop;
    GrabResult window;
    std::function<void()> onGrab;
    int desktopGrabs = 0;
    int windowGrabs = 0;
};

} // namespace pellix
