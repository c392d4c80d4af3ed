#pragma once

#include "platform/Windowing.h"

#include <QElapsedTimer>

class QWidget;

namespace pellix {

class QtWindowing final : public Windowing {
public:
    QtWindowing();

    void messageBox(const QString& text, int style, const QString& title) override;
    void beep() override;
    double seconds() const override;
    double twipsPerPixelX() const override;
    double twipsPerPixelY() const override;

private:
    QElapsedTimer m_clock;
};

} // namespace pellix
