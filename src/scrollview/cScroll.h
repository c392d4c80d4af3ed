#pragma once

#include "platform/ScrollMessages.h"
#include "platform/Windowing.h"
#include "platform/qt/ScrollWindow.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

namespace pellix {

class cScroll;

namespace mScroll {

// The procedure installed on an attached window.
std::int32_t ScrollWndProc(QWidget* hWnd, std::uint32_t uMsg, std::uint32_t wParam,
                           std::int32_t lParam);
// The controller attached to hWnd, held for the caller; null when none is.
std::shared_ptr<cScroll> InstanceFromWindow(QWidget* hWnd);
// The low and high 16 bits of a message parameter, each read as a signed number.
std::int16_t LoWord(std::uint32_t value);
std::int16_t HiWord(std::uint32_t value);

} // namespace mScroll

// What the owner hears from the controller; each runs inside the scroll message's
// handling with the bar's position after the action.
struct cScrollEvents {
    std::function<void(std::int32_t nCurPos)> HChange;
    std::function<void(std::int32_t nCurPos)> HScroll;
    std::function<void(std::int32_t nCurPos)> VChange;
    std::function<void(std::int32_t nCurPos)> VScroll;
};

// Gives one window standard scroll bars and turns the user's actions on them
// into new positions. It keeps no range arithmetic of its own: the bar limits
// every position applied, and the events carry what the bar reports back.
// Created shared, because a scroll message in progress holds the instance too.
class cScroll : public std::enable_shared_from_this<cScroll> {
public:
    static std::shared_ptr<cScroll> create(Windowing& windowing, cScrollEvents events);
    ~cScroll();
    cScroll(const cScroll&) = delete;
    cScroll& operator=(const cScroll&) = delete;

    // Reads of the numeric properties always ask the window, never a cache.
    bool HScroll() const { return m_HScroll; }
    void setHScroll(bool bNewVal);
    std::int32_t HMin();
    void setHMin(std::int32_t nNewVal);
    std::int32_t HMax();
    void setHMax(std::int32_t nNewVal);
    std::int32_t HPage();
    void setHPage(std::int32_t nNewVal);
    std::int32_t HPos();
    void setHPos(std::int32_t nNewVal);
    std::int32_t HSmallChange() const { return m_HSmallChange; }
    void setHSmallChange(std::int32_t nNewVal) { m_HSmallChange = nNewVal; }
    bool HDisableNoScroll() const { return m_HDisableNoScroll; }
    void setHDisableNoScroll(bool bNewVal) { m_HDisableNoScroll = bNewVal; }

    bool VScroll() const { return m_VScroll; }
    void setVScroll(bool bNewVal);
    std::int32_t VMin();
    void setVMin(std::int32_t nNewVal);
    std::int32_t VMax();
    void setVMax(std::int32_t nNewVal);
    std::int32_t VPage();
    void setVPage(std::int32_t nNewVal);
    std::int32_t VPos();
    void setVPos(std::int32_t nNewVal);
    std::int32_t VSmallChange() const { return m_VSmallChange; }
    void setVSmallChange(std::int32_t nNewVal) { m_VSmallChange = nNewVal; }
    bool VDisableNoScroll() const { return m_VDisableNoScroll; }
    void setVDisableNoScroll(bool bNewVal) { m_VDisableNoScroll = bNewVal; }

    // Attaches to hWnd; does nothing when hWnd is no window or already has a controller.
    void SubClass(QWidget* hWnd);

private:
    cScroll(Windowing& windowing, cScrollEvents events);
    friend std::int32_t mScroll::ScrollWndProc(QWidget*, std::uint32_t, std::uint32_t,
                                               std::int32_t);

    std::int32_t ProcessMessage(QWidget* hWnd, std::uint32_t uMsg, std::uint32_t wParam,
                                std::int32_t lParam);
    void scrollAction(int nBar, int code, std::uint32_t wParam);
    void wheelTurned(std::uint32_t wParam);
    std::int32_t readField(int nBar, std::uint32_t mask, std::int32_t ScrollInfo::*field);
    void writeMin(int nBar, std::int32_t nNewVal);
    void writeMax(int nBar, std::int32_t nNewVal);
    void writeField(int nBar, std::uint32_t mask, std::int32_t ScrollInfo::*field,
                    std::int32_t nNewVal);
    void apply(int nBar);
    void ApplyHScrollInfo();
    void ApplyVScrollInfo();
    void ShowBar(int bar, bool show);
    void UnSubClass();

    Windowing& m_windowing;
    cScrollEvents m_events;

    std::int32_t m_WheelLines = 3;
    WindowProc m_PrevWndProc = nullptr;
    QPointer<QWidget> m_hWnd;
    bool m_HScroll = false;
    bool m_HDisableNoScroll = false;
    std::int32_t m_HSmallChange = 0;
    bool m_VScroll = false;
    bool m_VDisableNoScroll = false;
    std::int32_t m_VSmallChange = 0;
    std::int32_t m_HCurPos = 0;
    std::int32_t m_VCurPos = 0;
    ScrollInfo m_ScrollInfo;
};

} // namespace pellix
