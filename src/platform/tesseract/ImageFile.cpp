#include "platform/tesseract/ImageFile.h"

#include "platform/Error.h"
#include "platform/FileName.h"
#include "platform/RecognitionEngine.h"

#include <tiffio.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pellix {

namespace {

// libpng and libjpeg print their complaints ("libpng error: Read Error",
// "Premature end of JPEG file") straight to standard error, where no caller
// can stop them. While a file is read, standard error goes to /dev/null; its
// failures reach the caller as errors of our own. Whatever another thread
// prints in those moments is lost as well.
class QuietStandardError {
public:
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    // The fuzzer's and the sanitizers' reports must not be lost.
    static constexpr bool Quiet = false;
#else
    static constexpr bool Quiet = true;
#endif
    QuietStandardError() {
        if (!Quiet) {
            return;
        }
        std::scoped_lock lock(s_mutex);
        if (s_depth++ > 0) {
            return;
        }
        std::fflush(stderr);
        s_saved = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
        s_wasClosed = s_saved < 0 && errno == EBADF;
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        // Out of descriptors, the messages are let through rather than lost.
        s_redirected = null >= 0 && (s_saved >= 0 || s_wasClosed) &&
                       dup2(null, STDERR_FILENO) == STDERR_FILENO;
        if (null >= 0) {
            ::close(null);
        }
    }
    ~QuietStandardError() {
        if (!Quiet) {
            return;
        }
        std::scoped_lock lock(s_mutex);
        if (--s_depth > 0 || !s_redirected) {
            return;
        }
        std::fflush(stderr);
        if (s_saved >= 0) {
            dup2(s_saved, STDERR_FILENO);
            ::close(s_saved);
        } else {
            ::close(STDERR_FILENO); // it was closed before
        }
        s_saved = -1;
        s_redirected = false;
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    static inline std::mutex s_mutex;
    static inline int s_depth = 0;
    static inline int s_saved = -1;
    static inline bool s_wasClosed = false;
    static inline bool s_redirected = false;
};

QString kindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return QStringLiteral("a folder");
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return QStringLiteral("a device");
    }
    if (S_ISFIFO(mode)) {
        return QStringLiteral("a pipe");
    }
    if (S_ISSOCK(mode)) {
        return QStringLiteral("a socket");
    }
    return QStringLiteral("a special file");
}

Error notRegular(const QByteArray& name, mode_t mode) {
    return Error(RecognitionErrors::NotAnImage,
                 QStringLiteral("The image file %1 is %2, not a regular file.")
                     .arg(printableFileName(name), kindOf(mode)));
}

Error openError(const QByteArray& name, int error) {
    if (error == ENOENT) {
        return Error(
            RecognitionErrors::FileNotFound,
            QStringLiteral("The image file %1 does not exist.").arg(printableFileName(name)));
    }
    struct stat status {};
    // A socket cannot be opened at all (ENXIO); say what it is.
    if (error == ENXIO && stat(name.constData(), &status) == 0 && !S_ISREG(status.st_mode)) {
        return notRegular(name, status.st_mode);
    }
    return Error(RecognitionErrors::NotAnImage,
                 QStringLiteral("The image file %1 cannot be read: %2.")
                     .arg(printableFileName(name), qt_error_string(error)));
}

Error notAnImage(const QByteArray& name) {
    return Error(RecognitionErrors::NotAnImage,
                 QStringLiteral("%1 is not an image file that Tesseract can read.")
                     .arg(printableFileName(name)));
}

Error tooLarge(const QByteArray& name, const QString& what, long long maxPixels) {
    return Error(RecognitionErrors::ImageTooLarge,
                 QStringLiteral("The image file %1 is too large: %2; pages of more than %3 "
                                "million pixels are not read.")
                     .arg(printableFileName(name), what)
                     .arg(maxPixels / 1'000'000));
}

bool isTiff(int format) {
    return format == IFF_TIFF || format == IFF_TIFF_G4 || format == IFF_TIFF_LZW ||
           format == IFF_TIFF_ZIP || format == IFF_TIFF_PACKBITS || format == IFF_TIFF_RLE ||
           format == IFF_TIFF_G3 || format == IFF_TIFF_JPEG;
}

QByteArray readAt(std::FILE* stream, long offset, int count) {
    QByteArray bytes(count, '\0');
    if (std::fseek(stream, offset, SEEK_SET) != 0) {
        return {};
    }
    bytes.resize(static_cast<qsizetype>(std::fread(bytes.data(), 1, bytes.size(), stream)));
    return bytes;
}

