#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

class QLabel;

namespace pellix {

class PictureBox;

// The main window as the overlay sees it at the end of a selection.
class CaptureHost {
public:
    virtual ~CaptureHost() = default;

    // The image box that receives the selected region, emptied and back at the
    // view's origin; only asked for once a region is accepted.
    virtual PictureBox& capturePicture() = 0;
    virtual void Image_Captured() = 0;
    virtual void Show_Form() = 0;
};

// A selection in whole pixels: never a negative size, whatever the drag's direction.
struct SelectionRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

// Anything of this many pixels or fewer, in either direction, is a slip, not a selection.
constexpr float MinSelectionPixels = 10;

SelectionRect selectionRect(float startX, float startY, float x, float y);
bool isLargeEnough(const SelectionRect& rect);
// "(w,h)", the numbers in their shortest decimal form.
QString sizeLabelText(const SelectionRect& rect);

// The region overlay: a frozen image of the whole screen on a borderless window
// above every other one, on which the user drags the region to capture. The
// release copies the region 1:1 into the host's image box; Escape, or a drag of
// ten pixels or less, cancels and leaves the host's picture alone.
class fCapture : public QWidget {
    Q_OBJECT
public:
    explicit fCapture(CaptureHost& host);

    // The frozen screen, in the screen's physical pixels; drawn unscaled at the
    // overlay's top-left corner, which lies on the screen's.
    void setPicture(const QImage& screen);
    const QImage& picture() const { return m_picture; }

    // Shows the overlay in front, with the keyboard, so that Escape reaches it.
    void showOverlay();

    void Form_MouseDown(int button, int shift, float x, float y);
    void Form_MouseMove(int button, int shift, float x, float y);
    void Form_MouseUp(int button, int shift, float x, float y);

    QWidget* Shape1 = nullptr;
    QLabel* Label1 = nullptr;

    bool m_Selecting = false;
    float m_StartX = 0;
    float m_StartY = 0;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void cancel();
    // The part of the frozen image under `rect`, which is in the overlay's units.
    QImage region(const SelectionRect& rect) const;
    // What the label reads: the size in the image's pixels.
    SelectionRect inPixels(const SelectionRect& rect) const;

    CaptureHost& m_host;
    QImage m_picture;
};

} // namespace pellix
