// The main window's image view: scroll ranges, panning and layout.
#include "ViewTestServices.h"
#include "app/fMain.h"
#include "platform/qt/PictureBox.h"
#include "platform/qt/ScrollWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
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

class fMainView : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(env.dir.isValid());
        window = std::make_unique<fMain>(env.services());
        window->Form_Load();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // The inner size of the window, as a user's resize would give it.
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

    QScrollBar* bar(int nBar) { return ScrollWindow::of(window->Picture2).bar(nBar).scrollBar(); }
    QPoint picturePlace() const { return window->Picture1->pos(); }
    cScroll& scroll() { return *window->m_Scroll; }

    testing::ViewTestServices env;
    std::unique_ptr<fMain> window;
};

TEST_F(fMainView, StartUp_Should_ShowBothBars_WithTheirShownRange) {
    EXPECT_EQ(window->Picture2->geometry(), QRect(221, 20, 817, 559));
    EXPECT_TRUE(bar(SB_VERT)->isVisible());
    EXPECT_TRUE(bar(SB_HORZ)->isVisible());
    EXPECT_EQ(window->Picture1->size(), QSize(787, 355));
    // The start-up picture is smaller than the view: the ranges stay as shown.
    EXPECT_EQ(scroll().VMin(), 0);
    EXPECT_EQ(scroll().VMax(), 100);
    EXPECT_EQ(scroll().HMin(), 0);
    EXPECT_EQ(scroll().HMax(), 100);
    EXPECT_EQ(scroll().VSmallChange(), 10);
    EXPECT_EQ(scroll().HSmallChange(), 10);
    EXPECT_TRUE(scroll().VDisableNoScroll());
    EXPECT_TRUE(scroll().HDisableNoScroll());
}

TEST_F(fMainView, LargeCapture_Should_PanOverItsWholeRange) {
    capture(1920, 1080);
    EXPECT_EQ(window->Picture1->size(), QSize(1922, 1082));
    EXPECT_EQ(scroll().VMax(), 1082);
    EXPECT_EQ(scroll().VPage(), 108);
    EXPECT_EQ(scroll().HMax(), 1922);
    EXPECT_EQ(scroll().HPage(), 192);

    QScrollBar* v = bar(SB_VERT);
    QScrollBar* h = bar(SB_HORZ);
    v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(picturePlace(), QPoint(-10, -10)) << "arrows";
    v->triggerAction(QAbstractSlider::SliderPageStepAdd);
    h->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(picturePlace(), QPoint(-202, -118)) << "page areas";
    v->triggerAction(QAbstractSlider::SliderToMaximum);
    h->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(picturePlace(), QPoint(-1731, -975)) << "to the ends";
    v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(picturePlace(), QPoint(-1731, -975)) << "nothing beyond the end";

    QWheelEvent away(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, 120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->Picture2, &away);
    EXPECT_EQ(picturePlace(), QPoint(-1731, -945)) << "wheel";

    h->setSliderDown(true);
    h->setSliderPosition(600);
    h->setSliderDown(false);
    EXPECT_EQ(picturePlace(), QPoint(-600, -945)) << "thumb";
    v->triggerAction(QAbstractSlider::SliderToMinimum);
    h->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(picturePlace(), QPoint(0, 0));
}

TEST_F(fMainView, Page_Should_BeATenthRoundedHalfToEven) {
    for (const auto& [height, page] : {std::pair{1082, 108}, {1085, 108}, {1095, 110}}) {
        capture(1000, height - 2);
        EXPECT_EQ(scroll().VMax(), height);
        EXPECT_EQ(scroll().VPage(), page) << "height " << height;
    }
}

TEST_F(fMainView, Ranges_Should_FollowOnlyAPictureAtLeastAsLargeAsTheView) {
    capture(1920, 1080);
    const auto ranges = [this] {
        return std::array{scroll().VMax(), scroll().VPage(), scroll().HMax(), scroll().HPage()};
    };
    const auto before = ranges();

    capture(600, 1500); // taller but narrower: neither direction changes
    EXPECT_EQ(ranges(), before);
    capture(812, 554); // a few pixels short of the view's outer size
    EXPECT_EQ(ranges(), before);

    capture(815, 557); // with its border exactly the view's outer size
    EXPECT_EQ(ranges(), (std::array{559, 56, 817, 82}));
}

