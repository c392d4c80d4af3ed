#include "platform/imaging/TiffWriter.h"

#include <QIODevice>

#include <tiffio.h>

#include <array>
#include <memory>
#include <vector>

namespace pellix {

namespace {

// libtiff reaches the device through these, so the file is written to the same
// temporary file as every other format.
tmsize_t deviceRead(thandle_t h, void* buffer, tmsize_t size) {
    return static_cast<QIODevice*>(h)->read(static_cast<char*>(buffer), size);
}

tmsize_t deviceWrite(thandle_t h, void* buffer, tmsize_t size) {
    return static_cast<QIODevice*>(h)->write(static_cast<const char*>(buffer), size);
}

toff_t deviceSeek(thandle_t h, toff_t offset, int whence) {
    auto* device = static_cast<QIODevice*>(h);
    qint64 target = static_cast<qint64>(offset);
    if (whence == SEEK_CUR) {
        target += device->pos();
    } else if (whence == SEEK_END) {
        target += device->size();
    }
    return device->seek(target) ? static_cast<toff_t>(target) : static_cast<toff_t>(-1);
}

int deviceClose(thandle_t) {
    return 0;
}

toff_t deviceSize(thandle_t h) {
    return static_cast<toff_t>(static_cast<QIODevice*>(h)->size());
}

int noMap(thandle_t, void**, toff_t*) {
    return 0;
}

void noUnmap(thandle_t, void*, toff_t) {}

struct TiffCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};

// The 16 colours of the classic VGA palette, for 4-bit images.
constexpr std::array<QRgb, 16> Vga16 = {
    0xff000000, 0xff800000, 0xff008000, 0xff808000, 0xff000080, 0xff800080, 0xff008080, 0xffc0c0c0,
    0xff808080, 0xffff0000, 0xff00ff00, 0xffffff00, 0xff0000ff, 0xffff00ff, 0xff00ffff, 0xffffffff};

std::optional<std::uint16_t> compressionTag(std::int32_t compression, std::int32_t depth) {
    switch (compression) {
    case TiffCompression::Lzw:
        return COMPRESSION_LZW;
    case TiffCompression::None:
        return COMPRESSION_NONE;
    case TiffCompression::Ccitt3:
        return depth == 1 ? std::optional<std::uint16_t>(COMPRESSION_CCITTFAX3) : std::nullopt;
    case TiffCompression::Ccitt4:
        return depth == 1 ? std::optional<std::uint16_t>(COMPRESSION_CCITTFAX4) : std::nullopt;
    case TiffCompression::Rle:
        return depth == 1 ? std::optional<std::uint16_t>(COMPRESSION_CCITTRLE) : std::nullopt;
    default:
        return std::nullopt;
    }
}

QImage convertForDepth(const QImage& image, std::int32_t depth) {
    switch (depth) {
    case 1:
        return image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    case 4:
        return image.convertToFormat(QImage::Format_Indexed8,
                                     QList<QRgb>(Vga16.begin(), Vga16.end()));
    case 8:
        return image.convertToFormat(QImage::Format_Indexed8);
    case 24:
        return image.convertToFormat(QImage::Format_RGB888);
    case 32:
        return image.convertToFormat(QImage::Format_RGBA8888);
    default:
        return {};
    }
}

void setPalette(TIFF* tif, const QImage& img, int bits) {
    const std::size_t n = std::size_t{1} << bits;
    std::vector<std::uint16_t> r(n), g(n), b(n);
    const QList<QRgb> table = img.colorTable();
    for (std::size_t i = 0; i < n && i < static_cast<std::size_t>(table.size()); ++i) {
        r[i] = static_cast<std::uint16_t>(qRed(table[i]) * 257);
        g[i] = static_cast<std::uint16_t>(qGreen(table[i]) * 257);
        b[i] = static_cast<std::uint16_t>(qBlue(table[i]) * 257);
    }
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
    TIFFSetField(tif, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
}

void setLayout(TIFF* tif, const QImage& img, std::int32_t depth, std::uint16_t compression) {
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(img.width()));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(img.height()));
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
    if (depth == 1) {
        // Qt's Mono table is 0 = first colour; say which one is black.
        const bool zeroIsBlack = img.colorTable().value(0, qRgb(0, 0, 0)) == qRgb(0, 0, 0);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC,
                     zeroIsBlack ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_MINISWHITE);
    } else if (depth == 4 || depth == 8) {
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, depth);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
        setPalette(tif, img, depth);
    } else {
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, depth == 32 ? 4 : 3);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        if (depth == 32) {
            const std::uint16_t extra = EXTRASAMPLE_UNASSALPHA;
            TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
        }
    }
}

// One row in TIFF's packing: 4-bit indices go two to a byte; the rest are as Qt holds them.
std::vector<std::uint8_t> packRow(const QImage& img, int y, std::int32_t depth) {
    const uchar* line = img.constScanLine(y);
    if (depth == 4) {
        std::vector<std::uint8_t> row((img.width() + 1) / 2, 0);
        for (int x = 0; x < img.width(); ++x) {
            row[x / 2] |= static_cast<std::uint8_t>((line[x] & 0x0f) << (x % 2 ? 0 : 4));
        }
        return row;
    }
    const int bytes = depth == 1 ? (img.width() + 7) / 8 : img.width() * (depth / 8);
    return std::vector<std::uint8_t>(line, line + bytes);
}

} // namespace

SaveResult writeTiff(const QImage& image, QIODevice& device, std::int32_t compression,
                     std::int32_t colourDepth) {
    const auto tag = compressionTag(compression, colourDepth);
    if (!tag) {
        return {ImageStatus::InvalidParameter,
                QStringLiteral("TIFF compression %1 does not go with %2 bits per pixel")
                    .arg(compression)
                    .arg(colourDepth)};
    }
    const QImage img = convertForDepth(image, colourDepth);
    if (img.isNull()) {
        const bool knownDepth = colourDepth == 1 || colourDepth == 4 || colourDepth == 8 ||
                                colourDepth == 24 || colourDepth == 32;
        return knownDepth
                   ? SaveResult{ImageStatus::OutOfMemory, QStringLiteral("not enough memory")}
                   : SaveResult{
                         ImageStatus::InvalidParameter,
                         QStringLiteral("TIFF colour depth %1 is not supported").arg(colourDepth)};
    }
    std::unique_ptr<TIFF, TiffCloser> tif(TIFFClientOpen("image", "w", &device, deviceRead,
                                                         deviceWrite, deviceSeek, deviceClose,
                                                         deviceSize, noMap, noUnmap));
    if (!tif) {
        return {ImageStatus::Win32Error, QStringLiteral("cannot start the TIFF file")};
    }
    setLayout(tif.get(), img, colourDepth, *tag);
    for (int y = 0; y < img.height(); ++y) {
        std::vector<std::uint8_t> row = packRow(img, y, colourDepth);
        if (TIFFWriteScanline(tif.get(), row.data(), static_cast<std::uint32_t>(y), 0) < 0) {
            return {ImageStatus::Win32Error, QStringLiteral("cannot write the TIFF file")};
        }
    }
    if (!TIFFFlush(tif.get())) {
        return {ImageStatus::Win32Error, QStringLiteral("cannot write the TIFF file")};
    }
    return {};
}

} // namespace pellix
