// The Recognize button of the main window, with a fake engine that the test
// holds at each step of the run.
#include "app/fMain.h"
#include "fakes/FakeClipboard.h"
#include "fakes/FakeDisplayMonitors.h"
#include "fakes/FakeKeyListener.h"
#include "fakes/FakeRecognitionEngine.h"
#include "fakes/FakeScreenGrabber.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeSpecialFolders.h"
#include "fakes/FakeWindowing.h"
#include "platform/imaging/FileImageEncoder.h"
#include "recognition/RecognitionController.h"
#include "recognition/TestSupport.h"
#include "recognition/fOCR.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pellix {
namespace {

using testing::waitFor;

class RecognizeButton : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(desktop.isValid());
        folders.desktop = desktop.path();
        // A primary monitor with another one to its left.
        display.list = {{1, QRect(1280, 0, 1920, 1080), QRect(1280, 0, 1920, 1040), true, "MAIN"},
                        {2, QRect(0, 0, 1280, 1024), QRect(0, 0, 1280, 1024), false, "LEFT"}};
        display.screen = QRect(0, 0, 3200, 1080);
        display.work = display.list[0].workArea;
        window = std::make_unique<fMain>(Services{windowing, clipboard, shell, folders, encoder,
                                                  grabber, keys, monitors, engine});
        window->Form_Load();
        clipboard.log.clear();
    }

    fOCR& result() { return window->m_recognition->resultWindow(); }
    bool labelReads(const QString& text) {
        return waitFor([&] { return window->Label1->text() == text; });
    }
    bool finished() {
        return waitFor([&] { return windowing.beeps > 0; });
    }
    bool buttonsEnabled() const {
        return window->cmdRecognize->isEnabled() && window->cmdCapture[1]->isEnabled() &&
               window->cmdCapture[2]->isEnabled() && window->cmdCapture[3]->isEnabled();
    }
    bool buttonsDisabled() const {
        return !window->cmdRecognize->isEnabled() && !window->cmdCapture[1]->isEnabled() &&
               !window->cmdCapture[2]->isEnabled() && !window->cmdCapture[3]->isEnabled();
    }

    QTemporaryDir desktop;
    FakeWindowing windowing;
    FakeClipboard clipboard;
    FakeShell shell;
    FakeScreenGrabber grabber;
    FakeKeyListener keys;
    FakeSpecialFolders folders;
    FileImageEncoder encoder;
    FakeRecognitionEngine engine;
    FakeDisplayMonitors display;
    MMonitors monitors{display, {15, 15}};
    std::unique_ptr<fMain> window;
};

TEST_F(RecognizeButton, StatusLineFollowsTheRunThenTheTextReachesClipboardAndResultWindow) {
    // A character outside the basic plane counts as two.
    const QString text = QStringLiteral("Grüße 😀\nzweite Seite");
    engine.pages = {text.left(9), text.mid(9)};
    engine.progressSteps = {40, 100};
    engine.gate.enable();
    window->Combo1->setCurrentIndex(5);
    window->chkDeskewImage->setChecked(true);

    window->cmdRecognize->click();
    EXPECT_TRUE(labelReads("Tesseract document is created."));
    EXPECT_TRUE(buttonsDisabled());
    engine.gate.open();
    EXPECT_TRUE(labelReads("40 %"));
    engine.gate.open();
    EXPECT_TRUE(labelReads("100 %"));
    engine.gate.open();
    EXPECT_TRUE(labelReads("OCR is done."));
    EXPECT_TRUE(clipboard.log.isEmpty());
    engine.gate.open();
    ASSERT_TRUE(finished());

    EXPECT_EQ(window->Label1->text(), "Done. Recognized [21] characters are stored in Clipboard.");
    EXPECT_EQ(clipboard.log, QStringList({"clear", "text:" + text}));
    ASSERT_EQ(engine.calls.size(), 1u);
    EXPECT_EQ(engine.calls[0].path, window->m_ImagePath);
    EXPECT_EQ(engine.calls[0].languageId, 7);
    EXPECT_TRUE(engine.calls[0].straightenImage);
    EXPECT_FALSE(engine.calls[0].orientImage);
    EXPECT_TRUE(result().isVisible());
    EXPECT_EQ(result().Text1->toPlainText(), text);
    EXPECT_EQ(result().Label1->text(), "Recognized [21] characters are stored in Clipboard.");
    EXPECT_EQ(result().parentWidget(), nullptr);
    EXPECT_FALSE(result().isModal());
    EXPECT_TRUE(buttonsEnabled());
    EXPECT_EQ(windowing.beeps, 1);
    EXPECT_TRUE(windowing.messages.empty());
    EXPECT_FALSE(window->m_recognition->running());
}

