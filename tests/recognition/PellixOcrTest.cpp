// pellix-ocr as scripts run it: exit statuses, standard output and the one-line
// messages on standard error.
#include "recognition/ScreenText.h"
#include "recognition/TestSupport.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

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
            const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
            const std::function<void(QProcess&)>& prepare = {}) {
    QProcess process;
    process.setProcessEnvironment(environment);
    if (prepare) {
        prepare(process);
    }
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
    Outcome ocr(const QStringList& arguments, const std::function<void(QProcess&)>& prepare = {}) {
        return run(program, arguments, QProcessEnvironment::systemEnvironment(), prepare);
    }
    QString writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    QTemporaryDir folder;
    QString program = buildFolder() + "/bin/pellix-ocr";
    QString startup;
};

TEST_F(PellixOcr, PrintsTheTextOfEachFileInOrderAfterALineNamingIt) {
    const QString other = folder.filePath("other.png");
    ASSERT_TRUE(testing::textPicture("Second file").save(other));
    Outcome outcome = ocr({"--lang", "English", startup});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(testing::folded(outcome.out), testing::startupPictureText());

    outcome = ocr({"--lang", "English", startup, other});
    EXPECT_EQ(outcome.status, 0);
    const QStringList parts = outcome.out.split("\n\n==> " + other + " <==\n");
    ASSERT_EQ(parts.size(), 2) << outcome.out.toStdString();
    EXPECT_TRUE(parts[0].startsWith("==> " + startup + " <==\n"));
    EXPECT_EQ(testing::folded(parts[0].section('\n', 1)), testing::startupPictureText());
    EXPECT_EQ(testing::folded(parts[1]), "Second file");
    // Progress goes to a terminal only.
    EXPECT_EQ(outcome.err, "");

    // After --, names that begin with a dash are files.
    const QString dashed = folder.filePath("-x.png");
    ASSERT_TRUE(QFile::copy(other, dashed));
    outcome = run(program, {"--", "-x.png"}, QProcessEnvironment::systemEnvironment(),
                  [this](QProcess& process) { process.setWorkingDirectory(folder.path()); });
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(testing::folded(outcome.out), "Second file");
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

    outcome = ocr({folder.path()});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "pellix-ocr: The image file " + folder.path() +
                               " is a folder, not a regular file.\n");

    // Names cannot paint the terminal or forge lines.
    outcome = ocr({"\x1b[2Jgone\nforged.png"});
    EXPECT_EQ(outcome.err,
              "pellix-ocr: The image file \\x1b[2Jgone\\x0aforged.png does not exist.\n");

    outcome = ocr({text.fileName()});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "pellix-ocr: " + text.fileName() +
                               " is not an image file that Tesseract can read.\n");

    // The good file is still read when a bad one comes first.
    outcome = ocr({missing, startup});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(testing::folded(outcome.out.section('\n', 1)), testing::startupPictureText());
    EXPECT_EQ(outcome.err.count('\n'), 1);

    // The decoders' own complaints ("libpng error: ...") stay off standard error.
    QFile png(startup.chopped(3) + "png");
    ASSERT_TRUE(testing::startupPicture().save(png.fileName()));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    const QString truncated = writeFile("truncated.png", png.read(png.size() / 2));
    outcome = ocr({truncated});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err,
              "pellix-ocr: " + truncated + " is not an image file that Tesseract can read.\n");
}

TEST_F(PellixOcr, ReadsANameThatIsNotUtf8) {
    ASSERT_TRUE(testing::textPicture("Latin one").save(folder.filePath("latin.png")));
    // The shell passes the byte \351 on as it is.
    const Outcome outcome =
        run("/bin/sh",
            {"-c",
             "cp latin.png \"$(printf 'caf\\351.png')\" && "
             "exec \"$0\" \"$(printf 'caf\\351.png')\"",
             program},
            QProcessEnvironment::systemEnvironment(),
            [this](QProcess& process) { process.setWorkingDirectory(folder.path()); });
    EXPECT_EQ(outcome.status, 0) << outcome.err.toStdString();
    EXPECT_EQ(testing::folded(outcome.out), "Latin one");
    QFile::remove(folder.filePath("latin.png"));
    ::unlink(QFile::encodeName(folder.path() + "/caf") + "\351.png");
}

TEST_F(PellixOcr, APageOverTheLimitGivesStatusFourBeforeItIsDecoded) {
    QFile png(folder.filePath("small.png"));
    ASSERT_TRUE(testing::textPicture("small").save(png.fileName()));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    QByteArray bytes = png.readAll();
    qToBigEndian<quint32>(20000, bytes.data() + 16);
    qToBigEndian<quint32>(20000, bytes.data() + 20);
    const QString bomb = writeFile("bomb.png", bytes);
    const Outcome outcome = ocr({bomb, startup});
    EXPECT_EQ(outcome.status, 4);
    EXPECT_EQ(outcome.err, "pellix-ocr: The image file " + bomb +
                               " is too large: 20000 x 20000 pixels; pages of more than 100 "
                               "million pixels are not read.\n");
    EXPECT_TRUE(outcome.out.startsWith("==> " + startup + " <==\n"));
}

