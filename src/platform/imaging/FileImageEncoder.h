#pragma once

#include "platform/ImageEncoder.h"

namespace pellix {

// Writes image files with Qt's JPEG and PNG writers (libjpeg-turbo and libpng
// underneath), giflib and libtiff. The file is written beside its final name and
// renamed over it only when complete.
class FileImageEncoder final : public ImageEncoder {
public:
    SaveResult save(const QImage& image, const QString& path, Encoder encoder,
                    const std::vector<EncoderParam>& params) override;
};

} // namespace pellix
