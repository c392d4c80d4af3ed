// The two buttons that lead away from the work: the help document and the About box.
#include "app/Help.h"
#include "app/fAbout.h"
#include "app/fMain.h"

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
        m_fAbout->showCentredOn(*this);
    }
    m_fAbout->show();
    m_fAbout->raise();
    m_fAbout->activateWindow();
}

} // namespace pellix
