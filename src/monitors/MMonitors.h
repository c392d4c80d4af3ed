#pragma once

#include "monitors/CMonitor.h"

#include <QRect>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

class QWidget;

namespace pellix {

// Monitor records by key, the decimal text of their index; kept in the order
// they were added.
class MonitorCollection {
public:
    std::int32_t Count() const { return static_cast<std::int32_t>(m_items.size()); }
    void Add(CMonitor monitor, const QString& key);
    // Null when no record has `key`.
    CMonitor* find(const QString& key);
    // Throws pellix::Error 5 when no record has `key`.
    CMonitor& Item(const QString& key);

private:
    std::vector<std::pair<QString, CMonitor>> m_items;
};

// The module of the monitor records: "0" the virtual screen, "1" to "n" the
// monitors in the server's order. The list is built on first use and never
// again; the counts and the monitor of a window follow the display.
class MMonitors {
public:
    MMonitors(const DisplayMonitors& display, TwipsPerPixel twips);

    MonitorCollection& Monitors();
    std::int32_t MonitorCount();
    bool MultiMonitorSupported();
    // The monitor nearest to a window, by its frame in pixels of the virtual screen.
    std::int32_t MonitorIndexFromWindow(const QRect& windowRect);
    std::int32_t MonitorIndexFromWindow(const QWidget& window);
    std::int32_t MonitorIndexFromHandle(MonitorHandle hMonitor);

private:
    void BuildMonitorList();
    bool MonitorEnumProc(MonitorHandle hMonitor);

    const DisplayMonitors* m_display;
    TwipsPerPixel m_twips;
    std::optional<MonitorCollection> m_Monitors;
};

// A window's frame in physical pixels of the virtual screen, also where the
// toolkit scales the screen for a high resolution.
QRect windowRectInPixels(const QWidget& window);

} // namespace pellix
