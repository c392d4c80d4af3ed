#include "platform/qt/ScrollWindow.h"

#include <QApplication>
#include <QStyle>
#include <QVariant>
#include <QWheelEvent>

#include <algorithm>

namespace pellix {

namespace {

const char* const ScrollWindowName = "pellix_ScrollWindow";

int scrollCode(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        return SB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub:
        return SB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd:
        return SB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub:
        return SB_PAGEUP;
    case QAbstractSlider::SliderToMinimum:
        return SB_TOP;
    case QAbstractSlider::SliderToMaximum:
        return SB_BOTTOM;
    default:
        return -1;
    }
}

std::uint32_t scrollMessage(int nBar) {
    return nBar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
}

} // namespace

std::int32_t DefWindowProc(QWidget* hWnd, std::uint32_t, std::uint32_t, std::int32_t) {
    if (ScrollWindow* window = ScrollWindow::find(hWnd)) {
        window->m_defaultReached = true;
    }
    return 0;
}

ScrollWindow::ScrollWindow(QWidget* window)
    : QObject(window), m_window(window),
      m_horizontal(std::make_unique<StdScrollBar>(Qt::Horizontal, window)),
      m_vertical(std::make_unique<StdScrollBar>(Qt::Vertical, window)),
      m_corner(new QWidget(window)) {
    setObjectName(QString::fromLatin1(ScrollWindowName));
    m_corner->setAutoFillBackground(true);
    m_corner->hide();
    connectBar(SB_HORZ);
    connectBar(SB_VERT);
    window->installEventFilter(this);
    layoutBars();
}

ScrollWindow* ScrollWindow::find(const QWidget* window) {
    if (window == nullptr) {
        return nullptr;
    }
    return window->findChild<ScrollWindow*>(QString::fromLatin1(ScrollWindowName),
                                            Qt::FindDirectChildrenOnly);
}

ScrollWindow& ScrollWindow::of(QWidget* window) {
    if (ScrollWindow* existing = find(window)) {
        return *existing;
    }
    return *new ScrollWindow(window);
}

WindowProc ScrollWindow::setWindowProc(WindowProc proc) {
    const WindowProc previous = m_proc;
    m_proc = proc ? proc : &DefWindowProc;
    return previous;
}

std::int32_t ScrollWindow::sendMessage(std::uint32_t uMsg, std::uint32_t wParam,
                                       std::int32_t lParam) {
    return m_proc(m_window, uMsg, wParam, lParam);
}

int ScrollWindow::barExtent() const {
    QScrollBar* bar = m_vertical->scrollBar();
    return bar->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, bar);
}

void ScrollWindow::connectBar(int nBar) {
    StdScrollBar& sb = bar(nBar);
    sb.setShownChanged([this] { layoutBars(); });
    QScrollBar* qbar = sb.scrollBar();
    connect(qbar, &QAbstractSlider::actionTriggered, this,
            [this, nBar](int action) { barAction(nBar, action); });
    connect(qbar, &QAbstractSlider::sliderReleased, this, [this, nBar] { thumbReleased(nBar); });
    qbar->installEventFilter(this);
}

// QScrollBar has already moved its thumb for the action; the window procedure
// decides where the bar really goes, and the thumb is put back there.
void ScrollWindow::barAction(int nBar, int action) {
    StdScrollBar& sb = bar(nBar);
    int code = scrollCode(action);
    int thumb = 0;
    if (code < 0) {
        if (action != QAbstractSlider::SliderMove) {
            return;
        }
        code = sb.scrollBar()->isSliderDown() ? SB_THUMBTRACK : SB_THUMBPOSITION;
        thumb = sb.scrollBar()->sliderPosition();
    }
    sendMessage(scrollMessage(nBar), MakeLong(code, thumb), 0);
    sb.redraw();
}

