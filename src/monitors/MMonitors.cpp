#include "monitors/MMonitors.h"

#include "platform/Error.h"

#include <QScreen>
#include <QWidget>

namespace pellix {

namespace {

constexpr int InvalidProcedureCall = 5;

} // namespace

void MonitorCollection::Add(CMonitor monitor, const QString& key) {
    m_items.emplace_back(key, std::move(monitor));
}

CMonitor* MonitorCollection::find(const QString& key) {
    for (auto& [itemKey, monitor] : m_items) {
        if (itemKey == key) {
            return &monitor;
        }
    }
    return nullptr;
}

CMonitor& MonitorCollection::Item(const QString& key) {
    if (CMonitor* monitor = find(key)) {
        return *monitor;
    }
    throw Error(InvalidProcedureCall, QStringLiteral("Invalid procedure call or argument"),
                QStringLiteral("no monitor record \"%1\"").arg(key));
}

MMonitors::MMonitors(const DisplayMonitors& display, TwipsPerPixel twips)
    : m_display(&display), m_twips(twips) {}

MonitorCollection& MMonitors::Monitors() {
    if (!m_Monitors) {
        BuildMonitorList();
    }
    return *m_Monitors;
}

std::int32_t MMonitors::MonitorCount() {
    if (!MultiMonitorSupported()) {
        return 1;
    }
    return static_cast<std::int32_t>(m_display->monitors().size());
}

bool MMonitors::MultiMonitorSupported() {
    return Monitors().Item(QStringLiteral("0")).MultiMonitorSupport();
}

std::int32_t MMonitors::MonitorIndexFromWindow(const QRect& windowRect) {
    if (!MultiMonitorSupported()) {
        return 1;
    }
    return MonitorIndexFromHandle(m_display->monitorNearest(windowRect));
}

std::int32_t MMonitors::MonitorIndexFromWindow(const QWidget& window) {
    return MonitorIndexFromWindow(windowRectInPixels(window));
}

std::int32_t MMonitors::MonitorIndexFromHandle(MonitorHandle hMonitor) {
    MonitorCollection& monitors = Monitors();
    for (std::int32_t i = 0; i < monitors.Count(); ++i) {
        const CMonitor& monitor = monitors.Item(QString::number(i));
        if (monitor.Handle() == hMonitor) {
            return monitor.Index();
        }
    }
    return 0;
}

void MMonitors::BuildMonitorList() {
    m_Monitors.emplace();
    CMonitor screen(*m_display, m_twips);
    screen.setIndex(m_Monitors->Count());
    const bool multi = screen.MultiMonitorSupport();
    m_Monitors->Add(std::move(screen), QStringLiteral("0"));
    if (multi) {
        for (const MonitorDescription& monitor : m_display->monitors()) {
            if (!MonitorEnumProc(monitor.handle)) {
                break;
            }
        }
    } else {
        CMonitor single(*m_display, m_twips);
        single.setIndex(m_Monitors->Count());
        m_Monitors->Add(std::move(single), QString::number(m_Monitors->Count()));
    }
}

bool MMonitors::MonitorEnumProc(MonitorHandle hMonitor) {
    CMonitor monitor(*m_display, m_twips);
    monitor.setHandle(hMonitor);
    monitor.setIndex(m_Monitors->Count());
    const QString key = QString::number(monitor.Index());
    m_Monitors->Add(std::move(monitor), key);
    return true;
}

QRect windowRectInPixels(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        return frame;
    }
    // The toolkit keeps each screen's origin and scales distances from it.
    const qreal ratio = screen->devicePixelRatio();
    const QPoint origin = screen->geometry().topLeft();
    const QPointF offset = QPointF(frame.topLeft() - origin) * ratio;
    return {origin + offset.toPoint(), (QSizeF(frame.size()) * ratio).toSize()};
}

} // namespace pellix
