#pragma once

#include "platform/ImageEncoder.h"

class QIODevice;

namespace pellix {

// An 8-bit palette GIF of the image, through giflib.
SaveResult writeGif(const QImage& image, QIODevice& device);

} // namespace pellix
