#pragma once

#include <QImage>
#include <QPoint>
#include <QString>

#include <functional>

namespace pellix {

// A grab either carries an image or says why there is none.
struct GrabResult {
    QImage image;
    QString error;
    // Where the image's top-left corner lies on the virtual screen.
    QPoint origin;

    bool ok() const { return !image.isNull(); }
};

// Copies of what the screen shows, in physical pixels, 1:1 with the screen.
// A grab may take its time (a desktop portal asks the compositor, and perhaps
// the user): the answer comes later on the user-interface thread, or at once.
class ScreenGrabber {
public:
    using Done = std::function<void(const GrabResult&)>;

    virtual ~ScreenGrabber() = default;

    // The whole virtual screen, every monitor, from its top-left corner.
    virtual void grabDesktop(Done done) = 0;
    // The active top-level window with its frame, as it stands on the screen.
    // Where the desktop tells no program which window is active, the user
    // picks it in the desktop's own dialog.
    virtual void grabActiveWindow(Done done) = 0;
    // False where neither is possible: then the caller takes another way.
    virtual bool canGrabWindow() const { return true; }
};

// A grabber whose answers are ready at once.
class ImmediateScreenGrabber : public ScreenGrabber {
public:
    virtual GrabResult grabDesktopNow() = 0;
    virtual GrabResult grabActiveWindowNow() = 0;

    void grabDesktop(Done done) final { done(grabDesktopNow()); }
    void grabActiveWindow(Done done) final { done(grabActiveWindowNow()); }
};

} // namespace pellix
