#pragma once

#include "platform/ScreenGrabber.h"

#include <QString>

#include <memory>

namespace pellix {

// How the pixels travel from the X server.
enum class PixelTransfer {
    SharedMemory, // MIT-SHM, falling back to Plain where the server cannot share memory
    Plain,        // XGetImage over the connection, as a remote display needs
};

struct X11GrabberOptions {
    QString display;                                      // empty: the application's display
    PixelTransfer transfer = PixelTransfer::SharedMemory; // Plain forces the fallback
};

// Grabs the screen of an X server over a connection of its own, so that it
// never disturbs the toolkit's connection. The root window is the virtual
// screen: every monitor, in root coordinates.
class X11ScreenGrabber final : public ImmediateScreenGrabber {
public:
    explicit X11ScreenGrabber(X11GrabberOptions options = {});
    ~X11ScreenGrabber() override;
    X11ScreenGrabber(const X11ScreenGrabber&) = delete;
    X11ScreenGrabber& operator=(const X11ScreenGrabber&) = delete;

    GrabResult grabDesktopNow() override;
    GrabResult grabActiveWindowNow() override;

    // The transfer in use now: SharedMemory may have fallen back to Plain.
    PixelTransfer transfer() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace pellix
