#include "platform/imaging/FileImageEncoder.h"

#include "JpegTables.h"
#include "imageio/mImage.h"
#include "platform/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <tiffio.h>
#include <unistd.h>

using namespace pellix;

namespace {

// Flat blocks of colours that every palette format can hold exactly.
QImage blocks(int width = 64, int height = 48) {
    QImage image(width, height, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(255, 255, 255), qRgb(0, 0, 0)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, colours[(x * 2 / width) + 2 * (y * 2 / height)]);
        }
    }
    return image;
}

// Noise that JPEG cannot squeeze much: a large file for the disk tests.
QImage noise(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    quint32 state = 12345;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            line[x] = 0xff000000u | (state >> 8);
        }
    }
    return image;
}

struct stat lstatOf(const QString& path) {
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// ImageMagick, an independent decoder: the file's format and its RGB pixels.
struct Decoded {
    QString format;
    QSize size;
    QByteArray rgb;
};

Decoded decodeWithImageMagick(const QString& path) {
    QProcess identify;
    identify.start(QStringLiteral("identify"),
                   {QStringLiteral("-format"), QStringLiteral("%m %w %h"), path});
    identify.waitForFinished();
    const QStringList parts = QString::fromUtf8(identify.readAllStandardOutput()).split(' ');
    QProcess convert;
    convert.start(QStringLiteral("convert"),
                  {path, QStringLiteral("-depth"), QStringLiteral("8"), QStringLiteral("rgb:-")});
    convert.waitForFinished();
    if (parts.size() != 3) {
        return {};
    }
    return {parts[0], QSize(parts[1].toInt(), parts[2].toInt()), convert.readAllStandardOutput()};
}

QByteArray rgbBytes(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    QByteArray bytes;
    for (int y = 0; y < rgb.height(); ++y) {
        bytes.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 3);
    }
    return bytes;
}

// JPEG smears colour edges (chroma subsampling), so judge it on the mean.
double meanDifference(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size() || a.isEmpty()) {
        return 256;
    }
    double sum = 0;
    for (qsizetype i = 0; i < a.size(); ++i) {
        sum += std::abs(int(uchar(a[i])) - int(uchar(b[i])));
    }
    return sum / static_cast<double>(a.size());
}

struct TiffTags {
    int compression = -1;
    int bitsPerSample = -1;
    int samplesPerPixel = -1;
};