void ScrollWindow::thumbReleased(int nBar) {
    StdScrollBar& sb = bar(nBar);
    sendMessage(scrollMessage(nBar), MakeLong(SB_THUMBPOSITION, sb.scrollBar()->sliderPosition()),
                0);
    sendMessage(scrollMessage(nBar), MakeLong(SB_ENDSCROLL, 0), 0);
    sb.redraw();
}

bool ScrollWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        // Over the bars the wheel belongs to the window, as with a window's own bars.
        const bool onBar = watched != m_window;
        return wheel(event) || onBar;
    }
    if (watched == m_window && event->type() == QEvent::Resize) {
        layoutBars();
    }
    return QObject::eventFilter(watched, event);
}

bool ScrollWindow::wheel(QEvent* event) {
    auto* wheelEvent = static_cast<QWheelEvent*>(event);
    const QPoint angle = wheelEvent->angleDelta();
    const bool horizontal = angle.y() == 0 && angle.x() != 0;
    const int delta = std::clamp(horizontal ? angle.x() : angle.y(), -32768, 32767);
    const QPoint at = wheelEvent->globalPosition().toPoint();
    m_defaultReached = false;
    sendMessage(horizontal ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL, MakeLong(0, delta),
                static_cast<std::int32_t>(MakeLong(at.x(), at.y())));
    return !m_defaultReached;
}

// The bars sit inside the window's right and bottom edges, above its children, so
// the area left for the content shrinks by them.
void ScrollWindow::layoutBars() {
    const QRect area = m_window->rect();
    const int extent = barExtent();
    const bool h = m_horizontal->isShown();
    const bool v = m_vertical->isShown();
    const int hWidth = area.width() - (v ? extent : 0);
    const int vHeight = area.height() - (h ? extent : 0);
    m_horizontal->scrollBar()->setGeometry(area.left(), area.bottom() + 1 - extent,
                                           std::max(hWidth, 0), extent);
    m_vertical->scrollBar()->setGeometry(area.right() + 1 - extent, area.top(), extent,
                                         std::max(vHeight, 0));
    m_corner->setGeometry(area.right() + 1 - extent, area.bottom() + 1 - extent, extent, extent);
    m_corner->setVisible(h && v);
    m_horizontal->scrollBar()->raise();
    m_vertical->scrollBar()->raise();
    m_corner->raise();
}

bool IsWindow(const QWidget* hWnd) {
    return hWnd != nullptr;
}

quintptr GetProp(const QWidget* hWnd, const char* name) {
    return hWnd ? hWnd->property(name).value<quintptr>() : 0;
}

bool SetProp(QWidget* hWnd, const char* name, quintptr value) {
    if (hWnd == nullptr) {
        return false;
    }
    hWnd->setProperty(name, QVariant::fromValue(value));
    return GetProp(hWnd, name) == value;
}

void RemoveProp(QWidget* hWnd, const char* name) {
    if (hWnd) {
        hWnd->setProperty(name, QVariant());
    }
}

WindowProc SetWindowProc(QWidget* hWnd, WindowProc proc) {
    return hWnd ? ScrollWindow::of(hWnd).setWindowProc(proc) : nullptr;
}

std::int32_t CallWindowProc(WindowProc proc, QWidget* hWnd, std::uint32_t uMsg,
                            std::uint32_t wParam, std::int32_t lParam) {
    return proc ? proc(hWnd, uMsg, wParam, lParam) : 0;
}

bool GetScrollInfo(QWidget* hWnd, int nBar, ScrollInfo& info) {
    ScrollWindow* window = ScrollWindow::find(hWnd);
    return window != nullptr && window->bar(nBar).getInfo(info);
}

std::int32_t SetScrollInfo(QWidget* hWnd, int nBar, const ScrollInfo& info, bool) {
    return hWnd ? ScrollWindow::of(hWnd).bar(nBar).setInfo(info) : 0;
}

void ShowScrollBar(QWidget* hWnd, int nBar, bool show) {
    if (hWnd) {
        ScrollWindow::of(hWnd).bar(nBar).show(show);
    }
}

int WheelScrollLines() {
    return QApplication::wheelScrollLines();
}

} // namespace pellix
