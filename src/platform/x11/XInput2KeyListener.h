#pragma once

#include "platform/KeyListener.h"

#include <QObject>
#include <QString>

#include <memory>

namespace pellix {

// The key chord and Escape from XInput2 raw events on the root window, read on
// the user-interface thread from a connection of its own. Raw events reach us
// whatever window has the focus and even while another client grabs the
// keyboard; we never grab it ourselves. Each event is judged by the key states
// as they were before it (see chordEvent).
class XInput2KeyListener final : public QObject, public KeyListener {
    Q_OBJECT
public:
    // Opens its connection to the display in $DISPLAY; when that fails, or the
    // server has no XInput 2.1, every arm() is refused and error() says why.
    XInput2KeyListener();
    ~XInput2KeyListener() override;

    bool start(Callback callback) override;
    void stop() override;
    bool listening() const override;

    const QString& error() const;

private:
    void readEvents();

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace pellix
