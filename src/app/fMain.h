#pragma once

#include "app/LanguageTable.h"
#include "app/Services.h"

#include <QString>
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
class fOCR;
class RecognitionRun;
struct RecognitionResult;

// The main window: the capture and recognition controls, the status line and the
// image view. Constructing it lays out the controls at their design values;
// Form_Load runs the start-up steps and may throw pellix::Error.
class fMain : public QWidget {
    Q_OBJECT
public:
    explicit fMain(Services services, QWidget* parent = nullptr);
    ~fMain() override;

    void Form_Load();

    // Public methods, in this order, as other windows and the keyboard hook call them.
    Q_INVOKABLE void Image2FileAndClipboard();

    // Controls, named as in the form.
    PictureBox* Picture2 = nullptr;
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
    std::unique_ptr<fOCR> m_fOCR;
    // The recognition under way; empty between runs.
    RecognitionRun* m_ModiDoc = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createCaptureFrame();
    void createRecognitionFrame();
    void createImageView();
    void setTabOrder();
    void connectHandlers();

    void Form_Unload();
    void Set_ImagePath();
    void Clear_Image();
    void cmdOpenImage_Click();
    void cmdEditImage_Click();

    // Recognition (src/recognition/fMain_Recognize.cpp).
    void cmdRecognize_Click();
    void Recognize_ImageFile(const QString& path, std::int32_t languageId, bool StraightenImage,
                             bool OrientImage);
    void m_ModiDoc_OnOCRProgress(int Progress);
    void Recognize_Finished(const RecognitionResult& result);
    void showResult(const QString& text);
    void setRecognitionRunning(bool running);
    void cancelRecognition();

    Services m_services;
    bool m_unloaded = false;
};

} // namespace pellix
