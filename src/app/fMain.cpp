#include "app/fMain.h"

#include "Version.h"
#include "app/Help.h"
#include "app/fAbout.h"
#include "imageio/mPath.h"
#include "monitors/OverlayPlacement.h"
#include "platform/Error.h"
#include "recognition/RecognitionController.h"
#include "scrollview/PictureBox.h"
#include "widgets/Fonts.h"
#include "widgets/Layout.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace pellix {

fMain::fMain(Services services, QWidget* parent) : QWidget(parent), m_services(services) {
    setObjectName(QStringLiteral("fMain"));
    setWindowTitle(
        QStringLiteral("Pellix Version %1.%2 for image capture and character recognition")
            .arg(PELLIX_VERSION_MAJOR)
            .arg(PELLIX_VERSION_MINOR));
    setWindowIcon(programIcon());
    setFont(calibriFont());
    resize(1058, 599);
    createControls();
    setTabOrder();
    connectHandlers();
}

fMain::~fMain() {
    Form_Unload();
}

void fMain::createControls() {
    // The view is created at its design place; the picture box it holds is Picture1.
    Picture2 = place(new ImageView(this), "Picture2", 216, 24, 820, 556);
    Picture1 = place(Picture2->picture(), "Picture1", -8, -16, 787, 355);
    for (QWidget* view : {static_cast<QWidget*>(Picture2), static_cast<QWidget*>(Picture1)}) {
        view->setFont(msSansSerifFont());
        view->setFocusPolicy(Qt::StrongFocus);
    }
    Picture1->setAutoSize(true);
    Picture1->setPicture(QImage(QStringLiteral(":/pellix/startup.jpg")));

    Frame2 = place(new QGroupBox(QStringLiteral("Charater recognition"), this), "Frame2", 16, 256,
                   185, 241);
    chkDeskewImage = place(new QCheckBox(QStringLiteral("Deskew image"), Frame2), "chkDeskewImage",
                           24, 96, 137, 18);
    cmdHelp = place(new QPushButton(QStringLiteral("&Help"), Frame2), "cmdHelp", 24, 192, 137, 33);
    chkShowResult = place(new QCheckBox(QStringLiteral("Show result"), Frame2), "chkShowResult", 24,
                          64, 137, 33);
    Combo1 = place(new QComboBox(Frame2), "Combo1", 24, 32, 137, 26);
    Combo1->setEditable(false);
    Combo1->setMaxVisibleItems(LanguageTable.size());
    cmdAbout =
        place(new QPushButton(QStringLiteral("&About"), Frame2), "cmdAbout", 24, 160, 137, 33);
    cmdRecognize = place(new QPushButton(QStringLiteral("&Recognize"), Frame2), "cmdRecognize", 24,
                         128, 137, 33);

    Frame1 =
        place(new QGroupBox(QStringLiteral("Image capture"), this), "Frame1", 16, 16, 185, 233);
    chkControlShift = place(new QCheckBox(QStringLiteral("Use Control+Shift"), Frame1),
                            "chkControlShift", 24, 24, 137, 25);
    cmdEditImage = place(new QPushButton(QStringLiteral("&Edit Image"), Frame1), "cmdEditImage", 24,
                         184, 137, 33);
    cmdOpenImage = place(new QPushButton(QStringLiteral("&Open Image"), Frame1), "cmdOpenImage", 24,
                         152, 137, 33);
    const std::array<const char*, 4> captions = {nullptr, "Capture Region", "Capture Desktop",
                                                 "Capture Window"};
    for (int index = 3; index >= 1; --index) {
        cmdCapture[index] =
            place(new QPushButton(QString::fromLatin1(captions[index]), Frame1),
                  QStringLiteral("cmdCapture_%1").arg(index), 24, 56 + 32 * (index - 1), 137, 33);
    }

    m_capture =
        new CaptureController(*this, m_services.windowing, m_services.grabber, m_services.keys);
    Timer1 = m_capture->Timer1;

    Label1 = place(new QLabel(QStringLiteral("Label1"), this), "Label1", 16, 504, 193, 73);
    makeBlueUnderlined(*Label1);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setWordWrap(true);
}