TEST_F(PellixOcr, LostOutputGivesStatusFiveAndOneLine) {
    Outcome outcome =
        ocr({startup}, [](QProcess& process) { process.setStandardOutputFile("/dev/full"); });
    EXPECT_EQ(outcome.status, 5);
    EXPECT_EQ(outcome.err,
              "pellix-ocr: cannot write to standard output: " + qt_error_string(ENOSPC) + "\n");

    for (const QStringList& arguments : {QStringList{startup}, QStringList{"--version"}}) {
        outcome = ocr(arguments, [](QProcess& process) {
            process.setChildProcessModifier([] { ::close(STDOUT_FILENO); });
        });
        EXPECT_EQ(outcome.status, 5);
        EXPECT_EQ(outcome.err,
                  "pellix-ocr: cannot write to standard output: " + qt_error_string(EBADF) + "\n");
    }
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
    EXPECT_EQ(outcome.err, "pellix-ocr: The image file " + locked +
                               " cannot be read: " + qt_error_string(EACCES) + ".\n");
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

    outcome = ocr({"--lang", "+9", startup});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, "pellix-ocr: unknown language '+9'\n");

    outcome = ocr({"--fast", startup});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, "pellix-ocr: unknown option '--fast'\n");

    outcome = ocr({"-x.png"});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, "pellix-ocr: unknown option '-x.png'\n");

    outcome = ocr({});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, "usage: pellix-ocr [--lang NAME|ID] [--deskew] FILE...\n");
}

TEST_F(PellixOcr, HelpAndVersionGoToStandardOutput) {
    Outcome outcome = ocr({"--version"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "pellix-ocr " PELLIX_VERSION_STRING "\n");

    outcome = ocr({"--help"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_TRUE(outcome.out.startsWith("usage: pellix-ocr [--lang NAME|ID] [--deskew] FILE...\n"));
    EXPECT_TRUE(outcome.out.contains("5 standard output cannot take the text."));
    EXPECT_EQ(outcome.err, "");
}

TEST_F(PellixOcr, UnusableLanguageDataGivesStatusThreeAndOneLine) {
    QTemporaryDir data;
    ASSERT_TRUE(QFile::link("/usr/share/tesseract-ocr/5/tessdata/eng.traineddata",
                            data.filePath("eng.traineddata")));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TESSDATA_PREFIX", data.path());
    // A folder of the user's own is not filled by apt.
    Outcome outcome = run(program, {"--lang", "Chinese_simplified", startup, startup}, environment);
    EXPECT_EQ(outcome.status, 3);
    EXPECT_EQ(outcome.err,
              "pellix-ocr: The Tesseract language data " + data.filePath("chi_sim.traineddata") +
                  " is missing (TESSDATA_PREFIX names the folder " + data.path() + ").\n");

    // Tesseract's own lines about data it cannot load stay off standard error.
    QFile garbage(data.filePath("deu.traineddata"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(1000, 'x'));
    garbage.close();
    outcome = run(program, {"--lang", "German", startup}, environment);
    EXPECT_EQ(outcome.status, 3);
    EXPECT_EQ(outcome.err, "pellix-ocr: Tesseract could not load its language data " +
                               garbage.fileName() + ".\n");

    // Data larger than any language's is not read at all (Tesseract would
    // read all 8 GB of it first).
    ASSERT_TRUE(garbage.resize(8LL << 30));
    outcome = run(program, {"--lang", "German", startup}, environment);
    EXPECT_EQ(outcome.status, 3);
    EXPECT_EQ(outcome.err, "pellix-ocr: The Tesseract language data " + garbage.fileName() +
                               " is 8590 MB, more than language data ever is (200 MB at "
                               "most); it is not loaded.\n");
}

TEST_F(PellixOcr, KeepsItsNameAfterRestartingForTheThreadLimit) {
    QByteArray path = QFile::encodeName(program);
    char version[] = "--version";
    char* arguments[] = {path.data(), version, nullptr};
    std::vector<char*> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (!QByteArray(*variable).startsWith("OMP_THREAD_LIMIT=")) {
            environment.push_back(*variable);
        }
    }
    environment.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, path.constData(), &actions, nullptr, arguments, environment.data()),
              0);
    posix_spawn_file_actions_destroy(&actions);
    // Ended but not yet reaped, the process still shows its name: the one
    // it had after the restart, which comes first thing.
    siginfo_t info{};
    ASSERT_EQ(waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT), 0);
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    ASSERT_TRUE(comm.open(QIODevice::ReadOnly));
    EXPECT_EQ(comm.readAll(), "pellix-ocr\n");
    waitpid(pid, nullptr, 0);
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
