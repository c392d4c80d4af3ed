#include "platform/imaging/FileImageEncoder.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace pellix {
namespace {

// Odd sizes, so that 4:2:0 edges and padded 24-bit rows are exercised.
QImage scene(QImage::Format format) {
    QImage image(301, 199, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qRgb(x * 255 / 300, y * 255 / 198, (x + y) * 255 / 498));
        }
    }
    QPainter painter(&image);
    painter.fillRect(20, 20, 120, 60, Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(25, 50, QStringLiteral("Pellix 0123"));
    painter.end();
    return image.convertToFormat(format);
}

class JpegEncoder : public ::testing::Test {
protected:
    QString save(const QImage& image, int quality, const QString& name) {
        const QString path = dir.filePath(name);
        const SaveResult result =
            encoder.save(image, path, Encoder::Jpeg, {{EncoderParameter::Quality, quality}});
        EXPECT_EQ(result.status, ImageStatus::Ok) << result.detail.toStdString();
        return path;
    }

    QTemporaryDir dir;
    FileImageEncoder encoder;
};

// Screen grabs (32-bit) and 24-bit images are encoded from their own pixels;
// other formats through Qt's writer. Both must give the same picture.
TEST_F(JpegEncoder, OpaqueFormatsGiveTheSamePictureAsQtsWriter) {
    const QImage viaQt(save(scene(QImage::Format_ARGB32), 90, QStringLiteral("qt.jpg")));
    ASSERT_FALSE(viaQt.isNull());
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB888}) {
        SCOPED_TRACE(format);
        const QImage direct(save(scene(format), 90, QStringLiteral("direct.jpg")));

        ASSERT_EQ(direct.size(), viaQt.size());
        EXPECT_TRUE(direct.convertToFormat(QImage::Format_RGB32) ==
                    viaQt.convertToFormat(QImage::Format_RGB32));
        EXPECT_EQ(direct.dotsPerMeterX(), viaQt.dotsPerMeterX());
    }
}

TEST_F(JpegEncoder, FileCarriesTheImagesResolution) {
    QImage image = scene(QImage::Format_RGB32);
    image.setDotsPerMeterX(11811); // 300 dots per inch
    image.setDotsPerMeterY(5906);  // 150

    const QImage read(save(image, 90, QStringLiteral("dpi.jpg")));

    EXPECT_NEAR(read.dotsPerMeterX(), 11811, 20);
    EXPECT_NEAR(read.dotsPerMeterY(), 5906, 20);
}

TEST_F(JpegEncoder, QualityReachesTheEncoderAndZeroIsTheLowest) {
    const QImage image = scene(QImage::Format_RGB32);

    const auto high = QFile(save(image, 90, QStringLiteral("q90.jpg"))).size();
    const auto low = QFile(save(image, 10, QStringLiteral("q10.jpg"))).size();
    const auto zero = QFile(save(image, 0, QStringLiteral("q0.jpg"))).size();
    const auto one = QFile(save(image, 1, QStringLiteral("q1.jpg"))).size();

    EXPECT_LT(low * 2, high);
    EXPECT_EQ(zero, one);
}

} // namespace
} // namespace pellix

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