TEST_F(fMainView, ThumbThenArrow_Should_ContinueFromTheThumb) {
    capture(1920, 1080);
    QScrollBar* v = bar(SB_VERT);
    v->setSliderDown(true);
    v->setSliderPosition(200);
    EXPECT_EQ(window->Picture1->y(), -200);
    v->setSliderDown(false);
    v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(window->Picture1->y(), -210);
}

TEST_F(fMainView, Resize_Should_PutThePictureBack_WhileTheBarsKeepTheirPositions) {
    capture(1920, 1080);
    scroll().setHPos(300);
    scroll().setVPos(200);
    ScrollWindow::of(window->Picture2).sendMessage(WM_HSCROLL, MakeLong(SB_THUMBPOSITION, 300), 0);
    ScrollWindow::of(window->Picture2).sendMessage(WM_VSCROLL, MakeLong(SB_THUMBPOSITION, 200), 0);
    ASSERT_EQ(picturePlace(), QPoint(-300, -200));

    resizeTo(1100, 650);
    EXPECT_EQ(picturePlace(), QPoint(0, 0));
    EXPECT_EQ(scroll().HPos(), 300);
    EXPECT_EQ(scroll().VPos(), 200);
    bar(SB_HORZ)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(window->Picture1->x(), -310);
}

TEST_F(fMainView, Layout_Should_FillTheRoomBesideTheControlColumn) {
    struct Case {
        int width, height;
        QRect view;
    };
    const Case cases[] = {
        // The height is the inner height less the two margins: 900 gives 860.
        {1600, 900, {221, 20, 1359, 860}},
        {1058, 599, {221, 20, 817, 559}},
        {241, 300, {221, 20, 0, 260}},
        {230, 300, {221, 20, 0, 260}}, // too narrow: the view keeps its last place
        {500, 39, {221, 20, 0, 260}},  // too low: likewise
        {500, 40, {221, 20, 259, 0}},
    };
    const QList<QWidget*> column = {window->Frame1, window->Frame2, window->Label1, window->cmdHelp,
                                    window->cmdCapture[1]};
    QList<QRect> design;
    for (QWidget* w : column) {
        design << w->geometry();
    }
    for (const Case& c : cases) {
        window->Picture1->move(-40, -40);
        resizeTo(c.width, c.height);
        EXPECT_EQ(window->Picture2->geometry(), c.view) << c.width << "x" << c.height;
        EXPECT_EQ(picturePlace(), QPoint(0, 0)) << c.width << "x" << c.height;
        for (int i = 0; i < column.size(); ++i) {
            EXPECT_EQ(column[i]->geometry(), design[i]) << column[i]->objectName().toStdString();
        }
    }
}

TEST_F(fMainView, Minimized_Should_MoveNothing_UntilRestored) {
    window->setWindowState(Qt::WindowMinimized);
    window->Picture1->move(-40, -40);
    resizeTo(1600, 900);
    EXPECT_EQ(window->Picture2->geometry(), QRect(221, 20, 817, 559));
    EXPECT_EQ(picturePlace(), QPoint(-40, -40));

    window->setWindowState(Qt::WindowNoState);
    EXPECT_EQ(window->Picture2->geometry(), QRect(221, 20, 1359, 860));
    EXPECT_EQ(picturePlace(), QPoint(0, 0));
}

TEST_F(fMainView, Unload_Should_DetachTheController) {
    window->close();
    EXPECT_EQ(window->m_Scroll, nullptr);
    EXPECT_EQ(GetProp(window->Picture2, "nvStdScroll"), 0u);
    EXPECT_TRUE(bar(SB_VERT)->isVisibleTo(window->Picture2)) << "the bars stay as they were";
}

} // namespace
} // namespace pellix

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
