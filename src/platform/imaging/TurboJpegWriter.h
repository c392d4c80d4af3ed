#pragma once

#include "platform/ImageEncoder.h"

#include <QIODevice>
#include <QImage>

#include <optional>

namespace pellix {

// Encodes opaque 32-bit and 24-bit images straight from their pixels with
// libjpeg-turbo, with no copy in between; the file says what Qt's writer
// would: baseline JFIF, 4:2:0, the image's resolution. Nothing when the image
// needs Qt's writer (another format, text or a colour profile to carry).
std::optional<SaveResult> writeJpegTurbo(const QImage& image, QIODevice& device, int quality);

} // namespace pellix
