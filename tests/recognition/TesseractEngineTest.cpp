// The Tesseract engine module, loaded the way the programs load it.
#include "platform/tesseract/ModuleRecognitionEngine.h"
#include "recognition/Recognizer.h"
#include "recognition/ScreenText.h"
#include "recognition/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <algorithm>

#include <dlfcn.h>

namespace pellix {
namespace {

using testing::folded;

class Monitor : public RecognitionEvents {
public:
    std::vector<int> percents;
    int cancelAfter = -1; // cancel once this many progress reports came

    void documentCreated() override {}
    void ocrDone() override {}
    void progress(int percent) override { percents.push_back(percent); }
    bool cancelled() const override {
        return cancelAfter >= 0 && static_cast<int>(percents.size()) >= cancelAfter;
    }
};

class TesseractEngine : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    QString save(const QImage& image, const QString& name) {
        const QString path = folder.filePath(name);
        EXPECT_TRUE(image.save(path));
        return path;
    }
    RecognitionResult recognize(const QString& path, std::int32_t language = 9,
                                bool deskew = false) {
        return recognizeImageFile(engine, {path, language, deskew, false}, monitor);
    }

    // The build tree's program folder, where the programs find the module.
    static QString programFolder() { return QStringLiteral(PELLIX_BUILD_BINDIR); }

