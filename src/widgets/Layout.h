#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

namespace pellix {

// Puts a control at its design place, in pixels of its container.
template <typename Control>
Control* place(Control* control, int left, int top, int width, int height) {
    control->setGeometry(left, top, width, height);
    return control;
}

// The same, naming the control for tests and accessibility tools.
template <typename Control>
Control* place(Control* control, const QString& name, int left, int top, int width, int height) {
    control->setObjectName(name);
    return place(control, left, top, width, height);
}

// The place of a view that fills a window's client area right of a column of
// controls, 20 pixels from the column and from the window's other edges; none
// when the window is narrower or lower than those margins.
std::optional<QRect> fillRightOf(int columnRight, const QSize& client);

} // namespace pellix
