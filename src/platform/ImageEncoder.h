#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

namespace pellix {

// Status numbers of an image save; 0 is success. They follow the numbering of
// the classic imaging status codes, so that the same kind of failure always
// carries the same number.
namespace ImageStatus {
constexpr int Ok = 0;
constexpr int GenericError = 1;
constexpr int InvalidParameter = 2;
constexpr int OutOfMemory = 3;
constexpr int Win32Error = 7; // the file cannot be opened or written
constexpr int AccessDenied = 12;
constexpr int UnknownImageFormat = 13;
} // namespace ImageStatus

enum class Encoder { None, Gif, Jpeg, Png, Tiff };

enum class EncoderParameter { Quality, Compression, ColorDepth };

// Compression values for TIFF, by their classic numbers.
namespace TiffCompression {
constexpr std::int32_t Lzw = 2;
constexpr std::int32_t Ccitt3 = 3;
constexpr std::int32_t Ccitt4 = 4;
constexpr std::int32_t Rle = 5;
constexpr std::int32_t None = 6;
} // namespace TiffCompression

struct EncoderParam {
    EncoderParameter id;
    std::int32_t value;
};

struct SaveResult {
    int status = ImageStatus::Ok;
    QString detail; // what the library or the system said, when status is not Ok
};

// Writes an image to a file with one encoder. A file of the same name is only
// replaced when the new one is complete: after any failure the old file is whole.
// The entry at the name is replaced itself; a symbolic link is never written through.
class ImageEncoder {
public:
    virtual ~ImageEncoder() = default;

    virtual SaveResult save(const QImage& image, const QString& path, Encoder encoder,
                            const std::vector<EncoderParam>& params) = 0;
};

} // namespace pellix
