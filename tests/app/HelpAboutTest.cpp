// The help command, the help document beside the program, and the About box.
#include "app/Help.h"
#include "app/fAbout.h"
#include "app/fMain.h"
#include "fakes/FakeServices.h"
#include "scrollview/PictureBox.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace pellix {
namespace {

QList<fAbout*> openAboutBoxes() {
    QList<fAbout*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<fAbout*>(w); box && box->isVisible()) {
            boxes << box;
        }
    }
    return boxes;
}

class HelpAbout : public ::testing::Test, protected FakeServices {
protected:
    void SetUp() override {
        window = std::make_unique<fMain>(services());
        window->Form_Load();
        window->show();
    }
    void TearDown() override {
        for (fAbout* box : openAboutBoxes()) {
            box->close();
        }
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::unique_ptr<fMain> window;
};

TEST(HelpFilePath, Should_BeInTheDataFolderBesideTheProgramFolder) {
    EXPECT_EQ(HelpFilePath(QStringLiteral("/opt/pellix/bin")),
              QStringLiteral("/opt/pellix/share/pellix/Pellix_Help.pdf"));
    EXPECT_EQ(HelpFilePath(QStringLiteral("/usr/bin/")),
              QStringLiteral("/usr/share/pellix/Pellix_Help.pdf"));
}

TEST_F(HelpAbout, Help_Should_OpenTheDocumentOfTheProgramsPrefix) {
    folders.program = QStringLiteral("/usr/local/bin");
    window->cmdHelp->click();
    EXPECT_EQ(shell.calls,
              QStringList{QStringLiteral("open /usr/local/share/pellix/Pellix_Help.pdf")});
    EXPECT_EQ(shell.workingFolders, QStringList{window->m_ImageFolder});
}

// The build renders the help document where the built program looks for it.
TEST(HelpDocument, Should_BeARealPdfInTheBuildTreesDataFolder) {
    const QByteArray buildDir = qgetenv("PELLIX_BUILD_DIR");
    ASSERT_FALSE(buildDir.isEmpty());
    QFile pdf(HelpFilePath(QString::fromLocal8Bit(buildDir) + QStringLiteral("/bin")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << pdf.fileName().toStdString();
    const QByteArray content = pdf.readAll();
    EXPECT_TRUE(content.startsWith("%PDF-"));
    EXPECT_GE(content.count("/Type /Page\n"), 2) << "the whole guide, not a stub page";
}

TEST_F(HelpAbout, AboutBox_Should_ShowProductVersionAndMailLink) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->frameGeometry().size() != window->size(); }));
    window->cmdAbout->click();
    ASSERT_EQ(openAboutBoxes().size(), 1);
    fAbout* box = openAboutBoxes().first();
    EXPECT_EQ(box->windowTitle(), QStringLiteral("About Pellix"));
    EXPECT_EQ(box->size(), QSize(437, 187));
    EXPECT_EQ(box->minimumSize(), box->maximumSize()) << "fixed border";
    EXPECT_EQ(box->lblVersion->text(),
              QStringLiteral("Pellix (Picture Text Extractor) Version 1.3"));
    EXPECT_GT(box->lblVersion->width(), 48) << "sizes itself to its text";
    EXPECT_EQ(box->cmdOK->geometry(), QRect(320, 136, 88, 33));
    EXPECT_EQ(box->Label0->text().count(QStringLiteral("<br>")), 2) << "three lines";
    EXPECT_LE(box->Label0->sizeHint().height(), 57) << "all three fit the label";
    EXPECT_EQ(box->lblMailTo->text(),
              QStringLiteral("The Pellix maintainers (%1)").arg(box->mailToTag()));

    QTest::mouseClick(box->lblMailTo, Qt::LeftButton);
    EXPECT_EQ(shell.calls, QStringList{QStringLiteral("address mailto:pellix@example.org")});

    // Centred on its owner by the frames the window manager gave both.
    const auto offCentre = [&] {
        return (box->frameGeometry().center() - window->frameGeometry().center()).manhattanLength();
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return box->frameGeometry().size() != box->size(); }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return offCentre() <= 1; })) << offCentre();
}

TEST(AppVersion, Should_BeMajorDotMinorInPlainDecimal) {
    EXPECT_EQ(fAbout::AppVersion(), QStringLiteral("1.3"));
    EXPECT_EQ(FormatVersion(1, 10), QStringLiteral("1.10"));
}

TEST_F(HelpAbout, SecondClick_Should_ShowTheSameBox_AndOKShouldUnloadIt) {
    window->cmdAbout->click();
    ASSERT_EQ(openAboutBoxes().size(), 1);
    QPointer<fAbout> first = openAboutBoxes().first();
    window->cmdAbout->click();
    EXPECT_EQ(openAboutBoxes(), QList<fAbout*>{first.data()});

    first->cmdOK->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull()) << "closed means unloaded";
    window->cmdAbout->click();
    ASSERT_EQ(openAboutBoxes().size(), 1);
    EXPECT_NE(openAboutBoxes().first(), first.data());
}

// Run last: it needs the event loop and leaves no window open.
TEST_F(HelpAbout, ZZ_Program_Should_RunUntilTheAboutBoxClosesToo) {
    bool aboutClosed = false;
    bool mainClosed = false;
    QTimer::singleShot(0, [&] {
        window->cmdAbout->click();
        window->close();
        mainClosed = true;
        QTimer::singleShot(300, [&] {
            aboutClosed = true;
            openAboutBoxes().first()->close();
        });
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QApplication::exit(99); });
    guard.start(10000);
    const int code = QApplication::exec();
    EXPECT_EQ(code, 0) << "the program ended on its own";
    EXPECT_TRUE(mainClosed);
    EXPECT_TRUE(aboutClosed) << "the program must not end while the About box is open";
    EXPECT_TRUE(openAboutBoxes().isEmpty());
}

} // namespace
} // namespace pellix
