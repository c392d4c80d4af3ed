#include "imageio/mImage.h"

#include "platform/Error.h"

namespace pellix::mImage {

namespace {

struct EncoderChoice {
    Encoder encoder = Encoder::None;
    std::vector<EncoderParam> params;
};

// A selector outside the table chooses no encoder, and the save then fails.
EncoderChoice chooseEncoder(std::int32_t format, std::int32_t quality, std::int32_t colourDepth,
                            std::int32_t compression) {
    switch (format) {
    case PictureFormat::Gif:
        return {Encoder::Gif, {}};
    case PictureFormat::Jpeg:
        return {Encoder::Jpeg, {{EncoderParameter::Quality, quality}}};
    case PictureFormat::Png:
        return {Encoder::Png, {}};
    case PictureFormat::Tiff:
        return {Encoder::Tiff,
                {{EncoderParameter::Compression, compression},
                 {EncoderParameter::ColorDepth, colourDepth}}};
    default:
        return {};
    }
}

} // namespace

void Save_Picture(ImageEncoder& encoder, const QImage& picture, const QString& path,
                  std::int32_t format, std::int32_t quality, std::int32_t colourDepth,
                  std::int32_t compression) {
    const EncoderChoice choice = chooseEncoder(format, quality, colourDepth, compression);
    const SaveResult result = encoder.save(picture, path, choice.encoder, choice.params);
    if (result.status != ImageStatus::Ok) {
        throw Error(SaveErrorNumber,
                    QStringLiteral("Cannot save the image. GDI+ Error:") +
                        QString::number(result.status),
                    result.detail);
    }
}

} // namespace pellix::mImage
