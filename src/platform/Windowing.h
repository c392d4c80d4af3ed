#pragma once

#include <QString>

namespace pellix {

// Message box styles, by the numbers the program's callers pass.
namespace MsgBoxStyle {
constexpr int Critical = 16;    // error icon, OK button
constexpr int Exclamation = 48; // warning icon, OK button
constexpr int Information = 64; // information icon, OK button
} // namespace MsgBoxStyle

// The services of the windowing toolkit that the program's logic calls directly.
class Windowing {
public:
    virtual ~Windowing() = default;

    // Modal; returns when the user presses OK. An empty title shows "Pellix".
    virtual void messageBox(const QString& text, int style, const QString& title) = 0;
    // The desktop's default sound; does not wait.
    virtual void beep() = 0;
    // A monotonic clock in seconds; only differences mean anything.
    virtual double seconds() const = 0;
    // The screen's twips (1/1440 inch) per pixel: 15 at 96 dots per inch.
    virtual double twipsPerPixelX() const = 0;
    virtual double twipsPerPixelY() const = 0;
};

} // namespace pellix
