#include "platform/imaging/FileImageEncoder.h"

#include "platform/imaging/EncoderParams.h"
#include "platform/imaging/GifWriter.h"
#include "platform/imaging/ReplaceFile.h"
#include "platform/imaging/TiffWriter.h"
#include "platform/imaging/TurboJpegWriter.h"

#include <QBuffer>
#include <QImageWriter>

namespace pellix {

namespace {

constexpr std::int32_t DefaultJpegQuality = 75;

SaveResult failed(int status, QString detail) {
    return {status, std::move(detail)};
}

SaveResult writeWithQt(const QImage& image, QIODevice& device, const char* format, int quality) {
    QImageWriter writer(&device, format);
    writer.setQuality(quality);
    if (writer.write(image)) {
        return {};
    }
    if (writer.error() == QImageWriter::DeviceError) {
        return failed(ImageStatus::Win32Error, writer.errorString());
    }
    return failed(ImageStatus::GenericError, writer.errorString());
}

SaveResult writeJpeg(const QImage& image, QIODevice& device,
                     const std::vector<EncoderParam>& params) {
    const std::int32_t quality =
        findParam(params, EncoderParameter::Quality).value_or(DefaultJpegQuality);
    if (quality < 0 || quality > 100) {
        return failed(ImageStatus::InvalidParameter,
                      QStringLiteral("JPEG quality %1 is outside 0 to 100").arg(quality));
    }
    // Screen grabs go straight from their pixels to the encoder.
    if (std::optional<SaveResult> direct = writeJpegTurbo(image, device, quality)) {
        return *direct;
    }
    // JPEG has no alpha: flatten to 24-bit colour first.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull()) {
        return failed(ImageStatus::OutOfMemory, QStringLiteral("not enough memory"));
    }
    return writeWithQt(rgb, device, "jpeg", quality);
}

SaveResult encode(const QImage& image, QIODevice& device, Encoder encoder,
                  const std::vector<EncoderParam>& params) {
    switch (encoder) {
    case Encoder::Jpeg:
        return writeJpeg(image, device, params);
    case Encoder::Png:
        return writeWithQt(image, device, "png", -1);
    case Encoder::Gif:
        return writeGif(image, device);
    case Encoder::Tiff:
        return writeTiff(
            image, device,
            findParam(params, EncoderParameter::Compression).value_or(TiffCompression::Lzw),
            findParam(params, EncoderParameter::ColorDepth).value_or(24));
    case Encoder::None:
        break;
    }
    return failed(ImageStatus::InvalidParameter, QStringLiteral("no encoder chosen"));
}

} // namespace

SaveResult FileImageEncoder::save(const QImage& image, const QString& path, Encoder encoder,
                                  const std::vector<EncoderParam>& params) {
    if (image.isNull()) {
        return failed(ImageStatus::InvalidParameter, QStringLiteral("there is no image"));
    }
    if (encoder == Encoder::None) {
        return failed(ImageStatus::InvalidParameter, QStringLiteral("no encoder chosen"));
    }
    if (!m_tidied.contains(path)) {
        m_tidied.insert(path);
        removeLeftovers(path);
    }
    // Encode in memory, then write once: encoders report a failed write vaguely,
    // a single write of the whole file reports exactly what the system said.
    QBuffer encoded;
    encoded.open(QIODevice::ReadWrite);
    const SaveResult result = encode(image, encoded, encoder, params);
    if (result.status != ImageStatus::Ok) {
        return result;
    }
    const QString reason = replaceFile(path, encoded.data());
    if (!reason.isEmpty()) {
        return failed(ImageStatus::Win32Error, reason);
    }
    return {};
}

} // namespace pellix