TiffTags readTiffTags(const QString& path) {
    TiffTags tags;
    TIFF* tif = TIFFOpen(QFile::encodeName(path).constData(), "r");
    if (!tif) {
        return tags;
    }
    uint16_t compression = 0, bits = 0, samples = 0;
    TIFFGetField(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFClose(tif);
    return {compression, bits, samples};
}

class EncoderFiles : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    SaveResult save(const QImage& image, const char* name, Encoder encoder,
                    std::vector<EncoderParam> params = {}) {
        return FileImageEncoder().save(image, path(name), encoder, params);
    }
    QStringList leftovers() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
    void writeFile(const char* name, const QByteArray& bytes) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(EncoderFiles, LosslessFormatsReadBackPixelForPixel) {
    ASSERT_EQ(save(blocks(), "a.png", Encoder::Png).status, 0);
    ASSERT_EQ(save(blocks(), "a.gif", Encoder::Gif).status, 0);
    ASSERT_EQ(save(blocks(), "a.tif", Encoder::Tiff,
                   {{EncoderParameter::Compression, TiffCompression::Lzw},
                    {EncoderParameter::ColorDepth, 24}})
                  .status,
              0);
    const std::pair<const char*, const char*> files[] = {
        {"a.png", "PNG"}, {"a.gif", "GIF"}, {"a.tif", "TIFF"}};
    for (const auto& [name, format] : files) {
        SCOPED_TRACE(name);
        const Decoded decoded = decodeWithImageMagick(path(name));
        EXPECT_EQ(decoded.format, QString::fromLatin1(format));
        EXPECT_EQ(decoded.size, QSize(64, 48));
        EXPECT_EQ(decoded.rgb, rgbBytes(blocks()));
    }
}

TEST_F(EncoderFiles, JpegIsWrittenAtTheRequestedQualityWhateverTheExtension) {
    for (const char* name : {"b.JPG", "b.png", "b"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(save(blocks(), name, Encoder::Jpeg, {{EncoderParameter::Quality, 90}}).status, 0);
        const QByteArray bytes = readAll(path(name));
        ASSERT_TRUE(bytes.startsWith("\xFF\xD8\xFF"));
        EXPECT_EQ(jpegtables::readTable(bytes, 0), jpegtables::expectedTable(0, 90));
        EXPECT_EQ(jpegtables::readTable(bytes, 1), jpegtables::expectedTable(1, 90));
        const Decoded decoded = decodeWithImageMagick(path(name));
        EXPECT_EQ(decoded.format, QStringLiteral("JPEG"));
        EXPECT_LT(meanDifference(decoded.rgb, rgbBytes(blocks())), 8.0);
    }
}

TEST_F(EncoderFiles, TiffHonoursCompressionAndColourDepth) {
    struct Case {
        std::int32_t compression, depth;
        int tag, bits, samples;
    };
    const Case cases[] = {
        {TiffCompression::Lzw, 24, COMPRESSION_LZW, 8, 3},
        {TiffCompression::None, 32, COMPRESSION_NONE, 8, 4},
        {TiffCompression::Lzw, 8, COMPRESSION_LZW, 8, 1},
        {TiffCompression::None, 4, COMPRESSION_NONE, 4, 1},
        {TiffCompression::Ccitt4, 1, COMPRESSION_CCITTFAX4, 1, 1},
        {TiffCompression::Ccitt3, 1, COMPRESSION_CCITTFAX3, 1, 1},
        {TiffCompression::Rle, 1, COMPRESSION_CCITTRLE, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "compression " << c.compression << " depth " << c.depth);
        ASSERT_EQ(save(blocks(), "c.tif", Encoder::Tiff,
                       {{EncoderParameter::Compression, c.compression},
                        {EncoderParameter::ColorDepth, c.depth}})
                      .status,
                  0);
        const TiffTags tags = readTiffTags(path("c.tif"));
        EXPECT_EQ(tags.compression, c.tag);
        EXPECT_EQ(tags.bitsPerSample, c.bits);
        EXPECT_EQ(tags.samplesPerPixel, c.samples);
        const Decoded decoded = decodeWithImageMagick(path("c.tif"));
        EXPECT_EQ(decoded.size, QSize(64, 48));
        if (c.depth >= 4) { // the four block colours are in every palette of 16 or more
            EXPECT_EQ(decoded.rgb, rgbBytes(blocks()));
        }
    }
}

TEST_F(EncoderFiles, BadArgumentsFailWithInvalidParameterAndWriteNothing) {
    EXPECT_EQ(save(QImage(), "d.jpg", Encoder::Jpeg).status, ImageStatus::InvalidParameter);
    EXPECT_EQ(save(blocks(), "d.jpg", Encoder::None).status, ImageStatus::InvalidParameter);
    EXPECT_EQ(save(blocks(), "d.jpg", Encoder::Jpeg, {{EncoderParameter::Quality, 101}}).status,
              ImageStatus::InvalidParameter);
    EXPECT_EQ(save(blocks(), "d.tif", Encoder::Tiff,
                   {{EncoderParameter::Compression, TiffCompression::Ccitt4},
                    {EncoderParameter::ColorDepth, 24}})
                  .status,
              ImageStatus::InvalidParameter);
    EXPECT_EQ(save(blocks(), "d.tif", Encoder::Tiff,
                   {{EncoderParameter::Compression, TiffCompression::Lzw},
                    {EncoderParameter::ColorDepth, 16}})
                  .status,
              ImageStatus::InvalidParameter);
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();
}

TEST_F(EncoderFiles, MissingFolderFailsAsAFileThatCannotBeOpened) {
    const SaveResult result =
        FileImageEncoder().save(blocks(), path("no/such/folder/x.jpg"), Encoder::Jpeg, {});
    EXPECT_EQ(result.status, ImageStatus::Win32Error);
    EXPECT_FALSE(result.detail.isEmpty());
}

TEST_F(EncoderFiles, SecondSaveReplacesTheFileUnderTheSameNameKeepingItsPermissions) {
    ASSERT_EQ(save(blocks(), "Pellix.JPG", Encoder::Jpeg).status, 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path("Pellix.JPG")).constData(), 0640), 0);
    ASSERT_EQ(save(noise(32, 32), "Pellix.JPG", Encoder::Jpeg).status, 0);
    EXPECT_EQ(decodeWithImageMagick(path("Pellix.JPG")).size, QSize(32, 32));
    EXPECT_EQ(lstatOf(path("Pellix.JPG")).st_mode & 07777, 0640u);
    EXPECT_EQ(leftovers(), QStringList{QStringLiteral("Pellix.JPG")});
}

// A link planted at the name (say in a shared sticky folder, against a program
// run as root) is replaced by the image; what it points to is never written.
TEST_F(EncoderFiles, EveryFormatReplacesALinkAtTheNameAndLeavesItsTargetAlone) {
    writeFile("target", "not yours");
    const std::pair<const char*, Encoder> files[] = {{"e.jpg", Encoder::Jpeg},
                                                     {"e.png", Encoder::Png},
                                                     {"e.gif", Encoder::Gif},
                                                     {"e.tif", Encoder::Tiff}};
    for (const auto& [name, encoder] : files) {
        SCOPED_TRACE(name);
        ASSERT_EQ(::symlink("target", QFile::encodeName(path(name)).constData()), 0);
        ASSERT_EQ(save(blocks(), name, encoder).status, 0);
        EXPECT_TRUE(S_ISREG(lstatOf(path(name)).st_mode));
        EXPECT_EQ(decodeWithImageMagick(path(name)).size, QSize(64, 48));
    }
    EXPECT_EQ(readAll(path("target")), QByteArray("not yours"));
    // A dangling link creates nothing where it points.
    ASSERT_EQ(::symlink("absent", QFile::encodeName(path("f.jpg")).constData()), 0);
    ASSERT_EQ(save(blocks(), "f.jpg", Encoder::Jpeg).status, 0);
    EXPECT_TRUE(S_ISREG(lstatOf(path("f.jpg")).st_mode));
    EXPECT_FALSE(QFile::exists(path("absent")));
}

