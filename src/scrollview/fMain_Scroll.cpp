// The main window's side of the image view: taking up the view's scroll
// controller at load and fitting the ranges to the picture.
#include "app/fMain.h"

namespace pellix {

// Both bars stay visible, disabled when there is nothing to scroll, and an arrow
// click moves 10 pixels. The minimum writes of 3 leave the shown bars' minimum at 0.
// The ranges follow the view's size only from here on, as the controller serves
// the form from load to unload.
void fMain::createScrollController() {
    m_Scroll = &Picture2->scroll();
    m_Scroll->setVScroll(true);
    m_Scroll->setVDisableNoScroll(true);
    m_Scroll->setVMin(3);
    m_Scroll->setVSmallChange(10);
    m_Scroll->setHScroll(true);
    m_Scroll->setHDisableNoScroll(true);
    m_Scroll->setHMin(3);
    m_Scroll->setHSmallChange(10);
    connect(Picture2, &ImageView::resized, this, [this] { Picture2_Resize(); });
}

void fMain::Picture2_Resize() {
    if (m_Scroll) {
        Picture2->fitRangesToPicture();
    }
}

} // namespace pellix
