#pragma once

#include "platform/ImageEncoder.h"

#include <QSet>

namespace pellix {

// Writes image files with Qt's JPEG and PNG writers (libjpeg-turbo and libpng
// underneath), giflib and libtiff. The file is written beside its final name and
// renamed over it only when complete (see replaceFile). The first save to a
// name removes what a killed save of an earlier run left beside it.
class FileImageEncoder final : public ImageEncoder {
public:
    SaveResult save(const QImage& image, const QString& path, Encoder encoder,
                    const std::vector<EncoderParam>& params) override;

private:
    QSet<QString> m_tidied; // the paths whose leftovers are gone
};

} // namespace pellix
