#pragma once

#include "app/Services.h"
#include "capture/CaptureController.h"
#include "imageio/ImageOutput.h"
#include "platform/LanguageTable.h"
#include "scrollview/ImageView.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

namespace pellix {

class PictureBox;
class fAbout;
class RecognitionController;

// The main window: the capture and recognition controls, the status line and the
// image view. Constructing it lays out the controls at their design values;
// Form_Load runs the start-up steps and may throw pellix::Error.
class fMain : public QWidget {
    Q_OBJECT
public:
    explicit fMain(Services services, QWidget* parent = nullptr);
    ~fMain() override;

    void Form_Load();

    // Public methods, in this order, as other windows call them.
    void Image_Captured();
    void Hide_Form() { m_capture->Hide_Form(); }
    void Show_Form() { m_capture->Show_Form(); }
    void DoCapture(bool bCapture) { m_capture->DoCapture(bCapture); }
    void Image2FileAndClipboard();

    // Fits the scroll ranges of the image view to the picture.
    void Picture2_Resize();

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
    QString m_ImageFolder;
    QString m_ImagePath;
    CaptureController* m_capture = nullptr; // the capture flow, with the overlay
    // The recognition runs and their result window fOCR.
    std::unique_ptr<RecognitionController> m_recognition;
    cScroll* m_Scroll = nullptr; // Picture2's controller, from load to unload

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createControls();
    void setTabOrder();
    void connectHandlers();
    void connectRecognition();
    void Form_Unload();
    void endProgramIfLastWindow();
    void Form_Resize();
    void Set_ImagePath();
    void takeCapture(const QImage& picture);
    void Clear_Image();
    void cmdOpenImage_Click();
    void cmdEditImage_Click();
    void cmdHelp_Click();
    void cmdAbout_Click();
    void cmdRecognize_Click();

    Services m_services;
    bool m_unloaded = false;
    QPointer<fAbout> m_fAbout; // open while the user keeps it open, even after fMain closes
    ImageOutput m_output{m_services.encoder, m_services.clipboard};
};

} // namespace pellix