unsigned littleEndian16(const QByteArray& bytes, int at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

long long littleEndian32(const QByteArray& bytes, int at) {
    const auto value =
        static_cast<std::uint32_t>(littleEndian16(bytes, at) | littleEndian16(bytes, at + 2) << 16);
    return static_cast<std::int32_t>(value);
}

struct PageSize {
    long long width = 0;
    long long height = 0;
};

// Leptonica reads a BMP or GIF "header" by decoding the whole image, so these
// two are read here. The size of a BMP: its info header's width and height
// (negative for rows stored top down).
std::vector<PageSize> bmpPages(std::FILE* stream) {
    const QByteArray header = readAt(stream, 0, 26);
    if (header.size() < 26) {
        return {};
    }
    const long long infoSize = littleEndian32(header, 14);
    if (infoSize == 12) {
        return {{littleEndian16(header, 18), littleEndian16(header, 20)}};
    }
    if (infoSize < 40) {
        return {};
    }
    return {{std::llabs(littleEndian32(header, 18)), std::llabs(littleEndian32(header, 22))}};
}

// Skips a chain of GIF data sub-blocks; false at the end of the file.
bool skipSubBlocks(std::FILE* stream) {
    for (;;) {
        const int length = std::fgetc(stream);
        if (length <= 0) {
            return length == 0;
        }
        if (std::fseek(stream, length, SEEK_CUR) != 0) {
            return false;
        }
    }
}

// A GIF decodes to its first frame, but giflib holds every frame decoded while
// it reads: the page counts with the screen's size and all frames together.
std::vector<PageSize> gifPages(std::FILE* stream, long long& framePixels) {
    const QByteArray header = readAt(stream, 0, 13);
    if (header.size() < 13 || !header.startsWith("GIF8")) {
        return {};
    }
    const int flags = static_cast<unsigned char>(header[10]);
    if ((flags & 0x80) != 0 && std::fseek(stream, 3L << ((flags & 7) + 1), SEEK_CUR) != 0) {
        return {};
    }
    framePixels = 0;
    for (;;) {
        const int block = std::fgetc(stream);
        if (block == 0x21) { // an extension: its label, then sub-blocks
            if (std::fgetc(stream) == EOF || !skipSubBlocks(stream)) {
                break;
            }
        } else if (block == 0x2c) { // a frame: descriptor, colours, LZW code size, data
            QByteArray frame(9, '\0');
            if (std::fread(frame.data(), 1, 9, stream) != 9) {
                break;
            }
            framePixels +=
                static_cast<long long>(littleEndian16(frame, 4)) * littleEndian16(frame, 6);
            const int frameFlags = static_cast<unsigned char>(frame[8]);
            if ((frameFlags & 0x80) != 0 &&
                std::fseek(stream, 3L << ((frameFlags & 7) + 1), SEEK_CUR) != 0) {
                break;
            }
            if (std::fgetc(stream) == EOF || !skipSubBlocks(stream)) {
                break;
            }
        } else {
            break; // the trailer, the end of the file, or damage the decoder will find
        }
    }
    return {{littleEndian16(header, 6), littleEndian16(header, 8)}};
}

int ignoreTiffMessage(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

// libtiff reads through pread() at an offset of its own, leaving the stream's
// position and buffer to the decoder.
struct TiffSource {
    int descriptor;
    toff_t offset;
    toff_t size;
};

tmsize_t readTiff(thandle_t handle, void* buffer, tmsize_t count) {
    auto* source = static_cast<TiffSource*>(handle);
    const ssize_t got = pread(source->descriptor, buffer, static_cast<size_t>(count),
                              static_cast<off_t>(source->offset));
    if (got > 0) {
        source->offset += static_cast<toff_t>(got);
    }
    return got;
}

tmsize_t writeTiff(thandle_t, void*, tmsize_t) {
    return -1;
}

toff_t seekTiff(thandle_t handle, toff_t offset, int whence) {
    auto* source = static_cast<TiffSource*>(handle);
    source->offset = whence == SEEK_SET   ? offset
                     : whence == SEEK_CUR ? source->offset + offset
                                          : source->size + offset;
    return source->offset;
}

int closeTiff(thandle_t) {
    return 0;
}

toff_t sizeOfTiff(thandle_t handle) {
    return static_cast<TiffSource*>(handle)->size;
}

int mapTiff(thandle_t, void**, toff_t*) {
    return 0; // never mapped: another program may shorten the file meanwhile
}

void unmapTiff(thandle_t, void*, toff_t) {}

// Every page's size from the TIFF directories, read through libtiff without
// decoding a page.
std::vector<PageSize> tiffPages(int descriptor, long long size) {
    TiffSource source{descriptor, 0, static_cast<toff_t>(size)};
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, ignoreTiffMessage, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, ignoreTiffMessage, nullptr);
    // No tag of a real directory needs more; a forged count is refused.
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, 64 << 20);
    TIFF* tiff = TIFFClientOpenExt("image", "rm", &source, readTiff, writeTiff, seekTiff, closeTiff,
                                   sizeOfTiff, mapTiff, unmapTiff, options);
    TIFFOpenOptionsFree(options);
    if (tiff == nullptr) {
        return {};
    }
    std::vector<PageSize> pages;
    do {
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
        TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
        pages.push_back({width, height});
    } while (TIFFReadDirectory(tiff) == 1);
    TIFFClose(tiff);
    return pages;
}

