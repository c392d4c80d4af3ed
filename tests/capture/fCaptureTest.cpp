#include "capture/fCapture.h"

#include "scrollview/PictureBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>

#include <vector>

namespace pellix {
namespace {

// Every pixel differs from its neighbours, so an off-by-one copy shows.
QImage pattern(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x * 7 + y * 13) % 256));
        }
    }
    return image;
}

// Records what the overlay hands on, standing in for the main window.
struct FakeHost {
    explicit FakeHost(fCapture& overlay) {
        picture.setPicture(before);
        QObject::connect(&overlay, &fCapture::regionSelected, [this](const QImage& region) {
            picture.setPicture(region);
            calls.push_back("Image_Captured");
        });
        QObject::connect(&overlay, &fCapture::finished, [this] { calls.push_back("Show_Form"); });
    }

    const QImage before = pattern(3, 3);
    PictureBox picture;
    std::vector<std::string> calls;
};

class Overlay : public ::testing::Test {
protected:
    Overlay() : host(overlay) {
        overlay.setGeometry(0, 0, 400, 300);
        overlay.setPicture(screen);
        overlay.showOverlay();
    }

    void drag(Qt::MouseButton button, QPoint from, QPoint to) {
        QTest::mousePress(&overlay, button, Qt::NoModifier, from);
        QTest::mouseMove(&overlay, (from + to) / 2);
        QTest::mouseMove(&overlay, to);
        QTest::mouseRelease(&overlay, button, Qt::NoModifier, to);
    }

    const QImage screen = pattern(400, 300);
    fCapture overlay;
    FakeHost host;
};

struct Drag {
    float x0, y0, x1, y1;
};

TEST(SelectionRectTest, AllFourDirectionsGiveTheSameRectangleAndLabel) {
    const std::vector<Drag> drags = {
        {100, 50, 350, 90}, {350, 90, 100, 50}, {350, 50, 100, 90}, {100, 90, 350, 50}};
    for (const Drag& d : drags) {
        const SelectionRect r = selectionRect(d.x0, d.y0, d.x1, d.y1);
        EXPECT_EQ(r.left, 100);
        EXPECT_EQ(r.top, 50);
        EXPECT_EQ(r.width, 250);
        EXPECT_EQ(r.height, 40);
        EXPECT_EQ(sizeLabelText(r), QStringLiteral("(250,40)"));
    }
}

TEST(SelectionRectTest, OnlyMoreThanTenPixelsBothWaysIsASelection) {
    EXPECT_TRUE(isLargeEnough(selectionRect(0, 0, 11, 11)));
    EXPECT_FALSE(isLargeEnough(selectionRect(0, 0, 10, 50)));
    EXPECT_FALSE(isLargeEnough(selectionRect(0, 0, 50, 10)));
    EXPECT_FALSE(isLargeEnough(selectionRect(20, 20, 10, 10)));
    EXPECT_TRUE(isLargeEnough(selectionRect(20, 20, 9, 9)));
    EXPECT_FALSE(isLargeEnough(selectionRect(5, 5, 5, 5)));
    EXPECT_EQ(sizeLabelText(selectionRect(7, 7, 7, 7)), QStringLiteral("(0,0)"));
}

TEST_F(Overlay, ReleaseCopiesTheRegionOneToOneWithAnyButtonAndEndsTheCapture) {
    drag(Qt::LeftButton, {120, 80}, {40, 30}); // up and to the left
    EXPECT_EQ(host.picture.picture(), screen.copy(40, 30, 80, 50));
    EXPECT_EQ(host.picture.pos(), QPoint(0, 0));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"Image_Captured", "Show_Form"}));
    EXPECT_FALSE(overlay.isVisible());
    EXPECT_FALSE(overlay.m_Selecting);

    overlay.showOverlay();
    drag(Qt::RightButton, {200, 100}, {211, 111}); // the smallest that counts
    EXPECT_EQ(host.picture.picture(), screen.copy(200, 100, 11, 11));
}

TEST_F(Overlay, ShapeAndLabelFollowTheDragWithTheLabelCentred) {
    QTest::mouseMove(&overlay, {30, 30}); // before any button: nothing changes
    EXPECT_TRUE(overlay.Shape1->isHidden());
    EXPECT_TRUE(overlay.Label1->isHidden());

    QTest::mousePress(&overlay, Qt::LeftButton, Qt::NoModifier, {300, 200});
    EXPECT_TRUE(overlay.Shape1->isHidden()); // nothing drawn on the press itself
    QTest::mouseMove(&overlay, {50, 160});
    EXPECT_TRUE(overlay.Shape1->isVisible());
    EXPECT_TRUE(overlay.Label1->isVisible());
    EXPECT_EQ(overlay.Shape1->geometry(), QRect(50, 160, 250, 40));
    EXPECT_EQ(overlay.Label1->text(), QStringLiteral("(250,40)"));
    const QPoint labelCentre = overlay.Label1->geometry().center();
    EXPECT_NEAR(labelCentre.x(), 50 + 125, 1);
    EXPECT_NEAR(labelCentre.y(), 160 + 20, 1);
    EXPECT_EQ(overlay.Label1->palette().color(QPalette::WindowText), QColor(192, 0, 0));
}

TEST_F(Overlay, ASecondPressWhileDraggingRestartsFromThere) {
    QTest::mousePress(&overlay, Qt::LeftButton, Qt::NoModifier, {10, 10});
    QTest::mousePress(&overlay, Qt::RightButton, Qt::NoModifier, {100, 100});
    QTest::mouseRelease(&overlay, Qt::RightButton, Qt::NoModifier, {150, 130});
    EXPECT_EQ(host.picture.picture(), screen.copy(100, 100, 50, 30));
}

TEST_F(Overlay, SmallDragsAndEscapeCancelAndLeaveThePictureAlone) {
    QTest::keyClick(&overlay, Qt::Key_A); // other keys do nothing
    EXPECT_TRUE(overlay.isVisible());
    const std::vector<std::pair<QPoint, QPoint>> slips = {
        {{100, 100}, {100, 100}}, {{100, 100}, {110, 150}}, {{100, 100}, {150, 110}}};
    for (const auto& slip : slips) {
        host.calls.clear();
        overlay.showOverlay();
        drag(Qt::LeftButton, slip.first, slip.second);
        EXPECT_EQ(host.calls, std::vector<std::string>{"Show_Form"});
        EXPECT_FALSE(overlay.isVisible());
    }
    host.calls.clear();
    overlay.showOverlay();
    QTest::mousePress(&overlay, Qt::LeftButton, Qt::NoModifier, {10, 10});
    QTest::mouseMove(&overlay, {200, 200});
    QTest::keyClick(&overlay, Qt::Key_Escape);
    EXPECT_FALSE(overlay.isVisible());
    // A release after the cancel belongs to no selection.
    QTest::mouseRelease(&overlay, Qt::LeftButton, Qt::NoModifier, {200, 200});
    EXPECT_EQ(host.calls, std::vector<std::string>{"Show_Form"});
    EXPECT_EQ(host.picture.picture(), host.before);
}

TEST_F(Overlay, TheFrozenImageIsDrawnUnscaledAtTheOrigin) {
    const QImage shown = overlay.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.copy(0, 0, 400, 300), screen);
}

} // namespace
} // namespace pellix
