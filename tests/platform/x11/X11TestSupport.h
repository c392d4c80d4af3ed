#pragma once

// Outside X clients for the X11 backend tests: a window with the test pattern
// drawn by another process, and a private X server without a window manager.

#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

namespace pellix::testing {

// Runs pellix_pattern_window until destroyed.
class PatternWindow {
public:
    // `geometry` as WxH+X+Y; `display` empty for the inherited $DISPLAY.
    explicit PatternWindow(const QString& geometry, const QStringList& extra = {},
                           const QString& display = {});
    ~PatternWindow();
    PatternWindow(const PatternWindow&) = delete;
    PatternWindow& operator=(const PatternWindow&) = delete;

    bool ready() const { return m_window != 0; }
    unsigned long window() const { return m_window; }
    unsigned long child() const { return m_child; }

private:
    QProcess m_process;
    unsigned long m_window = 0;
    unsigned long m_child = 0;
};

// An Xvfb of its own, with no window manager and nothing else running.
class PrivateXServer {
public:
    explicit PrivateXServer(const QString& screen = QStringLiteral("800x600x24"));
    ~PrivateXServer();
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    bool running() const { return !m_display.isEmpty(); }
    QString display() const { return m_display; }

private:
    QProcess m_process;
    QString m_display;
};

// Runs a program to its end with DISPLAY set; true when it exits with 0.
bool runTool(const QString& display, const QString& program, const QStringList& arguments);

} // namespace pellix::testing
