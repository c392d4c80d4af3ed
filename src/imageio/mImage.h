#pragma once

#include "platform/ImageEncoder.h"

#include <QImage>
#include <QString>
#include <cstdint>

namespace pellix::mImage {

// Format selectors of Save_Picture.
namespace PictureFormat {
constexpr std::int32_t Gif = 0;
constexpr std::int32_t Jpeg = 1;
constexpr std::int32_t Png = 2;
constexpr std::int32_t Tiff = 3;
} // namespace PictureFormat

// The number of the error a failed save raises.
constexpr int SaveErrorNumber = 5;

// Writes the picture to `path` in the chosen format. Quality is used by JPEG only,
// colour depth and compression by TIFF only. Throws pellix::Error number 5,
// "Cannot save the image. GDI+ Error:" followed by the status, when the save fails.
void Save_Picture(ImageEncoder& encoder, const QImage& picture, const QString& path,
                  std::int32_t format, std::int32_t quality, std::int32_t colourDepth,
                  std::int32_t compression);

} // namespace pellix::mImage
