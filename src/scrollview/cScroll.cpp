#include "scrollview/cScroll.h"

#include <algorithm>
#include <limits>

namespace pellix {

namespace {

const char* const PropName = "nvStdScroll";

// Positions far beyond any picture would leave 32 bits; keep them at the edge.
std::int32_t addSaturated(std::int32_t a, std::int64_t b) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        static_cast<std::int64_t>(a) + b, std::numeric_limits<std::int32_t>::min(),
        std::numeric_limits<std::int32_t>::max()));
}

} // namespace

namespace mScroll {

std::int32_t ScrollWndProc(QWidget* hWnd, std::uint32_t uMsg, std::uint32_t wParam,
                           std::int32_t lParam) {
    // Held for the whole call: an event handler may drop the owner's reference.
    const std::shared_ptr<cScroll> instance = InstanceFromWindow(hWnd);
    if (!instance) {
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
    return instance->ProcessMessage(hWnd, uMsg, wParam, lParam);
}

std::shared_ptr<cScroll> InstanceFromWindow(QWidget* hWnd) {
    auto* instance = reinterpret_cast<cScroll*>(GetProp(hWnd, PropName));
    return instance ? instance->weak_from_this().lock() : nullptr;
}

std::int16_t LoWord(std::uint32_t value) {
    return static_cast<std::int16_t>(value & 0xFFFFu);
}

std::int16_t HiWord(std::uint32_t value) {
    return static_cast<std::int16_t>((value >> 16) & 0xFFFFu);
}

} // namespace mScroll

std::shared_ptr<cScroll> cScroll::create(Windowing& windowing, cScrollEvents events) {
    return std::shared_ptr<cScroll>(new cScroll(windowing, std::move(events)));
}

// The wheel setting is read once; zero or a negative "one screen at a time"
// setting falls back to three lines.
cScroll::cScroll(Windowing& windowing, cScrollEvents events)
    : m_windowing(windowing), m_events(std::move(events)) {
    const int lines = WheelScrollLines();
    m_WheelLines = lines > 0 ? lines : 3;
}

cScroll::~cScroll() {
    UnSubClass();
}

// An instance serves one window for its whole life; a second window is refused.
void cScroll::SubClass(QWidget* hWnd) {
    if (m_hWnd || !IsWindow(hWnd) || GetProp(hWnd, PropName) != 0) {
        return;
    }
    // The property goes on first, so the procedure always finds its instance.
    if (!SetProp(hWnd, PropName, reinterpret_cast<quintptr>(this))) {
        return;
    }
    m_PrevWndProc = SetWindowProc(hWnd, &mScroll::ScrollWndProc);
    m_hWnd = hWnd;
}

void cScroll::UnSubClass() {
    if (!IsWindow(m_hWnd) || m_PrevWndProc == nullptr) {
        return;
    }
    SetWindowProc(m_hWnd, m_PrevWndProc);
    RemoveProp(m_hWnd, PropName);
    m_PrevWndProc = nullptr;
    m_hWnd = nullptr;
}

std::int32_t cScroll::ProcessMessage(QWidget* hWnd, std::uint32_t uMsg, std::uint32_t wParam,
                                     std::int32_t lParam) {
    switch (uMsg) {
    case WM_HSCROLL:
        scrollAction(SB_HORZ, mScroll::LoWord(wParam), wParam);
        break;
    case WM_VSCROLL:
        scrollAction(SB_VERT, mScroll::LoWord(wParam), wParam);
        break;
    case WM_MOUSEWHEEL:
        wheelTurned(wParam);
        break;
    default:
        return CallWindowProc(m_PrevWndProc, hWnd, uMsg, wParam, lParam);
    }
    // Let waiting paints and further scroll messages run before the next action.
    m_windowing.doEvents();
    return 0;
}

void cScroll::scrollAction(int nBar, int code, std::uint32_t wParam) {
    const bool h = nBar == SB_HORZ;
    auto pos = [&] {
        return h ? HPos() : VPos();
    };
    auto setPos = [&](std::int32_t value) {
        h ? setHPos(value) : setVPos(value);
    };
    const std::int32_t smallChange = h ? m_HSmallChange : m_VSmallChange;
    switch (code) {
    case SB_BOTTOM:
        setPos(h ? HMax() : VMax());
        break;
    case SB_TOP:
        setPos(h ? HMin() : VMin());
        break;
    case SB_LINEDOWN:
        setPos(addSaturated(pos(), smallChange));
        break;
    case SB_LINEUP:
        setPos(addSaturated(pos(), -static_cast<std::int64_t>(smallChange)));
        break;
    case SB_PAGEDOWN: {
        const std::int32_t p = pos();
        setPos(addSaturated(p, h ? HPage() : VPage()));
        break;
    }
    case SB_PAGEUP: {
        const std::int32_t p = pos();
        setPos(addSaturated(p, -static_cast<std::int64_t>(h ? HPage() : VPage())));
        break;
    }
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        setPos(mScroll::HiWord(wParam));
        const auto& thumbEvent = h ? m_events.HScroll : m_events.VScroll;
        if (thumbEvent) {
            thumbEvent(h ? m_HCurPos : m_VCurPos);
        }
        return;
    }
    default:
        return;
    }
    const auto& changeEvent = h ? m_events.HChange : m_events.VChange;
    if (changeEvent) {
        changeEvent(h ? m_HCurPos : m_VCurPos);
    }
}

