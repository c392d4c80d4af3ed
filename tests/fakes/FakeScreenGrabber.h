#pragma once

#include "platform/ScreenGrabber.h"

#include <functional>
#include <vector>

namespace pellix {

// Hands out the images the test set, and lets the test look around at the
// moment of the grab (is the main window out of sight?). With `deferred` set
// the answers wait until answerPending(), as a portal's do.
class FakeScreenGrabber final : public ScreenGrabber {
public:
    void grabDesktop(Done done) override {
        ++desktopGrabs;
        answer(desktop, std::move(done));
    }
    void grabActiveWindow(Done done) override {
        ++windowGrabs;
        answer(window, std::move(done));
    }
    bool canGrabWindow() const override { return windowGrabbable; }

    void answerPending() {
        for (auto& [result, done] : std::exchange(pending, {})) {
            done(result);
        }
    }

    GrabResult desktop;
    GrabResult window;
    std::function<void()> onGrab;
    int desktopGrabs = 0;
    int windowGrabs = 0;
    bool deferred = false;
    bool windowGrabbable = true;
    std::vector<std::pair<GrabResult, Done>> pending;

private:
    void answer(const GrabResult& result, Done done) {
        if (onGrab) {
            onGrab();
        }
        if (deferred) {
            pending.emplace_back(result, std::move(done));
        } else {
            done(result);
        }
    }
};

} // namespace pellix
