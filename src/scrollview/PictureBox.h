#pragma once

#include <QImage>
#include <QWidget>

namespace pellix {

// A picture box: shows one picture at its top-left corner inside an optional
// one-pixel border, and with auto-size on sizes itself to the picture plus that
// border. Its persistent image is the picture it shows.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }
    void clearPicture() { setPicture(QImage()); }

    void setAutoSize(bool on);
    bool autoSize() const { return m_autoSize; }

    void setBorder(bool on);
    bool border() const { return m_border; }
    int borderWidth() const { return m_border ? 1 : 0; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fitToPicture();

    QImage m_picture;
    bool m_autoSize = false;
    bool m_border = true;
};

} // namespace pellix
