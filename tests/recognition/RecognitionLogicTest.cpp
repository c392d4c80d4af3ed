#include "fakes/FakeRecognitionEngine.h"
#include "fakes/FakeRecognitionEvents.h"
#include "platform/LanguageTable.h"
#include "platform/tesseract/TesseractLanguages.h"
#include "recognition/OcrCommand.h"
#include "recognition/Recognizer.h"
#include "recognition/ResultPlacement.h"
#include "recognition/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <sys/stat.h>

namespace pellix {
namespace {

bool everyLanguage(const QString&) {
    return true;
}

TEST(TesseractLanguages, EveryRowOfTheTableMapsToItsTesseractData) {
    const std::map<QString, QString> expected = {
        {"English", "eng"},
        {"Korean", "kor"},
        {"French", "fra"},
        {"Spanish", "spa"},
        {"Japanese", "jpn"},
        {"German", "deu"},
        {"Russian", "rus"},
        {"Chinese_simplified", "chi_sim"},
        {"Chinese_traditional", "chi_tra"},
        {"Czech", "ces"},
        {"Danish", "dan"},
        {"Dutch", "nld"},
        {"Finnish", "fin"},
        {"Greek", "ell"},
        {"Hungarian", "hun"},
        {"Italian", "ita"},
        {"Norwegian", "nor"},
        {"Polish", "pol"},
        {"Portuguese", "por"},
        {"Swedish", "swe"},
        {"Turkish", "tur"},
    };
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    for (const LanguageRow& row : LanguageTable) {
        if (row.id == SystemDefaultLanguageId) {
            continue;
        }
        EXPECT_EQ(tesseractLanguageCode(row.id, english, everyLanguage),
                  expected.at(QString::fromLatin1(row.name)))
            << row.name;
    }
    EXPECT_TRUE(tesseractLanguageCode(3, english, everyLanguage).isEmpty());
    EXPECT_TRUE(tesseractLanguageCode(0, english, everyLanguage).isEmpty());
}

TEST(TesseractLanguages, SysdefaultTakesTheLocaleLanguageElseEnglish) {
    const auto sysdefault = [](const QString& localeName, const LanguageDataCheck& hasData) {
        return tesseractLanguageCode(SystemDefaultLanguageId, QLocale(localeName), hasData);
    };
    EXPECT_EQ(sysdefault("de_DE", everyLanguage), "deu");
    EXPECT_EQ(sysdefault("de_AT", everyLanguage), "deu");
    EXPECT_EQ(sysdefault("zh_CN", everyLanguage), "chi_sim");
    EXPECT_EQ(sysdefault("zh_TW", everyLanguage), "chi_tra");
    EXPECT_EQ(sysdefault("zh_HK", everyLanguage), "chi_tra");
    EXPECT_EQ(sysdefault("nb_NO", everyLanguage), "nor");
    EXPECT_EQ(sysdefault("nn_NO", everyLanguage), "nor");
    EXPECT_EQ(sysdefault("pt_BR", everyLanguage), "por");
    EXPECT_EQ(sysdefault("el_GR", everyLanguage), "ell");
    EXPECT_EQ(sysdefault("en_GB", everyLanguage), "eng");
    // Languages outside the table, and the C locale.
    EXPECT_EQ(sysdefault("ar_EG", everyLanguage), "eng");
    EXPECT_EQ(sysdefault("C", everyLanguage), "eng");
    // A table language whose data is not installed.
    const auto onlyEnglish = [](const QString& code) {
        return code == QLatin1String("eng");
    };
    EXPECT_EQ(sysdefault("ko_KR", onlyEnglish), "eng");
}

TEST(TesseractLanguages, DebianPackageNamesUseHyphens) {
    EXPECT_EQ(debianLanguagePackage("deu"), "tesseract-ocr-deu");
    EXPECT_EQ(debianLanguagePackage("chi_sim"), "tesseract-ocr-chi-sim");
    EXPECT_EQ(debianLanguagePackage("chi_tra"), "tesseract-ocr-chi-tra");
}

TEST(OcrCommandLanguage, AcceptsNamesInAnyCaseAndTableIdentifiersOnly) {
    EXPECT_EQ(parseLanguage("chinese_TRADITIONAL"), 1028);
    EXPECT_EQ(parseLanguage("2052"), 2052);
    EXPECT_EQ(parseLanguage("3"), std::nullopt);
    EXPECT_EQ(parseLanguage("deu"), std::nullopt);
    EXPECT_EQ(parseLanguage("09"), 9);
    for (const char* loose : {" 9", "+9", "9 ", "0x9", "", "99999999999"}) {
        EXPECT_EQ(parseLanguage(loose), std::nullopt) << loose;
    }
}

TEST(TesseractLanguages, DataThatIsNoRegularFileOrTooLargeIsNotLoaded) {
    QTemporaryDir folder;
    const QByteArray pipe = QFile::encodeName(folder.filePath("deu.traineddata"));
    ASSERT_EQ(mkfifo(pipe.constData(), 0600), 0);
    EXPECT_EQ(languageDataProblem(pipe), "is not a regular file.");

    QFile data(folder.filePath("eng.traineddata"));
    ASSERT_TRUE(data.open(QIODevice::WriteOnly));
    ASSERT_TRUE(data.resize(MaxLanguageDataBytes));
    EXPECT_EQ(languageDataProblem(QFile::encodeName(data.fileName())), "");
    ASSERT_TRUE(data.resize(MaxLanguageDataBytes + 1));
    EXPECT_EQ(languageDataProblem(QFile::encodeName(data.fileName())),
              "is 201 MB, more than language data ever is (200 MB at most); it is not loaded.");
    EXPECT_EQ(languageDataProblem(QFile::encodeName(folder.filePath("missing"))), "");
}

class Recognizer : public ::testing::Test {
protected:
    FakeRecognitionEngine engine;
    FakeRecognitionEvents events;

