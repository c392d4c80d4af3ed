#pragma once

#include "platform/KeyListener.h"

namespace pellix {

// A key listener whose events the test sends.
class FakeKeyListener final : public KeyListener {
public:
    bool start(Callback callback) override {
        ++starts;
        if (refuseStart) {
            return false;
        }
        m_callback = std::move(callback);
        return true;
    }
    void stop() override { m_callback = nullptr; }
    bool listening() const override { return static_cast<bool>(m_callback); }
    QString triggerName() const override { return trigger; }
    bool canHear() const override { return hears; }

    // Reports one event, as the desktop would, while listening.
    void send(KeyEvent event) {
        if (m_callback) {
            const Callback callback = m_callback;
            callback(event);
        }
    }

    bool refuseStart = false;
    QString trigger;
    bool hears = true;
    int starts = 0;

private:
    Callback m_callback;
};

} // namespace pellix