TEST_F(RecognizeButton, TheControlsAsPressedRuleTheRunEvenWhenChangedDuringIt) {
    engine.pages = {"plain text"};
    engine.gate.enable();
    window->chkShowResult->setChecked(false);
    window->Combo1->setCurrentIndex(3);
    window->cmdRecognize->click();
    window->chkShowResult->setChecked(true);
    window->chkDeskewImage->setChecked(true);
    window->Combo1->setCurrentIndex(5);
    engine.gate.open(100);
    ASSERT_TRUE(finished());
    ASSERT_EQ(engine.calls.size(), 1U);
    EXPECT_EQ(engine.calls[0].languageId, window->m_LangID[3]);
    EXPECT_FALSE(engine.calls[0].straightenImage);
    EXPECT_FALSE(result().isVisible());
    EXPECT_EQ(clipboard.text(), "plain text");
    EXPECT_EQ(window->Label1->text(), "Done. Recognized [10] characters are stored in Clipboard.");
}

TEST_F(RecognizeButton, OkUnloadsTheResultWindowAndTheNextRunBringsItBack) {
    engine.pages = {"first"};
    window->cmdRecognize->click();
    ASSERT_TRUE(finished());
    ASSERT_TRUE(result().isVisible());
    result().cmdOK->click();
    EXPECT_FALSE(result().isVisible());
    EXPECT_EQ(result().Text1->toPlainText(), "Text1\n");
    EXPECT_EQ(result().Label1->text(), "Label1");

    engine.pages = {"second run"};
    window->cmdRecognize->click();
    ASSERT_TRUE(waitFor([&] { return windowing.beeps == 2; }));
    EXPECT_TRUE(result().isVisible());
    EXPECT_EQ(result().Text1->toPlainText(), "second run");
    EXPECT_EQ(result().Label1->text(), "Recognized [10] characters are stored in Clipboard.");
}

TEST_F(RecognizeButton, AFailureNamesTesseractAndTheCauseAndKeepsTheImage) {
    const QString cause = QStringLiteral(
        "The Tesseract language data /x/deu.traineddata is missing. Install the package "
        "tesseract-ocr-deu (apt install tesseract-ocr-deu).");
    engine.ocrError = Error(RecognitionErrors::LanguageDataMissing, cause);
    window->cmdRecognize->click();
    ASSERT_TRUE(finished());

    EXPECT_EQ(window->Label1->text(), "Problem. Tesseract is not properly installed.");
    ASSERT_EQ(windowing.messages.size(), 1u);
    EXPECT_EQ(windowing.messages[0].text,
              "System message: " + cause +
                  "\r\n\r\n(1) Tesseract is not properly installed.\r\n(2) Press [Help] button "
                  "and read details for the proper Tesseract installation.");
    EXPECT_EQ(windowing.messages[0].style, 48);
    EXPECT_EQ(windowing.messages[0].title, "Pellix");
    EXPECT_EQ(windowing.beeps, 1);
    EXPECT_TRUE(clipboard.log.isEmpty());
    EXPECT_FALSE(clipboard.image().isNull());
    EXPECT_FALSE(result().isVisible());
    EXPECT_TRUE(buttonsEnabled());
}

TEST_F(RecognizeButton, AnImageWithoutCharactersIsNotAnInstallationProblem) {
    engine.pages = {"", " \n\n"};
    window->cmdRecognize->click();
    ASSERT_TRUE(finished());
    EXPECT_EQ(window->Label1->text(), "Done. No characters were recognized in the image.");
    EXPECT_TRUE(windowing.messages.empty());
    EXPECT_EQ(windowing.beeps, 1);
    EXPECT_TRUE(clipboard.log.isEmpty());
    EXPECT_FALSE(clipboard.image().isNull());
    EXPECT_FALSE(result().isVisible());
}

TEST_F(RecognizeButton, ClosingTheWindowCancelsTheRunningRecognition) {
    engine.pages = {"never shown"};
    engine.gate.enable(); // holds the run until it is cancelled
    window->show();
    window->cmdRecognize->click();
    ASSERT_TRUE(labelReads("Tesseract document is created."));
    window->close();
    EXPECT_TRUE(engine.sawCancel);
    EXPECT_EQ(engine.closed, 1);
    EXPECT_FALSE(window->m_recognition->running());
    // Nothing of the cancelled run arrives afterwards.
    QCoreApplication::processEvents();
    EXPECT_EQ(windowing.beeps, 0);
    EXPECT_TRUE(clipboard.log.isEmpty());
    EXPECT_TRUE(windowing.messages.empty());
}

} // namespace
} // namespace pellix

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