    RecognitionResult run(bool straighten = false) {
        return recognizeImageFile(engine, {"/tmp/page.jpg", 12, straighten, false}, events);
    }
};

TEST_F(Recognizer, JoinsPagesWithNothingInBetweenAndReportsStepsInOrder) {
    engine.pages = {"first page\n", "second", "", "third"};
    const RecognitionResult result = run();
    EXPECT_EQ(result.text, "first page\nsecondthird");
    EXPECT_FALSE(result.error);
    EXPECT_EQ(events.steps, QStringList({"created", "25", "50", "100", "done"}));
    EXPECT_EQ(engine.closed, 1);
}

TEST_F(Recognizer, FailuresComeBackAsErrorsWithTheTextCollectedSoFar) {
    engine.createError = Error(RecognitionErrors::FileNotFound, "no such file");
    RecognitionResult result = run();
    EXPECT_EQ(result.error->number(), RecognitionErrors::FileNotFound);
    EXPECT_TRUE(result.text.isEmpty());
    EXPECT_EQ(events.steps, QStringList());

    engine.createError.reset();
    engine.ocrError = Error(RecognitionErrors::LanguageDataMissing, "no deu");
    engine.pages = {"a"};
    result = run();
    EXPECT_EQ(result.error->description(), "no deu");
    EXPECT_TRUE(result.text.isEmpty());
    EXPECT_EQ(engine.closed, 1);

    engine.ocrError.reset();
    engine.pages = {"one", "two", "three"};
    engine.failingPage = 2;
    result = run();
    EXPECT_EQ(result.text, "onetwo");
    EXPECT_EQ(result.error->number(), RecognitionErrors::RecognitionFailed);
    EXPECT_EQ(engine.closed, 2);
}

TEST_F(Recognizer, ACancelledRunKeepsNoText) {
    // Cancelled while reading the pages, after the first one was collected.
    engine.pages = {"partial", "rest"};
    engine.failingPage = 1;
    engine.pageError = Error(RecognitionErrors::Cancelled, "cancelled");
    const RecognitionResult result = run();
    EXPECT_TRUE(result.cancelled());
    EXPECT_TRUE(result.text.isEmpty());
    EXPECT_EQ(engine.closed, 1);
}

TEST(ResultPlacement, RoundsTheCentreToTheNearestTwipHalvesToEven) {
    // At one twip per pixel, odd sizes put the centre on a half: 2.5 -> 2, 3.5 -> 4.
    EXPECT_EQ(centredWindowPosition({0, 0, 5, 7}, QSize(0, 0), 1, 1), QPoint(2, 4));
    EXPECT_EQ(centredWindowPosition({1, 1, 5, 5}, QSize(0, 0), 1, 1), QPoint(4, 4));
}

} // namespace
} // namespace pellix
