#pragma once

#include "platform/DisplayMonitors.h"

#include <QString>

#include <cstdint>

namespace pellix {

// The screen's twips (1/1440 inch) per pixel in each direction.
struct TwipsPerPixel {
    double x = 15.0;
    double y = 15.0;
};

// A read-only description of one monitor, or of the virtual screen that holds
// them all. It reads the display when created and whenever its Handle is set or
// Refresh is called; in between it answers from what it read. Coordinates are
// pixels of the virtual screen, or twips while PixelsToTwips is set.
class CMonitor {
public:
    CMonitor(const DisplayMonitors& display, TwipsPerPixel twips);

    MonitorHandle Handle() const { return m_Handle; }
    void setHandle(MonitorHandle handle);
    std::int32_t Index() const { return m_Index; }
    void setIndex(std::int32_t index);
    bool PixelsToTwips() const { return m_PixelsToTwips; }
    void setPixelsToTwips(bool value) { m_PixelsToTwips = value; }

    bool AttachedToDesktop() const;
    QString Device() const { return TrimAtNull(m_MonitorInfo.szDevice); }
    QString DeviceID() const { return TrimAtNull(m_DisplayDevice.DeviceID); }
    QString DeviceKey() const { return TrimAtNull(m_DisplayDevice.DeviceKey); }
    QString DeviceString() const { return TrimAtNull(m_DisplayDevice.DeviceString); }
    bool DiminishedWorkarea() const;
    bool MultiMonitorSupport() const { return m_MultiMonitorSupport; }
    bool Primary() const;
    bool Removable() const;
    bool VgaCompatible() const;
    bool Visible() const;

    std::int32_t Bottom() const { return ToUnitsY(m_MonitorInfo.rcMonitor.bottom); }
    std::int32_t Height() const { return ToUnitsY(m_MonitorInfo.rcMonitor.height()); }
    std::int32_t Left() const { return ToUnitsX(m_MonitorInfo.rcMonitor.left); }
    std::int32_t Right() const { return ToUnitsX(m_MonitorInfo.rcMonitor.right); }
    std::int32_t Top() const { return ToUnitsY(m_MonitorInfo.rcMonitor.top); }
    std::int32_t Width() const { return ToUnitsX(m_MonitorInfo.rcMonitor.width()); }
    std::int32_t WorkBottom() const { return ToUnitsY(m_MonitorInfo.rcWork.bottom); }
    std::int32_t WorkHeight() const { return ToUnitsY(m_MonitorInfo.rcWork.height()); }
    std::int32_t WorkLeft() const { return ToUnitsX(m_MonitorInfo.rcWork.left); }
    std::int32_t WorkRight() const { return ToUnitsX(m_MonitorInfo.rcWork.right); }
    std::int32_t WorkTop() const { return ToUnitsY(m_MonitorInfo.rcWork.top); }
    std::int32_t WorkWidth() const { return ToUnitsX(m_MonitorInfo.rcWork.width()); }

    void Refresh();

private:
    // Left, top, right and bottom edges; right and bottom lie just outside.
    struct Rect {
        std::int32_t left = 0, top = 0, right = 0, bottom = 0;
        std::int32_t width() const { return right - left; }
        std::int32_t height() const { return bottom - top; }
        bool operator==(const Rect&) const = default;
    };
    struct MonitorInfo {
        Rect rcMonitor;
        Rect rcWork;
        std::uint32_t dwFlags = 0;
        QString szDevice;
    };
    struct DisplayDevice {
        QString DeviceString;
        std::uint32_t StateFlags = 0;
        QString DeviceID;
        QString DeviceKey;
    };

    bool IsMultiMonitorSystem() const;
    std::int32_t ToUnitsX(std::int32_t pixels) const;
    std::int32_t ToUnitsY(std::int32_t pixels) const;
    void SetDefaultDeviceName();
    static QString TrimAtNull(const QString& text);
    bool stateFlag(std::uint32_t flag, bool withoutDeviceData) const;
    static Rect toRect(const QRect& rect);

    const DisplayMonitors* m_display;
    TwipsPerPixel m_twips;

    MonitorHandle m_Handle = 0;
    bool m_PixelsToTwips = false;
    std::int32_t m_Index = 0;
    bool m_MultiMonitorSupport = false;
    MonitorInfo m_MonitorInfo;
    DisplayDevice m_DisplayDevice;
    // The display device data of a monitor are only known where the display
    // server reports them; X servers do not, and the flags then answer as on a
    // single screen.
    bool m_deviceReported = true;
};

} // namespace pellix
