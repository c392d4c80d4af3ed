#pragma once

#include "platform/KeyListener.h"

#include <map>
#include <vector>

namespace pellix {

// A key listener whose key states the test sets bit by bit and whose events the
// test sends. Queries clear the pressed-since-query bit, as on the desktop.
class FakeKeyListener final : public KeyListener {
public:
    std::int32_t arm(Callback callback) override {
        ++armCalls;
        if (refuseArm) {
            return 0;
        }
        const std::int32_t handle = m_nextHandle++;
        m_callbacks[handle] = std::move(callback);
        return handle;
    }

    void disarm(std::int32_t handle) override {
        ++disarmCalls;
        m_callbacks.erase(handle);
    }

    int armedCount() const override { return static_cast<int>(m_callbacks.size()); }

    std::int16_t asyncKeyState(int virtualKey) override {
        queried.push_back(virtualKey);
        std::int16_t& state = states[virtualKey];
        const std::int16_t value = state;
        state = static_cast<std::int16_t>(state & ~KeyState::PressedSinceQuery);
        return value;
    }

    // Sends one event to every armed callback, as the desktop would.
    void send(int message, int code = KeyActionCode) {
        std::vector<Callback> callbacks;
        for (const auto& entry : m_callbacks) {
            callbacks.push_back(entry.second);
        }
        for (const Callback& callback : callbacks) {
            callback(code, message, 0);
        }
    }

    std::map<int, std::int16_t> states;
    std::vector<int> queried;
    bool refuseArm = false;
    int armCalls = 0;
    int disarmCalls = 0;

private:
    std::map<std::int32_t, Callback> m_callbacks;
    std::int32_t m_nextHandle = 7;
};

} // namespace pellix
