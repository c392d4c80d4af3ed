// Image files opened for recognition: what is refused and why, from the
// headers before anything is decoded, and pages read one at a time.
#include "platform/tesseract/ImageFile.h"
#include "platform/Error.h"
#include "platform/FileName.h"
#include "platform/RecognitionEngine.h"
#include "recognition/TestSupport.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellix {
namespace {

struct Failure {
    int number = 0; // 0: the file opened
    QString description;
};

QString shown(const QByteArray& name) {
    return QString::fromUtf8(name);
}

Failure openFailure(const QByteArray& name) {
    try {
        ImageFile file(name);
        return {};
    } catch (const Error& error) {
        return {error.number(), error.description()};
    }
}

QByteArray encoded(const char* format) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// The smallest GIF: one white pixel. Its frame descriptor begins at byte 19.
QByteArray gif() {
    return QByteArray::fromBase64("R0lGODlhAQABAIAAAP///wAAACwAAAAAAQABAAACAkQBADs=");
}

template <typename T> void putLittle(QByteArray& bytes, qsizetype at, T value) {
    qToLittleEndian<T>(value, bytes.data() + at);
}

// A TIFF of 1-bit pages, one uncompressed strip each. The strip of a page too
// large to hold, and of the `damaged` page, points past the end of the file.
QByteArray tiff(const std::vector<QSize>& pages, int damaged = -1) {
    QByteArray bytes("II*\0\0\0\0\0", 8);
    qsizetype link = 4; // where the offset of the next directory goes
    for (int i = 0; i < static_cast<int>(pages.size()); ++i) {
        const QSize size = pages[static_cast<std::size_t>(i)];
        const qint64 stripBytes = (size.width() + 7LL) / 8 * size.height();
        qint64 strip = 1 << 30;
        if (i != damaged && stripBytes <= 4096) {
            strip = bytes.size();
            bytes.append(QByteArray(stripBytes + (stripBytes % 2), '\0'));
        }
        putLittle<quint32>(bytes, link, static_cast<quint32>(bytes.size()));
        const std::pair<quint16, quint32> entries[] = {
            {256, size.width()}, {257, size.height()}, {258, 1},         {259, 1}, {262, 0},
            {273, strip},        {278, size.height()}, {279, stripBytes}};
        QByteArray directory(2 + 12 * std::size(entries) + 4, '\0');
        putLittle<quint16>(directory, 0, std::size(entries));
        for (std::size_t e = 0; e < std::size(entries); ++e) {
            const auto [tag, value] = entries[e];
            const bool isShort = tag == 258 || tag == 259 || tag == 262;
            putLittle<quint16>(directory, 2 + 12 * e, tag);
            putLittle<quint16>(directory, 4 + 12 * e, isShort ? 3 : 4);
            putLittle<quint32>(directory, 6 + 12 * e, 1);
            putLittle<quint32>(directory, 10 + 12 * e, value);
        }
        link = bytes.size() + directory.size() - 4;
        bytes.append(directory);
    }
    return bytes;
}

class ImageFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    QByteArray write(const QByteArray& name, const QByteArray& bytes) {
        const QByteArray path = QFile::encodeName(folder.path()) + "/" + name;
        const int descriptor = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        EXPECT_GE(descriptor, 0);
        EXPECT_EQ(::write(descriptor, bytes.constData(), static_cast<size_t>(bytes.size())),
                  bytes.size());
        ::close(descriptor);
        return path;
    }
    QByteArray path(const QByteArray& name) const {
        return QFile::encodeName(folder.path()) + "/" + name;
    }

    QTemporaryDir folder;
};

TEST_F(ImageFiles, SayWhatIsWrongWithAFileThatCannotBeAnImage) {
    const QByteArray missing = path("missing.png");
    EXPECT_EQ(openFailure(missing).number, RecognitionErrors::FileNotFound);
    EXPECT_EQ(openFailure(missing).description,
              "The image file " + shown(missing) + " does not exist.");

    const QByteArray pipe = path("pipe.png");
    ASSERT_EQ(mkfifo(pipe.constData(), 0600), 0);
    const QByteArray loop = path("loop.png");
    ASSERT_EQ(symlink(loop.constData(), loop.constData()), 0);
    const std::pair<QByteArray, QString> notRegular[] = {
        {QFile::encodeName(folder.path()), "a folder"},
        {"/dev/zero", "a device"},
        {pipe, "a pipe"}}; // never waits for a writer
    for (const auto& [name, kind] : notRegular) {
        EXPECT_EQ(openFailure(name).number, RecognitionErrors::NotAnImage);
        EXPECT_EQ(openFailure(name).description,
                  "The image file " + shown(name) + " is " + kind + ", not a regular file.");
    }
    EXPECT_EQ(openFailure(loop).description,
              "The image file " + shown(loop) + " cannot be read: " + qt_error_string(ELOOP) + ".");

    for (const QByteArray& bytes : {QByteArray("no picture here"), QByteArray()}) {
        const QByteArray text = write("words.png", bytes);
        EXPECT_EQ(openFailure(text).number, RecognitionErrors::NotAnImage);
        EXPECT_EQ(openFailure(text).description,
                  shown(text) + " is not an image file that Tesseract can read.");
    }

    // A refused file is closed: more refusals than the process may hold files.
    rlimit files{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &files), 0);
    const rlimit few{64, files.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &few), 0);
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(openFailure(path("words.png")).description,
                  shown(path("words.png")) + " is not an image file that Tesseract can read.");
    }
    setrlimit(RLIMIT_NOFILE, &files);
}