std::vector<PageSize> webpPages(std::FILE* stream) {
    // The size is in the first chunk; 4 KB holds it with room to spare.
    const QByteArray start = readAt(stream, 0, 4096);
    l_int32 width = 0, height = 0, samples = 0;
    if (readHeaderMemWebP(reinterpret_cast<const l_uint8*>(start.constData()),
                          static_cast<size_t>(start.size()), &width, &height, &samples) != 0) {
        return {};
    }
    return {{width, height}};
}

} // namespace

ImageFile::ImageFile(const QByteArray& fileName, long long maxPagePixels) : m_name(fileName) {
    // Non-blocking, so that a pipe with no writer or a device does not hold
    // the open; neither passes the check below.
    const int descriptor =
        ::open(fileName.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        throw openError(fileName, errno);
    }
    struct stat status {};
    if (fstat(descriptor, &status) != 0) {
        const int error = errno;
        ::close(descriptor);
        throw openError(fileName, error);
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(descriptor);
        throw notRegular(fileName, status.st_mode);
    }
    m_stream.reset(fdopen(descriptor, "rb"));
    if (!m_stream) {
        const int error = errno;
        ::close(descriptor);
        throw openError(fileName, error);
    }
    readHeaders(maxPagePixels);
}

void ImageFile::readHeaders(long long maxPagePixels) {
    QuietStandardError quiet;
    std::FILE* const stream = m_stream.get();
    l_int32 format = IFF_UNKNOWN;
    std::rewind(stream);
    if (findFileFormatStream(stream, &format) != 0) {
        throw notAnImage(m_name);
    }
    m_format = format;
    std::rewind(stream);
    l_int32 width = 0, height = 0, depth = 0, bits = 0, samples = 0, colormap = 0, type = 0;
    std::vector<PageSize> pages;
    long long framePixels = 0;
    if (format == IFF_PNG) {
        if (freadHeaderPng(stream, &width, &height, &bits, &samples, &colormap) == 0) {
            pages.push_back({width, height});
        }
    } else if (format == IFF_JFIF_JPEG) {
        if (freadHeaderJpeg(stream, &width, &height, &samples, nullptr, nullptr) == 0) {
            pages.push_back({width, height});
        }
    } else if (format == IFF_PNM) {
        if (freadHeaderPnm(stream, &width, &height, &depth, &type, &bits, &samples) == 0) {
            pages.push_back({width, height});
        }
    } else if (format == IFF_BMP) {
        pages = bmpPages(stream);
    } else if (format == IFF_GIF) {
        pages = gifPages(stream, framePixels);
    } else if (format == IFF_WEBP) {
        pages = webpPages(stream);
    } else if (isTiff(format)) {
        struct stat status {};
        if (fstat(fileno(stream), &status) == 0) {
            pages = tiffPages(fileno(stream), status.st_size);
        }
    }
    // Anything else (JPEG 2000, PostScript, PDF, Leptonica's own formats) has
    // no header that can be trusted before decoding, and is not read.
    if (pages.empty()) {
        throw notAnImage(m_name);
    }
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const PageSize& page = pages[i];
        if (page.width <= 0 || page.height <= 0) {
            throw notAnImage(m_name);
        }
        if (page.width * page.height > maxPagePixels) {
            const QString size = QStringLiteral("%1 x %2 pixels").arg(page.width).arg(page.height);
            throw tooLarge(m_name,
                           pages.size() == 1 ? size
                                             : QStringLiteral("page %1 is %2").arg(i + 1).arg(size),
                           maxPagePixels);
        }
    }
    if (framePixels > maxPagePixels) {
        throw tooLarge(m_name,
                       QStringLiteral("its frames have %1 million pixels together")
                           .arg(framePixels / 1'000'000),
                       maxPagePixels);
    }
    m_pageCount = static_cast<int>(pages.size());
}

PixPtr ImageFile::readPage(int index) {
    QuietStandardError quiet;
    std::FILE* const stream = m_stream.get();
    std::rewind(stream);
    PixPtr page(isTiff(m_format) ? pixReadStreamTiff(stream, index) : pixReadStream(stream, 0));
    if (!page) {
        if (index == 0) {
            throw notAnImage(m_name);
        }
        throw Error(RecognitionErrors::NotAnImage,
                    QStringLiteral("Page %1 of the image file %2 cannot be read.")
                        .arg(index + 1)
                        .arg(printableFileName(m_name)));
    }
    return page;
}

} // namespace pellix
