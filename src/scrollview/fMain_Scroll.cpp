// The main window's side of the image view: attaching the scroll controller to
// the view port, fitting the ranges to the picture, and panning the picture.
#include "app/fMain.h"
#include "platform/Rounding.h"
#include "platform/qt/PictureBox.h"

namespace pellix {

namespace {

// Page sizes are whole pixels, rounded as the ranges have always been computed.
std::int32_t pageFor(std::int32_t range) {
    return static_cast<std::int32_t>(roundHalfEven(range / 10.0));
}

} // namespace

// Both bars stay visible, disabled when there is nothing to scroll, and an arrow
// click moves 10 pixels. The minimum writes of 3 leave the shown bars' minimum at 0.
void fMain::createScrollController() {
    m_Scroll =
        cScroll::create(m_services.windowing, {[this](std::int32_t p) { m_Scroll_HChange(p); },
                                               [this](std::int32_t p) { m_Scroll_HScroll(p); },
                                               [this](std::int32_t p) { m_Scroll_VChange(p); },
                                               [this](std::int32_t p) {
                                                   m_Scroll_VScroll(p);
                                               }});
    m_Scroll->SubClass(Picture2);
    m_Scroll->setVScroll(true);
    m_Scroll->setVDisableNoScroll(true);
    m_Scroll->setVMin(3);
    m_Scroll->setVSmallChange(10);
    m_Scroll->setHScroll(true);
    m_Scroll->setHDisableNoScroll(true);
    m_Scroll->setHMin(3);
    m_Scroll->setHSmallChange(10);
    connect(Picture2, &PictureBox::resized, this, [this] { Picture2_Resize(); });
}

// Ranges follow only a picture at least as large as the view port in both
// directions; the page is a tenth of the picture, not the view port's size.
void fMain::Picture2_Resize() {
    if (!m_Scroll) {
        return;
    }
    if (Picture1->height() < Picture2->height()) {
        return;
    }
    if (Picture1->width() < Picture2->width()) {
        return;
    }
    m_Scroll->setVMax(Picture1->height());
    m_Scroll->setVPage(pageFor(m_Scroll->VMax()));
    m_Scroll->setHMax(Picture1->width());
    m_Scroll->setHPage(pageFor(m_Scroll->HMax()));
}

void fMain::m_Scroll_HChange(std::int32_t nCurPos) {
    Picture1->move(-nCurPos, Picture1->y());
}

void fMain::m_Scroll_HScroll(std::int32_t nCurPos) {
    Picture1->move(-nCurPos, Picture1->y());
}

void fMain::m_Scroll_VChange(std::int32_t nCurPos) {
    Picture1->move(Picture1->x(), -nCurPos);
}

void fMain::m_Scroll_VScroll(std::int32_t nCurPos) {
    Picture1->move(Picture1->x(), -nCurPos);
}

} // namespace pellix