TEST_F(ImageFiles, ReadAnyNameTheSystemTakesAndShowNamesSafely) {
    const QByteArray latin1 = write("caf\xe9.png", encoded("PNG"));
    ImageFile file(latin1);
    EXPECT_EQ(pixGetWidth(file.readPage(0).get()), 8);
    ::unlink(latin1.constData()); // QTemporaryDir cannot name it to remove it

    EXPECT_EQ(openFailure(path("a\x1b[2J\nb.png")).description,
              "The image file " + folder.path() + "/a\\x1b[2J\\x0ab.png does not exist.");
    EXPECT_EQ(printableFileName("caf\xe9 \xc3\xa9t\xc3\xa9 \xe4\xb8\xad \\ \xc2\x9b \xe2\x80\xae"
                                " \xe0\x80\xaf \xed\xa0\x80 \x7f"),
              QString::fromUtf8("caf\\xe9 été 中 \\\\ \\xc2\\x9b \\xe2\\x80\\xae \\xe0\\x80\\xaf "
                                "\\xed\\xa0\\x80 \\x7f"));
}

TEST_F(ImageFiles, RefusePagesOverTheLimitFromTheirHeadersAlone) {
    QByteArray png = encoded("PNG");
    qToBigEndian<quint32>(20000, png.data() + 16);
    qToBigEndian<quint32>(20000, png.data() + 20);
    QByteArray jpeg = encoded("JPG");
    const qsizetype frame = jpeg.indexOf("\xff\xc0");
    ASSERT_GT(frame, 0);
    qToBigEndian<quint16>(20000, jpeg.data() + frame + 5);
    qToBigEndian<quint16>(20000, jpeg.data() + frame + 7);
    QByteArray bmp = encoded("BMP");
    putLittle<qint32>(bmp, 18, 20000);
    putLittle<qint32>(bmp, 22, -20000); // rows stored top down
    QByteArray screen = gif();
    putLittle<quint16>(screen, 6, 20000);
    putLittle<quint16>(screen, 8, 20000);
    const std::pair<QByteArray, QByteArray> bombs[] = {{"bomb.png", png},
                                                       {"bomb.jpg", jpeg},
                                                       {"bomb.bmp", bmp},
                                                       {"bomb.gif", screen},
                                                       {"bomb.tif", tiff({QSize(20000, 20000)})}};
    for (const auto& [name, bytes] : bombs) {
        const Failure failure = openFailure(write(name, bytes));
        EXPECT_EQ(failure.number, RecognitionErrors::ImageTooLarge) << name.constData();
        EXPECT_EQ(failure.description,
                  "The image file " + shown(path(name)) +
                      " is too large: 20000 x 20000 pixels; pages of more than 100 million "
                      "pixels are not read.");
    }

    // Exactly at the limit the header passes.
    qToBigEndian<quint32>(10000, png.data() + 16);
    qToBigEndian<quint32>(10000, png.data() + 20);
    EXPECT_EQ(openFailure(write("limit.png", png)).number, 0);

    EXPECT_EQ(openFailure(write("pages.tif", tiff({{8, 8}, {20000, 20000}, {8, 8}}))).description,
              "The image file " + shown(path("pages.tif")) +
                  " is too large: page 2 is 20000 x 20000 pixels; pages of more than 100 "
                  "million pixels are not read.");

    // giflib holds every frame decoded: two frames of 10000 x 6000 in a
    // screen of 10000 x 10000 are too many pixels together.
    QByteArray frames = gif();
    putLittle<quint16>(frames, 6, 10000);
    putLittle<quint16>(frames, 8, 10000);
    putLittle<quint16>(frames, 24, 10000);
    putLittle<quint16>(frames, 26, 6000);
    frames.insert(34, frames.mid(19, 15));
    EXPECT_EQ(openFailure(write("frames.gif", frames)).description,
              "The image file " + shown(path("frames.gif")) +
                  " is too large: its frames have 120 million pixels together; pages of more "
                  "than 100 million pixels are not read.");
}

TEST_F(ImageFiles, CountPagesFromTheDirectoriesAndDecodeEachAlone) {
    const QByteArray name = write("three.tif", tiff({{8, 8}, {16, 4}, {24, 2}}, 1));
    ImageFile file(name);
    ASSERT_EQ(file.pageCount(), 3);
    EXPECT_EQ(pixGetWidth(file.readPage(2).get()), 24);
    EXPECT_EQ(pixGetWidth(file.readPage(0).get()), 8);
    try {
        file.readPage(1);
        FAIL() << "a page without its data was read";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), RecognitionErrors::NotAnImage);
        EXPECT_EQ(error.description(),
                  "Page 2 of the image file " + shown(name) + " cannot be read.");
    }
}

} // namespace
} // namespace pellix
