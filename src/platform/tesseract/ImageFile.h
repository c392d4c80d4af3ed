#pragma once

// An image file opened for recognition: checked before anything is decoded,
// then read one page at a time.
#include "platform/tesseract/Leptonica.h"

#include <QByteArray>

#include <cstdio>
#include <memory>

namespace pellix {

// The most pixels a page may have, 100 million (a 10000 x 10000 scan): a page
// of that size takes up to 400 MB decoded and some more to prepare. Larger
// pages are refused from the file's headers, before anything is decoded.
inline constexpr long long MaxPagePixels = 100'000'000;

class ImageFile {
public:
    // Opens `fileName` (the name as the system spells it) without waiting on
    // pipes or devices and reads the headers of all pages. Throws pellix::Error:
    // FileNotFound for a missing file; NotAnImage for anything that is not a
    // readable regular file in a format read here (PNG, JPEG, TIFF, GIF, BMP,
    // PNM, WebP); ImageTooLarge for a page beyond `maxPagePixels`.
    explicit ImageFile(const QByteArray& fileName, long long maxPagePixels = MaxPagePixels);
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    int pageCount() const { return m_pageCount; }
    // Decodes one page, zero-based; throws pellix::Error (NotAnImage) when
    // its data cannot be decoded.
    PixPtr readPage(int index);

private:
    void readHeaders(long long maxPagePixels);

    struct StreamCloser {
        void operator()(std::FILE* stream) const { std::fclose(stream); }
    };

    QByteArray m_name;
    // Closed however the constructor ends, a refused file included.
    std::unique_ptr<std::FILE, StreamCloser> m_stream;
    int m_format = 0;
    int m_pageCount = 0;
};

} // namespace pellix
