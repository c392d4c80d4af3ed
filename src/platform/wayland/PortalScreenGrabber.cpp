#include "platform/wayland/PortalScreenGrabber.h"

#include "platform/wayland/PortalRequest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>

namespace pellix {

namespace {

// Without the user in the loop the compositor answers in well under a second.
constexpr int PlainGrabLimitMs = 30000;

QString whyNot(uint response, const QVariantMap& results) {
    switch (response) {
    case 1:
        return QStringLiteral("the screenshot was cancelled.");
    case 2:
        return QStringLiteral("the desktop refused the screenshot.");
    default: {
        const QString detail = results.value(QStringLiteral("error")).toString();
        return detail.isEmpty() ? QStringLiteral("the desktop's screenshot service did not answer.")
                                : QStringLiteral("the desktop's screenshot service is not "
                                                 "available (%1).")
                                      .arg(detail);
    }
    }
}

QStringList scratchFolders() {
    QStringList folders = {QDir::tempPath()};
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty()) {
        folders << runtime;
    }
    return folders;
}

} // namespace

bool desktopPicksWindows(const QString& currentDesktop) {
    const QString desktop = currentDesktop.section(QLatin1Char(':'), 0, 0).toUpper();
    return desktop == QLatin1String("GNOME") || desktop == QLatin1String("KDE");
}

bool isOurScratchFile(const QString& path, const QStringList& scratchFolders,
                      const QDateTime& requestedAt) {
    const QFileInfo file(path);
    if (file.isSymLink() || !file.isFile() || file.lastModified() < requestedAt.addSecs(-1)) {
        return false;
    }
    const QString folder = file.canonicalFilePath().section(QLatin1Char('/'), 0, -2);
    for (const QString& scratch : scratchFolders) {
        const QString canonical = QFileInfo(scratch).canonicalFilePath();
        if (!canonical.isEmpty() &&
            (folder == canonical || folder.startsWith(canonical + QLatin1Char('/')))) {
            return true;
        }
    }
    return false;
}

PortalScreenGrabber::PortalScreenGrabber(QDBusConnection bus) : m_bus(std::move(bus)) {}

void PortalScreenGrabber::grabDesktop(Done done) {
    request(false, std::move(done));
}

void PortalScreenGrabber::grabActiveWindow(Done done) {
    request(true, std::move(done));
}

bool PortalScreenGrabber::canGrabWindow() const {
    return desktopPicksWindows(qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
}

void PortalScreenGrabber::request(bool interactive, Done done) {
    const QDateTime requestedAt = QDateTime::currentDateTime();
    const QVariantMap options = {{QStringLiteral("modal"), true},
                                 {QStringLiteral("interactive"), interactive}};
    PortalRequest::call(
        m_bus, QStringLiteral("org.freedesktop.portal.Screenshot"), QStringLiteral("Screenshot"),
        {QString(), options},
        [done = std::move(done), requestedAt](uint response, const QVariantMap& results) {
            GrabResult result;
            if (response != 0) {
                result.error = whyNot(response, results);
                done(result);
                return;
            }
            const QUrl uri(results.value(QStringLiteral("uri")).toString());
            const QString path = uri.toLocalFile();
            QImageReader reader(path);
            result.image = reader.read();
            if (result.image.isNull()) {
                result.error = QStringLiteral("the desktop's screenshot could not be read (%1).")
                                   .arg(reader.errorString());
            } else {
                result.image = result.image.convertToFormat(QImage::Format_RGB32);
                if (const QScreen* screen = QGuiApplication::primaryScreen()) {
                    result.origin = screen->virtualGeometry().topLeft();
                }
            }
            if (isOurScratchFile(path, scratchFolders(), requestedAt)) {
                QFile::remove(path);
            }
            done(result);
        },
        interactive ? 0 : PlainGrabLimitMs);
}

} // namespace pellix
