#include "platform/imaging/TurboJpegWriter.h"

#include <QColorSpace>
#include <QSysInfo>

#include <turbojpeg.h>

#include <algorithm>
#include <memory>

namespace pellix {

namespace {

struct CompressorDeleter {
    void operator()(void* handle) const { tjDestroy(handle); }
};

struct BufferDeleter {
    void operator()(unsigned char* buffer) const { tjFree(buffer); }
};

// TurboJPEG writes a JFIF header with an aspect ratio only; Qt's writer puts
// the image's resolution in dots per inch there, and readers such as the OCR
// engine take it from the file.
void setJfifDensity(unsigned char* jpeg, unsigned long size, const QImage& image) {
    constexpr unsigned long unitsOffset = 13;
    if (size < 18 || jpeg[2] != 0xff || jpeg[3] != 0xe0 || jpeg[6] != 'J' || jpeg[7] != 'F' ||
        jpeg[8] != 'I' || jpeg[9] != 'F' || jpeg[10] != 0) {
        return;
    }
    const int x = qRound(image.dotsPerMeterX() * 0.0254);
    const int y = qRound(image.dotsPerMeterY() * 0.0254);
    jpeg[unitsOffset] = 1; // dots per inch
    jpeg[unitsOffset + 1] = static_cast<unsigned char>((x >> 8) & 0xff);
    jpeg[unitsOffset + 2] = static_cast<unsigned char>(x & 0xff);
    jpeg[unitsOffset + 3] = static_cast<unsigned char>((y >> 8) & 0xff);
    jpeg[unitsOffset + 4] = static_cast<unsigned char>(y & 0xff);
}

std::optional<int> turboFormat(QImage::Format format) {
    switch (format) {
    case QImage::Format_RGB32:
        return TJPF_BGRX; // 0xffRRGGBB in memory order on a little-endian machine
    case QImage::Format_RGB888:
        return TJPF_RGB;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<SaveResult> writeJpegTurbo(const QImage& image, QIODevice& device, int quality) {
    const std::optional<int> format = turboFormat(image.format());
    if (QSysInfo::ByteOrder != QSysInfo::LittleEndian || !format || !image.textKeys().isEmpty() ||
        image.colorSpace().isValid()) {
        return std::nullopt;
    }
    std::unique_ptr<void, CompressorDeleter> compressor(tjInitCompress());
    if (!compressor) {
        return SaveResult{ImageStatus::OutOfMemory,
                          QString::fromLocal8Bit(tjGetErrorStr2(nullptr))};
    }
    unsigned char* raw = nullptr;
    unsigned long size = 0;
    // libjpeg takes a quality of 0 as 1; TurboJPEG refuses it. The accurate
    // DCT is libjpeg's default and Qt's: the same picture either way.
    const int result = tjCompress2(
        compressor.get(), image.constBits(), image.width(), static_cast<int>(image.bytesPerLine()),
        image.height(), *format, &raw, &size, TJSAMP_420, std::max(quality, 1), TJFLAG_ACCURATEDCT);
    std::unique_ptr<unsigned char, BufferDeleter> jpeg(raw);
    if (result != 0) {
        return SaveResult{ImageStatus::GenericError,
                          QString::fromLocal8Bit(tjGetErrorStr2(compressor.get()))};
    }
    setJfifDensity(jpeg.get(), size, image);
    const auto length = static_cast<qint64>(size);
    if (device.write(reinterpret_cast<const char*>(jpeg.get()), length) != length) {
        return SaveResult{ImageStatus::Win32Error, device.errorString()};
    }
    return SaveResult{};
}

} // namespace pellix
