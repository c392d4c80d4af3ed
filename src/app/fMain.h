#pragma once

#include "app/Services.h"
#include "capture/fCapture.h"
#include "platform/Error.h"
#include "platform/LanguageTable.h"
#include "scrollview/ImageView.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTemporaryDir;
class QTimer;

namespace pellix {

class PictureBox;
class fAbout;
class RecognitionController;

// The main window: the capture and recognition controls, the status line and the
// image view. Constructing it lays out the controls at their design values;
// Form_Load runs the start-up steps and may throw pellix::Error.
class fMain : public QWidget, public CaptureHost {
    Q_OBJECT
public:
    explicit fMain(Services services, QWidget* parent = nullptr);
    ~fMain() override;

    void Form_Load();

    // How long the key chord is waited for.
    static constexpr int CaptureTimeoutMs = 20000;

    // Public methods, in this order, as other windows and the keyboard hook call them.
    Q_INVOKABLE void Image_Captured() override;
    Q_INVOKABLE void Hide_Form();
    Q_INVOKABLE void Show_Form() override;
    Q_INVOKABLE void DoCapture(bool bCapture);
    Q_INVOKABLE void Image2FileAndClipboard();

    // Fits the scroll ranges of the image view to the picture.
    void Picture2_Resize();

    PictureBox& capturePicture() override;

    // Controls, named as in the form.
    ImageView* Picture2 = nullptr;
    PictureBox* Picture1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QCheckBox* chkDeskewImage = nullptr;
    QPushButton* cmdHelp = nullptr;
    QCheckBox* chkShowResult = nullptr;
    QComboBox* Combo1 = nullptr;
    QPushButton* cmdAbout = nullptr;
    QPushButton* cmdRecognize = nullptr;
    QGroupBox* Frame1 = nullptr;
    QCheckBox* chkControlShift = nullptr;
    QPushButton* cmdEditImage = nullptr;
    QPushButton* cmdOpenImage = nullptr;
    std::array<QPushButton*, 4> cmdCapture{}; // indices 1 to 3; 0 is unused
    QTimer* Timer1 = nullptr;
    QLabel* Label1 = nullptr;

    // Fields, in their order of declaration.
    std::array<QString, LanguageSlots> m_LangName;
    std::array<std::int32_t, LanguageSlots> m_LangID{};
    std::int16_t m_CaptureType = 0;
    QString m_ImageFolder;
    QString m_ImagePath;
    std::unique_ptr<fCapture> m_fCapture;
    // The recognition runs and their result window fOCR.
    std::unique_ptr<RecognitionController> m_recognition;
    cScroll* m_Scroll = nullptr; // Picture2's controller, from load to unload

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createControls();
    void createCaptureFrame();
    void createRecognitionFrame();
    void createImageView();
    void setTabOrder();
    void connectHandlers();

    void Form_Unload();
    void endProgramIfLastWindow();
    void Set_ImagePath();
    void Clear_Image();
    void cmdOpenImage_Click();
    void cmdEditImage_Click();

    void createScrollController();
    void Form_Resize();
    void cmdHelp_Click();
    void cmdAbout_Click();

    void connectCaptureHandlers();
    void placeOverlay();
    void cmdCapture_Click(std::int16_t Index);
    void Timer1_Timer();
    void Wait_Seconds(float& seconds);
    void Capture_Region();
    void Capture_Desktop();
    void Capture_Window();
    bool grabFailed(const GrabResult& grab);
    void reportSaveFailure(const Error& error);

    void cmdRecognize_Click();
    void connectRecognition();
    QString pictureFile();

    Services m_services;
    bool m_unloaded = false;
    QPointer<fAbout> m_fAbout; // open while the user keeps it open, even after fMain closes
    // Where the window (without its frame) stood when Hide_Form took it out of
    // sight; empty while it is shown.
    std::optional<QPoint> m_HiddenAt;
    // Where the region overlay lies, in pixels of the virtual screen.
    QRect m_overlayPixels;
    // When the wait for the key chord began, on the windowing clock.
    double m_chordWaitStarted = 0;
    // Whether the image file holds the picture the view shows: not after a
    // capture whose picture could not be saved.
    bool m_fileHoldsPicture = false;
    // The shown picture, written for a run while the image file holds another.
    std::unique_ptr<QTemporaryDir> m_unsavedPicture;
};

} // namespace pellix
