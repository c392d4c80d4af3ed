#include "app/fMain.h"
#include "fakes/FakeServices.h"

#include "platform/Error.h"
#include "scrollview/PictureBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace pellix;

namespace {

class MainWindow : public ::testing::Test, protected FakeServices {
protected:
    fMain& window() {
        if (!m_window) {
            m_window = std::make_unique<fMain>(services());
        }
        return *m_window;
    }
    fMain& loaded() {
        window().Form_Load();
        return window();
    }

private:
    std::unique_ptr<fMain> m_window;
};

QString captionOf(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        return b->text();
    }
    if (auto* g = qobject_cast<QGroupBox*>(w)) {
        return g->title();
    }
    if (auto* l = qobject_cast<QLabel*>(w)) {
        return l->text();
    }
    return {};
}

} // namespace

TEST_F(MainWindow, EveryControlStandsAtItsDesignPlaceWithItsCaption) {
    fMain& w = window();
    struct Row {
        QWidget* control;
        QWidget* container;
        const char* caption;
        QRect geometry;
    };
    const Row rows[] = {
        {w.Picture2, &w, "", {216, 24, 820, 556}},
        {w.Picture1, w.Picture2->viewport(), "", {-8, -16, 787, 355}},
        {w.Frame2, &w, "Charater recognition", {16, 256, 185, 241}},
        {w.chkDeskewImage, w.Frame2, "Deskew image", {24, 96, 137, 18}},
        {w.cmdHelp, w.Frame2, "&Help", {24, 192, 137, 33}},
        {w.chkShowResult, w.Frame2, "Show result", {24, 64, 137, 33}},
        {w.Combo1, w.Frame2, "", {24, 32, 137, 26}},
        {w.cmdAbout, w.Frame2, "&About", {24, 160, 137, 33}},
        {w.cmdRecognize, w.Frame2, "&Recognize", {24, 128, 137, 33}},
        {w.Frame1, &w, "Image capture", {16, 16, 185, 233}},
        {w.chkControlShift, w.Frame1, "Use Control+Shift", {24, 24, 137, 25}},
        {w.cmdEditImage, w.Frame1, "&Edit Image", {24, 184, 137, 33}},
        {w.cmdOpenImage, w.Frame1, "&Open Image", {24, 152, 137, 33}},
        {w.cmdCapture[3], w.Frame1, "Capture Window", {24, 120, 137, 33}},
        {w.cmdCapture[2], w.Frame1, "Capture Desktop", {24, 88, 137, 33}},
        {w.cmdCapture[1], w.Frame1, "Capture Region", {24, 56, 137, 33}},
        {w.Label1, &w, "Label1", {16, 504, 193, 73}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.control->objectName().toStdString());
        EXPECT_EQ(row.control->parentWidget(), row.container);
        EXPECT_EQ(captionOf(row.control), QString::fromLatin1(row.caption));
        EXPECT_EQ(row.control->geometry(), row.geometry);
    }
    EXPECT_EQ(w.windowTitle(),
              QStringLiteral("Pellix Version 1.3 for image capture and character recognition"));
    EXPECT_EQ(w.size(), QSize(1058, 599));
    EXPECT_EQ(w.Picture1->picture().size(), QSize(785, 353));
    EXPECT_FALSE(w.Picture1->picture().hasAlphaChannel());
}

TEST_F(MainWindow, FocusMovesInTabIndexOrder) {
    fMain& w = window();
    const QWidget* expected[] = {
        w.cmdCapture[1], w.cmdCapture[2], w.cmdCapture[3],   w.cmdRecognize,  w.cmdAbout,
        w.Picture2,      w.Picture1,      w.Combo1,          w.chkShowResult, w.cmdOpenImage,
        w.cmdEditImage,  w.cmdHelp,       w.chkControlShift, w.chkDeskewImage};
    for (std::size_t i = 1; i < std::size(expected); ++i) {
        QWidget* next = expected[i - 1]->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus) {
            next = next->nextInFocusChain();
        }
        EXPECT_EQ(next, expected[i]) << "after " << expected[i - 1]->objectName().toStdString();
    }
    loaded().show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(QApplication::focusWidget(), w.cmdCapture[1]);
}

