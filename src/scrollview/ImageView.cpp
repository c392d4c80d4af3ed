#include "scrollview/ImageView.h"

#include "platform/Rounding.h"
#include "scrollview/PictureBox.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>

namespace pellix {

namespace {

// Page sizes are whole pixels, rounded as the ranges have always been computed.
std::int32_t pageFor(std::int32_t range) {
    return static_cast<std::int32_t>(roundHalfEven(range / 10.0));
}

} // namespace

ImageView::ImageView(QWidget* parent)
    : QFrame(parent), m_viewport(new QWidget(this)), m_picture(new PictureBox(m_viewport)),
      m_horizontal(createBar(Qt::Horizontal)), m_vertical(createBar(Qt::Vertical)) {
    // One pixel in the grey the picture box draws its own border in.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setForegroundRole(QPalette::Dark);
    setAutoFillBackground(true);
    // The part of the picture at a bar's position comes to the viewport's origin,
    // whichever action moved the bar.
    const auto panX = [this](std::int32_t nCurPos) {
        m_picture->move(-nCurPos, m_picture->y());
    };
    const auto panY = [this](std::int32_t nCurPos) {
        m_picture->move(m_picture->x(), -nCurPos);
    };
    m_scroll = std::make_unique<cScroll>(cScrollEvents{panX, panX, panY, panY},
                                         QApplication::wheelScrollLines());
    m_scroll->SubClass(*m_horizontal, *m_vertical);
    layoutParts();
}

ImageView::~ImageView() = default;

QScrollBar* ImageView::createBar(Qt::Orientation orientation) {
    auto* bar = new QScrollBar(orientation, this);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->hide();
    bar->installEventFilter(this);
    return bar;
}

QScrollBar* ImageView::scrollBar(Qt::Orientation orientation) const {
    return orientation == Qt::Horizontal ? m_horizontal : m_vertical;
}

void ImageView::fitRangesToPicture() {
    if (m_picture->height() < height() || m_picture->width() < width()) {
        return;
    }
    m_scroll->setVMax(m_picture->height());
    m_scroll->setVPage(pageFor(m_scroll->VMax()));
    m_scroll->setHMax(m_picture->width());
    m_scroll->setHPage(pageFor(m_scroll->HMax()));
}

void ImageView::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    layoutParts();
    emit resized();
}

void ImageView::wheelEvent(QWheelEvent* event) {
    if (!turnWheel(event)) {
        event->ignore();
    }
}

bool ImageView::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Wheel:
        // Over a bar the wheel belongs to the view, never to the bar's own steps.
        turnWheel(static_cast<QWheelEvent*>(event));
        return true;
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        layoutParts();
        break;
    default:
        break;
    }
    return QFrame::eventFilter(watched, event);
}

// Only a vertical turn scrolls; a sideways one goes on to the parent.
bool ImageView::turnWheel(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        return false;
    }
    m_scroll->wheelTurned(delta);
    event->accept();
    return true;
}

void ImageView::layoutParts() {
    const QRect inner = contentsRect();
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_vertical);
    const int width = std::max(inner.width() - (m_vertical->isHidden() ? 0 : extent), 0);
    const int height = std::max(inner.height() - (m_horizontal->isHidden() ? 0 : extent), 0);
    m_viewport->setGeometry(inner.x(), inner.y(), width, height);
    m_vertical->setGeometry(inner.x() + width, inner.y(), extent, height);
    m_horizontal->setGeometry(inner.x(), inner.y() + height, width, extent);
}

// The minimum writes of 3 leave the shown bars' minimum at 0.
void ImageView::useStandardBars() {
    m_scroll->setVScroll(true);
    m_scroll->setVDisableNoScroll(true);
    m_scroll->setVMin(3);
    m_scroll->setVSmallChange(10);
    m_scroll->setHScroll(true);
    m_scroll->setHDisableNoScroll(true);
    m_scroll->setHMin(3);
    m_scroll->setHSmallChange(10);
    connect(this, &ImageView::resized, this, &ImageView::fitRangesToPicture, Qt::UniqueConnection);
}

} // namespace pellix
