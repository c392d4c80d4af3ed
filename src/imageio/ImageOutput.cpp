#include "imageio/ImageOutput.h"

#include "imageio/mImage.h"
#include "platform/Error.h"

#include <QTemporaryDir>

namespace pellix {

ImageOutput::ImageOutput(ImageEncoder& encoder, Clipboard& clipboard)
    : m_encoder(encoder), m_clipboard(clipboard) {}

ImageOutput::~ImageOutput() = default;

void ImageOutput::store(const QImage& picture, const QString& path) {
    m_fileHoldsPicture = false;
    mImage::Save_Picture(m_encoder, picture, path, mImage::PictureFormat::Jpeg, 90, 24, 0);
    m_fileHoldsPicture = true;
    m_clipboard.clear();
    m_clipboard.setImage(picture);
}

QString ImageOutput::fileHolding(const QImage& shown, const QString& path) {
    release();
    if (m_fileHoldsPicture) {
        return path;
    }
    auto folder = std::make_unique<QTemporaryDir>();
    const QString copy = folder->filePath(QStringLiteral("picture.png"));
    try {
        mImage::Save_Picture(m_encoder, shown, copy, mImage::PictureFormat::Png, 0, 24, 0);
    } catch (const Error&) {
        return path; // no room for it either: the file is all there is
    }
    m_temporary = std::move(folder);
    return copy;
}

void ImageOutput::release() {
    m_temporary.reset();
}

} // namespace pellix
