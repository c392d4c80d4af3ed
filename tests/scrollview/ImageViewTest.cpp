// The image view on its own: where its parts lie, and how the bars and the wheel
// pan the picture.
#include "scrollview/ImageView.h"
#include "scrollview/PictureBox.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <array>

namespace pellix {
namespace {

QWheelEvent wheel(QPoint angle) {
    return QWheelEvent(QPointF(5, 5), QPointF(5, 5), QPoint(), angle, Qt::NoButton, Qt::NoModifier,
                       Qt::NoScrollPhase, false);
}

class ImageViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        QApplication::setWheelScrollLines(3);
        parent.resize(600, 400);
        view = new ImageView(&parent);
        view->setGeometry(10, 10, 300, 200);
        parent.show();
        QImage image(1000, 800, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        view->picture()->setAutoSize(true);
        view->picture()->setPicture(image);
        cScroll& s = view->scroll();
        s.setVScroll(true);
        s.setHScroll(true);
        s.setVSmallChange(10);
        view->fitRangesToPicture();
    }
    QScrollBar* bar(Qt::Orientation orientation) { return view->scrollBar(orientation); }
    QPoint place() const { return view->picture()->pos(); }
    int extent() { return view->style()->pixelMetric(QStyle::PM_ScrollBarExtent); }

    QWidget parent;
    ImageView* view = nullptr;
};

TEST_F(ImageViewTest, PictureAndBars_Should_LieInsideTheBorder) {
    const int e = extent();
    struct Row {
        bool h, v;
        QRect viewport, horizontal, vertical;
    };
    const Row rows[] = {
        {true, true, {1, 1, 298 - e, 198 - e}, {1, 199 - e, 298 - e, e}, {299 - e, 1, e, 198 - e}},
        {false, true, {1, 1, 298 - e, 198}, {}, {299 - e, 1, e, 198}},
        {true, false, {1, 1, 298, 198 - e}, {1, 199 - e, 298, e}, {}},
        {false, false, {1, 1, 298, 198}, {}, {}},
    };
    for (const Row& row : rows) {
        view->scroll().setHScroll(row.h);
        view->scroll().setVScroll(row.v);
        EXPECT_EQ(view->viewport()->geometry(), row.viewport) << row.h << row.v;
        if (row.h) {
            EXPECT_EQ(bar(Qt::Horizontal)->geometry(), row.horizontal) << row.h << row.v;
        }
        if (row.v) {
            EXPECT_EQ(bar(Qt::Vertical)->geometry(), row.vertical) << row.h << row.v;
        }
    }
    view->picture()->move(0, 0);
    EXPECT_EQ(view->picture()->mapTo(view, QPoint(0, 0)), QPoint(1, 1));
}

TEST_F(ImageViewTest, BarsAndWheel_Should_PanThePicture) {
    bar(Qt::Vertical)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar(Qt::Horizontal)->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(place(), QPoint(-100, -10));
    bar(Qt::Horizontal)->setSliderPosition(250);
    EXPECT_EQ(place(), QPoint(-250, -10));

    // The wheel pans vertically over the view and over both bars; a sideways turn
    // is not the view's. (Over the picture it reaches the view as real input only:
    // the X server test covers that.)
    const std::array<QWidget*, 3> over = {view, bar(Qt::Horizontal), bar(Qt::Vertical)};
    for (QWidget* target : over) {
        const int y = place().y();
        QWheelEvent down = wheel({0, -120});
        QApplication::sendEvent(target, &down);
        EXPECT_EQ(place(), QPoint(-250, y - 30)) << target->metaObject()->className();
    }
    QWheelEvent sideways = wheel({-120, 0});
    QApplication::sendEvent(view, &sideways);
    EXPECT_FALSE(sideways.isAccepted());
    EXPECT_EQ(place(), QPoint(-250, -100));
}

} // namespace
} // namespace pellix
