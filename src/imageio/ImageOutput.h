#pragma once

#include "platform/Clipboard.h"
#include "platform/ImageEncoder.h"

#include <QImage>
#include <QString>

#include <memory>

class QTemporaryDir;

namespace pellix {

// The picture's two destinations, the image file and the clipboard, and which
// file holds the picture the view shows.
class ImageOutput {
public:
    ImageOutput(ImageEncoder& encoder, Clipboard& clipboard);
    ~ImageOutput();

    // Writes the picture to `path` as JPEG at quality 90, then puts it on the
    // clipboard. A file that cannot be written throws error 5 and leaves the
    // clipboard alone.
    void store(const QImage& picture, const QString& path);
    // The file that holds `shown`: `path`, unless the last store failed; then
    // `shown` written losslessly to a temporary folder, kept until release().
    // So an image edited in the file is what is read, and never another one
    // than the view shows.
    QString fileHolding(const QImage& shown, const QString& path);
    void release();

private:
    ImageEncoder& m_encoder;
    Clipboard& m_clipboard;
    bool m_fileHoldsPicture = false;
    std::unique_ptr<QTemporaryDir> m_temporary;
};

} // namespace pellix