TEST_F(MainWindow, StatusLineIsBlueAndUnderlined) {
    fMain& w = window();
    EXPECT_TRUE(w.Label1->font().underline());
    EXPECT_EQ(w.Label1->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(w.font().pixelSize(), 15);
    EXPECT_EQ(w.Picture2->font().pixelSize(), 11);
}

TEST_F(MainWindow, LoadSetsTheDefaults) {
    fMain& w = loaded();
    EXPECT_FALSE(w.chkControlShift->isChecked());
    EXPECT_TRUE(w.chkShowResult->isChecked());
    EXPECT_FALSE(w.chkDeskewImage->isChecked());
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_EQ(w.Timer1->interval(), 20000);
    EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("English"));
    EXPECT_EQ(w.Combo1->currentIndex(), 0);
    EXPECT_EQ(w.Label1->text(), QStringLiteral("Done! Captured image is stored in Clipboard."));
}

TEST_F(MainWindow, LanguageListFollowsTheTableSlotForSlot) {
    fMain& w = loaded();
    ASSERT_EQ(w.Combo1->count(), 22);
    for (int k = 0; k < 22; ++k) {
        EXPECT_EQ(w.Combo1->itemText(k), w.m_LangName[k]);
    }
    EXPECT_EQ(w.m_LangName[0], QStringLiteral("English"));
    EXPECT_EQ(w.m_LangID[0], 9);
    EXPECT_EQ(w.m_LangName[8], QStringLiteral("Chinese_traditional"));
    EXPECT_EQ(w.m_LangID[8], 1028);
    EXPECT_EQ(w.m_LangName[7], QStringLiteral("Chinese_simplified"));
    EXPECT_EQ(w.m_LangID[7], 2052);
    EXPECT_EQ(w.m_LangName[20], QStringLiteral("Turkish"));
    EXPECT_EQ(w.m_LangID[20], 31);
    EXPECT_EQ(w.m_LangName[21], QStringLiteral("Sysdefault"));
    EXPECT_EQ(w.m_LangID[21], 2048);
    for (int k = 22; k < 31; ++k) {
        EXPECT_TRUE(w.m_LangName[k].isEmpty());
        EXPECT_EQ(w.m_LangID[k], 0);
    }
}

TEST_F(MainWindow, StartupPictureIsSavedAsJpegNinetyThenCopied) {
    fMain& w = loaded();
    EXPECT_EQ(w.m_ImageFolder, QStringLiteral("/home/ann/Desktop/"));
    EXPECT_EQ(w.m_ImagePath, QStringLiteral("/home/ann/Desktop/Pellix.JPG"));
    ASSERT_EQ(encoder.calls.size(), 1u);
    EXPECT_EQ(encoder.calls[0].path, w.m_ImagePath);
    EXPECT_EQ(encoder.calls[0].encoder, Encoder::Jpeg);
    ASSERT_EQ(encoder.calls[0].params.size(), 1u);
    EXPECT_EQ(encoder.calls[0].params[0].value, 90);
    EXPECT_EQ(encoder.calls[0].image.size(), QSize(785, 353));
    EXPECT_EQ(clipboard.log, (QStringList{"clear", "image"}));
    EXPECT_EQ(clipboard.heldImage, encoder.calls[0].image);
}

TEST_F(MainWindow, ImageFolderFallsBackToTheProgramFolderThenHome) {
    folders.desktop.clear();
    folders.writable.insert(folders.program);
    EXPECT_EQ(loaded().m_ImagePath, QStringLiteral("/opt/pellix/bin/Pellix.JPG"));
}

TEST_F(MainWindow, ReadOnlyProgramFolderGivesTheHomeFolder) {
    folders.desktop.clear();
    EXPECT_EQ(loaded().m_ImagePath, QStringLiteral("/home/ann/Pellix.JPG"));
    EXPECT_EQ(window().m_ImageFolder, QStringLiteral("/home/ann/"));
}

TEST_F(MainWindow, FailedStartupSaveRaisesErrorFiveAndTouchesNothingElse) {
    encoder.result = {ImageStatus::Win32Error, QStringLiteral("Read-only file system")};
    try {
        window().Form_Load();
        FAIL() << "start-up went on after a failed save";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), 5);
        EXPECT_EQ(error.description(), QStringLiteral("Cannot save the image. GDI+ Error:7"));
    }
    EXPECT_TRUE(clipboard.log.empty());
    EXPECT_TRUE(window().Label1->text().isEmpty());
}

TEST_F(MainWindow, OpenAndEditHandTheImageFileToTheDesktop) {
    fMain& w = loaded();
    const QString path = w.m_ImagePath;
    w.cmdOpenImage->click();
    w.cmdEditImage->click();
    EXPECT_EQ(shell.calls,
              (QStringList{QStringLiteral("open ") + path, QStringLiteral("edit ") + path}));
    EXPECT_EQ(shell.workingFolders, (QStringList{w.m_ImageFolder, w.m_ImageFolder}));
    EXPECT_EQ(w.m_ImagePath, path);
}