// Only the vertical bar follows the wheel; a turn away from the user scrolls back.
void cScroll::wheelTurned(std::uint32_t wParam) {
    const std::int32_t delta = mScroll::HiWord(wParam);
    const std::int32_t notches = -delta / WHEEL_DELTA;
    const std::int64_t step = static_cast<std::int64_t>(notches) * 10 * m_WheelLines;
    setVPos(addSaturated(VPos(), step));
    if (m_events.VChange) {
        m_events.VChange(m_VCurPos);
    }
}

// Reads go through the one shared record; a failed read leaves its last contents.
std::int32_t cScroll::readField(int nBar, std::uint32_t mask, std::int32_t ScrollInfo::*field) {
    m_ScrollInfo.fMask = mask;
    GetScrollInfo(m_hWnd, nBar, m_ScrollInfo);
    return m_ScrollInfo.*field;
}

void cScroll::writeField(int nBar, std::uint32_t mask, std::int32_t ScrollInfo::*field,
                         std::int32_t nNewVal) {
    m_ScrollInfo.fMask = mask;
    m_ScrollInfo.*field = nNewVal;
    apply(nBar);
}

// The new maximum goes with the bar's present minimum.
void cScroll::writeMax(int nBar, std::int32_t nNewVal) {
    m_ScrollInfo.fMask = SIF_RANGE;
    m_ScrollInfo.nMin = readField(nBar, SIF_RANGE, &ScrollInfo::nMin);
    m_ScrollInfo.nMax = nNewVal;
    apply(nBar);
}

// Reading the maximum refills the whole range, the minimum included, so a bar that
// already has a range gets it re-applied unchanged; only a bar without one takes
// the new minimum.
void cScroll::writeMin(int nBar, std::int32_t nNewVal) {
    m_ScrollInfo.fMask = SIF_RANGE;
    m_ScrollInfo.nMin = nNewVal;
    m_ScrollInfo.nMax = readField(nBar, SIF_RANGE, &ScrollInfo::nMax);
    apply(nBar);
}

void cScroll::apply(int nBar) {
    if (nBar == SB_HORZ) {
        ApplyHScrollInfo();
    } else {
        ApplyVScrollInfo();
    }
}

void cScroll::ApplyHScrollInfo() {
    if (m_HDisableNoScroll) {
        m_ScrollInfo.fMask |= SIF_DISABLENOSCROLL;
    }
    m_HCurPos = SetScrollInfo(m_hWnd, SB_HORZ, m_ScrollInfo, true);
}

void cScroll::ApplyVScrollInfo() {
    if (m_VDisableNoScroll) {
        m_ScrollInfo.fMask |= SIF_DISABLENOSCROLL;
    }
    m_VCurPos = SetScrollInfo(m_hWnd, SB_VERT, m_ScrollInfo, true);
}

void cScroll::ShowBar(int bar, bool show) {
    ShowScrollBar(m_hWnd, bar, show);
}

void cScroll::setHScroll(bool bNewVal) {
    if (bNewVal != m_HScroll) {
        m_HScroll = bNewVal;
        ShowBar(SB_HORZ, bNewVal);
    }
}

void cScroll::setVScroll(bool bNewVal) {
    if (bNewVal != m_VScroll) {
        m_VScroll = bNewVal;
        ShowBar(SB_VERT, bNewVal);
    }
}

std::int32_t cScroll::HMin() {
    return readField(SB_HORZ, SIF_RANGE, &ScrollInfo::nMin);
}
void cScroll::setHMin(std::int32_t nNewVal) {
    writeMin(SB_HORZ, nNewVal);
}
std::int32_t cScroll::HMax() {
    return readField(SB_HORZ, SIF_RANGE, &ScrollInfo::nMax);
}
void cScroll::setHMax(std::int32_t nNewVal) {
    writeMax(SB_HORZ, nNewVal);
}
std::int32_t cScroll::HPage() {
    return readField(SB_HORZ, SIF_PAGE, &ScrollInfo::nPage);
}
void cScroll::setHPage(std::int32_t nNewVal) {
    writeField(SB_HORZ, SIF_PAGE, &ScrollInfo::nPage, nNewVal);
}
std::int32_t cScroll::HPos() {
    return readField(SB_HORZ, SIF_POS, &ScrollInfo::nPos);
}
void cScroll::setHPos(std::int32_t nNewVal) {
    writeField(SB_HORZ, SIF_POS, &ScrollInfo::nPos, nNewVal);
}

std::int32_t cScroll::VMin() {
    return readField(SB_VERT, SIF_RANGE, &ScrollInfo::nMin);
}
void cScroll::setVMin(std::int32_t nNewVal) {
    writeMin(SB_VERT, nNewVal);
}
std::int32_t cScroll::VMax() {
    return readField(SB_VERT, SIF_RANGE, &ScrollInfo::nMax);
}
void cScroll::setVMax(std::int32_t nNewVal) {
    writeMax(SB_VERT, nNewVal);
}
std::int32_t cScroll::VPage() {
    return readField(SB_VERT, SIF_PAGE, &ScrollInfo::nPage);
}
void cScroll::setVPage(std::int32_t nNewVal) {
    writeField(SB_VERT, SIF_PAGE, &ScrollInfo::nPage, nNewVal);
}
std::int32_t cScroll::VPos() {
    return readField(SB_VERT, SIF_POS, &ScrollInfo::nPos);
}
void cScroll::setVPos(std::int32_t nNewVal) {
    writeField(SB_VERT, SIF_POS, &ScrollInfo::nPos, nNewVal);
}

} // namespace pellix