// Keyboard focus follows the controls' tab indices; frames and labels take no focus.
void fMain::setTabOrder() {
    const std::array<QWidget*, 14> order = {
        cmdCapture[1], cmdCapture[2], cmdCapture[3],   cmdRecognize,  cmdAbout,
        Picture2,      Picture1,      Combo1,          chkShowResult, cmdOpenImage,
        cmdEditImage,  cmdHelp,       chkControlShift, chkDeskewImage};
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void fMain::connectHandlers() {
    connect(cmdOpenImage, &QPushButton::clicked, this, &fMain::cmdOpenImage_Click);
    connect(cmdEditImage, &QPushButton::clicked, this, &fMain::cmdEditImage_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &fMain::cmdHelp_Click);
    connect(cmdAbout, &QPushButton::clicked, this, &fMain::cmdAbout_Click);
    connect(cmdRecognize, &QPushButton::clicked, this, &fMain::cmdRecognize_Click);
    for (std::int16_t index = 1; index <= 3; ++index) {
        connect(cmdCapture[index], &QPushButton::clicked, this,
                [this, index] { m_capture->command(index, chkControlShift->isChecked()); });
    }
    connect(m_capture, &CaptureController::captured, this, &fMain::takeCapture);
    connect(m_capture, &CaptureController::failed, Label1, &QLabel::setText);
}

void fMain::Form_Load() {
    Set_ImagePath();
    chkControlShift->setChecked(false);
    chkShowResult->setChecked(true);
    m_recognition =
        std::make_unique<RecognitionController>(m_services.recognition, m_services.clipboard,
                                                m_services.windowing, m_services.monitors, *this);
    connectRecognition();
    Label1->setText(QString());
    Timer1->stop();
    Timer1->setInterval(CaptureController::TimeoutMs);
    // The controller serves the form from load to unload.
    m_Scroll = &Picture2->scroll();
    Picture2->useStandardBars();

    m_LangName = {};
    m_LangID = {};
    Combo1->clear();
    for (std::size_t k = 0; k < LanguageTable.size(); ++k) {
        m_LangName[k] = QString::fromLatin1(LanguageTable[k].name);
        m_LangID[k] = LanguageTable[k].id;
        Combo1->addItem(m_LangName[k]);
    }
    Combo1->setCurrentIndex(0);

    Image2FileAndClipboard();
    m_capture->placeOverlay(overlayPlacement(m_services.monitors));
    // The first window shown starts on the lowest tab index, not on the first control made.
    cmdCapture[1]->setFocus();
}

void fMain::Form_Unload() {
    if (m_unloaded) {
        return;
    }
    m_unloaded = true;
    // A recognition under way is cancelled first, so the program ends promptly.
    if (m_recognition) {
        m_recognition->unload();
    }
    m_Scroll = nullptr;
    m_capture->unload();
}

void fMain::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
    endProgramIfLastWindow();
}

// The program lives on while an About box is open; the box ends it when it closes.
void fMain::endProgramIfLastWindow() {
    if (m_unloaded && !m_fAbout) {
        QCoreApplication::quit();
    }
}

void fMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

// Restoring from the task bar changes the state without a resize.
void fMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        Form_Resize();
    }
}

// Only the image view follows the window's size; the control column keeps its place.
void fMain::Form_Resize() {
    if (windowState() & Qt::WindowMinimized) {
        return;
    }
    if (const std::optional<QRect> view = fillRightOf(Frame1->geometry().right() + 1, size())) {
        Picture2->setGeometry(*view);
    }
    Picture1->move(0, 0);
}

void fMain::Set_ImagePath() {
    m_ImageFolder = mPath::ImageFolder(m_services.folders);
    m_ImagePath = m_ImageFolder + QStringLiteral("Pellix.JPG");
}

void fMain::Picture2_Resize() {
    if (m_Scroll) {
        Picture2->fitRangesToPicture();
    }
}

// A region replaces the view's picture only once it is accepted, from the
// view's origin.
void fMain::takeCapture(const QImage& picture) {
    if (m_capture->m_CaptureType == CaptureController::Region) {
        Clear_Image();
    }
    Picture1->setPicture(picture);
    Image_Captured();
}

// A picture that cannot be saved ends the capture and the window comes back as
// usual; the status line must not go on claiming the last capture was stored.
void fMain::Image_Captured() {
    try {
        Image2FileAndClipboard();
    } catch (const Error& error) {
        Label1->setText(error.description());
        Label1->setToolTip(error.detail());
    }
}

void fMain::Image2FileAndClipboard() {
    Picture2_Resize();
    m_output.store(Picture1->picture(), m_ImagePath);
    Label1->setText(QStringLiteral("Done! Captured image is stored in Clipboard."));
}

void fMain::Clear_Image() {
    Picture1->setGeometry(0, 0, Picture2->width() / 2, Picture2->height() / 2);
    Picture1->clearPicture();
}

void fMain::cmdOpenImage_Click() {
    m_services.shell.openFile(m_ImagePath, m_ImageFolder);
}

void fMain::cmdEditImage_Click() {
    m_services.shell.editFile(m_ImagePath, m_ImageFolder);
}

// Whether a viewer opened the document is not known here; a missing document or
// viewer simply shows nothing.
void fMain::cmdHelp_Click() {
    m_services.shell.openFile(HelpFilePath(m_services.folders.programFolder()), m_ImageFolder);
}

void fMain::cmdAbout_Click() {
    fAbout::showOne(m_fAbout, *this, m_services.shell, [this] { endProgramIfLastWindow(); });
}

void fMain::cmdRecognize_Click() {
    if (m_recognition->running()) {
        return;
    }
    // Every control is read now: changing one during the run must not change the run.
    const int index = Combo1->currentIndex();
    const std::int32_t languageId = index >= 0 && index < LanguageSlots ? m_LangID[index] : 0;
    m_recognition->recognize({m_output.fileHolding(Picture1->picture(), m_ImagePath), languageId,
                              chkDeskewImage->checkState() != Qt::Unchecked, false},
                             chkShowResult->checkState() != Qt::Unchecked);
}

void fMain::connectRecognition() {
    connect(m_recognition.get(), &RecognitionController::statusChanged, Label1, &QLabel::setText);
    // Another capture or recognition while one runs would pull the image file
    // or the status line from under it.
    connect(m_recognition.get(), &RecognitionController::runningChanged, this,
            [this](bool running) {
                if (!running) {
                    m_output.release();
                }
                cmdRecognize->setEnabled(!running);
                for (int index = 1; index <= 3; ++index) {
                    cmdCapture[index]->setEnabled(!running);
                }
            });
}

} // namespace pellix
