#pragma once

#include <QImage>
#include <QString>

namespace pellix {

// The system clipboard. Each setter replaces everything the clipboard held.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    virtual void clear() = 0;
    virtual void setImage(const QImage& image) = 0;
    virtual void setText(const QString& text) = 0;
    // A null image or an empty text when the clipboard holds none.
    virtual QImage image() const = 0;
    virtual QString text() const = 0;
};

} // namespace pellix
