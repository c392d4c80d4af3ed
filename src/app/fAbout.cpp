#include "app/fAbout.h"

#include "Version.h"
#include "scrollview/PictureBox.h"
#include "widgets/Fonts.h"
#include "widgets/FramePlacer.h"
#include "widgets/Layout.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStringList>

namespace pellix {

namespace {

const char* const ProductName = "Pellix";
const char* const ProductLongName = "Picture Text Extractor";
const char* const MaintainerName = "The Pellix maintainers";
const char* const MaintainerAddress = "pellix@example.org";
const char* const NoticeLines[] = {"Captures the screen and reads the text in the picture.",
                                   "Text recognition by the Tesseract OCR engine.",
                                   "Free to use; it comes without any warranty."};

// Three lines in the label's 57 pixels: Carlito's own line spacing at this size is
// a few pixels more than Calibri's, so the lines are set closer, as Calibri sets them.
QString noticeText() {
    QStringList lines;
    for (const char* line : NoticeLines) {
        lines << QString::fromLatin1(line).toHtmlEscaped();
    }
    return QStringLiteral("<p style=\"margin:0; line-height:85%\">%1</p>")
        .arg(lines.join(QStringLiteral("<br>")));
}

} // namespace

QString FormatVersion(int major, int minor) {
    return QStringLiteral("%1.%2").arg(major).arg(minor);
}

QString fAbout::AppVersion() {
    return FormatVersion(PELLIX_VERSION_MAJOR, PELLIX_VERSION_MINOR);
}

fAbout::fAbout(Shell& shell, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_shell(shell) {
    setObjectName(QStringLiteral("fAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("About Pellix"));
    setWindowIcon(programIcon());
    setFont(calibriFont());
    setFixedSize(437, 187);
    createControls();
    Form_Load();
}

// The frame only exists once the window manager has framed the box.
void fAbout::showCentredOn(const QWidget& owner) {
    const QPoint centre = owner.frameGeometry().center();
    auto* placer = new FramePlacer(*this);
    placer->show(
        [centre](const QSize& frame) {
            QRect box(QPoint(), frame);
            box.moveCenter(centre);
            return box.topLeft();
        },
        size() + (owner.frameGeometry().size() - owner.size()));
}

void fAbout::showOne(QPointer<fAbout>& box, const QWidget& owner, Shell& shell,
                     const std::function<void()>& closed) {
    if (!box) {
        box = new fAbout(shell);
        // Queued: the box is still being destroyed, and the pointer clears after.
        QObject::connect(box, &QObject::destroyed, &owner, closed, Qt::QueuedConnection);
        box->showCentredOn(owner);
    }
    box->show();
    box->raise();
    box->activateWindow();
}

void fAbout::createControls() {
    cmdOK = place(new QPushButton(QStringLiteral("OK"), this), 320, 136, 88, 33);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });

    Picture1 = place(new PictureBox(this), 24, 16, 32, 31);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setBorder(false);
    Picture1->setPicture(QImage(QStringLiteral(":/pellix/icon32.png")));

    Label0 = place(new QLabel(noticeText(), this), 72, 48, 361, 57);
    Label0->setTextFormat(Qt::RichText);
    Label0->setObjectName(QStringLiteral("Label0"));
    Label0->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    lblVersion = place(new QLabel(QStringLiteral("Version"), this), 72, 24, 48, 18);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));

    lblMailTo = place(new QLabel(this), 72, 104, 247, 18);
    lblMailTo->setObjectName(QStringLiteral("lblMailTo"));
    m_mailToTag = QString::fromLatin1(MaintainerAddress);
    lblMailTo->setText(
        QStringLiteral("%1 (%2)").arg(QString::fromLatin1(MaintainerName), m_mailToTag));
    makeBlueUnderlined(*lblMailTo);
    lblMailTo->setCursor(Qt::PointingHandCursor);
    lblMailTo->adjustSize();
    lblMailTo->installEventFilter(this);
}

void fAbout::Form_Load() {
    lblVersion->setText(QStringLiteral("%1 (%2) Version %3")
                            .arg(QString::fromLatin1(ProductName),
                                 QString::fromLatin1(ProductLongName), AppVersion()));
    lblVersion->adjustSize();
}

void fAbout::cmdOK_Click() {
    close();
}

void fAbout::lblMailTo_Click() {
    m_shell.openAddress(QStringLiteral("mailto:") + m_mailToTag);
}

bool fAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblMailTo && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        lblMailTo_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace pellix
