#pragma once

#include <cstdint>

namespace pellix {

// The messages, scroll codes and record through which a window's standard scroll
// bars are driven. The numbers are the ones Windows uses, so a scroll action reads
// the same on every backend.
constexpr std::uint32_t WM_HSCROLL = 0x114;
constexpr std::uint32_t WM_VSCROLL = 0x115;
constexpr std::uint32_t WM_MOUSEWHEEL = 0x20A;
constexpr std::uint32_t WM_MOUSEHWHEEL = 0x20E;

constexpr int SB_LINEUP = 0;
constexpr int SB_LINELEFT = 0;
constexpr int SB_LINEDOWN = 1;
constexpr int SB_LINERIGHT = 1;
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGELEFT = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_PAGERIGHT = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6;
constexpr int SB_LEFT = 6;
constexpr int SB_BOTTOM = 7;
constexpr int SB_RIGHT = 7;
constexpr int SB_ENDSCROLL = 8;

// Bar selectors.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;

// ScrollInfo::fMask groups.
constexpr std::uint32_t SIF_RANGE = 1;
constexpr std::uint32_t SIF_PAGE = 2;
constexpr std::uint32_t SIF_POS = 4;
constexpr std::uint32_t SIF_DISABLENOSCROLL = 8;

// One wheel notch.
constexpr int WHEEL_DELTA = 120;

struct ScrollInfo {
    std::uint32_t cbSize = sizeof(ScrollInfo);
    std::uint32_t fMask = 0;
    std::int32_t nMin = 0;
    std::int32_t nMax = 0;
    std::int32_t nPage = 0;
    std::int32_t nPos = 0;
    std::int32_t nTrackPos = 0;
};

// The low and high 16 bits of a message parameter; the scroll and wheel messages
// pack a code and a position or delta this way.
constexpr std::uint32_t MakeLong(int low, int high) {
    return (static_cast<std::uint32_t>(low) & 0xFFFFu) |
           ((static_cast<std::uint32_t>(high) & 0xFFFFu) << 16);
}

} // namespace pellix
