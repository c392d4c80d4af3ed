// The overlay where the toolkit scales the screen by two: the frozen image
// stays 1:1 with the screen's pixels, and so do the copy and the size label.
#include "capture/fCapture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>

namespace pellix {
namespace {

QImage pattern(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 64 + (y / 256) * 16));
        }
    }
    return image;
}

TEST(OverlayAtTwiceTheScale, CopiesAndCountsInScreenPixels) {
    fCapture overlay;
    QImage region;
    int captured = 0;
    QObject::connect(&overlay, &fCapture::regionSelected, [&](const QImage& image) {
        region = image;
        ++captured;
    });
    overlay.setGeometry(0, 0, 400, 300);
    ASSERT_DOUBLE_EQ(overlay.devicePixelRatioF(), 2.0);
    const QImage screen = pattern(800, 600);
    overlay.setPicture(screen);
    overlay.showOverlay();

    // Drawn unscaled: the widget's 400 x 300 show all 800 x 600 pixels.
    const QImage shown = overlay.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.size(), QSize(800, 600));
    EXPECT_EQ(shown.pixel(799, 599), screen.pixel(799, 599));

    QTest::mousePress(&overlay, Qt::LeftButton, Qt::NoModifier, {50, 40});
    QTest::mouseMove(&overlay, {150, 100});
    EXPECT_EQ(overlay.Label1->text(), QStringLiteral("(200,120)"));
    QTest::mouseRelease(&overlay, Qt::LeftButton, Qt::NoModifier, {150, 100});
    ASSERT_EQ(captured, 1);
    EXPECT_EQ(region, screen.copy(100, 80, 200, 120));
}

} // namespace
} // namespace pellix

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
