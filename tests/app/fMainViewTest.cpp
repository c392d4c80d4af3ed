// The main window's image view: scroll ranges, panning and layout.
#include "app/fMain.h"
#include "fakes/FakeServices.h"
#include "scrollview/PictureBox.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
void PrintTo(const QRect& r, std::ostream* os) {
    *os << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}
void PrintTo(const QPoint& p, std::ostream* os) {
    *os << p.x() << "," << p.y();
}
QT_END_NAMESPACE

namespace pellix {
namespace {

class fMainView : public ::testing::Test, protected FakeServices {
protected:
    void SetUp() override {
        window = std::make_unique<fMain>(services());
        window->Form_Load();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void resizeTo(int width, int height) {
        window->resize(width, height);
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->size() == QSize(width, height); }));
    }
    // A capture of the given size arriving in the view.
    void capture(int width, int height) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        window->Picture1->setPicture(image);
        window->Image2FileAndClipboard();
    }
    std::array<int, 4> ranges() {
        cScroll& s = *window->m_Scroll;
        return {s.VMax(), s.VPage(), s.HMax(), s.HPage()};
    }
    QScrollBar* bar(Qt::Orientation orientation) {
        return window->Picture2->scrollBar(orientation);
    }
    QPoint place() const { return window->Picture1->pos(); }

    std::unique_ptr<fMain> window;
};

TEST_F(fMainView, StartUp_Should_ShowBothBars_KeepingTheirShownRange) {
    EXPECT_EQ(window->Picture2->geometry(), QRect(221, 20, 817, 559));
    EXPECT_TRUE(bar(Qt::Vertical)->isVisible() && bar(Qt::Horizontal)->isVisible());
    // The start-up picture (787 x 355) is smaller than the view: no range is set.
    EXPECT_EQ(window->m_Scroll->VMin(), 0);
    EXPECT_EQ(window->m_Scroll->HMin(), 0);
    EXPECT_EQ(ranges(), (std::array{100, 0, 100, 0}));
}

TEST_F(fMainView, LargeCapture_Should_PanOverItsWholeRange) {
    capture(1920, 1080);
    EXPECT_EQ(window->Picture1->size(), QSize(1922, 1082));
    EXPECT_EQ(ranges(), (std::array{1082, 108, 1922, 192}));
    QScrollBar* v = bar(Qt::Vertical);
    QScrollBar* h = bar(Qt::Horizontal);
    v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    h->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(place(), QPoint(-192, -10));
    v->triggerAction(QAbstractSlider::SliderToMaximum);
    h->triggerAction(QAbstractSlider::SliderToMaximum);
    v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(place(), QPoint(-1731, -975));
    QWheelEvent away(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, 120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->Picture2, &away);
    EXPECT_EQ(place(), QPoint(-1731, -945));
    v->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(place(), QPoint(-1731, 0));
}

TEST_F(fMainView, Ranges_Should_FollowOnlyAPictureAtLeastAsLargeAsTheView) {
    for (const auto& [height, page] : {std::pair{1082, 108}, {1085, 108}, {1095, 110}}) {
        capture(1000, height - 2);
        EXPECT_EQ(ranges()[1], page) << "a tenth, halves to even: " << height;
    }
    capture(1920, 1080);
    capture(600, 1500); // taller but narrower: neither direction changes
    EXPECT_EQ(ranges(), (std::array{1082, 108, 1922, 192}));
    capture(812, 554); // a few pixels short of the view's outer size
    EXPECT_EQ(ranges(), (std::array{1082, 108, 1922, 192}));
    capture(815, 557); // with its border exactly the view's outer size
    EXPECT_EQ(ranges(), (std::array{559, 56, 817, 82}));
}

TEST_F(fMainView, Panning_Should_ContinueFromTheBars_AfterAResetOfThePicture) {
    capture(1920, 1080);
    QScrollBar* v = bar(Qt::Vertical);
    v->setSliderDown(true);
    v->setSliderPosition(200);
    v->setSliderDown(false);
    EXPECT_EQ(place(), QPoint(0, -200));
    v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(place(), QPoint(0, -210));

    bar(Qt::Horizontal)->setSliderPosition(300);
    resizeTo(1100, 650);
    EXPECT_EQ(place(), QPoint(0, 0));
    EXPECT_EQ(std::pair(window->m_Scroll->HPos(), window->m_Scroll->VPos()), std::pair(300, 210));
    bar(Qt::Horizontal)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(place(), QPoint(-310, 0));
}

TEST_F(fMainView, Layout_Should_FillTheRoomBesideTheControlColumn) {
    const std::tuple<int, int, QRect> cases[] = {
        // The height is the inner height less the two margins: 900 gives 860.
        {1600, 900, {221, 20, 1359, 860}}, {1058, 599, {221, 20, 817, 559}},
        {241, 300, {221, 20, 0, 260}},     {230, 300, {221, 20, 0, 260}}, // too narrow: kept
        {500, 39, {221, 20, 0, 260}},      {500, 40, {221, 20, 259, 0}},  // too low: kept
    };
    const std::array<QWidget*, 4> column = {window->Frame1, window->Frame2, window->Label1,
                                            window->cmdCapture[1]};
    const std::array<QRect, 4> design = {column[0]->geometry(), column[1]->geometry(),
                                         column[2]->geometry(), column[3]->geometry()};
    for (const auto& [width, height, view] : cases) {
        window->Picture1->move(-40, -40);
        resizeTo(width, height);
        EXPECT_EQ(window->Picture2->geometry(), view) << width << "x" << height;
        EXPECT_EQ(place(), QPoint(0, 0)) << width << "x" << height;
        for (std::size_t i = 0; i < column.size(); ++i) {
            EXPECT_EQ(column[i]->geometry(), design[i]);
        }
    }
}

TEST_F(fMainView, Minimized_Should_MoveNothing_UntilRestored) {
    window->setWindowState(Qt::WindowMinimized);
    window->Picture1->move(-40, -40);
    resizeTo(1600, 900);
    EXPECT_EQ(window->Picture2->geometry(), QRect(221, 20, 817, 559));
    EXPECT_EQ(place(), QPoint(-40, -40));
    window->setWindowState(Qt::WindowNoState);
    EXPECT_EQ(window->Picture2->geometry(), QRect(221, 20, 1359, 860));
    EXPECT_EQ(place(), QPoint(0, 0));
}

TEST_F(fMainView, Unload_Should_DetachTheController) {
    window->close();
    EXPECT_EQ(window->m_Scroll, nullptr);
    EXPECT_TRUE(bar(Qt::Vertical)->isVisibleTo(window->Picture2)) << "the bars stay as they were";
}

} // namespace
} // namespace pellix