// A save killed between creating its temporary file and renaming it leaves
// ".NAME.pellix-XXXXXX" behind; the next run's first save to NAME removes
// exactly those of its own, and nothing a living save still holds.
TEST_F(EncoderFiles, FirstSaveRemovesLeftoversOfAKilledSaveAndNothingElse) {
    const char* gone = ".Pellix.JPG.pellix-a1B2c3";
    const char* kept[] = {".Pellix.JPG.pellix-a1B2c", ".Pellix.JPG.pellix-a1B2c3d",
                          ".Pellix.JPG.pellix-a1B2_3", ".Other.JPG.pellix-a1B2c3",
                          "Pellix.JPG.a1B2c3"};
    writeFile(gone, "x");
    for (const char* name : kept) {
        writeFile(name, "x");
    }
    writeFile("target", "not yours");
    ASSERT_EQ(::symlink("target", QFile::encodeName(path(".Pellix.JPG.pellix-Link00")).constData()),
              0);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral(".Pellix.JPG.pellix-Dir000")));
    writeFile(".Pellix.JPG.pellix-Held00", "x");
    QFile held(path(".Pellix.JPG.pellix-Held00"));
    ASSERT_TRUE(held.open(QIODevice::ReadOnly));
    ASSERT_EQ(::flock(held.handle(), LOCK_EX), 0);
    const bool root = ::geteuid() == 0;
    if (root) { // another user's file, whatever its name, is theirs
        writeFile(".Pellix.JPG.pellix-Other0", "x");
        ASSERT_EQ(
            ::chown(QFile::encodeName(path(".Pellix.JPG.pellix-Other0")).constData(), 65534, 65534),
            0);
    }

    ASSERT_EQ(save(blocks(), "Pellix.JPG", Encoder::Jpeg).status, 0);
    EXPECT_FALSE(QFile::exists(path(gone)));
    for (const char* name : kept) {
        EXPECT_TRUE(QFile::exists(path(name))) << name;
    }
    EXPECT_TRUE(QFileInfo(path(".Pellix.JPG.pellix-Link00")).isSymLink());
    EXPECT_EQ(readAll(path("target")), QByteArray("not yours"));
    EXPECT_TRUE(QFileInfo(path(".Pellix.JPG.pellix-Dir000")).isDir());
    EXPECT_TRUE(QFile::exists(path(".Pellix.JPG.pellix-Held00")));
    if (root) {
        EXPECT_TRUE(QFile::exists(path(".Pellix.JPG.pellix-Other0")));
    }
}

// These run inside with-small-disks.sh, which provides the two file systems.
TEST(SmallDisk, FullDiskKeepsThePreviousImageWholeAndLeavesNoTemporaryFile) {
    const QByteArray dir = qgetenv("PELLIX_FULL_DIR");
    if (dir.isEmpty()) {
        GTEST_SKIP() << "needs the small file systems of with-small-disks.sh";
    }
    const QString path = QString::fromLocal8Bit(dir) + QStringLiteral("/Pellix.JPG");
    FileImageEncoder encoder;
    ASSERT_EQ(encoder.save(blocks(), path, Encoder::Jpeg, {{EncoderParameter::Quality, 90}}).status,
              0);
    const QByteArray previous = readAll(path);

    try {
        mImage::Save_Picture(encoder, noise(1920, 1080), path, mImage::PictureFormat::Jpeg, 90, 24,
                             0);
        FAIL() << "a 1920 x 1080 noise JPEG fitted into 64 KiB";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), 5);
        EXPECT_EQ(error.description(), QStringLiteral("Cannot save the image. GDI+ Error:7"));
        EXPECT_TRUE(error.detail().contains(QStringLiteral("space")))
            << error.detail().toStdString();
    }
    EXPECT_EQ(readAll(path), previous);
    EXPECT_EQ(QDir(QString::fromLocal8Bit(dir)).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Pellix.JPG")});
}

TEST(SmallDisk, ReadOnlyFolderKeepsThePreviousImage) {
    const QByteArray dir = qgetenv("PELLIX_RO_DIR");
    if (dir.isEmpty()) {
        GTEST_SKIP() << "needs the small file systems of with-small-disks.sh";
    }
    const QString path = QString::fromLocal8Bit(dir) + QStringLiteral("/Pellix.JPG");
    const QByteArray previous = readAll(path);
    ASSERT_FALSE(previous.isEmpty());
    const SaveResult result =
        FileImageEncoder().save(blocks(), path, Encoder::Jpeg, {{EncoderParameter::Quality, 90}});
    EXPECT_EQ(result.status, ImageStatus::Win32Error);
    EXPECT_EQ(readAll(path), previous);
}