    QTemporaryDir folder;
    ModuleRecognitionEngine engine{programFolder()};
    Monitor monitor;
};

TEST_F(TesseractEngine, ReadsTheStartupPictureWordForWord) {
    const RecognitionResult result = recognize(save(testing::startupPicture(), "startup.jpg"));
    EXPECT_FALSE(result.error);
    EXPECT_EQ(folded(result.text), testing::startupPictureText());
}

TEST_F(TesseractEngine, StraightensATiltedPageWhenAsked) {
    const QString path = save(testing::rotated(testing::startupPicture(), 6), "tilted.png");
    EXPECT_EQ(folded(recognize(path, 9, true).text), testing::startupPictureText());
    // Without the straightening the same page loses characters.
    EXPECT_NE(folded(recognize(path, 9, false).text), testing::startupPictureText());
}

// A small dialog in a dark theme: lines of text with buttons apart from them.
QImage dialogPicture(const QStringList& lines) {
    QWidget dialog;
    dialog.setStyleSheet("* { background: #2b2b2b; color: #e0e0e0; font-family: 'DejaVu Sans'; "
                         "font-size: 13px; } QPushButton { border: 1px solid #e0e0e0; "
                         "padding: 4px 16px; }");
    auto* layout = new QVBoxLayout(&dialog);
    for (const QString& line : lines) {
        if (line.count(' ') < 2) {
            auto* button = new QPushButton(line);
            button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
            layout->addWidget(button);
        } else {
            layout->addWidget(new QLabel(line));
        }
    }
    dialog.adjustSize();
    return dialog.grab().toImage();
}

TEST_F(TesseractEngine, ReadsEveryBlockOfAScreenNotJustTheFirst) {
    const QStringList lines = {"File Edit View Insert Format Tools Help",
                               "Save changes to the document before closing?", "Don't Save",
                               "Cancel", "Connected to server 192.168.1.20 (latency 34 ms)"};
    const RecognitionResult result = recognize(save(dialogPicture(lines), "dialog.png"));
    EXPECT_EQ(folded(result.text), lines.join(' '));
}

TEST_F(TesseractEngine, ReadsEveryButtonOfAToolbar) {
    // Framed buttons in a row: the recognizer takes a framed word for part
    // of a picture.
    QWidget bar;
    bar.setStyleSheet("* { background: #e8e8e8; color: #202020; font-family: 'DejaVu Sans'; "
                      "font-size: 10px; } QPushButton { border: 1px solid #707070; "
                      "border-radius: 4px; padding: 3px 10px; }");
    auto* layout = new QHBoxLayout(&bar);
    const QStringList labels = {"Portability", "Reeducated", "Flooded", "Highbrow", "Prevue"};
    for (const QString& label : labels) {
        layout->addWidget(new QPushButton(label));
    }
    bar.adjustSize();
    const RecognitionResult result = recognize(save(bar.grab().toImage(), "toolbar.png"));
    EXPECT_EQ(folded(result.text), labels.join(' ')) << result.text.toStdString();
}

// A terminal in a dark theme listing files in columns, in small type.
QImage terminalPicture(const QStringList& rows) {
    QImage image(560, 24 + 16 * static_cast<int>(rows.size()), QImage::Format_RGB32);
    image.fill(QColor(0x1e, 0x1e, 0x1e));
    QPainter painter(&image);
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(QColor(0xd4, 0xd4, 0xd4));
    for (int i = 0; i < rows.size(); ++i) {
        painter.drawText(8, 20 + 16 * i, rows[i]);
    }
    return image;
}

TEST_F(TesseractEngine, ReadsTheColumnsOfASmallDarkTerminalRowByRow) {
    const QStringList rows = {
        "-rwxr-xr-x 1 root root    68496 Sep 20 2022 arch",
        "-rwxr-xr-x 1 root root  1265648 Jan 11 2023 bash",
        "-rwxr-xr-x 1 root root    39224 Sep 20 2022 cat",
        "-rwxr-xr-x 1 root root   122224 Jan 11 2023 diff",
        "-rwxr-xr-x 1 root root    94136 Sep 20 2022 echo",
        "-rwxr-xr-x 1 root root   203152 Jan 11 2023 grep",
        "-rwxr-xr-x 1 root root   151344 Sep 20 2022 ls",
    };
    const RecognitionResult result = recognize(save(terminalPicture(rows), "terminal.png"));
    // Size and name of each row, row after row; read column by column, all
    // sizes would come before the first name.
    QStringList order;
    for (const QString& row : rows) {
        const QStringList fields = row.simplified().split(' ');
        order << fields[4] << fields.last();
    }
    EXPECT_TRUE(folded(result.text)
                    .contains(QRegularExpression(QStringLiteral("\\b") +
                                                 order.join(QStringLiteral("\\b.*\\b")))))
        << result.text.toStdString();
}

// Texts in DejaVu Sans drawn on a white page, each at its place (the left
// end of its baseline).
struct PlacedText {
    QPoint at;
    QString text;
};
QImage lightPage(QSize size, int pixelSize, const std::vector<PlacedText>& texts,
                 const QColor& ink = Qt::black, bool underline = false,
                 const QString& family = QStringLiteral("DejaVu Sans")) {
    QImage page(size, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setUnderline(underline);
    painter.setFont(font);
    painter.setPen(ink);
    for (const PlacedText& text : texts) {
        painter.drawText(text.at, text.text);
    }
    return page;
}

TEST_F(TesseractEngine, UnderscoresOfCodeComeBackButUnderlinedWordsStaySpaced) {
    const QStringList code = {
        "const char *__old = (s);",
        "size_t __len = strlen (__old) + 1;",
        "char *__new = (char *) __builtin_alloca (__len);",
        "(char *) memcpy (__new, __old, __len);",
    };
    QImage screen = terminalPicture(code);
    const RecognitionResult read = recognize(save(screen, "code.png"));
    EXPECT_EQ(folded(read.text), folded(code.join(' '))) << read.text.toStdString();

    // A link underlined across its words, on a light page.
    const QImage page =
        lightPage({560, 60}, 13, {{{10, 30}, QStringLiteral("see the manual page for details")}},
                  QColor(0x1a, 0x0d, 0xab), true);
    const RecognitionResult link = recognize(save(page, "link.png"));
    EXPECT_FALSE(link.text.contains('_')) << link.text.toStdString();
}

TEST_F(TesseractEngine, AnEllipsisInOneCellOfATerminalIsOneCharacter) {
    const QStringList rows = {
        QStringLiteral(u"tar -c [-f ARCHIVE] [OPTIONS] [FILE \u2026]"),
        QStringLiteral(u"tar -x [-f ARCHIVE] [MEMBER \u2026]"),
        QStringLiteral("cd .. && ls ../lib"),
    };
    const RecognitionResult result = recognize(save(terminalPicture(rows), "synopsis.png"));
    EXPECT_EQ(folded(result.text), folded(rows.join(' '))) << result.text.toStdString();
}

TEST_F(TesseractEngine, ARowOfEqualsSignsUnderAListingsHeaderKeepsItsLength) {
    QStringList rows = {
        "||/ Name           Version      Architecture Description",
        "+++-==============-============-============-====================",
    };
    for (const char* name : {"adduser", "apt", "base-files", "bash", "coreutils", "dpkg", "grep",
                             "gzip", "hostname", "login", "mount", "passwd", "sed", "tar"}) {
        rows << QStringLiteral("ii  %1 1.2.3-4       amd64        package %1")
                    .arg(QLatin1String(name), -14);
    }
    const RecognitionResult result = recognize(save(terminalPicture(rows), "dpkg.png"));
    // The rule between them is the recognizer's to read; the runs are ours.
    QStringList runs;
    for (const auto& match : QRegularExpression("=+").globalMatch(result.text)) {
        runs << QString::number(match.capturedLength());
    }
    EXPECT_EQ(runs.join(' '), "14 12 12 20") << result.text.toStdString();
}

TEST_F(TesseractEngine, TheLinksOfALongListingStartWithASmallL) {
    const QStringList rows = {
        "lrwxrwxrwx 1 root root    7 Jan 10 12:00 bin -> usr/bin",
        "-rw-r--r-- 1 root root 1024 Jan 10 12:00 LICENSE",
        "lrwxrwxrwx 1 root root    7 Jan 10 12:00 lib -> usr/lib",
        "-rw-r--r-- 1 root root 2048 Jan 10 12:00 Library.txt",
        "lrwxrwxrwx 1 root root    8 Jan 10 12:00 sbin -> usr/sbin",
    };
    const RecognitionResult result = recognize(save(terminalPicture(rows), "links.png"));
    EXPECT_EQ(folded(result.text), folded(rows.join(' '))) << result.text.toStdString();
}

TEST_F(TesseractEngine, ARowOfHyphensInAProportionalFontKeepsItsLength) {
    // A plain-text heading underlined with hyphens, as licences and notes have.
    const QStringList lines = {
        "2. License Grants and Conditions " + QString(40, '-'),
        "Each Contributor hereby grants You a world-wide, royalty-free licence.",
    };
    const QImage page = lightPage({640, 80}, 10, {{{10, 30}, lines[0]}, {{10, 50}, lines[1]}});
    const RecognitionResult result = recognize(save(page, "heading.png"));
    EXPECT_EQ(folded(result.text), folded(lines.join(' '))) << result.text.toStdString();
}

// Russian lines with the names of commands, options and variables.
std::vector<PlacedText> russianWithEnglishNames() {
    return {
        {{10, 20}, QStringLiteral(u"Просмотреть результат можно в xdvi или smail.")},
        {{10, 40}, QStringLiteral(u"По умолчанию используется troff, а printf нет.")},
        {{10, 60}, QStringLiteral(u"Задайте параметр -a или переменную $HOME заранее.")},
        {{10, 80}, QStringLiteral(u"Команда man -k ищет в $MANPATH и cron не нужен.")},
    };
}

TEST_F(TesseractEngine, EnglishNamesOnARussianPageComeOutInEnglishLetters) {
    const std::vector<PlacedText> lines = russianWithEnglishNames();
    const RecognitionResult result =
        recognize(save(lightPage({520, 100}, 12, lines), "russian.png"), 25);
    // Read by the Russian model alone: "рИпН", "-а" and "$НОМЕ".
    for (const QString& word : {QStringLiteral("printf"), QStringLiteral("-a "),
                                QStringLiteral("$HOME "), QStringLiteral(u"заранее")}) {
        EXPECT_TRUE(result.text.contains(word)) << result.text.toStdString();
    }
}

TEST_F(TesseractEngine, CodeOnARussianPageComesOutInEnglishLetters) {
    std::vector<PlacedText> lines = russianWithEnglishNames();
    lines.push_back(
        {{10, 100}, QStringLiteral(u"Задайте LOCPATH=$HOME/.locale или /usr/lib/locale.")});
    const QImage page = lightPage({520, 120}, 12, lines, Qt::black, false, "Noto Sans");
    const RecognitionResult result = recognize(save(page, "code.png"), 25);
    // Read by the Russian model alone: "(ОСРАТН=$HOME/".
    EXPECT_TRUE(result.text.contains(QStringLiteral("LOCPATH=$HOME/")))
        << result.text.toStdString();
}

TEST_F(TesseractEngine, TheValuesOfOptionsOnARussianPageStayRussian) {
    const std::vector<PlacedText> lines = {
        {{10, 20}, QStringLiteral(u"--block-size=РАЗМЕР масштабировать размеры")},
        {{10, 40}, QStringLiteral(u"--hide=ШАБЛОН не выводить подходящие записи")},
        {{10, 60}, QStringLiteral(u"--format=СЛОВО across -x, commas -m, long -l")},
        {{10, 80}, QStringLiteral(u"--sort=none и --color=auto остаются как есть")},
    };
    const QImage page = lightPage({520, 100}, 13, lines);
    const RecognitionResult result = recognize(save(page, "values.png"), 25);
    for (const QString& value :
         {QStringLiteral(u"=РАЗМЕР"), QStringLiteral(u"=ШАБЛОН"), QStringLiteral(u"=СЛОВО"),
          QStringLiteral("=none"), QStringLiteral("=auto")}) {
        EXPECT_TRUE(result.text.contains(value)) << result.text.toStdString();
    }
}

TEST_F(TesseractEngine, ALargeScreenIsReadPartByPartInReadingOrder) {
    // Over two million pixels with two columns far apart: two parts, one per
    // worker, whose lines share rows but must not be read across.
    std::vector<PlacedText> texts;
    for (int line = 0; line < 30; ++line) {
        texts.push_back({{40, 60 + 36 * line}, QStringLiteral("Left column line %1").arg(line)});
        texts.push_back({{1200, 60 + 36 * line}, QStringLiteral("Right column line %1").arg(line)});
    }
    const QImage screen = lightPage({2000, 1200}, 24, texts);
    const RecognitionResult result = recognize(save(screen, "large.png"));
    ASSERT_FALSE(result.error);
    EXPECT_EQ(result.text.count(QStringLiteral("Left column")), 30);
    EXPECT_EQ(result.text.count(QStringLiteral("Right column")), 30);
    EXPECT_LT(result.text.lastIndexOf(QStringLiteral("Left")), result.text.indexOf("Right"));
    EXPECT_TRUE(std::is_sorted(monitor.percents.begin(), monitor.percents.end()));
}

TEST_F(TesseractEngine, ProgressClimbsToAHundredAndCancelStopsTheRun) {
    const QString path = save(testing::startupPicture(), "startup.png");
    recognize(path);
    ASSERT_GE(monitor.percents.size(), 5u);
    // Each report moves on; none repeats.
    EXPECT_EQ(std::adjacent_find(monitor.percents.begin(), monitor.percents.end(),
                                 std::greater_equal<>()),
              monitor.percents.end());
    EXPECT_EQ(monitor.percents.back(), 100);

    monitor.percents.clear();
    monitor.cancelAfter = 2;
    const RecognitionResult result = recognize(path);
    EXPECT_TRUE(result.cancelled());
    EXPECT_TRUE(result.text.isEmpty());
    EXPECT_LT(monitor.percents.back(), 100);
}

TEST_F(TesseractEngine, JoinsTheTextOfAllPagesOfATiff) {
    const QString first = save(testing::textPicture("First page"), "first.png");
    const QString second = save(testing::textPicture("Second page"), "second.png");
    const QString tiff = folder.filePath("two.tif");
    ASSERT_EQ(QProcess::execute("convert", {first, second, tiff}), 0);

    std::unique_ptr<RecognitionDocument> document = engine.createDocument(QFile::encodeName(tiff));
    ASSERT_EQ(document->pageCount(), 2);
    document->OCR(9, false, false, monitor);
    EXPECT_EQ(folded(document->pageText(0)), "First page");
    EXPECT_EQ(folded(document->pageText(1)), "Second page");
    EXPECT_EQ(recognize(tiff).text, document->pageText(0) + document->pageText(1));
}

TEST(TesseractModule, AMissingModuleIsReportedAsAnInstallationProblem) {
    ModuleRecognitionEngine engine(QStringLiteral("/nonexistent/bin"));
    try {
        engine.createDocument("/tmp/x.jpg");
        FAIL() << "the module was found";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), RecognitionErrors::EngineUnavailable);
        EXPECT_TRUE(error.description().contains("libpellix_tesseract.so"));
        EXPECT_TRUE(error.description().contains("/nonexistent/lib/pellix"));
    }
}

TEST(TesseractModule, TheOpenMpRuntimeRunsWithOneThread) {
    // Qt Core has loaded the runtime already; what counts is what it read.
    using ThreadLimit = int (*)();
    auto limit = reinterpret_cast<ThreadLimit>(dlsym(RTLD_DEFAULT, "omp_get_thread_limit"));
    ASSERT_NE(limit, nullptr);
    EXPECT_EQ(limit(), 1);
}

TEST(TesseractModule, ProgramsStartedLaterGetTheUsersOwnThreadLimitBack) {
    const QByteArray users = qgetenv("PELLIX_TEST_USERS_OMP_THREAD_LIMIT");
    if (users.isEmpty()) {
        GTEST_SKIP() << "run through ctest, which starts the test with a limit of its own";
    }
    EXPECT_EQ(qgetenv("OMP_THREAD_LIMIT"), users);
    EXPECT_FALSE(qEnvironmentVariableIsSet("PELLIX_USER_OMP_THREAD_LIMIT"));
    EXPECT_FALSE(qEnvironmentVariableIsSet("PELLIX_ENGINE_THREADS_LIMITED"));
}

} // namespace
} // namespace pellix

int main(int argc, char* argv[]) {
    pellix::limitEngineThreads(argv);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
