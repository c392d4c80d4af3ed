#pragma once

#include <QImage>
#include <QPoint>
#include <QString>

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
class ScreenGrabber {
public:
    virtual ~ScreenGrabber() = default;

    // The whole virtual screen, every monitor, from its top-left corner.
    virtual GrabResult grabDesktop() = 0;
    // The active top-level window with its frame, as it stands on the screen.
    virtual GrabResult grabActiveWindow() = 0;
};

} // namespace pellix
