#pragma once

#include "scrollview/cScroll.h"

#include <QFrame>

#include <memory>

class QScrollBar;

namespace pellix {

class PictureBox;

// The image view: a picture box panned inside a one-pixel frame by a horizontal and
// a vertical scroll bar. The bars lie inside the frame along its right and bottom
// edges, and the picture moves in the viewport they leave free, so neither covers
// the frame. Panning moves the whole picture box to the negative of the bars'
// positions; the picture itself is never redrawn or cropped for it.
class ImageView : public QFrame {
    Q_OBJECT
public:
    explicit ImageView(QWidget* parent = nullptr);
    ~ImageView() override;

    // The picture box; its position is relative to the viewport.
    PictureBox* picture() const { return m_picture; }
    QWidget* viewport() const { return m_viewport; }
    QScrollBar* scrollBar(Qt::Orientation orientation) const;
    cScroll& scroll() { return *m_scroll; }

    // Fits the bars' ranges to a picture at least as large as the view in both
    // directions: the range is the picture box's size and the page a tenth of it.
    // A smaller picture leaves both bars as they are.
    void fitRangesToPicture();
    // From now on: both bars shown, disabled when there is nothing to scroll,
    // 10 pixels an arrow click, and the ranges fitted whenever the view resizes.
    void useStandardBars();

signals:
    void resized();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QScrollBar* createBar(Qt::Orientation orientation);
    void layoutParts();
    bool turnWheel(QWheelEvent* event);

    QWidget* m_viewport;
    PictureBox* m_picture;
    QScrollBar* m_horizontal;
    QScrollBar* m_vertical;
    std::unique_ptr<cScroll> m_scroll;
};

} // namespace pellix
