#include "X11TestSupport.h"

#include <QProcessEnvironment>

namespace pellix::testing {

namespace {

constexpr int StartMilliseconds = 15000;

QProcessEnvironment environmentFor(const QString& display) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!display.isEmpty()) {
        environment.insert(QStringLiteral("DISPLAY"), display);
    }
    return environment;
}

} // namespace

PatternWindow::PatternWindow(const QString& geometry, const QStringList& extra,
                             const QString& display) {
    m_process.setProcessEnvironment(environmentFor(display));
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(PELLIX_PATTERN_WINDOW), QStringList{geometry} + extra);
    while (m_process.waitForReadyRead(StartMilliseconds)) {
        if (!m_process.canReadLine()) {
            continue;
        }
        const QStringList words = QString::fromLatin1(m_process.readLine()).split(' ');
        if (words.size() == 3 && words[0] == QStringLiteral("READY")) {
            m_window = words[1].toULong();
            m_child = words[2].trimmed().toULong();
        }
        break;
    }
}

PatternWindow::~PatternWindow() {
    m_process.closeWriteChannel(); // the helper ends when its input closes
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

PrivateXServer::PrivateXServer(const QString& screen) {
    // -displayfd writes the free display number it took once it accepts clients.
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(QStringLiteral("Xvfb"),
                    {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-noreset"),
                     QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-screen"),
                     QStringLiteral("0"), screen});
    while (m_process.waitForReadyRead(StartMilliseconds)) {
        if (m_process.canReadLine()) {
            m_display = QStringLiteral(":") + QString::fromLatin1(m_process.readLine()).trimmed();
            break;
        }
    }
}

PrivateXServer::~PrivateXServer() {
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool runTool(const QString& display, const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessEnvironment(environmentFor(display));
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    return process.waitForFinished(StartMilliseconds) &&
           process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace pellix::testing
