// pellix-ocr as scripts run it: exit statuses, standard output and the one-line
// messages on standard error.
#include "recognition/ScreenText.h"
#include "recognition/TestSupport.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace pellix {
namespace {

struct Outcome {
    int status;
    QString out;
    QString err;
};

QString buildFolder() {
    return qEnvironmentVariable("PELLIX_BUILD_DIR");
}

Outcome run(const QString& program, const QStringList& arguments,
            const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

class PellixOcr : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_FALSE(buildFolder().isEmpty());
        startup = folder.filePath("startup.jpg");
        ASSERT_TRUE(testing::startupPicture().save(startup));
    }
    Outcome ocr(const QStringList& arguments) { return run(program, arguments); }

    QTemporaryDir folder;
    QString program = buildFolder() + "/bin/pellix-ocr";
    QString startup;
};

TEST_F(PellixOcr, PrintsTheTextOfEachFileInOrderAndNothingElse) {
    const QString other = folder.filePath("other.png");
    ASSERT_TRUE(testing::textPicture("Second file").save(other));
    const Outcome outcome = ocr({"--lang", "English", startup, other});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(testing::folded(outcome.out), testing::startupPictureText() + " Second file");
    // Progress goes to a terminal only.
    EXPECT_EQ(outcome.err, "");
}

TEST_F(PellixOcr, BadFilesGiveOneLineEachAndStatusOne) {
    const QString missing = folder.filePath("missing.png");
    QFile text(folder.filePath("words.png"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("no picture here");
    text.close();

    Outcome outcome = ocr({missing});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "pellix-ocr: The image file " + missing + " does not exist.\n");

    outcome = ocr({text.fileName()});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "pellix-ocr: " + text.fileName() +
                               " is not an image file that Tesseract can read.\n");

    // The good file is still read when a bad one comes first.
    outcome = ocr({missing, startup});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(testing::folded(outcome.out), testing::startupPictureText());
    EXPECT_EQ(outcome.err.count('\n'), 1);
}

TEST_F(PellixOcr, AnUnreadableFileGivesStatusOne) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root reads every file";
    }
    const QString locked = folder.filePath("locked.jpg");
    ASSERT_TRUE(QFile::copy(startup, locked));
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    const Outcome outcome = ocr({locked});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "pellix-ocr: The image file " + locked + " cannot be read.\n");
}

TEST_F(PellixOcr, UsageErrorsGiveStatusTwo) {
    Outcome outcome = ocr({"--lang", "Klingon", startup});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, "pellix-ocr: unknown language 'Klingon'\n");
    EXPECT_EQ(outcome.out, "");

    outcome = ocr({"--lang=3", startup});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, "pellix-ocr: unknown language '3'\n");

    outcome = ocr({"--lang"});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, "pellix-ocr: --lang needs a language\n");

    outcome = ocr({"--fast", startup});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, "pellix-ocr: unknown option '--fast'\n");

    outcome = ocr({});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, "usage: pellix-ocr [--lang NAME|ID] [--deskew] FILE...\n");
}

TEST_F(PellixOcr, MissingLanguageDataGivesStatusThreeAndNamesThePackage) {
    QTemporaryDir data;
    ASSERT_TRUE(QFile::link("/usr/share/tesseract-ocr/5/tessdata/eng.traineddata",
                            data.filePath("eng.traineddata")));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TESSDATA_PREFIX", data.path());
    const Outcome outcome =
        run(program, {"--lang", "Chinese_simplified", startup, startup}, environment);
    EXPECT_EQ(outcome.status, 3);
    EXPECT_EQ(outcome.err, "pellix-ocr: The Tesseract language data " +
                               data.filePath("chi_sim.traineddata") +
                               " is missing. Install the package tesseract-ocr-chi-sim (apt "
                               "install tesseract-ocr-chi-sim).\n");
}

TEST(PellixPrograms, NeitherProgramLinksTesseract) {
    for (const QString& name : {QString("/bin/pellix"), QString("/bin/pellix-ocr")}) {
        const Outcome outcome = run("ldd", {buildFolder() + name});
        ASSERT_EQ(outcome.status, 0) << name.toStdString();
        EXPECT_FALSE(outcome.out.contains("libtesseract")) << name.toStdString();
        EXPECT_FALSE(outcome.out.contains("liblept")) << name.toStdString();
    }
}

} // namespace
} // namespace pellix

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
