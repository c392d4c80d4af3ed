#pragma once

#include "platform/ScrollMessages.h"
#include "platform/qt/StdScrollBar.h"

#include <QObject>
#include <QWidget>

#include <cstdint>
#include <memory>

namespace pellix {

// A window procedure: receives the scroll and wheel messages of a window.
using WindowProc = std::int32_t (*)(QWidget* hWnd, std::uint32_t uMsg, std::uint32_t wParam,
                                    std::int32_t lParam);

// The procedure every window starts with: scroll messages leave the bars where
// they are, and wheel turns go on to the window's own handling (and so to its parent).
std::int32_t DefWindowProc(QWidget* hWnd, std::uint32_t uMsg, std::uint32_t wParam,
                           std::int32_t lParam);

// Gives a QWidget what a Windows window has by nature: a horizontal and a vertical
// standard scroll bar along its right and bottom edges, which take their room out
// of the window's client area, and a replaceable procedure that receives the
// bars' actions and the wheel as WM_HSCROLL, WM_VSCROLL and WM_MOUSEWHEEL ahead
// of the widget's own event handling. It lives as a child object of the window.
class ScrollWindow : public QObject {
    Q_OBJECT
public:
    // The window's scroll support, or null when nothing has asked for it yet.
    static ScrollWindow* find(const QWidget* window);
    // Creates the scroll support on first use.
    static ScrollWindow& of(QWidget* window);

    StdScrollBar& bar(int nBar) { return nBar == SB_VERT ? *m_vertical : *m_horizontal; }
    WindowProc windowProc() const { return m_proc; }
    // Installs a procedure and returns the one it replaces.
    WindowProc setWindowProc(WindowProc proc);
    // Runs a message through the installed procedure.
    std::int32_t sendMessage(std::uint32_t uMsg, std::uint32_t wParam, std::int32_t lParam);
    // The width of a vertical bar (and height of a horizontal one).
    int barExtent() const;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ScrollWindow(QWidget* window);
    friend std::int32_t DefWindowProc(QWidget*, std::uint32_t, std::uint32_t, std::int32_t);

    void connectBar(int nBar);
    void barAction(int nBar, int action);
    void thumbReleased(int nBar);
    void layoutBars();
    bool wheel(QEvent* event);

    QWidget* m_window;
    std::unique_ptr<StdScrollBar> m_horizontal;
    std::unique_ptr<StdScrollBar> m_vertical;
    QWidget* m_corner;
    WindowProc m_proc = &DefWindowProc;
    bool m_defaultReached = false;
};

// The window services the scroll bar controller works through, named after the
// Windows calls they stand for. A window is a QWidget; null is no window.
bool IsWindow(const QWidget* hWnd);
quintptr GetProp(const QWidget* hWnd, const char* name);
bool SetProp(QWidget* hWnd, const char* name, quintptr value);
void RemoveProp(QWidget* hWnd, const char* name);
WindowProc SetWindowProc(QWidget* hWnd, WindowProc proc);
std::int32_t CallWindowProc(WindowProc proc, QWidget* hWnd, std::uint32_t uMsg,
                            std::uint32_t wParam, std::int32_t lParam);
bool GetScrollInfo(QWidget* hWnd, int nBar, ScrollInfo& info);
std::int32_t SetScrollInfo(QWidget* hWnd, int nBar, const ScrollInfo& info, bool redraw);
void ShowScrollBar(QWidget* hWnd, int nBar, bool show);
// Lines per wheel notch from the desktop's setting.
int WheelScrollLines();

} // namespace pellix
