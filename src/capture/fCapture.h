#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

class QLabel;
class QScreen;

namespace pellix {

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
// release hands the region on 1:1; Escape, or a drag of ten pixels or less,
// cancels. Either way the overlay hides and says it has finished.
class fCapture : public QWidget {
    Q_OBJECT
public:
    // Spanning: one window over all monitors, placed by the program (X11).
    // FullScreen: one window per screen, placed by the compositor (Wayland).
    enum Mode { Spanning, FullScreen };
    explicit fCapture(Mode mode = Spanning, QWidget* parent = nullptr);

    // The frozen screen, in the screen's physical pixels; drawn unscaled at the
    // overlay's top-left corner, which lies on the screen's.
    void setPicture(const QImage& screen);
    const QImage& picture() const { return m_picture; }

    // Shows the overlay in front, with the keyboard, so that Escape reaches it.
    void showOverlay();
    // Shows a full-screen overlay on `screen` with that screen's picture.
    void showOn(QScreen& screen, const QImage& picture);

    void Form_MouseDown(int button, int shift, float x, float y);
    void Form_MouseMove(int button, int shift, float x, float y);
    void Form_MouseUp(int button, int shift, float x, float y);

signals:
    void regionSelected(const QImage& region);
    void finished();

public:
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

    QImage m_picture;
    Mode m_mode;
};

} // namespace pellix
