#pragma once

#include "platform/KeyListener.h"

#include <QObject>
#include <QString>

#include <memory>

namespace pellix {

// The desktop's key events from XInput2 raw events on the root window, read on
// the user-interface thread from a connection of its own. Raw events reach us
// whatever window has the focus and even while another client grabs the
// keyboard; we never grab it ourselves.
class XInput2KeyListener final : public QObject, public KeyListener {
    Q_OBJECT
public:
    // Opens its connection to the display in $DISPLAY; when that fails, or the
    // server has no XInput 2.1, every arm() is refused and error() says why.
    XInput2KeyListener();
    ~XInput2KeyListener() override;

    std::int32_t arm(Callback callback) override;
    void disarm(std::int32_t handle) override;
    int armedCount() const override;
    std::int16_t asyncKeyState(int virtualKey) override;

    const QString& error() const;

private:
    void readEvents();

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace pellix
