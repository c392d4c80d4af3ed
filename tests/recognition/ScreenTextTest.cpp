// Tidying the recognizer's text.
#include "platform/tesseract/ScreenText.h"

#include <gtest/gtest.h>

namespace pellix {
namespace {

TEST(ScreenText, ComposesAccentsAndReadsAMicroSignInGreekAsMu) {
    // Epsilon with a combining acute, and the Greek-extended epsilon with oxia.
    EXPECT_EQ(tidyRecognizedText(QStringLiteral(u"\u03b5\u0301\u03be\u03bf\u03b4\u03bf \u1f73")),
              QStringLiteral(u"\u03ad\u03be\u03bf\u03b4\u03bf \u03ad"));
    EXPECT_EQ(tidyRecognizedText(QStringLiteral(u"\u00b5\u03b5 \u03b3\u03c1\u03b1\u00b5\u00b5")),
              QStringLiteral(u"\u03bc\u03b5 \u03b3\u03c1\u03b1\u03bc\u03bc"));
    // A measure stays a measure.
    EXPECT_EQ(tidyRecognizedText(QStringLiteral(u"5 \u00b5m, 3\u00b5s")),
              QStringLiteral(u"5 \u00b5m, 3\u00b5s"));
}

TEST(ScreenText, ADashStartingAWordIsALongOption) {
    EXPECT_EQ(
        tidyRecognizedText(QStringLiteral(u"\u2014file=FILE (\u2014null-data)\n\u2014-quiet")),
        QStringLiteral("--file=FILE (--null-data)\n--quiet"));
    // Between words, or standing alone, a dash stays one.
    const QString prose = QStringLiteral(u"this\u2014that, a \u2014 b, 1\u20132");
    EXPECT_EQ(tidyRecognizedText(prose), prose);
}

TEST(ScreenText, GreekCapitalsReadAsLatinOnesComeBackWhenTheyMakeAWord) {
    const QString file = QStringLiteral(u"\u0391\u03a1\u03a7\u0395\u0399\u039f"); // ΑΡΧΕΙΟ
    const WordCheck greek = [&file](const QString& word) {
        return word == file;
    };
    EXPECT_EQ(withLettersOfLanguage(QStringLiteral("--exclude-from=APXEIO, APXEIO1"),
                                    QStringLiteral("ell"), greek),
              QStringLiteral("--exclude-from=") + file + QStringLiteral(", ") + file +
                  QStringLiteral("1"));
    // Runs the word list does not hold stay as read, and so do runs of fewer
    // than four letters and pages in languages without such twins, whatever
    // the list says.
    const QString english = QStringLiteral("TAXI MAKE EXIT");
    EXPECT_EQ(withLettersOfLanguage(english, QStringLiteral("ell"), greek), english);
    const WordCheck anyWord = [](const QString&) {
        return true;
    };
    EXPECT_EQ(withLettersOfLanguage(QStringLiteral("TO ME, HOT"), QStringLiteral("ell"), anyWord),
              QStringLiteral("TO ME, HOT"));
    EXPECT_EQ(withLettersOfLanguage(QStringLiteral("APXEIO"), QStringLiteral("deu"), anyWord),
              QStringLiteral("APXEIO"));
}

} // namespace
} // namespace pellix
