#pragma once

#include "platform/Clipboard.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <variant>

namespace pellix {

// The system clipboard. A Wayland compositor takes the clipboard only with
// the serial of an input event the program received: what was set while the
// program was not active (at start-up, or while its window was hidden for a
// capture) is set again once it is active and once more at the user's first
// key or click in it, whichever brings the serial; never after the user has
// left the program again, so nothing copied elsewhere meanwhile is replaced.
class QtClipboard final : public QObject, public Clipboard {
    Q_OBJECT
public:
    QtClipboard();

    void clear() override;
    void setImage(const QImage& image) override;
    void setText(const QString& text) override;
    QImage image() const override;
    QString text() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void offer();

    std::variant<std::monostate, QImage, QString> m_content;
    bool m_wayland = false;
    bool m_pending = false; // offered while inactive, not yet again with an input
    bool m_wasActive = false;
};

} // namespace pellix
