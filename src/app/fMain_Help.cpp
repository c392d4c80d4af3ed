// The two buttons that lead away from the work: the help document and the About box.
#include "app/Help.h"
#include "app/fAbout.h"
#include "app/fMain.h"
#include "platform/qt/FramePlacer.h"

namespace pellix {

QString HelpFilePath(const QString& programFolder) {
    return programFolder + QStringLiteral("/Pellix_Help.pdf");
}

// Whether a viewer opened the document is not known here; a missing document or
// viewer simply shows nothing.
void fMain::cmdHelp_Click() {
    m_services.shell.openFile(HelpFilePath(m_services.folders.programFolder()), m_ImageFolder);
}

// One About box at a time, without an owner, so it outlives the main window;
// the program ends when the last of them closes.
void fMain::cmdAbout_Click() {
    if (!m_fAbout) {
        m_fAbout = new fAbout(m_services.shell);
        // Queued: the box is still being destroyed, and the pointer clears after.
        connect(m_fAbout, &QObject::destroyed, this, &fMain::endProgramIfLastWindow,
                Qt::QueuedConnection);
        // Centred by its frame, which only exists once the window manager has framed it.
        const QPoint centre = frameGeometry().center();
        auto* placer = new FramePlacer(*m_fAbout);
        placer->show(
            [centre](const QSize& frame) {
                QRect box(QPoint(), frame);
                box.moveCenter(centre);
                return box.topLeft();
            },
            m_fAbout->size() + (frameGeometry().size() - size()));
    }
    m_fAbout->show();
    m_fAbout->raise();
    m_fAbout->activateWindow();
}

} // namespace pellix
