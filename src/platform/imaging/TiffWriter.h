#pragma once

#include "platform/ImageEncoder.h"

class QIODevice;

namespace pellix {

// A TIFF through libtiff. colourDepth is 1, 4, 8, 24 or 32 bits per pixel;
// compression one of the TiffCompression values (the CCITT kinds take 1 bit only).
SaveResult writeTiff(const QImage& image, QIODevice& device, std::int32_t compression,
                     std::int32_t colourDepth);

} // namespace pellix
