#include "monitors/CMonitor.h"

#include <cmath>

namespace pellix {

namespace {

constexpr std::uint32_t MonitorInfoPrimary = 0x1;
constexpr std::uint32_t AttachedToDesktopFlag = 0x1;
constexpr std::uint32_t MirroringDriverFlag = 0x8;
constexpr std::uint32_t VgaCompatibleFlag = 0x10;
constexpr std::uint32_t RemovableFlag = 0x20;

// Half-way values go to the even neighbour, as the default rounding mode does.
std::int32_t scaled(std::int32_t pixels, double factor) {
    return static_cast<std::int32_t>(std::nearbyint(static_cast<double>(pixels) * factor));
}

} // namespace

CMonitor::CMonitor(const DisplayMonitors& display, TwipsPerPixel twips)
    : m_display(&display), m_twips(twips) {
    m_MultiMonitorSupport = IsMultiMonitorSystem();
    Refresh();
}

void CMonitor::setHandle(MonitorHandle handle) {
    m_Handle = handle;
    Refresh();
}

void CMonitor::setIndex(std::int32_t index) {
    m_Index = index;
    if (!m_MultiMonitorSupport) {
        SetDefaultDeviceName();
    }
}

bool CMonitor::stateFlag(std::uint32_t flag, bool withoutDeviceData) const {
    if (!m_MultiMonitorSupport || !m_deviceReported) {
        return withoutDeviceData;
    }
    return (m_DisplayDevice.StateFlags & flag) != 0;
}

bool CMonitor::AttachedToDesktop() const {
    return stateFlag(AttachedToDesktopFlag, true);
}

bool CMonitor::DiminishedWorkarea() const {
    return !(m_MonitorInfo.rcWork == m_MonitorInfo.rcMonitor);
}

bool CMonitor::Primary() const {
    return !m_MultiMonitorSupport || (m_MonitorInfo.dwFlags & MonitorInfoPrimary) != 0;
}

bool CMonitor::Removable() const {
    return stateFlag(RemovableFlag, false);
}

bool CMonitor::VgaCompatible() const {
    return stateFlag(VgaCompatibleFlag, true);
}

bool CMonitor::Visible() const {
    return !stateFlag(MirroringDriverFlag, false);
}

void CMonitor::Refresh() {
    m_MonitorInfo = {};
    m_DisplayDevice = {};
    m_deviceReported = true;
    if (!m_MultiMonitorSupport) {
        const QRect screen = m_display->virtualScreen();
        m_MonitorInfo.rcMonitor = {0, 0, screen.width(), screen.height()};
        m_MonitorInfo.rcWork = toRect(m_display->workArea());
        return;
    }
    if (m_Handle == 0) {
        m_MonitorInfo.rcMonitor = toRect(m_display->virtualScreen());
        SetDefaultDeviceName();
        return;
    }
    // A monitor that is gone leaves the record zero.
    for (const MonitorDescription& monitor : m_display->monitors()) {
        if (monitor.handle == m_Handle) {
            m_MonitorInfo.rcMonitor = toRect(monitor.rect);
            m_MonitorInfo.rcWork = toRect(monitor.workArea);
            m_MonitorInfo.dwFlags = monitor.primary ? MonitorInfoPrimary : 0;
            m_MonitorInfo.szDevice = monitor.device;
            m_deviceReported = false;
            return;
        }
    }
}

// Every display server this program runs on can describe several monitors;
// what it reports decides.
bool CMonitor::IsMultiMonitorSystem() const {
    return m_display->multiMonitorSupport();
}

std::int32_t CMonitor::ToUnitsX(std::int32_t pixels) const {
    return m_PixelsToTwips ? scaled(pixels, m_twips.x) : pixels;
}

std::int32_t CMonitor::ToUnitsY(std::int32_t pixels) const {
    return m_PixelsToTwips ? scaled(pixels, m_twips.y) : pixels;
}

void CMonitor::SetDefaultDeviceName() {
    if (m_Index == 0) {
        m_MonitorInfo.rcWork = m_MonitorInfo.rcMonitor;
        m_MonitorInfo.szDevice = QStringLiteral("Virtual");
    } else {
        m_MonitorInfo.szDevice = QStringLiteral("\\\\.\\DISPLAY1");
    }
}

QString CMonitor::TrimAtNull(const QString& text) {
    const qsizetype end = text.indexOf(QChar(u'\0'));
    return end < 0 ? text : text.left(end);
}

CMonitor::Rect CMonitor::toRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
}

} // namespace pellix
