// Real pointer input on a real X server: arrow clicks, wheel turns and a thumb drag on the
// view's bars and picture move a large picture by the expected pixels.
#include "app/fMain.h"
#include "fakes/FakeServices.h"
#include "scrollview/PictureBox.h"

#include <QApplication>
#include <QProcess>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace pellix {
namespace {

class PanningOnX : public ::testing::Test, protected FakeServices {
protected:
    void SetUp() override {
        window = std::make_unique<fMain>(services());
        window->Form_Load();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QImage image(1920, 1080, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        window->Picture1->setPicture(image);
        window->Image2FileAndClipboard();
    }

    // Clicks a button at a point of a widget, through the X server.
    void click(QWidget* widget, QPoint at, int button) {
        const QPoint inWindow = widget->mapTo(window.get(), at);
        const QString id = QString::number(window->winId());
        const int rc =
            QProcess::execute(QStringLiteral("xdotool"),
                              {QStringLiteral("mousemove"), QStringLiteral("--window"), id,
                               QString::number(inWindow.x()), QString::number(inWindow.y()),
                               QStringLiteral("click"), QString::number(button)});
        ASSERT_EQ(rc, 0);
    }

    bool pictureReaches(QPoint place) {
        return QTest::qWaitFor([&] { return window->Picture1->pos() == place; }, 5000);
    }

    QScrollBar* bar(Qt::Orientation orientation) {
        return window->Picture2->scrollBar(orientation);
    }

    std::unique_ptr<fMain> window;
};

TEST_F(PanningOnX, ArrowsWheelAndThumb_Should_MoveThePicture) {
    QScrollBar* v = bar(Qt::Vertical);
    QScrollBar* h = bar(Qt::Horizontal);
    const int e = v->width();
    click(v, QPoint(e / 2, v->height() - e / 2), 1); // down arrow
    EXPECT_TRUE(pictureReaches(QPoint(0, -10))) << window->Picture1->y();
    click(h, QPoint(h->width() - e / 2, e / 2), 1); // right arrow
    EXPECT_TRUE(pictureReaches(QPoint(-10, -10))) << window->Picture1->x();

    // Over the picture, the wheel reaches the view: one notch is three lines of 10.
    const QPoint middle(window->Picture2->width() / 2, window->Picture2->height() / 2);
    click(window->Picture1, window->Picture1->mapFrom(window->Picture2, middle), 5);
    EXPECT_TRUE(pictureReaches(QPoint(-10, -40))) << window->Picture1->y();
    click(window->Picture1, window->Picture1->mapFrom(window->Picture2, middle), 4);
    EXPECT_TRUE(pictureReaches(QPoint(-10, -10))) << window->Picture1->y();

    // Dragging the thumb down the track: the picture follows the bar's position.
    const int track = v->height() - 2 * e;
    const int thumb = e + track * 108 / 1082 / 2 + 1;
    const QPoint from = v->mapTo(window.get(), QPoint(e / 2, thumb));
    const QString id = QString::number(window->winId());
    QProcess::execute(
        QStringLiteral("xdotool"),
        {QStringLiteral("mousemove"), QStringLiteral("--window"), id, QString::number(from.x()),
         QString::number(from.y()), QStringLiteral("mousedown"), QStringLiteral("1"),
         QStringLiteral("mousemove"), QStringLiteral("--window"), id, QString::number(from.x()),
         QString::number(from.y() + track / 2), QStringLiteral("mouseup"), QStringLiteral("1")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !v->isSliderDown() && v->value() > 300; }, 5000))
        << v->value();
    EXPECT_EQ(window->Picture1->y(), -v->value());
}

} // namespace
} // namespace pellix
