// The main window's layout: only the image view follows the window's size; the
// control column keeps its design places.
#include "app/fMain.h"
#include "scrollview/PictureBox.h"
#include "widgets/Fonts.h"

#include <QEvent>
#include <QGroupBox>

#include <cmath>

namespace pellix {

namespace {

constexpr float Gap = 20.0f;     // between the control column and the view
constexpr float Margin = 20.0f;  // above, right of and below the view
constexpr float Margins = 40.0f; // both margins of one direction

} // namespace

// The view is created at its design place; the picture box it holds is Picture1.
void fMain::createImageView() {
    Picture2 = place(new ImageView(this), 216, 24, 820, 556);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setFont(msSansSerifFont());
    Picture2->setFocusPolicy(Qt::StrongFocus);

    Picture1 = place(Picture2->picture(), -8, -16, 787, 355);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFont(msSansSerifFont());
    Picture1->setFocusPolicy(Qt::StrongFocus);
    Picture1->setAutoSize(true);
    Picture1->setPicture(QImage(QStringLiteral(":/pellix/startup.jpg")));
}

void fMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

// Restoring from the task bar changes the state without a resize.
void fMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        Form_Resize();
    }
}

void fMain::Form_Resize() {
    if (windowState() & Qt::WindowMinimized) {
        return;
    }
    const float columnRight = static_cast<float>(Frame1->x()) + static_cast<float>(Frame1->width());
    const float left = columnRight + Gap;
    const float width = static_cast<float>(this->width()) - (columnRight + Margins);
    const float height = static_cast<float>(this->height()) - Margins;
    // A window narrower or lower than the margins leaves the view where it was.
    if (width >= 0.0f && height >= 0.0f) {
        Picture2->setGeometry(static_cast<int>(std::lround(left)), static_cast<int>(Margin),
                              static_cast<int>(std::lround(width)),
                              static_cast<int>(std::lround(height)));
    }
    Picture1->move(0, 0);
}

} // namespace pellix
